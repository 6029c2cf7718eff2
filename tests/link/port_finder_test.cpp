#include "link/port_finder.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

// The list follows the system's: ports come with what the system says of them, and a port that
// went away stays, marked as gone, until it comes back.
TEST(PortFinderTest, FollowsPortsComingAndGoing) {
    std::vector<PortInfo> system = {{"ttyS0", "", "", ""}};
    PortFinder finder([&] { return system; });
    EXPECT_TRUE(finder.refresh());
    EXPECT_FALSE(finder.refresh());
    ASSERT_EQ(finder.entries().size(), 1u);
    EXPECT_EQ(finder.entries()[0].label, "ttyS0");

    system.push_back({"ttyUSB0", "FT232R USB UART", "FTDI",
                      "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"});
    EXPECT_TRUE(finder.refresh());
    EXPECT_EQ(finder.entries()[1].label,
              "ttyUSB0 \u2013 FTDI FT232R USB UART "
              "(/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0)");

    system.erase(system.begin() + 1);
    EXPECT_TRUE(finder.refresh());
    ASSERT_EQ(finder.entries().size(), 2u);
    EXPECT_FALSE(finder.entries()[1].present);
    EXPECT_EQ(finder.entries()[1].label, "ttyUSB0 (scollegata)");

    system.push_back({"ttyUSB0", "USB-Serial Controller", "Prolific", ""});
    EXPECT_TRUE(finder.refresh());
    EXPECT_TRUE(finder.entries()[1].present);
    EXPECT_EQ(finder.entries()[1].label, "ttyUSB0 \u2013 Prolific USB-Serial Controller");
}

TEST(PortFinderTest, LabelDoesNotRepeatTheMaker) {
    EXPECT_EQ(PortFinder::labelFor({"ttyACM0", "Arduino Uno", "Arduino", ""}),
              "ttyACM0 \u2013 Arduino Uno");
    EXPECT_EQ(PortFinder::labelFor({"COM3", "", "FTDI", ""}), "COM3 \u2013 FTDI");
}

// The network addresses that opened are offered after the serial ports, marked as network ports,
// and never marked as gone with the serial ports.
TEST(PortFinderTest, OffersNetworkAddressesAfterTheSerialPorts) {
    std::vector<PortInfo> system = {{"ttyUSB0", "", "", ""}};
    PortFinder finder([&] { return system; });
    finder.refresh();
    finder.setNetworkPorts({"rfc2217://[::1]:2001", "/dev/ttyS1", "socket://insegna:2000",
                            "rfc2217://[::1]:2001", "COM3"});
    EXPECT_TRUE(finder.refresh());
    const std::vector<PortFinder::Entry> expected = {
        {"ttyUSB0", "ttyUSB0", true, false},
        {"rfc2217://[::1]:2001", "rfc2217://[::1]:2001 (rete)", true, true},
        {"socket://insegna:2000", "socket://insegna:2000 (rete)", true, true}};
    EXPECT_EQ(finder.entries(), expected);
    system.clear();
    EXPECT_TRUE(finder.refresh());
    ASSERT_EQ(finder.entries().size(), 3u);
    EXPECT_EQ(finder.entries()[0].label, "ttyUSB0 (scollegata)");
    EXPECT_TRUE(finder.entries()[1].present);
    EXPECT_TRUE(finder.entries()[2].present);
}

// The addresses kept: the last one that opened first, each once, a handful at most; serial port
// names and the virtual sign are not kept.
TEST(PortFinderTest, RemembersNetworkAddressesMostRecentFirst) {
    using List = std::vector<std::string>;
    const struct {
        List used;
        std::string opened;
        List kept;
    } cases[] = {
        {{}, "socket://10.0.0.5:2000", {"socket://10.0.0.5:2000"}},
        {{"socket://a:1"}, "rfc2217://b:2", {"rfc2217://b:2", "socket://a:1"}},
        {{"socket://a:1", "socket://b:2", "socket://c:3"},
         "socket://c:3",
         {"socket://c:3", "socket://a:1", "socket://b:2"}},
        {{"socket://a:1"}, "/dev/ttyUSB0", {"socket://a:1"}},
        {{"socket://a:1"}, "Insegna virtuale", {"socket://a:1"}},
        {{"socket://a:1", "socket://b:2", "socket://c:3", "socket://d:4", "socket://e:5"},
         "socket://f:6",
         {"socket://f:6", "socket://a:1", "socket://b:2", "socket://c:3", "socket://d:4"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortFinder::rememberNetworkPort(c.used, c.opened), c.kept) << c.opened;

    PortFinder finder({});
    finder.setNetworkPorts(List(9, "socket://a:1"));
    EXPECT_EQ(finder.networkPorts(), List{"socket://a:1"});
    List many;
    for (int i = 0; i < 9; ++i) many.push_back("socket://h:" + std::to_string(i + 1));
    finder.setNetworkPorts(many);
    EXPECT_EQ(finder.networkPorts().size(), PortFinder::kNetworkPortsKept);
}

}  // namespace
}  // namespace velora
