#include "signs/signs_window.h"

#include <gtest/gtest.h>

#include "core/windows1252.h"
#include "fakes/fake_services.h"
#include "window_models.h"

namespace velora {
namespace {

constexpr const char* kSignsPath = "/config/insegne.txt";

// The program's windows over files in memory, with the signs in use: BASE.dat for 6 boards and a
// signs file with the door (BASE.dat's), the counter and a narrow sign in the back.
class SignsWindowTest : public ::testing::Test {
protected:
    testing::FakeServices fake;
    WindowModels windows{fake.services, fake.loopTiming()};
    Modulo1& state = windows.state;
    EditorWindow& editor = windows.editor;
    SignsWindow& signs = windows.signs;

    void start(const char* current = "Vetrina") {
        fake.clock.autoAdvance = 0.05;  // the start-up's calibration reads the clock
        fake.files.contents["BASE.dat"] = " 18 \r\n";
        std::string text;
        for (const char* line :
             {"Vetrina\tCOM1\t6", "Banco\tsocket://banco:4001\t4", "Retro\tCOM3\t3"}) {
            text += line;
            if (std::string(line).rfind(current, 0) == 0) text += "\tin uso";
            text += '\n';
        }
        fake.files.contents[kSignsPath] = text;
        windows.signStore.setPaths(kSignsPath, "BASE.dat");
        windows.rememberedPort = [] { return std::string("COM7"); };
        editor.window.show();
    }

    // Stores a page whose fixed rows fill 18 characters: a narrower sign would cut it.
    void storeWidePage() {
        editor.Text1.setText("VENDITA  STRAORDIN");
        editor.Text2.setText("SCONTI   SU  TUTTO");
        editor.cmdinserisci.click();
        ASSERT_EQ(state.PageCount, 1);
    }

    void use(const char* name) {
        signs.window.show();
        signs.select(static_cast<int>(*signs.list().indexOf(name)));
        signs.Usa.click();
    }

    std::string file() { return fake.files.contents[kSignsPath]; }
};

TEST_F(SignsWindowTest, StartsWithTheCurrentSignsWidthAndName) {
    start("Banco");
    EXPECT_EQ(state.RowChars, 12);
    EXPECT_EQ(editor.Label3.caption(), "4");
    EXPECT_TRUE(editor.signName.visible());
    EXPECT_EQ(editor.signName.caption(), "Insegna: Banco");
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_FALSE(editor.history().canUndo());
}

TEST_F(SignsWindowTest, WithoutASignsFileTheEditorGoesOnAsBefore) {
    fake.clock.autoAdvance = 0.05;
    fake.files.contents["BASE.dat"] = " 21 \r\n";
    windows.signStore.setPaths(kSignsPath, "BASE.dat");
    windows.rememberedPort = [] { return std::string("COM7"); };
    editor.window.show();
    EXPECT_EQ(state.RowChars, 21);
    EXPECT_FALSE(editor.signName.visible());
    EXPECT_EQ(signs.list().current(), (Sign{"Insegna", "COM7", 7}));
    EXPECT_FALSE(fake.files.exists(kSignsPath));
}

// Choosing a narrower sign asks as the board count does; refused, nothing changes; accepted, the
// width is one step of the history and the choice is kept in the file.
TEST_F(SignsWindowTest, ChoosingASignOfAnotherWidthGoesThroughTheBoardCountRules) {
    start();
    storeWidePage();
    const std::string before = file();

    fake.dialogs.messageAnswers.push_back(MessageAnswer::No);
    use("Banco");
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("1 pagina ha testo oltre 12 caratteri"),
              std::string::npos);
    EXPECT_EQ(state.RowChars, 18);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(editor.signName.caption(), "Insegna: Vetrina");

    fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
    use("Banco");
    EXPECT_EQ(state.RowChars, 12);
    EXPECT_EQ(editor.Label3.caption(), "4");
    EXPECT_EQ(editor.signName.caption(), "Insegna: Banco");
    EXPECT_NE(file().find("Banco\tsocket://banco:4001\t4\tin uso\n"), std::string::npos);
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 18 \r\n");  // still the door's
    EXPECT_EQ(editor.history().undoName(), "Schede LED 4");

    editor.mnuAnnulla.click();
    EXPECT_EQ(state.RowChars, 18);
    EXPECT_NE(editor.history().undoName(), "Schede LED 4");
}

TEST_F(SignsWindowTest, ChoosingASignOfTheSameWidthAsksNothing) {
    start("Retro");
    EXPECT_EQ(state.RowChars, 9);
    use("Retro");  // already in use, already its width
    use("Vetrina");
    EXPECT_EQ(state.RowChars, 18);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(SignsWindowTest, AddRenameEditAndRemove) {
    start();
    signs.window.show();
    EXPECT_EQ(signs.selected(), 0);  // the current sign
    EXPECT_EQ(signs.Nome.text(), "Vetrina");

    signs.select(-1);
    signs.Nome.setText(windows1252::fromUtf8("Città"));
    signs.Porta.setText("rfc2217://[::1]:2217");
    signs.Schede.setText("5");
    signs.Aggiungi.click();
    EXPECT_EQ(signs.selected(), 3);
    EXPECT_NE(file().find("Città\trfc2217://[::1]:2217\t5\n"), std::string::npos);

    // The same name in other letters is refused, and says why.
    signs.Nome.setText("BANCO");
    signs.Aggiungi.click();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(windows1252::toUtf8(fake.dialogs.messages()[0]).find("C'è già"), std::string::npos);
    EXPECT_EQ(signs.list().size(), 4u);

    // Renaming and new boards for the current sign: its width through the rules, one step.
    signs.select(0);
    signs.Nome.setText("Porta");
    signs.Schede.setText("8");
    signs.Modifica.click();
    EXPECT_EQ(signs.list().current(), (Sign{"Porta", "COM1", 8}));
    EXPECT_EQ(state.RowChars, 24);
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 24 \r\n");
    EXPECT_EQ(editor.signName.caption(), "Insegna: Porta");

    // Removing the current sign, after the question: the first one is current again.
    signs.select(0);
    fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
    signs.Togli.click();
    EXPECT_NE(windows1252::toUtf8(fake.dialogs.messages().back()).find("BASE.dat passerà"),
              std::string::npos);
    EXPECT_EQ(signs.list().current().name, "Banco");
    EXPECT_EQ(state.RowChars, 12);
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 12 \r\n");
}

TEST_F(SignsWindowTest, ADamagedFileIsShownAndKept) {
    fake.clock.autoAdvance = 0.05;
    fake.files.contents["BASE.dat"] = " 18 \r\n";
    fake.files.contents[kSignsPath] = "Vetrina\tCOM1\t6\nBanco\tCOM2\t9\tin uso\n";
    windows.signStore.setPaths(kSignsPath, "BASE.dat");
    editor.window.show();
    EXPECT_EQ(state.RowChars, 18);  // BASE.dat's, as before the signs
    EXPECT_EQ(editor.signName.caption(), "Insegne: file da correggere");
    EXPECT_NE(editor.signName.toolTip().find("riga 2"), std::string::npos);

    signs.window.show();
    EXPECT_TRUE(signs.Problema.visible());
    EXPECT_EQ(signs.selected(), -1);  // the stand-in list is nobody's
    EXPECT_EQ(signs.Nome.text(), "");
    EXPECT_FALSE(signs.Aggiungi.enabled());
    EXPECT_FALSE(signs.Usa.enabled());
    // The settings window still saves the width, in BASE.dat alone.
    editor.Salv_Impost.click();
    windows.settings.Combo2.setText("5");
    windows.settings.Command1.click();
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 15 \r\n");
    EXPECT_EQ(fake.files.contents[kSignsPath], "Vetrina\tCOM1\t6\nBanco\tCOM2\t9\tin uso\n");
}

// A file opened is compared with the sign in use, not with BASE.dat (the door's).
TEST_F(SignsWindowTest, AFileOfAnotherWidthIsToldAgainstTheSignInUse) {
    start("Banco");
    fake.files.contents["/seq/banco.inf"] = "1,12\r\n1,\"CIAO\",3\r\n1,\"A\",3\r\n";
    fake.files.contents["/seq/porta.inf"] = "1,18\r\n1,\"CIAO\",3\r\n1,\"A\",3\r\n";
    ASSERT_TRUE(windows.fileMenu.openFile("/seq/banco.inf"));
    EXPECT_EQ(editor.saveNotice.caption(), "");
    ASSERT_TRUE(windows.fileMenu.openFile("/seq/porta.inf"));
    EXPECT_EQ(editor.saveNotice.caption(), "File per 6 schede; impostazione attuale: 4");
}

TEST_F(SignsWindowTest, TheSettingsWindowSavesTheBoardsOfTheCurrentSign) {
    start("Banco");
    editor.Salv_Impost.click();
    windows.settings.Combo2.setText("7");
    windows.settings.Command1.click();
    EXPECT_EQ(state.RowChars, 21);
    EXPECT_EQ(signs.list().find("Banco")->boards, 7);
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 18 \r\n");  // BASE.dat is the door's

    use("Vetrina");
    windows.settings.Combo2.setText("3");
    windows.settings.Command1.click();
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 9 \r\n");
    EXPECT_NE(file().find("Vetrina\tCOM1\t3\tin uso\n"), std::string::npos);
}

}  // namespace
}  // namespace velora
