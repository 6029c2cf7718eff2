#pragma once

#include <functional>

#include <QEventLoop>

#include "platform/system_clock.h"

namespace velora {

// The system clock with the locale's long date, and waits that keep the windows painted.
class QtClock : public SystemClock {
public:
    // `repaint` draws the windows' latest state; it is called during long waits.
    explicit QtClock(std::function<void()> repaint = {});

    std::string longDate(const DateTime& date) const override;
    // Waits of 20 ms and more repaint the windows as they go, without delivering user input,
    // which waits for the handler to end; shorter waits only wait.
    void wait(double seconds) override;
    // Delivers the user's input as well, and ends as soon as `stop` answers true.
    bool waitUnless(double seconds, const std::function<bool()>& stop) override;

private:
    bool waitProcessing(double seconds, QEventLoop::ProcessEventsFlags flags,
                        const std::function<bool()>& stop);

    std::function<void()> m_repaint;
};

}  // namespace velora
