#include "salva_impost.h"

#include <algorithm>
#include <optional>

#include "core/base_dat.h"
#include "core/numbers.h"
#include "core/run_time_error.h"
#include "core/windows1252.h"
#include "protocol/page_layout.h"

namespace velora {
namespace {

constexpr const char* kInvalid = "Non Valido";

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

int pagesCutAt(const Modulo1& state, int rowChars) {
    int pages = 0;
    const int last = std::min<int>(state.PageCount, kLastSlot);
    for (int slot = 1; slot <= last; ++slot) {
        const auto& text = state.PageText[static_cast<std::size_t>(slot)];
        const PageLayout& layout = pageLayout(state.PageKind[static_cast<std::size_t>(slot)]);
        bool cut = false;
        for (const RowLayout* row : {&layout.row1, &layout.row2}) {
            if (cutsText(*row, text[static_cast<std::size_t>(row->text)], rowChars)) cut = true;
        }
        pages += cut ? 1 : 0;
    }
    return pages;
}

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
    Label2.setCaption(decimalText(m_state.RowChars / kRowCharsPerBoard));
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
    if (!confirmBoards(chosen)) return;
    Label2.setCaption(Combo2.text());
    applyBoards(chosen);
    if (m_signs && m_signs->usable()) {
        // The sign in use takes the boards; BASE.dat follows when it is the first sign's.
        const auto refused = m_signs->apply([chosen](SignList& list) {
            const Sign current = list.current();
            return list.edit(current.name, current.port, chosen);
        });
        if (refused) {
            m_services.dialogs.messageBox(
                windows1252::fromUtf8(*refused +
                                      " L'impostazione vale fino alla chiusura del programma."),
                kProgramTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        }
        return;
    }
    if (!m_services.files.replace(m_editor.settingsFile(), baseDatBytes(m_state.RowChars))) {
        m_services.dialogs.messageBox(
            "Impossibile scrivere il file BASE.dat: l'impostazione vale fino alla chiusura del "
            "programma.",
            kProgramTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

bool Salva_Impost::confirmBoards(int boards) {
    const int rowChars = boards * kRowCharsPerBoard;
    // A narrower sign shows less of every fixed row: the user hears how much before it happens.
    const int cut = pagesCutAt(m_state, rowChars);
    if (cut == 0) return true;
    const std::string pages = cut == 1 ? "1 pagina ha" : decimalText(cut) + " pagine hanno";
    const MessageAnswer answer = m_services.dialogs.messageBox(
        windows1252::fromUtf8(pages + " testo oltre " + decimalText(rowChars) +
                              " caratteri: la parte in più non verrà mostrata. Continuare?"),
        "Conferma", MessageIcon::Exclamation, MessageButtons::YesNo);
    return answer == MessageAnswer::Yes;
}

void Salva_Impost::applyBoards(int boards) {
    {
        const HistoryScope step = m_editor.step("Schede LED " + decimalText(boards));
        m_state.RowChars = static_cast<std::uint8_t>(boards * kRowCharsPerBoard);
    }
    m_editor.Label3.setCaption(decimalText(m_state.RowChars / kRowCharsPerBoard));
}

void Salva_Impost::Command2_Click() {
    window.unload();
}

}  // namespace velora
