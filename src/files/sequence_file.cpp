#include "sequence_file.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/page_store.h"
#include "core/run_time_error.h"
#include "core/windows1252.h"

namespace velora {
namespace {

constexpr const char* kLineEnd = "\r\n";

void appendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendPageLine(std::string& out, std::uint8_t kind, const std::string& text,
                    std::uint8_t pause) {
    out += decimalText(kind);
    out += ',';
    appendQuoted(out, text);
    out += ',';
    out += decimalText(pause);
    out += kLineEnd;
}

// Walks the bytes one line at a time. Every step either consumes bytes or fails, so no content
// can keep it going round.
class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    // Nothing but blank lines left. Editors like to end a file with an extra line end, and the
    // old DOS end-of-file mark may still sit after the last line.
    bool atEnd() const {
        return std::all_of(
            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos), m_bytes.end(),
            [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x1A'; });
    }

    // The fields of one line, which must number exactly `count`.
    std::optional<std::vector<std::string>> line(std::size_t count) {
        std::vector<std::string> fields;
        for (;;) {
            auto field = nextField();
            if (!field) return std::nullopt;
            fields.push_back(std::move(*field));
            const char terminator = endField();
            if (terminator == ',') {
                if (fields.size() == count) return std::nullopt;
                continue;
            }
            if (terminator != '\n' || fields.size() != count) return std::nullopt;
            return fields;
        }
    }

private:
    bool more() const { return m_pos < m_bytes.size(); }
    char peek() const { return m_bytes[m_pos]; }
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

    void skipBlanks() {
        while (more() && isBlank(peek())) ++m_pos;
    }

    std::optional<std::string> nextField() {
        skipBlanks();
        std::string field;
        if (more() && peek() == '"') {
            // A quoted text runs to the closing quote, commas and all; a doubled quote is one
            // quote of the text.
            ++m_pos;
            for (;;) {
                if (!more()) return std::nullopt;
                const char c = m_bytes[m_pos++];
                if (c != '"') {
                    field += c;
                } else if (more() && peek() == '"') {
                    field += '"';
                    ++m_pos;
                } else {
                    return field;
                }
            }
        }
        while (more() && peek() != ',' && !isLineEnd(peek())) field += m_bytes[m_pos++];
        while (!field.empty() && isBlank(field.back())) field.pop_back();
        return field;
    }

    // What ends the field just read: ',' or '\n' (a line end of any kind, or the end of the
    // file); 0 when something else follows a quoted text.
    char endField() {
        skipBlanks();
        if (!more()) return '\n';
        const char c = m_bytes[m_pos++];
        if (c == ',') return ',';
        if (c == '\r') {
            if (more() && peek() == '\n') ++m_pos;
            return '\n';
        }
        if (c == '\n') return '\n';
        return 0;
    }

    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

std::optional<std::uint8_t> byteField(const std::string& field) {
    try {
        return toUnsignedByte(std::string_view(field));
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

}  // namespace

std::string sequenceFileBytes(const Modulo1& state) {
    std::string out = decimalText(state.PageCount) + ',' + decimalText(state.RowChars) + kLineEnd;
    // Every slot up to the page count gets its two lines, whatever its kind: a slot left out
    // would shift every later page one place down when the file is read back.
    const int last = std::min<int>(state.PageCount, kLastSlot);
    for (int slot = 1; slot <= last; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        appendPageLine(out, state.PageKind[i], state.PageText[i][1], state.PagePause[i]);
        appendPageLine(out, state.PageKind[i], state.PageText[i][2], state.PagePause[i]);
    }
    return out;
}

std::string pageFileLines(const SequenceRecord& page) {
    std::string out;
    appendPageLine(out, page.kind, page.row1, page.pause);
    appendPageLine(out, page.kind, page.row2, page.pause);
    return out;
}

std::optional<SequenceFile> parseSequenceFile(std::string_view bytes) {
    SequenceFile file;
    Reader reader(bytes);
    // An empty file is what a save that failed on a full disk used to leave behind.
    if (reader.atEnd()) return std::nullopt;

    const auto header = reader.line(2);
    if (!header) return std::nullopt;
    const auto pageCount = byteField((*header)[0]);
    const auto rowChars = byteField((*header)[1]);
    if (!pageCount || !rowChars || *pageCount > kLastSlot) return std::nullopt;
    file.header = {*pageCount, *rowChars};

    while (!reader.atEnd()) {
        if (file.records.size() == static_cast<std::size_t>(kLastSlot)) return std::nullopt;
        auto first = reader.line(3);
        if (!first || !byteField((*first)[0]) || !byteField((*first)[2])) return std::nullopt;
        auto second = reader.line(3);
        if (!second) return std::nullopt;
        const auto kind = byteField((*second)[0]);
        const auto pause = byteField((*second)[2]);
        if (!kind || !pause) return std::nullopt;
        file.records.push_back({*kind, std::move((*first)[1]), std::move((*second)[1]), *pause});
    }
    return file;
}

int pagesFound(const SequenceFile& file) {
    return std::min<int>(file.header.pageCount, static_cast<int>(file.records.size()));
}

void applySequenceFile(Modulo1& state, const SequenceFile& file) {
    // Counting only the pages the file holds keeps the earlier sequence's pages out of the new
    // one: they would show among its pages and be saved into its file.
    state.PageCount = static_cast<std::uint8_t>(pagesFound(file));
    state.RowChars = file.header.rowChars;
    int slot = 1;
    for (const SequenceRecord& record : file.records) {
        if (slot > kLastSlot) break;
        putPage(state, slot++, record.kind, record.row1, record.row2, record.pause);
    }
    // The slots above the last page start clean, with a pause the next page can inherit.
    const int last = state.PageCount;
    clearPagesFrom(state, last + 1, kTwoFixedRows, state.PagePause[static_cast<std::size_t>(last)]);
}

std::string incompleteNotice(const SequenceFile& file) {
    const int found = pagesFound(file);
    const int declared = file.header.pageCount;
    if (found >= declared) return {};
    return windows1252::fromUtf8("Il file è incompleto: pagine trovate ") + std::to_string(found) +
           " su " + std::to_string(declared) + " dichiarate.";
}

}  // namespace velora
