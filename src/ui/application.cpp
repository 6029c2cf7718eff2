#include "application.h"

#include <QApplication>

#include "artwork.h"

namespace velora {

Application::Application()
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {
    QApplication::setWindowIcon(appIcon());
    m_info.openFrom(m_editor.mnueHelp);
    // The other windows open from the editor's handlers; they follow once those have ended.
    QObject::connect(&m_gate, &EventGate::reopened, [this] { syncWindows(); });
}

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
    syncWindows();
}

void Application::syncWindows() {
    if (m_transmissionView) m_transmissionView->binder().sync();
    if (!m_infoView && m_info.window.visible())
        m_infoView = std::make_unique<InfoView>(m_info, m_gate);
    if (m_infoView) m_infoView->binder().sync();
}

}  // namespace velora
