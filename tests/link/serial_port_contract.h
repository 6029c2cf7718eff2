#pragma once

#include <gtest/gtest.h>

#include "core/run_time_error.h"
#include "link/serial_port.h"
#include "protocol/sign_messages.h"

namespace velora::testing {

// What the transmission window relies on from every serial port, whatever stands behind it: the
// fake of the model tests, the virtual sign inside the program, the system's port. Each runs this
// one suite through a harness, so that no fake can drift from the real thing. The far end is a
// virtual sign in every harness: it answers the connect request with 200.
//
// A harness has: SerialPort& port(); std::string name() (a port that opens); bool chooseMissing()
// (sets up a port that cannot open, false where there is none); bool waitForInput(int count).
template <typename Harness>
class SerialPortContract : public ::testing::Test {
protected:
    Harness h;

    void openIt() {
        h.port().setCommPort(h.name());
        h.port().setSettings("9600,N,8,1");
        h.port().setInputLen(0);
        h.port().setPortOpen(true);
    }
    void expectError(int code, const std::function<void()>& action) {
        try {
            action();
            ADD_FAILURE() << "no run-time error " << code;
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.code(), code);
        }
    }
};

TYPED_TEST_SUITE_P(SerialPortContract);

TYPED_TEST_P(SerialPortContract, OpensClosesAndRefusesWritesWhenClosed) {
    SerialPort& port = this->h.port();
    EXPECT_FALSE(port.portOpen());
    this->expectError(kPortNotOpen, [&] { port.output(kConnectRequest); });
    this->openIt();
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(port.commPort(), this->h.name());
    port.setPortOpen(true);  // opening an open port changes nothing
    EXPECT_TRUE(port.portOpen());
    port.setPortOpen(false);
    port.setPortOpen(false);
    EXPECT_FALSE(port.portOpen());
    this->expectError(kPortNotOpen, [&] { port.output(kConnectRequest); });
}

TYPED_TEST_P(SerialPortContract, RepliesAreReadAsManyAsInputLenSays) {
    SerialPort& port = this->h.port();
    this->openIt();
    EXPECT_EQ(port.inBufferCount(), 0);
    for (int i = 0; i < 3; ++i) port.output(kConnectRequest);
    ASSERT_TRUE(this->h.waitForInput(3));
    EXPECT_EQ(port.inBufferCount(), 3);
    port.setInputLen(1);
    EXPECT_EQ(port.input(), std::string(1, static_cast<char>(kConnectAck)));
    EXPECT_EQ(port.inBufferCount(), 2);
    port.setInputLen(0);
    EXPECT_EQ(port.input(), std::string(2, static_cast<char>(kConnectAck)));
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_EQ(port.input(), "");
}

TYPED_TEST_P(SerialPortContract, RepliesWaitingAtCloseAreGoneAfterReopening) {
    SerialPort& port = this->h.port();
    this->openIt();
    port.output(kConnectRequest);
    port.output(kConnectRequest);
    ASSERT_TRUE(this->h.waitForInput(2));
    port.setPortOpen(false);
    EXPECT_EQ(port.inBufferCount(), 0);
    port.setPortOpen(true);
    EXPECT_FALSE(this->h.waitForInput(1));
    EXPECT_EQ(port.inBufferCount(), 0);
}

TYPED_TEST_P(SerialPortContract, BadSettingsAreRefused) {
    SerialPort& port = this->h.port();
    for (const char* settings : {"9600,N,8,1", "19200,e,7,2", "1200,O,8,1"})
        EXPECT_NO_THROW(port.setSettings(settings)) << settings;
    for (const char* settings : {"", "9600", "9600,N,8", "9600,X,8,1", "9600,N,9,1", "9600,N,8,3",
                                 "0,N,8,1", "9600,N,8,1,", "fast,N,8,1"})
        this->expectError(kInvalidPropertyValue, [&] { port.setSettings(settings); });
}

TYPED_TEST_P(SerialPortContract, PortThatCannotOpenSaysWhy) {
    SerialPort& port = this->h.port();
    if (!this->h.chooseMissing()) GTEST_SKIP() << "every name opens this port";
    port.setSettings("9600,N,8,1");
    this->expectError(kPortOpenFailed, [&] { port.setPortOpen(true); });
    EXPECT_FALSE(port.portOpen());
    EXPECT_FALSE(port.errorText().empty());
}

REGISTER_TYPED_TEST_SUITE_P(SerialPortContract, OpensClosesAndRefusesWritesWhenClosed,
                            RepliesAreReadAsManyAsInputLenSays,
                            RepliesWaitingAtCloseAreGoneAfterReopening, BadSettingsAreRefused,
                            PortThatCannotOpenSaysWhy);

}  // namespace velora::testing
