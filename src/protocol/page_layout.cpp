#include "page_layout.h"

#include <algorithm>
#include <array>

#include "core/modulo1.h"

namespace velora {
namespace {

constexpr RowLayout kFixed1{RowShow::Fixed, SignFont::Normal, RowWidth::FixedBlock, 1};
constexpr RowLayout kFixed2{RowShow::Fixed, SignFont::Normal, RowWidth::FixedBlock, 2};
constexpr RowLayout kShort1{RowShow::Fixed, SignFont::Normal, RowWidth::Row, 1};
constexpr RowLayout kShort2{RowShow::Fixed, SignFont::Normal, RowWidth::Row, 2};
constexpr RowLayout kScrolling1{RowShow::Scrolling, SignFont::Normal, RowWidth::WholeText, 1};
constexpr RowLayout kScrolling2{RowShow::Scrolling, SignFont::Normal, RowWidth::WholeText, 2};
constexpr RowLayout kInfo{RowShow::Info, SignFont::Normal, RowWidth::None, 0};
constexpr RowLayout kBigFixedRow{RowShow::Fixed, SignFont::Big, RowWidth::HalfRow, 1};
// The editor stores the big text in both rows; the scrolling record has always taken row 2's.
constexpr RowLayout kBigScrollingRow{RowShow::Scrolling, SignFont::Big, RowWidth::WholeText, 2};
constexpr RowLayout kBigBlank{RowShow::Blank, SignFont::Big, RowWidth::None, 0};

constexpr PageLayout kNoBody{};

// Indexed by PageKindCode.
constexpr std::array<PageLayout, 9> kLayouts{{
    kNoBody,                                                                 // kNeverStored
    {.row1 = kFixed1, .row2 = kFixed2},                                      // kTwoFixedRows
    {.row1 = kFixed1, .row2 = kScrolling2},                                  // kRow2Scrolling
    {.row1 = kBigFixedRow, .row2 = kBigBlank},                               // kBigFixed
    {.row1 = kBigScrollingRow, .row2 = kBigBlank, .blankBlockFirst = true},  // kBigScrolling
    {.row1 = kShort1, .row2 = kInfo},                                        // kInfoInRow2
    {.row1 = kInfo, .row2 = kShort2},                                        // kInfoInRow1
    {.row1 = kScrolling1, .row2 = kFixed2, .row2First = true},               // kRow1Scrolling
    {.row1 = kBigFixedRow, .row2 = kBigBlank, .inverse = true},              // kBigFixedInverse
}};

static_assert(kLayouts.size() == kBigFixedInverse + 1);

}  // namespace

const PageLayout& pageLayout(std::uint8_t kind) {
    return kind < kLayouts.size() ? kLayouts[kind] : kNoBody;
}

std::size_t sentChars(const RowLayout& row, int rowChars, std::size_t textLength) {
    const auto chars = static_cast<std::size_t>(std::max(0, rowChars));
    switch (row.width) {
        case RowWidth::None:
            return 0;
        case RowWidth::FixedBlock:
        case RowWidth::Row:
            return chars;
        case RowWidth::HalfRow:
            return chars / 2;
        case RowWidth::WholeText:
            return textLength;
    }
    return 0;
}

}  // namespace velora
