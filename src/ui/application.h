#pragma once

#include <memory>

#include "core/modulo1.h"
#include "core/pacing.h"
#include "core/services.h"
#include "editor/editor_window.h"
#include "editor_view.h"
#include "event_gate.h"
#include "files/file_menu.h"
#include "info/info_window.h"
#include "info_view.h"
#include "link/inv_dat.h"
#include "link_ports.h"
#include "preview/preview.h"
#include "pumping_clock.h"
#include "qt_clock.h"
#include "qt_dialogs.h"
#include "qt_files.h"
#include "qt_program.h"
#include "settings/salva_impost.h"
#include "settings_view.h"
#include "transmission_view.h"

namespace velora {

// The desktop program: the Qt services, the shared state, the window models and their views.
class Application {
public:
    // `timeCountingLoop` answers the timing of the start-up's counting loop (see CalibrateDelay).
    explicit Application(LoopTimingSource timeCountingLoop);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Creates and shows the editor window, whose load handler runs the start-up.
    EditorView& start();

    Modulo1& state() { return m_state; }
    Services& services() { return m_services; }
    EventGate& gate() { return m_gate; }
    QtProgram& program() { return m_program; }
    EditorView* editor() { return m_editorView.get(); }
    InfoView* info() { return m_infoView.get(); }
    InvDat& transmission() { return m_transmission; }
    TransmissionView* transmissionView() { return m_transmissionView.get(); }
    SettingsView* settings() { return m_settingsView.get(); }

private:
    void repaintAll();
    void makeTransmissionView();
    // Brings the views of the other windows up to date with their models; a view is made the
    // first time its window is shown, which keeps the start of the program short (listing the
    // serial ports alone reads hundreds of device files).
    void syncWindows();

    EventGate m_gate;
    QtDialogs m_dialogs;
    QtClock m_clock;
    QtFiles m_files;
    QtProgram m_program;
    Services m_services{m_dialogs, m_clock, m_files, m_program};
    Modulo1 m_state;
    LoopTimingSource m_timeCountingLoop;
    EditorWindow m_editor{m_state, m_services, m_timeCountingLoop};
    std::unique_ptr<EditorView> m_editorView;
    Preview m_preview{m_editor};
    InfoWindow m_info{m_services};
    std::unique_ptr<InfoView> m_infoView;
    // The link to the sign: its waits keep the windows painted with the upload's progress.
    PumpingClock m_linkClock{m_clock};
    Services m_linkServices{m_dialogs, m_linkClock, m_files, m_program};
    LinkPorts m_ports{m_clock};
    InvDat m_transmission{m_state, m_linkServices, m_ports.chosen};
    std::unique_ptr<TransmissionView> m_transmissionView;
    FileMenu m_fileMenu{m_editor};
    Salva_Impost m_settings{m_editor};
    std::unique_ptr<SettingsView> m_settingsView;
};

}  // namespace velora
