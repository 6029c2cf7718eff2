#include "salva_impost.h"

#include <optional>

#include "core/numbers.h"
#include "core/run_time_error.h"

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
    editor.Salv_Impost.onClick = [this] { window.show(); };
}

void Salva_Impost::Form_Load() {
    // The window opens on six boards, and the row width in use follows at once, saved or not.
    Label2.setCaption("6");
    m_state.RowChars = 6 * kCharsPerBoard;
}

void Salva_Impost::SalvaImpostazione() {
    Label2.setCaption(Combo2.text());
    const std::optional<double> boards = typedNumber(Combo2.text());
    if (boards && *boards >= kFewestBoards && *boards <= kMostBoards) {
        // A fraction such as 4.5 is no board count; the row width stays as it was.
        if (*boards == static_cast<int>(*boards)) {
            m_state.RowChars =
                static_cast<std::uint8_t>(static_cast<int>(*boards) * kCharsPerBoard);
        }
    } else {
        m_state.RowChars = 0;
        Label2.setCaption(kInvalid);
    }
    if (!m_services.files.replace(EditorWindow::kSettingsFile,
                                  settingsFileBytes(m_state.RowChars))) {
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

std::string Salva_Impost::settingsFileBytes(int rowChars) {
    return ' ' + decimalText(rowChars) + " \r\n";
}

}  // namespace velora
