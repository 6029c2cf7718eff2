#include "sent_record.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "protocol/sign_messages.h"

namespace velora {
namespace {

struct Line {
    std::string key;
    SentRecord::Entry entry;
};

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const std::size_t first = line.find('\t');
        const std::size_t second =
            first == std::string_view::npos ? first : line.find('\t', first + 1);
        // A line that is not whole (written by hand, cut short) is no record: the plan is
        // sent again, which is the safe side.
        if (second == std::string_view::npos) continue;
        lines.push_back({std::string(line.substr(0, first)),
                         {std::string(line.substr(first + 1, second - first - 1)),
                          std::string(line.substr(second + 1))}});
    }
    return lines;
}

// Tabs and line ends would break the line a key or a file name is written on.
std::string oneField(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

SentRecord::SentRecord(Files& files, std::string path) : m_files(files), m_path(std::move(path)) {}

std::string SentRecord::keyForSign(const std::string& name) {
    return oneField("insegna " + name);
}

std::string SentRecord::keyForPort(const std::string& port) {
    return oneField("porta " + port);
}

std::optional<SentRecord::Entry> SentRecord::lastConfirmed(const std::string& key) const {
    const auto text = m_files.read(m_path);
    if (!text) return std::nullopt;
    for (const Line& line : linesOf(*text))
        if (line.key == key) return line.entry;
    return std::nullopt;
}

bool SentRecord::confirm(const std::string& key, const std::string& digest,
                         const std::string& file) {
    std::vector<Line> lines = linesOf(m_files.read(m_path).value_or(std::string()));
    bool found = false;
    for (Line& line : lines) {
        if (line.key != key) continue;
        line.entry = {digest, oneField(file)};
        found = true;
    }
    if (!found) lines.push_back({key, {digest, oneField(file)}});
    std::string text;
    for (const Line& line : lines)
        text += line.key + '\t' + line.entry.digest + '\t' + line.entry.file + '\n';
    return m_files.replace(m_path, text);
}

std::string uploadDigest(const Modulo1& state) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : uploadMessage(state).bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace velora
