#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/clock.h"

namespace velora::testing {

// A clock that stands still until the test moves it. Waits move it by their length and are
// recorded; `autoAdvance` moves it on every monotonic reading.
class FakeClock : public Clock {
public:
    DateTime date{2026, 12, 5, 9, 1, 0};  // test control: the local date and time
    mutable double seconds = 1000.0;      // test control: the monotonic reading
    double autoAdvance = 0.0;             // test control: added after every monotonic reading
    std::vector<double> waits;            // every wait asked for, in seconds
    std::function<void(double)> onWait;   // test control: called at the start of every wait

    DateTime now() const override { return date; }
    double monotonicSeconds() const override {
        const double reading = seconds;
        seconds += autoAdvance;
        return reading;
    }
    void wait(double length) override {
        waits.push_back(length);
        if (onWait) onWait(length);
        if (length > 0) seconds += length;
    }
    std::string longDate(const DateTime& d) const override {
        return std::to_string(d.day) + " " + std::to_string(d.month) + " " + std::to_string(d.year);
    }
};

}  // namespace velora::testing
