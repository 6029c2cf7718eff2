#include "qt_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "qt_text.h"

namespace velora {

std::optional<std::string> QtFiles::read(const std::string& path, std::size_t maxBytes) const {
    QFile file(pathToQt(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes =
        maxBytes == kWholeFile ? file.readAll() : file.read(static_cast<qint64>(maxBytes));
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

bool QtFiles::replace(const std::string& path, const std::string& bytes) {
    QSaveFile file(pathToQt(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    // Without a commit the temporary file is dropped and the old file stays as it was.
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) return false;
    return file.commit();
}

bool QtFiles::exists(const std::string& path) const { return QFileInfo(pathToQt(path)).isFile(); }

}  // namespace velora
