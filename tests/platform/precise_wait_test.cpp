#include "platform/precise_wait.h"

#include <gtest/gtest.h>

#include <chrono>

namespace velora {
namespace {

// The sign needs every gap whole: a wait never ends before its length has passed, counted from
// the call, however the sleep wakes.
TEST(PreciseWaitTest, NeverEndsEarly) {
    using Clock = std::chrono::steady_clock;
    for (double length : {0.0005, 0.002, 0.0023}) {
        for (int i = 0; i < 50; ++i) {
            const auto start = Clock::now();
            preciseWait(length);
            const std::chrono::duration<double> waited = Clock::now() - start;
            ASSERT_GE(waited.count(), length) << "wait " << i << " of " << length << " s";
        }
    }
}

}  // namespace
}  // namespace velora
