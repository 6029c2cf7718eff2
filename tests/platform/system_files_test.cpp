// What the system's files do beyond the contract: full disks, links, pipes, devices and names
// that are not UTF-8.
#include "platform/system_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace velora {
namespace {

namespace fs = std::filesystem;

class SystemFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/velora-system-files-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const std::string& name) const { return folder + "/" + name; }
    static std::string contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> names() const {
        std::vector<std::string> found = folderNames(folder);
        std::sort(found.begin(), found.end());
        return found;
    }

    std::string folder;
    SystemFiles files;
};

// Runs `write` in a child process whose files cannot grow past `limit` bytes, as on a full disk
// (the signal such a write raises is ignored, so the write fails instead); its exit code.
int withFileSizeLimit(rlim_t limit, const std::function<bool()>& write) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) _exit(3);
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST_F(SystemFilesTest, AFullDiskLeavesTheOldFileAndNothingElse) {
    const std::string target = path("vetrina.inf");
    ASSERT_TRUE(files.replace(target, "1,18\r\nvecchio\r\n"));
    const std::string large(64 * 1024, 'x');
    // The first write already fails; then one that fails only part of the way.
    for (const rlim_t limit : {rlim_t{0}, rlim_t{4096}}) {
        SCOPED_TRACE(limit);
        EXPECT_EQ(withFileSizeLimit(limit, [&] { return !writeFileWhole(target, large); }), 1);
        EXPECT_EQ(contents(target), "1,18\r\nvecchio\r\n");
        EXPECT_EQ(names(), std::vector<std::string>{"vetrina.inf"});
    }
    // A new file on a full disk is not there at all, rather than cut.
    EXPECT_EQ(withFileSizeLimit(4096, [&] { return files.replace(path("nuovo.inf"), large); }), 1);
    EXPECT_EQ(names(), std::vector<std::string>{"vetrina.inf"});
    // Within the limit the same write goes through.
    EXPECT_EQ(withFileSizeLimit(large.size(), [&] { return files.replace(target, large); }), 0);
    EXPECT_EQ(contents(target), large);
}

// BASE.dat that is a link to another file: the setting is saved into a file of its own, and the
// file the link named keeps what it held.
TEST_F(SystemFilesTest, ALinkIsReplacedNotWrittenThrough) {
    const std::string elsewhere = path("altro.txt");
    const std::string link = path("BASE.dat");
    ASSERT_TRUE(files.replace(elsewhere, "da non toccare"));
    fs::create_symlink(elsewhere, link);
    EXPECT_EQ(files.read(link), "da non toccare");
    ASSERT_TRUE(files.replace(link, "24\r\n"));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(contents(link), "24\r\n");
    EXPECT_EQ(contents(elsewhere), "da non toccare");
}

TEST_F(SystemFilesTest, AReplacedFileKeepsItsPermissions) {
    const std::string target = path("vetrina.inf");
    ASSERT_TRUE(files.replace(target, "1"));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(files.replace(target, "2"));
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Nothing to read a sequence from is read, and a named pipe without a writer does not hold the
// reader: opening it would wait for ever.
TEST_F(SystemFilesTest, PipesDevicesAndFoldersAreNotReadAsFiles) {
    const std::string pipe = path("pipe.inf");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::string path;
        Files::Kind kind;
    };
    for (const Case& c : {Case{pipe, Files::Kind::Other}, Case{"/dev/null", Files::Kind::Other},
                          Case{"/dev/zero", Files::Kind::Other}, Case{folder, Files::Kind::Folder},
                          Case{path("manca.inf"), Files::Kind::Missing},
                          Case{path("manca/dentro.inf"), Files::Kind::Missing}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.kind(c.path), c.kind);
        EXPECT_FALSE(files.read(c.path, 16));
        EXPECT_FALSE(files.exists(c.path));
    }
}

// A name written in Latin-1, as older systems write them, names its own file: nothing decodes it.
TEST_F(SystemFilesTest, NamesAreTheSystemsBytes) {
    const std::string latin1 = path("caf\xe9.inf");
    ASSERT_TRUE(files.replace(latin1, "0,18\r\n"));
    EXPECT_EQ(names(), std::vector<std::string>{"caf\xe9.inf"});
    EXPECT_EQ(files.kind(latin1), Files::Kind::File);
    EXPECT_EQ(files.read(latin1), "0,18\r\n");
    EXPECT_EQ(files.kind(path("caf\xc3\xa9.inf")), Files::Kind::Missing);
    EXPECT_TRUE(removeFile(latin1));
    EXPECT_TRUE(names().empty());
}

}  // namespace
}  // namespace velora
