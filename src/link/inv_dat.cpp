#include "inv_dat.h"

#include <cstdio>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/windows1252.h"
#include "ritardo.h"

namespace velora {
namespace {

// Marks a transmission as running and puts the flag and the pointer back as they were however
// it ends; the one keeper of "an exchange is being sent".
class ExchangeScope {
public:
    ExchangeScope(bool& exchanging, int& pointer)
        : m_exchanging(exchanging),
          m_pointer(pointer),
          m_wasExchanging(exchanging),
          m_oldPointer(pointer) {
        m_exchanging = true;
        m_pointer = Button::kHourglass;
    }
    ~ExchangeScope() {
        m_exchanging = m_wasExchanging;
        m_pointer = m_wasExchanging ? m_oldPointer : Button::kDefaultPointer;
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    bool& m_exchanging;
    int& m_pointer;
    bool m_wasExchanging;
    int m_oldPointer;
};

constexpr int kAttesaTickMs = 200;

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
    : journal(services.clock), MSComm1(port), m_state(state), m_services(services) {
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
    describe(DataOraDopoInvio, "Imposta anche data e ora dopo l'invio",
             "Dopo ogni invio confermato regola anche l'orologio dell'insegna");
    describe(UltimaOra, "", "");
    describe(SalvaRegistro, "Salva registro…",
             "Salva in un file di testo il registro degli scambi con l'insegna");
    OptionButton::group({&Option1, &Option2});
    Annulla.setEnabled(false);
    Attesa.setInterval(kAttesaTickMs);
    Attesa.setEnabled(false);

    window.onLoad = [this] { Form_Load(); };
    // However the window goes, the port goes with it.
    window.onUnload = [this] { MSComm1.setPortOpen(false); };
    Command7.onClick = [this] { Command7_Click(); };
    CMDINVIO.onClick = [this] { CMDINVIO_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Annulla.onClick = [this] { Annulla_Click(); };
    Attesa.onTimer = [this] { Attesa_Timer(); };
    SalvaRegistro.onClick = [this] { SalvaRegistro_Click(); };
    MSComm1.onComm = [this] { MSComm1_OnComm(); };
    MSComm1.onLineLost = [this] { MSComm1_LineLost(); };
}

void InvDat::Form_Load() {
    hideStatuses();
    Attesa.setEnabled(false);
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
    // Nothing said of the old port holds for the new one, and nothing is sent on it before it
    // has answered a connect request.
    hideStatuses();
    Attesa.setEnabled(false);
    if (m_outcome == Outcome::Waiting) endExchange(Outcome::Failed, "porta cambiata");
    m_expect = Expect::Nothing;
    CMDINVIO.setEnabled(false);
    journal.note("porta scelta: " + m_portName);
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

void InvDat::hideStatuses() {
    for (Label* label : {&Coll_OK, &No_Collegam, &Manca_Dati, &Trasm_OK, &Label7, &Esito})
        label->setVisible(false);
}

std::string InvDat::exchangeName() const {
    switch (m_exchange) {
        case Exchange::Connect:
            return "collegamento";
        case Exchange::Upload:
            return "invio delle pagine";
        case Exchange::DateTime:
            return "data e ora";
        case Exchange::None:
            break;
    }
    return "nessuno scambio";
}

void InvDat::beginExchange(Exchange exchange, Expect expect, bool followUp) {
    if (followUp) {
        // What the exchange before it showed stays: it went well.
        for (Label* label : {&Coll_OK, &No_Collegam, &Manca_Dati, &Esito}) label->setVisible(false);
    } else {
        hideStatuses();
    }
    Attesa.setEnabled(false);
    m_exchange = exchange;
    m_outcome = Outcome::Waiting;
    m_expect = expect;
    m_replies.clear();
    m_state.Attesa_Pagine = 0;
    if (exchange != Exchange::None)
        journal.note("inizio " + exchangeName() + " sulla porta " + m_portName);
    // Bytes still waiting were sent before this exchange began: they answer nothing of it.
    if (MSComm1.portOpen() && MSComm1.inBufferCount() > 0) {
        MSComm1.setInputLen(0);
        const std::string stale = MSComm1.input();
        journal.received({reinterpret_cast<const std::uint8_t*>(stale.data()), stale.size()});
        journal.note("byte arrivati prima della richiesta: ignorati");
    }
}

void InvDat::awaitAnswer() {
    m_deadline = m_services.clock.monotonicSeconds() + kAnswerTimeout;
    Attesa.setEnabled(true);
}

void InvDat::endExchange(Outcome outcome, const std::string& why) {
    Attesa.setEnabled(false);
    m_expect = Expect::Nothing;
    m_outcome = outcome;
    journal.note("fine " + exchangeName() + ": " + why);
}

void InvDat::Attesa_Timer() {
    if (m_outcome != Outcome::Waiting || m_expect == Expect::Nothing) {
        Attesa.setEnabled(false);
        return;
    }
    if (m_services.clock.monotonicSeconds() >= m_deadline) timeOut();
}

void InvDat::timeOut() {
    std::string why;
    switch (m_exchange) {
        case Exchange::Connect:
            why = "L'insegna non risponde su " + portForUser() +
                  ". Controllare il cavo, l'alimentazione dell'insegna e la porta scelta.";
            CMDINVIO.setEnabled(false);
            break;
        case Exchange::Upload:
            why =
                "Nessuna conferma dall'insegna dopo l'invio: controllare il collegamento e "
                "inviare di nuovo.";
            break;
        case Exchange::DateTime:
        case Exchange::None:
            why = "L'insegna non ha confermato la data e l'ora.";
            break;
    }
    m_state.Attesa_Pagine = 0;
    // The window is ready for the next try: the wait is over, and only its reason stays.
    for (Label* label : {&Coll_OK, &No_Collegam, &Manca_Dati}) label->setVisible(false);
    Esito.setCaption(why);
    Esito.setVisible(true);
    endExchange(Outcome::TimedOut,
                "tempo scaduto, nessuna risposta entro 5 s. " + windows1252::toUtf8(why));
}

void InvDat::SalvaRegistro_Click() {
    trapErrors(m_services, [&] {
        const std::string path = m_services.dialogs.saveFilePath("Registro (*.txt)|*.txt");
        if (path.empty()) return;
        if (!m_services.files.replace(path, journal.text()))
            m_services.dialogs.message("Impossibile salvare il registro in " +
                                       windows1252::fromUtf8(path) + ".");
    });
}

void InvDat::Command7_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        if (m_state.PageCount >= 1) {
            beginExchange(Exchange::Connect, Expect::ConnectAck);
            if (!ensurePortOpen()) {
                endExchange(Outcome::Failed, "porta non apribile");
                return;
            }
            // Stays until the sign's acknowledgement hides it.
            No_Collegam.setVisible(true);
            try {
                MSComm1.output(kConnectRequest);
                journal.transmitted(std::vector<std::uint8_t>{kConnectRequest});
            } catch (const RunTimeError&) {
                endExchange(Outcome::Failed, "la porta ha rifiutato la richiesta");
                throw;
            }
            awaitAnswer();
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
            journal.received(std::vector<std::uint8_t>{b});
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
            endExchange(Outcome::Done, "risposta ricevuta, collegamento OK");
            return;
        case Expect::CountFollows:
            if (b != kCountFollows) break;
            Coll_OK.setVisible(false);
            m_state.Attesa_Pagine = 1;
            m_expect = Expect::Count;
            // The count is awaited afresh.
            awaitAnswer();
            return;
        case Expect::Count: {
            // Whatever the byte, it is the count: 200 pages are answered with the same byte as
            // a connect request.
            m_state.Attesa_Pagine = 0;
            const bool whole = b == m_state.PageCount;
            Coll_OK.setVisible(false);
            Label7.setCaption(whole ? decimalText(m_state.PageCount) + "  Pagine" : "Errore TX");
            Label7.setVisible(true);
            // "Inviato" says the sign has the sequence: never beside "Errore TX".
            Trasm_OK.setVisible(whole);
            if (!whole) {
                Esito.setCaption("L'insegna ha ricevuto " + std::to_string(b) + " pagine su " +
                                 std::to_string(m_state.PageCount) + ".");
                Esito.setVisible(true);
                endExchange(Outcome::Failed, "risposta errata, pagine ricevute " +
                                                 std::to_string(b) + " su " +
                                                 std::to_string(m_state.PageCount));
                return;
            }
            endExchange(Outcome::Done, "risposta ricevuta, " + std::to_string(b) + " pagine");
            if (DataOraDopoInvio.value() == 1) sendDateTime(true);
            return;
        }
        case Expect::DateTimeAck: {
            if (b != kDateTimeAck) break;
            Coll_OK.setVisible(false);
            No_Collegam.setVisible(false);
            // After an upload, its result stays and says that the clock went with it.
            if (!Label7.visible() || Label7.caption() == "Data/Ora OK") {
                Trasm_OK.setVisible(true);
                Label7.setCaption("Data/Ora OK");
                Label7.setVisible(true);
            }
            const DateTime now = m_services.clock.now();
            char when[48];
            std::snprintf(when, sizeof when, "%02d:%02d del %02d/%02d/%04d", now.hour, now.minute,
                          now.day, now.month, now.year);
            UltimaOra.setCaption("Data e ora impostate alle " + std::string(when) + " su " +
                                 portForUser() + ".");
            UltimaOra.setVisible(true);
            endExchange(Outcome::Done, "risposta ricevuta, data e ora OK");
            return;
        }
        case Expect::Nothing:
            break;
    }
    failExchange();
}

void InvDat::failExchange() {
    m_state.Attesa_Pagine = 0;
    Coll_OK.setVisible(false);
    No_Collegam.setVisible(false);
    Trasm_OK.setVisible(false);
    Label7.setCaption("Errore TX");
    Label7.setVisible(true);
    Esito.setCaption("Risposta inattesa dall'insegna: " + hexBytes(m_replies));
    Esito.setVisible(true);
    endExchange(Outcome::Failed, "risposta errata: " + hexBytes(m_replies));
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
    Attesa.setEnabled(false);
    if (m_outcome == Outcome::Waiting || m_expect != Expect::Nothing)
        endExchange(Outcome::Failed,
                    "collegamento perso" + (reason.empty() ? std::string() : " (" + reason + ")"));
    else
        journal.note("collegamento perso sulla porta " + m_portName);
    m_expect = Expect::Nothing;
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

bool InvDat::sendPaced(const PacedStream& stream) {
    m_progress.pages += static_cast<int>(stream.pageEnds.size());
    m_progress.bytes += stream.bytes.size();
    for (int i = 0; i < stream.leadingDelays; ++i) Ritardo(m_services.clock);
    // The journal takes the bytes a page record at a time, as they went out.
    std::vector<std::uint8_t> line;
    const auto writeLine = [&] {
        if (line.empty()) return;
        journal.transmitted(line);
        if (m_exchange == Exchange::Upload && line.size() > 1)
            journal.notePage(m_progress.pagesSent, line);
        line.clear();
    };
    std::size_t page = 0;
    for (std::size_t index = 0; index < stream.bytes.size(); ++index) {
        // A cancel click is taken between bytes: the one on its way is never cut.
        if (m_cancel) {
            writeLine();
            return false;
        }
        const PacedByte& b = stream.bytes[index];
        try {
            MSComm1.output(b.value);
        } catch (const RunTimeError&) {
            writeLine();
            throw;
        }
        line.push_back(b.value);
        ++m_progress.bytesSent;
        if (page < stream.pageEnds.size() && stream.pageEnds[page] == index + 1) {
            ++page;
            ++m_progress.pagesSent;
            writeLine();
        }
        for (int d = 0; d < b.delaysAfter; ++d) Ritardo(m_services.clock);
    }
    writeLine();
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
        endExchange(Outcome::Failed, "porta non apribile");
        return;
    }
    const PacedStream stream = uploadStream(m_state);
    if (transmit([&] { return sendPaced(stream); },
                 "Invio annullato: l'insegna ha una sequenza incompleta. Inviare di nuovo la "
                 "sequenza."))
        awaitAnswer();
}

void InvDat::Command3_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] { sendDateTime(false); });
}

void InvDat::sendDateTime(bool followUp) {
    ExchangeScope scope(m_exchanging, MousePointer);
    beginExchange(Exchange::DateTime, Expect::DateTimeAck, followUp);
    No_Collegam.setVisible(true);
    if (!ensurePortOpen()) {
        endExchange(Outcome::Failed, "porta non apribile");
        return;
    }
    const bool sent = transmit(
        [&] {
            // One reading of the clock for every field, taken after the lead gap.
            return sendPaced(dateTimeLead()) && sendPaced(dateTimeStream(m_services.clock.now()));
        },
        "Invio annullato: data e ora non impostate.");
    if (sent) awaitAnswer();
}

bool InvDat::transmit(const std::function<bool()>& send, const std::string& cancelledText) {
    ExchangeScope scope(m_exchanging, MousePointer);
    m_progress = {true, 0, 0, 0, 0};
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
    if (whole) return true;
    // What went out stays sent; nothing more follows, and no answer is awaited.
    No_Collegam.setVisible(false);
    if (lineFailed) {
        endExchange(Outcome::Failed, "la linea ha rifiutato un byte");
        m_services.dialogs.message("Problemi su " + portForUser() + "!");
        if (!MSComm1.portOpen()) showLineLost();
    } else {
        endExchange(Outcome::Failed, "annullato dall'utente");
        Esito.setCaption(cancelledText);
        Esito.setVisible(true);
    }
    return false;
}

}  // namespace velora
