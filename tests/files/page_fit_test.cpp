#include "files/page_fit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/page_store.h"

namespace velora {
namespace {

struct Page {
    std::uint8_t kind;
    std::string row1;
    std::string row2;
};

Modulo1 sequenceOf(int rowChars, const std::vector<Page>& pages) {
    Modulo1 state;
    state.RowChars = static_cast<std::uint8_t>(rowChars);
    state.PageCount = static_cast<std::uint8_t>(pages.size());
    int slot = 1;
    for (const Page& page : pages) putPage(state, slot++, page.kind, page.row1, page.row2, 4);
    return state;
}

std::string pad(const std::string& text, std::size_t width) {
    std::string out = text;
    out.resize(width, ' ');
    return out;
}

// A sequence made for 18 characters brought to a sign of another width: the pages that would
// lose text, and what every page holds after.
TEST(BringToWidth, KeepsEveryTextOrNamesThePagesThatLoseIt) {
    const std::string scrolling(120, 'S');  // longer than the editor types: a sign scrolls it all
    struct Case {
        const char* name;
        int rowChars;
        std::vector<Page> pages;
        std::vector<int> cut;
        std::vector<Page> after;
    };
    const std::vector<Case> cases = {
        {"wider sign: fixed rows padded",
         24,
         {{kTwoFixedRows, pad("CIAO", 18), pad("MONDO", 18)}},
         {},
         {{kTwoFixedRows, pad("CIAO", 24), pad("MONDO", 24)}}},
        {"narrower sign, only blanks beyond its width",
         12,
         {{kTwoFixedRows, pad("BUONGIORNO", 18), pad("A TUTTI", 18)}},
         {},
         {{kTwoFixedRows, pad("BUONGIORNO", 12), pad("A TUTTI", 12)}}},
        {"narrower sign, one page too long",
         12,
         {{kTwoFixedRows, pad("CIAO", 18), pad("CIAO", 18)},
          {kTwoFixedRows, pad("SALDI", 18), pad("FINO AL 50 PER CENTO", 18).substr(0, 18)}},
         {2},
         {}},
        {"big rows at half the width",
         12,
         {{kBigFixed, pad("SALDI", 9), pad("SALDI", 9)},
          {kBigFixedInverse, pad("OFFERTA", 9), pad("OFFERTA", 9)}},
         {2},
         {}},
        {"big row that fits is in both columns",
         24,
         {{kBigFixed, pad("SALDI", 9), pad("SALDI", 9)}},
         {},
         {{kBigFixed, pad("SALDI", 12), pad("SALDI", 12)}}},
        {"scrolling rows kept whole whatever the width",
         9,
         {{kRow2Scrolling, pad("ORARI", 18), scrolling},
          {kBigScrolling, scrolling, scrolling},
          {kRow1Scrolling, scrolling, pad("APERTO", 18)}},
         {},
         {{kRow2Scrolling, pad("ORARI", 9), scrolling},
          {kBigScrolling, scrolling, scrolling},
          {kRow1Scrolling, scrolling, pad("APERTO", 9)}}},
        {"info rows: the fixed row beside them counts",
         9,
         {{kInfoInRow2, pad("BENVENUTI", 18), ""}, {kInfoInRow1, "", pad("ARRIVEDERCI", 18)}},
         {2},
         {}},
        {"every page too long is named",
         9,
         {{kTwoFixedRows, pad("OLTRE NOVE CARATTERI", 18).substr(0, 18), pad("", 18)},
          {kTwoFixedRows, pad("CORTO", 18), pad("", 18)},
          {kTwoFixedRows, pad("", 18), pad("ANCORA TROPPO LUNGO", 18).substr(0, 18)}},
         {1, 3},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Modulo1 state = sequenceOf(18, c.pages);
        EXPECT_EQ(bringToWidth(state, c.rowChars), c.cut);
        EXPECT_EQ(state.RowChars, c.rowChars);
        EXPECT_EQ(state.PageCount, c.pages.size());
        for (std::size_t i = 0; i < c.after.size(); ++i) {
            SCOPED_TRACE("page " + std::to_string(i + 1));
            EXPECT_EQ(state.PageKind[i + 1], c.after[i].kind);
            EXPECT_EQ(state.PageText[i + 1][1], c.after[i].row1);
            EXPECT_EQ(state.PageText[i + 1][2], c.after[i].row2);
            EXPECT_EQ(state.PagePause[i + 1], 4);
        }
    }
}

// The page list's paste cuts scrolling texts to what the editor lets one hold; a sign's width
// never does.
TEST(FitToWidth, ScrollingLimitIsTheCallers) {
    SequenceRecord page{kRow2Scrolling, pad("A", 18), std::string(120, 'S'), 3};
    SequenceRecord kept = page;
    EXPECT_TRUE(fitToWidth(page, 18).scrolling);
    EXPECT_EQ(page.row2.size(), 114u);
    EXPECT_FALSE(fitToWidth(kept, 18, kWholeScrollingText).scrolling);
    EXPECT_EQ(kept.row2.size(), 120u);
}

}  // namespace
}  // namespace velora
