// The files contract against the Qt files of the program and the command line.
#include <QFile>
#include <QTemporaryDir>

#include "contracts/files_contract.h"
#include "qt_files.h"

namespace velora::testing {
namespace {

class QtFilesUnderTest : public FilesUnderTest {
public:
    Files& files() override { return m_files; }
    std::string path(const std::string& name) override {
        return m_dir.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string unwritable() override {
        // A folder cannot be made where a file is: whoever runs the tests, root included.
        QFile plain(m_dir.filePath(QStringLiteral("file")));
        if (!plain.open(QIODevice::WriteOnly)) return {};
        return path("file/BASE.dat");
    }

private:
    QTemporaryDir m_dir;
    QtFiles m_files;
};

INSTANTIATE_TEST_SUITE_P(Files, FilesContractTest,
                         ::testing::Values(FilesMaker{
                             "Qt", [] { return std::make_unique<QtFilesUnderTest>(); }}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora::testing
