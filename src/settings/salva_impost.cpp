#include "salva_impost.h"

#include <optional>

#include "core/base_dat.h"
#include "core/numbers.h"
#include "core/run_time_error.h"
#include "core/windows1252.h"

namespace velora {
namespace {

constexpr const char* kInvalid = "Non Valido";
constexpr int kCharsPerBoard = 3;
constexpr int kFewestBoards = 3;
constexpr int kMostBoards = 8;

// The number typed into the list, or nothing when the text is not a number as a whole. Users
// type the decimal comma as often as the point; either one is taken.
std::optional<double> typedNumber(std::string text) {
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    try {
        toUnsignedByte(std::string_view(text));
    } catch (const RunTimeError& error) {
        if (error.code() == kTypeMismatch) return std::nullopt;
    }
    return readNumber(text);
}

}  // namespace

Salva_Impost::Salva_Impost(EditorWindow& editor)
    : m_editor(editor), m_state(editor.state()), m_services(editor.services()) {
    window.setCaption("Form1");
    Label1.setCaption("Num. Schede x Riga");
    Combo2.setText("Numero di Schede LED");
    Combo2.setItems({"3", "4", "5", "6", "7", "8"});
    // Also names the list for screen readers.
    Combo2.setToolTip("Numero di schede LED per riga dell'insegna in uso");
    Label2.setCaption("6");
    Command1.setCaption("Salva Impostazione");
    Command2.setCaption("Chiudi");

    window.onLoad = [this] { Form_Load(); };
    Command1.onClick = [this] { SalvaImpostazione(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void Salva_Impost::Form_Load() {
    // The window shows the boards in use; opening and closing it changes nothing.
    Label2.setCaption(decimalText(m_state.RowChars / kCharsPerBoard));
}

void Salva_Impost::SalvaImpostazione() {
    const std::optional<double> boards = typedNumber(Combo2.text());
    // Only a whole number of boards the signs are built with is a setting. Anything else is
    // refused: a row width of 0, or of a fraction of a board, would break every page stored.
    if (!boards || *boards < kFewestBoards || *boards > kMostBoards ||
        *boards != static_cast<int>(*boards)) {
        Label2.setCaption(kInvalid);
        m_services.dialogs.messageBox(
            windows1252::fromUtf8("Numero di schede non valido: scegliere un numero da 3 a 8. "
                                  "L'impostazione non è stata salvata."),
            kProgramTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const int chosen = static_cast<int>(*boards);
    Label2.setCaption(Combo2.text());
    m_state.RowChars = static_cast<std::uint8_t>(chosen * kCharsPerBoard);
    if (!m_services.files.replace(m_editor.settingsFile(), baseDatBytes(m_state.RowChars))) {
        m_services.dialogs.messageBox(
            "Impossibile scrivere il file BASE.dat: l'impostazione vale fino alla chiusura del "
            "programma.",
            kProgramTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
    m_editor.Label3.setCaption(decimalText(m_state.RowChars / kCharsPerBoard));
}

void Salva_Impost::Command2_Click() {
    window.unload();
}

}  // namespace velora
