#include "modulo1.h"

#include <cstdio>

namespace velora {

std::string InfoSampleText(const DateTime& at) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d +20\xB0", at.day % 100, at.month % 100,
                  at.hour % 100, at.minute % 100);
    return text;
}

std::string InfoSampleText(const Clock& clock) {
    return InfoSampleText(clock.now());
}

}  // namespace velora
