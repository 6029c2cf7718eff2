#pragma once

#include <memory>

#include <QWidget>

#include "busy_input.h"
#include "control_binder.h"
#include "link/inv_dat.h"
#include "link/port_finder.h"
#include "link_ports.h"
#include "pumping_clock.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace velora {

class VirtualSignPanel;

// The transmission window "Invio Dati": draws the InvDat model, offers the port choice, and
// keeps painting with the progress of an upload while the bytes go out; of the user's input only
// a click on "Annulla" reaches it meanwhile. The sign's replies, and a line lost, are handled
// after the exchange that is running, one receive event per byte.
class TransmissionView : public QWidget {
    Q_OBJECT

public:
    TransmissionView(InvDat& model, LinkPorts& ports, PumpingClock& clock, Services& services,
                     EventGate& gate, QWidget* parent = nullptr);
    ~TransmissionView() override;

    InvDat& model() { return m_model; }
    ControlBinder& binder() { return m_binder; }

    // The face of the virtual sign, shown while it is the port chosen.
    VirtualSignPanel* virtualSignPanel() const { return m_signPanel; }

    // Shows `name` in the port field and chooses it, as the user would: the port of the sign
    // chosen in the window "Insegne".
    void usePort(const QString& name);

Q_SIGNALS:
    // The progress of the exchange that is running was drawn.
    void progressShown();
    // "Invia a più insegne…" was pressed.
    void sendToManyRequested();

private:
    void buildPortChoice(QVBoxLayout* layout);
    void buildControls(QVBoxLayout* layout);
    void buildProgress(QVBoxLayout* layout);
    void buildJournal(QVBoxLayout* layout);
    void wireEvents();
    void restoreSettings();
    void storeSettings();
    // The widget's place stays while it is hidden, and its text wraps instead of widening the
    // window.
    static void keepPlace(QWidget* widget);
    void choosePort(const QString& name);
    void refreshPorts();
    QString portNameOf(const QString& text) const;
    void pump();
    void deliverReplies();
    void deliverLineLost();
    void exchangeEnded();
    void showSignPanel();
    // The note on pacing over a network, shown while a network address is the port chosen.
    void showNetworkNote();
    // Offers `name` first among the network addresses next time, when it is one.
    void rememberNetworkPort(const QString& name);

    InvDat& m_model;
    LinkPorts& m_ports;
    PumpingClock& m_clock;
    EventGate& m_gate;
    ControlBinder m_binder;
    PortFinder m_finder;
    QComboBox* m_portChoice = nullptr;
    QLabel* m_networkNote = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancel = nullptr;
    QPlainTextEdit* m_journal = nullptr;
    VirtualSignPanel* m_signPanel = nullptr;
    bool m_pumping = false;
    bool m_lineLostPending = false;
    bool m_busyCursor = false;
    // Last, so that it is gone first: the application-wide filter must not see the events of
    // the window's own destruction, when the window it asks is no longer whole.
    std::unique_ptr<BusyInput> m_busyInput;
};

}  // namespace velora
