#include "core/fatal_error.h"
#include "core/windows1252.h"
#include "inv_dat.h"
#include "protocol/hex_line.h"

namespace velora {
namespace {

// Reply bytes as the user reads them in the window, such as "DE 05"; a flood is cut short.
constexpr std::size_t kRepliesShown = 24;

constexpr const char* kLateAnswer = "L'insegna ha risposto in ritardo: premere di nuovo Connetti.";

}  // namespace

void InvDat::hideStatuses() {
    for (Label* label :
         {&Coll_OK, &No_Collegam, &Manca_Dati, &Trasm_OK, &Label7, &Esito, &Conferma})
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
        // The clock set by an earlier exchange is not news of this one.
        UltimaOra.setVisible(false);
    }
    Conferma.setVisible(false);
    Attesa.setEnabled(false);
    m_exchange = exchange;
    m_outcome = Outcome::Waiting;
    m_waitAbandoned = false;
    m_abandonedText.clear();
    m_lateNoted = false;
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
    // The user may stop waiting.
    Annulla.setEnabled(true);
    if (m_exchange == Exchange::Upload) Conferma.setVisible(true);
}

void InvDat::endExchange(Outcome outcome, const std::string& why) {
    Attesa.setEnabled(false);
    Conferma.setVisible(false);
    if (!m_exchanging) Annulla.setEnabled(false);
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
    abandonWait(Outcome::TimedOut, why,
                "tempo scaduto, nessuna risposta entro 5 s. " + windows1252::toUtf8(why));
}

void InvDat::cancelWait() {
    std::string why;
    switch (m_exchange) {
        case Exchange::Connect:
            why = "Attesa annullata: l'insegna non ha risposto alla richiesta di collegamento.";
            CMDINVIO.setEnabled(false);
            break;
        case Exchange::Upload:
            why =
                "Attesa della conferma annullata: l'insegna potrebbe non avere tutte le pagine. "
                "Inviare di nuovo la sequenza.";
            break;
        case Exchange::DateTime:
        case Exchange::None:
            why = "Attesa annullata: l'insegna non ha confermato la data e l'ora.";
            break;
    }
    abandonWait(Outcome::Failed, why, "attesa annullata dall'utente");
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
    // The wait ended without the answer: what comes now is late, and ends nothing again.
    if (m_waitAbandoned) {
        lateReply();
        return;
    }
    m_replies.push_back(b);
    bool taken = false;
    switch (m_expect) {
        case Expect::ConnectAck:
            taken = takeConnectReply(b);
            break;
        case Expect::CountFollows:
        case Expect::Count:
            taken = takeUploadReply(b);
            break;
        case Expect::DateTimeAck:
            taken = takeDateTimeReply(b);
            break;
        case Expect::Nothing:
            break;
    }
    if (!taken) failExchange();
}

void InvDat::lateReply() {
    if (m_lateNoted) return;
    m_lateNoted = true;
    journal.note("risposta in ritardo, a scambio finito: ignorata fino al prossimo scambio");
    // Said beside the reason the wait ended, as long as the window still shows it.
    if (Esito.visible() && Esito.caption() == m_abandonedText)
        Esito.setCaption(m_abandonedText + ' ' + kLateAnswer);
}

void InvDat::abandonWait(Outcome outcome, const std::string& why, const std::string& journalWhy) {
    m_state.Attesa_Pagine = 0;
    // The window is ready for the next try: the wait is over, and only its reason stays.
    for (Label* label : {&Coll_OK, &No_Collegam, &Manca_Dati}) label->setVisible(false);
    Esito.setCaption(why);
    Esito.setVisible(true);
    m_abandonedText = why;
    m_waitAbandoned = true;
    endExchange(outcome, journalWhy);
}

void InvDat::failExchange() {
    m_state.Attesa_Pagine = 0;
    Coll_OK.setVisible(false);
    No_Collegam.setVisible(false);
    Trasm_OK.setVisible(false);
    Label7.setCaption("Errore TX");
    Label7.setVisible(true);
    Esito.setCaption("Risposta inattesa dall'insegna: " + hexLine(m_replies, kRepliesShown));
    Esito.setVisible(true);
    endExchange(Outcome::Failed, "risposta errata: " + hexLine(m_replies, kRepliesShown));
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

}  // namespace velora
