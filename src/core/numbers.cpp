#include "numbers.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "run_time_error.h"

namespace velora {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string withoutBlanks(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c)) compact.push_back(c);
    }
    return compact;
}

// Length of the longest leading decimal number of `text` (0 when there is none).
std::size_t leadingNumberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t exponentDigits = 0;
        while (j < text.size() && isDigit(text[j])) ++j, ++exponentDigits;
        if (exponentDigits > 0) end = j;
    }
    return end;
}

double parse(std::string number) {
    for (char& c : number) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace

double readNumber(std::string_view text) {
    const std::string compact = withoutBlanks(text);
    const std::size_t length = leadingNumberLength(compact);
    return length == 0 ? 0.0 : parse(compact.substr(0, length));
}

std::uint8_t toUnsignedByte(double value) {
    // nearbyint rounds in the current mode, which is to nearest with halves to even.
    const double whole = std::nearbyint(value);
    if (!(whole >= 0.0 && whole <= 255.0)) throw RunTimeError(kOverflow);
    return static_cast<std::uint8_t>(whole);
}

std::uint8_t toUnsignedByte(std::string_view text) {
    const std::string compact = withoutBlanks(text);
    const std::size_t length = leadingNumberLength(compact);
    if (length == 0 || length != compact.size()) throw RunTimeError(kTypeMismatch);
    return toUnsignedByte(parse(compact));
}

std::string decimalText(long long value) {
    return std::to_string(value);
}

}  // namespace velora
