// Feeds arbitrary bytes from a far end to the telnet reading side, split at a point the input
// chooses. Whatever arrives, the data read never outgrows the input, reading in two pieces gives
// what reading at once gives, and data sent through the codec's own encoding comes back unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "protocol/telnet_codec.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t split = data[0] % size;
    const std::uint8_t* bytes = data + 1;
    const std::size_t count = size - 1;

    for (auto role : {velora::TelnetCodec::Role::Client, velora::TelnetCodec::Role::Server}) {
        velora::TelnetCodec whole(role);
        const std::string once = whole.decode(bytes, count);
        require(once.size() <= count);
        velora::TelnetCodec pieces(role);
        const std::size_t first = split < count ? split : count;
        const std::string twice =
            pieces.decode(bytes, first) + pieces.decode(bytes + first, count - first);
        require(once == twice);
        require(whole.takeReplies() == pieces.takeReplies());
    }

    // Plain data through the encoder and a fresh reader is the data itself.
    const std::vector<std::uint8_t> plain(bytes, bytes + count);
    const std::vector<std::uint8_t> wire = velora::TelnetCodec::encode(plain);
    velora::TelnetCodec reader;
    const std::string back = reader.decode(wire.data(), wire.size());
    require(back == std::string(plain.begin(), plain.end()));
    return 0;
}
