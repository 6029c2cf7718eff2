#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/run_time_error.h"
#include "fakes/fake_clock.h"
#include "link/serial_port.h"

namespace velora::testing {

// A serial port in memory. Bytes written are recorded with the number of clock waits that came
// before each, so tests see the pacing; replies are queued by the test, or answered by `peer`.
// Like a real port it refuses bad settings and forgets waiting replies when it closes.
class FakeSerialPort : public SerialPort {
public:
    explicit FakeSerialPort(const FakeClock* clock = nullptr) : m_clock(clock) {}

    struct Sent {
        std::uint8_t byte;
        std::size_t waitsBefore;  // clock waits recorded before this byte left
    };

    // Test controls.
    bool openFails = false;
    int failAfterBytes = -1;  // the write after this many bytes fails; -1 never
    std::deque<std::uint8_t> incoming;
    // The far end: answers each byte written, such as a VirtualSign's receive.
    std::function<std::vector<std::uint8_t>(std::uint8_t)> peer;

    // Results.
    std::vector<Sent> sent;
    std::vector<std::string> calls;  // the members set, in order
    int inputLen = -1;
    int rThreshold = -1;
    std::string settings;

    std::vector<std::uint8_t> sentBytes() const {
        std::vector<std::uint8_t> bytes;
        for (const Sent& s : sent) bytes.push_back(s.byte);
        return bytes;
    }

    void setCommPort(const std::string& name) override {
        calls.push_back("CommPort=" + name);
        m_name = name;
    }
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& s) override {
        calls.push_back("Settings=" + s);
        if (!parsePortSettings(s)) throw RunTimeError(kInvalidPropertyValue);
        settings = s;
    }
    void setInputLen(int length) override {
        calls.push_back("InputLen=" + std::to_string(length));
        inputLen = length;
    }
    void setPortOpen(bool open) override {
        calls.push_back(open ? "PortOpen=True" : "PortOpen=False");
        if (open && openFails) throw RunTimeError(kPortOpenFailed);
        if (open != m_open) incoming.clear();
        m_open = open;
    }
    bool portOpen() const override { return m_open; }
    void output(std::uint8_t byte) override {
        if (!m_open) throw RunTimeError(kPortNotOpen);
        if (failAfterBytes >= 0 && static_cast<int>(sent.size()) >= failAfterBytes)
            throw RunTimeError(kPortWriteFailed);
        sent.push_back({byte, m_clock ? m_clock->waits.size() : 0});
        if (peer)
            for (std::uint8_t reply : peer(byte)) incoming.push_back(reply);
    }
    int inBufferCount() const override { return static_cast<int>(incoming.size()); }
    std::string input() override {
        std::string read;
        while (!incoming.empty() && (inputLen == 0 || static_cast<int>(read.size()) < inputLen)) {
            read.push_back(static_cast<char>(incoming.front()));
            incoming.pop_front();
        }
        return read;
    }
    void setRThreshold(int threshold) override {
        calls.push_back("RThreshold=" + std::to_string(threshold));
        rThreshold = threshold;
    }
    std::string errorText() const override {
        return !errorTextOverride.empty() ? errorTextOverride : openFails ? "Device busy" : "";
    }
    std::string errorTextOverride;  // test control: the reason a lost line gives

private:
    const FakeClock* m_clock;
    std::string m_name;
    bool m_open = false;
};

}  // namespace velora::testing
