// The clock contract against the Qt clocks, which pump the event loop while they wait.
#include <QCoreApplication>

#include "contracts/clock_contract.h"
#include "platform/system_clock.h"
#include "pumping_clock.h"
#include "qt_clock.h"

namespace velora::testing {
namespace {

// A pumping clock over the Qt clock it keeps painting through, owned together.
class OwnedPumpingClock : public PumpingClock {
public:
    OwnedPumpingClock() : PumpingClock(m_base, 0.001) {
        pump = [] { QCoreApplication::processEvents(); };
    }

private:
    QtClock m_base;
};

INSTANTIATE_TEST_SUITE_P(
    Clocks, ClockContractTest,
    ::testing::Values(ClockMaker{"Qt", [] { return std::make_unique<QtClock>([] {}); }},
                      ClockMaker{"Pumping", [] { return std::make_unique<OwnedPumpingClock>(); }}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora::testing

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
