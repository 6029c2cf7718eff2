#include "system_clock.h"

#include <chrono>
#include <ctime>

#include "precise_wait.h"

namespace velora {

DateTime SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

double SystemClock::monotonicSeconds() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::wait(double seconds) {
    preciseWait(seconds);
}

std::string SystemClock::longDate(const DateTime& date) const {
    std::tm tm{};
    tm.tm_year = date.year - 1900;
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    tm.tm_hour = 12;
    std::mktime(&tm);  // fills in the weekday
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%A %d %B %Y", &tm);
    return std::string(text, length);
}

}  // namespace velora
