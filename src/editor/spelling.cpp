#include <algorithm>
#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "editor_window.h"
#include "sign/spelled_out.h"

namespace velora {
namespace {

// Room for a row's written-out text: what the sign shows of it, or what the row already holds
// when that is more, so that writing out never pushes letters off a row that had them.
std::size_t roomFor(const std::string& text, std::size_t width) {
    const std::size_t end = text.find_last_not_of(' ');
    return std::max(width, end == std::string::npos ? 0 : end + 1);
}

}  // namespace

std::vector<EditorWindow::SpelledRow> EditorWindow::spelledRows() const {
    std::vector<SpelledRow> rows;
    const PageLayout& layout = pageLayout(composedPage().kind);
    const bool big = layout.row1.font == SignFont::Big;
    for (const RowLayout* row : {&layout.row1, &layout.row2}) {
        if (row->show != RowShow::Fixed && row->show != RowShow::Scrolling) continue;
        SpelledRow spelled;
        spelled.field = big ? 3 : row->text;
        spelled.font = row->font;
        spelled.fixed = row->show == RowShow::Fixed;
        // The typing limit the field has may be one the preview left; the page's kind decides.
        spelled.width = spelled.fixed ? sentChars(*row, m_state.RowChars, 0)
                                      : static_cast<std::size_t>(kScrollingLimit);
        spelled.big = big;
        spelled.column = row->text;
        rows.push_back(spelled);
    }
    return rows;
}

std::string EditorWindow::spellOutOffer() const {
    std::vector<std::pair<std::string, std::string>> written;
    for (const SpelledRow& row : spelledRows()) {
        const TextBox& field = row.field == 1 ? Text1 : row.field == 2 ? Text2 : Text3;
        const auto spelled =
            velora::spellOut(field.text(), row.font, roomFor(field.text(), row.width));
        if (!spelled) continue;
        for (const auto& pair : spelled->written) {
            if (std::find(written.begin(), written.end(), pair) == written.end())
                written.push_back(pair);
        }
    }
    std::string offer;
    for (const auto& [typed, form] : written)
        offer += (offer.empty() ? "Scrivi " : ", ") + typed + " come " + form;
    return offer;
}

void EditorWindow::spellOut_Click() {
    const std::string offer = spellOutOffer();
    if (offer.empty()) return;
    const int slot = VScroll1.value();
    const bool stored = slot >= 1 && slot <= m_state.PageCount;
    stepOnStoredPage("Scrivi in lettere", [&] {
        trapErrors(m_services, [&] {
            // The store takes the rows only while the page keeps its stored kind; otherwise the
            // rows wait in the fields for "Inserisci", as any other change of mode does.
            const bool sameKind = stored && composedPage().kind == m_state.PageKind[slot];
            for (const SpelledRow& row : spelledRows()) {
                TextBox& field = row.field == 1 ? Text1 : row.field == 2 ? Text2 : Text3;
                const auto spelled =
                    velora::spellOut(field.text(), row.font, roomFor(field.text(), row.width));
                if (!spelled) continue;
                field.setText(spelled->text);
                if (!sameKind) continue;
                // A fixed row is stored as wide as the sign shows it, as storing leaves it.
                std::string text = spelled->text;
                if (row.fixed) text.resize(row.width, ' ');
                if (row.big) {
                    m_state.PageText[slot][1] = text;
                    m_state.PageText[slot][2] = text;
                } else {
                    m_state.PageText[slot][row.column] = text;
                }
            }
        });
    });
    // The step's own words replace what the status line said; the offer said what was written.
    saveNotice.setCaption("Scritto" + offer.substr(std::string("Scrivi").size()) +
                          (stored ? ": Ctrl+Z per annullare" : ""));
}

}  // namespace velora
