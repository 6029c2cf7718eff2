#include "composition.h"

#include <QAction>

#include <utility>

#include "guide_view.h"
#include "page_list_view.h"
#include "virtual_sign_panel.h"
#include "window_placement.h"

namespace velora {

Composition::Composition(Services& services, LoopTimingSource timeCountingLoop,
                         NetworkPortMaker makeNetwork)
    : m_services(services),
      m_models(services, std::move(timeCountingLoop)),
      m_linkClock(services.clock),
      m_linkServices{services.dialogs, m_linkClock, services.files, services.program},
      m_ports(services.clock, makeNetwork),
      m_transmission(m_models.state, m_linkServices, m_ports.chosen),
      m_editorView(std::make_unique<EditorView>(m_models.editor, m_gate)) {
    // "Invio DATI": the transmission window's load handler opens the port its view has put in
    // the model, so the view must exist before the window is shown.
    m_models.editor.Command1.onClick = [this] {
        makeTransmissionView();
        m_transmission.window.show();
    };
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
    GuideView::addTo(*m_editorView, m_models.editor.mnuGuida);
    m_editorView->addPageList(
        new PageListView(m_models.pages, m_editorView->binder(), m_models.state, services.clock));
    // The other windows open from the editor's handlers; they follow once those have ended.
    QObject::connect(&m_gate, &EventGate::reopened, [this] { syncWindows(); });
}

Composition::~Composition() {
    // The views go first; the sign must not reach the face they held.
    m_ports.virtualSign.sign().onUploadReceived = nullptr;
}

EditorView& Composition::start() {
    m_editorView->binder().run([this] { m_models.editor.window.show(); });
    return *m_editorView;
}

// The other windows belong to the editor: the desktop keeps them above it, and they open
// centred on it.
void Composition::makeTransmissionView() {
    if (m_transmissionView) return;
    m_transmissionView = std::make_unique<TransmissionView>(
        m_transmission, m_ports, m_linkClock, m_linkServices, m_gate, m_editorView.get());
    placeOver(m_transmissionView.get(), m_editorView.get());
    // The virtual sign shows, in its face in the window, what it received once an upload ended.
    VirtualSign& sign = m_ports.virtualSign.sign();
    VirtualSignPanel* face = m_transmissionView->virtualSignPanel();
    sign.onUploadReceived = [face, &sign] { face->play(sign.records()); };
}

void Composition::syncWindows() {
    // The other windows' handlers can move the editor's controls (the settings window writes
    // its boards label) and the editor's handlers open the other windows.
    if (m_editorView) m_editorView->binder().sync();
    if (!m_settingsView && m_models.settings.window.visible()) {
        m_settingsView = std::make_unique<SettingsView>(m_models.settings, m_services, m_gate,
                                                        m_editorView.get());
        placeOver(m_settingsView.get(), m_editorView.get());
    }
    if (m_settingsView) m_settingsView->binder().sync();
    if (m_transmission.window.visible()) {
        makeTransmissionView();
        // The sequence may have changed in the editor since the window was drawn.
        m_transmission.showUploadSize();
    }
    if (m_transmissionView) m_transmissionView->binder().sync();
    if (!m_infoView && m_models.info.window.visible()) {
        m_infoView = std::make_unique<InfoView>(m_models.info, m_gate, m_editorView.get());
        placeOver(m_infoView.get(), m_editorView.get());
    }
    if (m_infoView) m_infoView->binder().sync();
}

}  // namespace velora
