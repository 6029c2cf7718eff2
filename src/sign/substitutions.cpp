#include "substitutions.h"

#include <algorithm>

#include "core/windows1252.h"
#include "protocol/page_layout.h"
#include "protocol/sign_codes.h"

namespace velora {
namespace {

// One UTF-8 character: a lead byte and its continuation bytes.
std::vector<std::string_view> characters(std::string_view utf8, std::size_t limit) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < utf8.size() && out.size() < limit) {
        std::size_t end = i + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
        out.push_back(utf8.substr(i, end - i));
        i = end;
    }
    return out;
}

std::string shownBy(SignFont font, std::uint8_t index) {
    if (index == 0x00) return " ";
    const Glyph* glyph = fontFor(font).glyph(index);
    if (!glyph) return {};
    return glyph->name.empty() ? std::string(" ") : glyph->name;
}

void collect(std::vector<Substitution>& out, std::string_view typedUtf8, SignFont font,
             std::size_t limit) {
    for (std::string_view typed : characters(typedUtf8, limit)) {
        const std::string byte = windows1252::fromUtf8(typed);
        const auto code = static_cast<std::uint8_t>(byte.empty() ? '?' : byte.front());
        const std::uint8_t index = font == SignFont::Big ? CodiceGrande(code) : CodiceNormale(code);
        std::string shown = shownBy(font, index);
        if (shown == typed) continue;
        if (shown.empty())
            shown = "vuoto";
        else if (shown == " ")
            shown = "spazio";
        Substitution found{std::string(typed), std::move(shown)};
        if (std::find(out.begin(), out.end(), found) == out.end()) out.push_back(std::move(found));
    }
}

constexpr std::size_t kWhole = static_cast<std::size_t>(-1);

}  // namespace

std::vector<Substitution> substitutions(std::string_view typedUtf8, SignFont font) {
    std::vector<Substitution> out;
    collect(out, typedUtf8, font, kWhole);
    return out;
}

std::vector<Substitution> pageSubstitutions(std::uint8_t kind, std::string_view row1Utf8,
                                            std::string_view row2Utf8, int rowChars) {
    std::vector<Substitution> out;
    const PageLayout& layout = pageLayout(kind);
    for (const RowLayout* row : {&layout.row1, &layout.row2}) {
        if (!row->sent()) continue;
        // A scrolling row sends its whole text, however long.
        const std::size_t limit =
            row->width == RowWidth::WholeText ? kWhole : sentChars(*row, rowChars, 0);
        collect(out, row->text == 1 ? row1Utf8 : row2Utf8, row->font, limit);
    }
    return out;
}

namespace {

// One UTF-8 character as its code point; 0 for anything longer.
char32_t codePoint(std::string_view utf8) {
    const auto lead = static_cast<unsigned char>(utf8.empty() ? 0 : utf8[0]);
    if (utf8.size() == 1) return lead;
    if (utf8.size() == 2) return static_cast<char32_t>(((lead & 0x1F) << 6) | (utf8[1] & 0x3F));
    return 0;
}

// A small letter shown as its capital: the big font has capitals only, and naming every letter
// of a row would bury what really changes.
bool isCapitalOf(const Substitution& s) {
    const char32_t typed = codePoint(s.typed);
    const char32_t shown = codePoint(s.shown);
    const bool small =
        (typed >= U'a' && typed <= U'z') || (typed >= 0xE0 && typed <= 0xFE && typed != 0xF7);
    return small && shown == typed - 0x20;
}

// Characters of `utf8` past the first `width`, its trailing blanks aside.
std::size_t pastWidth(std::string_view utf8, int width) {
    const std::size_t end = utf8.find_last_not_of(' ');
    if (end == std::string_view::npos) return 0;
    const std::size_t count = characters(utf8.substr(0, end + 1), kWhole).size();
    const auto fits = static_cast<std::size_t>(std::max(0, width));
    return count > fits ? count - fits : 0;
}

}  // namespace

std::string substitutionLine(const std::vector<Substitution>& found) {
    std::string line;
    bool capitals = false;
    for (const Substitution& s : found) {
        std::string pair = s.typed + " \u2192 " + s.shown;
        if (isCapitalOf(s)) {
            if (capitals) continue;
            capitals = true;
            pair = "minuscole \u2192 MAIUSCOLE";
        }
        if (!line.empty()) line += "  ";
        line += pair;
    }
    return line;
}

std::size_t charactersBeyondWidth(std::uint8_t kind, std::string_view row1Utf8,
                                  std::string_view row2Utf8, int rowChars) {
    std::size_t beyond = 0;
    const PageLayout& layout = pageLayout(kind);
    for (const RowLayout* row : {&layout.row1, &layout.row2}) {
        if (row->show != RowShow::Fixed) continue;
        const auto width = static_cast<int>(sentChars(*row, rowChars, 0));
        beyond += pastWidth(row->text == 1 ? row1Utf8 : row2Utf8, width);
    }
    return beyond;
}

std::string pageWarningLine(std::uint8_t kind, std::string_view row1Utf8, std::string_view row2Utf8,
                            int rowChars) {
    std::string line = substitutionLine(pageSubstitutions(kind, row1Utf8, row2Utf8, rowChars));
    const std::size_t beyond = charactersBeyondWidth(kind, row1Utf8, row2Utf8, rowChars);
    if (beyond > 0) {
        if (!line.empty()) line += "  ";
        line += "oltre la larghezza: " + std::to_string(beyond) +
                (beyond == 1 ? " carattere" : " caratteri");
    }
    return line;
}

}  // namespace velora
