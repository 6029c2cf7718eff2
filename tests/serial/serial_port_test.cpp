#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "cli/pty_sign.h"
#include "cli/stream_sign.h"
#include "core/run_time_error.h"
#include "link/serial_port_contract.h"
#include "network_port.h"
#include "qt_serial_port.h"

namespace velora::testing {
namespace {

// Replies reach a port through the event loop, as they do in the program.
bool waitForInput(SerialPort& port, int count) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (port.inBufferCount() < count && elapsed.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return port.inBufferCount() >= count;
}

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
    bool waitForInput(int count) { return testing::waitForInput(qtPort, count); }
};

// A serial line behind a converter on the network, raw or telnet: the virtual sign serves TCP on
// loopback. A port that cannot open is one nobody listens on.
template <bool Telnet>
struct NetworkPortHarness {
    VirtualSign sign;
    TcpSign server{"127.0.0.1:0", Telnet, sign};
    NetworkPort networkPort;
    NetworkPortHarness() { server.start(); }
    SerialPort& port() { return networkPort; }
    std::string name() const { return server.address(); }
    bool chooseMissing() {
        VirtualSign nobody;
        int closed = 0;
        {
            TcpSign gone("127.0.0.1:0", Telnet, nobody);
            closed = gone.port();
        }
        networkPort.setCommPort((Telnet ? "rfc2217://127.0.0.1:" : "socket://127.0.0.1:") +
                                std::to_string(closed));
        return true;
    }
    bool waitForInput(int count) { return testing::waitForInput(networkPort, count); }
};

using Harnesses =
    ::testing::Types<PtyPortHarness, NetworkPortHarness<false>, NetworkPortHarness<true>>;
INSTANTIATE_TYPED_TEST_SUITE_P(System, SerialPortContract, Harnesses);

// A port that does not open says why in the user's words, not the system's English.
std::string openFailure(QtSerialPort& port, const std::string& name) {
    port.setCommPort(name);
    try {
        port.setPortOpen(true);
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.code(), kPortOpenFailed);
        return port.errorText();
    }
    return "opened";
}

TEST(QtSerialPortOpenTest, MissingPortIsSaidToBeThere) {
    QtSerialPort port;
    EXPECT_EQ(openFailure(port, "/dev/velora-no-such-port"),
              "la porta non c'\u00E8: scollegata o inesistente");
}

// However the name fails to reach a device, the reason is that there is none: never a
// permission the user lacks.
TEST(QtSerialPortOpenTest, NamesThatReachNoDeviceAreSaidToBeMissing) {
    const std::string names[] = {std::string(600, 'x'), "/dev/" + std::string(600, 'x'),
                                 "/dev/velora-no-such-folder/ttyUSB0"};
    for (const std::string& name : names) {
        QtSerialPort port;
        const std::string said = openFailure(port, name);
        EXPECT_EQ(said.rfind("la porta non c'\u00E8", 0), 0u) << said;
    }
}

TEST(QtSerialPortOpenTest, PortHeldByAnotherIsInUse) {
    PtySign sign;
    sign.start();
    QtSerialPort first;
    first.setCommPort(sign.devicePath());
    first.setPortOpen(true);
    QtSerialPort second;
    EXPECT_EQ(openFailure(second, sign.devicePath()),
              "la porta \u00E8 gi\u00E0 in uso da un altro programma");
}

TEST(QtSerialPortOpenTest, PortWithoutPermissionNamesTheGroup) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root, which opens a device whatever its mode";
    PtySign sign;
    sign.start();
    ASSERT_EQ(::chmod(sign.devicePath().c_str(), 0), 0);
    QtSerialPort port;
    const std::string said = openFailure(port, sign.devicePath());
    EXPECT_EQ(said.rfind("permesso negato: aggiungere l'utente al gruppo dialout", 0), 0u) << said;
}

}  // namespace
}  // namespace velora::testing

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
