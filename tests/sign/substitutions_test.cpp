#include "sign/substitutions.h"

#include <gtest/gtest.h>

#include <string>

#include "core/modulo1.h"

namespace velora {
namespace {

TEST(Substitutions, NamesWhatEachRowOfEachKindShowsDifferently) {
    const struct {
        std::uint8_t kind;
        const char* row1;
        const char* row2;
        const char* line;
    } cases[] = {
        // Normal font: the euro sign and "|" borrow é, blanks for what the font lacks, "?" for
        // what Windows-1252 lacks; text as typed gives no line.
        {kTwoFixedRows, "Prezzo 5 €", "a|b  °C", "€ → é  | → é  ° → spazio"},
        {kTwoFixedRows, "Città è là", "ABC xyz 123", ""},
        {kTwoFixedRows, "Ğ Ğ Ş", "À", "Ğ → ?  Ş → ?  À → spazio"},
        {kTwoFixedRows, "~", "", "~ → à"},
        // A fixed row sends its first RowChars characters only.
        {kTwoFixedRows, "123456789012345678€", "", ""},
        {kRow2Scrolling, "€", "scorre per 114 caratteri €", "€ → é"},
        {kRow1Scrolling, "scorre °", "fisso €", "° → spazio  € → é"},
        // Info rows are the sign's own: nothing typed there is sent.
        {kInfoInRow2, "Ora €", "05/12 09:01 +20°", "€ → é"},
        {kInfoInRow1, "05/12 09:01 +20°", "sotto", ""},
        // Big font: capitals, V for Y, no glyph for "@", blanks for the rest.
        // Small letters shown as capitals are named once, where the first is met.
        {kBigFixed, "yAz@!", "yAz@!", "y → V  minuscole → MAIUSCOLE  @ → vuoto  ! → spazio"},
        {kBigFixedInverse, "Y'é", "Y'é", "Y → V  ' → ;  é → spazio"},
        {kBigFixed, "AAAAAAAAAz", "AAAAAAAAAz", ""},
        {kBigScrolling, "x", "ciao y €", "minuscole → MAIUSCOLE  y → V  € → spazio"},
        {kBigScrolling, "x", "più % lù", "minuscole → MAIUSCOLE  ù → spazio  % → spazio"},
        {kNeverStored, "€", "€", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(substitutionLine(pageSubstitutions(c.kind, c.row1, c.row2, 18)), c.line)
            << "kind " << int{c.kind} << " " << c.row1 << " / " << c.row2;
    }
}

// The warning line also counts what falls past the sign's width, blanks at the end aside.
TEST(Substitutions, WarningLineNamesWhatFallsBeyondTheWidth) {
    const struct {
        std::uint8_t kind;
        const char* row1;
        const char* row2;
        int rowChars;
        const char* line;
    } cases[] = {
        {kTwoFixedRows, " OFFERTE SPECIALI ", "", 15, "oltre la larghezza: 2 caratteri"},
        {kTwoFixedRows, "CIAO              ", "ABCDEFGHIJKLMNOP", 15,
         "oltre la larghezza: 1 carattere"},
        {kRow2Scrolling, "€€€€€€€€€€", "scorre senza limite di larghezza", 9,
         "€ → é  oltre la larghezza: 1 carattere"},
        {kBigFixed, "ABCDEFGHIJ", "ABCDEFGHIJ", 18, "oltre la larghezza: 1 carattere"},
        {kBigScrolling, "", "SCORRE OLTRE LA LARGHEZZA", 9, ""},
        {kTwoFixedRows, "ESATTO", "", 6, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pageWarningLine(c.kind, c.row1, c.row2, c.rowChars), c.line)
            << "kind " << int{c.kind} << " " << c.row1 << " / " << c.row2;
    }
}

TEST(Substitutions, ListsEachPairOnceInTheOrderMet) {
    EXPECT_EQ(substitutions("€€ y Y", SignFont::Big),
              (std::vector<Substitution>{{"€", "spazio"}, {"y", "V"}, {"Y", "V"}}));
    EXPECT_EQ(substitutions("€€ y Y", SignFont::Normal), (std::vector<Substitution>{{"€", "é"}}));
}

}  // namespace
}  // namespace velora
