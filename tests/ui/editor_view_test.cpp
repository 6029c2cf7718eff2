#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include "ui/started_editor.h"

namespace velora {

// Drives the real editor window offscreen over fake services.
class EditorViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedEditor {
        Harness() { start(); }
    };

private Q_SLOTS:
    void showsTheWindowAfterStartUp() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        QCOMPARE(h.view.windowTitle(), QStringLiteral("Senza Nome[*] - KDM 2 Righe"));
        QCOMPARE(h.find<QLabel>("Label3")->text(), QStringLiteral("6"));
        QVERIFY(h.find<QRadioButton>("Option1")->isChecked());
        QVERIFY(h.find<QLineEdit>("Text6")->isHidden());
    }

    void programSetTextLongerThanTheLimitStaysWhole() {
        Harness h;
        auto* text1 = h.find<QLineEdit>("Text1");
        h.view.binder().run([&] { h.model.Text1.setText(std::string(30, 'x')); });
        QCOMPARE(text1->text().size(), 30);
        QCOMPARE(h.model.Text1.maxLength(), 18);
        // Typing more is refused, deleting is not.
        text1->setFocus();
        text1->end(false);
        QTest::keyClick(text1, Qt::Key_Y);
        QCOMPARE(text1->text().size(), 30);
        QTest::keyClick(text1, Qt::Key_Backspace);
        QCOMPARE(h.model.Text1.text(), std::string(29, 'x'));
    }

    void typedCharactersOutsideTheCodePageBecomeQuestionMarks() {
        Harness h;
        auto* text1 = h.find<QLineEdit>("Text1");
        text1->setFocus();
        for (const char* typed : {"è", "日"}) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                          QString::fromUtf8(typed));
            QApplication::sendEvent(text1, &key);
        }
        QCOMPARE(h.model.Text1.text(), std::string("\xE8?"));
        QCOMPARE(text1->text(), QString::fromUtf8("è?"));
        QCOMPARE(h.find<QLabel>("LenRiga1")->text(), QStringLiteral("2"));
    }

    void typingIntoAFullRow1StopsAndMovesTheFocusToRow2() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        auto* text1 = h.find<QLineEdit>("Text1");
        auto* text2 = h.find<QLineEdit>("Text2");
        text1->setFocus();
        QTest::keyClicks(text1, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUV"));
        QCOMPARE(text1->text(), QStringLiteral("ABCDEFGHIJKLMNOPQR"));
        QCOMPARE(h.model.Text1.text(), std::string("ABCDEFGHIJKLMNOPQR"));
        QCOMPARE(h.find<QLabel>("LenRiga1")->text(), QStringLiteral("18"));
        QCOMPARE(QApplication::focusWidget(), text2);
    }

    void clickingOption2ShowsTheBigRowWithinATick() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        auto* option2 = h.find<QRadioButton>("Option2");
        auto* text3 = h.find<QLineEdit>("Text3");
        QVERIFY(!text3->isVisible());
        QTest::mouseClick(option2, Qt::LeftButton, {}, QPoint(6, option2->height() / 2));
        QVERIFY(h.model.Option2.selected());
        QTRY_VERIFY_WITH_TIMEOUT(text3->isVisible(), 1000);
        QVERIFY(!h.find<QLineEdit>("Text1")->isVisible());
        QVERIFY(!h.find<QRadioButton>("Option1")->isChecked());
    }

    void movingTheSelectorPastTheNewPageSlotShowsTheMessage() {
        Harness h;
        auto* selector = h.find<QScrollBar>("VScroll1");
        auto* text1 = h.find<QLineEdit>("Text1");
        text1->setFocus();
        QTest::keyClicks(text1, QStringLiteral("ciao"));
        selector->triggerAction(QAbstractSlider::SliderPageStepAdd);  // five positions on
        QCOMPARE(h.fake.dialogs.messages().size(), std::size_t{5});
        QCOMPARE(h.fake.dialogs.messages()[0], std::string("Pagina non Caricata."));
        QCOMPARE(selector->value(), 1);
        QCOMPARE(h.find<QLabel>("NumQua")->text(), QStringLiteral("1"));
        QCOMPARE(text1->text(), QStringLiteral("ciao"));
    }

    void composesWalksBackReStoresAndDeletesThroughTheWidgets() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        auto* text1 = h.find<QLineEdit>("Text1");
        auto* text2 = h.find<QLineEdit>("Text2");
        auto* text3 = h.find<QLineEdit>("Text3");
        auto* scor2 = h.find<QCheckBox>("Scor2");
        auto* store = h.find<QPushButton>("cmdinserisci");
        auto* selector = h.find<QScrollBar>("VScroll1");
        auto clickBox = [](QAbstractButton* box) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        };

        // Page 1: two fixed rows.
        QTest::keyClicks(text1, QStringLiteral("UNO"));
        QTest::mouseClick(store, Qt::LeftButton);
        QCOMPARE(selector->value(), 2);

        // Page 2: row 2 scrolling.
        clickBox(scor2);
        QTest::keyClicks(text1, QStringLiteral("A"));
        QTest::keyClicks(text2, QStringLiteral("scrolling text"));
        QTest::mouseClick(store, Qt::LeftButton);

        // Page 3: one big fixed row; the new page keeps the checks, so row 2 stops scrolling first.
        QTRY_VERIFY_WITH_TIMEOUT(scor2->isEnabled(), 1000);
        clickBox(scor2);
        clickBox(h.find<QRadioButton>("Option2"));
        QTRY_VERIFY_WITH_TIMEOUT(text3->isVisible(), 1000);
        QTest::keyClicks(text3, QStringLiteral("BIG"));
        QTest::mouseClick(store, Qt::LeftButton);
        QCOMPARE(h.find<QLabel>("txtmax")->text(), QStringLiteral("3"));

        // Back to page 2, which comes back as it was stored, then re-stored with a longer row 2.
        selector->triggerAction(QAbstractSlider::SliderSingleStepSub);
        selector->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(selector->value(), 2);
        QVERIFY(text2->isVisible());
        QCOMPARE(text2->text(), QStringLiteral("scrolling text"));
        QVERIFY(scor2->isChecked());
        text2->setFocus();
        text2->end(false);
        QTest::keyClicks(text2, QStringLiteral(" and more"));
        QTest::mouseClick(store, Qt::LeftButton);
        QCOMPARE(selector->value(), 2);

        // Delete page 1.
        selector->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(text1->text(), QStringLiteral("UNO"));
        QTest::mouseClick(h.find<QToolButton>("Picture1"), Qt::LeftButton);

        const Modulo1& store_ = h.state;
        QCOMPARE(int(store_.PageCount), 2);
        QCOMPARE(int(store_.PageKind[1]), 2);
        QCOMPARE(store_.PageText[1][1], std::string("A                 "));
        QCOMPARE(store_.PageText[1][2], std::string("scrolling text and more"));
        QCOMPARE(int(store_.PageKind[2]), 3);
        QCOMPARE(store_.PageText[2][1], std::string("BIG      "));
        QCOMPARE(store_.PageText[2][2], std::string("BIG      "));
        QCOMPARE(text2->text(), QStringLiteral("scrolling text and more"));
        QCOMPARE(h.find<QLabel>("txtmax")->text(), QStringLiteral("2"));
        QVERIFY(h.fake.dialogs.shown.empty());
    }

    // A fixed big row takes as many characters as storing keeps: half a row, 9 of 18.
    void bigFixedRowTakesWhatIsStoredAndPastesWhatFits() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        auto* option2 = h.find<QRadioButton>("Option2");
        QTest::mouseClick(option2, Qt::LeftButton, {}, QPoint(6, option2->height() / 2));
        auto* text3 = h.find<QLineEdit>("Text3");
        QTRY_VERIFY_WITH_TIMEOUT(text3->isVisible(), 1000);
        text3->setFocus();
        QTest::keyClicks(text3, QStringLiteral("OFFERTA SPECIALE"));
        QCOMPARE(text3->text(), QStringLiteral("OFFERTA S"));
        QCOMPARE(h.find<QLabel>("LenRigaUn")->text(), QStringLiteral("9"));

        // Room for two more: a paste of five inserts two, where the cursor stands.
        QTest::keyClick(text3, Qt::Key_Backspace);
        QTest::keyClick(text3, Qt::Key_Backspace);
        text3->setCursorPosition(0);
        QApplication::clipboard()->setText(QStringLiteral("«NEW»"));
        QTest::keyClick(text3, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text3->text(), QStringLiteral("«NOFFERTA"));
        QCOMPARE(text3->cursorPosition(), 2);
        QCOMPARE(h.model.Text3.text(), std::string("\xABNOFFERTA"));
        QCOMPARE(h.find<QLabel>("LenRigaUn")->text(), QStringLiteral("9"));

        QTest::mouseClick(h.find<QPushButton>("cmdinserisci"), Qt::LeftButton);
        QCOMPARE(h.state.PageText[1][1], std::string("\xABNOFFERTA"));
        QCOMPARE(int(h.state.PageKind[1]), int(kBigFixed));
    }

    void checkBoxClickReachesTheModel() {
        Harness h;
        auto* scor1 = h.find<QCheckBox>("Scor1");
        QTest::mouseClick(scor1, Qt::LeftButton, {}, QPoint(6, scor1->height() / 2));
        QCOMPARE(h.model.Scor1.value(), 1);
    }

    // The program's own rewrites of the info row keep it an info row; the user's typing ends it.
    void typingIntoAnInfoRowMakesItARowOfText() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        h.putPage(1, kInfoInRow2, std::string(18, 'A'), "01/01 08:00 +20\xB0", 4);
        h.putPage(2, kNeverStored, "", "", 0);  // a page after it, never stored
        auto tick = [&] { h.view.binder().run([&] { h.model.Timer1_Timer(); }); };
        tick();
        auto* scor2 = h.find<QCheckBox>("Scor2");
        QVERIFY(!scor2->isEnabled());

        auto* text2 = h.find<QLineEdit>("Text2");
        text2->setFocus();
        text2->selectAll();
        QTest::keyClicks(text2, QStringLiteral("SALDI"));
        tick();
        QVERIFY(scor2->isEnabled());
        QTest::mouseClick(h.find<QPushButton>("cmdinserisci"), Qt::LeftButton);
        QCOMPARE(int(h.state.PageKind[1]), int(kTwoFixedRows));
        QCOMPARE(h.state.PageText[1][2], std::string("SALDI") + std::string(13, ' '));
    }

    void textBoxesAreNamedByTheirToolTipsAndValueLabelsByTheirValue() {
        Harness h;
        auto* text2 = h.find<QLineEdit>("Text2");
        QCOMPARE(text2->accessibleName(), QStringLiteral("Riga 2, SOTTO"));
        auto* counter = h.find<QLabel>("LenRiga1");
        QCOMPARE(counter->accessibleName(), QStringLiteral("0"));
        QCOMPARE(counter->accessibleDescription(), QStringLiteral("Numero di caratteri Riga1"));
        auto nameOf = [&h](const char* objectName) {
            QWidget* widget = h.view.findChild<QWidget*>(QString::fromLatin1(objectName));
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            return accessible ? accessible->text(QAccessible::Name) : QString();
        };
        QCOMPARE(nameOf("Picture2"), QStringLiteral("Inserisce una nuova Pagina nella Sequenza"));
        QCOMPARE(nameOf("Picture1"), QStringLiteral("Cancella la Pagina rappresentata"));
        QCOMPARE(nameOf("Option1"), QStringLiteral("2 Righe"));
        QCOMPARE(nameOf("Gra_Inv"), QStringLiteral("Inverso per GRANDE"));
        QCOMPARE(nameOf("cmdinserisci"), QStringLiteral("Inserisci"));
        auto* combo = h.find<QComboBox>("Combo1");
        QCOMPARE(combo->lineEdit()->accessibleName(),
                 QStringLiteral("Tempo di FERMO della Pagina"));
        QCOMPARE(h.find<QLabel>("Label2")->buddy(), combo);
        QCOMPARE(nameOf("VScroll1"), QStringLiteral("Numero Pagina"));
        QCOMPARE(nameOf("Text3"), QStringLiteral("Riga GRANDE..."));
    }
};

}  // namespace velora

QTEST_MAIN(velora::EditorViewTest)
#include "editor_view_test.moc"
