#include "contracts/clock_contract.h"

#include "fakes/fake_clock.h"
#include "platform/system_clock.h"

namespace velora::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(
    Clocks, ClockContractTest,
    ::testing::Values(ClockMaker{"Fake", [] { return std::make_unique<FakeClock>(); }},
                      ClockMaker{"System", [] { return std::make_unique<SystemClock>(); }}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora::testing
