#include "plan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace velora {
namespace {

constexpr int kMinutesPerDay = 1440;
constexpr std::array<std::string_view, 7> kDayNames{"lun", "mar", "mer", "gio",
                                                    "ven", "sab", "dom"};
constexpr const char* kEntryForms =
    "si scrive «predefinito FILE», «[giorni] HH:MM-HH:MM FILE» oppure "
    "«AAAA-MM-GG HH:MM - AAAA-MM-GG HH:MM FILE»";

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
long long daysFromCivil(int year, int month, int day) {
    const long long y = year - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

DateTime civilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    DateTime date;
    date.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// A moment as minutes since 1970-01-01 00:00 of the wall clock; seconds drop out.
long long minuteOf(const DateTime& t) {
    return daysFromCivil(t.year, t.month, t.day) * kMinutesPerDay + t.hour * 60 + t.minute;
}

DateTime dateTimeOf(long long minute) {
    const long long day = floorDiv(minute, kMinutesPerDay);
    DateTime t = civilFromDays(day);
    const long long inDay = minute - day * kMinutesPerDay;
    t.hour = static_cast<int>(inDay / 60);
    t.minute = static_cast<int>(inDay % 60);
    return t;
}

int weekdayOfDay(long long day) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((day + 3) % 7 + 7) % 7);
}

bool hasDay(WeekdaySet days, int weekday) {
    return (days >> weekday) & 1;
}

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits off the next blank-separated word of `rest`.
std::string_view nextWord(std::string_view& rest) {
    rest = trimmed(rest);
    std::size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

bool startsWithDigit(std::string_view text) {
    return !text.empty() && std::isdigit(static_cast<unsigned char>(text.front())) != 0;
}

int number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

std::string quoted(std::string_view text) {
    return "«" + std::string(text) + "»";
}

struct LineError {
    std::string message;
};

// "HH:MM", the hour in one or two digits; 24:00 only where `endOfDay` allows it.
std::optional<DayMinute> parseTime(std::string_view text, bool endOfDay) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view hours = text.substr(0, colon);
    const std::string_view minutes = text.substr(colon + 1);
    if (!allDigits(hours) || hours.size() > 2 || !allDigits(minutes) || minutes.size() != 2) {
        return std::nullopt;
    }
    const int h = number(hours);
    const int m = number(minutes);
    if (m > 59) return std::nullopt;
    if (h < 24) return h * 60 + m;
    if (endOfDay && h == 24 && m == 0) return kMinutesPerDay;
    return std::nullopt;
}

std::optional<int> dayIndex(std::string_view name) {
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        if (kDayNames[i] == name) return static_cast<int>(i);
    }
    return std::nullopt;
}

// "lun-ven", "sab,dom", "lun,mer-ven"; a range may wrap over Sunday ("ven-lun").
WeekdaySet parseDays(std::string_view text) {
    WeekdaySet days = 0;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (item.empty()) {
            throw LineError{"manca un giorno nell'elenco dei giorni"};
        }
        const std::size_t dash = item.find('-');
        const std::string_view firstName = item.substr(0, dash);
        const std::string_view lastName =
            dash == std::string_view::npos ? firstName : item.substr(dash + 1);
        const auto first = dayIndex(firstName);
        const auto last = dayIndex(lastName);
        if (!first || !last) {
            throw LineError{"giorno sconosciuto " + quoted(!first ? firstName : lastName) +
                            " (i giorni sono lun mar mer gio ven sab dom)"};
        }
        for (int day = *first;; day = (day + 1) % 7) {
            days = static_cast<WeekdaySet>(days | (1 << day));
            if (day == *last) break;
        }
    }
    return days;
}

bool isDayList(std::string_view text) {
    try {
        parseDays(text);
        return true;
    } catch (const LineError&) {
        return false;
    }
}

std::optional<DateTime> parseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const std::string_view year = text.substr(0, 4);
    const std::string_view month = text.substr(5, 2);
    const std::string_view day = text.substr(8, 2);
    if (!allDigits(year) || !allDigits(month) || !allDigits(day)) return std::nullopt;
    DateTime date;
    date.year = number(year);
    date.month = number(month);
    date.day = number(day);
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > daysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    return date;
}

bool looksLikeDate(std::string_view word) {
    return word.size() >= 5 && allDigits(word.substr(0, 4)) && word[4] == '-';
}

std::string fileOf(std::string_view rest) {
    const std::string_view file = trimmed(rest);
    if (file.empty()) throw LineError{"manca il nome del file"};
    return std::string(file);
}

DateTime parseDatedMoment(std::string_view dateWord, std::string_view timeWord) {
    const auto date = parseDate(dateWord);
    if (!date) throw LineError{"data non valida " + quoted(dateWord) + " (si scrive AAAA-MM-GG)"};
    const auto time = parseTime(timeWord, false);
    if (!time) throw LineError{"orario non valido " + quoted(timeWord) + " (si scrive HH:MM)"};
    DateTime moment = *date;
    moment.hour = *time / 60;
    moment.minute = *time % 60;
    return moment;
}

DatedEntry parseDated(std::string_view fromDate, std::string_view rest) {
    DatedEntry entry;
    const std::string_view fromTime = nextWord(rest);
    entry.from = parseDatedMoment(fromDate, fromTime);
    if (nextWord(rest) != "-") {
        throw LineError{
            "manca « - » tra l'inizio e la fine (si scrive "
            "AAAA-MM-GG HH:MM - AAAA-MM-GG HH:MM FILE)"};
    }
    const std::string_view toDate = nextWord(rest);
    const std::string_view toTime = nextWord(rest);
    entry.to = parseDatedMoment(toDate, toTime);
    if (minuteOf(entry.to) <= minuteOf(entry.from)) {
        throw LineError{"la fine " + std::string(toDate) + " " + std::string(toTime) +
                        " non viene dopo l'inizio " + std::string(fromDate) + " " +
                        std::string(fromTime)};
    }
    entry.file = fileOf(rest);
    return entry;
}

WeeklyEntry parseWeekly(std::string_view first, std::string_view rest) {
    WeeklyEntry entry;
    std::string_view window = first;
    if (!startsWithDigit(first)) {
        entry.days = parseDays(first);
        window = nextWord(rest);
    }
    const std::size_t dash = window.find('-');
    const auto from = parseTime(window.substr(0, dash), false);
    const auto to =
        dash == std::string_view::npos ? std::nullopt : parseTime(window.substr(dash + 1), true);
    if (!from || !to) {
        throw LineError{"fascia oraria non valida " + quoted(window) +
                        " (si scrive HH:MM-HH:MM, da 00:00 a 24:00)"};
    }
    if (*from == *to) {
        throw LineError{"la fascia " + quoted(window) + " è vuota: inizio e fine coincidono"};
    }
    entry.from = *from;
    entry.to = *to;
    entry.file = fileOf(rest);
    return entry;
}

// The line without its comment: `#` at its start or after a blank.
std::string_view withoutComment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || isBlank(line[i - 1]))) return line.substr(0, i);
    }
    return line;
}

bool isAbsolute(const std::string& file) {
    if (!file.empty() && (file.front() == '/' || file.front() == '\\')) return true;
    return file.size() >= 3 && std::isalpha(static_cast<unsigned char>(file[0])) != 0 &&
           file[1] == ':' && (file[2] == '\\' || file[2] == '/');
}

std::string pathOf(const Plan& plan, const std::string& file) {
    if (plan.folder.empty() || isAbsolute(file)) return file;
    if (plan.folder.back() == '/' || plan.folder.back() == '\\') return plan.folder + file;
    return plan.folder + '/' + file;
}

bool covers(const WeeklyEntry& entry, long long minute) {
    const long long day = floorDiv(minute, kMinutesPerDay);
    const auto inDay = static_cast<DayMinute>(minute - day * kMinutesPerDay);
    const int weekday = weekdayOfDay(day);
    if (entry.from < entry.to) {
        return hasDay(entry.days, weekday) && inDay >= entry.from && inDay < entry.to;
    }
    // Across midnight: the evening of one of its days, or the morning after one.
    return (hasDay(entry.days, weekday) && inDay >= entry.from) ||
           (hasDay(entry.days, (weekday + 6) % 7) && inDay < entry.to);
}

std::optional<Due> dueAtMinute(const Plan& plan, long long minute) {
    for (const DatedEntry& entry : plan.dated) {
        if (minute >= minuteOf(entry.from) && minute < minuteOf(entry.to)) {
            return Due{pathOf(plan, entry.file), DueSource::Dated, entry.line};
        }
    }
    for (const WeeklyEntry& entry : plan.weekly) {
        if (covers(entry, minute)) {
            return Due{pathOf(plan, entry.file), DueSource::Weekly, entry.line};
        }
    }
    if (plan.defaultFile)
        return Due{pathOf(plan, *plan.defaultFile), DueSource::Default, plan.defaultLine};
    return std::nullopt;
}

// The first minute after `after` at which some entry starts or ends.
std::optional<long long> nextBoundary(const Plan& plan, long long after) {
    std::optional<long long> best;
    const auto consider = [&](long long minute) {
        if (minute > after && (!best || minute < *best)) best = minute;
    };
    for (const DatedEntry& entry : plan.dated) {
        consider(minuteOf(entry.from));
        consider(minuteOf(entry.to));
    }
    // A weekly window of any day from the one before (it may reach past midnight) to a week on.
    const long long today = floorDiv(after, kMinutesPerDay);
    for (const WeeklyEntry& entry : plan.weekly) {
        for (long long day = today - 1; day <= today + 8; ++day) {
            if (!hasDay(entry.days, weekdayOfDay(day))) continue;
            const long long start = day * kMinutesPerDay;
            consider(start + entry.from);
            consider(start + entry.to + (entry.to < entry.from ? kMinutesPerDay : 0));
        }
    }
    return best;
}

}  // namespace

std::string PlanError::text() const {
    return "Riga " + std::to_string(line) + ": " + message;
}

int weekdayOf(int year, int month, int day) {
    return weekdayOfDay(daysFromCivil(year, month, day));
}

std::variant<Plan, PlanError> parsePlan(std::string_view text, const std::string& folder) {
    Plan plan;
    plan.folder = folder;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::string_view rest = trimmed(withoutComment(line));
        if (rest.empty()) continue;
        try {
            const std::string_view first = nextWord(rest);
            if (first == "predefinito") {
                std::string file = fileOf(rest);
                if (plan.defaultFile) {
                    throw LineError{"predefinito c'è già alla riga " +
                                    std::to_string(plan.defaultLine)};
                }
                plan.defaultFile = std::move(file);
                plan.defaultLine = lineNumber;
            } else if (looksLikeDate(first)) {
                DatedEntry entry = parseDated(first, rest);
                entry.line = lineNumber;
                plan.dated.push_back(std::move(entry));
            } else {
                if (!startsWithDigit(first)) {
                    // Days, then a window: a word that is neither is no entry at all.
                    std::string_view after = rest;
                    if (!startsWithDigit(nextWord(after)) && !isDayList(first)) {
                        throw LineError{"voce non riconosciuta " + quoted(first) + ": " +
                                        kEntryForms};
                    }
                }
                WeeklyEntry entry = parseWeekly(first, rest);
                entry.line = lineNumber;
                plan.weekly.push_back(std::move(entry));
            }
        } catch (const LineError& error) {
            return PlanError{lineNumber, error.message};
        }
    }
    return plan;
}

std::optional<DateTime> parseMoment(std::string_view text) {
    std::string_view rest = text;
    const std::string_view dateWord = nextWord(rest);
    const std::string_view timeWord = nextWord(rest);
    if (!trimmed(rest).empty()) return std::nullopt;
    try {
        return parseDatedMoment(dateWord, timeWord);
    } catch (const LineError&) {
        return std::nullopt;
    }
}

std::string momentText(const DateTime& moment) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", moment.year, moment.month,
                  moment.day, moment.hour, moment.minute);
    return text;
}

std::string minuteText(DayMinute minute) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
    return text;
}

std::string daysText(WeekdaySet days) {
    if ((days & kEveryDay) == kEveryDay) return {};
    std::string text;
    for (int day = 0; day < 7;) {
        if (!hasDay(days, day)) {
            ++day;
            continue;
        }
        int last = day;
        while (last + 1 < 7 && hasDay(days, last + 1)) ++last;
        if (!text.empty()) text += ',';
        text += kDayNames[static_cast<std::size_t>(day)];
        if (last - day >= 2) {
            text += '-';
            text += kDayNames[static_cast<std::size_t>(last)];
        } else if (last > day) {
            text += ',';
            text += kDayNames[static_cast<std::size_t>(last)];
        }
        day = last + 1;
    }
    return text;
}

DateTime minutesAfter(const DateTime& moment, long long minutes) {
    return dateTimeOf(minuteOf(moment) + minutes);
}

std::optional<Due> dueAt(const Plan& plan, const DateTime& moment) {
    return dueAtMinute(plan, minuteOf(moment));
}

std::optional<Due> dueNow(const Plan& plan, const Clock& clock) {
    return dueAt(plan, clock.now());
}

std::optional<Change> nextChange(const Plan& plan, const DateTime& moment) {
    const long long now = minuteOf(moment);
    const std::optional<Due> current = dueAtMinute(plan, now);
    // Past the last dated boundary the weekly entries repeat every week: a week and a day
    // without a change means there is none to come.
    long long horizon = now;
    for (const DatedEntry& entry : plan.dated) horizon = std::max(horizon, minuteOf(entry.to));
    horizon += 8 * kMinutesPerDay;

    for (long long from = now;;) {
        const auto boundary = nextBoundary(plan, from);
        if (!boundary || *boundary > horizon) return std::nullopt;
        std::optional<Due> due = dueAtMinute(plan, *boundary);
        const bool sameFile = due && current ? due->file == current->file : !due && !current;
        if (!sameFile) return Change{dateTimeOf(*boundary), std::move(due)};
        from = *boundary;
    }
}

}  // namespace velora
