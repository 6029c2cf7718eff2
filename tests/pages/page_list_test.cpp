#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "files/sequence_file.h"

namespace velora {
namespace {

using testing::EditorFixture;

class PageListTest : public EditorFixture {
protected:
    PageList& pages = windows.pages;

    // Row 1 of every page: the order of the sequence at a glance ("P3" is the page put third).
    std::vector<std::string> order() const {
        std::vector<std::string> rows;
        for (int slot = 1; slot <= state.PageCount; ++slot) rows.push_back(state.PageText[slot][1]);
        return rows;
    }

    static std::vector<std::string> rows(std::initializer_list<int> numbers) {
        std::vector<std::string> out;
        for (int n : numbers) out.push_back(testing::sequenceRow1(n));
        return out;
    }

    std::string bytes() const { return sequenceFileBytes(state); }

    // The page operations, so that a table of cases names one in a word.
    enum class Op { Up, Down, MoveTo, Duplicate, Remove, PasteLines };

    // Runs `op` on `chosen`; `at` is where MoveTo puts the pages and after which PasteLines puts
    // the lines of `chosen`.
    PageList::Outcome run(Op op, const std::vector<int>& chosen, int at = 0) {
        switch (op) {
            case Op::Up:
                return pages.moveUp(chosen);
            case Op::Down:
                return pages.moveDown(chosen);
            case Op::MoveTo:
                return pages.moveTo(chosen, at);
            case Op::Duplicate:
                return pages.duplicate(chosen);
            case Op::Remove:
                return pages.remove(chosen);
            case Op::PasteLines:
                return pages.paste("", pages.pageLines(chosen), at);
        }
        return {};
    }
};

// Each operation at the edges: the order it leaves, the rows selected, the page shown, and one
// undo back to the bytes before it.
TEST_F(PageListTest, OperationsAtTheEdges) {
    std::vector<std::string> fifteenFirst = rows({15});
    for (int n = 1; n <= 20; ++n)
        if (n != 15) fifteenFirst.push_back(testing::sequenceRow1(n));
    const struct {
        const char* name;
        int count;
        int shown;
        Op op;
        std::vector<int> pages;
        int at;  // MoveTo only
        std::vector<std::string> order;
        std::vector<int> selection;
        int shownAfter;
    } cases[] = {
        {"up, second page", 4, 2, Op::Up, {2}, 0, rows({2, 1, 3, 4}), {1}, 1},
        {"up, two apart", 5, 3, Op::Up, {3, 5}, 0, rows({1, 3, 2, 5, 4}), {2, 4}, 2},
        {"up, first page stays", 3, 1, Op::Up, {1, 3}, 0, rows({1, 2, 3}), {}, 0},
        {"down, last page stays", 3, 3, Op::Down, {3}, 0, rows({1, 2, 3}), {}, 0},
        {"down, a run of two", 4, 1, Op::Down, {1, 2}, 0, rows({3, 1, 2, 4}), {2, 3}, 2},
        {"drag to the front", 20, 15, Op::MoveTo, {15}, 1, fifteenFirst, {1}, 1},
        {"drag two apart to the end", 4, 1, Op::MoveTo, {1, 3}, 5, rows({2, 4, 1, 3}), {3, 4}, 3},
        {"drag onto itself", 3, 2, Op::MoveTo, {2}, 3, rows({1, 2, 3}), {2}, 2},
        {"duplicate the last page", 3, 3, Op::Duplicate, {3}, 0, rows({1, 2, 3, 3}), {4}, 4},
        {"duplicate 1 and 3", 4, 1, Op::Duplicate, {1, 3}, 0, rows({1, 2, 3, 1, 3, 4}), {4, 5}, 4},
        {"delete the first page", 3, 1, Op::Remove, {1}, 0, rows({2, 3}), {1}, 1},
        {"delete the last two", 4, 4, Op::Remove, {3, 4}, 0, rows({1, 2}), {2}, 2},
        {"delete every page", 2, 1, Op::Remove, {1, 2}, 0, {}, {}, 1},
        {"repeats and strays left out", 3, 2, Op::Remove, {2, 2, 0, 9}, 0, rows({1, 3}), {2}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        editor.history().clear();
        putSequence(c.count);
        showPage(c.shown);
        const std::string before = bytes();
        const PageList::Outcome outcome = run(c.op, c.pages, c.at);
        EXPECT_EQ(order(), c.order);
        EXPECT_EQ(outcome.selection, c.selection);
        if (outcome.changed) {
            EXPECT_EQ(outcome.shown, c.shownAfter);
            EXPECT_EQ(editor.VScroll1.value(), c.shownAfter);
            EXPECT_EQ(editor.txtmax.caption(), std::to_string(c.order.size()));
            EXPECT_EQ(editor.NumQua.caption(), std::to_string(c.shownAfter));
            const std::string after = bytes();
            editor.mnuAnnulla_Click();
            EXPECT_EQ(bytes(), before);
            EXPECT_EQ(editor.VScroll1.value(), c.shown);
            editor.mnuRipeti_Click();
            EXPECT_EQ(bytes(), after);
        } else {
            EXPECT_EQ(bytes(), before);
            EXPECT_FALSE(editor.history().canUndo());
        }
    }
}

// The store holds 200 pages: what would pass them is refused whole, saying how many still fit.
TEST_F(PageListTest, TheTwoHundredPageLimit) {
    const std::string atMost = "La sequenza pu\xF2 avere al massimo 200 pagine: ne ";
    const struct {
        int count;
        Op op;
        std::vector<int> pages;
        int at;
        std::string message;  // empty: done
    } cases[] = {
        {198, Op::Duplicate, {1, 2}, 0, ""},
        {198, Op::Duplicate, {1, 2, 3}, 0, atMost + "entrano ancora 2."},
        {199, Op::PasteLines, {1, 2}, 199, atMost + "entra ancora 1."},
        {200, Op::Duplicate, {200}, 0, "La sequenza \xE8 piena: ha gi\xE0 200 pagine, il massimo."},
        {200, Op::MoveTo, {200}, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        fake.dialogs.shown.clear();
        editor.history().clear();
        putSequence(c.count);
        showPage(c.count);
        const std::string before = bytes();
        const PageList::Outcome outcome = run(c.op, c.pages, c.at);
        if (c.message.empty()) {
            EXPECT_TRUE(outcome.changed);
            EXPECT_TRUE(fake.dialogs.messages().empty());
            EXPECT_LE(state.PageCount, kLastSlot);
        } else {
            EXPECT_FALSE(outcome.changed);
            EXPECT_EQ(fake.dialogs.messages(), std::vector<std::string>{c.message});
            EXPECT_EQ(bytes(), before);
            EXPECT_FALSE(editor.history().canUndo());
        }
    }
    // The last page of a full store is reached and shown.
    putSequence(200);
    pages.choose(200);
    EXPECT_EQ(editor.VScroll1.value(), 200);
    EXPECT_EQ(pages.shownPage(), 200);
}

TEST_F(PageListTest, CopiedLinesPasteBackAsTheSamePages) {
    putPage(1, kRow2Scrolling, "UNO               ", "scorre \"piano\"", 7);
    putPage(2, kBigFixedInverse, "SALDI    ", "SALDI    ", 1);
    putPage(3, kInfoInRow1, "05/12 09:01 +20\xB0", "ORARIO            ", 3);
    state.PageCount = 3;
    const std::string lines = pages.pageLines({1, 2, 3});
    const std::string first = "2,\"UNO               \",7\r\n2,\"scorre \"\"piano\"\"\",7\r\n";
    EXPECT_EQ(lines.substr(0, first.size()), first);
    EXPECT_EQ(pages.pageFile({2}), "1,18\r\n8,\"SALDI    \",1\r\n8,\"SALDI    \",1\r\n");
    const std::string before = bytes();
    ASSERT_TRUE(pages.paste("", lines, 3).changed);
    EXPECT_EQ(state.PageCount, 6);
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(state.PageKind[page + 3], state.PageKind[page]);
        EXPECT_EQ(state.PageText[page + 3][1], state.PageText[page][1]);
        EXPECT_EQ(state.PageText[page + 3][2], state.PageText[page][2]);
        EXPECT_EQ(state.PagePause[page + 3], state.PagePause[page]);
    }
    EXPECT_EQ(editor.history().undoName(), "Incolla 3 pagine");
    editor.mnuAnnulla_Click();
    EXPECT_EQ(bytes(), before);
}

// Pages made for another width come in at this one: fixed rows padded or cut, a big page's text
// in both columns, a scrolling text cut to what a row holds, the info row as it was.
TEST_F(PageListTest, PastedPagesTakeThisSequencesWidth) {
    const std::string wide =
        "2,24\r\n"
        "3,\"GRANDE 24   \",5\r\n3,\"GRANDE 24   \",5\r\n"
        "5,\"RIGA LARGA VENTIQUATTRO!\",4\r\n5,\"05/12 09:01 +20\xB0\",4\r\n";
    putSequence(1);
    fake.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Yes};
    ASSERT_TRUE(pages.paste(wide, "", 0).changed);
    EXPECT_EQ(state.PageText[1][1], "GRANDE 24");
    EXPECT_EQ(state.PageText[1][2], "GRANDE 24");
    EXPECT_EQ(state.PageText[2][1], "RIGA LARGA VENTIQU");
    EXPECT_EQ(state.PageText[2][2], "05/12 09:01 +20\xB0");
    EXPECT_EQ(state.PageText[3][1], "P1");
    // Plain text from a text editor: LF line ends, a short fixed row, a long scrolling one.
    const std::string typed =
        "1,\"CIAO\",3\n1,\"\",3\n7,\"" + std::string(130, 'x') + "\",2\n7,\"FISSA\",2\n";
    ASSERT_TRUE(pages.paste("", typed, 3).changed);
    EXPECT_EQ(state.PageText[4][1], "CIAO              ");
    EXPECT_EQ(state.PageText[4][2], std::string(18, ' '));
    EXPECT_EQ(state.PageText[5][1].size(), std::size_t(kScrollingLimit));
    EXPECT_EQ(state.PageText[5][2], "FISSA             ");
    EXPECT_EQ(editor.VScroll1.value(), 4);
}

TEST_F(PageListTest, TextThatIsNotPagesChangesNothingAndSaysWhy) {
    putSequence(2);
    const std::string before = bytes();
    for (const std::string& text :
         {std::string(), std::string("Offerta del giorno"), std::string("1,\"UNO\",3\r\n"),
          std::string("9,\"NOVE\",3\r\n9,\"NOVE\",3\r\n"),
          std::string("1,\"UNO\",300\r\n1,\"UNO\",300\r\n")}) {
        SCOPED_TRACE(text);
        fake.dialogs.shown.clear();
        EXPECT_FALSE(pages.paste("", text, 1).changed);
        ASSERT_EQ(fake.dialogs.messages().size(), 1u);
        EXPECT_EQ(fake.dialogs.messages()[0].rfind("Niente da incollare: ", 0), 0u);
        EXPECT_EQ(bytes(), before);
    }
    EXPECT_FALSE(editor.history().canUndo());
}

// Pasting says what it would cut and what it cannot take: each case pastes after page 2 of a
// two-page sequence at 18 characters, answers the question if one comes, and checks the message,
// the pages added and the first added page's two rows.
TEST_F(PageListTest, PasteSaysWhatItCutsOrRefuses) {
    const auto line = [](int kind, const std::string& text) {
        return std::to_string(kind) + ",\"" + text + "\",3\r\n";
    };
    const auto page = [&](int kind, const std::string& row1, const std::string& row2) {
        return line(kind, row1) + line(kind, row2);
    };
    std::string manyPages;
    for (int i = 0; i < 201; ++i) manyPages += page(1, "X", "Y");
    const std::string wide(25, 'W');
    const std::string big(3000, 'G');
    const std::string cutWide = wide.substr(0, 18);
    const std::string blanks(18, ' ');
    const std::string asked = " la parte in pi\xF9 verr\xE0 tagliata. Continuare?";
    const struct {
        const char* name;
        std::string file;   // our own type
        std::string lines;  // plain text
        MessageAnswer answer;
        std::string message;  // empty: nothing said
        int added;
        std::string row1;
        std::string row2;
    } cases[] = {
        {"wide row, go back", "", page(1, wide, "B"), MessageAnswer::No,
         "1 pagina ha testo oltre 18 caratteri:" + asked, 0, "", ""},
        {"wide row, go on", "", page(1, wide, "B"), MessageAnswer::Yes,
         "1 pagina ha testo oltre 18 caratteri:" + asked, 1, cutWide, "B" + std::string(17, ' ')},
        {"only blanks past the width", "", page(1, "A" + std::string(30, ' '), "B"),
         MessageAnswer::No, "", 1, "A" + std::string(17, ' '), "B" + std::string(17, ' ')},
        {"big scrolling page", "", page(4, big, big) + page(7, big, wide), MessageAnswer::Yes,
         "1 pagina ha testo oltre 18 caratteri; 2 pagine hanno testo scorrevole oltre 114 "
         "caratteri:" +
             asked,
         2, big.substr(0, 114), big.substr(0, 114)},
        {"big fixed page wider than half", "", page(3, "GRANDE CHE NON ENTRA", ""),
         MessageAnswer::Yes, "1 pagina ha testo oltre 18 caratteri:" + asked, 1, "GRANDE CH",
         "GRANDE CH"},
        {"more than 200 pages", "", manyPages, MessageAnswer::Yes,
         "La sequenza pu\xF2 avere al massimo 200 pagine: ne entrano ancora 198.", 0, "", ""},
        {"a whole file as text", "", "2,18\r\n" + page(1, "UNO", "") + page(1, "DUE", ""),
         MessageAnswer::No, "", 2, "UNO" + std::string(15, ' '), blanks},
        {"header declaring fewer", "1,18\r\n" + page(1, "UNO", "") + page(1, "DUE", ""), "",
         MessageAnswer::No, "", 2, "UNO" + std::string(15, ' '), blanks},
        // Two lines, yet one page: its first row's text holds a line break.
        {"a quoted text over two lines", "", line(1, "UNO\r\nDUE") + line(1, "B"),
         MessageAnswer::No, "", 1, "UNO\r\nDUE" + std::string(10, ' '), "B" + std::string(17, ' ')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.dialogs.shown.clear();
        fake.dialogs.messageAnswers = {c.answer};
        editor.history().clear();
        putSequence(2);
        const std::string before = bytes();
        const PageList::Outcome outcome = pages.paste(c.file, c.lines, 2);
        std::vector<std::string> said;
        for (const auto& shown : fake.dialogs.shown) said.push_back(shown.text);
        EXPECT_EQ(said, c.message.empty() ? std::vector<std::string>{}
                                          : std::vector<std::string>{c.message});
        EXPECT_EQ(state.PageCount, 2 + c.added);
        EXPECT_EQ(outcome.changed, c.added > 0);
        if (c.added == 0) {
            EXPECT_EQ(bytes(), before);
            EXPECT_FALSE(editor.history().canUndo());
            continue;
        }
        EXPECT_EQ(state.PageText[3][1], c.row1);
        EXPECT_EQ(state.PageText[3][2], c.row2);
        // What is pasted is saved and reads back as the same sequence.
        const std::optional<SequenceFile> read = parseSequenceFile(bytes());
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(pagesFound(*read), 2 + c.added);
    }
}

TEST_F(PageListTest, RowsSayKindPauseAndTexts) {
    putPage(1, kTwoFixedRows, "CIAO              ", "MONDO             ", 5);
    putPage(2, kBigScrolling, "GRANDE", "GRANDE", 1);
    putPage(3, kInfoInRow2, "ORE               ", "05/12 09:01 +20\xB0", 3);
    putPage(4, kRow2Scrolling, "", "", 3);  // a blank page opened in the sequence
    state.PageCount = 4;
    EXPECT_EQ(pages.accessibleName(1), "Pagina 1, Due righe, pausa 5 secondi: CIAO / MONDO");
    EXPECT_EQ(pages.accessibleName(2), "Pagina 2, Grande scorrevole, pausa 1 secondo: GRANDE");
    EXPECT_EQ(pages.accessibleName(3),
              "Pagina 3, Data e ora in riga 2, pausa 3 secondi: ORE / data e ora");
    EXPECT_EQ(pages.kindWords(4), "Pagina vuota");
    EXPECT_EQ(pages.accessibleName(4), "Pagina 4, Pagina vuota, pausa 3 secondi");
}

// One pass as the sign shows it: a scrolling row runs its text and blanks at 0.2 s a character,
// then every page stands for its whole pause, as "Tempo fermo" and the list's rows say.
TEST_F(PageListTest, SummaryCountsPagesAndOnePassOfTheSign) {
    EXPECT_EQ(pages.summary(), "Nessuna pagina");
    putPage(1, kTwoFixedRows, "UNO", "", 5);
    state.PageCount = 1;
    EXPECT_EQ(pages.summary(), "1 pagina \xB7 un giro circa 0:05");
    putPage(2, kRow2Scrolling, "DUE", std::string(43, 'x'), 20);  // (43 + 7) * 0.2 + 20 = 30 s
    putPage(3, kBigScrolling, std::string(289, 'y'), std::string(289, 'y'),
            4);                                    // (289 + 11) * 0.2 + 4 = 64 s
    putPage(4, kRow1Scrolling, "", "QUATTRO", 0);  // 11 * 0.2 + at least a second = 3.2 s
    state.PageCount = 4;
    EXPECT_EQ(pages.summary(), "4 pagine \xB7 un giro circa 1:42");
}

// While the preview plays, the page the list follows is the page being played, then again the
// page the editor shows.
TEST_F(PageListTest, FollowsThePageThePreviewPlays) {
    putSequence(3);
    showPage(1);
    std::vector<int> followed;
    fake.clock.onWait = [&](double) { followed.push_back(pages.shownPage()); };
    windows.preview.Anteprima_Click();
    EXPECT_EQ(followed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(pages.shownPage(), editor.VScroll1.value());
}

}  // namespace
}  // namespace velora
