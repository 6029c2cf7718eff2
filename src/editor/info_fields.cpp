#include "core/fatal_error.h"
#include "editor_window.h"

namespace velora {

void EditorWindow::InfoR1_Click() {
    trapErrors(m_services, [&] { insertInfoField(Text1, 1, kInfoInRow1, 2, InfoR2); });
}

void EditorWindow::InfoR2_Click() {
    trapErrors(m_services, [&] { insertInfoField(Text2, 2, kInfoInRow2, 1, InfoR1); });
}

void EditorWindow::insertInfoField(TextBox& field, int column, std::uint8_t kind,
                                   std::uint8_t infoRow, Button& otherButton) {
    const int slot = VScroll1.value();
    // The sample is wider than a narrow sign's row: the limit opens for it while it is written,
    // and the change rule sees the full sample.
    field.setMaxLength(kInfoTextLength);
    m_state.PageText[slot][column] = InfoSampleText(m_services.clock);
    field.setText(m_state.PageText[slot][column]);
    m_state.PageKind[slot] = kind;
    m_state.InfoRowState = infoRow;
    m_infoRowAsLoaded = false;
    otherButton.setEnabled(false);
    field.setMaxLength(m_state.RowChars);
}

}  // namespace velora
