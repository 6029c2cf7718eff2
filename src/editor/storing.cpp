#include <algorithm>
#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/run_time_error.h"
#include "editor_window.h"

namespace velora {
namespace {

// A row 1 of "pirla" and blanks on a sign of 18 characters gets an answer of its own.
const char* const kPirla = "pirla             ";
const char* const kPirlaAnswer = "pirla  sarai TU!!!";

}  // namespace

void EditorWindow::cmdinserisci_Click() {
    const std::string name = "Inserisci pagina " + decimalText(VScroll1.value());
    beginStep();
    trapErrors(m_services, [&] { inserisci(); });
    commitStep(name);
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

void EditorWindow::storeKindFromControls(int slot, bool newPage) {
    // Every test reads the controls afresh and the last one that matches decides: a two-row page
    // with an info row matches the plain two-row test first.
    auto& row1 = m_state.PageText[slot][1];
    auto& row2 = m_state.PageText[slot][2];
    auto& kind = m_state.PageKind[slot];
    const int rowChars = m_state.RowChars;
    const int bigChars = bigRowChars(m_state);
    // An info row that nobody touched since its page was loaded keeps its stored text; the
    // sign never shows that text, but the file keeps it.
    const bool keepInfoText = !newPage && m_infoRowAsLoaded;
    const std::string storedRow1 = row1;
    const std::string storedRow2 = row2;
    auto twoRows = [&] { return Option1.selected(); };
    auto bigRow = [&] { return Option2.selected(); };

    if (twoRows() && Scor1.value() == 0 && Scor2.value() == 0) {
        bringToWidth(Text1, rowChars);
        bringToWidth(Text2, rowChars);
        row1 = Text1.text();
        if (newPage && row1 == kPirla) row1 = kPirlaAnswer;
        row2 = Text2.text();
        kind = kTwoFixedRows;
    }
    if (twoRows() && Scor1.value() == 0 && Scor2.value() == 1) {
        bringToWidth(Text1, rowChars);
        row1 = Text1.text();
        row2 = Text2.text();
        kind = kRow2Scrolling;
    }
    if (bigRow() && Scor1.value() == 0 && Scor2.value() == 0 && Gra_Inv.value() == 0) {
        bringToWidth(Text3, bigChars);
        row1 = Text3.text();
        row2 = Text3.text();
        kind = kBigFixed;
    }
    if (bigRow() && (Scor1.value() == 1 || Scor2.value() == 1)) {
        row1 = Text3.text();
        row2 = Text3.text();
        kind = kBigScrolling;
    }
    if (twoRows() && m_state.InfoRowState == 1) {
        bringToWidth(Text1, rowChars);
        row1 = Text1.text();
        row2 = newPage        ? InfoSampleText(m_services.clock)
               : keepInfoText ? storedRow2
                              : Text2.text();
        kind = kInfoInRow2;
        // A page stored in place stays on screen with its info row; the new-page path moves on.
        if (newPage) m_state.InfoRowState = 0;
        if (newPage) Text2.setMaxLength(rowChars);
    }
    if (twoRows() && m_state.InfoRowState == 2) {
        bringToWidth(Text2, rowChars);
        row1 = newPage        ? InfoSampleText(m_services.clock)
               : keepInfoText ? storedRow1
                              : Text1.text();
        row2 = Text2.text();
        kind = kInfoInRow1;
        if (newPage) m_state.InfoRowState = 0;
        if (newPage) Text1.setMaxLength(rowChars);
    }
    if (twoRows() && Scor1.value() == 1 && Scor2.value() == 0) {
        bringToWidth(Text2, rowChars);
        row1 = Text1.text();
        row2 = Text2.text();
        kind = kRow1Scrolling;
    }
    if (bigRow() && Scor1.value() == 0 && Scor2.value() == 0 && Gra_Inv.value() == 1) {
        bringToWidth(Text3, bigChars);
        row1 = Text3.text();
        row2 = Text3.text();
        kind = kBigFixedInverse;
    }
}

}  // namespace velora

namespace velora {
namespace {

std::string toWidth(std::string text, int width) {
    text.resize(static_cast<std::size_t>(std::max(width, 0)), ' ');
    return text;
}

}  // namespace

EditorWindow::ComposedPage EditorWindow::composedPage() const {
    // The kind tests of storeKindFromControls, in the same order, the last match deciding; none
    // of them changes a control that a later test reads, so the outcome is the last match's.
    const int slot = VScroll1.value();
    const bool newPage = storesNewPage();
    const int rowChars = m_state.RowChars;
    const int bigChars = bigRowChars(m_state);
    const bool twoRows = Option1.selected();
    const bool bigRow = Option2.selected();
    const int scor1 = Scor1.value();
    const int scor2 = Scor2.value();

    const std::string& storedRow1 = m_state.PageText[slot][1];
    const std::string& storedRow2 = m_state.PageText[slot][2];
    const bool keepInfoText = !newPage && m_infoRowAsLoaded;
    ComposedPage page{m_state.PageKind[slot], 0, storedRow1, storedRow2};
    auto set = [&page](std::uint8_t kind, std::string row1, std::string row2) {
        page.kind = kind;
        page.row1 = std::move(row1);
        page.row2 = std::move(row2);
    };
    if (twoRows && scor1 == 0 && scor2 == 0) {
        std::string row1 = toWidth(Text1.text(), rowChars);
        if (newPage && row1 == kPirla) row1 = kPirlaAnswer;
        set(kTwoFixedRows, row1, toWidth(Text2.text(), rowChars));
    }
    if (twoRows && scor1 == 0 && scor2 == 1)
        set(kRow2Scrolling, toWidth(Text1.text(), rowChars), Text2.text());
    if (bigRow && scor1 == 0 && scor2 == 0 && Gra_Inv.value() == 0)
        set(kBigFixed, toWidth(Text3.text(), bigChars), toWidth(Text3.text(), bigChars));
    if (bigRow && (scor1 == 1 || scor2 == 1)) set(kBigScrolling, Text3.text(), Text3.text());
    if (twoRows && m_state.InfoRowState == 1) {
        // Test 1 has already brought the info field to the row's width.
        const std::string field =
            scor1 == 0 && scor2 == 0 ? toWidth(Text2.text(), rowChars) : Text2.text();
        set(kInfoInRow2, toWidth(Text1.text(), rowChars),
            newPage        ? InfoSampleText(m_services.clock)
            : keepInfoText ? storedRow2
                           : field);
    }
    if (twoRows && m_state.InfoRowState == 2) {
        const std::string field =
            scor1 == 0 && scor2 == 0 ? toWidth(Text1.text(), rowChars) : Text1.text();
        set(kInfoInRow1,
            newPage        ? InfoSampleText(m_services.clock)
            : keepInfoText ? storedRow1
                           : field,
            toWidth(Text2.text(), rowChars));
    }
    if (twoRows && scor1 == 1 && scor2 == 0)
        set(kRow1Scrolling, Text1.text(), toWidth(Text2.text(), rowChars));
    if (bigRow && scor1 == 0 && scor2 == 0 && Gra_Inv.value() == 1)
        set(kBigFixedInverse, toWidth(Text3.text(), bigChars), toWidth(Text3.text(), bigChars));

    try {
        page.pause = toUnsignedByte(Combo1.text());
    } catch (const RunTimeError&) {
        // A pause the store would refuse: the page keeps the pause it has.
        page.pause = m_state.PagePause[slot];
    }
    return page;
}

}  // namespace velora
