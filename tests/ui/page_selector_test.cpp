#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui/started_application.h"

namespace velora {

// The page selector as the user moves it, in the whole program with its real message boxes: a
// move past the new-page slot shows "Pagina non Caricata." once per position jumped, however the
// selector was moved.
class PageSelectorTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedApplication {
        QScrollBar* selector = nullptr;
        QStringList boxes;  // texts of the message boxes that came up
        QTimer closer;
        QElapsedTimer boxOpen;

        Harness() {
            // The first box stays up longer than the scroll bar's auto-repeat delay of 500 ms,
            // as it does for a user reading it; the others are closed at once. Should boxes keep
            // coming, the selector is disabled after a dozen, which stops its auto-repeat.
            QObject::connect(&closer, &QTimer::timeout, [this] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!dialog) return;
                if (!boxOpen.isValid()) boxOpen.start();
                if (boxes.isEmpty() && boxOpen.elapsed() < 700) return;
                auto* box = qobject_cast<QMessageBox*>(dialog);
                boxes << (box ? box->text() : dialog->windowTitle());
                boxOpen.invalidate();
                if (boxes.size() == 12) selector->setEnabled(false);
                dialog->reject();
            });
            closer.start(10);
            start();
            selector = app->editor()->findChild<QScrollBar*>(QStringLiteral("VScroll1"));
        }

        QPoint centreOf(QStyle::SubControl part) const {
            QStyleOptionSlider option;
            option.initFrom(selector);
            option.orientation = selector->orientation();
            option.minimum = selector->minimum();
            option.maximum = selector->maximum();
            option.sliderPosition = selector->sliderPosition();
            option.sliderValue = selector->value();
            option.singleStep = selector->singleStep();
            option.pageStep = selector->pageStep();
            option.subControls = QStyle::SC_All;
            return selector->style()
                ->subControlRect(QStyle::CC_ScrollBar, &option, part, selector)
                .center();
        }

        void expectOnlyMessages(int count) {
            QCOMPARE(boxes.size(), count);
            for (const QString& text : boxes)
                QCOMPARE(text, QStringLiteral("Pagina non Caricata."));
        }
    };

private Q_SLOTS:
    // Tab reaches the selector, and the user sees that it has: it draws a focus mark.
    void selectorShowsWhereTabArrived() {
        Harness h;
        EditorView* editor = h.app->editor();
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor));
        const QImage without = h.selector->grab().toImage();
        auto* store = editor->findChild<QWidget*>(QStringLiteral("cmdinserisci"));
        store->setFocus(Qt::TabFocusReason);
        QTest::keyClick(store, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.selector));
        QVERIFY(h.selector->grab().toImage() != without);
        QTest::keyClick(h.selector, Qt::Key_Tab);
        QVERIFY(!h.selector->hasFocus());
        QCOMPARE(h.selector->grab().toImage(), without);
    }

    void mousePressPastTheNewPageSlot_data() {
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("messages");
        QTest::newRow("right arrow") << int(QStyle::SC_ScrollBarAddLine) << 1;
        QTest::newRow("trough right of the thumb") << int(QStyle::SC_ScrollBarAddPage) << 5;
    }

    void mousePressPastTheNewPageSlot() {
        QFETCH(int, part);
        QFETCH(int, messages);
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        auto* text1 = h.app->editor()->findChild<QLineEdit*>(QStringLiteral("Text1"));
        QTest::keyClicks(text1, QStringLiteral("ciao"));

        const QPoint at = h.centreOf(QStyle::SubControl(part));
        QTest::mousePress(h.selector, Qt::LeftButton, {}, at);
        QTest::mouseRelease(h.selector, Qt::LeftButton, {}, at);
        QTest::qWait(100);  // nothing may follow the release

        h.expectOnlyMessages(messages);
        QCOMPARE(h.selector->value(), 1);
        QCOMPARE(h.app->editor()->model().NumQua.caption(), std::string("1"));
        QCOMPARE(text1->text(), QStringLiteral("ciao"));
    }

    void dragPastTheNewPageSlotShowsOneMessagePerPosition() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        const QPoint from = h.centreOf(QStyle::SC_ScrollBarSlider);
        QTest::mousePress(h.selector, Qt::LeftButton, {}, from);
        QTest::mouseMove(h.selector, from + QPoint(20, 0));
        const int reached = h.selector->sliderPosition();
        QVERIFY(reached > 2);
        QTest::mouseRelease(h.selector, Qt::LeftButton, {}, from + QPoint(20, 0));
        h.expectOnlyMessages(reached - 1);
        QCOMPARE(h.selector->value(), 1);
    }

    void wheelPastTheNewPageSlotShowsOneMessagePerPosition() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        const QPoint at = h.centreOf(QStyle::SC_ScrollBarAddPage);
        QWheelEvent wheel(at, h.selector->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(h.selector, &wheel);
        // One notch moves as many positions as the desktop scrolls lines.
        h.expectOnlyMessages(std::min(QApplication::wheelScrollLines(), h.selector->pageStep()));
        QCOMPARE(h.selector->value(), 1);
    }

    // The selector is reached with Tab and moved with the keys; a key past the new-page slot
    // shows the message once per position, like the mouse.
    void keyboardReachesAndMovesTheSelector() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(h.app->editor()));
        EditorView& view = *h.app->editor();
        auto* text1 = view.findChild<QLineEdit*>(QStringLiteral("Text1"));
        text1->setFocus();
        for (int tab = 0; tab < 40 && QApplication::focusWidget() != h.selector; ++tab)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), h.selector);

        // Two stored pages: 3 is the new-page slot.
        Modulo1& state = h.app->state();
        for (int slot = 1; slot <= 2; ++slot) {
            state.PageText[slot][1] = state.PageText[slot][2] = std::string(18, char('A' + slot));
            state.PageKind[slot] = kTwoFixedRows;
        }
        state.PageCount = 2;

        struct Step {
            Qt::Key key;
            int value;
            int messages;
        };
        const Step steps[] = {
            {Qt::Key_Right, 2, 0}, {Qt::Key_Right, 3, 0},    {Qt::Key_Right, 3, 1},
            {Qt::Key_Home, 1, 1},  {Qt::Key_PageDown, 3, 4}, {Qt::Key_Home, 1, 4},
            {Qt::Key_End, 3, 4},   {Qt::Key_End, 3, 4},      {Qt::Key_Left, 2, 4}};
        for (const Step& step : steps) {
            QTest::keyClick(h.selector, step.key);
            QCOMPARE(h.selector->value(), step.value);
            h.expectOnlyMessages(step.messages);
        }
        QCOMPARE(view.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(),
                 QString::fromStdString(std::string(18, 'C')));
    }
};

}  // namespace velora

QTEST_MAIN(velora::PageSelectorTest)
#include "page_selector_test.moc"
