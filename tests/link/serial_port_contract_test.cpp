#include "serial_port_contract.h"

#include "fakes/fake_clock.h"
#include "fakes/fake_serial_port.h"
#include "link/virtual_port.h"
#include "link/virtual_sign.h"

namespace velora::testing {
namespace {

// The fake of the model tests, with a virtual sign at its far end.
struct FakePortHarness {
    VirtualSign sign;
    FakeSerialPort fake;
    FakePortHarness() {
        fake.peer = [this](std::uint8_t b) { return sign.receive(b); };
    }
    SerialPort& port() { return fake; }
    std::string name() const { return "COM1"; }
    bool chooseMissing() {
        fake.openFails = true;
        return true;
    }
    bool waitForInput(int count) { return fake.inBufferCount() >= count; }
};

// The virtual sign inside the program.
struct VirtualPortHarness {
    FakeClock clock;
    VirtualPort virtualPort{clock};
    SerialPort& port() { return virtualPort; }
    std::string name() const { return kVirtualSignPort; }
    bool chooseMissing() { return false; }
    bool waitForInput(int count) { return virtualPort.inBufferCount() >= count; }
};

using Harnesses = ::testing::Types<FakePortHarness, VirtualPortHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Model, SerialPortContract, Harnesses);

}  // namespace
}  // namespace velora::testing
