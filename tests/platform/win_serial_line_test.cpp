#include "platform/win_serial_line.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/port_reasons.h"

namespace velora {
namespace {

using namespace std::chrono_literals;

TEST(WinSerialNamesTest, PortNamesBecomeDevicePaths) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"COM7", "\\\\.\\COM7"},
        {"com12", "\\\\.\\com12"},
        {"\\\\.\\COM256", "\\\\.\\COM256"},
        {"COM1:", "\\\\.\\COM1"},
        {"CNCA0", "\\\\.\\CNCA0"},  // a port with a name of its own
        // Names that would reach a file or a folder are not ports.
        {"", ""},
        {"\\\\.\\", ""},
        {"C:\\Windows\\win.ini", ""},
        {"..\\COM1", ""},
        {"COM1\\x", ""},
        {"COM1/x", ""},
        {"\\\\?\\COM1", ""},
        {"\\\\.\\C:", ""},
        {"COM\n1", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(comDevicePath(c.name), c.path) << c.name;
}

TEST(WinSerialNamesTest, PortsAreCountedAsPeopleCount) {
    std::vector<std::string> names = {"COM10", "COM2", "com3", "COM1", "COM256", "CNCA0", "COM02"};
    std::sort(names.begin(), names.end(), comPortLess);
    EXPECT_EQ(names, (std::vector<std::string>{"CNCA0", "COM1", "COM02", "COM2", "com3", "COM10",
                                               "COM256"}));
}

TEST(WinSerialNamesTest, FriendlyNamesLeaveOutThePortTheyRepeat) {
    EXPECT_EQ(withoutPortName("USB Serial Port (COM3)", "COM3"), "USB Serial Port");
    EXPECT_EQ(withoutPortName("Prolific USB-to-Serial Comm Port (com3)", "COM3"),
              "Prolific USB-to-Serial Comm Port");
    EXPECT_EQ(withoutPortName("Porta (COM30)", "COM3"), "Porta (COM30)");
    EXPECT_EQ(withoutPortName("(COM3)", "COM3"), "(COM3)");
    EXPECT_EQ(withoutPortName("", "COM3"), "");
}

// The user reads why in the program's words, whatever error Windows gives for it.
TEST(WinSerialReasonsTest, ErrorCodesGiveTheUsersReasons) {
    const struct {
        DWORD error;
        std::string reason;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, portReason::kNotThere},
        {ERROR_PATH_NOT_FOUND, portReason::kNotThere},
        {ERROR_INVALID_NAME, portReason::kNotThere},
        {ERROR_DEVICE_NOT_CONNECTED, portReason::kNotThere},
        {ERROR_FILENAME_EXCED_RANGE, portReason::kNameTooLong},
        {ERROR_ACCESS_DENIED, portReason::kInUse},
        {ERROR_SHARING_VIOLATION, portReason::kInUse},
        {ERROR_BUSY, portReason::kInUse},
    };
    for (const auto& c : cases) EXPECT_EQ(comOpenFailureText(c.error), c.reason) << c.error;
    EXPECT_EQ(comOpenFailureText(ERROR_PRIVILEGE_NOT_HELD).rfind("permesso negato: ", 0), 0u);
    // Any other error in the system's own words, which name it.
    const std::string other = comOpenFailureText(ERROR_INVALID_PARAMETER);
    EXPECT_EQ(other, windowsErrorText(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(other.empty());
    EXPECT_NE(other.back(), '.');
    EXPECT_NE(other.back(), '\n');
}

// What a line received, gathered from its reader's thread.
class Inbox {
public:
    void add(const std::string& bytes) {
        const std::lock_guard lock(m_mutex);
        m_bytes += bytes;
        m_changed.notify_all();
    }
    void lose() {
        const std::lock_guard lock(m_mutex);
        ++m_losses;
        m_changed.notify_all();
    }
    // Waits until `count` bytes have come, or a few seconds; returns what came.
    std::string waitFor(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 5s, [&] { return m_bytes.size() >= count; });
        return m_bytes;
    }
    bool waitForLoss() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 5s, [&] { return m_losses > 0; });
    }
    std::string bytes() {
        const std::lock_guard lock(m_mutex);
        return m_bytes;
    }
    int losses() {
        const std::lock_guard lock(m_mutex);
        return m_losses;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_bytes;
    int m_losses = 0;
};

struct Line {
    Inbox inbox;
    WinSerialLine line{[this](const std::string& bytes) { inbox.add(bytes); },
                       [this] { inbox.lose(); }};

    std::string open(const std::string& name) {
        std::string why;
        return line.open(name, PortSettings{}, why) ? std::string("opened") : why;
    }
    void send(const std::string& bytes) {
        for (const char c : bytes) {
            std::string why;
            ASSERT_TRUE(line.write(static_cast<std::uint8_t>(c), why)) << why;
            // As the sender paces the bytes to the sign.
            std::this_thread::sleep_for(2ms);
        }
    }
};

bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(WinSerialLineTest, PortsThatAreNotThereSayWhy) {
    Line port;
    EXPECT_EQ(port.open("COM250"), portReason::kNotThere);
    EXPECT_EQ(port.open("\\\\.\\VeloraNoSuchPort"), portReason::kNotThere);
    EXPECT_EQ(port.open("C:\\Windows\\win.ini"), portReason::kNotThere);
    EXPECT_EQ(port.open(""), portReason::kNoneChosen);
    // However long, the name reaches no port.
    for (std::size_t length : {300u, 40000u})
        EXPECT_EQ(port.open(std::string(length, 'C')).rfind("la porta non c'\u00E8: ", 0), 0u)
            << length;
    EXPECT_FALSE(port.line.isOpen());
    std::string why;
    EXPECT_FALSE(port.line.write(0x41, why));
    EXPECT_FALSE(why.empty());
}

// The ports scripts/test-windows.sh maps to a pair of pseudo-terminals joined as a null modem.
class WinSerialPairTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* pair = std::getenv("VELORA_TEST_COM_PAIR");
        if (!pair)
            GTEST_SKIP() << "VELORA_TEST_COM_PAIR is not set: scripts/test-windows.sh "
                            "maps two COM ports to a pair of pseudo-terminals";
        const std::string names = pair;
        m_here = names.substr(0, names.find(','));
        m_there = names.substr(names.find(',') + 1);
    }

    std::string m_here;
    std::string m_there;
};

TEST_F(WinSerialPairTest, EveryByteCrossesBothWays) {
    Line here;
    Line there;
    ASSERT_EQ(here.open(m_here), "opened");
    ASSERT_EQ(there.open("\\\\.\\" + m_there), "opened");
    // The bytes a terminal would take for itself (NUL, the line ends, XON and XOFF) and all the
    // others.
    std::string every = {'\0', '\r', '\n', '\x11', '\x13', '\xFF'};
    for (int c = 0; c < 256; ++c) every += static_cast<char>(c);
    here.send(every);
    EXPECT_EQ(there.inbox.waitFor(every.size()), every);
    const std::string reply = {'\xC8', '\0', '\x13', '\x11', '\r', '\n', '\xFF'};
    there.send(reply);
    EXPECT_EQ(here.inbox.waitFor(reply.size()), reply);
    EXPECT_EQ(here.inbox.losses() + there.inbox.losses(), 0);
}

TEST_F(WinSerialPairTest, BytesLeftFromBeforeAreGoneWhenThePortOpens) {
    Line here;
    Line there;
    ASSERT_EQ(there.open(m_there), "opened");
    there.send("old");
    // Wait until the pair has passed them on to the closed end.
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(here.open(m_here), "opened");
    there.send("new");
    EXPECT_EQ(here.inbox.waitFor(3), "new");
}

TEST_F(WinSerialPairTest, ClosingWhileTheReaderWaitsIsPrompt) {
    Line here;
    ASSERT_EQ(here.open(m_here), "opened");
    std::this_thread::sleep_for(50ms);
    const auto start = std::chrono::steady_clock::now();
    here.line.close();
    // A reader that waited for its read to end by itself would hold close() for as long as the
    // port stays quiet, which may be for ever.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(here.line.isOpen());
    EXPECT_EQ(here.inbox.losses(), 0);
    // It opens again as it was.
    EXPECT_EQ(here.open(m_here), "opened");
}

TEST_F(WinSerialPairTest, APortOpenElsewhereIsInUse) {
    if (underWine()) GTEST_SKIP() << "Wine opens a COM port a second time as if it were free";
    Line first;
    Line second;
    ASSERT_EQ(first.open(m_here), "opened");
    EXPECT_EQ(second.open(m_here), portReason::kInUse);
}

TEST_F(WinSerialPairTest, PortsAreListed) {
    const std::vector<PortInfo> ports = listComPorts();
    for (const std::string& name : {m_here, m_there})
        EXPECT_TRUE(std::any_of(ports.begin(), ports.end(), [&](const PortInfo& port) {
            return port.name == name;
        })) << name;
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
        return comPortLess(a.name, b.name);
    }));
}

// The line scripts/test-windows.sh maps to a pseudo-terminal whose far end hangs up at the first
// byte it receives.
TEST(WinSerialHangUpTest, TheFarEndHangingUpLosesTheLine) {
    const char* ports = std::getenv("VELORA_TEST_COM_HANGUP");
    if (!ports)
        GTEST_SKIP() << "VELORA_TEST_COM_HANGUP is not set: scripts/test-windows.sh maps a "
                        "COM port to a pseudo-terminal that hangs up";
    // The first of the lines, which hang up once each.
    const std::string port = std::string(ports).substr(0, std::string(ports).find(','));
    Line line;
    ASSERT_EQ(line.open(port), "opened");
    line.send("x");
    EXPECT_TRUE(line.inbox.waitForLoss());
    line.line.close();
    EXPECT_EQ(line.inbox.losses(), 1);
}

}  // namespace
}  // namespace velora
