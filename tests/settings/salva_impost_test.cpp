#include "settings/salva_impost.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "window_models.h"

namespace velora {
namespace {

class SalvaImpostTest : public ::testing::Test {
protected:
    testing::FakeServices fake;
    WindowModels windows{fake.services, fake.loopTiming()};
    Modulo1& state = windows.state;
    EditorWindow& editor = windows.editor;
    Salva_Impost& settings = windows.settings;
};

TEST_F(SalvaImpostTest, FirstStartLeadsOnToTheWindow) {
    fake.clock.autoAdvance = 0.05;  // the start-up's calibration reads the clock
    editor.window.show();
    EXPECT_EQ(fake.dialogs.messages().size(), 1u);  // BASE.dat is missing
    EXPECT_TRUE(settings.window.visible());

    testing::FakeServices other;
    other.clock.autoAdvance = 0.05;
    other.files.contents["BASE.dat"] = " 12 \r\n";
    WindowModels withSettings{other.services, other.loopTiming()};
    withSettings.editor.window.show();
    EXPECT_FALSE(withSettings.settings.window.visible());
}

TEST_F(SalvaImpostTest, OpeningAndClosingTheWindowChangesNothing) {
    state.RowChars = 12;
    editor.Label3.setCaption("4");
    fake.files.contents["BASE.dat"] = " 12 \r\n";
    editor.Salv_Impost.click();
    EXPECT_TRUE(settings.window.loaded());
    EXPECT_TRUE(settings.window.visible());
    EXPECT_EQ(settings.window.caption(), "Form1");
    EXPECT_EQ(settings.Combo2.text(), "Numero di Schede LED");
    EXPECT_EQ(settings.Label2.caption(), "4");  // the boards in use
    EXPECT_EQ(state.RowChars, 12);

    settings.Command2.click();
    EXPECT_FALSE(settings.window.loaded());
    EXPECT_FALSE(settings.window.visible());
    EXPECT_EQ(state.RowChars, 12);
    EXPECT_EQ(editor.Label3.caption(), "4");
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 12 \r\n");
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

struct BoardsCase {
    const char* name;
    const char* typed;
    int rowChars;
    std::string file;
};

void PrintTo(const BoardsCase& c, std::ostream* out) {
    *out << c.name;
}

class SalvaImpostazioneTest : public SalvaImpostTest,
                              public ::testing::WithParamInterface<BoardsCase> {};

TEST_P(SalvaImpostazioneTest, SetsRowCharsWritesBaseDatAndShowsBoards) {
    const BoardsCase& c = GetParam();
    editor.Salv_Impost.click();
    settings.Combo2.setText(c.typed);
    settings.Command1.click();

    EXPECT_EQ(state.RowChars, c.rowChars);
    EXPECT_EQ(settings.Label2.caption(), c.typed);
    EXPECT_EQ(fake.files.contents["BASE.dat"], c.file);
    EXPECT_EQ(editor.Label3.caption(), std::to_string(c.rowChars / 3));
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_TRUE(settings.window.visible());
}

INSTANTIATE_TEST_SUITE_P(
    Boards, SalvaImpostazioneTest,
    ::testing::Values(BoardsCase{"Three", "3", 9, " 9 \r\n"},
                      BoardsCase{"Four", "4", 12, " 12 \r\n"},
                      BoardsCase{"Five", "5", 15, " 15 \r\n"},
                      BoardsCase{"Six", "6", 18, std::string("\x20\x31\x38\x20\x0D\x0A")},
                      BoardsCase{"Seven", "7", 21, " 21 \r\n"},
                      BoardsCase{"Eight", "8", 24, std::string("\x20\x32\x34\x20\x0D\x0A")},
                      BoardsCase{"BlanksAround", " 7 ", 21, " 21 \r\n"},
                      BoardsCase{"WholeWithDecimals", "8.0", 24, " 24 \r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

class RefusedChoiceTest : public SalvaImpostTest,
                          public ::testing::WithParamInterface<const char*> {};

// A choice that is not a whole number of boards from 3 to 8 is refused with a message; neither
// the width in use nor BASE.dat changes.
TEST_P(RefusedChoiceTest, ChangesNeitherTheWidthNorBaseDat) {
    fake.files.contents["BASE.dat"] = " 15 \r\n";
    state.RowChars = 15;
    editor.Label3.setCaption("5");
    editor.Salv_Impost.click();
    settings.Combo2.setText(GetParam());
    settings.Command1.click();

    EXPECT_EQ(state.RowChars, 15);
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 15 \r\n");
    EXPECT_EQ(editor.Label3.caption(), "5");
    EXPECT_EQ(settings.Label2.caption(), "Non Valido");
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("da 3 a 8"), std::string::npos);
    EXPECT_EQ(fake.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(settings.window.visible());
}

INSTANTIATE_TEST_SUITE_P(Choices, RefusedChoiceTest,
                         ::testing::Values("9", "2", "-6", "Numero di Schede LED", "7 schede", "",
                                           "4,5", "4.5"));

TEST_F(SalvaImpostTest, SettingsFileGoesWhereTheEditorKeepsIt) {
    editor.setSettingsFile("/home/utente/.config/Velora/BASE.dat");
    editor.Salv_Impost.click();
    settings.Combo2.setText("5");
    settings.Command1.click();
    EXPECT_EQ(fake.files.contents["/home/utente/.config/Velora/BASE.dat"], " 15 \r\n");
    EXPECT_EQ(fake.files.contents.count("BASE.dat"), 0u);

    fake.files.contents["/home/utente/.config/Velora/BASE.dat"] = "21\r\n";
    editor.LoadSettings();
    EXPECT_EQ(state.RowChars, 21);
}

TEST_F(SalvaImpostTest, FailedWriteIsReportedAndTheWidthStillApplies) {
    fake.files.contents["BASE.dat"] = " 18 \r\n";
    fake.files.failing.insert("BASE.dat");
    editor.Salv_Impost.click();
    settings.Combo2.setText("8");
    settings.Command1.click();

    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("BASE.dat"), std::string::npos);
    EXPECT_EQ(fake.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(fake.files.contents["BASE.dat"], " 18 \r\n");
    EXPECT_EQ(state.RowChars, 24);
    EXPECT_EQ(editor.Label3.caption(), "8");
}

}  // namespace
}  // namespace velora
