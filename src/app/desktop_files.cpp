#include "desktop_files.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStringList>

#include "file_drop.h"
#include "qt_text.h"
#include "recent_files_menu.h"
#include "sequence_export.h"

namespace velora {
namespace {

const QString kRecentKey = QStringLiteral("recentFiles");
const QString kFolderKey = QStringLiteral("lastFolder");

}  // namespace

DesktopFiles::DesktopFiles(WindowModels& models, QtDialogs& dialogs, EditorView& editor,
                           EventGate& gate)
    : m_models(models), m_dialogs(dialogs), m_editor(editor), m_gate(gate) {
    const QSettings settings;
    std::vector<std::string> kept;
    for (const QString& path : settings.value(kRecentKey).toStringList())
        kept.push_back(pathFromQt(path));
    m_models.recentFiles.setPaths(kept);
    const QString folder = settings.value(kFolderKey).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) m_dialogs.setStartFolder(folder);

    // The File menu's own wiring keeps the list; the dialogs' folder follows here.
    auto remember = std::move(m_models.fileMenu.onFileUsed);
    m_models.fileMenu.onFileUsed = [this, remember](const std::string& path) {
        if (remember) remember(path);
        fileUsed(path);
    };

    auto* file = m_editor.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    m_recentMenu = new RecentFilesMenu(m_models.recentFiles, m_editor.binder(), file);
    file->insertMenu(m_editor.action("mnunextSalva"), m_recentMenu);
    m_models.recentFiles.onChanged = [this] {
        keepRecent();
        m_recentMenu->refresh();
    };

    m_export = new SequenceExport(m_editor, [this] { return m_dialogs.startFolder(); });

    new FileDrop(
        &m_editor, [this](const std::string& path) { open(path); },
        [this] { return m_gate.isOpen(); });
}

void DesktopFiles::open(const std::string& path) {
    // A name relative to the folder the program was started from is kept whole, so that the
    // recent files and the window's title still find it from elsewhere.
#ifdef _WIN32
    const std::string whole = pathFromQt(QFileInfo(pathToQt(path)).absoluteFilePath());
#else
    // On the name's own bytes: Qt's file classes would turn a name that is not UTF-8 into
    // another one.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::string whole = error ? path : absolute.lexically_normal().string();
#endif
    m_editor.binder().run([this, whole] { m_models.fileMenu.openFile(whole); });
}

void DesktopFiles::fileUsed(const std::string& path) {
    const QString folder = QFileInfo(pathToQt(path)).absolutePath();
    m_dialogs.setStartFolder(folder);
    QSettings().setValue(kFolderKey, folder);
}

void DesktopFiles::keepRecent() {
    QStringList paths;
    for (const std::string& path : m_models.recentFiles.paths()) paths << pathToQt(path);
    QSettings().setValue(kRecentKey, paths);
}

}  // namespace velora
