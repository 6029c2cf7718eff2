#include "inv_dat.h"

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/windows1252.h"
#include "ritardo.h"
#include "sign_messages.h"

namespace velora {
namespace {

// Marks an exchange as running and puts the pointer back however it ends.
class ExchangeScope {
public:
    ExchangeScope(bool& exchanging, int& pointer) : m_exchanging(exchanging), m_pointer(pointer) {
        m_exchanging = true;
        m_pointer = Button::kHourglass;
    }
    ~ExchangeScope() {
        m_exchanging = false;
        m_pointer = Button::kDefaultPointer;
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    bool& m_exchanging;
    int& m_pointer;
};

}  // namespace

InvDat::InvDat(Modulo1& state, Services& services, SerialPort& port)
    : MSComm1(port), m_state(state), m_services(services) {
    window.setCaption("Invio Dati");
    describe(Command7, "Connetti", "Connette COM1 (RS232) o Modem ad KDM");
    describe(CMDINVIO, "INVIO DATI", "Invio dei DATI sul Dispositivo Connesso");
    describe(Command3, "Collega e Invia Data/Ora",
             "Connette ed Invia Data & Ora x sincronizzare gli Orari-Date");
    describe(Command1, "Esci", "Esce dalla Connessione e Disconnette");
    describe(Frame1, "Tipo di Connessione", "");
    describe(Option1, "Connessione Seriale", "Via COM1 RS232");
    describe(Option2, "Connessione con Modem", "Connette Tramite Modem");
    describe(Coll_OK, "Collegamento OK", "");
    describe(No_Collegam, "Non c'è Collegamento", "");
    describe(Manca_Dati, "NON ci sono DATI invio inutile", "");
    describe(Trasm_OK, "Inviato", "");
    describe(Label7, "0", "");
    OptionButton::group({&Option1, &Option2});

    window.onLoad = [this] { Form_Load(); };
    // However the window goes, the port goes with it.
    window.onUnload = [this] { MSComm1.setPortOpen(false); };
    Command7.onClick = [this] { Command7_Click(); };
    CMDINVIO.onClick = [this] { CMDINVIO_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    MSComm1.onComm = [this] { MSComm1_OnComm(); };
}

void InvDat::Form_Load() {
    try {
        ApriPorta();
    } catch (const RunTimeError&) {
        reportOpenFailure();
    }
    for (Label* label : {&Coll_OK, &Trasm_OK, &Manca_Dati, &No_Collegam, &Label7})
        label->setVisible(false);
    Option1.setSelected(true);
    CMDINVIO.setEnabled(false);
}

void InvDat::ApriPorta() {
    MSComm1.setPortOpen(false);
    MSComm1.setCommPort(m_portName);
    MSComm1.setSettings("9600,N,8,1");
    MSComm1.setInputLen(0);
    MSComm1.setPortOpen(true);
    // Every received byte raises the receive event, from the moment the port opens.
    MSComm1.setRThreshold(1);
}

void InvDat::reportOpenFailure() {
    std::string text = "Impossibile aprire la porta " + m_portName;
    const std::string reason = MSComm1.errorText();
    if (!reason.empty()) text += " (" + reason + ")";
    text += ".\nScegliere un'altra porta.";
    m_services.dialogs.message(text);
}

bool InvDat::ensurePortOpen() {
    if (MSComm1.portOpen()) return true;
    try {
        ApriPorta();
        return true;
    } catch (const RunTimeError&) {
        reportOpenFailure();
        return false;
    }
}

void InvDat::choosePort(const std::string& name) {
    if (name.empty() || m_exchanging) return;
    if (name == m_portName && (!window.loaded() || MSComm1.portOpen())) return;
    m_portName = name;
    if (!window.loaded()) return;
    MSComm1.setPortOpen(false);
    ensurePortOpen();
}

void InvDat::send(std::uint8_t byte) {
    MSComm1.output(byte);
}

void InvDat::Command7_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        if (m_state.PageCount >= 1) {
            if (!ensurePortOpen()) return;
            send(kConnectRequest);
            Trasm_OK.setVisible(false);
            Coll_OK.setVisible(false);
            // Stays until the sign's acknowledgement hides it.
            No_Collegam.setVisible(true);
        } else {
            Manca_Dati.setVisible(true);
        }
    });
}

void InvDat::MSComm1_OnComm() {
    trapErrors(m_services, [&] {
        MSComm1.setInputLen(1);
        if (MSComm1.inBufferCount() >= 1) {
            const std::string read = MSComm1.input();
            if (read.empty()) return;
            const auto b = static_cast<std::uint8_t>(read[0]);
            // The three tests run one after the other: the 222 itself reaches the third with
            // the flag already set, and the count that follows then replaces what it showed.
            if (b == kConnectAck) {
                Coll_OK.setVisible(true);
                No_Collegam.setVisible(false);
                m_state.Attesa_Pagine = 0;
                CMDINVIO.setEnabled(true);
            }
            if (b == kCountFollows) {
                Coll_OK.setVisible(false);
                m_state.Attesa_Pagine = 1;
            }
            if (b == kDateTimeAck && m_state.Attesa_Pagine == 0) {
                Trasm_OK.setVisible(true);
                Coll_OK.setVisible(false);
                No_Collegam.setVisible(false);
                Label7.setCaption("Data/Ora OK");
                Label7.setVisible(true);
            } else if (m_state.Attesa_Pagine == 1) {
                Label7.setCaption(b == m_state.PageCount
                                      ? decimalText(m_state.PageCount) + "  Pagine"
                                      : "Errore TX");
                Coll_OK.setVisible(false);
                Trasm_OK.setVisible(true);
                Label7.setVisible(true);
            }
            if (onReply) onReply(b);
        }
        MSComm1.setRThreshold(1);
    });
}

void InvDat::Command1_Click() {
    if (m_exchanging) return;
    MSComm1.setPortOpen(false);
    window.unload();
}

void InvDat::CMDINVIO_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        ExchangeScope scope(m_exchanging, MousePointer);
        InviaPagine();
    });
}

void InvDat::InviaPagine() {
    if (!ensurePortOpen()) return;
    const PacedStream stream = uploadStream(m_state);
    m_progress = {true, 0, static_cast<int>(stream.pageEnds.size()), 0, stream.bytes.size()};
    try {
        for (int i = 0; i < stream.leadingDelays; ++i) Ritardo(m_services.clock);
        for (const PacedByte& b : stream.bytes) {
            send(b.value);
            ++m_progress.bytesSent;
            if (m_progress.pagesSent < m_progress.pages &&
                stream.pageEnds[m_progress.pagesSent] == m_progress.bytesSent)
                ++m_progress.pagesSent;
            for (int d = 0; d < b.delaysAfter; ++d) Ritardo(m_services.clock);
        }
    } catch (const RunTimeError&) {
        // What went out stays sent; nothing more follows.
        m_progress.running = false;
        m_services.dialogs.message("Problemi su " + MSComm1.commPort() + "!");
        return;
    }
    m_progress.running = false;
}

void InvDat::Command3_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        ExchangeScope scope(m_exchanging, MousePointer);
        No_Collegam.setVisible(true);
        if (!ensurePortOpen()) return;
        send(kDateTimeStart);
        // The sign needs time to get ready for the clock bytes.
        for (int d = 0; d < 34; ++d) Ritardo(m_services.clock);
        // One reading of the clock for every field, so that they agree with each other.
        const std::vector<std::uint8_t> message = dateTimeMessage(m_services.clock.now());
        for (std::size_t i = 1; i + 1 < message.size(); ++i) {
            send(message[i]);
            Ritardo(m_services.clock);
        }
        send(message.back());
    });
}

}  // namespace velora
