#include <QCoreApplication>
#include <QElapsedTimer>

#include "cli/pty_sign.h"
#include "link/serial_port_contract.h"
#include "qt_serial_port.h"

namespace velora::testing {
namespace {

// The system's port: QSerialPort on a pseudo-terminal whose far end is the virtual sign.
struct PtyPortHarness {
    PtySign sign;
    QtSerialPort qtPort;
    PtyPortHarness() { sign.start(); }
    SerialPort& port() { return qtPort; }
    std::string name() const { return sign.devicePath(); }
    bool chooseMissing() {
        qtPort.setCommPort("/dev/velora-no-such-port");
        return true;
    }
    // Replies reach the port through the event loop, as they do in the program.
    bool waitForInput(int count) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (qtPort.inBufferCount() < count && elapsed.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return qtPort.inBufferCount() >= count;
    }
};

using Harnesses = ::testing::Types<PtyPortHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(System, SerialPortContract, Harnesses);

}  // namespace
}  // namespace velora::testing

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
