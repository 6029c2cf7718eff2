#include "core/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run_time_error.h"

namespace velora {
namespace {

TEST(TextBoxTest, ChangeHandlerRunsNestedBeforeTheSetterReturns) {
    TextBox a{"a"};
    TextBox b{"b"};
    std::vector<std::string> events;
    a.onChange = [&] {
        events.push_back("a:" + a.text());
        b.setText(a.text() + "!");
        events.push_back("a done");
    };
    b.onChange = [&] { events.push_back("b:" + b.text()); };
    a.setText("x");
    events.push_back("returned");
    EXPECT_EQ(events, (std::vector<std::string>{"a:x", "b:x!", "a done", "returned"}));
}

TEST(TextBoxTest, SameTextRaisesNothing) {
    TextBox box{"box"};
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.setText("ciao");
    const auto revision = box.revision();
    box.setText("ciao");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.revision(), revision);
}

TEST(TextBoxTest, LoweredLimitNeverShortensAndOnlyBoundsTyping) {
    TextBox box{"box"};
    box.setMaxLength(114);
    box.setText("abcdefghij");
    box.setMaxLength(4);
    EXPECT_EQ(box.text(), "abcdefghij");
    EXPECT_TRUE(box.allowsTypedLength(9));    // deleting is always possible
    EXPECT_TRUE(box.allowsTypedLength(10));   // replacing keeps the length
    EXPECT_FALSE(box.allowsTypedLength(11));  // growing past both is not
    box.setText("ab");
    EXPECT_TRUE(box.allowsTypedLength(4));
    EXPECT_FALSE(box.allowsTypedLength(5));
}

TEST(ScrollBarTest, RefusesValuesOutsideItsRangeWith380) {
    ScrollBar bar{"bar"};
    bar.setRange(1, 128);
    bar.setValue(1);
    int changes = 0;
    bar.onChange = [&] { ++changes; };
    for (int value : {0, 129, -5}) {
        try {
            bar.setValue(value);
            FAIL() << value << " was accepted";
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.code(), kInvalidPropertyValue);
        }
    }
    EXPECT_EQ(bar.value(), 1);
    EXPECT_EQ(changes, 0);
}

TEST(ScrollBarTest, ChangeHandlerMayMoveTheBarAgainNested) {
    // A handler that steps back runs itself again before returning, as the page loader does.
    ScrollBar bar{"bar"};
    bar.setRange(1, 128);
    bar.setValue(1);
    std::vector<int> seen;
    bar.onChange = [&] {
        seen.push_back(bar.value());
        if (bar.value() > 2) bar.setValue(bar.value() - 1);
    };
    bar.setValue(5);
    EXPECT_EQ(seen, (std::vector<int>{5, 4, 3, 2}));
    EXPECT_EQ(bar.value(), 2);
    bar.setValue(2);
    EXPECT_EQ(seen.size(), 4u);
}

TEST(CheckBoxTest, ChangingTheValueRaisesClickAndOnlyZeroOrOneIsValid) {
    CheckBox box{"box"};
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.setValue(1);
    box.setValue(1);
    box.setValue(0);
    EXPECT_EQ(clicks, 2);
    EXPECT_THROW(box.setValue(2), RunTimeError);
}

TEST(OptionButtonTest, SelectingOneClearsTheOthersOfItsGroup) {
    OptionButton one{"one"};
    OptionButton two{"two"};
    OptionButton::group({&one, &two});
    one.setSelected(true);
    EXPECT_EQ(one.value(), -1);
    EXPECT_EQ(two.value(), 0);
    two.setSelected(true);
    EXPECT_EQ(one.value(), 0);
    EXPECT_EQ(two.value(), -1);
}

TEST(ButtonTest, DisabledButtonIgnoresClicks) {
    Button button{"button"};
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    button.click();
    button.setEnabled(false);
    button.click();
    EXPECT_EQ(clicks, 1);
}

TEST(FormTest, AskingForTheFocusAlwaysCountsAsAChange) {
    Form form{"form"};
    TextBox box{"box"};
    form.setFocus(box);
    const auto revision = form.revision();
    form.setFocus(box);
    EXPECT_EQ(form.focus(), &box);
    EXPECT_GT(form.revision(), revision);
}

TEST(FormTest, LoadsOnFirstShowAndAgainAfterUnload) {
    Form form{"form"};
    int loads = 0;
    int unloads = 0;
    form.onLoad = [&] { ++loads; };
    form.onUnload = [&] { ++unloads; };
    EXPECT_FALSE(form.visible());
    form.show();
    form.show();  // a shown window only comes to the front
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(form.raiseRequests(), 2u);
    EXPECT_TRUE(form.visible());
    form.unload();
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(unloads, 1);
    form.show();
    EXPECT_EQ(loads, 2);
}

}  // namespace
}  // namespace velora
