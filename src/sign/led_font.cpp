#include "led_font.h"

#include <cstdlib>
#include <stdexcept>

namespace velora {
namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool isComment(std::string_view line) {
    return line.starts_with("# ");
}

bool isDotRow(std::string_view line) {
    return !line.empty() && line.find_first_not_of("#.") == std::string_view::npos;
}

LedFont builtIn(const char* text) {
    std::string error;
    std::optional<LedFont> font = LedFont::parse(text, &error);
    // The fonts are part of the program: a broken one is a fault of the build, not of the user.
    if (!font) throw std::logic_error("built-in LED font: " + error);
    return std::move(*font);
}

}  // namespace

std::optional<LedFont> LedFont::parse(std::string_view text, std::string* error) {
    LedFont font;
    const std::vector<std::string_view> lines = splitLines(text);
    auto fail = [&](std::size_t line, const std::string& why) -> std::optional<LedFont> {
        if (error) *error = "line " + std::to_string(line + 1) + ": " + why;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty() || isComment(line)) continue;
        if (!line.starts_with("glyph ")) return fail(i, "expected a glyph header");
        std::string_view rest = line.substr(6);
        const std::size_t blank = rest.find(' ');
        const std::string_view key = rest.substr(0, blank);
        Glyph glyph;
        if (blank != std::string_view::npos) glyph.name = std::string(rest.substr(blank + 1));

        std::size_t row = i + 1;
        for (; row < lines.size() && isDotRow(lines[row]); ++row) {
            const std::string_view dots = lines[row];
            if (glyph.width == 0) glyph.width = static_cast<int>(dots.size());
            if (static_cast<int>(dots.size()) != glyph.width)
                return fail(row, "dot rows of one glyph differ in length");
            for (char dot : dots) glyph.dots.push_back(dot == '#' ? 1 : 0);
            ++glyph.height;
        }
        if (glyph.height == 0) return fail(i, "glyph without dot rows");
        if (font.m_width == 0) {
            font.m_width = glyph.width;
            font.m_height = glyph.height;
        }
        if (glyph.width != font.m_width || glyph.height != font.m_height)
            return fail(i, "glyph size differs from the font's first glyph");

        if (key == "info") {
            font.m_info = std::move(glyph);
        } else {
            char* end = nullptr;
            const std::string number(key);
            const long index = std::strtol(number.c_str(), &end, 16);
            if (!number.starts_with("0x") || *end != '\0' || index < 0 || index > 255)
                return fail(i, "index is not a byte written as 0xNN");
            auto& slot = font.m_glyphs[static_cast<std::size_t>(index)];
            if (slot) return fail(i, "index given twice");
            slot = std::move(glyph);
        }
        i = row - 1;
    }
    if (font.m_width == 0) return fail(lines.size(), "no glyphs");
    return font;
}

const Glyph* LedFont::glyph(std::uint8_t index) const {
    const auto& slot = m_glyphs[index];
    return slot ? &*slot : nullptr;
}

const LedFont& normalFont() {
    static const LedFont font = builtIn(kNormalFontText);
    return font;
}

const LedFont& bigFont() {
    static const LedFont font = builtIn(kBigFontText);
    return font;
}

const LedFont& fontFor(SignFont font) {
    return font == SignFont::Big ? bigFont() : normalFont();
}

}  // namespace velora
