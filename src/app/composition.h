#pragma once

#include <memory>

#include "core/pacing.h"
#include "core/services.h"
#include "editor_view.h"
#include "event_gate.h"
#include "info_view.h"
#include "link/inv_dat.h"
#include "link_ports.h"
#include "pumping_clock.h"
#include "settings_view.h"
#include "transmission_view.h"
#include "window_models.h"

namespace velora {

// The program's windows over the services it is given: the window models wired to each other
// (WindowModels), the link to the sign, and the Qt views. The desktop program hands in the Qt
// services, UI tests hand in fakes, so both run the same wiring. The editor's view exists from
// the start; the view of another window is made the first time that window is shown, which keeps
// the start of the program short (listing the serial ports alone reads hundreds of device files).
class Composition {
public:
    // `makeNetwork` makes the link's network port the first time a network address is chosen.
    Composition(Services& services, LoopTimingSource timeCountingLoop,
                NetworkPortMaker makeNetwork = &linkedNetworkPort);
    Composition(const Composition&) = delete;
    Composition& operator=(const Composition&) = delete;
    ~Composition();

    // Shows the editor window, whose load handler runs the start-up.
    EditorView& start();

    // Brings the views of the windows up to date with their models, making the view of a window
    // shown for the first time.
    void syncWindows();

    Modulo1& state() { return m_models.state; }
    WindowModels& models() { return m_models; }
    EventGate& gate() { return m_gate; }
    LinkPorts& ports() { return m_ports; }
    EditorView& editorView() { return *m_editorView; }
    InfoView* info() { return m_infoView.get(); }
    InvDat& transmission() { return m_transmission; }
    TransmissionView* transmissionView() { return m_transmissionView.get(); }
    SettingsView* settings() { return m_settingsView.get(); }

private:
    void makeTransmissionView();

    Services& m_services;
    EventGate m_gate;
    WindowModels m_models;
    // The link to the sign: its waits keep the windows painted with the upload's progress.
    PumpingClock m_linkClock;
    Services m_linkServices;
    LinkPorts m_ports;
    InvDat m_transmission;
    std::unique_ptr<EditorView> m_editorView;
    std::unique_ptr<InfoView> m_infoView;
    std::unique_ptr<TransmissionView> m_transmissionView;
    std::unique_ptr<SettingsView> m_settingsView;
};

}  // namespace velora
