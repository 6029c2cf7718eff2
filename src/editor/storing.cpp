#include <algorithm>
#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/run_time_error.h"
#include "editor_window.h"
#include "protocol/page_layout.h"

namespace velora {
namespace {

// A row 1 of "pirla" and blanks on a sign of 18 characters gets an answer of its own.
const char* const kPirla = "pirla             ";
const char* const kPirlaAnswer = "pirla  sarai TU!!!";

std::string toWidth(std::string text, int width) {
    text.resize(static_cast<std::size_t>(std::max(width, 0)), ' ');
    return text;
}

}  // namespace

void EditorWindow::cmdinserisci_Click() {
    HistoryScope scope = step("Inserisci pagina " + decimalText(VScroll1.value()));
    trapErrors(m_services, [&] { inserisci(); });
    scope.commit();
    // Padding the rows moved the focus down on the way; the next page is typed from its top.
    window.setFocus(Option2.selected() ? Text3 : Text1);
}

void EditorWindow::inserisci() {
    trapErrors(m_services, [&] {
        if (!storesNewPage()) {
            UpdateStoredPage();
            return;
        }

        const int slot = VScroll1.value();
        storeKindFromControls(slot, true);
        NumQua.setCaption(decimalText(slot));
        // A blank page opened on the new-page slot was counted when it was opened. A page
        // written past the counted ones is always counted, even if a gap opened elsewhere left
        // the flag behind.
        if (m_state.GapOpened == 0 || slot > m_state.PageCount)
            m_state.PageCount = static_cast<std::uint8_t>(m_state.PageCount + 1);
        txtmax.setCaption(decimalText(m_state.PageCount));
        m_state.GapOpened = 0;
        m_state.PagePause[slot] = toUnsignedByte(Combo1.text());
        VScroll1.setValue(VScroll1.value() + 1);
        InfoR1.setEnabled(true);
        InfoR2.setEnabled(true);
    });
}

bool EditorWindow::storesNewPage() const {
    const double shown = shownPage();
    // The last stored page is re-stored in place like any other; only a blank page opened on
    // the new-page slot (already counted) goes the new-page way at that position.
    const bool lastStoredPage =
        m_state.PageCount > 0 && shown == m_state.PageCount && m_state.GapOpened == 0;
    return !(m_state.PageCount > shown || lastStoredPage);
}

void EditorWindow::UpdateStoredPage() {
    trapErrors(m_services, [&] {
        const int slot = VScroll1.value();
        storeKindFromControls(slot, false);
        m_state.PagePause[slot] = toUnsignedByte(Combo1.text());
    });
}

void EditorWindow::bringToWidth(TextBox& field, int width) {
    for (int count = static_cast<int>(field.text().size()); count <= width; ++count)
        field.setText(field.text() + " ");
    if (static_cast<int>(field.text().size()) > width)
        field.setText(field.text().substr(0, static_cast<std::size_t>(width)));
}

EditorWindow::KindDecision EditorWindow::decideKind(int slot, bool newPage) const {
    // A test that matches brings its fields to the row's width before a later test reads them:
    // a two-row page with an info row matches the plain two-row test first.
    const int rowChars = m_state.RowChars;
    const int bigChars = bigRowChars(m_state);
    const bool twoRows = Option1.selected();
    const bool bigRow = Option2.selected();
    const int scor1 = Scor1.value();
    const int scor2 = Scor2.value();
    // An info row that nobody touched since its page was loaded keeps its stored text; the
    // sign never shows that text, but the file keeps it.
    const std::string& storedRow1 = m_state.PageText[slot][1];
    const std::string& storedRow2 = m_state.PageText[slot][2];
    const bool keepInfoText = !newPage && m_infoRowAsLoaded;

    KindDecision d{{m_state.PageKind[slot], 0, storedRow1, storedRow2}};
    auto text1 = [&] { return d.widenText1 ? toWidth(Text1.text(), rowChars) : Text1.text(); };
    auto text2 = [&] { return d.widenText2 ? toWidth(Text2.text(), rowChars) : Text2.text(); };
    auto text3 = [&] { return d.widenText3 ? toWidth(Text3.text(), bigChars) : Text3.text(); };
    auto set = [&d](std::uint8_t kind, std::string row1, std::string row2) {
        d.page.kind = kind;
        d.page.row1 = std::move(row1);
        d.page.row2 = std::move(row2);
    };

    if (twoRows && scor1 == 0 && scor2 == 0) {
        d.widenText1 = d.widenText2 = true;
        std::string row1 = text1();
        if (newPage && row1 == kPirla) row1 = kPirlaAnswer;
        set(kTwoFixedRows, row1, text2());
    }
    if (twoRows && scor1 == 0 && scor2 == 1) {
        d.widenText1 = true;
        set(kRow2Scrolling, text1(), text2());
    }
    if (bigRow && scor1 == 0 && scor2 == 0 && Gra_Inv.value() == 0) {
        d.widenText3 = true;
        set(kBigFixed, text3(), text3());
    }
    if (bigRow && (scor1 == 1 || scor2 == 1)) set(kBigScrolling, text3(), text3());
    if (twoRows && m_state.InfoRowState == 1) {
        d.widenText1 = true;
        d.infoRowMatched = 1;
        set(kInfoInRow2, text1(),
            newPage        ? InfoSampleText(m_services.clock)
            : keepInfoText ? storedRow2
                           : text2());
    }
    if (twoRows && m_state.InfoRowState == 2) {
        d.widenText2 = true;
        d.infoRowMatched = 2;
        set(kInfoInRow1,
            newPage        ? InfoSampleText(m_services.clock)
            : keepInfoText ? storedRow1
                           : text1(),
            text2());
    }
    if (twoRows && scor1 == 1 && scor2 == 0) {
        d.widenText2 = true;
        set(kRow1Scrolling, text1(), text2());
    }
    if (bigRow && scor1 == 0 && scor2 == 0 && Gra_Inv.value() == 1) {
        d.widenText3 = true;
        set(kBigFixedInverse, text3(), text3());
    }
    return d;
}

void EditorWindow::storeKindFromControls(int slot, bool newPage) {
    KindDecision d = decideKind(slot, newPage);
    // The fields keep the width they were stored at; two-row and big-row tests never both
    // match, and row 1 was always brought before row 2.
    if (d.widenText1) bringToWidth(Text1, m_state.RowChars);
    if (d.widenText2) bringToWidth(Text2, m_state.RowChars);
    if (d.widenText3) bringToWidth(Text3, bigRowChars(m_state));
    m_state.PageKind[slot] = d.page.kind;
    m_state.PageText[slot][1] = std::move(d.page.row1);
    m_state.PageText[slot][2] = std::move(d.page.row2);
    // A page stored in place stays on screen with its info row; the new-page path moves on.
    if (newPage && d.infoRowMatched != 0) {
        m_state.InfoRowState = 0;
        (d.infoRowMatched == 1 ? Text2 : Text1).setMaxLength(m_state.RowChars);
    }
}

EditorWindow::ComposedPage EditorWindow::composedPage() const {
    const int slot = VScroll1.value();
    ComposedPage page = decideKind(slot, storesNewPage()).page;
    try {
        page.pause = toUnsignedByte(Combo1.text());
    } catch (const RunTimeError&) {
        // A pause the store would refuse: the page keeps the pause it has.
        page.pause = m_state.PagePause[slot];
    }
    return page;
}

}  // namespace velora
