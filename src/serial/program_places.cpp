#include "program_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "editor/editor_window.h"
#include "signs/sign_list.h"
#include "system_serial_port.h"

namespace velora {
namespace {

// Names from Qt's world into the system's bytes, as the rest of the program keeps them.
std::string systemName(const QString& path) {
#ifdef _WIN32
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

}  // namespace

void useProgramNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Velora"));
    QCoreApplication::setOrganizationName(QStringLiteral("Velora"));
}

std::string configFolder() {
    return systemName(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

std::string baseDatLocation() {
    const QString here = QString::fromLatin1(EditorWindow::kSettingsFile);
    if (QFileInfo::exists(here)) return EditorWindow::kSettingsFile;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty()) return EditorWindow::kSettingsFile;
    return systemName(QDir(folder).filePath(here));
}

std::string signsFileLocation() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty()) return {};
    return systemName(QDir(folder).filePath(QString::fromLatin1(kSignsFileName)));
}

std::string rememberedPort() {
    const QVariant remembered = QSettings().value(QLatin1String(kRememberedPortKey));
    if (remembered.isValid()) return remembered.toString().toStdString();
    return SystemSerialPort::defaultPort();
}

}  // namespace velora
