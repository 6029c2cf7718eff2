#pragma once

namespace velora {

// Why a serial port would not open or went away, in the words the user reads after "Impossibile
// aprire la porta COM3 (...)" or "Collegamento perso sulla porta ...". One wording on every
// system: the Linux and the Windows port both say these, each from its own error codes. UTF-8.
namespace portReason {

inline constexpr const char* kNoneChosen = "nessuna porta scelta";
inline constexpr const char* kNotThere = "la porta non c'\u00E8: scollegata o inesistente";
inline constexpr const char* kNameTooLong = "la porta non c'\u00E8: il nome \u00E8 troppo lungo";
inline constexpr const char* kInUse = "la porta \u00E8 gi\u00E0 in uso da un altro programma";
// After a hang-up the system's text names whatever call failed last, which misleads more than it
// tells.
inline constexpr const char* kLineLost = "dispositivo scollegato o linea chiusa dall'altro capo";

}  // namespace portReason
}  // namespace velora
