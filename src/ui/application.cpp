#include "application.h"

#include <QApplication>

#include "artwork.h"

namespace velora {

Application::Application()
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {
    QApplication::setWindowIcon(appIcon());
    m_info.openFrom(m_editor.mnueHelp);
}

Application::~Application() = default;

EditorView& Application::start() {
    m_editorView = std::make_unique<EditorView>(m_editor, m_gate);
    m_infoView = std::make_unique<InfoView>(m_info, m_gate);
    // The help window opens from the editor's menu, inside the editor's handler.
    QObject::connect(&m_gate, &EventGate::reopened, m_infoView.get(),
                     [this] { m_infoView->binder().sync(); });
    m_editorView->binder().run([this] { m_editor.window.show(); });
    return *m_editorView;
}

void Application::repaintAll() {
    if (m_editorView) m_editorView->binder().sync();
    if (m_infoView) m_infoView->binder().sync();
}

}  // namespace velora
