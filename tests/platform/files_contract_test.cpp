#include "contracts/files_contract.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/system_files.h"

namespace velora::testing {
namespace {

// The system's files in a folder of their own, removed afterwards.
class SystemFilesUnderTest : public FilesUnderTest {
public:
    SystemFilesUnderTest() {
        static std::atomic<int> made{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_folder = std::filesystem::temp_directory_path() /
                   ("velora-files-" + std::to_string(stamp) + "-" + std::to_string(++made));
        std::filesystem::create_directories(m_folder);
    }
    ~SystemFilesUnderTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    Files& files() override { return m_files; }
    std::string path(const std::string& name) override { return (m_folder / name).string(); }
    std::string unwritable() override {
        // A folder cannot be made where a file is: whoever runs the tests, root included.
        std::ofstream(m_folder / "file") << "x";
        return path("file/BASE.dat");
    }

private:
    std::filesystem::path m_folder;
    SystemFiles m_files;
};

INSTANTIATE_TEST_SUITE_P(Files, FilesContractTest,
                         ::testing::Values(FilesMaker{
                             "System", [] { return std::make_unique<SystemFilesUnderTest>(); }}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora::testing
