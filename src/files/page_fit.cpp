#include "page_fit.h"

#include <algorithm>

#include "core/page_store.h"
#include "protocol/page_layout.h"

namespace velora {

FitCuts fitToWidth(SequenceRecord& page, int rowChars, std::size_t scrollingLimit) {
    FitCuts cuts;
    const PageLayout& layout = pageLayout(page.kind);
    for (const RowLayout* row : {&layout.row1, &layout.row2}) {
        if (row->text == 0) continue;
        std::string& text = row->text == 1 ? page.row1 : page.row2;
        if (const auto width = storedWidth(*row, rowChars)) {
            cuts.fixed = cuts.fixed || cutsText(*row, text, rowChars);
            text.resize(*width, ' ');
        } else if (row->width == RowWidth::WholeText && text.size() > scrollingLimit) {
            cuts.scrolling = true;
            text.resize(scrollingLimit);
        }
        // The big row's text stands in both columns, as the editor stores it.
        if (row->font == SignFont::Big) (row->text == 1 ? page.row2 : page.row1) = text;
    }
    return cuts;
}

std::vector<int> bringToWidth(Modulo1& sequence, int rowChars) {
    std::vector<int> cut;
    const int pages = std::min<int>(sequence.PageCount, kLastSlot);
    for (int slot = 1; slot <= pages; ++slot) {
        const auto at = static_cast<std::size_t>(slot);
        SequenceRecord page{sequence.PageKind[at], sequence.PageText[at][1],
                            sequence.PageText[at][2], sequence.PagePause[at]};
        if (fitToWidth(page, rowChars, kWholeScrollingText).fixed) cut.push_back(slot);
        putPage(sequence, slot, page.kind, page.row1, page.row2, page.pause);
    }
    sequence.RowChars = static_cast<std::uint8_t>(rowChars);
    return cut;
}

}  // namespace velora
