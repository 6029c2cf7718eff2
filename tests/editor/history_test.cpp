#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "editor_fixture.h"
#include "files/sequence_file.h"

namespace velora {
namespace {

using testing::EditorFixture;

class HistoryTest : public EditorFixture {
protected:
    std::string bytes() const { return sequenceFileBytes(state); }

    // Types a row 1 on the page shown and stores it.
    void store(const std::string& row1) {
        editor.Text1.edit(row1);
        editor.cmdinserisci.click();
    }

    void open(const std::string& path, const std::string& contents) {
        fake.files.contents[path] = contents;
        fake.dialogs.pathAnswers.push_back(path);
        editor.mnunextApri.click();
        editor.Timer2_Timer();
    }

    void setBoards(const char* boards) {
        windows.settings.Combo2.setText(boards);
        fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
        windows.settings.Command1.click();
        fake.dialogs.messageAnswers.clear();
    }

    void undo() { editor.mnuAnnulla.click(); }
    void redo() { editor.mnuRipeti.click(); }
};

// Every kind of step: undo puts back the bytes a save would write and the page shown, redo the
// bytes and page the step left.
TEST_F(HistoryTest, EachKindOfStepIsTakenBackAndDoneAgain) {
    const struct {
        const char* name;
        int shownBefore;
        std::function<void()> step;
    } cases[] = {
        {"Inserisci pagina 4", 4, [this] { store("NUOVA"); }},
        {"Inserisci pagina 2", 2, [this] { store("CAMBIATA"); }},
        {"Inserisci pagina vuota 2", 2, [this] { editor.Picture2.click(); }},
        {"Elimina pagina 2", 2, [this] { editor.Picture1.click(); }},
        {"Elimina pagina 3", 3, [this] { editor.Picture1.click(); }},
        {"Nuovo", 2, [this] { editor.mnunextNuovo.click(); }},
        {"Apri altra.inf", 3,
         [this] { open("/seq/altra.inf", "1,12\r\n3,\"GRANDE\",7\r\n3,\"GRANDE\",7\r\n"); }},
        {"Schede LED 3", 2, [this] { setBoards("3"); }},
        {"Centra pagina 3", 3, [this] { editor.Command2.click(); }},
        {"Info R2 pagina 2", 2, [this] { editor.InfoR2.click(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        editor.history().clear();
        putSequence(3);
        putPage(2, kTwoFixedRows, "SECONDA PAGINA    ", "RIGA DUE          ", 7);
        state.RowChars = 18;
        state.CurrentFilePath = "/seq/tre.inf";
        showPage(c.shownBefore);
        const std::string before = bytes();

        c.step();
        const std::string after = bytes();
        const int shownAfter = editor.VScroll1.value();
        ASSERT_NE(after, before);
        ASSERT_TRUE(editor.mnuAnnulla.enabled());
        EXPECT_EQ(editor.mnuAnnulla.caption(), std::string("&Annulla ") + c.name);

        undo();
        EXPECT_EQ(bytes(), before);
        EXPECT_EQ(editor.VScroll1.value(), c.shownBefore);
        EXPECT_EQ(editor.NumQua.caption(), std::to_string(c.shownBefore));
        EXPECT_EQ(editor.txtmax.caption(), "3");
        EXPECT_EQ(state.CurrentFilePath, "/seq/tre.inf");
        EXPECT_EQ(editor.saveNotice.caption(), std::string("Annullato: ") + c.name);
        EXPECT_FALSE(editor.mnuAnnulla.enabled());
        EXPECT_EQ(editor.mnuRipeti.caption(), std::string("&Ripeti ") + c.name);

        redo();
        EXPECT_EQ(bytes(), after);
        EXPECT_EQ(editor.VScroll1.value(), shownAfter);
        EXPECT_EQ(editor.saveNotice.caption(), std::string("Ripetuto: ") + c.name);
        EXPECT_FALSE(editor.mnuRipeti.enabled());
    }
}

TEST_F(HistoryTest, UndoShowsThePageThroughTheLoader) {
    putSequence(3);
    putPage(2, kTwoFixedRows, "SECONDA           ", "                  ", 7);
    showPage(2);
    editor.Picture1.click();
    EXPECT_EQ(editor.Text1.text(), "P3");
    EXPECT_EQ(editor.saveNotice.caption(), "Pagina 2 eliminata: Ctrl+Z per annullare");
    undo();
    EXPECT_EQ(editor.Text1.text(), "SECONDA");
    EXPECT_EQ(editor.Combo1.text(), "7");
}

// The status line speaks of the latest action: a later change of the sequence replaces what an
// undo, a redo or a deletion said.
TEST_F(HistoryTest, EachStepReplacesTheStatusLine) {
    putSequence(3);
    showPage(2);
    editor.Picture1.click();
    undo();
    ASSERT_EQ(editor.saveNotice.caption(), "Annullato: Elimina pagina 2");
    const struct {
        const char* name;
        std::function<void()> step;
    } cases[] = {
        {"store", [this] { store("ALTRO"); }},
        {"pasted pages",
         [this] {
             windows.pages.paste("", windows.pages.pageLines({1, 2}), 1);
         }},
        {"moved pages", [this] { windows.pages.moveDown({1}); }},
        {"centring", [this] { editor.Command2.click(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        editor.saveNotice.setCaption("Ripetuto: Elimina pagina 2");
        c.step();
        EXPECT_EQ(editor.saveNotice.caption(), "");
    }
}

TEST_F(HistoryTest, NuovoThenUndoBringsBackEveryPageAndTheFile) {
    putSequence(10);
    state.CurrentFilePath = "/seq/dieci.inf";
    editor.markSaved();
    const std::string saved = bytes();
    showPage(4);
    editor.mnunextNuovo.click();
    EXPECT_EQ(state.PageCount, 0);
    EXPECT_EQ(editor.saveNotice.caption(), "Sequenza svuotata: Ctrl+Z per annullare");
    // An empty sequence without a file has nothing to lose.
    EXPECT_FALSE(editor.sequenceModified());
    undo();
    EXPECT_EQ(bytes(), saved);
    EXPECT_EQ(state.CurrentFilePath, "/seq/dieci.inf");
    EXPECT_EQ(editor.VScroll1.value(), 4);
    EXPECT_FALSE(editor.sequenceModified());
}

TEST_F(HistoryTest, TitleMarksWorkNotSavedUntilSavedOrTakenBack) {
    editor.Timer1_Timer();
    EXPECT_EQ(editor.window.caption(), "Senza Nome[*] - KDM 2 Righe");
    EXPECT_FALSE(editor.window.modified());
    store("UNO");
    EXPECT_TRUE(editor.window.modified());
    undo();
    EXPECT_FALSE(editor.window.modified());
    redo();
    EXPECT_TRUE(editor.window.modified());

    fake.dialogs.pathAnswers.push_back("/seq/uno.inf");
    editor.mnuNom.click();
    EXPECT_EQ(editor.window.caption(), "uno.inf[*] - KDM 2 Righe");
    EXPECT_FALSE(editor.window.modified());
    // Back before the save is a change from what the file holds.
    undo();
    EXPECT_TRUE(editor.window.modified());
    redo();
    EXPECT_FALSE(editor.window.modified());
}

TEST_F(HistoryTest, CentringThePageBeingComposedIsNoStep) {
    putSequence(2);
    showPage(3);
    editor.Text1.edit("NUOVA");
    editor.Command2.click();
    EXPECT_FALSE(editor.history().canUndo());
}

TEST_F(HistoryTest, ReStoringAnUnchangedPageIsNoStep) {
    putSequence(2);
    putPage(1, kTwoFixedRows, "  CENTRATA        ", "                  ", 1);
    showPage(1);
    editor.cmdinserisci.click();
    EXPECT_FALSE(editor.history().canUndo());
}

TEST_F(HistoryTest, UndoingEverythingAfterOpeningGivesTheFilesBytes) {
    const std::string file =
        "3,15\r\n1,\"  CIAO  MONDO  \",4\r\n1,\"               \",4\r\n"
        "2,\"FISSA          \",5\r\n2,\"scorre \",5\r\n"
        "6,\"05/12 09:01 +20\xB0\",2\r\n6,\"SOTTO          \",2\r\n";
    open("/seq/file.inf", file);
    EXPECT_EQ(bytes(), file);
    showPage(2);
    store("ALTRO");
    editor.Picture2.click();
    showPage(1);
    editor.Picture1.click();
    setBoards("6");
    editor.mnunextNuovo.click();
    while (editor.history().canUndo() && editor.history().undoName() != "Apri file.inf") undo();
    EXPECT_EQ(bytes(), file);
    EXPECT_FALSE(editor.sequenceModified());
}

// A few hundred random runs of steps: undoing them all gives back the bytes of the start, doing
// them all again the bytes of the end.
TEST_F(HistoryTest, RandomRunsUndoToTheStartAndRedoToTheEnd) {
    std::mt19937 random(20261210);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const char* const words[] = {"CIAO",
                                 "OFFERTE SPECIALI",
                                 "",
                                 "pirla",
                                 "È € perché",
                                 "A",
                                 "UNA RIGA TROPPO LUNGA PER L'INSEGNA"};
    for (int run = 0; run < 300; ++run) {
        SCOPED_TRACE(run);
        editor.history().clear();
        putSequence(pick(0, 6));
        state.RowChars = 18;
        showPage(pick(1, state.PageCount + 1));
        const std::string start = bytes();
        int steps = 0;
        for (int i = 0, n = pick(1, 12); i < n; ++i) {
            const int count = state.PageCount;
            auto somePages = [&] {
                std::vector<int> pages;
                for (int k = 0, m = pick(1, 3); k < m && count > 0; ++k)
                    pages.push_back(pick(1, count));
                return pages;
            };
            switch (pick(0, 12)) {
                case 0:
                    showPage(count + 1);
                    editor.Option1.setSelected(pick(0, 3) > 0);
                    editor.Option2.setSelected(!editor.Option1.selected());
                    if (editor.Option2.selected()) editor.Text3.edit(words[pick(0, 6)]);
                    store(words[pick(0, 6)]);
                    break;
                case 1:
                    if (count == 0) break;
                    showPage(pick(1, count));
                    store(words[pick(0, 6)]);
                    break;
                case 2:
                    showPage(pick(1, count + 1));
                    editor.Picture2.click();
                    break;
                case 3:
                    if (count == 0) break;
                    showPage(pick(1, count));
                    editor.Picture1.click();
                    break;
                case 4:
                    editor.mnunextNuovo.click();
                    break;
                case 5:
                    open("/seq/r.inf",
                         "2,21\r\n1,\"uno\",4\r\n1,\"due\",4\r\n4,\"TRE\",6\r\n4,"
                         "\"TRE\",6\r\n");
                    break;
                case 6:
                    setBoards(pick(0, 1) ? "3" : "8");
                    break;
                case 7:
                    windows.pages.moveUp(somePages());
                    break;
                case 8:
                    windows.pages.moveDown(somePages());
                    break;
                case 9:
                    windows.pages.moveTo(somePages(), pick(1, count + 1));
                    break;
                case 10:
                    windows.pages.duplicate(somePages());
                    break;
                case 11:
                    windows.pages.remove(somePages());
                    break;
                case 12: {
                    const std::vector<int> copied = somePages();
                    windows.pages.paste(pick(0, 1) ? windows.pages.pageFile(copied) : "",
                                        windows.pages.pageLines(copied), pick(0, count));
                    break;
                }
            }
            steps = static_cast<int>(editor.history().size());
        }
        const std::string end = bytes();
        for (int i = 0; i < steps; ++i) undo();
        ASSERT_EQ(bytes(), start);
        ASSERT_FALSE(editor.history().canUndo());
        for (int i = 0; i < steps; ++i) redo();
        ASSERT_EQ(bytes(), end);
    }
}

}  // namespace
}  // namespace velora
