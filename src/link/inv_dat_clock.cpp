#include <cstdio>

#include "core/fatal_error.h"
#include "exchange_scope.h"
#include "inv_dat.h"

namespace velora {

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

bool InvDat::takeDateTimeReply(std::uint8_t b) {
    if (b != kDateTimeAck) return false;
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
    std::snprintf(when, sizeof when, "%02d:%02d del %02d/%02d/%04d", now.hour, now.minute, now.day,
                  now.month, now.year);
    UltimaOra.setCaption("Data e ora impostate alle " + std::string(when) + " su " + portForUser() +
                         ".");
    UltimaOra.setVisible(true);
    endExchange(Outcome::Done, "risposta ricevuta, data e ora OK");
    return true;
}

}  // namespace velora
