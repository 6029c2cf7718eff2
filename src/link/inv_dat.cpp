#include "inv_dat.h"

#include <cstdio>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/windows1252.h"
#include "ritardo.h"

namespace velora {
namespace {

// Marks a transmission as running and puts the pointer back however it ends.
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

// Reply bytes as the user reads them in the window, such as "DE 05"; a flood is cut short.
std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kShown = 24;
    std::string text;
    char hex[4];
    for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        if (!text.empty()) text += ' ';
        text += hex;
    }
    if (bytes.size() > kShown) text += " ... (" + std::to_string(bytes.size()) + " byte)";
    return text;
}

// Seconds with one decimal and the Italian decimal comma.
std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string out = text;
    for (char& c : out)
        if (c == '.') c = ',';
    return out;
}

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
    describe(Annulla, "Annulla", "Interrompe l'invio in corso");
    describe(Esito, "", "");
    describe(Dimensione, "", "");
    OptionButton::group({&Option1, &Option2});
    Annulla.setEnabled(false);

    window.onLoad = [this] { Form_Load(); };
    // However the window goes, the port goes with it.
    window.onUnload = [this] { MSComm1.setPortOpen(false); };
    Command7.onClick = [this] { Command7_Click(); };
    CMDINVIO.onClick = [this] { CMDINVIO_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Annulla.onClick = [this] { Annulla_Click(); };
    MSComm1.onComm = [this] { MSComm1_OnComm(); };
    MSComm1.onLineLost = [this] { MSComm1_LineLost(); };
}

void InvDat::Form_Load() {
    for (Label* label : {&Coll_OK, &Trasm_OK, &Manca_Dati, &No_Collegam, &Label7, &Esito})
        label->setVisible(false);
    try {
        ApriPorta();
    } catch (const RunTimeError&) {
        reportOpenFailure();
    }
    Option1.setSelected(true);
    CMDINVIO.setEnabled(false);
    Annulla.setEnabled(false);
    showUploadSize();
}

void InvDat::ApriPorta() {
    MSComm1.setPortOpen(false);
    MSComm1.setCommPort(m_portName);
    MSComm1.setSettings("9600,N,8,1");
    MSComm1.setInputLen(0);
    MSComm1.setPortOpen(true);
    m_lineLostShown = false;
    // Every received byte raises the receive event, from the moment the port opens.
    MSComm1.setRThreshold(1);
}

std::string InvDat::portForUser() const {
    return windows1252::fromUtf8(m_portName);
}

void InvDat::reportOpenFailure() {
    std::string text = "Impossibile aprire la porta " + portForUser();
    const std::string reason = windows1252::fromUtf8(MSComm1.errorText());
    if (!reason.empty()) text += " (" + reason + ")";
    text += ". Scegliere un'altra porta.";
    // Said in the window itself: the port may have been opened without the user asking.
    Esito.setCaption(text);
    Esito.setVisible(true);
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
    Esito.setVisible(false);
    CMDINVIO.setEnabled(false);
    ensurePortOpen();
}

void InvDat::showUploadSize() {
    const StreamSize size = streamSize(uploadStream(m_state));
    Dimensione.setCaption(size.pages == 0 ? std::string("Nessuna pagina da inviare")
                                          : "Da inviare: " + std::to_string(size.pages) +
                                                (size.pages == 1 ? " pagina, " : " pagine, ") +
                                                std::to_string(size.bytes) + " byte, circa " +
                                                seconds(size.seconds) + " s");
}

void InvDat::beginExchange(Exchange exchange, Expect expect) {
    for (Label* label : {&Coll_OK, &No_Collegam, &Manca_Dati, &Trasm_OK, &Label7, &Esito})
        label->setVisible(false);
    m_exchange = exchange;
    m_outcome = Outcome::Waiting;
    m_expect = expect;
    m_replies.clear();
    m_state.Attesa_Pagine = 0;
    // Bytes still waiting were sent before this exchange began: they answer nothing of it.
    if (MSComm1.portOpen() && MSComm1.inBufferCount() > 0) {
        MSComm1.setInputLen(0);
        MSComm1.input();
    }
}

void InvDat::Command7_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        if (m_state.PageCount >= 1) {
            beginExchange(Exchange::Connect, Expect::ConnectAck);
            if (!ensurePortOpen()) {
                m_outcome = Outcome::Failed;
                return;
            }
            // Stays until the sign's acknowledgement hides it.
            No_Collegam.setVisible(true);
            try {
                MSComm1.output(kConnectRequest);
            } catch (const RunTimeError&) {
                m_outcome = Outcome::Failed;
                throw;
            }
        } else {
            beginExchange(Exchange::None, Expect::Nothing);
            m_outcome = Outcome::Done;
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
            handleReply(b);
            if (onReply) onReply(b);
        }
        MSComm1.setRThreshold(1);
    });
}

void InvDat::handleReply(std::uint8_t b) {
    // A byte that no exchange asked for changes nothing.
    if (m_exchange == Exchange::None) return;
    m_replies.push_back(b);
    switch (m_expect) {
        case Expect::ConnectAck:
            if (b != kConnectAck) break;
            Coll_OK.setVisible(true);
            No_Collegam.setVisible(false);
            CMDINVIO.setEnabled(true);
            m_expect = Expect::Nothing;
            m_outcome = Outcome::Done;
            return;
        case Expect::CountFollows:
            if (b != kCountFollows) break;
            Coll_OK.setVisible(false);
            m_state.Attesa_Pagine = 1;
            m_expect = Expect::Count;
            return;
        case Expect::Count: {
            // Whatever the byte, it is the count: 200 pages are answered with the same byte as
            // a connect request.
            m_state.Attesa_Pagine = 0;
            m_expect = Expect::Nothing;
            const bool whole = b == m_state.PageCount;
            Label7.setCaption(whole ? decimalText(m_state.PageCount) + "  Pagine" : "Errore TX");
            Coll_OK.setVisible(false);
            Trasm_OK.setVisible(true);
            Label7.setVisible(true);
            m_outcome = whole ? Outcome::Done : Outcome::Failed;
            if (!whole) {
                Esito.setCaption("L'insegna ha ricevuto " + std::to_string(b) + " pagine su " +
                                 std::to_string(m_state.PageCount) + ".");
                Esito.setVisible(true);
            }
            return;
        }
        case Expect::DateTimeAck:
            if (b != kDateTimeAck) break;
            Trasm_OK.setVisible(true);
            Coll_OK.setVisible(false);
            No_Collegam.setVisible(false);
            Label7.setCaption("Data/Ora OK");
            Label7.setVisible(true);
            m_expect = Expect::Nothing;
            m_outcome = Outcome::Done;
            return;
        case Expect::Nothing:
            break;
    }
    failExchange();
}

void InvDat::failExchange() {
    m_expect = Expect::Nothing;
    m_outcome = Outcome::Failed;
    m_state.Attesa_Pagine = 0;
    Coll_OK.setVisible(false);
    No_Collegam.setVisible(false);
    Label7.setCaption("Errore TX");
    Label7.setVisible(true);
    Esito.setCaption("Risposta inattesa dall'insegna: " + hexBytes(m_replies));
    Esito.setVisible(true);
}

void InvDat::MSComm1_LineLost() {
    // A transmission that failed on the lost line has already said so.
    if (m_lineLostShown) return;
    showLineLost();
}

void InvDat::showLineLost() {
    m_lineLostShown = true;
    const std::string reason = windows1252::fromUtf8(MSComm1.errorText());
    MSComm1.setPortOpen(false);
    m_expect = Expect::Nothing;
    if (m_outcome == Outcome::Waiting) m_outcome = Outcome::Failed;
    m_state.Attesa_Pagine = 0;
    Coll_OK.setVisible(false);
    No_Collegam.setVisible(false);
    // The sign must be connected again before anything more is sent.
    CMDINVIO.setEnabled(false);
    Esito.setCaption("Collegamento perso sulla porta " + portForUser() +
                     (reason.empty() ? std::string() : " (" + reason + ")") +
                     ". Controllare l'insegna e premere Connetti.");
    Esito.setVisible(true);
}

void InvDat::Command1_Click() {
    if (m_exchanging) return;
    MSComm1.setPortOpen(false);
    window.unload();
}

void InvDat::Annulla_Click() {
    if (m_exchanging) m_cancel = true;
}

bool InvDat::sendPaced(const std::vector<const PacedStream*>& parts) {
    if (!m_progress.running) {
        m_progress = {true, 0, 0, 0, 0};
        for (const PacedStream* part : parts) {
            m_progress.pages += static_cast<int>(part->pageEnds.size());
            m_progress.bytes += part->bytes.size();
        }
    }
    for (const PacedStream* part : parts) {
        for (int i = 0; i < part->leadingDelays; ++i) Ritardo(m_services.clock);
        std::size_t page = 0;
        for (std::size_t index = 0; index < part->bytes.size(); ++index) {
            // A cancel click is taken between bytes: the one on its way is never cut.
            if (m_cancel) return false;
            const PacedByte& b = part->bytes[index];
            MSComm1.output(b.value);
            ++m_progress.bytesSent;
            if (page < part->pageEnds.size() && part->pageEnds[page] == index + 1) {
                ++page;
                ++m_progress.pagesSent;
            }
            for (int d = 0; d < b.delaysAfter; ++d) Ritardo(m_services.clock);
        }
    }
    return !m_cancel;
}

void InvDat::CMDINVIO_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        ExchangeScope scope(m_exchanging, MousePointer);
        InviaPagine();
    });
}

void InvDat::InviaPagine() {
    beginExchange(Exchange::Upload, Expect::CountFollows);
    if (!ensurePortOpen()) {
        m_outcome = Outcome::Failed;
        return;
    }
    const PacedStream stream = uploadStream(m_state);
    transmit([&] { return sendPaced(stream); },
             "Invio annullato: l'insegna ha una sequenza incompleta. Inviare di nuovo la "
             "sequenza.");
}

void InvDat::Command3_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        ExchangeScope scope(m_exchanging, MousePointer);
        beginExchange(Exchange::DateTime, Expect::DateTimeAck);
        No_Collegam.setVisible(true);
        if (!ensurePortOpen()) {
            m_outcome = Outcome::Failed;
            return;
        }
        const PacedStream lead = dateTimeLead();
        m_progress = {true, 0, 0, 0, lead.bytes.size() + dateTimeStream({}).bytes.size()};
        transmit(
            [&] {
                // One reading of the clock for every field, taken after the lead gap.
                return sendPaced(lead) && sendPaced(dateTimeStream(m_services.clock.now()));
            },
            "Invio annullato: data e ora non impostate.");
    });
}

bool InvDat::transmit(const std::function<bool()>& send, const std::string& cancelledText) {
    const bool exchanging = m_exchanging;
    m_exchanging = true;
    m_cancel = false;
    Annulla.setEnabled(true);
    bool whole = false;
    bool lineFailed = false;
    try {
        whole = send();
    } catch (const RunTimeError&) {
        lineFailed = true;
    }
    m_progress.running = false;
    Annulla.setEnabled(false);
    m_exchanging = exchanging;
    if (whole) return true;
    // What went out stays sent; nothing more follows, and no answer is awaited.
    m_expect = Expect::Nothing;
    m_outcome = Outcome::Failed;
    No_Collegam.setVisible(false);
    if (lineFailed) {
        m_services.dialogs.message("Problemi su " + portForUser() + "!");
        if (!MSComm1.portOpen()) showLineLost();
    } else {
        Esito.setCaption(cancelledText);
        Esito.setVisible(true);
    }
    return false;
}

}  // namespace velora
