#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include "led_view.h"
#include "ui/started_editor.h"
#include "virtual_sign_panel.h"

namespace velora {

// With "Insegna virtuale" the transmission window shows, in LED dots, what the sign received.
class VirtualSignViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VeloraTest"));
        QCoreApplication::setApplicationName(QStringLiteral("virtual_sign_view_test"));
        QSettings().clear();
    }

    void showsEachReceivedPageForItsPause() {
        testing::StartedEditor h;
        h.start();
        Modulo1& state = h.state;
        state.PageCount = 2;
        state.PageKind[1] = kTwoFixedRows;
        state.PagePause[1] = 1;
        state.PageText[1][1] = std::string("UNO") + std::string(15, ' ');
        state.PageText[1][2] = std::string("\x80") + std::string(17, ' ');
        state.PageKind[2] = kBigFixed;
        state.PagePause[2] = 1;
        state.PageText[2][1] = state.PageText[2][2] = "DUE      ";

        QTest::mouseClick(h.find<QPushButton>("Command1"), Qt::LeftButton);
        TransmissionView* view = h.app.transmissionView();
        QVERIFY(view);
        VirtualSignPanel* panel = view->virtualSignPanel();
        auto* edit = view->findChild<QComboBox*>(QStringLiteral("Porta"))->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Insegna virtuale"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!panel->isHidden());
        QCOMPARE(panel->caption()->text(), QStringLiteral("Nessuna pagina ricevuta."));

        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("Command7")),
                          Qt::LeftButton);
        QTRY_VERIFY(view->findChild<QPushButton*>(QStringLiteral("CMDINVIO"))->isEnabled());
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("CMDINVIO")),
                          Qt::LeftButton);

        QTRY_COMPARE(panel->caption()->text(), QStringLiteral("Pagina 1 di 2"));
        LedView* led = panel->view();
        QCOMPARE(led->page()->kind, kTwoFixedRows);
        QCOMPARE(led->accessibleDescription(), QStringLiteral("Riga 1: «UNO». Riga 2: «é»."));
        // Then the next page after a second, and round again.
        QTRY_COMPARE(panel->caption()->text(), QStringLiteral("Pagina 2 di 2"));
        QCOMPARE(led->page()->kind, kBigFixed);
        QTRY_COMPARE(panel->caption()->text(), QStringLiteral("Pagina 1 di 2"));

        // Another port hides the face.
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("/dev/null"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(panel->isHidden());
    }
};

}  // namespace velora

QTEST_MAIN(velora::VirtualSignViewTest)
#include "virtual_sign_view_test.moc"
