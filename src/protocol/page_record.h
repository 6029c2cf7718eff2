#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "core/modulo1.h"
#include "page_layout.h"

namespace velora {

struct SignRow {
    RowShow show = RowShow::Blank;
    SignFont font = SignFont::Normal;
    std::vector<std::uint8_t> indices;  // font indices, as sent

    bool operator==(const SignRow&) const = default;
};

// One page as the sign reads it from its record. A big page has its single row in `row1`, in the
// big font, and `row2` blank.
struct SignPage {
    std::uint8_t kind = 0;
    std::uint8_t pageCount = 0;
    std::uint8_t pause = 0;     // seconds
    std::uint8_t rowChars = 0;  // characters of a fixed row, 3 per board
    SignRow row1;
    SignRow row2;

    bool big() const { return row1.font == SignFont::Big; }
    bool inverse() const { return pageLayout(kind).inverse; }
    bool operator==(const SignPage&) const = default;
};

// The record of the page in `slot`: kind, page count, pause, row width, the rows its kind sends
// as font indexes, the end-of-page byte. A fixed, short or big fixed row whose text is shorter
// than its width (the width was raised after the page was stored) is padded with blanks, so
// that the sign always receives whole records.
std::vector<std::uint8_t> pageRecord(const Modulo1& state, int slot);

// Reads a page record a byte at a time, as the sign does: the four header bytes, the body the
// kind calls for, the end-of-page byte. Records are read by their kinds and lengths, never by
// looking for an end byte, since a pause, a page count or a row width can take the value of one.
class PageRecordReader {
public:
    enum class Status : std::uint8_t {
        Reading,   // more bytes to come
        Complete,  // the record ended with its end-of-page byte
        Invalid,   // the byte where the record should end is not the end-of-page byte
    };

    Status take(std::uint8_t byte);
    // The page read so far; whole once take() answered Complete.
    const SignPage& page() const { return m_page; }
    SignPage takePage() { return std::move(m_page); }
    // Bytes taken since the record began.
    std::size_t length() const { return m_length; }

private:
    struct Block {
        int row = 0;             // the row the bytes go to, 1 or 2; 0 for the blank block
        std::size_t length = 0;  // bytes of a fixed block
        std::size_t kept = 0;    // of which the row keeps the first ones
        bool scrolling = false;  // up to kScrollEnd instead
    };

    void startBody();
    void nextBlock();
    void skipEmptyBlocks();
    SignRow& row(int number) { return number == 1 ? m_page.row1 : m_page.row2; }

    SignPage m_page;
    std::size_t m_length = 0;
    std::vector<Block> m_blocks;  // the body, in the order of the line
    std::size_t m_block = 0;      // the block being read; m_blocks.size() at the end byte
    std::size_t m_blockRead = 0;  // bytes of it read
    Status m_status = Status::Reading;
};

struct DecodedRecord {
    SignPage page;
    std::size_t length = 0;  // bytes of the record, its end-of-page byte included
};

// Reads the page record at the start of `bytes`. Nothing when the bytes end early or the
// end-of-page byte is missing.
std::optional<DecodedRecord> decodePageRecord(std::span<const std::uint8_t> bytes);

// Reads a whole upload: page records up to the end-of-transmission byte.
std::optional<std::vector<SignPage>> decodeUpload(std::span<const std::uint8_t> bytes);

}  // namespace velora
