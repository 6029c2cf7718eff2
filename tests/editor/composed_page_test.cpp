#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

struct ComposeCase {
    const char* name;
    bool storedPage;  // re-store page 1 of a sequence of 2, or store a new page
    int rowChars;
    bool bigRow;
    int scor1, scor2, inverse, infoRow;
    std::string text1, text2, text3;
    std::string pause;
};

void PrintTo(const ComposeCase& c, std::ostream* out) {
    *out << c.name;
}

class ComposedPageTest : public EditorFixture, public ::testing::WithParamInterface<ComposeCase> {};

// Whatever the controls say, the composed page is exactly what storing then writes, and working
// it out leaves the fields as typed.
TEST_P(ComposedPageTest, IsWhatStoringWrites) {
    const ComposeCase& c = GetParam();
    state.RowChars = static_cast<std::uint8_t>(c.rowChars);
    if (c.storedPage) {
        putSequence(2);
        editor.VScroll1.setValue(1);
    }
    (c.bigRow ? editor.Option2 : editor.Option1).setSelected(true);
    (c.bigRow ? editor.Option1 : editor.Option2).setSelected(false);
    editor.Scor1.setValue(c.scor1);
    editor.Scor2.setValue(c.scor2);
    editor.Gra_Inv.setValue(c.inverse);
    editor.Text1.setText(c.text1);
    editor.Text2.setText(c.text2);
    editor.Text3.setText(c.text3);
    editor.Combo1.setText(c.pause);
    state.InfoRowState = static_cast<std::uint8_t>(c.infoRow);
    const int slot = editor.VScroll1.value();

    const EditorWindow::ComposedPage page = editor.composedPage();
    EXPECT_EQ(editor.Text1.text(), c.text1);
    EXPECT_EQ(editor.Text2.text(), c.text2);
    EXPECT_EQ(editor.Text3.text(), c.text3);

    editor.cmdinserisci.click();
    EXPECT_EQ(page.kind, state.PageKind[slot]);
    EXPECT_EQ(page.row1, state.PageText[slot][1]);
    EXPECT_EQ(page.row2, state.PageText[slot][2]);
    EXPECT_EQ(page.pause, state.PagePause[slot]);
}

const std::string kInfo = "05/12 09:01 +20\xB0";

// A stored info page, loaded and then edited or not, composes what re-storing it writes.
TEST_F(EditorFixture, ALoadedInfoPageComposesWhatReStoringWrites) {
    for (int kind : {kInfoInRow2, kInfoInRow1}) {
        for (bool touched : {false, true}) {
            putPage(1, kind, kind == kInfoInRow2 ? "Meteo" : "01/01 00:00 +20\xB0",
                    kind == kInfoInRow2 ? "01/01 00:00 +20\xB0" : "Sotto", 4);
            putPage(2, kTwoFixedRows, "", "");
            state.PageCount = 2;
            editor.VScroll1.setValue(2);
            editor.VScroll1.setValue(1);
            if (touched) (kind == kInfoInRow2 ? editor.InfoR2 : editor.InfoR1).click();
            const EditorWindow::ComposedPage page = editor.composedPage();
            editor.cmdinserisci.click();
            EXPECT_EQ(page.kind, state.PageKind[1]) << kind << touched;
            EXPECT_EQ(page.row1, state.PageText[1][1]) << kind << touched;
            EXPECT_EQ(page.row2, state.PageText[1][2]) << kind << touched;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, ComposedPageTest,
    ::testing::Values(
        ComposeCase{"two_fixed", false, 18, false, 0, 0, 0, 0, "CIAO", "MONDO", "", "5"},
        ComposeCase{"pirla_answered_on_a_new_page", false, 18, false, 0, 0, 0, 0, "pirla", "", "",
                    "3"},
        ComposeCase{"pirla_kept_on_a_stored_page", true, 18, false, 0, 0, 0, 0, "pirla", "", "",
                    "3"},
        ComposeCase{"row2_scrolling", false, 12, false, 0, 1, 0, 0, "A", "scorre piano", "", "1"},
        ComposeCase{"big_fixed_cut", false, 18, true, 0, 0, 0, 0, "", "", "GRANDISSIMO", "7"},
        ComposeCase{"big_scrolling", true, 24, true, 1, 0, 0, 0, "", "", "big y", "20"},
        ComposeCase{"info_in_row2_new", false, 18, false, 0, 0, 0, 1, "Meteo", kInfo, "", "4"},
        ComposeCase{"info_in_row2_stored_narrow", true, 12, false, 0, 0, 0, 1, "Meteo", kInfo, "",
                    "4"},
        ComposeCase{"info_in_row1_stored", true, 24, false, 0, 0, 0, 2, kInfo, "Sotto", "", "2"},
        ComposeCase{"row1_scrolling", false, 9, false, 1, 0, 0, 0, "scorre", "fisso", "", "3"},
        ComposeCase{"big_inverse", false, 9, true, 0, 0, 1, 0, "", "", "NO", "3"},
        ComposeCase{"nothing_matches_keeps_the_slot", true, 18, false, 1, 1, 0, 0, "x", "y", "",
                    "3"},
        ComposeCase{"pause_refused", true, 18, false, 0, 0, 0, 0, "A", "B", "", "tre"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace velora
