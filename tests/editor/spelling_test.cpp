#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "files/sequence_file.h"

namespace velora {
namespace {

using testing::EditorFixture;

// "€" and "°" in the rows: the offer the tick makes, and the click that writes them out.
class SpellingTest : public EditorFixture {
protected:
    std::string bytes() const { return sequenceFileBytes(state); }
};

TEST_F(SpellingTest, OnAStoredPageItIsOneStepThatUndoTakesBack) {
    putSequence(3);
    putPage(2, kTwoFixedRows, "PREZZO 5\x80        ", "TENERE A 2-8\260C    ", 4);
    state.CurrentFilePath = "/seq/farmacia.inf";
    editor.markSaved();
    showPage(2);
    editor.Timer1_Timer();
    ASSERT_TRUE(editor.spellOut.visible());
    EXPECT_EQ(editor.spellOut.caption(), "Scrivi \x80 come EUR, \260C come GRADI");
    const std::string before = bytes();

    editor.spellOut.click();
    EXPECT_EQ(state.PageText[2][1], "PREZZO 5 EUR      ");
    EXPECT_EQ(state.PageText[2][2], "TENERE A 2-8 GRADI");
    EXPECT_EQ(state.PageKind[2], kTwoFixedRows);
    EXPECT_EQ(editor.Text2.text().substr(0, 18), "TENERE A 2-8 GRADI");
    EXPECT_EQ(editor.mnuAnnulla.caption(), "&Annulla Scrivi in lettere pagina 2");
    EXPECT_EQ(editor.saveNotice.caption(),
              "Scritto \x80 come EUR, \260C come GRADI: Ctrl+Z per annullare");
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.spellOut.visible());

    editor.mnuAnnulla.click();
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(editor.Text1.text().substr(0, 9), "PREZZO 5\x80");
    EXPECT_FALSE(editor.mnuAnnulla.enabled());
}

// On the page being composed only the fields change: the sequence has no step to keep. The info
// row is the sign's own clock and keeps its degree sign; a big row is written for the big font,
// within the big row's typing limit.
TEST_F(SpellingTest, OnTheNewPageOnlyTheSentRowsChange) {
    putSequence(1);
    showPage(2);
    editor.Text1.edit("SCONTO 3\x80");
    editor.InfoR2.click();
    const std::string info = editor.Text2.text();
    editor.Timer1_Timer();
    EXPECT_EQ(editor.spellOut.caption(), "Scrivi \x80 come EUR");
    editor.spellOut.click();
    EXPECT_EQ(editor.Text1.text(), "SCONTO 3 EUR");
    EXPECT_EQ(editor.Text2.text(), info);
    EXPECT_FALSE(editor.mnuAnnulla.enabled());
    EXPECT_EQ(editor.saveNotice.caption(), "Scritto \x80 come EUR");
    EXPECT_EQ(state.PageCount, 1);

    editor.Option2.setSelected(true);
    editor.Timer1_Timer();
    editor.Text3.edit("12345678\260C");
    editor.Timer1_Timer();
    EXPECT_EQ(editor.spellOut.caption(), "Scrivi \260C come C");
    editor.spellOut.click();
    EXPECT_EQ(editor.Text3.text(), "12345678 C");
}

// The preview leaves a scrolling row's typing limit at its text's length; the room to write out
// is the scrolling row's all the same.
TEST_F(SpellingTest, AScrollingRowAfterThePreviewKeepsItsRoom) {
    putPage(1, kRow2Scrolling, "OFFERTE           ", "CREMA SOLARE 12\x80, VITAMINE 9\x80", 5);
    state.PageCount = 1;
    fake.clock.autoAdvance = 0;
    windows.preview.Anteprima_Click();
    editor.Timer1_Timer();
    EXPECT_EQ(editor.spellOut.caption(), "Scrivi \x80 come EUR");
    editor.spellOut.click();
    EXPECT_EQ(state.PageText[1][2], "CREMA SOLARE 12 EUR, VITAMINE 9 EUR");
    EXPECT_EQ(state.PageText[1][1], "OFFERTE           ");
}

}  // namespace
}  // namespace velora
