#include "link/journal.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"

namespace velora {
namespace {

// The stamps run on from the first line's wall time by the monotonic clock: past midnight they
// start the day again, and a wall clock set back meanwhile does not move them.
TEST(JournalTest, StampsWrapAtMidnight) {
    testing::FakeClock clock;
    clock.date = {2026, 12, 31, 23, 59, 59};
    Journal journal(clock);
    journal.note("prima");
    clock.seconds += 0.75;
    journal.transmitted(std::vector<std::uint8_t>{0xD4});
    clock.seconds += 0.5;
    clock.date = {2026, 12, 31, 8, 0, 0};
    journal.received(std::vector<std::uint8_t>{0xC8});
    clock.seconds += 86400.0;
    journal.note("un giorno dopo");
    EXPECT_EQ(journal.lines(),
              (std::deque<std::string>{"23:59:59.000 # prima", "23:59:59.750 TX D4",
                                       "00:00:00.250 RX C8", "00:00:00.250 # un giorno dopo"}));
}

TEST(JournalTest, KeepsTheNewestLinesUpToTheCap) {
    testing::FakeClock clock;
    Journal journal(clock);
    std::size_t announced = 0;
    journal.onLine = [&](const std::string&) { ++announced; };
    const std::size_t written = Journal::kLinesKept + 5;
    for (std::size_t i = 0; i < written; ++i) journal.note(std::to_string(i));
    EXPECT_EQ(announced, written);
    ASSERT_EQ(journal.lines().size(), Journal::kLinesKept);
    EXPECT_EQ(journal.lines().front(), "09:01:00.000 # 5");
    EXPECT_EQ(journal.lines().back(), "09:01:00.000 # " + std::to_string(written - 1));
    const std::string text = journal.text();
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')),
              Journal::kLinesKept);
    EXPECT_TRUE(text.starts_with("09:01:00.000 # 5\n"));
}

}  // namespace
}  // namespace velora
