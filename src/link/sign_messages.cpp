#include "sign_messages.h"

#include <algorithm>

#include "core/pacing.h"

namespace velora {

std::vector<std::uint8_t> PacedStream::values() const {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (const PacedByte& b : bytes) out.push_back(b.value);
    return out;
}

PacedStream uploadStream(const Modulo1& state) {
    PacedStream stream;
    // The store has no slot past 200, whatever the count says.
    const int pages = std::min<int>(state.PageCount, kLastSlot);
    if (pages >= 1) stream.leadingDelays = 3;
    for (int slot = 1; slot <= pages; ++slot) {
        for (std::uint8_t value : pageRecord(state, slot)) stream.bytes.push_back({value, 1});
        // The sign closes the page on its end byte: it gets a longer gap.
        stream.bytes.back().delaysAfter = 2;
        stream.pageEnds.push_back(stream.bytes.size());
    }
    stream.bytes.push_back({kUploadEnd, 2});
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

std::uint8_t packedDecimal(int value) {
    value = ((value % 100) + 100) % 100;
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

int isoWeekday(int year, int month, int day) {
    // Sakamoto's method: 0 is Sunday.
    static constexpr int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    const int sundayBased =
        (year + year / 4 - year / 100 + year / 400 + kMonthOffset[(month - 1) % 12] + day) % 7;
    return sundayBased == 0 ? 7 : sundayBased;
}

std::vector<std::uint8_t> dateTimeMessage(const DateTime& at) {
    return {kDateTimeStart,
            packedDecimal(at.minute),
            packedDecimal(at.hour),
            static_cast<std::uint8_t>(isoWeekday(at.year, at.month, at.day)),
            packedDecimal(at.day),
            packedDecimal(at.month),
            packedDecimal(at.year % 100),
            kDateTimeEnd};
}

}  // namespace velora
