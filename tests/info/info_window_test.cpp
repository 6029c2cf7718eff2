#include "info/info_window.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "window_models.h"

namespace velora {
namespace {

class InfoWindowTest : public ::testing::Test {
protected:
    testing::FakeServices fake;
    WindowModels windows{fake.services, fake.loopTiming()};
    Button& helpMenu = windows.editor.mnueHelp;
    InfoWindow& info = windows.info;
};

TEST_F(InfoWindowTest, HelpMenuShowsTheWindowAndChiudiUnloadsIt) {
    EXPECT_FALSE(info.window.visible());
    for (int round = 0; round < 2; ++round) {
        helpMenu.click();
        EXPECT_TRUE(info.window.loaded());
        EXPECT_TRUE(info.window.visible());
        EXPECT_EQ(info.window.caption(), "Help");
        EXPECT_EQ(info.Command1.caption(), "Chiudi");
        EXPECT_EQ(info.Label3.caption(), "Guida di Velora");
        EXPECT_FALSE(info.Label1.caption().empty());

        info.Command1.click();
        EXPECT_FALSE(info.window.loaded());
        EXPECT_FALSE(info.window.visible());
    }
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(InfoWindowTest, HelpMenuOnAnOpenWindowBringsItToTheFront) {
    helpMenu.click();
    const auto raised = info.window.raiseRequests();
    helpMenu.click();
    EXPECT_GT(info.window.raiseRequests(), raised);
    EXPECT_TRUE(info.window.visible());
}

TEST_F(InfoWindowTest, OneClickOnTheLinkOpensTheGuideOnce) {
    int guides = 0;
    windows.editor.mnuGuida.onClick = [&guides] { ++guides; };
    helpMenu.click();
    info.Label3_Click();
    EXPECT_EQ(guides, 1);
    EXPECT_TRUE(fake.program.openedPages.empty());
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_TRUE(info.window.visible());
}

}  // namespace
}  // namespace velora
