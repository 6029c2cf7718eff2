#pragma once

#include <memory>

#include "core/pacing.h"
#include "core/services.h"
#include "editor_view.h"
#include "event_gate.h"
#include "info_view.h"
#include "link/inv_dat.h"
#include "link_ports.h"
#include "plan/plan_window.h"
#include "plan_link.h"
#include "plan_view.h"
#include "pumping_clock.h"
#include "send_many_view.h"
#include "settings_view.h"
#include "signs_view.h"
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

    // Shows the editor window, whose load handler runs the start-up; the pacing delay is
    // calibrated once the window has been painted.
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
    PlanWindow& plan() { return m_plan; }
    PlanView* planView() { return m_planView.get(); }
    SignsView* signs() { return m_signsView.get(); }
    SendManyView* sendMany() { return m_sendManyView.get(); }

private:
    void makeTransmissionView();
    void makeSendManyView();
    void wirePlan();
    void syncPlan();
    // The transmission window talks to the sign in use: when another sign is chosen (or the
    // current one given another port), its port is chosen there.
    void followCurrentSign();

    Services& m_services;
    EventGate m_gate;
    WindowModels m_models;
    // The link to the sign: its waits keep the windows painted with the upload's progress.
    PumpingClock m_linkClock;
    Services m_linkServices;
    // Makes the link's network ports: the transmission window's and the send to many's.
    NetworkPortMaker m_makeNetwork;
    LinkPorts m_ports;
    InvDat m_transmission;
    std::unique_ptr<EditorView> m_editorView;
    std::unique_ptr<InfoView> m_infoView;
    std::unique_ptr<TransmissionView> m_transmissionView;
    std::unique_ptr<SettingsView> m_settingsView;
    // The window "Programma", which sends through the transmission window.
    PlanWindow m_plan{m_services};
    std::unique_ptr<PlanLink> m_planLink;
    std::unique_ptr<PlanView> m_planView;
    std::string m_planSign;
    std::unique_ptr<SignsView> m_signsView;
    std::string m_signPort;  // the sign's port last chosen in the transmission window
    // "Invia a più insegne…", over the transmission window: gone before it.
    std::unique_ptr<SendManyView> m_sendManyView;
};

}  // namespace velora
