#include "plan/plan_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_services.h"
#include "plan/plan_step.h"
#include "plan/sent_record.h"

namespace velora {
namespace {

DateTime on(int year, int month, int day, int hour, int minute) {
    return DateTime{year, month, day, hour, minute, 0};
}

// Sequence files of one page each, told apart by their text.
std::string sequence(const std::string& text) {
    std::string row = text;
    row.resize(9, ' ');
    return "1,9\r\n1,\"" + row + "\",5\r\n1,\"" + row + "\",5\r\n";
}

constexpr const char* kRecord = "/dati/ultimi-invii.txt";

struct Shop {
    testing::FakeServices fake;
    Shop() {
        fake.files.contents["/negozio/normale.inf"] = sequence("NORMALE");
        fake.files.contents["/negozio/mattina.inf"] = sequence("MATTINA");
        fake.files.contents["/negozio/urgente.inf"] = sequence("URGENTE");
        // Another name, the same pages: the sign has it already.
        fake.files.contents["/negozio/copia.inf"] = sequence("NORMALE");
        fake.files.contents["/negozio/piano.txt"] =
            "# vetrina\n"
            "predefinito normale.inf\n"
            "lun-ven 08:30-13:00 mattina.inf\n";
    }
    Plan plan() {
        return std::get<Plan>(parsePlan(fake.files.contents["/negozio/piano.txt"], "/negozio"));
    }
};

TEST(PlanTexts, WriteWhatThePlanReads) {
    const struct {
        WeekdaySet days;
        const char* text;
    } cases[] = {{kEveryDay, ""}, {0x1F, "lun-ven"}, {0x60, "sab,dom"},     {0x1D, "lun,mer-ven"},
                 {0x01, "lun"},   {0x03, "lun,mar"}, {0x45, "lun,mer,dom"}, {0x7E, "mar-dom"}};
    for (const auto& c : cases) {
        EXPECT_EQ(daysText(c.days), c.text);
        if (*c.text == '\0') continue;
        // What is written reads back as the same days.
        const auto read = parsePlan(std::string(c.text) + " 10:00-11:00 a.inf\n", "");
        ASSERT_TRUE(std::holds_alternative<Plan>(read)) << c.text;
        EXPECT_EQ(std::get<Plan>(read).weekly[0].days, c.days) << c.text;
    }
    EXPECT_EQ(minuteText(8 * 60 + 5), "08:05");
    EXPECT_EQ(minuteText(1440), "24:00");
    const auto moment = parseMoment("2026-12-24 18:00");
    ASSERT_TRUE(moment);
    EXPECT_EQ(momentText(*moment), "2026-12-24 18:00");
    EXPECT_EQ(momentText(minutesAfter(*moment, 6 * 60 + 1)), "2026-12-25 00:01");
    EXPECT_EQ(momentText(minutesAfter(on(2028, 2, 28, 23, 30), 60)), "2028-02-29 00:30");
    for (const char* bad :
         {"2026-12-24", "2026-12-24 24:00", "2026-13-01 10:00", "domani", "2026-12-24 18:00 x"})
        EXPECT_FALSE(parseMoment(bad)) << bad;
}

TEST(SentRecord, KeepsOneLinePerSignAndIgnoresBrokenLines) {
    testing::FakeFiles files;
    files.contents[kRecord] = "rotta senza tab\n";
    SentRecord record(files, kRecord);
    EXPECT_FALSE(record.lastConfirmed("porta /dev/a"));
    ASSERT_TRUE(record.confirm("porta /dev/a", "0011", "/x/a.inf"));
    ASSERT_TRUE(record.confirm("insegna Banco", "0022", "/x/b\tc.inf"));
    ASSERT_TRUE(record.confirm("porta /dev/a", "0033", "/x/c.inf"));
    EXPECT_EQ(files.contents[kRecord],
              "porta /dev/a\t0033\t/x/c.inf\ninsegna Banco\t0022\t/x/b c.inf\n");
    EXPECT_EQ(record.lastConfirmed("porta /dev/a")->digest, "0033");
    EXPECT_EQ(SentRecord::keyForPort("/dev/a"), "porta /dev/a");
    files.failing.insert(kRecord);
    EXPECT_FALSE(record.confirm("porta /dev/a", "0044", "/x/d.inf"));
}

// A run every five minutes, as the timer makes it: each sequence goes out once, a run missed
// over a change catches up once, a failed send is tried again, and the same pages under
// another name are not sent again.
TEST(PlanStep, SendsEachSequenceOnceAndCatchesUpAMissedChange) {
    Shop shop;
    const Plan plan = shop.plan();
    SentRecord record(shop.fake.files, kRecord);
    const std::string key = SentRecord::keyForPort("/dev/ttyUSB0");
    struct Run {
        DateTime moment;
        bool confirmed;  // what the sign answers when the run sends
        PlanStep::Kind kind;
        const char* file;
    };
    const Run runs[] = {
        {on(2026, 12, 7, 8, 0), true, PlanStep::Kind::Send, "/negozio/normale.inf"},
        {on(2026, 12, 7, 8, 5), true, PlanStep::Kind::AlreadyShown, "/negozio/normale.inf"},
        {on(2026, 12, 7, 8, 25), true, PlanStep::Kind::AlreadyShown, "/negozio/normale.inf"},
        // The computer slept over 08:30: the first run after it sends the morning once.
        {on(2026, 12, 7, 9, 40), false, PlanStep::Kind::Send, "/negozio/mattina.inf"},
        {on(2026, 12, 7, 9, 45), true, PlanStep::Kind::Send, "/negozio/mattina.inf"},
        {on(2026, 12, 7, 9, 50), true, PlanStep::Kind::AlreadyShown, "/negozio/mattina.inf"},
        {on(2026, 12, 7, 13, 0), true, PlanStep::Kind::Send, "/negozio/normale.inf"},
        {on(2026, 12, 7, 13, 5), true, PlanStep::Kind::AlreadyShown, "/negozio/normale.inf"},
    };
    int sends = 0;
    for (const Run& run : runs) {
        Modulo1 sequence;
        const PlanStep step =
            planStep(plan, run.moment, shop.fake.files, record, key, false, sequence);
        EXPECT_EQ(step.kind, run.kind) << momentText(run.moment);
        ASSERT_TRUE(step.due);
        EXPECT_EQ(step.due->file, run.file) << momentText(run.moment);
        if (step.kind != PlanStep::Kind::Send) continue;
        ++sends;
        EXPECT_EQ(sequence.PageCount, 1);
        if (run.confirmed) {
            ASSERT_TRUE(record.confirm(key, step.digest, step.due->file));
        }
    }
    EXPECT_EQ(sends, 4);

    // Another sign has its own record; --force sends what the sign has; the same pages under
    // another name are already there.
    Modulo1 sequence;
    EXPECT_EQ(planStep(plan, on(2026, 12, 7, 13, 5), shop.fake.files, record,
                       SentRecord::keyForPort("/dev/ttyUSB1"), false, sequence)
                  .kind,
              PlanStep::Kind::Send);
    EXPECT_EQ(
        planStep(plan, on(2026, 12, 7, 13, 5), shop.fake.files, record, key, true, sequence).kind,
        PlanStep::Kind::Send);
    const Plan copy = std::get<Plan>(parsePlan("predefinito copia.inf\n", "/negozio"));
    EXPECT_EQ(
        planStep(copy, on(2026, 12, 7, 13, 5), shop.fake.files, record, key, false, sequence).kind,
        PlanStep::Kind::AlreadyShown);
    // Nothing due, and a file that cannot be read.
    const Plan none = std::get<Plan>(parsePlan("10:00-11:00 manca.inf\n", "/negozio"));
    EXPECT_EQ(
        planStep(none, on(2026, 12, 7, 9, 0), shop.fake.files, record, key, false, sequence).kind,
        PlanStep::Kind::NothingDue);
    const PlanStep missing =
        planStep(none, on(2026, 12, 7, 10, 0), shop.fake.files, record, key, false, sequence);
    EXPECT_EQ(missing.kind, PlanStep::Kind::Unreadable);
    EXPECT_NE(missing.problem.find("manca.inf"), std::string::npos);
}

// The window over the fakes: its sends are recorded, the test confirms them.
struct Window : Shop {
    PlanWindow model{fake.services};
    std::vector<std::string> sent;

    Window() {
        fake.clock.date = on(2026, 12, 7, 8, 0);
        model.sendFile = [this](const std::string& path) { sent.push_back(path); };
        model.setRecordPath(kRecord);
        model.setSign("/dev/ttyUSB0", SentRecord::keyForPort("/dev/ttyUSB0"));
        EXPECT_TRUE(model.openPlan("/negozio/piano.txt"));
    }
    void tickAt(const DateTime& moment) {
        fake.clock.date = moment;
        fake.clock.seconds += 1;
        model.Orologio.onTimer();
    }
};

TEST(PlanWindow, ShowsThePlanAsRowsAndEditsItLineByLine) {
    Window w;
    using Row = PlanWindow::Row;
    ASSERT_EQ(w.model.rows().size(), 2u);
    EXPECT_EQ(w.model.rows()[0], (Row{"predefinito", "", "", "normale.inf", 2}));
    EXPECT_EQ(w.model.rows()[1], (Row{"lun-ven", "08:30", "13:00", "mattina.inf", 3}));
    EXPECT_EQ(w.model.InProgramma.caption(), "In programma adesso: normale.inf (riga 2)");
    EXPECT_EQ(w.model.ProssimoCambio.caption(),
              "Prossimo cambio alle 2026-12-07 08:30: mattina.inf");

    ASSERT_TRUE(w.model.changeRow(1, {"sab,dom", "09:00", "12:30", "mattina.inf", 3}));
    ASSERT_TRUE(w.model.addRow({"", "2026-12-24 18:00", "2026-12-24 23:59", "vigilia.inf", 0}));
    // The comment stays; every line is the plan's own format.
    EXPECT_EQ(w.fake.files.contents["/negozio/piano.txt"],
              "# vetrina\n"
              "predefinito normale.inf\n"
              "sab,dom 09:00-12:30   mattina.inf\n"
              "2026-12-24 18:00 - 2026-12-24 23:59   vigilia.inf\n");
    EXPECT_EQ(w.model.rows()[2].from, "2026-12-24 18:00");

    // A row the plan would refuse changes nothing and says which fault.
    const std::string before = w.fake.files.contents["/negozio/piano.txt"];
    EXPECT_FALSE(w.model.changeRow(1, {"sab,xyz", "09:00", "12:30", "mattina.inf", 3}));
    EXPECT_FALSE(w.model.addRow({"", "10:00", "10:00", "a.inf", 0}));
    EXPECT_EQ(w.fake.files.contents["/negozio/piano.txt"], before);
    ASSERT_EQ(w.fake.dialogs.shown.size(), 2u);
    EXPECT_NE(w.fake.dialogs.shown[0].text.find("giorno sconosciuto"), std::string::npos);
    EXPECT_EQ(w.fake.dialogs.shown[0].text.rfind("La voce non \xE8 stata cambiata.", 0), 0u);
    // A plan that cannot be written is not changed either.
    w.fake.files.failing.insert("/negozio/piano.txt");
    EXPECT_FALSE(w.model.removeRow(0));
    EXPECT_EQ(w.model.rows().size(), 3u);
    w.fake.files.failing.clear();

    ASSERT_TRUE(w.model.removeRow(1));
    EXPECT_EQ(w.fake.files.contents["/negozio/piano.txt"],
              "# vetrina\n"
              "predefinito normale.inf\n"
              "2026-12-24 18:00 - 2026-12-24 23:59   vigilia.inf\n");
}

// The plan edited with another program while the window is open: the window's next edit does not
// write over it; the window shows the file as it is now.
TEST(PlanWindow, AnEditMadeElsewhereIsNotWrittenOver) {
    Window w;
    const std::string byHand =
        "# vetrina\n"
        "predefinito normale.inf\n"
        "lun-ven 08:30-13:00 mattina.inf\n"
        "sab 09:00-12:00 urgente.inf\n";
    w.fake.files.contents["/negozio/piano.txt"] = byHand;

    EXPECT_FALSE(w.model.changeRow(1, {"lun-ven", "09:00", "13:00", "mattina.inf", 3}));
    EXPECT_EQ(w.fake.files.contents["/negozio/piano.txt"], byHand);
    ASSERT_EQ(w.model.rows().size(), 3u);
    EXPECT_EQ(w.model.rows()[2].file, "urgente.inf");
    ASSERT_EQ(w.fake.dialogs.shown.size(), 1u);
    // The message is the model's own text: Windows-1252, as every message.
    EXPECT_NE(w.fake.dialogs.shown[0].text.find("fuori da questa finestra: la voce non \xE8 stata"),
              std::string::npos);

    // Made again on the file as it is, the edit keeps the line added by hand.
    ASSERT_TRUE(w.model.changeRow(1, {"lun-ven", "09:00", "13:00", "mattina.inf", 3}));
    EXPECT_EQ(w.fake.files.contents["/negozio/piano.txt"],
              "# vetrina\n"
              "predefinito normale.inf\n"
              "lun-ven 09:00-13:00   mattina.inf\n"
              "sab 09:00-12:00 urgente.inf\n");
}

TEST(PlanWindow, FollowingSendsEachChangeOnceAndRetriesAFailure) {
    Window w;
    w.model.Segui.setValue(1);
    ASSERT_EQ(w.sent, std::vector<std::string>{"/negozio/normale.inf"});
    // No second send while the first awaits its answer.
    w.tickAt(on(2026, 12, 7, 8, 1));
    EXPECT_EQ(w.sent.size(), 1u);
    w.model.sendEnded(true);
    EXPECT_EQ(w.model.SullInsegna.caption(), "Sull'insegna: normale.inf");
    w.tickAt(on(2026, 12, 7, 8, 29));
    EXPECT_EQ(w.sent.size(), 1u);

    w.tickAt(on(2026, 12, 7, 8, 30));
    ASSERT_EQ(w.sent.size(), 2u);
    EXPECT_EQ(w.sent[1], "/negozio/mattina.inf");
    w.model.sendEnded(false);
    EXPECT_EQ(w.model.SullInsegna.caption(), "Sull'insegna: normale.inf");
    // Not at every tick: a minute later.
    w.tickAt(on(2026, 12, 7, 8, 30));
    w.fake.clock.seconds += 30;
    w.tickAt(on(2026, 12, 7, 8, 31));
    EXPECT_EQ(w.sent.size(), 2u);
    w.fake.clock.seconds += 30;
    w.tickAt(on(2026, 12, 7, 8, 31));
    ASSERT_EQ(w.sent.size(), 3u);
    w.model.sendEnded(true);
    EXPECT_EQ(w.model.SullInsegna.caption(), "Sull'insegna: mattina.inf");
    w.tickAt(on(2026, 12, 7, 12, 0));
    EXPECT_EQ(w.sent.size(), 3u);

    // Unticked, the window only shows the change.
    w.model.Segui.setValue(0);
    EXPECT_FALSE(w.model.Orologio.enabled());
    w.tickAt(on(2026, 12, 7, 13, 0));
    EXPECT_EQ(w.sent.size(), 3u);
    EXPECT_EQ(w.model.InProgramma.caption(), "In programma adesso: normale.inf (riga 2)");
    // "Invia ora" sends what is due even when the sign has it.
    w.model.InviaOra.onClick();
    EXPECT_EQ(w.sent.size(), 4u);
}

// An urgent message from 10:00 for 30 minutes: sent at once, written into the plan, and at
// 10:30 the plan's own sequence goes back on the sign.
TEST(PlanWindow, UrgentMessageGivesWayToThePlanAtItsEnd) {
    Window w;
    w.fake.clock.date = on(2026, 12, 7, 10, 0);
    w.fake.clock.date.second = 42;
    w.fake.dialogs.pathAnswers = {"/negozio/urgente.inf"};
    w.fake.dialogs.inputAnswers = {"30"};
    w.model.Urgente.onClick();
    ASSERT_EQ(w.sent, std::vector<std::string>{"/negozio/urgente.inf"});
    EXPECT_EQ(w.model.Segui.value(), 1);
    EXPECT_TRUE(w.model.Orologio.enabled());
    EXPECT_NE(w.fake.files.contents["/negozio/piano.txt"].find(
                  "2026-12-07 10:00 - 2026-12-07 10:30   urgente.inf\n"),
              std::string::npos);
    w.model.sendEnded(true);
    EXPECT_EQ(w.model.SullInsegna.caption(), "Sull'insegna: urgente.inf");
    w.tickAt(on(2026, 12, 7, 10, 29));
    EXPECT_EQ(w.sent.size(), 1u);
    w.tickAt(on(2026, 12, 7, 10, 30));
    ASSERT_EQ(w.sent.size(), 2u);
    EXPECT_EQ(w.sent[1], "/negozio/mattina.inf");
    w.model.sendEnded(true);
    EXPECT_EQ(w.model.SullInsegna.caption(), "Sull'insegna: mattina.inf");

    // A duration that is not a number of minutes is refused.
    w.fake.dialogs.pathAnswers = {"/negozio/urgente.inf"};
    w.fake.dialogs.inputAnswers = {"mezz'ora"};
    w.model.Urgente.onClick();
    EXPECT_EQ(w.sent.size(), 2u);
    EXPECT_EQ(w.fake.dialogs.shown.back().text, "La durata si scrive in minuti, per esempio 30.");
}

TEST(PlanWindow, RefusesAPlanWithAnErrorNamingTheLine) {
    testing::FakeServices fake;
    fake.files.contents["/p.txt"] = "predefinito a.inf\nlun 25:00-26:00 b.inf\n";
    PlanWindow model(fake.services);
    EXPECT_FALSE(model.openPlan("/p.txt"));
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_NE(fake.dialogs.shown[0].text.find("Riga 2: fascia oraria non valida"),
              std::string::npos);
    EXPECT_FALSE(model.InviaOra.enabled());
    EXPECT_TRUE(model.rows().empty());
}

}  // namespace
}  // namespace velora
