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
    kNoBody,  // kNeverStored
    // kTwoFixedRows
    {.row1 = kFixed1, .row2 = kFixed2, .words = "Due righe"},
    // kRow2Scrolling
    {.row1 = kFixed1, .row2 = kScrolling2, .words = "Riga 2 scorrevole"},
    // kBigFixed
    {.row1 = kBigFixedRow, .row2 = kBigBlank, .words = "Grande"},
    // kBigScrolling
    {.row1 = kBigScrollingRow,
     .row2 = kBigBlank,
     .blankBlockFirst = true,
     .words = "Grande scorrevole"},
    // kInfoInRow2
    {.row1 = kShort1, .row2 = kInfo, .words = "Data e ora in riga 2"},
    // kInfoInRow1
    {.row1 = kInfo, .row2 = kShort2, .words = "Data e ora in riga 1"},
    // kRow1Scrolling
    {.row1 = kScrolling1, .row2 = kFixed2, .row2First = true, .words = "Riga 1 scorrevole"},
    // kBigFixedInverse
    {.row1 = kBigFixedRow, .row2 = kBigBlank, .inverse = true, .words = "Grande inverso"},
}};

static_assert(kLayouts.size() == kBigFixedInverse + 1);

}  // namespace

const PageLayout& pageLayout(std::uint8_t kind) {
    return knownKind(kind) ? kLayouts[kind] : kNoBody;
}

bool knownKind(std::uint8_t kind) {
    return kind != kNeverStored && kind < kLayouts.size();
}

int fontChars(SignFont font, int rowChars) {
    return font == SignFont::Big ? rowChars / 2 : rowChars;
}

std::optional<std::size_t> storedWidth(const RowLayout& row, int rowChars) {
    switch (row.width) {
        case RowWidth::FixedBlock:
        case RowWidth::Row:
        case RowWidth::HalfRow:
            return static_cast<std::size_t>(std::max(0, fontChars(row.font, rowChars)));
        case RowWidth::None:
        case RowWidth::WholeText:
            break;
    }
    return std::nullopt;
}

bool cutsText(const RowLayout& row, std::string_view text, int rowChars) {
    const auto width = storedWidth(row, rowChars);
    return width && text.size() > *width && text.find_first_not_of(' ', *width) != text.npos;
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
            return static_cast<std::size_t>(fontChars(row.font, static_cast<int>(chars)));
        case RowWidth::WholeText:
            return textLength;
    }
    return 0;
}

}  // namespace velora
