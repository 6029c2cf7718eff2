#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "editor_window.h"

namespace velora {
namespace {

// A row 1 of "pirla" and blanks on a sign of 18 characters gets an answer of its own.
const char* const kPirla = "pirla             ";
const char* const kPirlaAnswer = "pirla  sarai TU!!!";

}  // namespace

void EditorWindow::cmdinserisci_Click() {
    trapErrors(m_services, [&] { inserisci(); });
}

void EditorWindow::inserisci() {
    trapErrors(m_services, [&] {
        const double shown = shownPage();
        // The last stored page is re-stored in place like any other; only a blank page opened on
        // the new-page slot (already counted) goes the new-page way at that position.
        const bool lastStoredPage =
            m_state.PageCount > 0 && shown == m_state.PageCount && m_state.GapOpened == 0;
        if (m_state.PageCount > shown || lastStoredPage) {
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
