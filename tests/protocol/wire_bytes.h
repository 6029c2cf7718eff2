#pragma once

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace velora::testing {

using Bytes = std::vector<std::uint8_t>;

// "01 0A FF" as bytes; "00*15" repeats a byte.
inline Bytes hex(const std::string& text) {
    Bytes out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        const auto star = word.find('*');
        const int count = star == std::string::npos ? 1 : std::stoi(word.substr(star + 1));
        const auto value = static_cast<std::uint8_t>(std::stoi(word.substr(0, star), nullptr, 16));
        out.insert(out.end(), static_cast<std::size_t>(count), value);
    }
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace velora::testing
