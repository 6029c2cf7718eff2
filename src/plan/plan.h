#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/clock.h"

namespace velora {

// The plan ("Programma"): which sequence file the sign should show at which local time. It is a
// text file, one entry per line, `#` starting a comment:
//
//   predefinito             normale.inf
//   lun-ven 08:30-13:00     mattina.inf
//   sab,dom 09:00-12:30     festivo.inf
//   22:00-06:00             notte.inf
//   2026-12-24 18:00 - 2026-12-24 23:59   vigilia.inf
//
// Times are the wall-clock times the computer's clock shows; a window's end is excluded. A
// weekly window whose end comes before its start crosses midnight and belongs to the day it
// starts on. The plan never converts to or from a time zone: on the day the clocks go forward
// the skipped hour never shows on the clock, so a window that lies wholly inside it is never
// due that day; on the day they go back the repeated hour is lived twice, and a window in it is
// due both times.

// Days of the week as bits, Monday (lun) first.
using WeekdaySet = std::uint8_t;
inline constexpr WeekdaySet kEveryDay = 0x7F;

// Minutes since midnight, 0 to 1440 (1440, written 24:00, only as an end).
using DayMinute = int;

struct WeeklyEntry {
    WeekdaySet days = kEveryDay;
    DayMinute from = 0;
    DayMinute to = 0;
    std::string file;  // as written in the plan
    int line = 0;
};

// A date-time to the minute; seconds are not part of a plan.
struct DatedEntry {
    DateTime from;
    DateTime to;
    std::string file;
    int line = 0;
};

struct Plan {
    std::optional<std::string> defaultFile;  // predefinito
    int defaultLine = 0;
    std::vector<WeeklyEntry> weekly;  // in the plan's order: the first that covers a moment wins
    std::vector<DatedEntry> dated;

    // `file` of an entry joined to the plan's folder, unless it is absolute.
    std::string folder;
};

// Why a plan was refused: the line (from 1) and what is wrong with it, in the words shown to the
// user.
struct PlanError {
    int line = 0;
    std::string message;

    std::string text() const;  // "Riga 3: ..."
};

// Reads a plan's text. A plan with an error is refused whole: the first error is returned.
// `folder` is the folder of the plan's file, which its file names are relative to.
std::variant<Plan, PlanError> parsePlan(std::string_view text, const std::string& folder);

enum class DueSource { Dated, Weekly, Default };

struct Due {
    std::string file;  // the path to send, relative names joined to the plan's folder
    DueSource source = DueSource::Default;
    int line = 0;  // the plan line that made it due

    bool operator==(const Due&) const = default;
};

// What is due at `moment` (a local wall-clock time): a dated entry that covers it (the first of
// them in the plan), else the first weekly entry that covers it, else predefinito, else nothing.
std::optional<Due> dueAt(const Plan& plan, const DateTime& moment);
std::optional<Due> dueNow(const Plan& plan, const Clock& clock);

struct Change {
    DateTime at;              // the first minute at which the new entry is due
    std::optional<Due> next;  // nothing: from then on nothing is due
};

// The next moment after `moment` at which a different file (or none) becomes due. Nothing when
// what is due now stays due for good.
std::optional<Change> nextChange(const Plan& plan, const DateTime& moment);

// 0 for Monday to 6 for Sunday.
int weekdayOf(int year, int month, int day);

// A moment as the plan and `--now` write it, "AAAA-MM-GG HH:MM"; nothing when it is not one.
std::optional<DateTime> parseMoment(std::string_view text);
// "2026-12-24 18:00"; seconds are left out.
std::string momentText(const DateTime& moment);
// "08:30"; 1440 is "24:00".
std::string minuteText(DayMinute minute);
// The days as a plan writes them, ranges where three or more follow each other ("lun-ven",
// "sab,dom", "lun,mer-ven"); empty for every day.
std::string daysText(WeekdaySet days);
// `moment` moved on by `minutes` of the wall clock; seconds drop out.
DateTime minutesAfter(const DateTime& moment, long long minutes);

}  // namespace velora
