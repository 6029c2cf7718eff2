#include "qt_clock.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include "platform/precise_wait.h"
#include "qt_text.h"

namespace velora {

QtClock::QtClock(std::function<void()> repaint) : m_repaint(std::move(repaint)) {}

std::string QtClock::longDate(const DateTime& date) const {
    // The program's language, not the desktop's: the clock reads as the rest of the window.
    return fromQt(QLocale().toString(QDate(date.year, date.month, date.day), QLocale::LongFormat));
}

void QtClock::wait(double seconds) {
    waitProcessing(seconds, QEventLoop::ExcludeUserInputEvents, [] { return false; });
}

bool QtClock::waitUnless(double seconds, const std::function<bool()>& stop) {
    return waitProcessing(seconds, QEventLoop::AllEvents, stop);
}

bool QtClock::waitProcessing(double seconds, QEventLoop::ProcessEventsFlags flags,
                             const std::function<bool()>& stop) {
    constexpr double kFrame = 0.02;
    // What a repainting wait shows reaches the screen a little after the step began, by an amount
    // that varies from step to step by up to a tenth of a millisecond; ending these waits a
    // little late keeps every step on the screen at least as long as asked.
    constexpr double kDisplayGuard = 0.0005;
    const double end = monotonicSeconds() + seconds + (seconds > kFrame ? kDisplayGuard : 0);
    while (end - monotonicSeconds() > kFrame) {
        if (m_repaint) m_repaint();
        QCoreApplication::processEvents(flags);
        if (stop()) return false;
        const double left = end - monotonicSeconds();
        preciseWait(std::min(left - kFrame / 2, kFrame / 2));
    }
    preciseWait(end - monotonicSeconds());
    return !stop();
}

}  // namespace velora
