#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/modulo1.h"

namespace velora {

// The ".inf" sequence file: Windows-1252 text, CRLF line ends, comma-separated fields. Line 1
// holds the page count and the row width; then every page has two lines, kind, quoted row text
// and pause, the first with row 1 and the second with row 2.
//
//     1,9\r\n
//     1,"  CIAO   ",5\r\n
//     1,"  MONDO  ",5\r\n
//
// Texts are written exactly as stored, blanks included. A double quote inside a text is written
// twice, the only form that cannot end the field early; every other byte goes out as it is.

// One page as the file holds it. The file repeats kind and pause on both lines; the second line's
// values are the ones kept.
struct SequenceRecord {
    std::uint8_t kind = 0;
    std::string row1;
    std::string row2;
    std::uint8_t pause = 0;
};

// A whole file, checked. An empty file has no header and no records.
struct SequenceFile {
    struct Header {
        std::uint8_t pageCount = 0;
        std::uint8_t rowChars = 0;
    };
    std::optional<Header> header;
    std::vector<SequenceRecord> records;
};

// The file's bytes for the sequence in the store: slots 1..PageCount.
std::string sequenceFileBytes(const Modulo1& state);

// Reads a file's bytes; nothing when they are not a sequence the store can hold (a malformed
// line, a number that is not a byte, a record cut short, more than 200 pages declared or held).
std::optional<SequenceFile> parseSequenceFile(std::string_view bytes);

// Puts a read file into the store: the page count and row width, the records into slots 1 on,
// then every slot above the page count emptied with kind 1 and the pause of the last page.
void applySequenceFile(Modulo1& state, const SequenceFile& file);

}  // namespace velora
