#include "win_serial_port.h"

#include <cstdlib>
#include <iostream>
#include <mutex>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include "core/run_time_error.h"
#include "link/port_reasons.h"
#include "link/serial_port_contract.h"
#include "link/virtual_sign.h"
#include "platform/win_serial_line.h"

namespace velora::testing {
namespace {

// The ports scripts/test-windows.sh maps to pseudo-terminals: "COM7,COM8", a null-modem pair, and
// "COM9,COM10", lines that hang up at the first byte. The n-th name of a list.
std::string mappedPort(const char* variable, std::size_t n) {
    const char* ports = std::getenv(variable);
    std::string list = ports ? ports : "";
    for (; n > 0 && list.find(',') != std::string::npos; --n) list.erase(0, list.find(',') + 1);
    return n == 0 ? list.substr(0, list.find(',')) : std::string();
}

// The virtual sign at the far end of the pair, answering on the line's own thread.
class ComSign {
public:
    explicit ComSign(const std::string& port) {
        std::string why;
        if (!m_line.open(port, PortSettings{}, why)) ADD_FAILURE() << port << ": " << why;
    }

private:
    void answer(const std::string& bytes) {
        const std::lock_guard lock(m_mutex);
        for (const char byte : bytes) {
            for (const std::uint8_t reply : m_sign.receive(static_cast<std::uint8_t>(byte))) {
                std::string why;
                if (!m_line.write(reply, why)) ADD_FAILURE() << why;
            }
        }
    }

    std::mutex m_mutex;
    VirtualSign m_sign;
    WinSerialLine m_line{[this](const std::string& bytes) { answer(bytes); }, [] {}};
};

// The Windows port on one end of the pair, the virtual sign on the other.
struct ComPortHarness {
    ComSign sign{mappedPort("VELORA_TEST_COM_PAIR", 1)};
    WinSerialPort winPort;
    SerialPort& port() { return winPort; }
    std::string name() const { return mappedPort("VELORA_TEST_COM_PAIR", 0); }
    bool chooseMissing() {
        winPort.setCommPort("COM250");
        return true;
    }
    // Replies reach the port through the event loop, as they do in the program.
    bool waitForInput(int count) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (winPort.inBufferCount() < count && elapsed.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return winPort.inBufferCount() >= count;
    }
};

using Harnesses = ::testing::Types<ComPortHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(ComPort, SerialPortContract, Harnesses);

std::string openFailure(WinSerialPort& port, const std::string& name) {
    port.setCommPort(name);
    try {
        port.setPortOpen(true);
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.code(), kPortOpenFailed);
        return port.errorText();
    }
    return "opened";
}

TEST(WinSerialPortTest, PortsThatDoNotOpenSayWhyInTheUsersWords) {
    WinSerialPort port;
    EXPECT_EQ(openFailure(port, "COM250"), portReason::kNotThere);
    EXPECT_EQ(openFailure(port, ""), portReason::kNoneChosen);
    EXPECT_EQ(openFailure(port, "C:\\Windows\\win.ini"), portReason::kNotThere);
    EXPECT_FALSE(port.portOpen());
}

TEST(WinSerialPortTest, AHangUpClosesThePortAndIsAnnouncedOnce) {
    const std::string name = mappedPort("VELORA_TEST_COM_HANGUP", 1);
    WinSerialPort port;
    QSignalSpy lost(&port, &WinSerialPort::lineLost);
    ASSERT_EQ(openFailure(port, name), "opened");
    port.output('x');
    EXPECT_TRUE(lost.wait(5000));
    EXPECT_FALSE(port.portOpen());
    EXPECT_EQ(port.errorText(), portReason::kLineLost);
    QCoreApplication::processEvents();
    EXPECT_EQ(lost.count(), 1);
    try {
        port.output('y');
        ADD_FAILURE() << "a lost line took a byte";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.code(), kPortNotOpen);
    }
}

}  // namespace
}  // namespace velora::testing

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("VELORA_TEST_COM_PAIR") || !std::getenv("VELORA_TEST_COM_HANGUP")) {
        // Without the pseudo-terminals only the ports that are not there can be tried.
        std::cout << "VELORA_TEST_COM_PAIR or VELORA_TEST_COM_HANGUP is not set: "
                     "scripts/test-windows.sh maps COM ports to pseudo-terminals; "
                     "trying only the ports that do not open\n";
        ::testing::GTEST_FLAG(filter) = "WinSerialPortTest.PortsThatDoNot*";
    }
    return RUN_ALL_TESTS();
}
