#include "sign/page_time.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/page_record.h"
#include "sign/sign_face.h"

namespace velora {
namespace {

TEST(PageTime, TheSignKeepsAPageForItsWholePause) {
    const std::pair<int, double> cases[] = {{0, 1}, {1, 1}, {2, 2}, {5, 5}, {20, 20}, {255, 255}};
    for (const auto& [pause, seconds] : cases) EXPECT_DOUBLE_EQ(signPauseSeconds(pause), seconds);
}

// The time of a stored page and the steps of the record the sign reads for it agree for every
// kind: the page list's pass and the sign's playing come from one rule.
TEST(PageTime, StoredPageAndItsRecordScrollAlike) {
    const std::string row1 = "scorre in alto";  // 14 characters
    const std::string row2 = "e in basso";      // 10
    const struct {
        std::uint8_t kind;
        int steps;
    } cases[] = {
        {kTwoFixedRows, 0},        {kRow2Scrolling, 10 + 7}, {kBigFixed, 0},
        {kBigScrolling, 14 + 11},  {kInfoInRow2, 0},         {kInfoInRow1, 0},
        {kRow1Scrolling, 14 + 11}, {kBigFixedInverse, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Modulo1 state;
        state.PageCount = 1;
        state.RowChars = 18;
        state.PageKind[1] = c.kind;
        state.PagePause[1] = 7;
        const bool big =
            c.kind == kBigFixed || c.kind == kBigScrolling || c.kind == kBigFixedInverse;
        state.PageText[1][1] = big ? row1.substr(0, 9) : row1;
        state.PageText[1][2] = big ? state.PageText[1][1] : row2;
        if (c.kind == kBigScrolling) state.PageText[1][1] = state.PageText[1][2] = row1;
        const SignPage page = decodePageRecord(pageRecord(state, 1)).value().page;
        EXPECT_EQ(scrollSteps(page), c.steps);
        EXPECT_NEAR(scrollSeconds(state, 1), c.steps * kScrollStepSeconds, 1e-9);
        EXPECT_NEAR(signPageSeconds(state, 1), c.steps * kScrollStepSeconds + 7, 1e-9);
    }
}

}  // namespace
}  // namespace velora
