#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "preview/preview.h"
#include "ui/started_editor.h"

namespace velora {

// Plays a preview through the real editor window with a fast fake clock.
class PreviewViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void playsEveryStepOnScreenAndComesBackToTheLastPage() {
        testing::StartedEditor h;
        auto& fake = h.fake;
        auto& state = h.state;
        auto& view = h.view;
        h.start();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        fake.clock.autoAdvance = 0;

        h.putPage(1, kBigFixed, "GRANDE   ", "GRANDE   ", 2);
        h.putPage(2, kRow2Scrolling, std::string(18, 'A'), "ciao", 0);

        // What the window shows at every wait, as a desktop clock would repaint it.
        auto* text2 = view.findChild<QLineEdit*>(QStringLiteral("Text2"));
        auto* text3 = view.findChild<QLineEdit*>(QStringLiteral("Text3"));
        QStringList shown;
        fake.clock.onWait = [&](double) {
            view.binder().sync();
            if (text3->isVisible()) shown << text3->text();
            if (text2->isVisible()) shown << text2->text();
        };

        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("Anteprima")),
                          Qt::LeftButton);

        const QStringList expected = {QStringLiteral("GRANDE   "), QStringLiteral("ciao       "),
                                      QStringLiteral("iao       "), QStringLiteral("ao       ")};
        QCOMPARE(shown.mid(0, 4), expected);
        QCOMPARE(shown.size(), 1 + 11);
        // Back on page N, with its whole stored text and the editor running again.
        QCOMPARE(view.findChild<QScrollBar*>(QStringLiteral("VScroll1"))->value(), 2);
        QCOMPARE(text2->text(), QStringLiteral("ciao"));
        QVERIFY(text2->isVisible());
        QVERIFY(view.findChild<QLineEdit*>(QStringLiteral("Text6"))->isHidden());
        QVERIFY(view.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QCOMPARE(state.PreviewRunning, 0);
    }

    // Escape or "Anteprima" stops the preview at its first page; a click on "Invio DATI", a key
    // and a wheel turn given meanwhile are dropped, and the rows show no cursor or selection.
    void stopsAtOnceAndDropsOtherInput_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Escape") << true;
        QTest::newRow("Anteprima again") << false;
    }

    void stopsAtOnceAndDropsOtherInput() {
        QFETCH(bool, byEscape);
        testing::StartedEditor h;
        auto& fake = h.fake;
        auto& state = h.state;
        auto& model = h.model;
        auto& view = h.view;
        h.start();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        fake.clock.autoAdvance = 0;
        for (int slot = 1; slot <= 3; ++slot)
            h.putPage(slot, kTwoFixedRows, std::string(18, char('0' + slot)), "riga due", 20);
        int transmissionOpened = 0;
        model.Command1.onClick = [&] { ++transmissionOpened; };

        auto* anteprima = h.find<QPushButton>("Anteprima");
        auto* text1 = h.find<QLineEdit>("Text1");
        bool rowsPlain = false;
        fake.clock.onWait = [&](double) {
            if (fake.clock.waits.size() != 1) return;
            text1->selectAll();
            view.binder().sync();  // as the clock repaints
            rowsPlain = text1->isVisible() && text1->isReadOnly() && !text1->hasSelectedText();
            QTest::mouseClick(h.find<QPushButton>("Command1"), Qt::LeftButton);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
            if (byEscape) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            } else {
                QTest::mouseClick(anteprima, Qt::LeftButton);
            }
        };

        QTest::mouseClick(anteprima, Qt::LeftButton);
        QCOMPARE(fake.clock.waits.size(), std::size_t{1});
        QVERIFY(rowsPlain);
        QCOMPARE(transmissionOpened, 0);
        QCOMPARE(state.PreviewRunning, 0);
        QVERIFY(view.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QCOMPARE(h.find<QScrollBar>("VScroll1")->value(), 3);
        QCOMPARE(text1->text(), QStringLiteral("333333333333333333"));
        QVERIFY(!text1->isReadOnly());
        QVERIFY(fake.dialogs.shown.empty());

        // Afterwards the editor takes input again.
        QTest::mouseClick(h.find<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(transmissionOpened, 1);
    }
};

}  // namespace velora

QTEST_MAIN(velora::PreviewViewTest)
#include "preview_view_test.moc"
