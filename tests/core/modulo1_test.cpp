#include "core/modulo1.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"

namespace velora {
namespace {

struct InfoCase {
    DateTime at;
    const char* expected;
};

void PrintTo(const InfoCase& c, std::ostream* out) {
    *out << '"' << c.expected << '"';
}

class InfoSampleTextTest : public ::testing::TestWithParam<InfoCase> {};

TEST_P(InfoSampleTextTest, IsSixteenCharactersWithTheDegreeSignAsOneByte) {
    testing::FakeClock clock;
    clock.date = GetParam().at;
    const std::string text = InfoSampleText(clock);
    EXPECT_EQ(text, GetParam().expected);
    EXPECT_EQ(text.size(), 16u);
}

INSTANTIATE_TEST_SUITE_P(Moments, InfoSampleTextTest,
                         ::testing::Values(InfoCase{{2026, 12, 5, 9, 1, 0}, "05/12 09:01 +20\xB0"},
                                           InfoCase{{2026, 3, 1, 7, 5, 59}, "01/03 07:05 +20\xB0"},
                                           InfoCase{{2026, 12, 31, 23, 59, 59},
                                                    "31/12 23:59 +20\xB0"},
                                           InfoCase{{2027, 1, 1, 0, 0, 0}, "01/01 00:00 +20\xB0"}));

}  // namespace
}  // namespace velora
