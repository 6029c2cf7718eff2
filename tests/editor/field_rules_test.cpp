#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

class FieldRulesTest : public EditorFixture {};

struct LimitCase {
    bool bigRow;
    int scor1, scor2;
    int limit1, limit2, limit3;  // -1: unchanged
};

class TypingLimitTest : public FieldRulesTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(TypingLimitTest, EachBoxTakesItsLimitAtItsNextChange) {
    const LimitCase& c = GetParam();
    state.RowChars = 15;
    editor.Text1.setMaxLength(-1);
    editor.Text2.setMaxLength(-1);
    editor.Text3.setMaxLength(-1);
    if (c.bigRow) editor.Option2.setSelected(true);
    editor.Scor1.setValue(c.scor1);
    editor.Scor2.setValue(c.scor2);
    editor.Text1.setText("a");
    editor.Text2.setText("b");
    editor.Text3.setText("c");
    EXPECT_EQ(editor.Text1.maxLength(), c.limit1);
    EXPECT_EQ(editor.Text2.maxLength(), c.limit2);
    EXPECT_EQ(editor.Text3.maxLength(), c.limit3);
    if (c.bigRow) {
        EXPECT_EQ(editor.LenRiga1.caption(), "0");  // the row counters keep their values
    } else {
        EXPECT_EQ(editor.LenRiga1.caption(), "1");
        EXPECT_EQ(editor.LenRiga2.caption(), "1");
    }
    EXPECT_EQ(editor.LenRigaUn.caption(), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TypingLimitTest,
    ::testing::Values(LimitCase{false, 0, 0, 15, 15, 7}, LimitCase{false, 1, 0, 114, 15, 114},
                      LimitCase{false, 0, 1, 15, 114, 114}, LimitCase{true, 0, 0, -1, -1, 7},
                      LimitCase{true, 1, 0, -1, -1, 114}, LimitCase{true, 0, 1, -1, -1, 114}));

TEST_F(FieldRulesTest, FullFixedRow1MovesTheFocusToRow2) {
    editor.window.setFocus(editor.Text1);
    editor.Text1.setText(std::string(17, 'x'));
    EXPECT_EQ(editor.window.focus(), &editor.Text1);
    editor.Text1.setText(std::string(18, 'x'));
    EXPECT_EQ(editor.window.focus(), &editor.Text2);
    EXPECT_EQ(editor.LenRiga1.caption(), "18");

    // A full row 2 keeps the focus, and a scrolling row 1 never moves it.
    editor.window.setFocus(editor.Text2);
    editor.Text2.setText(std::string(18, 'y'));
    EXPECT_EQ(editor.window.focus(), &editor.Text2);
    editor.window.setFocus(editor.Text1);
    editor.Scor1.setValue(1);
    editor.Text1.setText(std::string(40, 'x'));
    EXPECT_EQ(editor.window.focus(), &editor.Text1);
}

TEST_F(FieldRulesTest, CheckingScor1OnAFullRowRaisesTheLimitOnlyAtTheNextChange) {
    editor.Text1.setText(std::string(18, 'x'));
    editor.Scor1.setValue(1);
    EXPECT_EQ(editor.Text1.maxLength(), 18);
    editor.Text1.setText(std::string(17, 'x'));
    EXPECT_EQ(editor.Text1.maxLength(), 114);
    // Unchecking keeps a long text whole; the limit only bounds typing from its next change.
    editor.Text1.setText(std::string(30, 'x'));
    editor.Scor1.setValue(0);
    editor.Text1.setText(std::string(29, 'x'));
    EXPECT_EQ(editor.Text1.text().size(), 29u);
    EXPECT_EQ(editor.Text1.maxLength(), 18);
}

TEST_F(FieldRulesTest, ChangeRulesRestDuringThePreview) {
    state.PreviewRunning = 1;
    editor.Text1.setMaxLength(50);
    editor.Text1.setText("abc");
    editor.Text3.setText("abc");
    EXPECT_EQ(editor.LenRiga1.caption(), "0");
    EXPECT_EQ(editor.LenRigaUn.caption(), "0");
    EXPECT_EQ(editor.Text1.maxLength(), 50);
}

TEST_F(FieldRulesTest, InverseCheckColoursTheBigRow) {
    editor.Gra_Inv.setValue(1);
    EXPECT_EQ(editor.Text3.backColor(), kYellow);
    EXPECT_EQ(editor.Text3.foreColor(), kBlack);
    editor.Gra_Inv.setValue(0);
    EXPECT_EQ(editor.Text3.backColor(), kBlack);
    EXPECT_EQ(editor.Text3.foreColor(), kYellow);
}

}  // namespace
}  // namespace velora
