#include "application.h"

#include <QApplication>

namespace velora {

Application::Application()
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {}

Application::~Application() = default;

EditorView& Application::start() {
    m_editorView = std::make_unique<EditorView>(m_editor, m_gate);
    m_transmissionView = std::make_unique<TransmissionView>(m_transmission, m_port, m_linkClock,
                                                            m_linkServices, m_gate);
    m_editor.Command1.onClick = [this] { m_transmission.window.show(); };
    m_program.atEnd([this] { m_port.close(); });
    m_editorView->binder().run([this] { m_editor.window.show(); });
    return *m_editorView;
}

void Application::repaintAll() {
    if (m_editorView) m_editorView->binder().sync();
    if (m_transmissionView) m_transmissionView->binder().sync();
}

}  // namespace velora
