#include "plan/plan.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "fakes/fake_clock.h"

namespace velora {
namespace {

DateTime at(int year, int month, int day, int hour, int minute) {
    return DateTime{year, month, day, hour, minute, 0};
}

std::string shown(const DateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return text;
}

Plan parsed(std::string_view text, const std::string& folder = "/negozio") {
    auto result = parsePlan(text, folder);
    if (const auto* error = std::get_if<PlanError>(&result)) {
        ADD_FAILURE() << error->text();
        return {};
    }
    return std::get<Plan>(std::move(result));
}

std::string dueFile(const Plan& plan, const DateTime& moment) {
    const auto due = dueAt(plan, moment);
    return due ? due->file : "(niente)";
}

// The shop of the examples: mornings on weekdays, weekend mornings, nights, Christmas Eve.
constexpr std::string_view kShop =
    "# Programma della vetrina\r\n"
    "predefinito             normale.inf\r\n"
    "lun-ven 08:30-13:00     mattina.inf   # feriali\r\n"
    "sab,dom 09:00-12:30     festivo.inf\r\n"
    "\r\n"
    "22:00-06:00             notte.inf\r\n"
    "2026-12-24 18:00 - 2026-12-24 23:59   vigilia.inf\r\n"
    "2026-12-07 10:00 - 2026-12-07 11:00   /srv/urgente.inf\r\n";

TEST(PlanParser, ReadsEveryKindOfEntryWithItsLine) {
    const Plan plan = parsed(kShop);
    ASSERT_TRUE(plan.defaultFile);
    EXPECT_EQ(*plan.defaultFile, "normale.inf");
    EXPECT_EQ(plan.defaultLine, 2);
    ASSERT_EQ(plan.weekly.size(), 3u);
    EXPECT_EQ(plan.weekly[0].days, 0x1F);  // lun..ven
    EXPECT_EQ(plan.weekly[0].from, 8 * 60 + 30);
    EXPECT_EQ(plan.weekly[0].to, 13 * 60);
    EXPECT_EQ(plan.weekly[0].file, "mattina.inf");  // the comment is not part of the name
    EXPECT_EQ(plan.weekly[0].line, 3);
    EXPECT_EQ(plan.weekly[1].days, 0x60);  // sab, dom
    EXPECT_EQ(plan.weekly[2].days, kEveryDay);
    EXPECT_EQ(plan.weekly[2].line, 6);
    ASSERT_EQ(plan.dated.size(), 2u);
    EXPECT_EQ(shown(plan.dated[0].from), "2026-12-24 18:00");
    EXPECT_EQ(shown(plan.dated[0].to), "2026-12-24 23:59");
    EXPECT_EQ(plan.dated[0].line, 7);
}

TEST(PlanParser, ReadsDayListsAndRanges) {
    const struct {
        const char* days;
        WeekdaySet expected;
    } cases[] = {
        {"lun", 0x01},     {"dom", 0x40},         {"lun-ven", 0x1F}, {"lun,mer-ven", 0x1D},
        {"ven-lun", 0x71}, {"sab,dom,lun", 0x61}, {"lun-dom", 0x7F}, {"mar,mar", 0x02},
    };
    for (const auto& c : cases) {
        const Plan plan = parsed(std::string(c.days) + " 10:00-11:00 a.inf\n");
        ASSERT_EQ(plan.weekly.size(), 1u) << c.days;
        EXPECT_EQ(plan.weekly[0].days, c.expected) << c.days;
    }
}

TEST(PlanParser, FileNamesAreRelativeToThePlan) {
    const Plan plan = parsed(
        "predefinito   offerte di maggio.inf  \n"
        "10:00-11:00 sotto/cartella.inf\n"
        "12:00-13:00 /assoluto.inf\n"
        "14:00-15:00 C:\\insegne\\win.inf\n");
    EXPECT_EQ(dueFile(plan, at(2026, 12, 7, 9, 0)), "/negozio/offerte di maggio.inf");
    EXPECT_EQ(dueFile(plan, at(2026, 12, 7, 10, 0)), "/negozio/sotto/cartella.inf");
    EXPECT_EQ(dueFile(plan, at(2026, 12, 7, 12, 0)), "/assoluto.inf");
    EXPECT_EQ(dueFile(plan, at(2026, 12, 7, 14, 0)), "C:\\insegne\\win.inf");
    EXPECT_EQ(parsed("predefinito a.inf\n", "").defaultFile, "a.inf");
    EXPECT_EQ(dueFile(parsed("predefinito a.inf\n", ""), at(2026, 12, 7, 9, 0)), "a.inf");
}

TEST(PlanParser, RefusesThePlanNamingTheLineAndTheFault) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"lun-xyz 08:00-09:00 a.inf", "giorno sconosciuto «xyz»"},
        {"lun,,ven 08:00-09:00 a.inf", "manca un giorno"},
        {"lun 8-9 a.inf", "fascia oraria non valida «8-9»"},
        {"25:00-26:00 a.inf", "fascia oraria non valida «25:00-26:00»"},
        {"08:60-09:00 a.inf", "fascia oraria non valida"},
        {"24:00-01:00 a.inf", "fascia oraria non valida"},
        {"08:00-08:00 a.inf", "è vuota"},
        {"08:00-09:00", "manca il nome del file"},
        {"lun 08:00-09:00   # solo un commento", "manca il nome del file"},
        {"predefinito", "manca il nome del file"},
        {"predefinito b.inf", "predefinito c'è già alla riga 1"},
        {"2026-02-29 10:00 - 2026-03-01 10:00 x.inf", "data non valida «2026-02-29»"},
        {"2026-12-24 18:00 2026-12-24 23:59 x.inf", "manca « - »"},
        {"2026-12-24 18:00 - 2026-12-24 24:00 x.inf", "orario non valido «24:00»"},
        {"2026-12-24 18:00 - 2026-12-24 18:00 x.inf", "non viene dopo l'inizio"},
        {"2026-12-24 18:00 - 2026-12-23 19:00 x.inf", "non viene dopo l'inizio"},
        {"2026-12-24 18:00 - 2026-12-24 19:00", "manca il nome del file"},
        {"predefnito a.inf", "voce non riconosciuta «predefnito»"},
    };
    for (const auto& c : cases) {
        // Good lines around the bad one: the whole plan is refused all the same.
        const std::string text =
            "predefinito a.inf\n# commento\n\n" + std::string(c.line) + "\n10:00-11:00 b.inf\n";
        const auto result = parsePlan(text, "/negozio");
        const auto* error = std::get_if<PlanError>(&result);
        ASSERT_NE(error, nullptr) << c.line;
        EXPECT_EQ(error->line, 4) << c.line;
        EXPECT_NE(error->message.find(c.message), std::string::npos)
            << c.line << " -> " << error->message;
        EXPECT_EQ(error->text().rfind("Riga 4: ", 0), 0u) << error->text();
    }
}

TEST(PlanDue, FollowsDatedThenWeeklyThenDefault) {
    const Plan plan = parsed(kShop);
    const struct {
        DateTime moment;
        const char* file;
    } cases[] = {
        {at(2026, 12, 7, 8, 29), "/negozio/normale.inf"},  // Monday, before the morning
        {at(2026, 12, 7, 8, 30), "/negozio/mattina.inf"},  // start included
        {at(2026, 12, 7, 9, 59), "/negozio/mattina.inf"},
        {at(2026, 12, 7, 10, 0), "/srv/urgente.inf"},  // a dated entry over a window
        {at(2026, 12, 7, 10, 59), "/srv/urgente.inf"},
        {at(2026, 12, 7, 11, 0), "/negozio/mattina.inf"},  // its end excluded
        {at(2026, 12, 7, 13, 0), "/negozio/normale.inf"},  // the window's end excluded
        {at(2026, 12, 5, 8, 59), "/negozio/normale.inf"},  // Saturday
        {at(2026, 12, 5, 9, 0), "/negozio/festivo.inf"},
        {at(2026, 12, 5, 12, 29), "/negozio/festivo.inf"},
        {at(2026, 12, 5, 12, 30), "/negozio/normale.inf"},
        {at(2026, 12, 13, 23, 0), "/negozio/notte.inf"},  // Sunday night
        {at(2026, 12, 14, 0, 0), "/negozio/notte.inf"},   // past midnight
        {at(2026, 12, 14, 5, 59), "/negozio/notte.inf"},
        {at(2026, 12, 14, 6, 0), "/negozio/normale.inf"},
        {at(2026, 12, 24, 17, 59), "/negozio/normale.inf"},  // Christmas Eve, a Thursday
        {at(2026, 12, 24, 18, 0), "/negozio/vigilia.inf"},
        {at(2026, 12, 24, 22, 30), "/negozio/vigilia.inf"},  // the dated entry over the night
        {at(2026, 12, 24, 23, 58), "/negozio/vigilia.inf"},
        {at(2026, 12, 24, 23, 59), "/negozio/notte.inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dueFile(plan, c.moment), c.file) << shown(c.moment);
    }
    const auto due = dueAt(plan, at(2026, 12, 24, 18, 0));
    ASSERT_TRUE(due);
    EXPECT_EQ(due->source, DueSource::Dated);
    EXPECT_EQ(due->line, 7);
}

TEST(PlanDue, FirstWeeklyEntryWinsAndAnEmptyPlanHasNothing) {
    const Plan plan = parsed(
        "mer 10:00-12:00 prima.inf\n"
        "09:00-18:00 seconda.inf\n"
        "ven 20:00-02:00 sera.inf\n");
    EXPECT_EQ(dueFile(plan, at(2026, 12, 9, 11, 0)), "/negozio/prima.inf");     // Wednesday
    EXPECT_EQ(dueFile(plan, at(2026, 12, 10, 11, 0)), "/negozio/seconda.inf");  // Thursday
    EXPECT_EQ(dueFile(plan, at(2026, 12, 9, 8, 59)), "(niente)");               // no predefinito
    EXPECT_EQ(dueFile(plan, at(2026, 12, 12, 1, 59)), "/negozio/sera.inf");     // Saturday morning
    EXPECT_EQ(dueFile(plan, at(2026, 12, 11, 1, 0)), "(niente)");               // not Thursday's
    EXPECT_FALSE(dueAt(parsed("# vuoto\n"), at(2026, 12, 9, 11, 0)));
}

TEST(PlanDue, ReadsTheTimeFromTheClock) {
    const Plan plan = parsed(kShop);
    testing::FakeClock clock;
    clock.date = at(2026, 12, 7, 8, 30);
    clock.date.second = 59;
    ASSERT_TRUE(dueNow(plan, clock));
    EXPECT_EQ(dueNow(plan, clock)->file, "/negozio/mattina.inf");
    clock.date = at(2026, 12, 7, 12, 59);
    clock.date.second = 59;
    EXPECT_EQ(dueNow(plan, clock)->file, "/negozio/mattina.inf");
}

// Europe/Rome in 2026: the clocks go from 02:00 to 03:00 on 29 March and from 03:00 back to
// 02:00 on 25 October. The plan follows what the clock shows, reading after reading.
TEST(PlanDue, FollowsTheWallClockOnDaylightSavingDays) {
    const Plan plan = parsed(
        "predefinito normale.inf\n"
        "02:00-03:00 notturno.inf\n"
        "dom 02:30-03:30 tardi.inf\n");
    const struct {
        DateTime reading;
        const char* file;
    } readings[] = {
        // Spring: 02:00-02:59 never shows, so the first window is not due that night at all,
        // and the second is due only from 03:00, the first minute it exists.
        {at(2026, 3, 29, 1, 59), "/negozio/normale.inf"},
        {at(2026, 3, 29, 3, 0), "/negozio/tardi.inf"},
        {at(2026, 3, 29, 3, 30), "/negozio/normale.inf"},
        // Autumn: 02:00-02:59 shows twice, and the window is due both times.
        {at(2026, 10, 25, 1, 59), "/negozio/normale.inf"},
        {at(2026, 10, 25, 2, 0), "/negozio/notturno.inf"},
        {at(2026, 10, 25, 2, 59), "/negozio/notturno.inf"},
        {at(2026, 10, 25, 2, 0), "/negozio/notturno.inf"},  // the hour again
        {at(2026, 10, 25, 2, 59), "/negozio/notturno.inf"},
        {at(2026, 10, 25, 3, 0), "/negozio/tardi.inf"},
    };
    testing::FakeClock clock;
    for (const auto& r : readings) {
        clock.date = r.reading;
        const auto due = dueNow(plan, clock);
        ASSERT_TRUE(due) << shown(r.reading);
        EXPECT_EQ(due->file, r.file) << shown(r.reading);
    }
    // The next change is told in wall-clock time; on the spring night it names 02:00, a time
    // the clock skips: the reading after it, 03:00, is already past that window.
    const auto change = nextChange(plan, at(2026, 3, 29, 1, 30));
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2026-03-29 02:00");
}

TEST(PlanNextChange, FindsTheNextMinuteWithAnotherFile) {
    const Plan plan = parsed(kShop);
    const struct {
        DateTime from;
        const char* at;
        const char* file;
    } cases[] = {
        {at(2026, 12, 7, 7, 0), "2026-12-07 08:30", "/negozio/mattina.inf"},
        {at(2026, 12, 7, 8, 30), "2026-12-07 10:00", "/srv/urgente.inf"},
        {at(2026, 12, 7, 10, 30), "2026-12-07 11:00", "/negozio/mattina.inf"},
        {at(2026, 12, 7, 11, 0), "2026-12-07 13:00", "/negozio/normale.inf"},
        {at(2026, 12, 11, 13, 0), "2026-12-11 22:00", "/negozio/notte.inf"},    // Friday
        {at(2026, 12, 11, 23, 0), "2026-12-12 06:00", "/negozio/normale.inf"},  // over midnight
        {at(2026, 12, 12, 6, 0), "2026-12-12 09:00", "/negozio/festivo.inf"},   // Saturday
        {at(2026, 12, 24, 13, 0), "2026-12-24 18:00", "/negozio/vigilia.inf"},
        {at(2026, 12, 24, 20, 0), "2026-12-24 23:59", "/negozio/notte.inf"},
        {at(2026, 12, 31, 23, 0), "2027-01-01 06:00", "/negozio/normale.inf"},  // a new year
    };
    for (const auto& c : cases) {
        const auto change = nextChange(plan, c.from);
        ASSERT_TRUE(change) << shown(c.from);
        EXPECT_EQ(shown(change->at), c.at) << shown(c.from);
        ASSERT_TRUE(change->next) << shown(c.from);
        EXPECT_EQ(change->next->file, c.file) << shown(c.from);
    }
}

TEST(PlanNextChange, LooksAcrossTheWeekAndPastLongEntries) {
    // Once a week: from Monday the change is six days away.
    const Plan weekly = parsed("predefinito n.inf\ndom 10:00-11:00 d.inf\n");
    auto change = nextChange(weekly, at(2026, 12, 7, 12, 0));
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2026-12-13 10:00");
    // From inside the window, the same Sunday; a second later the same answer.
    DateTime inside = at(2026, 12, 13, 10, 0);
    inside.second = 30;
    change = nextChange(weekly, inside);
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2026-12-13 11:00");

    // Windows that follow each other with the same file are no change.
    const Plan same = parsed("predefinito n.inf\n08:00-12:00 a.inf\n12:00-14:00 a.inf\n");
    change = nextChange(same, at(2026, 12, 7, 9, 0));
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2026-12-07 14:00");

    // A dated entry three weeks long that ends on the file the plan has then: the change is
    // the weekly window after it, far beyond a week from the start.
    const Plan longDated = parsed(
        "predefinito n.inf\n"
        "lun 10:00-11:00 m.inf\n"
        "2026-12-01 00:00 - 2026-12-22 09:00 n.inf\n");
    change = nextChange(longDated, at(2026, 12, 2, 12, 0));
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2026-12-28 10:00");

    // A dated entry months away, with nothing weekly.
    const Plan far = parsed("predefinito n.inf\n2027-03-01 08:00 - 2027-03-02 08:00 f.inf\n");
    change = nextChange(far, at(2026, 12, 7, 12, 0));
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2027-03-01 08:00");
    change = nextChange(far, at(2027, 3, 1, 9, 0));
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2027-03-02 08:00");
    EXPECT_EQ(change->next->file, "/negozio/n.inf");
    EXPECT_FALSE(nextChange(far, at(2027, 3, 2, 8, 0)));  // nothing to come

    // A window after which nothing is due.
    const Plan noDefault = parsed("10:00-11:00 a.inf\n");
    change = nextChange(noDefault, at(2026, 12, 7, 10, 15));
    ASSERT_TRUE(change);
    EXPECT_EQ(shown(change->at), "2026-12-07 11:00");
    EXPECT_FALSE(change->next);
}

TEST(PlanCalendar, KnowsTheWeekday) {
    EXPECT_EQ(weekdayOf(2026, 12, 7), 0);   // Monday
    EXPECT_EQ(weekdayOf(2026, 12, 5), 5);   // Saturday
    EXPECT_EQ(weekdayOf(2024, 2, 29), 3);   // Thursday of a leap year
    EXPECT_EQ(weekdayOf(2000, 1, 1), 5);    // Saturday
    EXPECT_EQ(weekdayOf(1969, 12, 31), 2);  // Wednesday, before the count's start
}

}  // namespace
}  // namespace velora
