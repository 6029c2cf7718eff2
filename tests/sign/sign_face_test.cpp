#include "sign/sign_face.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sign_test_data.h"

namespace velora {
namespace {

const DateTime kClock{2026, 12, 5, 9, 1, 0};

SignPage storedPage(std::uint8_t kind, const std::string& row1, const std::string& row2,
                    int rowChars = 9) {
    Modulo1 state;
    state.PageCount = 1;
    state.RowChars = static_cast<std::uint8_t>(rowChars);
    state.PageKind[1] = kind;
    state.PagePause[1] = 3;
    state.PageText[1][1] = row1;
    state.PageText[1][2] = row2;
    const std::vector<std::uint8_t> record = pageRecord(state, 1);
    return decodePageRecord(record).value().page;
}

// The dots of character cells [from, from + count) of one row (0 upper, 1 lower) as text.
std::string cells(const SignFace& face, int row, int from, int count) {
    std::string out;
    for (int y = row * kCellHeight; y < (row + 1) * kCellHeight; ++y) {
        for (int x = from * kCellWidth; x < (from + count) * kCellWidth; ++x)
            out.push_back(face.lit(x, y) ? '#' : '.');
        out.push_back('\n');
    }
    return out;
}

TEST(SignFace, MatchesTheStoredPictureOfAFixedAndAScrollingRow) {
    // Three boards; row 2 scrolls "€uro" one step in, so it shows "uro" and blanks.
    const SignPage page = storedPage(kRow2Scrolling, "CIAO  y|@", "\x80uro");
    const SignFace face = renderSignFace(page, 0.25, kClock);
    EXPECT_EQ(face.width, 9 * kCellWidth);
    EXPECT_EQ(face.height, 16);
    EXPECT_EQ(face.toText(), testing::readTestFile(testing::signTestData("two_rows_step1.txt")));
    EXPECT_TRUE(face.missing.empty());
}

TEST(SignFace, ScrollsOneCharacterEveryStepAndRunsOut) {
    const SignPage page = storedPage(kRow2Scrolling, "", "ABCDEFGHIJ", 12);
    ASSERT_EQ(scrollSteps(page), 10 + 7);
    const SignPage fixedB = storedPage(kTwoFixedRows, "", "BCDEFGHIJ   ", 12);
    // Step 1 starts at 0.2 s and shows the text from its second character.
    EXPECT_EQ(renderSignFace(page, 0.2, kClock).toText(),
              renderSignFace(fixedB, 0.0, kClock).toText());
    EXPECT_EQ(renderSignFace(page, 0.39, kClock).toText(),
              renderSignFace(fixedB, 0.0, kClock).toText());
    // After 17 steps the sign starts again; the preview leaves the row dark.
    const SignPage fixedA = storedPage(kTwoFixedRows, "", "ABCDEFGHIJ  ", 12);
    EXPECT_EQ(renderSignFace(page, 17 * 0.2, kClock).toText(),
              renderSignFace(fixedA, 0.0, kClock).toText());
    const SignFace dark = renderSignFace(page, 17 * 0.2, kClock, ScrollEnd::Dark);
    EXPECT_EQ(std::count(dark.dots.begin(), dark.dots.end(), 1), 0);
    // The last step shows the final blank only.
    const SignFace last = renderSignFace(page, 16 * 0.2, kClock);
    EXPECT_EQ(std::count(last.dots.begin(), last.dots.end(), 1), 0);
}

TEST(SignFace, ABigRowSpansBothRowsAndKindEightIsItsNegative) {
    const SignPage big = storedPage(kBigFixed, "VIA", "VIA");
    const SignPage inverse = storedPage(kBigFixedInverse, "VIA", "VIA");
    const SignFace plain = renderSignFace(big, 0, kClock);
    const SignFace negative = renderSignFace(inverse, 0, kClock);
    // Lit dots in both halves of the face.
    EXPECT_NE(cells(plain, 0, 0, 4).find('#'), std::string::npos);
    EXPECT_NE(cells(plain, 1, 0, 4).find('#'), std::string::npos);
    ASSERT_EQ(plain.dots.size(), negative.dots.size());
    for (std::size_t i = 0; i < plain.dots.size(); ++i)
        ASSERT_NE(plain.dots[i], negative.dots[i]) << i;
}

TEST(SignFace, AnInfoRowShowsTheClockItIsGiven) {
    const SignPage info = storedPage(kInfoInRow2, "", "", 18);
    const SignPage typed = storedPage(kTwoFixedRows, "", "05/12 09:01 +20", 18);
    const SignFace atNine = renderSignFace(info, 0, kClock);
    EXPECT_EQ(cells(atNine, 1, 0, 15), cells(renderSignFace(typed, 0, kClock), 1, 0, 15));
    // The degree sign is the clock's own glyph, not a blank.
    EXPECT_NE(cells(atNine, 1, 15, 1).find('#'), std::string::npos);
    DateTime later = kClock;
    later.minute = 2;
    EXPECT_NE(renderSignFace(info, 0, later).toText(), renderSignFace(info, 0, kClock).toText());
}

TEST(SignFace, DrawsAnIndexWithoutGlyphAsAnEmptyCellAndReportsIt) {
    const SignFace face = renderSignFace(storedPage(kBigFixed, "A@A@", "A@A@"), 0, kClock);
    EXPECT_EQ(face.missing, (std::vector<MissingGlyph>{{SignFont::Big, 0x40}}));
    const std::string empty = cells(face, 0, 2, 2) + cells(face, 1, 2, 2);
    EXPECT_EQ(empty.find('#'), std::string::npos);
}

TEST(SignFace, IsRowCharsOverThreeBoardsWide) {
    for (int rowChars : {9, 10, 24, 0}) {
        const SignFace face =
            renderSignFace(storedPage(kTwoFixedRows, "", "", rowChars), 0, kClock);
        EXPECT_EQ(face.width, rowChars / 3 * 3 * kCellWidth) << rowChars;
        EXPECT_EQ(face.dots.size(), static_cast<std::size_t>(face.width * 16));
    }
}

}  // namespace
}  // namespace velora
