// Feeds arbitrary bytes to the ".inf" reader. Whatever the content, the reader either refuses it
// or gives a store that holds at most 200 pages and that writes back to a file reading the same.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/modulo1.h"
#include "files/sequence_file.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// A store with an earlier sequence in it, so that what the file leaves alone is visible.
velora::Modulo1 earlierSequence() {
    // Value-initialised on purpose: clang 14 crashes compiling a default-initialised Modulo1.
    velora::Modulo1 state = velora::Modulo1();
    state.PageCount = 3;
    state.RowChars = 18;
    for (std::size_t slot = 1; slot <= 5; ++slot) {
        state.PageKind[slot] = velora::kRow2Scrolling;
        state.PageText[slot] = {"", "old \"quoted\"", "old, with comma"};
        state.PagePause[slot] = 7;
    }
    return state;
}

bool sameStore(const velora::Modulo1& a, const velora::Modulo1& b) {
    return a.PageCount == b.PageCount && a.RowChars == b.RowChars && a.PageText == b.PageText &&
           a.PageKind == b.PageKind && a.PagePause == b.PagePause;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto file = velora::parseSequenceFile(bytes);
    if (!file) return 0;
    require(file->records.size() <= static_cast<std::size_t>(velora::kLastSlot));
    require(file->header.pageCount <= velora::kLastSlot);

    velora::Modulo1 state = earlierSequence();
    velora::applySequenceFile(state, *file);
    require(state.PageCount <= velora::kLastSlot);

    const std::string written = velora::sequenceFileBytes(state);
    const auto again = velora::parseSequenceFile(written);
    require(again.has_value());
    velora::Modulo1 reread = earlierSequence();
    velora::applySequenceFile(reread, *again);
    require(sameStore(state, reread));
    require(velora::sequenceFileBytes(reread) == written);
    return 0;
}
