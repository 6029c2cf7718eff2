#include "core/page_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace velora {
namespace {

// "A12". Built by appending: GCC 12 at -O3 reports a false -Wrestrict inside
// `"A" + std::to_string(12)`.
std::string numbered(char letter, int number) {
    std::string text(1, letter);
    text += std::to_string(number);
    return text;
}

// Every slot 0..200 holds a page of its own: row 1 "A<slot>", row 2 "B<slot>", kind slot % 8 + 1
// and pause slot % 20, so that where a slot's content went can be read off any slot.
Modulo1 numberedStore() {
    Modulo1 state;
    for (int slot = 0; slot <= kLastSlot; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        state.PageText[i][1] = numbered('A', slot);
        state.PageText[i][2] = numbered('B', slot);
        state.PageKind[i] = static_cast<std::uint8_t>(slot % 8 + 1);
        state.PagePause[i] = static_cast<std::uint8_t>(slot % 20);
    }
    return state;
}

// What a slot holds: the number of the slot whose page it has, or -1 for a never-stored empty
// slot, -2 for empty texts with its own kind and pause, -3 for empty texts of kind 1, pause 9.
int origin(const Modulo1& state, int slot) {
    const auto i = static_cast<std::size_t>(slot);
    const std::string& row1 = state.PageText[i][1];
    if (row1.empty()) {
        if (!state.PageText[i][2].empty()) return -100;
        if (state.PageKind[i] == kNeverStored && state.PagePause[i] == 0) return -1;
        if (state.PageKind[i] == 1 && state.PagePause[i] == 9) return -3;
        if (state.PageKind[i] == slot % 8 + 1 && state.PagePause[i] == slot % 20) return -2;
        return -100;
    }
    const int from = std::stoi(row1.substr(1));
    const bool whole = state.PageText[i][2] == numbered('B', from) &&
                       state.PageKind[i] == from % 8 + 1 && state.PagePause[i] == from % 20;
    return whole ? from : -100;  // -100: a slot torn apart
}

struct StoreCase {
    const char* name;
    std::function<void(Modulo1&)> operation;
    std::vector<std::pair<int, int>> expected;  // slot, origin
};

void PrintTo(const StoreCase& c, std::ostream* out) {
    *out << c.name;
}

class PageStoreTest : public ::testing::TestWithParam<StoreCase> {};

TEST_P(PageStoreTest, MovesAndClearsWholeSlotsUpToTheEdges) {
    Modulo1 state = numberedStore();
    GetParam().operation(state);
    for (const auto& [slot, from] : GetParam().expected) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(origin(state, slot), from);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PageStoreTest,
    ::
        testing::
            Values(
                StoreCase{"UpFromSlot1",
                          [](Modulo1& s) { movePagesUp(s, 1, 4); },
                          {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 3}, {5, 5}}},
                // Slot 0 is never a page, but inserting on position 0 moves it like any other.
                StoreCase{"UpFromSlot0",
                          [](Modulo1& s) { movePagesUp(s, 0, 2); },
                          {{0, 0}, {1, 0}, {2, 1}, {3, 3}}},
                StoreCase{"UpFromBelowTheTables",
                          [](Modulo1& s) { movePagesUp(s, -3, 2); },
                          {{0, 0}, {1, 0}, {2, 1}, {3, 3}}},
                StoreCase{"UpToSlot200",
                          [](Modulo1& s) { movePagesUp(s, 198, 200); },
                          {{197, 197}, {198, 198}, {199, 198}, {200, 199}}},
                StoreCase{
                    "UpOfNothing", [](Modulo1& s) { movePagesUp(s, 5, 5); }, {{5, 5}, {6, 6}}},
                StoreCase{"DownIntoSlot1",
                          [](Modulo1& s) { movePagesDown(s, 1, 3); },
                          {{0, 0}, {1, 2}, {2, 3}, {3, 4}, {4, 4}}},
                StoreCase{"DownWithin200",
                          [](Modulo1& s) { movePagesDown(s, 197, 199); },
                          {{197, 198}, {198, 199}, {199, 200}, {200, 200}}},
                StoreCase{"DownOfAFullStore",
                          [](Modulo1& s) { movePagesDown(s, 199, 200); },
                          {{198, 198}, {199, 200}, {200, -1}}},
                StoreCase{"DownOfSlot200Alone",
                          [](Modulo1& s) { movePagesDown(s, 200, 200); },
                          {{199, 199}, {200, -1}}},
                StoreCase{"TextsOfSlot1",
                          [](Modulo1& s) { clearPageTexts(s, 1); },
                          {{0, 0}, {1, -2}, {2, 2}}},
                StoreCase{"TextsOfSlot200",
                          [](Modulo1& s) { clearPageTexts(s, 200); },
                          {{199, 199}, {200, -2}}},
                StoreCase{"TextsPastTheTables",
                          [](Modulo1& s) {
                              clearPageTexts(s, 201);
                              clearPageTexts(s, -1);
                          },
                          {{0, 0}, {200, 200}}},
                StoreCase{"ClearFrom1",
                          [](Modulo1& s) { clearPages(s, 1, 2); },
                          {{0, 0}, {1, -1}, {2, -1}, {3, 3}}},
                StoreCase{"ClearTo200",
                          [](Modulo1& s) { clearPages(s, 199, 200); },
                          {{198, 198}, {199, -1}, {200, -1}}},
                StoreCase{"ResetFrom1",
                          [](Modulo1& s) { clearPagesFrom(s, 1, 1, 9); },
                          {{0, 0}, {1, -3}, {100, -3}, {200, -3}}},
                StoreCase{
                    "ResetOnly200",
                    [](Modulo1& s) { clearPagesFrom(s, 200, 1, 9); },
                    {{199, 199}, {200, -3}}},
                // A page comes in whole: the slot's texts, kind and pause are all slot 5's.
                StoreCase{
                    "PutInto200",
                    [](Modulo1& s) { putPage(s, 200, 6, "A5", "B5", 5); },
                    {{199, 199}, {200, 5}}},
                StoreCase{
                    "PutInto1",
                    [](Modulo1& s) { putPage(s, 1, 6, "A5", "B5", 5); },
                    {{0, 0}, {1, 5}, {2, 2}}},
                StoreCase{
                    "PutPastTheTables",
                    [](Modulo1& s) {
                        putPage(s, 201, 6, "A5", "B5", 5);
                        putPage(s, -1, 6, "A5", "B5", 5);
                    },
                    {{0, 0}, {200, 200}}},
                StoreCase{"ResetPastTheTables",
                          [](Modulo1& s) { clearPagesFrom(s, 201, 1, 9); },
                          {{200, 200}}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velora
