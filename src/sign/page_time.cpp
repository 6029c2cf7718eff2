#include "page_time.h"

#include <algorithm>

#include "protocol/page_layout.h"
#include "sign_face.h"

namespace velora {

int scrollSteps(std::uint8_t kind, std::size_t row1Chars, std::size_t row2Chars) {
    const PageLayout& layout = pageLayout(kind);
    // Row 2 runs out through fewer blanks than row 1 and the big row.
    if (layout.row1.show == RowShow::Scrolling) return static_cast<int>(row1Chars) + kRow1RunOut;
    if (layout.row2.show == RowShow::Scrolling) return static_cast<int>(row2Chars) + kRow2RunOut;
    return 0;
}

double signPauseSeconds(int pause) {
    return std::max(1, pause);
}

double scrollSeconds(const Modulo1& state, int slot) {
    const std::uint8_t kind = state.PageKind[slot];
    const PageLayout& layout = pageLayout(kind);
    // A scrolling row sends its whole stored text, one character a step.
    auto chars = [&](const RowLayout& row) {
        return row.text == 0 ? std::size_t{0} : state.PageText[slot][row.text].size();
    };
    return scrollSteps(kind, chars(layout.row1), chars(layout.row2)) * kScrollStepSeconds;
}

double signPageSeconds(const Modulo1& state, int slot) {
    return scrollSeconds(state, slot) + signPauseSeconds(state.PagePause[slot]);
}

}  // namespace velora
