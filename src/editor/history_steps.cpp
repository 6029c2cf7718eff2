#include <algorithm>
#include <string>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "editor_window.h"

namespace velora {

HistoryScope EditorWindow::step(std::string name) {
    // Each change of the sequence is the latest action: what the status line said about an
    // earlier one no longer holds. The caller may say something of its own afterwards.
    return HistoryScope(
        m_history, m_state, [this] { return VScroll1.value(); }, std::move(name),
        [this] {
            saveNotice.setCaption({});
            showHistory();
        });
}

void EditorWindow::stepOnStoredPage(const std::string& what, const std::function<void()>& change) {
    const int slot = VScroll1.value();
    HistoryScope scope = step(what + " pagina " + decimalText(slot));
    change();
    if (slot < 1 || slot > m_state.PageCount) scope.cancel();
}

namespace {

// The page a step left shown, where the selector can stand now: at most the new-page slot.
int reachablePage(const Modulo1& state, const ScrollBar& selector, int page) {
    const int last = std::min(state.PageCount + 1, selector.max());
    return std::clamp(page, std::max(1, selector.min()), std::max(1, last));
}

}  // namespace

void EditorWindow::mnuAnnulla_Click() {
    trapErrors(m_services, [&] {
        const std::string name = m_history.undoName();
        const std::optional<int> page = m_history.undo(m_state);
        if (!page) return;
        showStepPage(*page);
        saveNotice.setCaption("Annullato: " + name);
    });
}

void EditorWindow::mnuRipeti_Click() {
    trapErrors(m_services, [&] {
        const std::string name = m_history.redoName();
        const std::optional<int> page = m_history.redo(m_state);
        if (!page) return;
        showStepPage(*page);
        saveNotice.setCaption("Ripetuto: " + name);
    });
}

void EditorWindow::showStepPage(int page) {
    // A file opened just before waits for its first-page jump; the step's own page wins.
    Timer2.setEnabled(false);
    txtmax.setCaption(decimalText(m_state.PageCount));
    Label3.setCaption(decimalText(m_state.RowChars / 3));
    const int position = reachablePage(m_state, VScroll1, page);
    if (VScroll1.value() != position)
        VScroll1.setValue(position);
    else
        VScroll1_Change();
    showHistory();
}

bool EditorWindow::sequenceModified() const {
    if (m_state.PageCount == 0 && m_state.CurrentFilePath.empty()) return false;
    return m_history.modified(m_state);
}

void EditorWindow::markSaved() {
    m_history.markClean(m_state);
    showHistory();
}

}  // namespace velora
