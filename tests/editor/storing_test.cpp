#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

const std::string kSample = "05/12 09:01 +20\xB0";  // the fake clock stands at 5 December, 09:01

std::string padded(const std::string& text, std::size_t width) {
    std::string result = text;
    result.resize(width, ' ');
    return result;
}

class StoringTest : public EditorFixture {
protected:
    // Composes a page in the fields; the mode and checks are set as the user clicks them.
    void compose(bool bigRow, int scor1, int scor2, int inverse, const std::string& t1,
                 const std::string& t2, const std::string& t3) {
        (bigRow ? editor.Option2 : editor.Option1).setSelected(true);
        editor.Scor1.setValue(scor1);
        editor.Scor2.setValue(scor2);
        editor.Gra_Inv.setValue(inverse);
        editor.Text1.setText(t1);
        editor.Text2.setText(t2);
        editor.Text3.setText(t3);
    }
};

struct StoreCase {
    const char* name;
    int rowChars;
    bool bigRow;
    int scor1, scor2, inverse, infoRow;
    std::string text1, text2, text3;
    int kind;
    std::string row1, row2;
};

void PrintTo(const StoreCase& c, std::ostream* out) {
    *out << c.name;
}

class StoreKindTest : public StoringTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreKindTest, NewPageIsStoredFromItsControlsCountedAndLeft) {
    const StoreCase& c = GetParam();
    state.RowChars = static_cast<std::uint8_t>(c.rowChars);
    compose(c.bigRow, c.scor1, c.scor2, c.inverse, c.text1, c.text2, c.text3);
    state.InfoRowState = static_cast<std::uint8_t>(c.infoRow);
    editor.cmdinserisci.click();

    EXPECT_EQ(state.PageKind[1], c.kind);
    EXPECT_EQ(state.PageText[1][1], c.row1);
    EXPECT_EQ(state.PageText[1][2], c.row2);
    EXPECT_EQ(state.PagePause[1], 3);
    EXPECT_EQ(state.PageCount, 1);
    EXPECT_EQ(editor.txtmax.caption(), "1");
    EXPECT_EQ(editor.VScroll1.value(), 2);
    EXPECT_EQ(editor.NumQua.caption(), "2");
    EXPECT_EQ(state.InfoRowState, 0);
    EXPECT_EQ(state.GapOpened, 0);
    EXPECT_TRUE(editor.InfoR1.enabled());
    EXPECT_EQ(reportedErrors(), 0);
    // The next page starts from empty fields.
    EXPECT_EQ(editor.Text1.text(), "");
    EXPECT_EQ(editor.Text3.text(), "");
}

const std::string k25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";

INSTANTIATE_TEST_SUITE_P(
    Kinds, StoreKindTest,
    ::testing::Values(
        StoreCase{"TwoFixed18", 18, false, 0, 0, 0, 0, "CIAO", "", "", 1, padded("CIAO", 18),
                  std::string(18, ' ')},
        StoreCase{"TwoFixedCut18", 18, false, 0, 0, 0, 0, k25, "xy", "", 1, k25.substr(0, 18),
                  padded("xy", 18)},
        StoreCase{"TwoFixed9", 9, false, 0, 0, 0, 0, k25, " a ", "", 1, k25.substr(0, 9),
                  padded(" a ", 9)},
        StoreCase{"TwoFixed24", 24, false, 0, 0, 0, 0, "A", "B", "", 1, padded("A", 24),
                  padded("B", 24)},
        StoreCase{"Row2Scrolling15", 15, false, 0, 1, 0, 0, "AB", "short", "", 2, padded("AB", 15),
                  "short"},
        StoreCase{"BigFixed18", 18, true, 0, 0, 0, 0, "", "", "HI", 3, padded("HI", 9),
                  padded("HI", 9)},
        StoreCase{"BigFixed9", 9, true, 0, 0, 0, 0, "", "", "HELLO", 3, "HELL", "HELL"},
        StoreCase{"BigScrollingByScor1", 18, true, 1, 0, 0, 0, "", "", "a long big row", 4,
                  "a long big row", "a long big row"},
        StoreCase{"BigScrollingByScor2", 24, true, 0, 1, 0, 0, "", "", "x", 4, "x", "x"},
        StoreCase{"InfoInRow2", 24, false, 0, 0, 0, 1, "R1", "", "", 5, padded("R1", 24), kSample},
        StoreCase{"InfoInRow1", 15, false, 0, 0, 0, 2, "", "R2", "", 6, kSample, padded("R2", 15)},
        StoreCase{"Row1Scrolling18", 18, false, 1, 0, 0, 0, "scrolling", "B", "", 7, "scrolling",
                  padded("B", 18)},
        StoreCase{"BigFixedInverse24", 24, true, 0, 0, 1, 0, "", "", "INV", 8, padded("INV", 12),
                  padded("INV", 12)}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(StoringTest, RowOneOfPirlaIsAnsweredOnlyOnANewPageOfEighteen) {
    struct Case {
        int rowChars, infoRow;
        bool restore;
        std::string stored;
    };
    const Case cases[] = {
        {18, 0, false, "pirla  sarai TU!!!"},
        {15, 0, false, padded("pirla", 15)},
        {18, 0, true, padded("pirla", 18)},
        {18, 2, false, kSample},  // the info row overwrites row 1 after the answer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.rowChars << " info " << c.infoRow << " restore " << c.restore);
        editor.mnunextNuovo_Click();
        state.RowChars = static_cast<std::uint8_t>(c.rowChars);
        if (c.restore) {
            putSequence(2);
            editor.VScroll1.setValue(2);
            editor.VScroll1.setValue(1);
        }
        compose(false, 0, 0, 0, "pirla", "", "");
        state.InfoRowState = static_cast<std::uint8_t>(c.infoRow);
        editor.cmdinserisci.click();
        EXPECT_EQ(state.PageText[1][1], c.stored);
        if (!c.restore && c.infoRow == 0) {
            EXPECT_EQ(editor.VScroll1.value(), 2);  // the field itself showed "pirla" and blanks
        }
    }
}

TEST_F(StoringTest, FieldIsPaddedOneRewriteAtATimeSoItsChangeRuleMovesTheFocus) {
    putSequence(2);
    editor.VScroll1.setValue(2);
    editor.VScroll1.setValue(1);  // re-storing keeps the page in the fields
    compose(false, 0, 0, 0, "AB", "CD", "");
    editor.window.setFocus(editor.Text1);
    editor.inserisci();
    EXPECT_EQ(editor.Text1.text(), padded("AB", 18));
    EXPECT_EQ(editor.Text2.text(), padded("CD", 18));
    EXPECT_EQ(editor.LenRiga1.caption(), "18");
    EXPECT_EQ(editor.window.focus(), &editor.Text2);
}

TEST_F(StoringTest, ReStoringAPageKeepsCountAndPosition) {
    putSequence(5);
    editor.VScroll1.setValue(2);
    editor.Text1.setText("CHANGED");
    editor.Combo1.setText("9");
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageCount, 5);
    EXPECT_EQ(editor.VScroll1.value(), 2);
    EXPECT_EQ(editor.txtmax.caption(), "0");  // untouched by re-storing
    EXPECT_EQ(state.PageText[2][1], padded("CHANGED", 18));
    EXPECT_EQ(state.PagePause[2], 9);
    EXPECT_EQ(state.PageText[3][1], "P3");
    EXPECT_EQ(editor.Text1.text(), padded("CHANGED", 18));
}

TEST_F(StoringTest, ReStoringAnInfoPageKeepsItsInfoRow) {
    const std::string stored = "00/00 00:00 +20\xB0";
    struct Case {
        int rowChars;
        bool pressInfoR2;
        std::string row2;
    };
    const Case cases[] = {
        {18, false, stored},  // untouched: the stored text stays
        {18, true, padded(kSample, 18)},
        {12, true, kSample.substr(0, 12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rowChars << " InfoR2 " << c.pressInfoR2);
        editor.mnunextNuovo_Click();
        state.RowChars = static_cast<std::uint8_t>(c.rowChars);
        putSequence(3);
        putPage(2, 5, padded("R1", c.rowChars), stored);
        editor.VScroll1.setValue(2);
        if (c.pressInfoR2) editor.InfoR2.click();
        // Stored twice: the page stays on screen with its info row.
        for (int press = 0; press < 2; ++press) {
            editor.cmdinserisci.click();
            editor.Timer1_Timer();
            EXPECT_EQ(state.PageKind[2], kInfoInRow2);
            EXPECT_EQ(state.PageText[2][2], c.row2);
        }
        EXPECT_EQ(state.PageCount, 3);
    }
}

// Visiting a page and storing it again without an edit leaves it as it was, whatever page was
// shown before it: an inverse big page leaves neither its check nor its one-second pause behind,
// and an info row stays an info row.
TEST_F(StoringTest, LoadingThenStoringWithoutAnEditKeepsThePage) {
    struct Case {
        int kind;
        std::string row1;
        std::string row2;
    };
    const std::string fixed = padded("FISSA", 18);
    const std::string big = padded("GRANDE", 9);
    const Case cases[] = {
        {kTwoFixedRows, fixed, padded("DUE", 18)},
        {kRow2Scrolling, fixed, "scorre in riga due"},
        {kBigFixed, big, big},
        {kBigScrolling, "scorre grande", "scorre grande"},
        {kInfoInRow2, fixed, "01/01 08:00 +20\xB0"},
        {kInfoInRow1, "01/01 08:00 +20\xB0", fixed},
        {kRow1Scrolling, "scorre in riga uno", fixed},
        {kBigFixedInverse, big, big},
    };
    for (const Case& c : cases) {
        for (const int slot : {2, 3}) {  // a page in the middle and the last page
            SCOPED_TRACE(::testing::Message() << "kind " << c.kind << " at " << slot);
            editor.mnunextNuovo_Click();
            putPage(1, kBigFixedInverse, big, big, 1);
            putPage(2, kInfoInRow2, fixed, "01/01 08:00 +20\xB0", 4);
            putPage(3, kTwoFixedRows, fixed, fixed, 6);
            const int pause = c.kind == kBigFixedInverse ? 1 : 7;
            putPage(slot, c.kind, c.row1, c.row2, pause);
            state.PageCount = 3;
            // The page shown before: the inverse page, or the info page for the page after it.
            showPage(slot - 1);
            editor.Timer1_Timer();
            editor.VScroll1.setValue(slot);
            editor.Timer1_Timer();
            editor.cmdinserisci.click();
            editor.Timer1_Timer();

            EXPECT_EQ(state.PageKind[slot], c.kind);
            EXPECT_EQ(state.PageText[slot][1], c.row1);
            EXPECT_EQ(state.PageText[slot][2], c.row2);
            EXPECT_EQ(state.PagePause[slot], pause);
            EXPECT_EQ(editor.Gra_Inv.value(), c.kind == kBigFixedInverse ? 1 : 0);
            EXPECT_EQ(state.PageCount, 3);
        }
    }
}

TEST_F(StoringTest, TypingIntoTheInfoRowMakesItARowOfText) {
    putSequence(3);
    putPage(2, kInfoInRow2, padded("R1", 18), "01/01 08:00 +20\xB0");
    editor.VScroll1.setValue(2);
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.Scor2.enabled());
    // The user's edit, not the program's rewrites, ends the info row.
    editor.Text2.edit("SALDI");
    editor.Timer1_Timer();
    EXPECT_TRUE(editor.Scor2.enabled());
    EXPECT_TRUE(editor.InfoR1.enabled());
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageKind[2], kTwoFixedRows);
    EXPECT_EQ(state.PageText[2][2], padded("SALDI", 18));

    // Typing into the other row leaves the info row alone.
    putPage(3, kInfoInRow1, "01/01 08:00 +20\xB0", padded("R2", 18));
    editor.VScroll1.setValue(3);
    editor.Text2.edit("ALTRO");
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageKind[3], kInfoInRow1);
    EXPECT_EQ(state.PageText[3][1], "01/01 08:00 +20\xB0");
    EXPECT_EQ(state.PageText[3][2], padded("ALTRO", 18));
}

TEST_F(StoringTest, BadPauseIsReportedAfterThePageIsStoredAndCounted) {
    struct Case {
        const char* pause;
        const char* error;
        int stored;
    };
    for (const Case c : {Case{"abc", "(13).", 4}, Case{"300", "(6).", 4}, Case{"2.5", nullptr, 2},
                         Case{" 7 ", nullptr, 7}}) {
        SCOPED_TRACE(c.pause);
        editor.mnunextNuovo_Click();
        fake.dialogs.shown.clear();
        state.PagePause[1] = 4;
        editor.Text1.setText("A");
        editor.Combo1.setText(c.pause);
        editor.cmdinserisci.click();
        EXPECT_EQ(state.PageText[1][1], padded("A", 18));
        EXPECT_EQ(state.PageCount, 1);
        EXPECT_EQ(state.PagePause[1], c.stored);
        if (c.error) {
            ASSERT_EQ(reportedErrors(), 1);
            EXPECT_NE(fake.dialogs.messages()[0].find(c.error), std::string::npos);
            EXPECT_EQ(editor.VScroll1.value(), 1);  // the editor stays on the page
        } else {
            EXPECT_EQ(reportedErrors(), 0);
            EXPECT_EQ(editor.VScroll1.value(), 2);
        }
    }
}

TEST_F(StoringTest, BadPauseOnReStoringKeepsThePreviousPause) {
    putSequence(3);
    editor.VScroll1.setValue(2);
    editor.Text1.setText("NEW");
    editor.Combo1.setText("x");
    editor.cmdinserisci.click();
    EXPECT_EQ(reportedErrors(), 1);
    EXPECT_EQ(state.PageText[2][1], padded("NEW", 18));
    EXPECT_EQ(state.PagePause[2], 2);
}

TEST_F(StoringTest, StoringAtTheSelectorsEndReportsAndKeepsThePage) {
    putSequence(199);
    editor.VScroll1.setValue(200);
    editor.Text1.setText("LAST");
    editor.cmdinserisci.click();
    ASSERT_EQ(reportedErrors(), 1);
    EXPECT_NE(fake.dialogs.messages()[0].find("(380)."), std::string::npos);
    EXPECT_EQ(state.PageCount, 200);
    EXPECT_EQ(state.PageText[200][1], padded("LAST", 18));
    EXPECT_EQ(state.PagePause[200], 3);
    EXPECT_EQ(editor.VScroll1.value(), 200);
}

TEST_F(StoringTest, ReStoringTheLastPageKeepsItInPlace) {
    putSequence(3);
    putPage(4, 2, "stale", "stale", 5);  // whatever the slot after the last page held
    editor.VScroll1.setValue(3);
    editor.Text1.setText("THIRD");
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageCount, 3);
    EXPECT_EQ(state.PageText[3][1], padded("THIRD", 18));
    EXPECT_EQ(editor.VScroll1.value(), 3);
    EXPECT_EQ(state.PageKind[4], 2);
}

TEST_F(StoringTest, BlankPageOpenedOnTheNewPageSlotIsCountedOnce) {
    putSequence(2);
    editor.VScroll1.setValue(3);
    editor.Picture2.click();
    ASSERT_EQ(state.PageCount, 3);
    editor.Text1.setText("NEW");
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageCount, 3);
    EXPECT_EQ(state.GapOpened, 0);
    EXPECT_EQ(state.PageText[3][1], padded("NEW", 18));
    EXPECT_EQ(editor.VScroll1.value(), 4);
}

TEST_F(StoringTest, PageAfterAFilledGapInTheMiddleIsCounted) {
    putSequence(3);
    editor.VScroll1.setValue(2);
    editor.Picture2.click();
    editor.Text1.setText("INSERTED");
    editor.cmdinserisci.click();
    ASSERT_EQ(state.PageCount, 4);
    EXPECT_EQ(state.PageText[2][1], padded("INSERTED", 18));
    EXPECT_EQ(state.PageText[3][1], "P2");

    editor.VScroll1.setValue(5);
    editor.Text1.setText("FIFTH");
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageCount, 5);
    EXPECT_EQ(state.PageText[5][1], padded("FIFTH", 18));
    editor.VScroll1.setValue(5);
    EXPECT_EQ(editor.Text1.text(), "FIFTH");
}

TEST_F(StoringTest, NoMatchingTestLeavesTheSlotButStillCountsAndMoves) {
    putPage(1, 6, "old1", "old2", 8);
    compose(false, 1, 1, 0, "a", "b", "");  // both rows scrolling matches no kind
    editor.cmdinserisci.click();
    EXPECT_EQ(state.PageKind[1], 6);
    EXPECT_EQ(state.PageText[1][1], "old1");
    EXPECT_EQ(state.PageCount, 1);
    EXPECT_EQ(state.PagePause[1], 3);
    EXPECT_EQ(editor.VScroll1.value(), 2);
}

}  // namespace
}  // namespace velora
