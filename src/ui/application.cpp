#include "application.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

#include "artwork.h"
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

Application::Application(LoopTimingSource timeCountingLoop)
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }),
      m_timeCountingLoop(std::move(timeCountingLoop)) {
    QApplication::setWindowIcon(appIcon());
    m_editor.setSettingsFile(settingsLocation());
    m_info.openFrom(m_editor.mnueHelp);
    // The other windows open from the editor's handlers; they follow once those have ended.
    QObject::connect(&m_gate, &EventGate::reopened, [this] { syncWindows(); });
}

Application::~Application() = default;

EditorView& Application::start() {
    m_editorView = std::make_unique<EditorView>(m_editor, m_gate);
    // The transmission window's load handler opens the port its view has put in the model, so
    // the view must exist before the window is shown.
    m_editor.Command1.onClick = [this] {
        makeTransmissionView();
        m_transmission.window.show();
    };
    m_program.atEnd([this] { m_ports.close(); });
    // The desktop's usual keys, beside the menus' own access keys.
    m_editorView->action("mnunextApri")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_editorView->action("mnunextSalva")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_editorView->action("mnunextNuovo")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_editorView->binder().run([this] { m_editor.window.show(); });
    return *m_editorView;
}

void Application::makeTransmissionView() {
    if (!m_transmissionView)
        m_transmissionView = std::make_unique<TransmissionView>(
            m_transmission, m_ports, m_linkClock, m_linkServices, m_gate);
}

void Application::repaintAll() {
    syncWindows();
}

void Application::syncWindows() {
    // The other windows' handlers can move the editor's controls (the settings window writes
    // its boards label) and the editor's handlers open the other windows.
    if (m_editorView) m_editorView->binder().sync();
    if (!m_settingsView && m_settings.window.visible())
        m_settingsView = std::make_unique<SettingsView>(m_settings, m_services, m_gate);
    if (m_settingsView) m_settingsView->binder().sync();
    if (m_transmission.window.visible()) {
        makeTransmissionView();
        // The sequence may have changed in the editor since the window was drawn.
        m_transmission.showUploadSize();
    }
    if (m_transmissionView) m_transmissionView->binder().sync();
    if (!m_infoView && m_info.window.visible())
        m_infoView = std::make_unique<InfoView>(m_info, m_gate);
    if (m_infoView) m_infoView->binder().sync();
}

}  // namespace velora
