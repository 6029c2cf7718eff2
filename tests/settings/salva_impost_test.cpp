#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "settings/salva_impost.h"

namespace velora {
namespace {

class SalvaImpostTest : public ::testing::Test {
protected:
    testing::FakeServices fake;
    Modulo1 state;
    EditorWindow editor{state, fake.services, fake.loopTiming()};
    Salva_Impost settings{editor};
};

TEST_F(SalvaImpostTest, MenuItemOpensTheWindowOnSixBoards) {
    state.RowChars = 24;
    editor.Salv_Impost.click();
    EXPECT_TRUE(settings.window.loaded());
    EXPECT_TRUE(settings.window.visible());
    EXPECT_EQ(settings.window.caption(), "Form1");
    EXPECT_EQ(settings.Combo2.text(), "Numero di Schede LED");
    EXPECT_EQ(settings.Label2.caption(), "6");
    EXPECT_EQ(state.RowChars, 18);

    // Closing without saving keeps the 18 and leaves BASE.dat alone.
    settings.Command2.click();
    EXPECT_FALSE(settings.window.loaded());
    EXPECT_FALSE(settings.window.visible());
    EXPECT_EQ(state.RowChars, 18);
    EXPECT_TRUE(fake.files.contents.empty());
}

struct BoardsCase {
    const char* name;
    const char* typed;
    int rowChars;
    const char* label2;
    std::string file;
    const char* boards;
};

void PrintTo(const BoardsCase& c, std::ostream* out) {
    *out << c.name;
}

class SalvaImpostazioneTest : public SalvaImpostTest,
                              public ::testing::WithParamInterface<BoardsCase> {};

TEST_P(SalvaImpostazioneTest, SetsRowCharsWritesBaseDatAndShowsBoards) {
    const BoardsCase& c = GetParam();
    editor.Salv_Impost.click();
    state.RowChars = 15;  // what a fraction leaves in place
    settings.Combo2.setText(c.typed);
    settings.Command1.click();

    EXPECT_EQ(state.RowChars, c.rowChars);
    EXPECT_EQ(settings.Label2.caption(), c.label2);
    EXPECT_EQ(fake.files.contents["BASE.dat"], c.file);
    EXPECT_EQ(editor.Label3.caption(), c.boards);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_TRUE(settings.window.visible());
}

INSTANTIATE_TEST_SUITE_P(
    Boards, SalvaImpostazioneTest,
    ::testing::Values(
        BoardsCase{"Three", "3", 9, "3", " 9 \r\n", "3"},
        BoardsCase{"Four", "4", 12, "4", " 12 \r\n", "4"},
        BoardsCase{"Five", "5", 15, "5", " 15 \r\n", "5"},
        BoardsCase{"Six", "6", 18, "6", std::string("\x20\x31\x38\x20\x0D\x0A"), "6"},
        BoardsCase{"Seven", "7", 21, "7", " 21 \r\n", "7"},
        BoardsCase{"Eight", "8", 24, "8", std::string("\x20\x32\x34\x20\x0D\x0A"), "8"},
        BoardsCase{"BlanksAround", " 7 ", 21, " 7 ", " 21 \r\n", "7"},
        BoardsCase{"Nine", "9", 0, "Non Valido", " 0 \r\n", "0"},
        BoardsCase{"Two", "2", 0, "Non Valido", " 0 \r\n", "0"},
        BoardsCase{"Negative", "-6", 0, "Non Valido", " 0 \r\n", "0"},
        BoardsCase{"InitialText", "Numero di Schede LED", 0, "Non Valido", " 0 \r\n", "0"},
        BoardsCase{"NumberWithTextAfter", "7 schede", 0, "Non Valido", " 0 \r\n", "0"},
        BoardsCase{"Empty", "", 0, "Non Valido", " 0 \r\n", "0"},
        BoardsCase{"FractionWithComma", "4,5", 15, "4,5", " 15 \r\n", "5"},
        BoardsCase{"FractionWithPoint", "4.5", 15, "4.5", " 15 \r\n", "5"},
        BoardsCase{"WholeWithDecimals", "8.0", 24, "8.0", " 24 \r\n", "8"}),
    [](const auto& info) { return std::string(info.param.name); });

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
