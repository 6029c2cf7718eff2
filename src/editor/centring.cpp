#include <string>

#include "core/fatal_error.h"
#include "editor_window.h"
#include "protocol/page_layout.h"

namespace velora {
namespace {

// Spaces in front and behind, the odd one behind; spaces already in the text count as
// characters, and a text of the full width or more comes back as it was.
std::string centred(std::string text, int width) {
    const int spare = width - static_cast<int>(text.size());
    if (spare >= 2) text.insert(0, static_cast<std::size_t>(spare / 2), ' ');
    if (static_cast<int>(text.size()) < width) text.resize(static_cast<std::size_t>(width), ' ');
    return text;
}

}  // namespace

void EditorWindow::Command2_Click() {
    trapErrors(m_services, [&] {
        const int slot = VScroll1.value();
        auto& row1 = m_state.PageText[slot][1];
        auto& row2 = m_state.PageText[slot][2];
        const int rowChars = m_state.RowChars;
        const int scor1 = Scor1.value();
        const int scor2 = Scor2.value();

        if (Option1.selected() && scor1 == 0 && scor2 == 0) {
            row1 = Text1.text();
            row2 = Text2.text();
            if (!row1.empty()) row1 = centred(row1, rowChars);
            if (!row2.empty()) row2 = centred(row2, rowChars);
            Text1.setText(row1);
            Text2.setText(row2);
        } else if (Option1.selected() && scor1 == 1 && scor2 == 0) {
            row2 = centred(Text2.text(), rowChars);
            Text2.setText(row2);
        } else if (Option1.selected() && scor1 == 0 && scor2 == 1) {
            row1 = centred(Text1.text(), rowChars);
            Text1.setText(row1);
        } else if (Option2.selected() && scor1 == 0 && scor2 == 0) {
            const int width = bigRowChars(m_state);
            const std::string& text = Text3.text();
            row1 = static_cast<int>(text.size()) < width
                       ? centred(text, width)
                       : text.substr(0, static_cast<std::size_t>(width));
            Text3.setText(row1);
        }
    });
}

}  // namespace velora
