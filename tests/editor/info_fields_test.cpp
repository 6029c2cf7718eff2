#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

class InfoFieldTest : public EditorFixture {};

TEST_F(InfoFieldTest, InfoR1WritesTheSampleIntoRow1OfTheSlot) {
    fake.clock.date = {2026, 3, 1, 7, 5, 0};
    putSequence(2);
    editor.VScroll1.setValue(2);
    editor.Text2.setText("user row 2");
    editor.InfoR1.click();
    const std::string sample = "01/03 07:05 +20\xB0";
    EXPECT_EQ(state.PageText[2][1], sample);
    EXPECT_EQ(editor.Text1.text(), sample);
    EXPECT_EQ(state.PageText[2][2], "");  // row 2 of the slot is not touched
    EXPECT_EQ(editor.Text2.text(), "user row 2");
    EXPECT_EQ(state.PageKind[2], 6);
    EXPECT_EQ(state.InfoRowState, 2);
    EXPECT_FALSE(editor.InfoR2.enabled());
    EXPECT_TRUE(editor.InfoR1.enabled());
    EXPECT_EQ(editor.LenRiga1.caption(), "16");
}

TEST_F(InfoFieldTest, FocusAndLimitFollowTheRowWidth) {
    struct Case {
        int rowChars;
        bool focusMoves;
    };
    for (const Case c : {Case{12, true}, Case{15, true}, Case{18, false}, Case{24, false}}) {
        SCOPED_TRACE(c.rowChars);
        state.RowChars = static_cast<std::uint8_t>(c.rowChars);
        state.InfoRowState = 0;
        editor.Text1.setText("");
        editor.window.setFocus(editor.Text1);
        editor.InfoR1_Click();
        EXPECT_EQ(editor.Text1.text().size(), 16u);
        EXPECT_EQ(editor.Text1.maxLength(), c.rowChars);
        EXPECT_EQ(editor.window.focus(), c.focusMoves ? &editor.Text2 : &editor.Text1);
    }
}

TEST_F(InfoFieldTest, InfoR2WritesRow2AndExcludesTheOtherButtonUntilStored) {
    editor.InfoR2.click();
    EXPECT_EQ(state.PageText[1][2], "05/12 09:01 +20\xB0");
    EXPECT_EQ(state.PageKind[1], 5);
    EXPECT_EQ(state.InfoRowState, 1);
    EXPECT_FALSE(editor.InfoR1.enabled());
    EXPECT_EQ(editor.Text2.maxLength(), 18);
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.InfoR1.enabled());
    EXPECT_FALSE(editor.Scor1.enabled());
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageKind[1], 5);
    editor.Timer1_Timer();
    EXPECT_TRUE(editor.InfoR1.enabled());
    EXPECT_TRUE(editor.Scor1.enabled());
}

// The info row of the page shown before does not leak into a blank page opened there: the blank
// page is stored as a page of its own, with its controls enabled as on a new page.
TEST_F(InfoFieldTest, BlankPageOpenedOnAnInfoPageStartsClean) {
    editor.Text1.edit("A");
    editor.InfoR2.click();
    editor.cmdinserisci.click();
    editor.Text1.edit("B");
    editor.cmdinserisci.click();
    editor.VScroll1.setValue(1);
    ASSERT_EQ(state.PageKind[1], kInfoInRow2);
    editor.Picture2.click();
    editor.Timer1_Timer();
    EXPECT_EQ(state.InfoRowState, 0);
    EXPECT_TRUE(editor.InfoR1.enabled());
    EXPECT_TRUE(editor.Scor1.enabled());
    EXPECT_TRUE(editor.Scor2.enabled());
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageKind[1], kTwoFixedRows);
    EXPECT_EQ(state.PageText[1][2], std::string(18, ' '));
    EXPECT_EQ(state.PageKind[2], kInfoInRow2);
    EXPECT_EQ(state.PageCount, 3);
}

}  // namespace
}  // namespace velora
