#include "contracts/files_contract.h"

#include "fakes/fake_files.h"

namespace velora::testing {
namespace {

class FakeFilesUnderTest : public FilesUnderTest {
public:
    Files& files() override { return m_files; }
    std::string path(const std::string& name) override { return "/fake/" + name; }
    std::string unwritable() override {
        const std::string path = "/fake/locked.inf";
        m_files.failing.insert(path);
        return path;
    }

private:
    FakeFiles m_files;
};

INSTANTIATE_TEST_SUITE_P(Files, FilesContractTest,
                         ::testing::Values(FilesMaker{
                             "Fake", [] { return std::make_unique<FakeFilesUnderTest>(); }}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora::testing
