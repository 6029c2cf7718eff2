#include "send_to_signs.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/windows1252.h"
#include "files/page_fit.h"
#include "protocol/hex_line.h"

namespace velora {
namespace {

// Page numbers named in a reason at most; the others are counted.
constexpr std::size_t kPagesNamed = 10;

// `text` and the system's words for why, in UTF-8.
std::string withReason(const std::string& text, const std::string& systemReason) {
    return systemReason.empty() ? text : text + " (" + systemReason + ")";
}

}  // namespace

std::string pagesBeyond(const std::vector<int>& pages, int rowChars) {
    const std::size_t named = std::min(pages.size(), kPagesNamed);
    const std::size_t others = pages.size() - named;
    std::string list;
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) list += i + 1 == named && others == 0 ? " e " : ", ";
        list += decimalText(pages[i]);
    }
    if (others > 0) list += " e altre " + decimalText(static_cast<long long>(others));
    const std::string beyond =
        " testo oltre i " + decimalText(rowChars) + " caratteri di questa insegna";
    return pages.size() == 1 ? "la pagina " + list + " ha" + beyond
                             : "le pagine " + list + " hanno" + beyond;
}

std::string resultWords(const SignSend& send) {
    switch (send.result) {
        case SendResult::Pending:
            return "in attesa";
        case SendResult::Sending:
            return "in corso";
        case SendResult::Confirmed:
            return "confermato, " + decimalText(send.pages) +
                   (send.pages == 1 ? " pagina" : " pagine");
        case SendResult::NoAnswer:
            return "nessuna risposta";
        case SendResult::PortUnavailable:
            return "porta assente o occupata";
        case SendResult::WrongAnswer:
            return "risposta errata";
        case SendResult::NotSent:
            return "non inviato";
    }
    return {};
}

MessageAnswer SendToSigns::KeptDialogs::messageBox(const std::string& text,
                                                   const std::string& title, MessageIcon icon,
                                                   MessageButtons buttons) {
    if (!keep) return m_shown.messageBox(text, title, icon, buttons);
    kept.push_back(text);
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

std::string SendToSigns::KeptDialogs::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
    // The error report's question whether to quit keeps its preset answer: the round goes on.
    if (!keep) return m_shown.inputBox(prompt, title, defaultText);
    return defaultText;
}

SendToSigns::SendToSigns(Services& services, SerialPort& port)
    : m_dialogs(services.dialogs),
      m_services{m_dialogs, services.clock, services.files, services.program},
      m_link(m_state, m_services, port) {}

void SendToSigns::start(const Modulo1& sequence, const std::vector<SignTarget>& targets) {
    if (running()) return;
    m_sequence = sequence;
    m_sends.clear();
    for (const SignTarget& target : targets)
        m_sends.push_back({target, SendResult::Pending, 0, {}});
    m_cancelled = false;
    m_lineLostPending = false;
    m_dialogs.keep = true;
    m_link.journal.note("invio a " + std::to_string(m_sends.size()) +
                        (m_sends.size() == 1 ? " insegna" : " insegne"));
    m_index = -1;
    nextSign();
    settle();
}

void SendToSigns::nextSign() {
    while (++m_index < static_cast<int>(m_sends.size()))
        if (beginSign(static_cast<std::size_t>(m_index))) return;
    m_index = -1;
    int confirmed = 0;
    for (const SignSend& send : m_sends) confirmed += send.result == SendResult::Confirmed;
    m_link.journal.note("fine dell'invio a più insegne: confermato da " +
                        std::to_string(confirmed) + " su " + std::to_string(m_sends.size()));
    if (m_link.window.loaded()) m_link.Command1_Click();
    m_dialogs.keep = false;
    changed();
}

bool SendToSigns::beginSign(std::size_t index) {
    SignSend& send = m_sends[index];
    const SignTarget& target = send.target;
    m_link.journal.note("insegna " + target.name + ", porta " + target.port + ", " +
                        std::to_string(target.boards) + " schede");
    if (m_cancelled) {
        finish(SendResult::NotSent, "invio interrotto dall'utente");
        return false;
    }
    if (m_sequence.PageCount == 0) {
        finish(SendResult::NotSent, windows1252::toUtf8(m_link.Manca_Dati.caption()));
        return false;
    }
    for (std::size_t before = 0; before < index; ++before) {
        const SignSend& served = m_sends[before];
        if (served.target.port != target.port || served.result != SendResult::Confirmed) continue;
        finish(SendResult::NotSent, "la porta è la stessa dell'insegna " + served.target.name +
                                        ", che ha già confermato: una seconda sequenza "
                                        "sostituirebbe la prima");
        return false;
    }
    if (target.port.empty()) {
        finish(SendResult::NotSent, "nessuna porta indicata per questa insegna");
        return false;
    }
    m_state = m_sequence;
    if (target.rowChars() != m_sequence.RowChars) {
        if (target.boards <= 0) {
            finish(SendResult::NotSent, "numero di schede non valido");
            return false;
        }
        const std::vector<int> cut = bringToWidth(m_state, target.rowChars());
        if (!cut.empty()) {
            finish(SendResult::NotSent, pagesBeyond(cut, target.rowChars()));
            return false;
        }
    }
    send.result = SendResult::Sending;
    m_phase = Phase::Connecting;
    m_dialogs.kept.clear();
    changed();
    m_link.choosePort(target.port);
    if (!m_link.window.loaded()) m_link.window.show();
    if (!m_link.MSComm1.portOpen()) {
        finish(SendResult::PortUnavailable,
               withReason("impossibile aprire la porta", m_link.MSComm1.errorText()));
        return false;
    }
    request([this] { m_link.Command7_Click(); });
    return true;
}

void SendToSigns::finish(SendResult result, const std::string& reason) {
    SignSend& send = m_sends[static_cast<std::size_t>(m_index)];
    send.result = result;
    send.reason = reason;
    if (result == SendResult::Confirmed) send.pages = m_state.PageCount;
    m_link.journal.note("esito: " + resultWords(send) +
                        (send.reason.empty() ? "" : ", " + send.reason));
    // The next sign may be on a port that only one program at a time may hold.
    m_link.MSComm1.setPortOpen(false);
    changed();
}

void SendToSigns::finishExchange() {
    const bool upload = m_phase == Phase::Uploading;
    SerialPort& port = m_link.MSComm1;
    if (upload && m_link.outcome() == InvDat::Outcome::Done) {
        finish(SendResult::Confirmed, {});
    } else if (m_cancelled) {
        finish(SendResult::NotSent,
               upload ? "invio interrotto dall'utente: l'insegna potrebbe avere una sequenza "
                        "incompleta"
                      : "invio interrotto dall'utente");
    } else if (!port.portOpen() || !m_dialogs.kept.empty()) {
        finish(SendResult::PortUnavailable,
               withReason(port.portOpen() ? "la porta ha rifiutato i byte" : "collegamento perso",
                          port.errorText()));
    } else if (m_link.outcome() == InvDat::Outcome::TimedOut) {
        const std::string within =
            " entro " + std::to_string(static_cast<int>(InvDat::kAnswerTimeout)) + " secondi";
        finish(SendResult::NoAnswer,
               upload ? "nessuna conferma delle pagine" + within
                      : "nessuna risposta alla richiesta di collegamento" + within);
    } else {
        // The window says which bytes came, or how many pages the sign counted.
        finish(SendResult::WrongAnswer, m_link.Esito.visible()
                                            ? windows1252::toUtf8(m_link.Esito.caption())
                                            : "risposta inattesa: " + hexLine(m_link.replies()));
    }
}

void SendToSigns::request(const std::function<void()>& send) {
    m_requesting = true;
    send();
    m_requesting = false;
}

void SendToSigns::received() {
    settle();
}

void SendToSigns::lineLost() {
    m_lineLostPending = true;
    settle();
}

void SendToSigns::tick() {
    if (m_requesting || m_settling) return;
    if (running() && m_link.Attesa.enabled()) m_link.Attesa_Timer();
    settle();
}

void SendToSigns::cancel() {
    if (!running()) return;
    m_cancelled = true;
    // Stops the bytes going out, or the wait for an answer.
    m_link.Annulla_Click();
    settle();
}

void SendToSigns::settle() {
    if (m_requesting || m_settling) return;
    if (!running()) {
        m_lineLostPending = false;
        return;
    }
    m_settling = true;
    do {
        SerialPort& port = m_link.MSComm1;
        if (port.portOpen() && port.inBufferCount() > 0) port.raiseReceiveEvents();
        if (m_lineLostPending) {
            m_lineLostPending = false;
            port.raiseLineLost();
        }
    } while (step());
    m_settling = false;
}

bool SendToSigns::step() {
    if (!running() || m_link.outcome() == InvDat::Outcome::Waiting) return false;
    if (m_phase == Phase::Connecting && m_link.exchange() == InvDat::Exchange::Connect &&
        m_link.outcome() == InvDat::Outcome::Done && !m_cancelled) {
        m_phase = Phase::Uploading;
        changed();
        request([this] { m_link.CMDINVIO_Click(); });
        return true;
    }
    finishExchange();
    nextSign();
    return true;
}

std::string SendToSigns::progressWords() const {
    if (!running()) return {};
    if (m_phase == Phase::Connecting) return "collegamento";
    const InvDat::Progress& progress = m_link.progress();
    if (progress.running)
        return "pagina " + std::to_string(std::min(progress.pagesSent + 1, progress.pages)) +
               " di " + std::to_string(progress.pages);
    return "attesa della conferma";
}

bool SendToSigns::allConfirmed() const {
    if (m_sends.empty() || running()) return false;
    for (const SignSend& send : m_sends)
        if (send.result != SendResult::Confirmed) return false;
    return true;
}

void SendToSigns::changed() {
    if (onChanged) onChanged();
}

}  // namespace velora
