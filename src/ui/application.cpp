#include "application.h"

#include <QAction>
#include <QApplication>

namespace velora {

Application::Application()
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {}

Application::~Application() = default;

EditorView& Application::start() {
    m_editorView = std::make_unique<EditorView>(m_editor, m_gate);
    m_settingsView = std::make_unique<SettingsView>(m_settings, m_services, m_gate);
    // The settings window opens from the editor's menu and writes the editor's boards label, so
    // each window's handlers can move the other's controls.
    QObject::connect(&m_gate, &EventGate::reopened, m_settingsView.get(), [this] {
        m_settingsView->binder().sync();
        m_editorView->binder().sync();
    });
    // The desktop's usual keys, beside the menus' own access keys.
    m_editorView->action("mnunextApri")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_editorView->action("mnunextSalva")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_editorView->action("mnunextNuovo")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_editorView->binder().run([this] { m_editor.window.show(); });
    return *m_editorView;
}

void Application::repaintAll() {
    if (m_editorView) m_editorView->binder().sync();
    if (m_settingsView) m_settingsView->binder().sync();
}

}  // namespace velora
