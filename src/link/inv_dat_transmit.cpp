#include "core/fatal_error.h"
#include "exchange_scope.h"
#include "inv_dat.h"
#include "ritardo.h"

namespace velora {

void InvDat::Annulla_Click() {
    if (m_exchanging)
        m_cancel = true;
    else if (m_outcome == Outcome::Waiting && m_expect != Expect::Nothing)
        cancelWait();
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
