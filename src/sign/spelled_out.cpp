#include "spelled_out.h"

#include <algorithm>
#include <array>

#include "core/windows1252.h"
#include "substitutions.h"

namespace velora {
namespace {

constexpr char kEuro = '\x80';
constexpr char kDegree = '\xB0';

// The forms of one thing to write out, longest first. A form that starts with a blank drops it
// after a blank or at the start of the text.
struct Rule {
    std::string_view match;  // what the text holds, Windows-1252
    std::array<std::string_view, 4> forms;
};

// Degrees Celsius before a lone degree sign, so that "°C" is written once, not "GRADIC".
constexpr std::array<Rule, 4> kRules{{
    {"\260C", {" GRADI", "GRADI", " C", "C"}},
    {"\260c", {" GRADI", "GRADI", " C", "C"}},
    {"\xB0", {" GRADI", "GRADI", " GR", "GR"}},
    {"\x80", {" EUR", "EUR", "EUR", "EUR"}},
}};

constexpr std::size_t kLevels = 4;

// Whether the sign shows the character as it was typed, in `font`.
bool shownAsTyped(char byte, SignFont font) {
    return substitutions(windows1252::toUtf8(std::string(1, byte)), font).empty();
}

struct Written {
    std::string text;
    std::vector<std::pair<std::string, std::string>> written;
};

Written writeOut(std::string_view text, const std::array<bool, 2>& replace, std::size_t level) {
    Written out;
    std::size_t i = 0;
    while (i < text.size()) {
        const Rule* rule = nullptr;
        for (const Rule& candidate : kRules) {
            const bool wanted = candidate.match.front() == kEuro ? replace[0] : replace[1];
            if (wanted && text.substr(i).starts_with(candidate.match)) {
                rule = &candidate;
                break;
            }
        }
        if (!rule) {
            out.text.push_back(text[i++]);
            continue;
        }
        std::string_view form = rule->forms[level];
        if (form.starts_with(' ') && (out.text.empty() || out.text.back() == ' '))
            form.remove_prefix(1);
        out.text += form;
        // "°c" is named as the user typed it; both are written the same way.
        std::pair<std::string, std::string> pair{
            std::string(rule->match),
            std::string(rule->forms[level].substr(rule->forms[level].starts_with(' ') ? 1 : 0))};
        if (std::find(out.written.begin(), out.written.end(), pair) == out.written.end())
            out.written.push_back(std::move(pair));
        i += rule->match.size();
    }
    return out;
}

}  // namespace

std::optional<SpelledOut> spellOut(std::string_view text, SignFont font, std::size_t limit) {
    // Only what the sign really shows differently is written out.
    const std::array<bool, 2> replace{
        text.find(kEuro) != std::string_view::npos && !shownAsTyped(kEuro, font),
        text.find(kDegree) != std::string_view::npos && !shownAsTyped(kDegree, font)};
    if (!replace[0] && !replace[1]) return std::nullopt;
    for (std::size_t level = 0; level < kLevels; ++level) {
        Written out = writeOut(text, replace, level);
        // Blanks that only fill the row to its width give way to the longer text.
        while (limit > 0 && out.text.size() > limit && out.text.back() == ' ') out.text.pop_back();
        if (limit == 0 || out.text.size() <= limit)
            return SpelledOut{std::move(out.text), std::move(out.written)};
    }
    return std::nullopt;
}

}  // namespace velora
