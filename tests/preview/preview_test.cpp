#include "preview/preview.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "editor/editor_fixture.h"
#include "sign/page_time.h"

namespace velora {
namespace {

// A started editor with the preview, recording what each row field shows while it plays.
class PreviewTest : public testing::EditorFixture {
protected:
    PreviewTest() {
        record(editor.Text1, shownText1);
        record(editor.Text2, shownText2);
        record(editor.Text3, shownText3);
        fake.clock.autoAdvance = 0;  // time moves only by the waits
    }

    void record(TextBox& box, std::vector<std::string>& shown) {
        box.onChange = [&box, &shown, handler = box.onChange] {
            shown.push_back(box.text());
            if (handler) handler();
        };
    }

    double totalWait() const {
        return std::accumulate(fake.clock.waits.begin(), fake.clock.waits.end(), 0.0);
    }

    void play() {
        fake.clock.waits.clear();
        preview.Anteprima_Click();
    }

    Preview& preview = windows.preview;
    std::vector<std::string> shownText1;
    std::vector<std::string> shownText2;
    std::vector<std::string> shownText3;
};

TEST_F(PreviewTest, Row2ScrollsOneCharacterEveryFifthOfASecond) {
    putPage(1, kRow2Scrolling, std::string(18, 'A'), "0123456789", 0);
    state.PageCount = 1;
    shownText2.clear();
    play();

    // The 10 characters and 7 blanks run through an 18-character window: 17 steps.
    ASSERT_GE(shownText2.size(), 17u);
    EXPECT_EQ(shownText2[0], "0123456789       ");
    EXPECT_EQ(shownText2[1], "123456789       ");
    EXPECT_EQ(shownText2[16], " ");
    EXPECT_EQ(fake.clock.waits.size(), 17u + 1u);  // the steps, then the pause of 0
    EXPECT_NEAR(totalWait(), 3.4, 1e-9);
}

TEST_F(PreviewTest, BigRowScrollsThroughItsWholeText) {
    const std::string text = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
    putPage(1, kBigScrolling, text, text, 0);
    state.PageCount = 1;
    shownText3.clear();
    play();

    ASSERT_GE(shownText3.size(), 41u);
    for (int step = 0; step < 24; ++step) EXPECT_EQ(shownText3[step].size(), 18u) << step;
    EXPECT_EQ(shownText3[24].size(), 17u);
    EXPECT_EQ(shownText3[40], " ");
    EXPECT_NEAR(totalWait(), 8.2, 1e-9);
}

TEST_F(PreviewTest, EmptyScrollingTextStillRunsItsBlanks) {
    putPage(1, kRow1Scrolling, "", std::string(18, 'B'), 0);
    putPage(2, kRow2Scrolling, std::string(18, 'C'), "", 0);
    state.PageCount = 2;
    play();
    EXPECT_NEAR(totalWait(), (11 + 7) * 0.2, 1e-9);
}

TEST_F(PreviewTest, PausesAreHalvedWithPauseOneKeptAtOneSecond) {
    const std::vector<std::pair<int, double>> cases = {{0, 0}, {1, 1}, {2, 1},  {3, 1},
                                                       {4, 2}, {5, 2}, {19, 9}, {20, 10}};
    for (const auto& [pause, seconds] : cases) {
        EXPECT_DOUBLE_EQ(Preview::pauseSeconds(pause), seconds) << pause;
    }
    putPage(1, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 4);
    putPage(2, kBigFixed, "BIG      ", "BIG      ", 20);
    state.PageCount = 2;
    play();
    EXPECT_EQ(fake.clock.waits, (std::vector<double>{2, 10}));
}

TEST_F(PreviewTest, InfoPageShowsTheSampleOfTheMomentItIsShown) {
    putPage(1, kInfoInRow2, std::string(18, 'A'), "01/01 00:00 +20\xB0", 3);
    state.PageCount = 1;
    fake.clock.date = {2026, 12, 5, 14, 7, 0};
    shownText2.clear();
    play();
    ASSERT_FALSE(shownText2.empty());
    EXPECT_EQ(shownText2.front(), "05/12 14:07 +20\xB0");
}

TEST_F(PreviewTest, NeverStoredPageShowsAllFieldsHiddenForItsWait) {
    putPage(1, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 3);
    putPage(2, kNeverStored, "", "", 4);
    state.PageCount = 2;
    std::vector<bool> shownAtWaits;
    fake.clock.onWait = [&](double) {
        shownAtWaits.push_back(editor.Text1.visible() || editor.Text2.visible() ||
                               editor.Text3.visible() || editor.Text6.visible());
    };
    play();
    EXPECT_EQ(shownAtWaits, (std::vector<bool>{true, false}));
    EXPECT_EQ(fake.clock.waits, (std::vector<double>{1, 2}));
}

TEST_F(PreviewTest, EndsOnPageNRestoredAndTheEditorRunning) {
    putPage(1, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 3);
    putPage(2, kRow2Scrolling, std::string(18, 'C'), "scorre", 3);
    state.PageCount = 2;
    editor.VScroll1.setValue(2);  // already at N: the page is loaded all the same
    play();
    EXPECT_EQ(state.PreviewRunning, 0);
    EXPECT_TRUE(editor.Timer1.enabled());
    EXPECT_FALSE(editor.Text6.visible());
    EXPECT_EQ(editor.VScroll1.value(), 2);
    EXPECT_EQ(editor.Text2.text(), "scorre");
    EXPECT_TRUE(editor.Text2.visible());
    EXPECT_EQ(editor.Anteprima.mousePointer(), Button::kDefaultPointer);
    EXPECT_EQ(reportedErrors(), 0);
}

// The mode buttons follow the page being played, and the status line says that the preview's
// pauses are half the sign's for as long as it plays.
TEST_F(PreviewTest, ModeButtonsAndStatusLineFollowThePlayedPage) {
    putPage(1, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 2);
    putPage(2, kBigFixedInverse, "GRANDE   ", "GRANDE   ", 1);
    putPage(3, kNeverStored, "", "", 2);
    putPage(4, kRow1Scrolling, "scorre", std::string(18, 'C'), 2);
    putPage(5, kBigScrolling, "grande", "grande", 2);
    state.PageCount = 5;
    editor.saveNotice.setCaption("Annullato: Elimina 2 pagine");
    std::vector<std::pair<int, bool>> modes;  // page, big mode shown at its pause
    std::vector<std::string> notices;
    fake.clock.onWait = [&](double seconds) {
        if (seconds >= 1) {
            modes.emplace_back(state.PreviewPage, editor.Option2.selected());
            notices.push_back(editor.saveNotice.caption());
        }
    };
    play();
    // The slot never stored keeps the mode of the page before it.
    EXPECT_EQ(modes, (std::vector<std::pair<int, bool>>{
                         {1, false}, {2, true}, {3, true}, {4, false}, {5, true}}));
    for (const std::string& notice : notices)
        EXPECT_EQ(notice, "Anteprima veloce: pause dimezzate");
    EXPECT_EQ(editor.saveNotice.caption(), "");
    // The last page is loaded back with its own mode.
    EXPECT_TRUE(editor.Option2.selected());
}

// The preview's page time is the sign's with the pause halved: the same scrolling, half the
// whole pause that the page list counts.
TEST_F(PreviewTest, PageTimeIsTheSignsWithTheHalvedPause) {
    putPage(1, kRow2Scrolling, std::string(18, 'A'), "0123456789", 9);
    putPage(2, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 1);
    EXPECT_NEAR(signPageSeconds(state, 1), 17 * 0.2 + 9, 1e-9);
    EXPECT_NEAR(Preview::pageSeconds(state, 1), 17 * 0.2 + 4, 1e-9);
    EXPECT_NEAR(signPageSeconds(state, 2), 1, 1e-9);
    EXPECT_NEAR(Preview::pageSeconds(state, 2), 1, 1e-9);
}

TEST_F(PreviewTest, DoesNotWriteTheStore) {
    putPage(1, kRow1Scrolling, "uno due tre", std::string(18, 'D'), 2);
    putPage(2, kInfoInRow1, "01/01 00:00 +20\xB0", std::string(18, 'E'), 2);
    state.PageCount = 2;
    const auto before = state.PageText;
    play();
    EXPECT_EQ(state.PageText, before);
}

TEST_F(PreviewTest, EmptySequenceComesBackToPageOneWithoutAnError) {
    editor.VScroll1.setValue(1);
    play();
    EXPECT_EQ(editor.VScroll1.value(), 1);
    EXPECT_EQ(reportedErrors(), 0);
    EXPECT_EQ(state.PreviewRunning, 0);
    EXPECT_TRUE(editor.Timer1.enabled());
    EXPECT_FALSE(editor.Text6.visible());
}

TEST_F(PreviewTest, FullStoreEndsOnItsLastPageWithoutAnError) {
    // The selector reaches every slot, so the preview comes back to page 200.
    for (int slot = 1; slot <= kLastSlot; ++slot) putPage(slot, kTwoFixedRows, "x", "y", 0);
    state.PageCount = kLastSlot;
    play();
    EXPECT_EQ(reportedErrors(), 0);
    EXPECT_EQ(editor.VScroll1.value(), kLastSlot);
    EXPECT_EQ(state.PreviewRunning, 0);
}

TEST_F(PreviewTest, ErrorAtTheEndLeavesTheEditorUsable) {
    // A selector that stops short of the last page: moving it to page N fails with 380.
    editor.VScroll1.setRange(1, 128);
    for (int slot = 1; slot <= 130; ++slot) putPage(slot, kTwoFixedRows, "x", "y", 0);
    state.PageCount = 130;
    play();
    EXPECT_EQ(reportedErrors(), 1);
    EXPECT_EQ(state.PreviewRunning, 0);
    EXPECT_TRUE(editor.Timer1.enabled());
    EXPECT_FALSE(editor.Text6.visible());
}

TEST_F(PreviewTest, FieldRulesRestAndTheTimerStopsDuringThePreview) {
    putPage(1, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 2);
    state.PageCount = 1;
    // The first change of Text1 is the preview showing page 1; the last is the editor reloading it.
    std::vector<bool> timerRunning;
    std::vector<std::string> counter;
    editor.Text1.onChange = [&, handler = editor.Text1.onChange] {
        timerRunning.push_back(editor.Timer1.enabled());
        counter.push_back(editor.LenRiga1.caption());
        handler();
    };
    editor.LenRiga1.setCaption("before");
    play();
    ASSERT_GE(timerRunning.size(), 2u);
    EXPECT_FALSE(timerRunning.front());
    EXPECT_EQ(counter.front(), "before");
    EXPECT_TRUE(timerRunning.back());
}

// "Anteprima" pressed again during a wait (a page's pause or a scrolling step) ends the preview
// there, through its usual closing steps.
TEST_F(PreviewTest, PressingAnteprimaAgainStopsAtOnce) {
    struct Case {
        int pressedDuringWait;  // 1 is page 1's pause; 2 on are page 2's scrolling steps
        int waits;
    };
    for (const Case& c : {Case{1, 1}, Case{3, 3}}) {
        SCOPED_TRACE(c.pressedDuringWait);
        putPage(1, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 20);
        putPage(2, kRow2Scrolling, std::string(18, 'C'), "scorre", 20);
        putPage(3, kBigFixed, "ULTIMA   ", "ULTIMA   ", 20);
        state.PageCount = 3;
        int waits = 0;
        fake.clock.onWait = [&](double) {
            if (++waits == c.pressedDuringWait) editor.Anteprima.click();
        };
        play();
        EXPECT_EQ(fake.clock.waits.size(), std::size_t(c.waits));
        EXPECT_EQ(state.PreviewRunning, 0);
        EXPECT_TRUE(editor.Timer1.enabled());
        EXPECT_FALSE(editor.Text6.visible());
        EXPECT_EQ(editor.Anteprima.mousePointer(), Button::kDefaultPointer);
        EXPECT_EQ(editor.VScroll1.value(), 3);
        EXPECT_EQ(editor.Text3.text(), "ULTIMA");
        EXPECT_TRUE(editor.Text3.visible());
        EXPECT_EQ(reportedErrors(), 0);

        // The next press plays the whole sequence again.
        fake.clock.onWait = nullptr;
        play();
        EXPECT_EQ(fake.clock.waits.size(), 1u + 13u + 1u + 1u);
    }
}

// Closing the window during the preview stops it; the window's question comes after the closing
// steps, and the window stays unless the question lets it go.
TEST_F(PreviewTest, ClosingTheWindowStopsThePreviewThenAsks) {
    putPage(1, kTwoFixedRows, std::string(18, 'A'), std::string(18, 'B'), 20);
    putPage(2, kTwoFixedRows, std::string(18, 'C'), std::string(18, 'D'), 20);
    state.PageCount = 2;
    std::vector<int> askedWhilePlaying;
    editor.mnunextfinE.onClick = [&] { askedWhilePlaying.push_back(state.PreviewRunning); };
    bool closed = true;
    fake.clock.onWait = [&](double) { closed = editor.window.queryUnload(); };
    play();
    EXPECT_FALSE(closed);
    EXPECT_EQ(fake.clock.waits.size(), 1u);
    EXPECT_EQ(askedWhilePlaying, std::vector<int>{0});
    EXPECT_EQ(editor.VScroll1.value(), 2);
}

}  // namespace
}  // namespace velora
