#include "protocol/page_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/sequence_file.h"
#include "protocol/sign_codes.h"
#include "protocol/sign_messages.h"
#include "protocol/wire_bytes.h"
#include "sign/sign_test_data.h"

namespace velora {
namespace {

using testing::Bytes;
using testing::concat;
using testing::hex;

struct KindCase {
    const char* name;
    std::uint8_t kind;
    int rowChars;
    std::string row1;
    std::string row2;
    Bytes body;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.name;
}

class RecordBodyTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(RecordBodyTest, BodyFollowsTheKind) {
    const KindCase& c = GetParam();
    Modulo1 state;
    state.PageCount = 1;
    state.RowChars = static_cast<std::uint8_t>(c.rowChars);
    state.PageKind[1] = c.kind;
    state.PagePause[1] = 7;
    state.PageText[1][1] = c.row1;
    state.PageText[1][2] = c.row2;
    const Bytes expected =
        concat({{c.kind, 1, 7, static_cast<std::uint8_t>(c.rowChars)}, c.body, {0xE9}});
    EXPECT_EQ(pageRecord(state, 1), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RecordBodyTest,
    ::testing::Values(KindCase{"Kind1Width24NoFill", 1, 24, std::string(24, 'A'),
                               std::string(24, '!'), hex("21*24 01*24")},
                      KindCase{"Kind1Width0AllFill", 1, 0, "", "", hex("00*48")},
                      KindCase{"Kind2EmptyScroll", 2, 9, "ABCDEFGHI", "",
                               hex("21 22 23 24 25 26 27 28 29 00*15 80")},
                      KindCase{"Kind2Scroll", 2, 9, "ABCDEFGHI", "a\xB0",
                               hex("21 22 23 24 25 26 27 28 29 00*15 41 00 80")},
                      KindCase{"Kind3BigHalfWidth", 3, 18, "Ciao Yz!!", "Ciao Yz!!",
                               hex("22 28 20 2E 00 35 38 00 00")},
                      KindCase{"Kind3Width9TakesFour", 3, 9, "ABCD", "ABCD", hex("20 21 22 23")},
                      KindCase{"Kind3Width0Empty", 3, 0, "", "", {}},
                      KindCase{"Kind4BigScroll", 4, 18, "yes", "yes", hex("00*24 35 24 32 80")},
                      KindCase{"Kind5ShortRow1", 5, 9, "ABCDEFGHI", "05/12 09:01 +20\xB0",
                               hex("21 22 23 24 25 26 27 28 29")},
                      KindCase{"Kind6ShortRow2", 6, 9, "05/12 09:01 +20\xB0", "ABCDEFGHI",
                               hex("21 22 23 24 25 26 27 28 29")},
                      KindCase{"Kind5Width0Empty", 5, 0, "", "", {}},
                      KindCase{"Kind7Row2First", 7, 9, "ab", "ABCDEFGHI",
                               hex("21 22 23 24 25 26 27 28 29 00*15 41 42 80")},
                      KindCase{"Kind8LikeKind3", 8, 18, "Ciao Yz!!", "Ciao Yz!!",
                               hex("22 28 20 2E 00 35 38 00 00")},
                      KindCase{"UnknownKindNoBody", 0, 18, "ABC", "ABC", {}},
                      KindCase{"TooShortFixedIsPadded", 1, 9, "AB", "",
                               hex("21 22 00*7 00*15 00*24")},
                      KindCase{"TooShortBigIsPadded", 3, 24, "AB", "AB", hex("20 21 00*10")},
                      KindCase{"TooShortShortRowIsPadded", 5, 12, "AB", "", hex("21 22 00*10")}),
    [](const auto& row) { return std::string(row.param.name); });

std::vector<std::uint8_t> codes(const std::string& text, std::size_t count, SignFont font) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < count; ++i) {
        const auto c = static_cast<std::uint8_t>(i < text.size() ? text[i] : ' ');
        out.push_back(font == SignFont::Big ? CodiceGrande(c) : CodiceNormale(c));
    }
    return out;
}

SignRow fixedRow(const std::string& text, int chars, SignFont font = SignFont::Normal) {
    return {RowShow::Fixed, font, codes(text, static_cast<std::size_t>(std::max(chars, 0)), font)};
}

SignRow scrollingRow(const std::string& text, SignFont font = SignFont::Normal) {
    return {RowShow::Scrolling, font, codes(text, text.size(), font)};
}

// What the sign must read back from a stored page: which text goes in which row and font.
SignPage expectedPage(const Modulo1& state, int slot) {
    const std::string& r1 = state.PageText[slot][1];
    const std::string& r2 = state.PageText[slot][2];
    const int c = state.RowChars;
    SignPage page{
        state.PageKind[slot], state.PageCount, state.PagePause[slot], state.RowChars, {}, {}};
    const SignRow info{RowShow::Info, SignFont::Normal, {}};
    const SignRow bigBlank{RowShow::Blank, SignFont::Big, {}};
    switch (page.kind) {
        case kTwoFixedRows:
            page.row1 = fixedRow(r1, c), page.row2 = fixedRow(r2, c);
            break;
        case kRow2Scrolling:
            page.row1 = fixedRow(r1, c), page.row2 = scrollingRow(r2);
            break;
        case kBigFixed:
        case kBigFixedInverse:
            page.row1 = fixedRow(r1, c / 2, SignFont::Big), page.row2 = bigBlank;
            break;
        case kBigScrolling:
            page.row1 = scrollingRow(r2, SignFont::Big), page.row2 = bigBlank;
            break;
        case kInfoInRow2:
            page.row1 = fixedRow(r1, c), page.row2 = info;
            break;
        case kInfoInRow1:
            page.row1 = info, page.row2 = fixedRow(r2, c);
            break;
        case kRow1Scrolling:
            page.row1 = scrollingRow(r1), page.row2 = fixedRow(r2, c);
            break;
        default:
            break;
    }
    return page;
}

void expectDecodesEveryPage(const Modulo1& state, const std::string& what) {
    const std::vector<std::uint8_t> upload = uploadMessage(state).bytes;
    const std::optional<std::vector<SignPage>> pages = decodeUpload(upload);
    ASSERT_TRUE(pages) << what;
    ASSERT_EQ(pages->size(), state.PageCount) << what;
    for (int slot = 1; slot <= state.PageCount; ++slot)
        EXPECT_EQ((*pages)[static_cast<std::size_t>(slot - 1)], expectedPage(state, slot))
            << what << ", page " << slot;
}

TEST(PageDecoder, ReadsBackEveryPageOfTheFixtures) {
    std::vector<std::filesystem::path> files{testing::signTestData("every_kind.inf")};
    for (const auto& entry : std::filesystem::directory_iterator(VELORA_INF_SEEDS))
        files.push_back(entry.path());
    int pagesSeen = 0;
    for (const auto& path : files) {
        const std::optional<SequenceFile> file = parseSequenceFile(testing::readTestFile(path));
        ASSERT_TRUE(file) << path;
        Modulo1 state;
        applySequenceFile(state, *file);
        expectDecodesEveryPage(state, path.filename().string());
        pagesSeen += state.PageCount;
    }
    EXPECT_GE(pagesSeen, 8 + 3);
}

TEST(PageDecoder, ReadsBackEveryByteThroughEveryRowAtEveryWidth) {
    // Every byte a text can hold, in every block the upload builds, at the narrowest, the
    // widest and the invalid width.
    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
    everyByte.push_back('\0');
    for (int rowChars : {9, 18, 24, 0}) {
        Modulo1 state;
        state.RowChars = static_cast<std::uint8_t>(rowChars);
        state.PageCount = 8;
        for (int kind = 1; kind <= 8; ++kind) {
            state.PageKind[kind] = static_cast<std::uint8_t>(kind);
            state.PagePause[kind] = static_cast<std::uint8_t>(kind * 3);
            // Fixed rows take 24 bytes at a time from different places of the byte table.
            state.PageText[kind][1] = everyByte.substr(static_cast<std::size_t>(kind) * 24);
            state.PageText[kind][2] = kind == 4 ? everyByte : everyByte.substr(24 * 9);
        }
        expectDecodesEveryPage(state, "width " + std::to_string(rowChars));
    }
}

TEST(PageDecoder, RefusesARecordCutShortOrWithoutItsEnd) {
    Modulo1 state;
    state.PageCount = 1;
    state.PageKind[1] = kRow2Scrolling;
    state.PageText[1][1] = std::string(18, 'A');
    state.PageText[1][2] = "scorre";
    const std::vector<std::uint8_t> record = pageRecord(state, 1);
    const std::optional<DecodedRecord> whole = decodePageRecord(record);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->length, record.size());
    for (std::size_t cut = 0; cut < record.size(); ++cut) {
        const std::vector<std::uint8_t> shorter(record.begin(),
                                                record.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(decodePageRecord(shorter)) << "cut at " << cut;
    }
    std::vector<std::uint8_t> wrongEnd = record;
    wrongEnd.back() = 0x00;
    EXPECT_FALSE(decodePageRecord(wrongEnd));
    // An upload must end with its end byte.
    EXPECT_FALSE(decodeUpload(record));
    EXPECT_EQ(decodeUpload(std::vector<std::uint8_t>{kUploadEnd}), std::vector<SignPage>{});
}

}  // namespace
}  // namespace velora
