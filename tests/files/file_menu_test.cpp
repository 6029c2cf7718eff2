#include "files/file_menu.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/windows1252.h"
#include "fakes/fake_services.h"
#include "window_models.h"

namespace velora {
namespace {

const std::string kTwoPages =
    "2,21\r\n1,\"uno\",4\r\n1,\"due\",4\r\n3,\"TRE\",6\r\n3,\"TRE\",6\r\n";
const std::string kOverwrite = "Attenzione: \n\rFile gia' esistente ! Sovrascrivere il file ?";

// An editor holding one page, with the File menu wired to it.
class FileMenuTest : public ::testing::Test {
protected:
    FileMenuTest() {
        state.PageCount = 1;
        state.PageKind[1] = kTwoFixedRows;
        state.PageText[1] = {"", "ciao", "mondo"};
        state.PagePause[1] = 5;
        state.PageText[2][1] = "typed";
        state.PagePause[2] = 3;
    }

    const testing::FakeDialogs::Shown& onlyDialog() const {
        EXPECT_EQ(fake.dialogs.shown.size(), 1u);
        return fake.dialogs.shown.front();
    }

    testing::FakeServices fake;
    WindowModels windows{fake.services, fake.loopTiming()};
    Modulo1& state = windows.state;
    EditorWindow& editor = windows.editor;
    FileMenu& menu = windows.fileMenu;
};

TEST_F(FileMenuTest, OpeningReadsTheFileAndHeadsForPageOne) {
    fake.files.contents["/seq/due.inf"] = kTwoPages;
    fake.dialogs.pathAnswers.push_back("/seq/due.inf");
    editor.mnunextApri.click();

    EXPECT_EQ(onlyDialog().kind, "open");
    EXPECT_EQ(onlyDialog().text, "Team Files (*.inf)|*.inf");
    EXPECT_EQ(state.CurrentFilePath, "/seq/due.inf");
    EXPECT_EQ(state.PageCount, 2);
    EXPECT_EQ(state.RowChars, 21);
    EXPECT_EQ(state.PageText[2][2], "TRE");
    EXPECT_EQ(editor.txtmax.caption(), "2");
    EXPECT_EQ(editor.Label3.caption(), "7");  // the boards of the file's row width
    EXPECT_EQ(editor.VScroll1.value(), 2);
    EXPECT_TRUE(editor.Timer2.enabled());
}

// The editor takes the file's width, and the status line says when it is not the setting's.
TEST_F(FileMenuTest, OpeningAFileForAnotherWidthSaysSo) {
    const struct {
        const char* setting;
        const char* notice;
    } cases[] = {
        {" 15 \r\n", "File per 7 schede; impostazione attuale: 5"},
        {" 21 \r\n", ""},
        {"", ""},  // no setting to compare with
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        fake.files.contents["BASE.dat"] = c.setting;
        fake.files.contents["/seq/due.inf"] = kTwoPages;
        fake.dialogs.pathAnswers.push_back("/seq/due.inf");
        editor.mnunextApri.click();
        EXPECT_EQ(state.RowChars, 21);
        EXPECT_EQ(editor.saveNotice.caption(), c.notice);
    }
}

TEST_F(FileMenuTest, CancelledOpenChangesNothing) {
    state.PageCount = 0;
    editor.VScroll1.setValue(1);
    editor.Text1.setText("being typed");
    editor.mnunextApri.click();
    EXPECT_EQ(state.PageText[1][1], "ciao");
    EXPECT_TRUE(state.CurrentFilePath.empty());
    EXPECT_EQ(editor.VScroll1.value(), 1);
    EXPECT_FALSE(editor.Timer2.enabled());
    EXPECT_EQ(editor.Text1.text(), "being typed");
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);  // the dialog alone, no message
}

// A file cut short (an older program stopped while saving it) gives the pages it holds; none of
// the sequence open before survives among them.
TEST_F(FileMenuTest, FileHoldingFewerPagesThanItDeclaresGivesThePagesItHolds) {
    state.PageCount = 3;
    for (std::size_t slot = 1; slot <= 3; ++slot) {
        state.PageKind[slot] = kTwoFixedRows;
        state.PageText[slot] = {"", "earlier", "earlier"};
    }
    fake.files.contents["/seq/cut.inf"] = "3,9\r\n1,\"uno\",4\r\n1,\"due\",4\r\n";
    fake.dialogs.pathAnswers.push_back("/seq/cut.inf");
    editor.mnunextApri.click();

    EXPECT_EQ(
        fake.dialogs.messages(),
        std::vector<std::string>{"Il file \xE8 incompleto: pagine trovate 1 su 3 dichiarate."});
    EXPECT_EQ(state.PageCount, 1);
    EXPECT_EQ(editor.txtmax.caption(), "1");
    EXPECT_EQ(state.CurrentFilePath, "/seq/cut.inf");
    for (std::size_t slot = 2; slot <= 3; ++slot) EXPECT_EQ(state.PageText[slot][1], "");

    editor.mnunextSalva.click();
    EXPECT_EQ(fake.files.contents["/seq/cut.inf"], "1,9\r\n1,\"uno\",4\r\n1,\"due\",4\r\n");
}

struct OpenFailure {
    const char* name;
    std::optional<std::string> contents;  // nothing: no such file
    bool unreadable;
    const char* told;  // after the file's name, in UTF-8
};

void PrintTo(const OpenFailure& c, std::ostream* out) {
    *out << c.name;
}

class OpenFailureTest : public FileMenuTest, public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(OpenFailureTest, SaysWhyAndLeavesSequenceAndNameAlone) {
    const std::string path = "/seq/bad.inf";
    if (GetParam().contents) fake.files.contents[path] = *GetParam().contents;
    if (GetParam().unreadable) fake.files.failing.insert(path);
    state.CurrentFilePath = "/seq/mine.inf";
    const Modulo1 before = state;
    fake.dialogs.pathAnswers.push_back(path);
    editor.mnunextApri.click();

    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(windows1252::toUtf8(fake.dialogs.messages()[0]),
              std::string("Il file \"/seq/bad.inf\" ") + GetParam().told);
    EXPECT_EQ(fake.dialogs.shown.back().title, "Velora");
    EXPECT_EQ(state.CurrentFilePath, "/seq/mine.inf");
    EXPECT_EQ(state.PageCount, before.PageCount);
    EXPECT_EQ(state.RowChars, before.RowChars);
    EXPECT_EQ(state.PageText, before.PageText);
    EXPECT_EQ(state.PageKind, before.PageKind);
    EXPECT_EQ(state.PagePause, before.PagePause);
    EXPECT_EQ(editor.VScroll1.value(), 1);
    EXPECT_FALSE(editor.Timer2.enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenFailureTest,
    ::testing::Values(OpenFailure{"Missing", std::nullopt, false, "non esiste."},
                      OpenFailure{"Unreadable", "", true, "non si può leggere."},
                      // What a save on a full disk used to leave behind.
                      OpenFailure{"Empty", "", false, "non è una sequenza."},
                      // The good pages before the bad record are not taken either.
                      OpenFailure{"BadRecordAfterGoodOnes", kTwoPages + "1,\"x\",1\r\n", false,
                                  "non è una sequenza."},
                      OpenFailure{"TooManyPages", "201,18\r\n", false, "non è una sequenza."},
                      OpenFailure{"TooLarge", std::string(FileMenu::kLargestFile + 1, '\n'), false,
                                  "è troppo grande (oltre 1 MiB)."}),
    [](const auto& row) { return std::string(row.param.name); });

// A folder, or a device or pipe, is named for what it is; neither is read.
TEST_F(FileMenuTest, OpeningWhatIsNoFileSaysWhatItIs) {
    fake.files.contents["/seq/cartella/dentro.inf"] = kTwoPages;
    fake.files.others.insert("/dev/ttyS0");
    for (const char* path : {"/seq/cartella", "/dev/ttyS0"}) {
        fake.dialogs.pathAnswers.push_back(path);
        editor.mnunextApri.click();
    }
    const std::vector<std::string> told = fake.dialogs.messages();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(windows1252::toUtf8(told[0]), "\"/seq/cartella\" è una cartella, non un file.");
    EXPECT_EQ(windows1252::toUtf8(told[1]),
              "\"/dev/ttyS0\" non è un file: è un dispositivo o una pipe.");
    EXPECT_EQ(state.PageCount, 1);
    EXPECT_EQ(state.CurrentFilePath, "");
}

// A name in Latin-1 opens as any other, and the title shows it as it was meant.
TEST_F(FileMenuTest, ANameThatIsNotUtf8Opens) {
    const std::string latin1 = "/seq/caf\xe9.inf";
    fake.files.contents[latin1] = kTwoPages;
    fake.dialogs.pathAnswers.push_back(latin1);
    editor.mnunextApri.click();
    EXPECT_EQ(fake.dialogs.messages(), std::vector<std::string>{});
    EXPECT_EQ(state.CurrentFilePath, latin1);
    EXPECT_EQ(state.PageCount, 2);
    editor.Timer1_Timer();
    EXPECT_EQ(editor.Label7.caption(), "caf\xe9.inf");
}

TEST_F(FileMenuTest, SaveWithoutPagesOrNameOnlyTellsWhy) {
    struct Case {
        int pageCount;
        const char* path;
        const char* prompt;
        const char* defaultText;
    };
    for (const Case& c :
         {Case{0, "/seq/a.inf", "Non ho DATI Caricati", "???"},
          Case{1, "", "Non ho il Nome", "Al primo salvataggio usare 'Salva con Nome'"}}) {
        SCOPED_TRACE(c.prompt);
        fake.dialogs.shown.clear();
        state.PageCount = static_cast<std::uint8_t>(c.pageCount);
        state.CurrentFilePath = c.path;
        editor.mnunextSalva.click();
        EXPECT_EQ(onlyDialog().kind, "input");
        EXPECT_EQ(onlyDialog().text, c.prompt);
        EXPECT_EQ(onlyDialog().title, "Fine");
        EXPECT_EQ(onlyDialog().defaultText, c.defaultText);
        EXPECT_TRUE(fake.files.contents.empty());
    }
}

TEST_F(FileMenuTest, SaveUnderANewNameThenSaveAgainWithoutQuestions) {
    fake.clock.date = {2026, 12, 10, 14, 3, 9};
    fake.dialogs.pathAnswers.push_back("/seq/nuovo.inf");
    editor.mnuNom.click();
    EXPECT_EQ(fake.dialogs.shown.at(0).kind, "save");
    EXPECT_EQ(fake.dialogs.shown.at(0).text, "Team Files (*.inf)|*.inf");
    EXPECT_EQ(state.CurrentFilePath, "/seq/nuovo.inf");
    const std::string bytes = "1,18\r\n1,\"ciao\",5\r\n1,\"mondo\",5\r\n";
    EXPECT_EQ(fake.files.contents["/seq/nuovo.inf"], bytes);
    // The new-page slot loses its row-1 text and pause, as after every save.
    EXPECT_EQ(state.PageText[2][1], "");
    EXPECT_EQ(state.PagePause[2], 0);
    // Said without a dialog.
    EXPECT_EQ(editor.saveNotice.caption(), "File salvato alle 14:03:09");
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);

    state.PageText[1][1] = "salve";
    editor.mnunextSalva.click();
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.files.contents["/seq/nuovo.inf"], "1,18\r\n1,\"salve\",5\r\n1,\"mondo\",5\r\n");
}

TEST_F(FileMenuTest, SaveUnderANewNameAddsTheSuffixToANameWithoutOne) {
    struct Case {
        const char* chosen;
        const char* written;
    };
    for (const Case& c :
         {Case{"/seq/nuovo", "/seq/nuovo.inf"}, Case{"/seq.d/nuovo", "/seq.d/nuovo.inf"},
          Case{"C:\\seq.d\\nuovo", "C:\\seq.d\\nuovo.inf"},
          Case{"/seq/nuovo.inf", "/seq/nuovo.inf"}, Case{"/seq/nuovo.txt", "/seq/nuovo.txt"}}) {
        SCOPED_TRACE(c.chosen);
        fake.files.contents.clear();
        fake.dialogs.pathAnswers.push_back(c.chosen);
        editor.mnuNom.click();
        EXPECT_EQ(state.CurrentFilePath, c.written);
        EXPECT_EQ(fake.files.contents.count(c.written), 1u);
        EXPECT_EQ(fake.files.contents.size(), 1u);
    }
    // The overwrite question is about the file that would be replaced.
    fake.dialogs.shown.clear();
    fake.files.contents["/seq/old.inf"] = "old bytes";
    fake.dialogs.pathAnswers.push_back("/seq/old");
    editor.mnuNom.click();
    ASSERT_EQ(fake.dialogs.messages(), std::vector<std::string>{kOverwrite});
    EXPECT_EQ(fake.files.contents["/seq/old.inf"], "old bytes");
}

// A save that fails keeps the file it was to replace, says so, and leaves the sequence with the
// file it had: the name shown and the one Ctrl+S writes to stay the previous ones.
TEST_F(FileMenuTest, FailedSaveUnderANewNameKeepsTheCurrentFile) {
    fake.files.contents["/seq/mine.inf"] = "mine";
    state.CurrentFilePath = "/seq/mine.inf";
    editor.saveNotice.setCaption("File salvato alle 10:00:00");
    fake.files.failing.insert("/ro/new.inf");
    fake.dialogs.pathAnswers.push_back("/ro/new.inf");
    editor.mnuNom.click();

    EXPECT_EQ(fake.dialogs.messages(), std::vector<std::string>{"Problemi con il File!!"});
    EXPECT_EQ(state.CurrentFilePath, "/seq/mine.inf");
    EXPECT_EQ(editor.saveNotice.caption(), "");
    editor.Timer1_Timer();
    EXPECT_EQ(editor.Label7.caption(), "mine.inf");

    editor.mnunextSalva.click();
    EXPECT_EQ(fake.files.contents["/seq/mine.inf"], "1,18\r\n1,\"ciao\",5\r\n1,\"mondo\",5\r\n");
    EXPECT_EQ(fake.files.contents.count("/ro/new.inf"), 0u);
}

TEST_F(FileMenuTest, OverwriteQuestionDecides) {
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        fake.dialogs.shown.clear();
        fake.files.contents["/seq/old.inf"] = "old bytes";
        state.CurrentFilePath = "/seq/mine.inf";
        fake.dialogs.pathAnswers.push_back("/seq/old.inf");
        fake.dialogs.messageAnswers.push_back(answer);
        editor.mnuNom.click();

        ASSERT_EQ(fake.dialogs.shown.size(), 2u);
        const auto& question = fake.dialogs.shown[1];
        EXPECT_EQ(question.text, kOverwrite);
        EXPECT_EQ(question.title, "Conferma");
        EXPECT_EQ(question.icon, MessageIcon::Information);
        EXPECT_EQ(question.buttons, MessageButtons::YesNo);
        const bool yes = answer == MessageAnswer::Yes;
        EXPECT_EQ(fake.files.contents["/seq/old.inf"] == "old bytes", !yes);
        EXPECT_EQ(state.CurrentFilePath, yes ? "/seq/old.inf" : "/seq/mine.inf");
    }
}

TEST_F(FileMenuTest, CancelledSaveDialogWritesNothing) {
    state.CurrentFilePath = "/seq/mine.inf";
    editor.mnuNom.click();
    EXPECT_TRUE(fake.files.contents.empty());
    EXPECT_EQ(state.CurrentFilePath, "/seq/mine.inf");
}

TEST_F(FileMenuTest, EmptySequenceIsSavedUnderANewName) {
    state.PageCount = 0;
    fake.dialogs.pathAnswers.push_back("/seq/vuota.inf");
    editor.mnuNom.click();
    EXPECT_EQ(fake.files.contents["/seq/vuota.inf"], "0,18\r\n");
    EXPECT_EQ(state.PageText[1][1], "");
}

TEST_F(FileMenuTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    fake.files.contents["/seq/ro.inf"] = "old bytes";
    fake.files.failing.insert("/seq/ro.inf");
    state.CurrentFilePath = "/seq/ro.inf";
    editor.mnunextSalva.click();
    EXPECT_EQ(fake.dialogs.messages(), std::vector<std::string>{"Problemi con il File!!"});
    EXPECT_EQ(fake.files.contents["/seq/ro.inf"], "old bytes");
    // Nothing was saved, so the page being composed is left alone.
    EXPECT_EQ(state.PageText[2][1], "typed");
}

// File > finE and closing the window (title bar, Alt+F4) end at once when nothing is unsaved;
// otherwise they ask, naming the file, and end only when the work is saved or the user lets it
// go. The window itself never goes without the program.
TEST_F(FileMenuTest, ExitAsksOnlyForUnsavedWorkAndEndsOnlyWhenItIsSafe) {
    struct Case {
        const char* name;
        bool unsaved;
        const char* path;                     // the sequence's file; empty: none yet
        std::optional<MessageAnswer> answer;  // nothing: no question may be asked
        const char* savePath;                 // the save dialog's answer, when it is shown
        bool writeFails;
        bool ends;
        const char* written;  // the file that must then hold the sequence
    };
    const Case cases[] = {
        {"Saved", false, "/seq/a.inf", std::nullopt, "", false, true, ""},
        {"GoBack", true, "/seq/a.inf", MessageAnswer::Cancel, "", false, false, ""},
        {"EndWithoutSaving", true, "/seq/a.inf", MessageAnswer::No, "", false, true, ""},
        {"SaveThenEnd", true, "/seq/a.inf", MessageAnswer::Yes, "", false, true, "/seq/a.inf"},
        {"SaveFails", true, "/seq/a.inf", MessageAnswer::Yes, "", true, false, ""},
        {"NamelessSaveCancelled", true, "", MessageAnswer::Yes, "", false, false, ""},
        {"NamelessSaveNamed", true, "", MessageAnswer::Yes, "/seq/new.inf", false, true,
         "/seq/new.inf"},
    };
    fake.clock.autoAdvance = 0.05;
    fake.files.contents["BASE.dat"] = "18\r\n";
    editor.window.show();
    for (const bool closing : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(closing ? "window closed, " : "finE, ") + c.name);
            fake.files.contents.erase("/seq/a.inf");
            fake.files.contents.erase("/seq/new.inf");
            fake.files.failing.clear();
            if (c.writeFails) fake.files.failing.insert(c.path);
            state.CurrentFilePath = c.path;
            state.PageCount = 1;
            state.PageKind[1] = kTwoFixedRows;
            state.PageText[1] = {"", "ciao", "mondo"};
            editor.markSaved();
            if (c.unsaved) state.PageText[1][1] = "cambiato";
            fake.program.endCalls = 0;
            fake.dialogs.shown.clear();
            if (c.answer) fake.dialogs.messageAnswers.push_back(*c.answer);
            if (*c.savePath) fake.dialogs.pathAnswers.push_back(c.savePath);

            if (closing) {
                EXPECT_FALSE(editor.window.queryUnload());
            } else {
                editor.mnunextfinE.click();
            }
            if (c.answer) {
                ASSERT_FALSE(fake.dialogs.shown.empty());
                const auto& asked = fake.dialogs.shown.front();
                const std::string name = *c.path ? "a.inf" : "Senza Nome";
                EXPECT_EQ(asked.text, "Le modifiche a \"" + name +
                                          "\" non sono state salvate. Salvarle prima di uscire?");
                EXPECT_EQ(asked.title, "Fine");
                EXPECT_EQ(asked.buttons, MessageButtons::YesNoCancel);
            } else {
                EXPECT_TRUE(fake.dialogs.shown.empty());
            }
            EXPECT_EQ(fake.program.endCalls, c.ends ? 1 : 0);
            if (*c.written) {
                EXPECT_EQ(fake.files.contents[c.written],
                          "1,18\r\n1,\"cambiato\",5\r\n1,\"mondo\",5\r\n");
            }
            EXPECT_TRUE(editor.window.loaded());
            EXPECT_TRUE(editor.window.visible());
            fake.dialogs.messageAnswers.clear();
            fake.dialogs.pathAnswers.clear();
        }
    }
}

}  // namespace
}  // namespace velora
