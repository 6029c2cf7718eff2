#include "sign_text.h"

#include "core/modulo1.h"
#include "core/windows1252.h"

namespace velora {
namespace {

std::string quoted(const std::string& text) {
    return text.empty() ? std::string("vuota") : "\u00AB" + text + "\u00BB";
}

std::string describeRow(const std::string& label, const SignRow& row, const DateTime& clock) {
    switch (row.show) {
        case RowShow::Blank:
            return label + ": vuota.";
        case RowShow::Fixed:
            return label + ": " + quoted(rowShows(row, clock)) + ".";
        case RowShow::Scrolling:
            return label + ", scorrevole: " + quoted(rowShows(row, clock)) + ".";
        case RowShow::Info:
            return label + ": data, ora e temperatura dell'insegna, " +
                   quoted(rowShows(row, clock)) + ".";
    }
    return {};
}

}  // namespace

std::string rowShows(const SignRow& row, const DateTime& clock) {
    if (row.show == RowShow::Info) return windows1252::toUtf8(InfoSampleText(clock));
    std::string text;
    const LedFont& font = fontFor(row.font);
    for (std::uint8_t index : row.indices) {
        const Glyph* glyph = index == 0x00 ? nullptr : font.glyph(index);
        text += glyph && !glyph->name.empty() ? glyph->name : std::string(" ");
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string describeSignPage(const SignPage& page, const DateTime& clock) {
    if (page.big()) {
        const std::string label = page.inverse() ? "Riga grande in negativo" : "Riga grande";
        return describeRow(label, page.row1, clock);
    }
    if (page.row1.show == RowShow::Blank && page.row2.show == RowShow::Blank)
        return "Insegna spenta.";
    return describeRow("Riga 1", page.row1, clock) + " " + describeRow("Riga 2", page.row2, clock);
}

}  // namespace velora
