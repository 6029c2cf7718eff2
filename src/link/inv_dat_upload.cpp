#include "core/fatal_error.h"
#include "core/numbers.h"
#include "exchange_scope.h"
#include "inv_dat.h"

namespace velora {

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
    const PacedStream stream = uploadStream(sequence());
    if (transmit([&] { return sendPaced(stream); },
                 "Invio annullato: l'insegna ha una sequenza incompleta. Inviare di nuovo la "
                 "sequenza."))
        awaitAnswer();
}

bool InvDat::takeUploadReply(std::uint8_t b) {
    if (m_expect == Expect::CountFollows) {
        if (b != kCountFollows) return false;
        Coll_OK.setVisible(false);
        m_state.Attesa_Pagine = 1;
        m_expect = Expect::Count;
        // The count is awaited afresh.
        awaitAnswer();
        return true;
    }
    // Whatever the byte, it is the count: 200 pages are answered with the same byte as a connect
    // request.
    m_state.Attesa_Pagine = 0;
    const bool whole = b == sequence().PageCount;
    Coll_OK.setVisible(false);
    Label7.setCaption(whole ? decimalText(sequence().PageCount) + "  Pagine" : "Errore TX");
    Label7.setVisible(true);
    // "Inviato" says the sign has the sequence: never beside "Errore TX".
    Trasm_OK.setVisible(whole);
    if (!whole) {
        Esito.setCaption("L'insegna ha ricevuto " + std::to_string(b) + " pagine su " +
                         std::to_string(sequence().PageCount) + ".");
        Esito.setVisible(true);
        endExchange(Outcome::Failed, "risposta errata, pagine ricevute " + std::to_string(b) +
                                         " su " + std::to_string(sequence().PageCount));
        return true;
    }
    endExchange(Outcome::Done, "risposta ricevuta, " + std::to_string(b) + " pagine");
    if (DataOraDopoInvio.value() == 1) sendDateTime(true);
    return true;
}

}  // namespace velora
