#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "editor_led_panel.h"
#include "led_view.h"
#include "page_list_view.h"
#include "ui/started_editor.h"

namespace velora {

// The LED view under the editor's rows follows the page being composed, and the preview.
class EditorLedTest : public QObject {
    Q_OBJECT

private:
    // The warning line as read aloud: its pairs are held together by no-break spaces.
    static QString warning(EditorLedPanel* panel) {
        return panel->warning()->text().replace(QChar(0xA0), QLatin1Char(' '));
    }

    static void type(QWidget* widget, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(widget, &release);
    }

private Q_SLOTS:
    void typingTheEuroSignWarnsAndRedrawsTheSign() {
        testing::StartedEditor h;
        h.start();
        EditorLedPanel* panel = h.view.ledPanel();
        QVERIFY(panel);
        LedView* led = panel->view();
        auto* text1 = h.find<QLineEdit>("Text1");
        QTRY_VERIFY(text1->hasFocus());
        QCOMPARE(warning(panel), QString());

        type(text1, QStringLiteral("A"));
        QCOMPARE(warning(panel), QString());
        const std::vector<std::uint8_t> dotsBefore = led->face().dots;
        type(text1, QStringLiteral("€"));
        QCOMPARE(warning(panel), QStringLiteral("€ → é"));
        QVERIFY(led->face().dots != dotsBefore);
        // The sign is sent the index of é, on a row of the sign's width.
        QVERIFY(led->page());
        QCOMPARE(led->page()->kind, kTwoFixedRows);
        QCOMPARE(led->page()->row1.indices.size(), std::size_t{18});
        QCOMPARE(led->page()->row1.indices[1], std::uint8_t{0x5C});
        QVERIFY(led->accessibleDescription().contains(QStringLiteral("«Aé»")));

        // A character Windows-1252 lacks is named as typed, and stays named as typing goes on.
        type(text1, QStringLiteral("Ğ"));
        type(text1, QStringLiteral("b"));
        QCOMPARE(text1->text(), QStringLiteral("A€?b"));
        QCOMPARE(warning(panel), QStringLiteral("€ → é  Ğ → ?"));

        // The big row: capitals, V for Y.
        QTest::mouseClick(h.find<QRadioButton>("Option2"), Qt::LeftButton);
        auto* text3 = h.find<QLineEdit>("Text3");
        text3->setFocus();
        type(text3, QStringLiteral("y"));
        QCOMPARE(led->page()->kind, kBigFixed);
        QCOMPARE(warning(panel), QStringLiteral("y → V"));
    }

    // Beside the warning, one click writes the euro sign out in letters the sign has.
    void theEuroSignIsWrittenOutInOneClick() {
        testing::StartedEditor h;
        h.start();
        EditorLedPanel* panel = h.view.ledPanel();
        auto* text1 = h.find<QLineEdit>("Text1");
        QTRY_VERIFY(text1->hasFocus());
        auto* spellOut = h.find<QPushButton>("spellOut");
        QVERIFY(spellOut);
        QVERIFY(spellOut->isHidden());
        type(text1, QStringLiteral("5"));
        type(text1, QStringLiteral("€"));
        QCOMPARE(warning(panel), QStringLiteral("€ → é"));
        QTRY_VERIFY(spellOut->isVisible());
        QCOMPARE(spellOut->text(), QStringLiteral("Scrivi € come EUR"));
        QTest::mouseClick(spellOut, Qt::LeftButton);
        QCOMPARE(text1->text(), QStringLiteral("5 EUR"));
        QCOMPARE(warning(panel), QString());
        QCOMPARE(h.find<QLabel>("saveNotice")->text(), QStringLiteral("Scritto € come EUR"));
        QTRY_VERIFY(spellOut->isHidden());
    }

    void thePreviewPlaysInTheView() {
        testing::StartedEditor h;
        auto& fake = h.fake;
        auto& state = h.state;
        auto& view = h.view;
        h.start();
        fake.clock.autoAdvance = 0;
        h.putPage(1, kBigFixedInverse, "VIA      ", "VIA      ", 2);
        h.putPage(2, kRow2Scrolling, std::string(18, 'A'), "ciao", 2);

        LedView* led = view.ledPanel()->view();
        QListView* list = view.pageList()->list();
        auto* big = h.find<QRadioButton>("Option2");
        auto* status = h.find<QLabel>("saveNotice");
        QList<int> kinds;
        // At each page's pause: the row the page list marks, the mode shown, the status line.
        QStringList atPauses;
        fake.clock.onWait = [&](double seconds) {
            view.binder().sync();
            const int kind = led->page() ? led->page()->kind : 0;
            if (kinds.isEmpty() || kinds.last() != kind) kinds << kind;
            if (seconds >= 1)
                atPauses << QStringLiteral("%1 %2 %3")
                                .arg(list->currentIndex().row() + 1)
                                .arg(big->isChecked() ? QStringLiteral("1 Riga")
                                                      : QStringLiteral("2 Righe"))
                                .arg(status->text());
        };
        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("Anteprima")),
                          Qt::LeftButton);
        QCOMPARE(kinds, (QList<int>{kBigFixedInverse, kRow2Scrolling}));
        QCOMPARE(atPauses,
                 (QStringList{QStringLiteral("1 1 Riga Anteprima veloce: pause dimezzate"),
                              QStringLiteral("2 2 Righe Anteprima veloce: pause dimezzate")}));
        QCOMPARE(status->text(), QString());
        // Back to the page in the fields once the preview is over.
        QCOMPARE(state.PreviewRunning, 0);
        QCOMPARE(led->page()->kind, kRow2Scrolling);
        QCOMPARE(led->page()->row2.indices.size(), std::size_t{4});
    }
};

}  // namespace velora

QTEST_MAIN(velora::EditorLedTest)
#include "editor_led_test.moc"
