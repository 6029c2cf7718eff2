#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QWidget>

#include "busy_input.h"
#include "core/services.h"
#include "event_gate.h"
#include "link/send_to_signs.h"
#include "link_ports.h"
#include "pumping_clock.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTimer;

namespace velora {

// "Invia a più insegne…": the signs to send the sequence to, ticked in a list, then one send
// after the other (SendToSigns) on ports of the window's own, and the table of how each went:
// sign, port, outcome, reason. The row of the sign being served shows how far it has got.
// While bytes go out the window keeps painting, and of the user's input only "Annulla" gets
// through.
class SendManyView : public QWidget {
    Q_OBJECT

public:
    // `sequence` is read when "Invia" is pressed; `signs` gives the signs offered, each time the
    // list is filled.
    // `makeNetwork` makes the port of a sign on the network, as for the transmission window.
    SendManyView(const Modulo1& sequence, std::function<std::vector<SignTarget>()> signs,
                 Services& services, EventGate& gate, QWidget* parent = nullptr,
                 NetworkPortMaker makeNetwork = &linkedNetworkPort);
    ~SendManyView() override;

    SendToSigns& round() { return m_round; }
    // Fills the list with the signs as they are now; the ticks of signs still offered stay.
    void refreshSigns();

    // Run before a round takes its ports and after it has let them go, so that a window holding
    // one of them can let it go meanwhile.
    std::function<void()> onPortsTaken;
    std::function<void()> onPortsReturned;

Q_SIGNALS:
    void roundEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void send();
    void cancel();
    // Runs a step of the round as a handler of the program: nothing else runs inside it.
    void runRound(const std::function<void()>& action);
    void showRound();
    void pump();

    const Modulo1& m_sequence;
    std::function<std::vector<SignTarget>()> m_signs;
    std::vector<SignTarget> m_offered;
    EventGate& m_gate;
    PumpingClock m_clock;
    Services m_services;
    LinkPorts m_ports;
    SendToSigns m_round;
    QLabel* m_about = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_saveLog = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
    QTimer* m_tick = nullptr;
    bool m_pumping = false;
    bool m_held = false;
    bool m_wasRunning = false;
    std::unique_ptr<BusyInput> m_busyInput;
};

}  // namespace velora
