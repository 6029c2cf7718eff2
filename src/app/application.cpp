#include "application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

#include "artwork.h"
#include "italian.h"
#include "qt_text.h"

namespace velora {
namespace {

// BASE.dat stays in the folder the program is started from when it is there, as installations
// have always kept it. A program started from a desktop menu has no useful folder of its own:
// its settings live in the user's configuration folder.
std::string settingsLocation() {
    const QString here = QString::fromLatin1(EditorWindow::kSettingsFile);
    if (QFileInfo::exists(here)) return EditorWindow::kSettingsFile;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty()) return EditorWindow::kSettingsFile;
    return pathFromQt(QDir(folder).filePath(here));
}

}  // namespace

Application::Application(LoopTimingSource timeCountingLoop, NetworkPortMaker makeNetwork)
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {
    speakItalian();
    QApplication::setWindowIcon(appIcon());
    m_windows = std::make_unique<Composition>(m_services, std::move(timeCountingLoop), makeNetwork);
    m_windows->models().editor.setSettingsFile(settingsLocation());
    m_program.atEnd([this] { m_windows->ports().close(); });
    m_desktopFiles = std::make_unique<DesktopFiles>(m_windows->models(), m_dialogs,
                                                    m_windows->editorView(), m_windows->gate());
}

Application::~Application() = default;

EditorView& Application::start(const std::string& file) {
    EditorView& editor = m_windows->start();
    if (!file.empty()) m_desktopFiles->open(file);
    return editor;
}

void Application::repaintAll() {
    // Dialogs and long waits can come before the windows are composed.
    if (m_windows) m_windows->syncWindows();
}

}  // namespace velora
