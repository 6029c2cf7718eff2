// Feeds arbitrary bytes to the page-record reader, as a sign would receive them from a garbled
// line. Whatever arrives, the byte-at-a-time reader and the whole-record reader agree on where a
// record ends and what page it holds, and neither keeps more than it was given.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/page_record.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);

    velora::PageRecordReader reader;
    std::size_t taken = 0;
    auto status = velora::PageRecordReader::Status::Reading;
    while (taken < size && status == velora::PageRecordReader::Status::Reading)
        status = reader.take(bytes[taken++]);
    require(reader.length() == taken);
    require(reader.page().row1.indices.size() + reader.page().row2.indices.size() <= taken);

    const auto whole = velora::decodePageRecord(bytes);
    require(whole.has_value() == (status == velora::PageRecordReader::Status::Complete));
    if (whole) {
        require(whole->length == taken);
        require(whole->page == reader.page());
    }

    // A whole upload never holds more pages than records could fit in the bytes given.
    if (const auto pages = velora::decodeUpload(bytes)) require(pages->size() * 5 <= size);
    return 0;
}
