#include "qt_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "qt_text.h"

namespace velora {

std::optional<std::string> QtFiles::read(const std::string& path, std::size_t maxBytes) const {
    // Only a regular file is read: opening a named pipe waits for a writer that may never come,
    // and a device has no end.
    if (!QFileInfo(pathToQt(path)).isFile()) return std::nullopt;
    QFile file(pathToQt(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes =
        maxBytes == kWholeFile ? file.readAll() : file.read(static_cast<qint64>(maxBytes));
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

bool QtFiles::replace(const std::string& path, const std::string& bytes) {
    const QString target = pathToQt(path);
    // The configuration folder may not exist before the first save of the settings.
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir(folder).exists() && !QDir().mkpath(folder)) return false;

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // Every step is checked before the commit: a small content sits in QSaveFile's buffer until
    // the flush, and a disk that is full refuses it only then, which commit() does not always
    // notice. Without a commit the temporary file is dropped and the old file stays as it was.
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool QtFiles::exists(const std::string& path) const {
    return QFileInfo(pathToQt(path)).isFile();
}

}  // namespace velora
