#include "sign/sign_text.h"

#include <gtest/gtest.h>

#include <string>

namespace velora {
namespace {

TEST(SignText, DescribesWhatTheSignShowsNotWhatWasTyped) {
    const struct {
        std::uint8_t kind;
        const char* row1;
        const char* row2;
        const char* description;
    } cases[] = {
        {kTwoFixedRows, "CIAO \x80|", "", "Riga 1: «CIAO éé». Riga 2: vuota."},
        {kRow2Scrolling, "Saldi", "y\xB0 @", "Riga 1: «Saldi». Riga 2, scorrevole: «y  @»."},
        {kInfoInRow2, "Ora", "",
         "Riga 1: «Ora». Riga 2: data, ora e temperatura "
         "dell'insegna, «05/12 09:01 +20°»."},
        {kBigFixed, "yes@", "yes@", "Riga grande: «VES»."},
        {kBigScrolling, "", "zio!", "Riga grande, scorrevole: «ZIO»."},
        {kBigFixedInverse, "no", "no", "Riga grande in negativo: «NO»."},
        {kNeverStored, "x", "x", "Insegna spenta."},
    };
    for (const auto& c : cases) {
        Modulo1 state;
        state.PageCount = 1;
        state.RowChars = 9;
        state.PageKind[1] = c.kind;
        state.PageText[1][1] = c.row1;
        state.PageText[1][2] = c.row2;
        const SignPage page = decodePageRecord(pageRecord(state, 1)).value().page;
        EXPECT_EQ(describeSignPage(page, {2026, 12, 5, 9, 1, 0}), c.description) << int{c.kind};
    }
}

}  // namespace
}  // namespace velora
