// Feeds arbitrary bytes to the page list's paste reader. Whatever the text, the reader refuses it,
// counts too many pages, or gives at most 200 pages; each one brought to a row width holds its
// fixed rows at that width and every scrolling row, a big one's included, at 114 characters, and
// its two lines read back as the same page.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/modulo1.h"
#include "files/sequence_file.h"
#include "pages/page_list.h"
#include "protocol/page_layout.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the row width, 3 to 8 boards of 3 characters.
    const int rowChars = (data[0] % 6 + 3) * 3;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    velora::PastedPages pasted = velora::readPastedPages(text, rowChars);
    using Kind = velora::PastedPages::Kind;
    if (pasted.kind != Kind::Pages) {
        require(pasted.pages.empty());
        require(pasted.kind == Kind::NotPages || pasted.count > velora::kLastSlot);
        return 0;
    }
    require(!pasted.pages.empty() && pasted.pages.size() <= velora::kLastSlot);
    for (velora::SequenceRecord& page : pasted.pages) {
        velora::fitToWidth(page, rowChars);
        const velora::PageLayout& layout = velora::pageLayout(page.kind);
        for (const velora::RowLayout* row : {&layout.row1, &layout.row2}) {
            if (row->text == 0) continue;
            const std::string& stored = row->text == 1 ? page.row1 : page.row2;
            if (const auto width = velora::storedWidth(*row, rowChars))
                require(stored.size() == *width);
            else
                require(stored.size() <= static_cast<std::size_t>(velora::kScrollingLimit));
        }
        const auto back = velora::parseSequenceFile("1," + std::to_string(rowChars) + "\r\n" +
                                                    velora::pageFileLines(page));
        require(back && back->records.size() == 1 && back->records[0].row1 == page.row1 &&
                back->records[0].row2 == page.row2 && back->records[0].kind == page.kind);
    }
    return 0;
}
