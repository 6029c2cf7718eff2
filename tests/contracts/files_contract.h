#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/files.h"

namespace velora::testing {

// One implementation of Files under test, with a place of its own to write in.
class FilesUnderTest {
public:
    virtual ~FilesUnderTest() = default;
    virtual Files& files() = 0;
    // A path in the place, for a file that does not exist yet.
    virtual std::string path(const std::string& name) = 0;
    // A path where no file can be written.
    virtual std::string unwritable() = 0;
};

struct FilesMaker {
    const char* name;
    std::function<std::unique_ptr<FilesUnderTest>()> make;
};

inline void PrintTo(const FilesMaker& maker, std::ostream* out) {
    *out << maker.name;
}

// What every Files promises, the fake of the model's tests included, so that a fake cannot drift
// from the system's files that the program, the export and the command line use. A test file
// instantiates it with its makers:
//     INSTANTIATE_TEST_SUITE_P(Files, FilesContractTest, ::testing::Values(FilesMaker{...}),
//                              [](const auto& row) { return std::string(row.param.name); });
class FilesContractTest : public ::testing::TestWithParam<FilesMaker> {
protected:
    void SetUp() override { m_under = GetParam().make(); }
    Files& files() { return m_under->files(); }
    FilesUnderTest& under() { return *m_under; }

private:
    std::unique_ptr<FilesUnderTest> m_under;
};

// Sequence files and BASE.dat are Windows-1252 with CRLF: every byte comes back as written.
TEST_P(FilesContractTest, GivesBackTheBytesReplacedWhole) {
    const std::string path = under().path("pagine.inf");
    EXPECT_FALSE(files().exists(path));
    EXPECT_FALSE(files().read(path));
    const std::string bytes =
        std::string("18\r\nPagina \xE8\xB0 uno\r\n", 20) + std::string(1, '\0');
    ASSERT_TRUE(files().replace(path, bytes));
    EXPECT_TRUE(files().exists(path));
    EXPECT_EQ(files().read(path), bytes);
    // A shorter content leaves nothing of the longer one behind.
    ASSERT_TRUE(files().replace(path, "9\r\n"));
    EXPECT_EQ(files().read(path), "9\r\n");
    ASSERT_TRUE(files().replace(path, ""));
    EXPECT_EQ(files().read(path), "");
    EXPECT_TRUE(files().exists(path));
}

TEST_P(FilesContractTest, ReadsAtMostTheBytesAskedFor) {
    const std::string path = under().path("lungo.inf");
    ASSERT_TRUE(files().replace(path, "0123456789"));
    EXPECT_EQ(files().read(path, 4), "0123");
    EXPECT_EQ(files().read(path, 10), "0123456789");
    EXPECT_EQ(files().read(path, 11), "0123456789");
    EXPECT_EQ(files().read(path, 0), "");
}

// The settings are written into a folder that may not exist before the first save.
TEST_P(FilesContractTest, ReplacingMakesTheFoldersOnTheWay) {
    const std::string path = under().path("config/velora/BASE.dat");
    ASSERT_TRUE(files().replace(path, "24"));
    EXPECT_EQ(files().read(path), "24");
}

// A save that fails says so, and leaves nothing behind that could be read as the file.
TEST_P(FilesContractTest, AFailedReplaceSaysSo) {
    const std::string path = under().unwritable();
    EXPECT_FALSE(files().replace(path, "nuovo"));
    EXPECT_FALSE(files().exists(path));
    EXPECT_FALSE(files().read(path));
}

// Opening tells a missing name from a folder, and reads or replaces neither as a file.
TEST_P(FilesContractTest, TellsAFileFromAFolderAndFromNothing) {
    const std::string folder = under().path("sequenze");
    const std::string path = under().path("sequenze/pagine.inf");
    EXPECT_EQ(files().kind(path), Files::Kind::Missing);
    EXPECT_EQ(files().kind(folder), Files::Kind::Missing);
    ASSERT_TRUE(files().replace(path, "0,18\r\n"));
    EXPECT_EQ(files().kind(path), Files::Kind::File);
    EXPECT_EQ(files().kind(folder), Files::Kind::Folder);
    EXPECT_FALSE(files().exists(folder));
    EXPECT_FALSE(files().read(folder));
    EXPECT_FALSE(files().replace(folder, "0,18\r\n"));
    EXPECT_EQ(files().kind(folder), Files::Kind::Folder);
    EXPECT_EQ(files().read(path), "0,18\r\n");
}

}  // namespace velora::testing
