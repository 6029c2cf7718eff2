#pragma once

#include "core/clock.h"

namespace velora {

// The computer's clock through the standard library: local time, a steady clock for waits.
class SystemClock : public Clock {
public:
    DateTime now() const override;
    double monotonicSeconds() const override;
    void wait(double seconds) override;
    // Day, month name and year in the C library's current locale.
    std::string longDate(const DateTime& date) const override;
};

}  // namespace velora
