#include <algorithm>
#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "editor_window.h"

namespace velora {

void EditorWindow::Picture1_Click() {
    trapErrors(m_services, [&] {
        // Only a stored page can be deleted: the new-page slot holds nothing of the sequence.
        const double shown = shownPage();
        if (m_state.PageCount >= 1 && shown >= 1 && shown <= m_state.PageCount) elimina();
    });
}

void EditorWindow::elimina() {
    trapErrors(m_services, [&] {
        const int position = static_cast<int>(shownPage());
        const int count = m_state.PageCount;
        if (position < 1 || position > count) return;
        for (int i = position; i <= count; ++i) {
            const int next = i + 1;
            if (next > kLastSlot) {
                // A full store has no new-page slot to move down: the last slot becomes empty.
                m_state.PageText[i][1].clear();
                m_state.PageText[i][2].clear();
                m_state.PagePause[i] = 0;
                m_state.PageKind[i] = kNeverStored;
                continue;
            }
            m_state.PageText[i][1] = m_state.PageText[next][1];
            m_state.PageText[i][2] = m_state.PageText[next][2];
            m_state.PagePause[i] = m_state.PagePause[next];
            m_state.PageKind[i] = m_state.PageKind[next];
        }
        // The pages that remain keep their own pauses, and a sequence shortened to one page
        // keeps that page: only "Nuovo" empties the sequence.
        m_state.PageCount = static_cast<std::uint8_t>(count - 1);
        txtmax.setCaption(decimalText(m_state.PageCount));
        VScroll1_Change();
    });
}

void EditorWindow::mnunextNuovo_Click() {
    // No error trap of its own: an error here ends the program with a plain message.
    const int last = std::min(m_state.PageCount + 1, kLastSlot);
    for (int i = 1; i <= last; ++i) {
        m_state.PageText[i][1].clear();
        m_state.PageText[i][2].clear();
        m_state.PageKind[i] = kNeverStored;
        m_state.PagePause[i] = 0;
    }
    const std::string empty;
    Text1.setText(empty);
    Text2.setText(empty);
    Text3.setText(empty);
    m_state.PageCount = 0;
    txtmax.setCaption("0");
    VScroll1.setValue(1);
    NumQua.setCaption(decimalText(VScroll1.value()));
    Scor1.setValue(0);
    Scor2.setValue(0);
    Gra_Inv.setValue(0);
    m_state.CurrentFilePath.clear();
    // A new sequence starts as the program does: no info row chosen and no blank page pending,
    // so the next tick enables the scroll and info controls again.
    m_state.InfoRowState = 0;
    m_state.GapOpened = 0;
    saveNotice.setCaption({});
}

}  // namespace velora
