#include "led_view.h"

#include <QtTest>

#include "fakes/fake_clock.h"

namespace velora {

// The LED view: what it draws and says, and that it rests when the sign stands still.
class LedViewTest : public QObject {
    Q_OBJECT

private:
    static std::vector<std::uint8_t> record(std::uint8_t kind, const std::string& row1,
                                            const std::string& row2) {
        Modulo1 state;
        state.PageCount = 1;
        state.RowChars = 9;
        state.PageKind[1] = kind;
        state.PagePause[1] = 3;
        state.PageText[1][1] = row1;
        state.PageText[1][2] = row2;
        return pageRecord(state, 1);
    }

    static int litDots(const LedView& view) {
        return static_cast<int>(std::count(view.face().dots.begin(), view.face().dots.end(), 1));
    }

private Q_SLOTS:
    void restsOnAFixedPageAndStepsAScrollingOne() {
        testing::FakeClock clock;
        LedView view(clock);
        view.showRecord(record(kTwoFixedRows, "CIAO \x80", "A"));
        QCOMPARE(view.accessibleName(), QStringLiteral("Insegna"));
        QCOMPARE(view.accessibleDescription(), QStringLiteral("Riga 1: «CIAO é». Riga 2: «A»."));
        QVERIFY(!view.changeScheduled());
        QCOMPARE(view.face().width, 9 * 6);

        view.showRecord(record(kRow2Scrolling, "", "AB"));
        QVERIFY(view.changeScheduled());
        const int atFirstStep = litDots(view);
        QVERIFY(atFirstStep > 0);
        // One step later "B" alone is lit.
        clock.seconds += 0.2;
        QTRY_VERIFY(litDots(view) != atFirstStep && litDots(view) > 0);
        QVERIFY(view.changeScheduled());
    }

    void aPlayedScrollingRowEndsDarkAndStopsAndAClockRowKeepsTime() {
        testing::FakeClock clock;
        LedView view(clock);
        view.showRecord(record(kRow2Scrolling, "", "A"), ScrollEnd::Dark);
        clock.seconds += (1 + 7) * 0.2;
        QTRY_COMPARE(litDots(view), 0);
        QVERIFY(!view.changeScheduled());

        view.showRecord(record(kInfoInRow2, "", ""));
        QVERIFY(view.changeScheduled());
        QVERIFY(view.accessibleDescription().contains(QStringLiteral("05/12 09:01")));
    }

    void aRecordThatDoesNotReadDarkensTheSign() {
        testing::FakeClock clock;
        LedView view(clock);
        view.showRecord(record(kTwoFixedRows, "CIAO", ""));
        QVERIFY(litDots(view) > 0);
        std::vector<std::uint8_t> cut = record(kTwoFixedRows, "CIAO", "");
        cut.pop_back();
        view.showRecord(cut);
        QCOMPARE(litDots(view), 0);
        QVERIFY(!view.page());
        QCOMPARE(view.accessibleDescription(), QStringLiteral("Insegna spenta."));
    }
};

}  // namespace velora

QTEST_MAIN(velora::LedViewTest)
#include "led_view_test.moc"
