#include "sign/page_decoder.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/sequence_file.h"
#include "link/sign_codes.h"
#include "link/sign_messages.h"
#include "sign_test_data.h"

namespace velora {
namespace {

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
        case 1:
            page.row1 = fixedRow(r1, c), page.row2 = fixedRow(r2, c);
            break;
        case 2:
            page.row1 = fixedRow(r1, c), page.row2 = scrollingRow(r2);
            break;
        case 3:
        case 8:
            page.row1 = fixedRow(r1, c / 2, SignFont::Big), page.row2 = bigBlank;
            break;
        case 4:
            page.row1 = scrollingRow(r2, SignFont::Big), page.row2 = bigBlank;
            break;
        case 5:
            page.row1 = fixedRow(r1, c), page.row2 = info;
            break;
        case 6:
            page.row1 = info, page.row2 = fixedRow(r2, c);
            break;
        case 7:
            page.row1 = scrollingRow(r1), page.row2 = fixedRow(r2, c);
            break;
        default:
            break;
    }
    return page;
}

void expectDecodesEveryPage(const Modulo1& state, const std::string& what) {
    const std::vector<std::uint8_t> upload = uploadStream(state).values();
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
