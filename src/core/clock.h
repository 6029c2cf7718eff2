#pragma once

#include <functional>
#include <string>

namespace velora {

// A local calendar date and time of day (24-hour clock).
struct DateTime {
    int year = 2000;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
};

// The computer's clock. The model never reads the system clock or sleeps by itself.
class Clock {
public:
    virtual ~Clock() = default;

    // The current local date and time.
    virtual DateTime now() const = 0;

    // Seconds on a monotonic clock, with fractions. Only differences are meaningful; it never
    // jumps back, so a wait that spans midnight ends on time.
    virtual double monotonicSeconds() const = 0;

    // Holds the caller for at least `seconds`, measured on the monotonic clock. A window shell
    // may keep its windows painted meanwhile, but must not deliver the user's input.
    virtual void wait(double seconds) = 0;

    // A wait that the user can cut short: it ends as soon as `stop` answers true. A window shell
    // delivers the user's input meanwhile, so that the input that asks for the stop can arrive;
    // the caller's windows decide what becomes of the rest. False when it ended early.
    virtual bool waitUnless(double seconds, const std::function<bool()>& stop) {
        if (stop()) return false;
        wait(seconds);
        return !stop();
    }

    // The date in the long date format of the system's locale.
    virtual std::string longDate(const DateTime& date) const = 0;
};

}  // namespace velora
