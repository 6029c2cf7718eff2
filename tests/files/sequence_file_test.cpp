#include "files/sequence_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/windows1252.h"

namespace velora {
namespace {

void setPage(Modulo1& m, int slot, std::uint8_t kind, const std::string& row1,
             const std::string& row2, std::uint8_t pause) {
    const auto i = static_cast<std::size_t>(slot);
    m.PageKind[i] = kind;
    m.PageText[i][1] = row1;
    m.PageText[i][2] = row2;
    m.PagePause[i] = pause;
}

// ---- writing ----

struct WriteCase {
    const char* name;
    std::function<void(Modulo1&)> fill;
    std::string bytes;
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.name;
}

class WriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteTest, WritesTheLayoutByteForByte) {
    Modulo1 m;
    GetParam().fill(m);
    EXPECT_EQ(sequenceFileBytes(m), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WriteTest,
    ::testing::Values(
        WriteCase{"OneTwoRowPage",
                  [](Modulo1& m) {
                      m.PageCount = 1;
                      m.RowChars = 9;
                      setPage(m, 1, 1, "  CIAO   ", "  MONDO  ", 5);
                  },
                  "1,9\r\n1,\"  CIAO   \",5\r\n1,\"  MONDO  \",5\r\n"},
        WriteCase{"EmptySequence", [](Modulo1& m) { m.RowChars = 18; }, "0,18\r\n"},
        WriteCase{"AccentsAndDegreeAreSingleBytes",
                  [](Modulo1& m) {
                      m.PageCount = 1;
                      m.RowChars = 24;
                      setPage(m, 1, 5, windows1252::fromUtf8(" città "),
                              windows1252::fromUtf8("05/12 09:01 +20°"), 20);
                  },
                  "1,24\r\n5,\" citt\xE0 \",20\r\n5,\"05/12 09:01 +20\xB0\",20\r\n"},
        WriteCase{"EmptyTextsAndBigPage",
                  [](Modulo1& m) {
                      m.PageCount = 2;
                      setPage(m, 1, 1, "", "", 3);
                      setPage(m, 2, 4, "GRANDE", "GRANDE", 255);
                  },
                  "2,18\r\n1,\"\",3\r\n1,\"\",3\r\n4,\"GRANDE\",255\r\n4,\"GRANDE\",255\r\n"},
        WriteCase{"QuoteIsDoubled",
                  [](Modulo1& m) {
                      m.PageCount = 1;
                      setPage(m, 1, 1, "\"", "a \"b\"", 1);
                  },
                  "1,18\r\n1,\"\"\"\",1\r\n1,\"a \"\"b\"\"\",1\r\n"},
        // A blank page opened in an empty sequence keeps kind 0; leaving it out would shift the
        // pages after it when the file is read back.
        WriteCase{"SlotOfKindZeroKeepsItsPlace",
                  [](Modulo1& m) {
                      m.PageCount = 2;
                      setPage(m, 1, 0, "", "", 0);
                      setPage(m, 2, 1, "B", "b", 2);
                  },
                  "2,18\r\n0,\"\",0\r\n0,\"\",0\r\n1,\"B\",2\r\n1,\"b\",2\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SequenceFileTest, RoundTripKeepsEveryPage) {
    Modulo1 written;
    written.PageCount = 5;
    written.RowChars = 21;
    setPage(written, 1, 1, "  leading", "trailing  ", 1);
    setPage(written, 2, 3, "BIG", "BIG", 20);
    setPage(written, 3, 2, "a,b", std::string(114, 'x'), 7);
    setPage(written, 4, 8, windows1252::fromUtf8("°àè\"'"), windows1252::fromUtf8("°àè\"'"), 9);
    setPage(written, 5, 0, "", "", 0);
    const std::string bytes = sequenceFileBytes(written);

    Modulo1 read;
    setPage(read, 3, 6, "old", "old", 3);
    const auto file = parseSequenceFile(bytes);
    ASSERT_TRUE(file);
    applySequenceFile(read, *file);

    EXPECT_EQ(read.PageCount, 5);
    EXPECT_EQ(read.RowChars, 21);
    for (std::size_t i = 1; i <= 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.PageKind[i], written.PageKind[i]);
        EXPECT_EQ(read.PageText[i], written.PageText[i]);
        EXPECT_EQ(read.PagePause[i], written.PagePause[i]);
    }
    EXPECT_EQ(sequenceFileBytes(read), bytes);
}

// ---- reading ----

struct SlotState {
    int slot;
    int kind;
    const char* row1;
    const char* row2;
    int pause;
};

struct ReadCase {
    const char* name;
    std::string bytes;
    bool accepted;
    int pageCount = 0;
    int rowChars = 0;
    std::vector<SlotState> slots;  // as found afterwards
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

ReadCase accepted(const char* name, std::string bytes, int pageCount, int rowChars,
                  std::vector<SlotState> slots) {
    return {name, std::move(bytes), true, pageCount, rowChars, std::move(slots)};
}

ReadCase refused(const char* name, std::string bytes) {
    ReadCase c;
    c.name = name;
    c.bytes = std::move(bytes);
    c.accepted = false;
    return c;
}

std::string records(int count) {
    std::string out;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        out += "1,\"r" + n + "\",2\r\n1,\"s" + n + "\",2\r\n";
    }
    return out;
}

// The store before reading: three pages of kind 2 and pause 7, an earlier page in slot 4, and
// a pause in slot 0 that an empty sequence hands on.
class ReadTest : public ::testing::TestWithParam<ReadCase> {
protected:
    ReadTest() {
        before.PageCount = 3;
        before.RowChars = 18;
        before.PagePause[0] = 4;
        for (int slot = 1; slot <= 4; ++slot) {
            setPage(before, slot, 2, "old" + std::to_string(slot), "OLD", 7);
        }
    }
    Modulo1 before;
};

TEST_P(ReadTest, ReplacesTheStoreOrRefusesTheFile) {
    const ReadCase& c = GetParam();
    Modulo1 m = before;
    const auto file = parseSequenceFile(c.bytes);
    ASSERT_EQ(file.has_value(), c.accepted);
    if (!c.accepted) return;
    applySequenceFile(m, *file);

    EXPECT_EQ(m.PageCount, c.pageCount);
    EXPECT_EQ(m.RowChars, c.rowChars);
    for (const SlotState& s : c.slots) {
        SCOPED_TRACE(s.slot);
        const auto i = static_cast<std::size_t>(s.slot);
        EXPECT_EQ(m.PageKind[i], s.kind);
        EXPECT_EQ(m.PageText[i][1], s.row1);
        EXPECT_EQ(m.PageText[i][2], s.row2);
        EXPECT_EQ(m.PagePause[i], s.pause);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadTest,
    ::testing::Values(
        accepted("OnePage", "1,9\r\n1,\" CIAO  \",5\r\n1,\"MONDO\",5\r\n", 1, 9,
                 {{1, 1, " CIAO  ", "MONDO", 5}, {2, 1, "", "", 5}, {200, 1, "", "", 5}}),
        accepted("NoPages", "0,24\r\n", 0, 24, {{1, 1, "", "", 4}, {200, 1, "", "", 4}}),
        accepted("MoreRecordsThanPages", "1,9\r\n" + records(2), 1, 9,
                 {{1, 1, "r1", "s1", 2}, {2, 1, "", "", 2}}),
        // A file cut short counts the pages it holds; no earlier page stays among them.
        accepted("FewerRecordsThanPages", "3,9\r\n" + records(1), 1, 9,
                 {{1, 1, "r1", "s1", 2}, {2, 1, "", "", 2}, {3, 1, "", "", 2}}),
        accepted("SecondLineKindAndPauseWin", "1,18\r\n3,\"A\",9\r\n4,\"B\",10\r\n", 1, 18,
                 {{1, 4, "A", "B", 10}}),
        accepted("LineFeedsOnlyAndNoFinalLineEnd", "1,18\n1,\"a\",1\n1,\"b\",1", 1, 18,
                 {{1, 1, "a", "b", 1}}),
        accepted("TrailingBlankLines", "1,18\r\n" + records(1) + "\r\n\r\n  \x1A", 1, 18,
                 {{1, 1, "r1", "s1", 2}}),
        accepted("BlanksAroundNumbersAndBareTexts",
                 " 1 , 18 \r\n 1 , bare text ,\t5\r\n1,\"\",5\r\n", 1, 18,
                 {{1, 1, "bare text", "", 5}}),
        accepted("CommaAndDoubledQuoteInsideQuotes",
                 "1,18\r\n1,\"a,\"\"b\"\"\",1\r\n1,\"\"\"\",1\r\n", 1, 18,
                 {{1, 1, "a,\"b\"", "\"", 1}}),
        accepted("TwoHundredPages", "200,18\r\n" + records(200), 200, 18,
                 {{200, 1, "r200", "s200", 2}}),
        refused("EmptyFile", ""), refused("OnlyBlankLines", "\r\n\r\n"),
        refused("RecordCutShort", "1,18\r\n1,\"a\",1\r\n"),
        refused("LineWithoutPause", "1,18\r\n1,\"a\"\r\n1,\"b\",1\r\n"),
        refused("LineWithExtraField", "1,18\r\n1,\"a\",1,1\r\n1,\"b\",1\r\n"),
        refused("HeaderWithOneNumber", "1\r\n" + records(1)),
        refused("BlankLineInsideRecords", "1,18\r\n\r\n" + records(1)),
        refused("KindAbove255", "1,18\r\n256,\"a\",1\r\n1,\"b\",1\r\n"),
        refused("NegativePause", "1,18\r\n1,\"a\",1\r\n1,\"b\",-1\r\n"),
        refused("RowCharsAbove255", "0,300\r\n"),
        refused("PauseNotANumber", "1,18\r\n1,\"a\",x\r\n1,\"b\",1\r\n"),
        refused("EmptyNumber", "1,\r\n"),
        refused("TextAfterClosingQuote", "1,18\r\n1,\"a\"b\",1\r\n1,\"b\",1\r\n"),
        refused("QuoteNeverClosed", "1,18\r\n1,\"a,1\r\n"),
        refused("PageCountAbove200", "201,18\r\n"),
        refused("MoreThan200Records", "200,18\r\n" + records(201))),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora
