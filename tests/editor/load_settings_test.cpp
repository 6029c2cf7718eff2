#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "fakes/fake_services.h"

namespace velora {
namespace {

const char* const kMissingSettings =
    "NON trovo il file BASE.dat; al 1\xB0 utilizzo v\xE0 attivato SALVA IMPOSTAZIONI!!!";

struct SettingsCase {
    const char* name;
    std::optional<std::string> contents;  // nothing: no BASE.dat
    int rowChars;
    const char* boards;
    bool message;
};

void PrintTo(const SettingsCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadSettingsTest : public ::testing::TestWithParam<SettingsCase> {
protected:
    LoadSettingsTest() { fake.clock.autoAdvance = 0.05; }

    testing::FakeServices fake;
    Modulo1 state;
};

TEST_P(LoadSettingsTest, SetsRowCharsAndBoardsOrShowsTheMessage) {
    const SettingsCase& c = GetParam();
    if (c.contents) fake.files.contents["BASE.dat"] = *c.contents;
    EditorWindow editor(state, fake.services, fake.loopTiming());
    // The message comes first, then what leads on to the settings.
    std::vector<std::size_t> followedAfter;
    editor.onSettingsMissing = [&] { followedAfter.push_back(fake.dialogs.shown.size()); };
    editor.Form_Load();
    EXPECT_EQ(followedAfter, c.message ? std::vector<std::size_t>{1} : std::vector<std::size_t>{});
    EXPECT_EQ(state.RowChars, c.rowChars);
    EXPECT_EQ(editor.Label3.caption(), c.boards);
    const auto messages = fake.dialogs.messages();
    if (c.message) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], kMissingSettings);
        EXPECT_EQ(fake.dialogs.shown[0].title, "Velora");
    } else {
        EXPECT_TRUE(messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadSettingsTest,
    ::testing::Values(
        SettingsCase{"TwentyFour", " 24 \r\n", 24, "8", false},
        SettingsCase{"Eighteen", "18", 18, "6", false},
        // Only widths the settings window writes: 3 to 8 boards of three characters.
        SettingsCase{"Fraction", "12.5\r\n", 18, "6", true},
        SettingsCase{"RoundsToABoardCount", "3.5\r\n", 18, "6", true},
        SettingsCase{"OneCharacter", " 1 \r\n", 18, "6", true},
        SettingsCase{"BoardsTypedByHand", "8\r\n", 18, "6", true},
        SettingsCase{"NotThreeABoard", "13\r\n", 18, "6", true},
        // A width of no characters is no setting, like the 0 that refused choices used to write.
        SettingsCase{"NoDigits", "boards\r\n", 18, "6", true},
        SettingsCase{"Zero", " 0 \r\n", 18, "6", true},
        SettingsCase{"OnlyTheFirstLine", "9\r\n24\r\n", 9, "3", false},
        SettingsCase{"UnixLine", "21\n", 21, "7", false},
        SettingsCase{"TooLarge", "300\r\n", 18, "6", true},
        SettingsCase{"Negative", "-3\r\n", 18, "6", true}, SettingsCase{"Empty", "", 18, "6", true},
        SettingsCase{"Missing", std::nullopt, 18, "6", true},
        SettingsCase{"Binary", std::string("\x00\xff\x13\x88", 4), 18, "6", true},
        SettingsCase{"Huge", std::string(1 << 20, '9'), 18, "6", true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora
