#include "sign_messages.h"

#include <algorithm>

#include "page_record.h"

namespace velora {

UploadMessage uploadMessage(const Modulo1& state) {
    UploadMessage upload;
    // The store has no slot past 200, whatever the count says.
    const int pages = std::min<int>(state.PageCount, kLastSlot);
    for (int slot = 1; slot <= pages; ++slot) {
        const std::vector<std::uint8_t> record = pageRecord(state, slot);
        upload.bytes.insert(upload.bytes.end(), record.begin(), record.end());
        upload.pageEnds.push_back(upload.bytes.size());
    }
    upload.bytes.push_back(kUploadEnd);
    return upload;
}

std::uint8_t packedDecimal(int value) {
    value = ((value % 100) + 100) % 100;
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

std::optional<int> unpackedDecimal(std::uint8_t packed) {
    const int tens = packed >> 4;
    const int units = packed & 0x0F;
    if (tens > 9 || units > 9) return std::nullopt;
    return tens * 10 + units;
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

std::optional<SignClock> decodeDateTimeMessage(std::span<const std::uint8_t> message) {
    if (message.size() != kDateTimeMessageBytes || message.front() != kDateTimeStart ||
        message.back() != kDateTimeEnd)
        return std::nullopt;
    const auto field = [&](std::size_t at, int low, int high) -> std::optional<int> {
        const std::optional<int> value = unpackedDecimal(message[at]);
        if (!value || *value < low || *value > high) return std::nullopt;
        return value;
    };
    const std::optional<int> minute = field(1, 0, 59);
    const std::optional<int> hour = field(2, 0, 23);
    const std::optional<int> day = field(4, 1, 31);
    const std::optional<int> month = field(5, 1, 12);
    const std::optional<int> year = field(6, 0, 99);
    const int weekday = message[3];
    if (!minute || !hour || !day || !month || !year || weekday < 1 || weekday > 7)
        return std::nullopt;
    return SignClock{*minute, *hour, weekday, *day, *month, *year};
}

}  // namespace velora
