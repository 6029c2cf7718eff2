#include "sign_messages.h"

#include <algorithm>
#include <string>

#include "core/pacing.h"
#include "sign_codes.h"

namespace velora {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Code = std::uint8_t (*)(std::uint8_t);

std::uint8_t charAt(const std::string& text, int index) {
    // Beyond the end of a short text the row shows blanks.
    return index < static_cast<int>(text.size()) ? static_cast<std::uint8_t>(text[index]) : ' ';
}

void appendChars(Bytes& out, const std::string& text, int count, Code code) {
    for (int i = 0; i < count; ++i) out.push_back(code(charAt(text, i)));
}

void fixedRow(Bytes& out, const std::string& text, int rowChars) {
    appendChars(out, text, rowChars, CodiceNormale);
    out.resize(out.size() + static_cast<std::size_t>(std::max(0, kFixedBlockBytes - rowChars)),
               0x00);
}

void scrollingRow(Bytes& out, const std::string& text, Code code) {
    appendChars(out, text, static_cast<int>(text.size()), code);
    out.push_back(kScrollEnd);
}

}  // namespace

std::vector<std::uint8_t> PacedStream::values() const {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (const PacedByte& b : bytes) out.push_back(b.value);
    return out;
}

std::vector<std::uint8_t> pageRecord(const Modulo1& state, int slot) {
    const int rowChars = state.RowChars;
    const std::string& row1 = state.PageText[slot][1];
    const std::string& row2 = state.PageText[slot][2];
    const std::uint8_t kind = state.PageKind[slot];
    Bytes out(4);
    out.reserve(4 + 2 * kFixedBlockBytes + row1.size() + row2.size() + 2);
    out[0] = kind;
    out[1] = state.PageCount;
    out[2] = state.PagePause[slot];
    out[3] = state.RowChars;
    switch (kind) {
        case kTwoFixedRows:
            fixedRow(out, row1, rowChars);
            fixedRow(out, row2, rowChars);
            break;
        case kRow2Scrolling:
            fixedRow(out, row1, rowChars);
            scrollingRow(out, row2, CodiceNormale);
            break;
        case kBigFixed:
        case kBigFixedInverse:
            appendChars(out, row1, rowChars / 2, CodiceGrande);
            break;
        case kBigScrolling:
            out.resize(out.size() + kFixedBlockBytes, 0x00);
            scrollingRow(out, row2, CodiceGrande);
            break;
        case kInfoInRow2:
            // The sign fills the info row itself: nothing is sent for it.
            appendChars(out, row1, rowChars, CodiceNormale);
            break;
        case kInfoInRow1:
            appendChars(out, row2, rowChars, CodiceNormale);
            break;
        case kRow1Scrolling:
            // The fixed row goes first, whichever row it is shown in.
            fixedRow(out, row2, rowChars);
            scrollingRow(out, row1, CodiceNormale);
            break;
        default:
            break;
    }
    out.push_back(kPageEnd);
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
