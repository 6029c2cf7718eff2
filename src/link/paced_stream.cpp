#include "paced_stream.h"

#include "core/pacing.h"

namespace velora {

std::vector<std::uint8_t> PacedStream::values() const {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (const PacedByte& b : bytes) out.push_back(b.value);
    return out;
}

PacedStream uploadStream(const Modulo1& state) {
    UploadMessage upload = uploadMessage(state);
    PacedStream stream;
    if (!upload.pageEnds.empty()) stream.leadingDelays = 3;
    stream.bytes.reserve(upload.bytes.size());
    for (std::uint8_t value : upload.bytes) stream.bytes.push_back({value, 1});
    // The sign closes a page on its end byte, and the upload on the last: they get a longer gap.
    for (std::size_t end : upload.pageEnds) stream.bytes[end - 1].delaysAfter = 2;
    stream.bytes.back().delaysAfter = 2;
    stream.pageEnds = std::move(upload.pageEnds);
    return stream;
}

StreamSize streamSize(const PacedStream& stream) {
    int delays = stream.leadingDelays;
    for (const PacedByte& b : stream.bytes) delays += b.delaysAfter;
    return {static_cast<int>(stream.pageEnds.size()), stream.bytes.size(),
            delays * kPacingInterval};
}

PacedStream dateTimeLead() {
    PacedStream stream;
    stream.bytes.push_back({kDateTimeStart, kDateTimeLeadDelays});
    return stream;
}

PacedStream dateTimeStream(const DateTime& at) {
    const std::vector<std::uint8_t> message = dateTimeMessage(at);
    PacedStream stream;
    for (std::size_t i = 1; i < message.size(); ++i) stream.bytes.push_back({message[i], 1});
    // Nothing follows the end byte: the sign answers at once.
    stream.bytes.back().delaysAfter = 0;
    return stream;
}

}  // namespace velora
