#include <gtest/gtest.h>

#include "core/windows1252.h"
#include "fakes/fake_services.h"
#include "window_models.h"

namespace velora {
namespace {

const std::string kOnePage = "1,18\r\n1,\"uno\",4\r\n1,\"due\",4\r\n";

class RecentFilesTest : public ::testing::Test {
protected:
    std::vector<std::string> names(std::initializer_list<const char*> list) {
        return {list.begin(), list.end()};
    }

    testing::FakeServices fake;
    WindowModels windows{fake.services, fake.loopTiming()};
    RecentFiles& recent = windows.recentFiles;
    int changes = 0;
};

TEST_F(RecentFilesTest, OpenedAndSavedFilesComeFirstWithoutRepeatsAndAtMostEight) {
    recent.onChanged = [this] { ++changes; };
    for (int n = 1; n <= 9; ++n) {
        const std::string path = "/seq/" + std::to_string(n) + ".inf";
        fake.files.contents[path] = kOnePage;
        ASSERT_TRUE(windows.fileMenu.openFile(path));
    }
    EXPECT_EQ(recent.paths(), names({"/seq/9.inf", "/seq/8.inf", "/seq/7.inf", "/seq/6.inf",
                                     "/seq/5.inf", "/seq/4.inf", "/seq/3.inf", "/seq/2.inf"}));
    EXPECT_EQ(changes, 9);

    // Saving one that is on the list brings it to the head, once.
    fake.dialogs.pathAnswers.push_back("/seq/5.inf");
    fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);  // overwrite
    windows.editor.mnuNom.click();
    EXPECT_EQ(recent.paths().front(), "/seq/5.inf");
    EXPECT_EQ(recent.paths().size(), 8u);
    EXPECT_EQ(std::count(recent.paths().begin(), recent.paths().end(), "/seq/5.inf"), 1);
}

TEST_F(RecentFilesTest, AFileThatFailsIsNotRemembered) {
    fake.files.contents["/seq/rotto.inf"] = "non una sequenza";
    EXPECT_FALSE(windows.fileMenu.openFile("/seq/rotto.inf"));
    fake.files.failing.insert("/seq/sola-lettura.inf");
    fake.dialogs.pathAnswers.push_back("/seq/sola-lettura.inf");
    windows.state.PageCount = 1;
    windows.editor.mnuNom.click();
    EXPECT_TRUE(recent.paths().empty());
}

TEST_F(RecentFilesTest, KeptListIsCleanedUp) {
    recent.setPaths(names({"/a.inf", "", "/b.inf", "/a.inf", "/c.inf", "/d.inf", "/e.inf", "/f.inf",
                           "/g.inf", "/h.inf", "/i.inf"}));
    EXPECT_EQ(recent.paths(), names({"/a.inf", "/b.inf", "/c.inf", "/d.inf", "/e.inf", "/f.inf",
                                     "/g.inf", "/h.inf"}));
}

TEST_F(RecentFilesTest, ChoosingOneOpensItAsOpenDoes) {
    fake.files.contents["/seq/uno.inf"] = kOnePage;
    recent.setPaths(names({"/seq/altro.inf", "/seq/uno.inf"}));
    fake.files.contents["/seq/altro.inf"] = kOnePage;
    recent.choose("/seq/uno.inf");
    EXPECT_EQ(windows.state.CurrentFilePath, "/seq/uno.inf");
    EXPECT_EQ(windows.state.PageCount, 1);
    EXPECT_EQ(windows.editor.VScroll1.value(), 2);
    EXPECT_TRUE(windows.editor.Timer2.enabled());
    EXPECT_EQ(recent.paths(), names({"/seq/uno.inf", "/seq/altro.inf"}));
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(RecentFilesTest, AMissingOneIsTakenOffWithAMessage) {
    recent.setPaths(names({"/seq/via.inf", "/seq/resta.inf"}));
    fake.files.contents["/seq/resta.inf"] = kOnePage;
    recent.onChanged = [this] { ++changes; };
    recent.choose("/seq/via.inf");
    EXPECT_EQ(recent.paths(), names({"/seq/resta.inf"}));
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(windows1252::toUtf8(fake.dialogs.messages().front()),
              "Il file /seq/via.inf non c'è più: lo tolgo dai file recenti.");
    EXPECT_TRUE(windows.state.CurrentFilePath.empty());
}

TEST_F(RecentFilesTest, OneThatCannotBeReadStaysAndOpenSaysWhy) {
    fake.files.contents["/seq/rotto.inf"] = "non una sequenza";
    recent.setPaths(names({"/seq/rotto.inf"}));
    recent.choose("/seq/rotto.inf");
    EXPECT_EQ(recent.paths(), names({"/seq/rotto.inf"}));
    EXPECT_EQ(fake.dialogs.messages(), std::vector<std::string>{windows1252::fromUtf8(
                                           "Il file \"/seq/rotto.inf\" non è una sequenza.")});
}

}  // namespace
}  // namespace velora
