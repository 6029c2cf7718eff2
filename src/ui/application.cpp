#include "application.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "artwork.h"
#include "italian.h"
#include "qt_text.h"
#include "window_placement.h"

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

Application::Application()
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {
    speakItalian();
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
    // Some desktops define no key for Save As or Quit; those get the common ones.
    const auto keys = [this](const char* item, QKeySequence::StandardKey key, QKeySequence other) {
        QList<QKeySequence> sequences = QKeySequence::keyBindings(key);
        if (sequences.isEmpty()) sequences << other;
        m_editorView->action(item)->setShortcuts(sequences);
    };
    keys("mnunextApri", QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    keys("mnunextSalva", QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    keys("mnuNom", QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    keys("mnunextNuovo", QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N));
    keys("mnunextfinE", QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_editorView->binder().run([this] { m_editor.window.show(); });
    return *m_editorView;
}

// The other windows belong to the editor: the desktop keeps them above it, and they open
// centred on it.
void Application::makeTransmissionView() {
    if (m_transmissionView) return;
    m_transmissionView = std::make_unique<TransmissionView>(
        m_transmission, m_ports, m_linkClock, m_linkServices, m_gate, m_editorView.get());
    placeOver(m_transmissionView.get(), m_editorView.get());
}

void Application::repaintAll() {
    syncWindows();
}

void Application::syncWindows() {
    // The other windows' handlers can move the editor's controls (the settings window writes
    // its boards label) and the editor's handlers open the other windows.
    if (m_editorView) m_editorView->binder().sync();
    if (!m_settingsView && m_settings.window.visible()) {
        m_settingsView =
            std::make_unique<SettingsView>(m_settings, m_services, m_gate, m_editorView.get());
        placeOver(m_settingsView.get(), m_editorView.get());
    }
    if (m_settingsView) m_settingsView->binder().sync();
    if (m_transmission.window.visible()) {
        makeTransmissionView();
        // The sequence may have changed in the editor since the window was drawn.
        m_transmission.showUploadSize();
    }
    if (m_transmissionView) m_transmissionView->binder().sync();
    if (!m_infoView && m_info.window.visible()) {
        m_infoView = std::make_unique<InfoView>(m_info, m_gate, m_editorView.get());
        placeOver(m_infoView.get(), m_editorView.get());
    }
    if (m_infoView) m_infoView->binder().sync();
}

}  // namespace velora
