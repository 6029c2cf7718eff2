#include <gtest/gtest.h>

#include "link/port_finder.h"

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

}  // namespace
}  // namespace velora
