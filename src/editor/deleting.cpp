#include <algorithm>
#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/page_store.h"
#include "editor_window.h"

namespace velora {

void EditorWindow::Picture1_Click() {
    trapErrors(m_services, [&] {
        // Only a stored page can be deleted: the new-page slot holds nothing of the sequence.
        const double shown = shownPage();
        if (m_state.PageCount >= 1 && shown >= 1 && shown <= m_state.PageCount) {
            const std::string page = decimalText(static_cast<long long>(shown));
            HistoryScope scope = step("Elimina pagina " + page);
            elimina();
            if (scope.commit())
                saveNotice.setCaption("Pagina " + page + " eliminata: Ctrl+Z per annullare");
        }
    });
}

void EditorWindow::elimina() {
    trapErrors(m_services, [&] {
        const int position = static_cast<int>(shownPage());
        const int count = m_state.PageCount;
        if (position < 1 || position > count) return;
        // The new-page slot moves down with the pages; a full store has none, and its last slot
        // becomes empty.
        movePagesDown(m_state, position, count);
        // The pages that remain keep their own pauses, and a sequence shortened to one page
        // keeps that page: only "Nuovo" empties the sequence.
        m_state.PageCount = static_cast<std::uint8_t>(count - 1);
        txtmax.setCaption(decimalText(m_state.PageCount));
        VScroll1_Change();
    });
}

void EditorWindow::mnunextNuovo_Click() {
    // No error trap of its own: an error here ends the program with a plain message.
    HistoryScope scope = step("Nuovo");
    clearPages(m_state, 1, std::min(m_state.PageCount + 1, kLastSlot));
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
    // One click, as it always was; the status line tells how to take it back.
    if (scope.commit()) saveNotice.setCaption("Sequenza svuotata: Ctrl+Z per annullare");
}

}  // namespace velora
