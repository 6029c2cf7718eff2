#include "core/pacing.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"

namespace velora {
namespace {

TEST(CalibrateDelayTest, DerivesTheLoopCountOfTwoMilliseconds) {
    testing::FakeServices fake;
    Modulo1 state;
    CalibrateDelay(state, fake.services, LoopTiming{1000, 1000.04});  // the loop took 40 ms
    EXPECT_DOUBLE_EQ(state.DelayLoopCount, 500000);                   // 20000 / 0.04
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST(CalibrateDelayTest, ALoopThatTookNoTimeIsReportedAsDivisionByZero) {
    testing::FakeServices fake;
    Modulo1 state;
    state.DelayLoopCount = 7;
    CalibrateDelay(state, fake.services, LoopTiming{1000, 1000});
    EXPECT_DOUBLE_EQ(state.DelayLoopCount, 7);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("(11)."), std::string::npos);
}

}  // namespace
}  // namespace velora
