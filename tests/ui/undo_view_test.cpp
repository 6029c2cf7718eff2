#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include "editor_led_panel.h"
#include "ui/started_editor.h"

namespace velora {

// Undo, redo, the unsaved mark and the exit question, driven through the real menus, keys and
// widgets of the editor offscreen over fake services.
class UndoViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedEditor {
        Harness() {
            start();
            QVERIFY(QTest::qWaitForWindowActive(&view));
        }

        void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        }

        QAction* action(const char* name) { return view.action(name); }
    };

private Q_SLOTS:
    void ctrlNThenCtrlZBringsBackEveryPage() {
        Harness h;
        h.putSequence(10);
        auto* text1 = h.find<QLineEdit>("Text1");
        text1->setFocus();
        h.press(text1, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(int(h.state.PageCount), 0);
        QCOMPARE(h.find<QLabel>("saveNotice")->text(),
                 QStringLiteral("Sequenza svuotata: Ctrl+Z per annullare"));
        QCOMPARE(h.action("mnuAnnulla")->text(), QStringLiteral("&Annulla Nuovo"));
        h.press(text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(int(h.state.PageCount), 10);
        QCOMPARE(h.state.PageText[10][1], std::string("PAGINA 10         "));
        QCOMPARE(text1->text(), QStringLiteral("PAGINA 1"));
        QCOMPARE(h.find<QLabel>("saveNotice")->text(), QStringLiteral("Annullato: Nuovo"));
        QVERIFY(!h.action("mnuAnnulla")->isEnabled());
        QCOMPARE(h.action("mnuRipeti")->text(), QStringLiteral("&Ripeti Nuovo"));
        h.press(text1, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(int(h.state.PageCount), 0);
    }

    void ctrlZInARowFirstTakesBackTheTyping() {
        Harness h;
        h.putSequence(3);
        auto* text1 = h.find<QLineEdit>("Text1");
        QTest::mouseClick(h.find<QToolButton>("Picture1"), Qt::LeftButton);
        QCOMPARE(int(h.state.PageCount), 2);
        text1->setFocus();
        text1->end(false);
        QTest::keyClicks(text1, QStringLiteral("XY"));
        QCOMPARE(text1->text(), QStringLiteral("PAGINA 2XY"));
        h.press(text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text1->text(), QStringLiteral("PAGINA 2"));
        QCOMPARE(h.model.Text1.text(), std::string("PAGINA 2"));
        QCOMPARE(int(h.state.PageCount), 2);
        // Nothing left to take back in the row: the key reaches the sequence.
        h.press(text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(int(h.state.PageCount), 3);
        QCOMPARE(text1->text(), QStringLiteral("PAGINA 1"));
        // The menu item always acts on the sequence.
        h.action("mnuRipeti")->trigger();
        QCOMPARE(int(h.state.PageCount), 2);
    }

    void titleMarksUnsavedWorkAndUndoClearsIt() {
        Harness h;
        h.putSequence(2);
        QTest::qWait(50);
        QCOMPARE(h.view.windowTitle(), QStringLiteral("dieci.inf[*] - KDM 2 Righe"));
        QVERIFY(!h.view.isWindowModified());
        auto* text1 = h.find<QLineEdit>("Text1");
        text1->setFocus();
        QTest::keyClicks(text1, QStringLiteral(" BIS"));
        QTest::mouseClick(h.find<QPushButton>("cmdinserisci"), Qt::LeftButton);
        QVERIFY(h.view.isWindowModified());
        h.action("mnuAnnulla")->trigger();
        QVERIFY(!h.view.isWindowModified());
        h.action("mnuRipeti")->trigger();
        QVERIFY(h.view.isWindowModified());
    }

    void closingAsksOnlyWithUnsavedWork() {
        {
            Harness h;
            h.putSequence(2);
            h.view.close();
            QCOMPARE(h.fake.program.endCalls, 1);
            QVERIFY(h.fake.dialogs.shown.empty());
        }
        Harness h;
        h.putSequence(2);
        QTest::mouseClick(h.find<QToolButton>("Picture1"), Qt::LeftButton);
        h.fake.dialogs.shown.clear();
        h.fake.dialogs.messageAnswers.push_back(MessageAnswer::Cancel);
        h.view.close();
        QCOMPARE(h.fake.program.endCalls, 0);
        QVERIFY(h.view.isVisible());
        QCOMPARE(h.fake.dialogs.shown.size(), std::size_t(1));
        QVERIFY(h.fake.dialogs.shown[0].text.find("\"dieci.inf\"") != std::string::npos);
        // Saving writes the file, and then the program ends.
        h.fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
        h.action("mnunextfinE")->trigger();
        QCOMPARE(h.fake.program.endCalls, 1);
        QCOMPARE(
            h.fake.files.contents["/seq/dieci.inf"],
            std::string("1,18\r\n1,\"PAGINA 2          \",3\r\n1,\"                  \",3\r\n"));
    }

    void smallerBoardCountAsksAndIsOneStep() {
        Harness h;
        h.putSequence(6);
        for (int slot = 1; slot <= 5; ++slot)
            h.putPage(slot, kTwoFixedRows, " OFFERTE SPECIALI ", std::string(18, ' '));
        h.action("Salv_Impost")->trigger();
        QVERIFY(h.app.settings());
        h.app.models().settings.Combo2.setText("5");
        h.fake.dialogs.shown.clear();
        h.fake.dialogs.messageAnswers.push_back(MessageAnswer::No);
        QTest::mouseClick(h.app.settings()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(h.fake.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(h.fake.dialogs.shown[0].text,
                 std::string("5 pagine hanno testo oltre 15 caratteri: la parte in pi\xF9 non "
                             "verr\xE0 mostrata. Continuare?"));
        QCOMPARE(int(h.state.RowChars), 18);
        h.fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
        QTest::mouseClick(h.app.settings()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(int(h.state.RowChars), 15);
        QCOMPARE(h.find<QLabel>("Label3")->text(), QStringLiteral("5"));
        h.action("mnuAnnulla")->trigger();
        QCOMPARE(int(h.state.RowChars), 18);
        QCOMPARE(h.find<QLabel>("Label3")->text(), QStringLiteral("6"));
    }

    void typingGoesOnAtTheEndOfAReopenedRow() {
        Harness h;
        auto* text1 = h.find<QLineEdit>("Text1");
        auto* store = h.find<QPushButton>("cmdinserisci");
        text1->setFocus();
        QTest::keyClicks(text1, QStringLiteral("CIAO"));
        QTest::mouseClick(store, Qt::LeftButton);
        // The next page is typed from its first row.
        QCOMPARE(QApplication::focusWidget(), text1);
        auto* selector = h.find<QScrollBar>("VScroll1");
        selector->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(text1->text(), QStringLiteral("CIAO"));
        text1->setFocus();
        text1->end(false);
        QTest::keyClicks(text1, QStringLiteral(" MONDO"));
        QCOMPARE(h.model.Text1.text(), std::string("CIAO MONDO"));
        QTest::mouseClick(store, Qt::LeftButton);
        QCOMPARE(h.state.PageText[1][1], std::string("CIAO MONDO        "));
        // Opened again and stored unchanged, the page keeps its bytes: no step.
        selector->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        selector->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QTest::mouseClick(store, Qt::LeftButton);
        QCOMPARE(h.state.PageText[1][1], std::string("CIAO MONDO        "));
        QCOMPARE(h.action("mnuAnnulla")->text(), QStringLiteral("&Annulla Inserisci pagina 1"));
    }

    void theLedViewFollowsARowSetByAssistiveTechnology() {
        Harness h;
        auto* text1 = h.find<QLineEdit>("Text1");
        QAccessibleInterface* row = QAccessible::queryAccessibleInterface(text1);
        QVERIFY(row);
        row->setText(QAccessible::Value, QStringLiteral("caff\u00E8 \u20AC"));
        QCOMPARE(h.model.Text1.text(), std::string("caff\xE8 \x80"));
        QCOMPARE(h.find<QLabel>("LenRiga1")->text(), QStringLiteral("7"));
        QVERIFY(h.view.ledPanel()->warning()->text().contains(QStringLiteral("\u20AC")));
    }
};

}  // namespace velora

QTEST_MAIN(velora::UndoViewTest)
#include "undo_view_test.moc"
