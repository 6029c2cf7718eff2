#include "protocol/page_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velora {
namespace {

// The stored widths of a kind's two rows at a row width: what the page list pads or cuts a pasted
// page to, and what the board-count question checks for cut text.
struct WidthCase {
    std::uint8_t kind;
    int rowChars;
    std::optional<std::size_t> row1;
    std::optional<std::size_t> row2;
};

void PrintTo(const WidthCase& c, std::ostream* out) {
    *out << "kind " << static_cast<int>(c.kind) << " at " << c.rowChars;
}

class StoredWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(StoredWidthTest, FixedRowsHaveTheRowsWidthAndBigOnesHalfOfItRoundedDown) {
    const WidthCase& c = GetParam();
    const PageLayout& layout = pageLayout(c.kind);
    EXPECT_EQ(storedWidth(layout.row1, c.rowChars), c.row1);
    EXPECT_EQ(storedWidth(layout.row2, c.rowChars), c.row2);
}

constexpr std::nullopt_t kKept = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Kinds, StoredWidthTest,
    ::testing::Values(WidthCase{kTwoFixedRows, 18, 18, 18},
                      WidthCase{kRow2Scrolling, 18, 18, kKept}, WidthCase{kBigFixed, 18, 9, kKept},
                      WidthCase{kBigFixed, 9, 4, kKept}, WidthCase{kBigScrolling, 18, kKept, kKept},
                      WidthCase{kInfoInRow2, 24, 24, kKept}, WidthCase{kInfoInRow1, 24, kKept, 24},
                      WidthCase{kRow1Scrolling, 9, kKept, 9},
                      WidthCase{kBigFixedInverse, 21, 10, kKept},
                      WidthCase{kNeverStored, 18, kKept, kKept}, WidthCase{9, 18, kKept, kKept}));

TEST(PageLayoutTest, KnowsKindsOneToEightAndNamesEach) {
    for (int kind = 0; kind <= 255; ++kind) {
        const bool known = knownKind(static_cast<std::uint8_t>(kind));
        EXPECT_EQ(known, kind >= 1 && kind <= 8) << kind;
        if (known) {
            EXPECT_FALSE(std::string(pageLayout(static_cast<std::uint8_t>(kind)).words).empty());
        }
    }
    EXPECT_STREQ(pageLayout(kBigFixedInverse).words, "Grande inverso");
}

TEST(PageLayoutTest, BigRowOfTheStoreIsHalfARowRoundedDown) {
    Modulo1 state;
    EXPECT_EQ(bigRowChars(state), 9);
    state.RowChars = 9;
    EXPECT_EQ(bigRowChars(state), 4);
}

}  // namespace
}  // namespace velora
