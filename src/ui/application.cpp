#include "application.h"

#include <QApplication>

namespace velora {

Application::Application()
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {}

Application::~Application() = default;

EditorView& Application::start() {
    m_editorView = std::make_unique<EditorView>(m_editor, m_gate);
    m_editorView->binder().run([this] { m_editor.window.show(); });
    return *m_editorView;
}

void Application::repaintAll() {
    if (m_editorView) m_editorView->binder().sync();
}

}  // namespace velora
