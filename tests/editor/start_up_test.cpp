#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "fakes/fake_services.h"

namespace velora {
namespace {

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest() { fake.clock.autoAdvance = 0.05; }

    testing::FakeServices fake;
    Modulo1 state;
};

TEST_F(StartUpTest, FormLoadLeavesAnEmptyTwoRowEditor) {
    fake.files.contents["BASE.dat"] = "24\r\n";
    state.CurrentFilePath = "old.inf";
    state.CurrentPause = 9;
    state.PageCount = 4;
    EditorWindow editor(state, fake.services, fake.loopTiming());
    editor.Form_Load();

    EXPECT_TRUE(state.CurrentFilePath.empty());
    EXPECT_TRUE(editor.Option1.selected());
    EXPECT_FALSE(editor.Option2.selected());
    EXPECT_EQ(state.CurrentPause, 3);
    EXPECT_EQ(state.PageCount, 0);
    EXPECT_FALSE(editor.Text6.visible());
    // The change rules ran once with the row width of BASE.dat.
    EXPECT_EQ(editor.LenRiga1.caption(), "0");
    EXPECT_EQ(editor.LenRiga2.caption(), "0");
    EXPECT_EQ(editor.LenRigaUn.caption(), "0");
    EXPECT_EQ(editor.Text1.maxLength(), 24);
    EXPECT_EQ(editor.Text2.maxLength(), 24);
    EXPECT_EQ(editor.Text3.maxLength(), 12);  // a fixed big row is half a row
}

// The calibration runs apart from the window's load, once the window is up.
TEST_F(StartUpTest, CalibrationTimesTheLoopAfterTheLoad) {
    fake.files.contents["BASE.dat"] = "15";
    EditorWindow editor(state, fake.services, fake.loopTiming());
    editor.Form_Load();
    EXPECT_EQ(state.DelayLoopCount, 0);
    editor.calibrate();
    EXPECT_DOUBLE_EQ(state.DelayLoopCount, 400000);  // 20000 / 0.05, the fake loop's time
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(StartUpTest, FailedCalibrationIsReportedAndTheEditorGoesOn) {
    fake.clock.autoAdvance = 0;  // the clock does not advance: division by zero
    fake.files.contents["BASE.dat"] = "15";
    EditorWindow editor(state, fake.services, fake.loopTiming());
    editor.Form_Load();
    EXPECT_TRUE(fake.dialogs.messages().empty());
    editor.calibrate();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("(11)."), std::string::npos);
    EXPECT_EQ(state.RowChars, 15);
    EXPECT_EQ(editor.Text1.maxLength(), 15);
}

}  // namespace
}  // namespace velora
