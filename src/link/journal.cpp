#include "journal.h"

#include <cmath>
#include <cstdio>

#include "protocol/page_record.h"
#include "sign/sign_text.h"

namespace velora {

void Journal::notePage(int number, std::span<const std::uint8_t> bytes) {
    const std::optional<DecodedRecord> record = decodePageRecord(bytes);
    if (!record) {
        note("pagina " + std::to_string(number) + ": record non leggibile dall'insegna");
        return;
    }
    const SignPage& page = record->page;
    note("pagina " + std::to_string(number) + ": tipo " + std::to_string(page.kind) + ", pausa " +
         std::to_string(page.pause) + " s. " + describeSignPage(page, m_clock.now()));
}

std::string Journal::text() const {
    std::string all;
    for (const std::string& line : m_lines) {
        all += line;
        all += '\n';
    }
    return all;
}

// The wall clock gives whole seconds; the monotonic clock gives the milliseconds after the first
// line, so that the times of one session never go back.
std::string Journal::stamp() {
    const double monotonic = m_clock.monotonicSeconds();
    if (!m_anchored) {
        const DateTime now = m_clock.now();
        m_anchorSecondOfDay = now.hour * 3600.0 + now.minute * 60.0 + now.second;
        m_anchorMonotonic = monotonic;
        m_anchored = true;
    }
    const auto ms = static_cast<long long>(
        std::llround((m_anchorSecondOfDay + (monotonic - m_anchorMonotonic)) * 1000.0));
    const long long ofDay = ((ms % 86400000) + 86400000) % 86400000;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", ofDay / 3600000,
                  ofDay / 60000 % 60, ofDay / 1000 % 60, ofDay % 1000);
    return text;
}

void Journal::add(const std::string& entry) {
    const std::string line = stamp() + ' ' + entry;
    m_lines.push_back(line);
    while (m_lines.size() > kLinesKept) m_lines.pop_front();
    if (onLine) onLine(line);
}

}  // namespace velora
