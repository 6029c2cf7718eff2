#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

const std::string kSample = "05/12 09:01 +20\xB0";  // the fake clock stands at 5 December, 09:01

class PageLoaderTest : public EditorFixture {};

struct LoadCase {
    const char* name;
    int kind;
    std::string row1, row2;
    bool bigRow;
    std::string text1, text2, text3;
    int scor1, scor2, inverse;
    int limit1, limit2, limit3;
    std::uint32_t back3, fore3;
};

void PrintTo(const LoadCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadKindTest : public PageLoaderTest, public ::testing::WithParamInterface<LoadCase> {};

// Page 2 of three is loaded into a fresh two-row editor; the limits show which change
// rule ran last, with which check values.
TEST_P(LoadKindTest, ShowsThePageInTheFields) {
    const LoadCase& c = GetParam();
    putSequence(3);
    putPage(2, c.kind, c.row1, c.row2, 7);
    editor.VScroll1.setValue(2);

    EXPECT_EQ(editor.NumQua.caption(), "2");
    EXPECT_EQ(editor.Option2.selected(), c.bigRow);
    EXPECT_EQ(editor.Option1.selected(), !c.bigRow);
    EXPECT_EQ(editor.Text3.visible(), c.bigRow);
    EXPECT_EQ(editor.Text1.visible(), !c.bigRow);
    EXPECT_EQ(editor.Text1.text(), c.text1);
    EXPECT_EQ(editor.Text2.text(), c.text2);
    EXPECT_EQ(editor.Text3.text(), c.text3);
    EXPECT_EQ(editor.Scor1.value(), c.scor1);
    EXPECT_EQ(editor.Scor2.value(), c.scor2);
    EXPECT_EQ(editor.Gra_Inv.value(), c.inverse);
    EXPECT_EQ(editor.Text1.maxLength(), c.limit1);
    EXPECT_EQ(editor.Text2.maxLength(), c.limit2);
    EXPECT_EQ(editor.Text3.maxLength(), c.limit3);
    EXPECT_EQ(editor.Text3.backColor(), c.back3);
    EXPECT_EQ(editor.Text3.foreColor(), c.fore3);
    EXPECT_EQ(editor.Combo1.text(), "7");
    EXPECT_EQ(state.CurrentPause, 7);
    EXPECT_EQ(reportedErrors(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LoadKindTest,
    ::testing::Values(LoadCase{"TwoFixed", 1, "ABC", "DEF", false, "ABC", "DEF", "", 0, 0, 0, 18,
                               18, 9, kBlack, kYellow},
                      // Text2 is written while Scor2 is still clear, so its
                      // limit is the fixed one until it next changes.
                      LoadCase{"Row2Scrolling", 2, "ABC", "scroll", false, "ABC", "scroll", "", 0,
                               1, 0, 18, 18, 9, kBlack, kYellow},
                      LoadCase{"BigFixed", 3, "BIG ", "BIG ", true, "", "", "BIG", 0, 0, 0, 18, 18,
                               9, kBlack, kYellow},
                      LoadCase{"BigScrolling", 4, "col1", "a long scrolling text", true, "", "",
                               "a long scrolling text", 1, 1, 0, 18, 18, 9, kBlack, kYellow},
                      LoadCase{"InfoInRow2", 5, "ROW1", "01/01 00:00 +20\xB0", false, "ROW1",
                               kSample, "", 0, 0, 0, 18, 18, 9, kBlack, kYellow},
                      LoadCase{"InfoInRow1", 6, "01/01 00:00 +20\xB0", "ROW2", false, kSample,
                               "ROW2", "", 0, 0, 0, 18, 18, 9, kBlack, kYellow},
                      LoadCase{"Row1Scrolling", 7, "scrolling row one", "R2", false,
                               "scrolling row one", "R2", "", 1, 0, 0, 18, 18, 9, kBlack, kYellow},
                      LoadCase{"BigFixedInverse", 8, "INV", "INV", true, "", "", "INV", 0, 0, 1, 18,
                               18, 9, kYellow, kBlack}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(PageLoaderTest, BigFixedPageTakesTheLimitOfTheChecksAtTheMomentItsTextIsWritten) {
    state.RowChars = 24;
    putSequence(2);
    putPage(1, 4, "scroll", "scroll");
    putPage(2, 3, "BIG", "BIG");
    editor.VScroll1.setValue(2);
    EXPECT_EQ(editor.Text3.maxLength(), 12);  // both boxes clear: the stored half row
    editor.VScroll1.setValue(1);
    editor.VScroll1.setValue(2);  // coming from a scrolling page, both boxes were still checked
    EXPECT_EQ(editor.Text3.maxLength(), 114);
}

TEST_F(PageLoaderTest, SlotNeverStoredShowsEmptyFieldsAndKeepsModeChecksAndPause) {
    putSequence(1);
    putPage(1, 4, "scrolling", "scrolling", 9);
    editor.VScroll1.setValue(2);
    editor.VScroll1.setValue(1);
    ASSERT_EQ(editor.Text3.text(), "scrolling");
    state.PageText[2][1] = "left over";  // the new-page slot is emptied at every load
    editor.VScroll1.setValue(2);

    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_EQ(editor.Text2.text(), "");
    EXPECT_EQ(editor.Text3.text(), "");
    EXPECT_EQ(state.PageText[2][1], "");
    EXPECT_TRUE(editor.Option2.selected());
    EXPECT_EQ(editor.Scor1.value(), 1);
    EXPECT_EQ(editor.Scor2.value(), 1);
    EXPECT_EQ(editor.Combo1.text(), "9");
    EXPECT_EQ(state.CurrentPause, 9);
}

TEST_F(PageLoaderTest, PauseZeroLeavesThePauseListAndCurrentPause) {
    putSequence(2);
    state.PagePause[2] = 0;
    editor.VScroll1.setValue(2);
    EXPECT_EQ(editor.Combo1.text(), "3");
    editor.VScroll1.setValue(1);
    ASSERT_EQ(editor.Combo1.text(), "1");
    editor.VScroll1.setValue(2);
    EXPECT_EQ(editor.Combo1.text(), "1");
    EXPECT_EQ(state.CurrentPause, 1);
}

TEST_F(PageLoaderTest, JumpPastTheNewPageSlotWarnsOncePerPositionAndKeepsTheTypedTexts) {
    struct Case {
        int pages, from, to, messages;
    };
    for (const Case c : {Case{0, 1, 2, 1}, Case{0, 1, 6, 5}, Case{2, 3, 8, 5}, Case{2, 1, 4, 1}}) {
        SCOPED_TRACE(::testing::Message() << c.pages << " pages, " << c.from << " to " << c.to);
        fake.dialogs.shown.clear();
        putSequence(c.pages);
        editor.VScroll1.setValue(c.from);
        editor.Text1.setText("typed 1");
        editor.Text2.setText("typed 2");
        editor.VScroll1.setValue(c.to);

        EXPECT_EQ(messagesSaying("Pagina non Caricata."), c.messages);
        EXPECT_EQ(fake.dialogs.shown.size(), static_cast<std::size_t>(c.messages));
        EXPECT_EQ(editor.VScroll1.value(), c.pages + 1);
        EXPECT_EQ(editor.NumQua.caption(), std::to_string(c.pages + 1));
        EXPECT_EQ(editor.Text1.text(), "typed 1");
        EXPECT_EQ(editor.Text2.text(), "typed 2");
    }
}

TEST_F(PageLoaderTest, SetBigRowModeEnablesByTheChecks) {
    struct Case {
        int scor1, scor2, inverse;
        bool graEnabled, scor1Enabled, scor2Enabled;
    };
    for (const Case c : {Case{0, 0, 0, false, false, false}, Case{0, 0, 1, true, false, false},
                         Case{1, 1, 0, false, true, true},
                         // any other combination changes nothing: all three stay as they were
                         Case{1, 0, 0, true, true, true}, Case{0, 1, 1, true, true, true}}) {
        SCOPED_TRACE(::testing::Message() << c.scor1 << c.scor2 << c.inverse);
        editor.Scor1.setValue(c.scor1);
        editor.Scor2.setValue(c.scor2);
        editor.Gra_Inv.setValue(c.inverse);
        editor.Command6_Click();
        editor.InfoR1.setEnabled(true);
        editor.SetBigRowMode();
        EXPECT_TRUE(editor.Option2.selected());
        EXPECT_FALSE(editor.InfoR1.enabled());
        EXPECT_EQ(editor.Gra_Inv.enabled(), c.graEnabled);
        EXPECT_EQ(editor.Scor1.enabled(), c.scor1Enabled);
        EXPECT_EQ(editor.Scor2.enabled(), c.scor2Enabled);
    }
}

TEST_F(PageLoaderTest, SetTwoRowModeEnablesInfoButtonsOnlyWithoutScrollingOrInfoRow) {
    editor.InfoR1.setEnabled(false);
    editor.InfoR2.setEnabled(false);
    state.InfoRowState = 1;
    editor.SetTwoRowMode();
    EXPECT_FALSE(editor.InfoR1.enabled());
    state.InfoRowState = 0;
    editor.Scor1.setValue(1);
    editor.SetTwoRowMode();
    EXPECT_FALSE(editor.InfoR1.enabled());
    EXPECT_FALSE(editor.Scor2.enabled());
    EXPECT_TRUE(editor.Scor1.enabled());
    EXPECT_FALSE(editor.Gra_Inv.enabled());
    editor.Scor1.setValue(0);
    editor.SetTwoRowMode();
    EXPECT_TRUE(editor.InfoR1.enabled());
    EXPECT_TRUE(editor.InfoR2.enabled());
    EXPECT_TRUE(editor.Scor2.enabled());
}

TEST_F(PageLoaderTest, InsertingInTheMiddleShiftsThePagesUp) {
    putSequence(3);
    editor.VScroll1.setValue(2);
    editor.Scor1.setValue(1);
    editor.Picture2.click();

    EXPECT_EQ(state.PageCount, 4);
    EXPECT_EQ(editor.txtmax.caption(), "4");
    EXPECT_EQ(state.GapOpened, 1);
    EXPECT_EQ(state.PageText[1][1], "P1");
    EXPECT_EQ(state.PageText[2][1], "");
    EXPECT_EQ(state.PageKind[2], 1);  // the blank page inherits the kind and pause of old page 2
    EXPECT_EQ(state.PagePause[2], 2);
    EXPECT_EQ(state.PageText[3][1], "P2");
    EXPECT_EQ(state.PagePause[3], 2);
    EXPECT_EQ(state.PageText[4][1], "P3");
    EXPECT_EQ(state.PagePause[4], 3);
    EXPECT_EQ(editor.VScroll1.value(), 2);
    EXPECT_EQ(editor.NumQua.caption(), "2");
    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_EQ(editor.Scor1.value(), 0);
    EXPECT_TRUE(editor.Scor2.enabled());
}

TEST_F(PageLoaderTest, InsertingOnTheNewPageSlotOnlyCounts) {
    editor.VScroll1.setValue(2);
    editor.VScroll1.setValue(1);  // an empty sequence: position 1 is the new-page slot
    editor.Text1.setText("typed");
    editor.Picture2.click();
    EXPECT_EQ(state.PageCount, 1);
    EXPECT_EQ(state.PageKind[1], 0);
    EXPECT_EQ(state.PageText[1][1], "");
    EXPECT_EQ(state.PageText[2][1], "");
    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_EQ(state.GapOpened, 1);
}

TEST_F(PageLoaderTest, InsertingIntoAFullStoreIsRefusedAndChangesNothing) {
    putSequence(3);
    editor.VScroll1.setValue(2);
    editor.Text1.setText("typed");
    state.PageCount = 200;
    editor.Picture2.click();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("200"), std::string::npos);
    EXPECT_EQ(state.PageCount, 200);
    EXPECT_EQ(state.GapOpened, 0);
    EXPECT_EQ(state.PageText[2][1], "P2");
    EXPECT_EQ(editor.Text1.text(), "typed");
    EXPECT_EQ(reportedErrors(), 0);
}

TEST_F(PageLoaderTest, Timer2JumpsToTheFirstPageOnce) {
    putSequence(2);
    editor.VScroll1.setValue(2);  // as opening a file leaves it
    editor.Timer2.setEnabled(true);
    editor.Timer2_Timer();
    EXPECT_EQ(editor.VScroll1.value(), 1);
    EXPECT_EQ(editor.Text1.text(), "P1");
    EXPECT_FALSE(editor.Timer2.enabled());
}

}  // namespace
}  // namespace velora
