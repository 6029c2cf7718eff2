#include "inf_reader.h"

#include <optional>
#include <vector>

#include "core/numbers.h"
#include "core/run_time_error.h"

namespace velora {
namespace {

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A quoted field runs to the next double quote; other fields to the next comma.
std::optional<std::vector<std::string>> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (true) {
        std::string field;
        if (at < line.size() && line[at] == '"') {
            const std::size_t close = line.find('"', at + 1);
            if (close == std::string::npos) return std::nullopt;
            field = line.substr(at + 1, close - at - 1);
            at = close + 1;
            if (at < line.size() && line[at] != ',') return std::nullopt;
        } else {
            const std::size_t comma = line.find(',', at);
            field = line.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
            at = comma == std::string::npos ? line.size() : comma;
        }
        fields.push_back(field);
        if (at >= line.size()) return fields;
        ++at;  // the comma
    }
}

std::optional<std::uint8_t> byteField(const std::string& field) {
    try {
        return toUnsignedByte(std::string_view(field));
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

}  // namespace

bool readSequence(const std::string& bytes, Modulo1& state) {
    const std::vector<std::string> lines = splitLines(bytes);
    if (lines.empty()) return true;
    const auto header = splitFields(lines[0]);
    if (!header || header->size() != 2) return false;
    const auto count = byteField((*header)[0]);
    const auto rowChars = byteField((*header)[1]);
    if (!count || !rowChars || *count > kLastSlot) return false;
    if ((lines.size() - 1) % 2 != 0 || (lines.size() - 1) / 2 > kLastSlot) return false;
    state.PageCount = *count;
    state.RowChars = *rowChars;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int slot = static_cast<int>((i + 1) / 2);
        const int column = i % 2 ? 1 : 2;
        const auto fields = splitFields(lines[i]);
        if (!fields || fields->size() != 3) return false;
        const auto kind = byteField((*fields)[0]);
        const auto pause = byteField((*fields)[2]);
        if (!kind || !pause) return false;
        state.PageKind[slot] = *kind;
        state.PageText[slot][column] = (*fields)[1];
        state.PagePause[slot] = *pause;
    }
    return true;
}

}  // namespace velora
