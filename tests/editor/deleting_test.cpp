#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

class DeletingTest : public EditorFixture {};

TEST_F(DeletingTest, DeletingInTheMiddleMovesTheLaterPagesDown) {
    putSequence(5);
    showPage(2);
    editor.Picture1.click();
    EXPECT_EQ(state.PageCount, 4);
    EXPECT_EQ(editor.txtmax.caption(), "4");
    for (int slot = 2; slot <= 4; ++slot) {
        EXPECT_EQ(state.PageText[slot][1], testing::sequenceRow1(slot + 1));
        EXPECT_EQ(state.PagePause[slot], slot + 1);  // every page keeps its own pause
    }
    EXPECT_EQ(editor.VScroll1.value(), 2);
    EXPECT_EQ(editor.Text1.text(), "P3");
    EXPECT_EQ(editor.Combo1.text(), "3");
}

TEST_F(DeletingTest, DeletingTheLastPageShowsTheNewPageSlot) {
    putSequence(5);
    showPage(5);
    editor.Picture1.click();
    EXPECT_EQ(state.PageCount, 4);
    EXPECT_EQ(state.PageText[4][1], "P4");
    EXPECT_EQ(state.PagePause[4], 4);
    EXPECT_EQ(state.PageKind[5], 0);  // slot 5 took the new-page slot's contents
    EXPECT_EQ(editor.VScroll1.value(), 5);
    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_TRUE(fake.dialogs.messages().empty());
}

TEST_F(DeletingTest, DeletingOnTheNewPageSlotKeepsTheSequence) {
    putSequence(3);
    showPage(4);
    editor.Text1.setText("being composed");
    editor.Picture1.click();
    EXPECT_EQ(state.PageCount, 3);
    EXPECT_EQ(state.PageText[3][1], "P3");
    EXPECT_EQ(editor.Text1.text(), "being composed");
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(DeletingTest, DeletingOneOfTwoPagesKeepsTheOther) {
    for (int position : {1, 2}) {
        SCOPED_TRACE(position);
        editor.mnunextNuovo_Click();
        putSequence(2);
        state.CurrentFilePath = "/home/anna/due.inf";
        showPage(position);
        editor.Picture1.click();
        const std::string kept = position == 1 ? "P2" : "P1";
        EXPECT_EQ(state.PageCount, 1);
        EXPECT_EQ(state.PageText[1][1], kept);
        EXPECT_EQ(state.PagePause[1], position == 1 ? 2 : 1);
        EXPECT_EQ(state.CurrentFilePath, "/home/anna/due.inf");
    }
}

TEST_F(DeletingTest, TheOnlyPageCanBeDeleted) {
    putSequence(1);
    showPage(1);
    editor.Picture1.click();
    EXPECT_EQ(state.PageCount, 0);
    EXPECT_EQ(editor.txtmax.caption(), "0");
    EXPECT_EQ(editor.VScroll1.value(), 1);
    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_TRUE(fake.dialogs.messages().empty());
    editor.Picture1.click();  // nothing left to delete
    EXPECT_EQ(state.PageCount, 0);
}

TEST_F(DeletingTest, NewEmptiesTheSequenceWithoutAsking) {
    putSequence(10);
    showPage(4);
    editor.Scor2.setValue(1);
    editor.Gra_Inv.setValue(1);
    state.CurrentFilePath = "C:\\Sequenze\\negozio.inf";
    putPage(11, 3, "new-page slot", "new-page slot", 6);
    putPage(12, 3, "beyond", "beyond", 6);
    editor.mnunextNuovo.click();

    for (int slot = 1; slot <= 11; ++slot) {
        EXPECT_EQ(state.PageText[slot][1], "");
        EXPECT_EQ(state.PageKind[slot], 0);
        EXPECT_EQ(state.PagePause[slot], 0);
    }
    EXPECT_EQ(state.PageText[12][1], "beyond");
    EXPECT_EQ(state.PageCount, 0);
    EXPECT_EQ(editor.txtmax.caption(), "0");
    EXPECT_EQ(editor.VScroll1.value(), 1);
    EXPECT_EQ(editor.NumQua.caption(), "1");
    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_EQ(editor.Scor2.value(), 0);
    EXPECT_EQ(editor.Gra_Inv.value(), 0);
    EXPECT_EQ(editor.Text3.backColor(), kBlack);
    EXPECT_TRUE(state.CurrentFilePath.empty());
    EXPECT_TRUE(fake.dialogs.shown.empty());
    editor.Timer1_Timer();
    EXPECT_EQ(editor.Label7.caption(), "Senza Nome");
}

TEST_F(DeletingTest, NewStartsWithTheControlsOfAFreshStart) {
    for (const bool infoInRow1 : {false, true}) {
        SCOPED_TRACE(infoInRow1 ? "Info R1" : "Info R2");
        putSequence(2);
        showPage(3);
        (infoInRow1 ? editor.InfoR1 : editor.InfoR2).click();
        editor.Timer1_Timer();
        editor.mnunextNuovo.click();
        editor.Timer1_Timer();
        for (const Control* c : std::initializer_list<const Control*>{
                 &editor.Scor1, &editor.Scor2, &editor.InfoR1, &editor.InfoR2}) {
            EXPECT_TRUE(c->enabled()) << c->name();
        }
        // The first page of the new sequence is an ordinary two-row page.
        editor.Text1.edit("UNO");
        editor.Text2.edit("DUE");
        editor.cmdinserisci.click();
        EXPECT_EQ(state.PageKind[1], kTwoFixedRows);
        EXPECT_EQ(state.PageCount, 1);
    }
}

TEST_F(DeletingTest, NewOnPositionOneEmptiesTheFieldsAllTheSame) {
    putSequence(2);
    showPage(1);
    editor.Text1.setText("typed");
    editor.mnunextNuovo.click();
    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_EQ(state.PageCount, 0);
}

}  // namespace
}  // namespace velora
