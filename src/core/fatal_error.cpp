#include "fatal_error.h"

#include <cstdint>

#include "numbers.h"
#include "windows1252.h"

namespace velora {

std::string fatalErrorText(int code) {
    return windows1252::fromUtf8(
               "Si è verificato un grave errore nell'esecuzione del programma: contattare al più "
               "presto il fornitore per avere ulteriori informazioni. Il codice dell'errore è (") +
           decimalText(code) + ").";
}

void ReportFatalError(Services& services, int code) {
    const int cut = static_cast<std::int16_t>(static_cast<std::uint16_t>(code & 0xFFFF));
    services.dialogs.messageBox(fatalErrorText(cut),
                                "Comunicazione di sistema:", MessageIcon::Exclamation,
                                MessageButtons::Ok);
    const std::string answer = services.dialogs.inputBox("Vuoi uscire dal programma?", "Fine", "N");
    if (answer == "S" || answer == "s") services.program.end();
}

void reportUntrappedError(Services& services, int code) {
    services.dialogs.messageBox("Run-time error '" + decimalText(code) + "'", kProgramTitle,
                                MessageIcon::Critical, MessageButtons::Ok);
    services.program.end();
}

}  // namespace velora
