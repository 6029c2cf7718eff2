#include "core/fatal_error.h"
#include "inv_dat.h"

namespace velora {

void InvDat::Command7_Click() {
    if (m_exchanging) return;
    trapErrors(m_services, [&] {
        if (sequence().PageCount >= 1) {
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

bool InvDat::takeConnectReply(std::uint8_t b) {
    if (b != kConnectAck) return false;
    Coll_OK.setVisible(true);
    No_Collegam.setVisible(false);
    CMDINVIO.setEnabled(true);
    endExchange(Outcome::Done, "risposta ricevuta, collegamento OK");
    return true;
}

}  // namespace velora
