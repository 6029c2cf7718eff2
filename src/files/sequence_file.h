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

// A whole file, checked. The header's page count is what the file declares; a file cut short
// (an older program that stopped while saving) holds fewer records than that.
struct SequenceFile {
    struct Header {
        std::uint8_t pageCount = 0;
        std::uint8_t rowChars = 0;
    };
    Header header;
    std::vector<SequenceRecord> records;
};

// The file's bytes for the sequence in the store: slots 1..PageCount.
std::string sequenceFileBytes(const Modulo1& state);

// The two lines of one page, as the file holds them.
std::string pageFileLines(const SequenceRecord& page);

// Reads a file's bytes; nothing when they are not a sequence the store can hold (an empty file,
// a malformed line, a number that is not a byte, a record cut short, more than 200 pages
// declared or held).
std::optional<SequenceFile> parseSequenceFile(std::string_view bytes);

// The pages a read file gives the store: those it declares, or fewer when it holds fewer.
int pagesFound(const SequenceFile& file);

// What to tell the user when the file holds fewer pages than it declares, in Windows-1252:
// "Il file è incompleto: pagine trovate 1 su 3 dichiarate."; empty for a whole file.
std::string incompleteNotice(const SequenceFile& file);

// Puts a read file into the store, replacing the whole sequence: the row width, the pages found
// into slots 1 on with the page count set to them, then every slot above emptied with kind 1 and
// the pause of the last page.
void applySequenceFile(Modulo1& state, const SequenceFile& file);

}  // namespace velora
