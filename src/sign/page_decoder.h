#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "led_font.h"

namespace velora {

// What one row of the sign does with the indices it was sent.
enum class RowShow : std::uint8_t {
    Blank,      // nothing lit
    Fixed,      // the indices stand still from the left edge
    Scrolling,  // the indices run through the row
    Info,       // the sign's own date, time and temperature; nothing is sent for it
};

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
    bool inverse() const { return kind == 8; }
    bool operator==(const SignPage&) const = default;
};

struct DecodedRecord {
    SignPage page;
    std::size_t length = 0;  // bytes of the record, its end-of-page byte included
};

// Reads the page record at the start of `bytes`: the four header bytes, the body the kind calls
// for, the end-of-page byte. Nothing when the bytes end early or the end-of-page byte is missing.
std::optional<DecodedRecord> decodePageRecord(std::span<const std::uint8_t> bytes);

// Reads a whole upload: page records up to the end-of-transmission byte.
std::optional<std::vector<SignPage>> decodeUpload(std::span<const std::uint8_t> bytes);

}  // namespace velora
