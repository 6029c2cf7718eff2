#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/page_store.h"
#include "core/windows1252.h"
#include "editor_window.h"
#include "protocol/page_layout.h"

namespace velora {
namespace {

std::string withoutTrailingBlanks(const std::string& row) {
    return row.substr(0, row.find_last_not_of(' ') + 1);
}

}  // namespace

void EditorWindow::VScroll1_Change() {
    trapErrors(m_services, [&] {
        const int position = VScroll1.value();
        NumQua.setCaption(decimalText(position));
        const int newPageSlot = m_state.PageCount + 1;
        if (shownPage() > newPageSlot) {
            // The step back runs this loader again, nested, once per position of the jump; the
            // texts typed on the new-page slot survive all of it.
            const std::string kept1 = Text1.text();
            const std::string kept2 = Text2.text();
            const std::string kept3 = Text3.text();
            m_services.dialogs.message("Pagina non Caricata.");
            VScroll1.setValue(VScroll1.value() - 1);
            Text1.setText(kept1);
            Text2.setText(kept2);
            Text3.setText(kept3);
            return;
        }

        // Emptying the new-page slot first leaves all three fields empty whatever the position,
        // so a slot never stored shows empty fields.
        clearPageTexts(m_state, newPageSlot);
        const std::string empty;
        Text1.setText(empty);
        Text3.setText(empty);
        Text2.setText(empty);

        const std::string& row1 = m_state.PageText[position][1];
        const std::string& row2 = m_state.PageText[position][2];
        // A fixed row is stored padded with blanks to the sign's width, and storing pads it
        // again: shown without them, the caret at its end can go on typing, and a page stored
        // again unchanged gives the same bytes.
        const std::string fixed1 = withoutTrailingBlanks(row1);
        const std::string fixed2 = withoutTrailingBlanks(row2);
        const int rowChars = m_state.RowChars;
        const int kind = m_state.PageKind[position];
        // Nothing of the page shown before survives: the info row is the loaded page's own, and
        // the inverse box, which forces a pause of one second, belongs to inverse big pages.
        m_state.InfoRowState = kind == kInfoInRow2 ? 1 : kind == kInfoInRow1 ? 2 : 0;
        m_infoRowAsLoaded = m_state.InfoRowState != 0;
        if (kind == kTwoFixedRows || kind == kRow2Scrolling || kind == kInfoInRow2 ||
            kind == kInfoInRow1 || kind == kRow1Scrolling)
            Gra_Inv.setValue(0);
        switch (kind) {
            case kTwoFixedRows:
                SetTwoRowMode();
                Text1.setText(fixed1);
                Text2.setText(fixed2);
                Scor1.setValue(0);
                Scor2.setValue(0);
                Text1.setMaxLength(rowChars);
                Text2.setMaxLength(rowChars);
                break;
            case kRow2Scrolling:
                SetTwoRowMode();
                Text1.setMaxLength(rowChars);
                Text2.setMaxLength(kScrollingLimit);
                Text1.setText(fixed1);
                Text2.setText(row2);
                Scor1.setValue(0);
                Scor2.setValue(1);
                break;
            case kBigFixed:
                setSignColours(Text3, false);
                Text3.setMaxLength(bigRowChars(m_state));
                Text3.setText(fixed1);
                Scor1.setValue(0);
                Scor2.setValue(0);
                Gra_Inv.setValue(0);
                SetBigRowMode();
                break;
            case kBigScrolling:
                setSignColours(Text3, false);
                Text3.setMaxLength(kScrollingLimit);
                Text3.setText(row2);
                Scor1.setValue(1);
                Scor2.setValue(1);
                Gra_Inv.setValue(0);
                SetBigRowMode();
                break;
            case kInfoInRow2:
                SetTwoRowMode();
                InfoR1.setEnabled(false);
                InfoR2.setEnabled(true);
                Text1.setText(fixed1);
                Text2.setMaxLength(kInfoTextLength);
                // The sign fills the info row itself; the editor shows what it would look like now.
                Text2.setText(InfoSampleText(m_services.clock));
                Scor1.setValue(0);
                Scor2.setValue(0);
                Text1.setMaxLength(rowChars);
                Text2.setMaxLength(rowChars);
                break;
            case kInfoInRow1:
                SetTwoRowMode();
                InfoR1.setEnabled(true);
                InfoR2.setEnabled(false);
                Text1.setMaxLength(kInfoTextLength);
                Text1.setText(InfoSampleText(m_services.clock));
                Text2.setText(fixed2);
                Scor1.setValue(0);
                Scor2.setValue(0);
                Text1.setMaxLength(rowChars);
                Text2.setMaxLength(rowChars);
                break;
            case kRow1Scrolling:
                SetTwoRowMode();
                Text2.setMaxLength(rowChars);
                Text1.setMaxLength(kScrollingLimit);
                Text1.setText(row1);
                Text2.setText(fixed2);
                Scor1.setValue(1);
                Scor2.setValue(0);
                break;
            case kBigFixedInverse:
                Text3.setMaxLength(bigRowChars(m_state));
                Text3.setText(fixed1);
                setSignColours(Text3, true);
                Scor2.setValue(0);
                Scor1.setValue(0);
                Gra_Inv.setValue(1);
                SetBigRowMode();
                break;
            default:
                break;
        }

        // A slot without a pause keeps the pause the user last chose.
        const int pause = m_state.PagePause[position];
        if (pause != 0) {
            m_state.CurrentPause = static_cast<std::uint8_t>(pause);
            Combo1.setText(decimalText(pause));
        }
    });
}

void EditorWindow::SetTwoRowMode() {
    trapErrors(m_services, [&] {
        Option1.setSelected(true);
        Option2.setSelected(false);
        Text3.setVisible(false);
        Text1.setVisible(true);
        Text2.setVisible(true);
        LenRiga1.setVisible(true);
        LenRiga2.setVisible(true);
        LenRigaUn.setVisible(false);
        Gra_Inv.setEnabled(false);
        Scor2.setEnabled(Scor1.value() != 1);
        Scor1.setEnabled(Scor2.value() != 1);
        if (Scor1.value() == 0 && Scor2.value() == 0 && m_state.InfoRowState == 0) {
            InfoR1.setEnabled(true);
            InfoR2.setEnabled(true);
        }
    });
}

void EditorWindow::showBigRowLayout() {
    Option1.setSelected(false);
    Option2.setSelected(true);
    Text1.setVisible(false);
    Text2.setVisible(false);
    Text3.setVisible(true);
    LenRiga1.setVisible(false);
    LenRiga2.setVisible(false);
    LenRigaUn.setVisible(true);
    InfoR1.setEnabled(false);
    InfoR2.setEnabled(false);
}

void EditorWindow::SetBigRowMode() {
    trapErrors(m_services, [&] {
        showBigRowLayout();
        const int scor1 = Scor1.value();
        const int scor2 = Scor2.value();
        const int inverse = Gra_Inv.value();
        if (scor1 == 0 && scor2 == 0 && inverse == 0) {
            Gra_Inv.setEnabled(false);
            Scor1.setEnabled(false);
            Scor2.setEnabled(false);
        } else if (scor1 == 0 && scor2 == 0 && inverse == 1) {
            Gra_Inv.setEnabled(true);
            Scor1.setEnabled(false);
            Scor2.setEnabled(false);
        } else if (scor1 == 1 && scor2 == 1 && inverse == 0) {
            Gra_Inv.setEnabled(false);
            Scor1.setEnabled(true);
            Scor2.setEnabled(true);
        }
    });
}

void EditorWindow::Picture2_Click() {
    const HistoryScope scope = step("Inserisci pagina vuota " + decimalText(VScroll1.value()));
    trapErrors(m_services, [&] { InsertBlankPage(); });
}

void EditorWindow::InsertBlankPage() {
    trapErrors(m_services, [&] {
        // The store has room for 200 pages; past that, pages would be pushed out of it.
        if (m_state.PageCount >= kLastSlot) {
            m_services.dialogs.message(windows1252::fromUtf8(
                "La sequenza è piena: non si possono inserire più di 200 pagine."));
            return;
        }
        const int position = static_cast<int>(shownPage());
        m_state.PageCount = static_cast<std::uint8_t>(m_state.PageCount + 1);
        txtmax.setCaption(decimalText(m_state.PageCount));
        m_state.GapOpened = 1;
        movePagesUp(m_state, position, m_state.PageCount);
        clearPageTexts(m_state, position);
        const std::string empty;
        Text1.setText(empty);
        Text2.setText(empty);
        Text3.setText(empty);
        Scor1.setEnabled(true);
        Scor2.setEnabled(true);
        InfoR1.setEnabled(true);
        InfoR2.setEnabled(true);
        Scor1.setValue(0);
        Scor2.setValue(0);
        Gra_Inv.setValue(0);
        // The page shown before leaves nothing behind: an info row chosen on it would make the
        // blank page an info page and keep its controls disabled.
        m_state.InfoRowState = 0;
        m_infoRowAsLoaded = false;
    });
}

void EditorWindow::Timer2_Timer() {
    trapErrors(m_services, [&] {
        VScroll1.setValue(1);
        Timer2.setEnabled(false);
    });
}

}  // namespace velora
