#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include "platform/system_clock.h"
#include "fakes/fake_services.h"
#include "led_view.h"
#include "link/sign_messages.h"
#include "transmission_view.h"
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
        testing::FakeServices fake;
        SystemClock systemClock;
        PumpingClock clock{systemClock, 0.02};
        Services services{fake.dialogs, clock, fake.files, fake.program};
        Modulo1 state;
        state.RowChars = 9;
        state.PageCount = 2;
        state.PageKind[1] = kTwoFixedRows;
        state.PagePause[1] = 1;
        state.PageText[1][1] = "UNO      ";
        state.PageText[1][2] = "\x80        ";
        state.PageKind[2] = kBigFixed;
        state.PagePause[2] = 1;
        state.PageText[2][1] = state.PageText[2][2] = "DUE ";
        EventGate gate;
        LinkPorts ports{systemClock};
        InvDat model{state, services, ports.chosen};
        TransmissionView view{model, ports, clock, services, gate};
        view.binder().run([&] { model.window.show(); });

        VirtualSignPanel* panel = view.virtualSignPanel();
        QVERIFY(panel->isHidden());
        auto* edit = view.findChild<QComboBox*>(QStringLiteral("Porta"))->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Insegna virtuale"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!panel->isHidden());
        QCOMPARE(panel->caption()->text(), QStringLiteral("Nessuna pagina ricevuta."));

        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("Command7")), Qt::LeftButton);
        QTRY_VERIFY(view.findChild<QPushButton*>(QStringLiteral("CMDINVIO"))->isEnabled());
        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("CMDINVIO")), Qt::LeftButton);

        QTRY_COMPARE(panel->caption()->text(), QStringLiteral("Pagina 1 di 2"));
        LedView* led = panel->view();
        QCOMPARE(led->page()->kind, kTwoFixedRows);
        QCOMPARE(led->accessibleDescription(), QStringLiteral("Riga 1: «UNO». Riga 2: «é»."));
        // Then the next page after a second, and round again.
        QTRY_COMPARE(panel->caption()->text(), QStringLiteral("Pagina 2 di 2"));
        QCOMPARE(led->page()->kind, kBigFixed);
        QTRY_COMPARE(panel->caption()->text(), QStringLiteral("Pagina 1 di 2"));
    }
};

}  // namespace velora

QTEST_MAIN(velora::VirtualSignViewTest)
#include "virtual_sign_view_test.moc"
