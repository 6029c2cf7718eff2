#pragma once

#include <functional>

#include "core/clock.h"

namespace velora {

// The clock of the transmission window. Its waits run `pump` (which draws the progress and keeps
// the windows painted) every `interval` seconds, and only then wait what is left of the gap: the
// byte already left before the wait began, so the gap on the line is never shorter.
class PumpingClock : public Clock {
public:
    explicit PumpingClock(Clock& base, double interval = 0.05)
        : m_base(base), m_interval(interval) {}

    std::function<void()> pump;

    DateTime now() const override { return m_base.now(); }
    double monotonicSeconds() const override { return m_base.monotonicSeconds(); }
    std::string longDate(const DateTime& date) const override { return m_base.longDate(date); }

    void wait(double seconds) override {
        const double start = m_base.monotonicSeconds();
        if (pump && start - m_lastPump >= m_interval) {
            m_lastPump = start;
            pump();
        }
        const double left = seconds - (m_base.monotonicSeconds() - start);
        if (left > 0) m_base.wait(left);
    }

private:
    Clock& m_base;
    double m_interval;
    double m_lastPump = -1e9;
};

}  // namespace velora
