#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

class CentringTest : public EditorFixture {};

struct CentreCase {
    const char* name;
    int rowChars;
    bool bigRow;
    int scor1, scor2;
    std::string text1, text2, text3;
    std::string row1, row2;  // the slot afterwards
    const char* mirrored;    // the fields set to the slot's rows: "1", "2" for rows, "3" for big
};

void PrintTo(const CentreCase& c, std::ostream* out) {
    *out << c.name;
}

class CentreCaseTest : public CentringTest, public ::testing::WithParamInterface<CentreCase> {};

std::string sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

TEST_P(CentreCaseTest, CentresIntoTheSlotAndTheFieldsAndIsIdempotent) {
    const CentreCase& c = GetParam();
    state.RowChars = static_cast<std::uint8_t>(c.rowChars);
    putSequence(2);
    editor.VScroll1.setValue(2);
    (c.bigRow ? editor.Option2 : editor.Option1).setSelected(true);
    editor.Scor1.setValue(c.scor1);
    editor.Scor2.setValue(c.scor2);
    editor.Text1.setText(c.text1);
    editor.Text2.setText(c.text2);
    editor.Text3.setText(c.text3);
    for (int press = 1; press <= 2; ++press) {
        SCOPED_TRACE(press);
        editor.Command2.click();
        EXPECT_EQ(state.PageText[2][1], c.row1);
        EXPECT_EQ(state.PageText[2][2], c.row2);
        const std::string mirrored = c.mirrored;
        const bool one = mirrored.find('1') != std::string::npos;
        const bool two = mirrored.find('2') != std::string::npos;
        const bool big = mirrored.find('3') != std::string::npos;
        EXPECT_EQ(editor.Text1.text(), one ? c.row1 : c.text1);
        EXPECT_EQ(editor.Text2.text(), two ? c.row2 : c.text2);
        EXPECT_EQ(editor.Text3.text(), big ? c.row1 : c.text3);
    }
    EXPECT_EQ(state.PageKind[2], 1);  // kind and pause are left alone
    EXPECT_EQ(state.PagePause[2], 2);
    EXPECT_EQ(state.PageText[1][1], "P1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CentreCaseTest,
    ::testing::Values(
        CentreCase{"TwoFixedRows", 18, false, 0, 0, "CIAO", "", "", sp(7) + "CIAO" + sp(7), "",
                   "12"},
        CentreCase{"OddSpaceOnTheRight", 18, false, 0, 0, "abc", "de", "", sp(7) + "abc" + sp(8),
                   sp(8) + "de" + sp(8), "12"},
        CentreCase{"SpacesCount", 9, false, 0, 0, " a ", "", "", sp(3) + " a " + sp(3), "", "12"},
        CentreCase{"LongerFixedRowUnchanged", 9, false, 0, 0, "ABCDEFGHIJKL", "", "",
                   "ABCDEFGHIJKL", "", "12"},
        CentreCase{"Row1ScrollsEmptyRow2", 18, false, 1, 0, "scrolling", "", "", "P2", sp(18), "2"},
        CentreCase{"Row2Scrolls", 15, false, 0, 1, "AB", "scrolling", "", sp(6) + "AB" + sp(7), "",
                   "1"},
        CentreCase{"Big18", 18, true, 0, 0, "", "", "AB", sp(3) + "AB" + sp(4), "", "3"},
        CentreCase{"Big15", 15, true, 0, 0, "", "", "AB", sp(2) + "AB" + sp(3), "", "3"},
        CentreCase{"BigCut", 18, true, 0, 0, "", "", "ABCDEFGHIJKL", "ABCDEFGHI", "", "3"},
        CentreCase{"BigEmpty", 18, true, 0, 0, "", "", "", sp(9), "", "3"},
        CentreCase{"BigScrollingUntouched", 18, true, 1, 1, "", "", "AB", "P2", "", ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CentringTest, FieldsShowTheCentredRowsAndAFullRow1MovesTheFocus) {
    editor.window.setFocus(editor.Text1);
    editor.Text1.setText("CIAO");
    editor.Text2.setText("");
    editor.Command2.click();
    EXPECT_EQ(editor.Text1.text(), sp(7) + "CIAO" + sp(7));
    EXPECT_EQ(editor.Text2.text(), "");
    EXPECT_EQ(editor.window.focus(), &editor.Text2);
    EXPECT_EQ(state.PageText[1][1], sp(7) + "CIAO" + sp(7));  // the new-page slot holds it
}

}  // namespace
}  // namespace velora
