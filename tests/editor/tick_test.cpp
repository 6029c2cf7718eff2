#include <gtest/gtest.h>

#include "core/windows1252.h"
#include "editor_fixture.h"

namespace velora {
namespace {

using testing::EditorFixture;

class TickTest : public EditorFixture {};

TEST_F(TickTest, ShowsTheLongDateAndTheTime) {
    fake.clock.date = {2026, 3, 1, 7, 5, 9};
    editor.Timer1_Timer();
    EXPECT_EQ(editor.txtora.caption(), "1 3 2026 07:05:09");  // the fake's long date: d m yyyy
    fake.clock.date = {2026, 12, 31, 23, 59, 58};
    editor.Timer1_Timer();
    EXPECT_EQ(editor.txtora.caption(), "31 12 2026 23:59:58");
}

// The pause snaps back to one second, and the status line says so each time it does.
TEST_F(TickTest, InverseBigRowForcesThePauseToOneSecond) {
    const std::string said = "Grande inverso: la pagina resta 1 secondo";
    editor.Combo1.setText("12");
    editor.Timer1_Timer();
    EXPECT_EQ(editor.Combo1.text(), "12");
    EXPECT_EQ(editor.saveNotice.caption(), "");
    editor.Option2.setSelected(true);
    editor.Gra_Inv.setValue(1);
    editor.Timer1_Timer();
    EXPECT_EQ(editor.Combo1.text(), "1");
    EXPECT_EQ(state.CurrentPause, 1);
    EXPECT_EQ(editor.saveNotice.caption(), said);
    // Ticks that find the pause at 1 already say nothing new.
    editor.saveNotice.setCaption({});
    editor.Timer1_Timer();
    EXPECT_EQ(editor.saveNotice.caption(), "");
    // Another pause chosen: put back, and said again.
    editor.Combo1.setText("5");
    editor.Timer1_Timer();
    EXPECT_EQ(editor.Combo1.text(), "1");
    EXPECT_EQ(editor.saveNotice.caption(), said);
}

TEST_F(TickTest, BigRowChosenOnTheNewPageSlotIsLaidOutWithinATick) {
    editor.Option2.setSelected(true);  // a click on "1 Riga" has no handler of its own
    EXPECT_FALSE(editor.Text3.visible());
    editor.Timer1_Timer();
    EXPECT_TRUE(editor.Text3.visible());
    EXPECT_FALSE(editor.Text1.visible());
    EXPECT_TRUE(editor.LenRigaUn.visible());
    EXPECT_FALSE(editor.LenRiga1.visible());
    EXPECT_FALSE(editor.InfoR1.enabled());
    EXPECT_TRUE(editor.Scor1.enabled());
    EXPECT_TRUE(editor.Gra_Inv.enabled());

    // Scrolling excludes inverse and centring; inverse excludes scrolling.
    editor.Scor1.setValue(1);
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.Gra_Inv.enabled());
    EXPECT_FALSE(editor.Command2.enabled());
    editor.Scor1.setValue(0);
    editor.Gra_Inv.setValue(1);
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.Scor1.enabled());
    EXPECT_FALSE(editor.Scor2.enabled());
    EXPECT_TRUE(editor.Command2.enabled());

    // Back to two rows within a tick.
    editor.Option1.setSelected(true);
    editor.Timer1_Timer();
    EXPECT_TRUE(editor.Text1.visible());
    EXPECT_FALSE(editor.Text3.visible());
    EXPECT_FALSE(editor.Gra_Inv.enabled());
}

TEST_F(TickTest, BigRowOnAStoredPageKeepsItsLayoutUnlessAGapIsOpen) {
    putSequence(2);
    editor.VScroll1.setValue(2);
    editor.VScroll1.setValue(1);
    editor.Option2.setSelected(true);
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.Text3.visible());
    state.GapOpened = 1;
    editor.Timer1_Timer();
    EXPECT_TRUE(editor.Text3.visible());
}

struct DisableCase {
    const char* name;
    int scor1, scor2, infoRow;
    bool scor1Enabled, scor2Enabled, info1Enabled, info2Enabled;
};

void PrintTo(const DisableCase& c, std::ostream* out) {
    *out << c.name;
}

class TickDisableTest : public TickTest, public ::testing::WithParamInterface<DisableCase> {};

TEST_P(TickDisableTest, ExcludesWhatTheStateForbids) {
    const DisableCase& c = GetParam();
    editor.Scor1.setValue(c.scor1);
    editor.Scor2.setValue(c.scor2);
    state.InfoRowState = static_cast<std::uint8_t>(c.infoRow);
    editor.Command6_Click();
    EXPECT_TRUE(editor.Gra_Inv.enabled());
    editor.Timer1_Timer();
    EXPECT_EQ(editor.Scor1.enabled(), c.scor1Enabled);
    EXPECT_EQ(editor.Scor2.enabled(), c.scor2Enabled);
    EXPECT_EQ(editor.InfoR1.enabled(), c.info1Enabled);
    EXPECT_EQ(editor.InfoR2.enabled(), c.info2Enabled);
    EXPECT_FALSE(editor.Gra_Inv.enabled());  // Command6 lasts one tick in two-row mode
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TickDisableTest,
    ::testing::Values(DisableCase{"Free", 0, 0, 0, true, true, true, true},
                      DisableCase{"Row1Scrolls", 1, 0, 0, true, false, false, false},
                      DisableCase{"Row2Scrolls", 0, 1, 0, false, true, false, false},
                      DisableCase{"BothScroll", 1, 1, 0, false, false, true, true},
                      DisableCase{"InfoInRow2", 0, 0, 1, false, false, false, true},
                      DisableCase{"InfoInRow1", 0, 0, 2, false, false, true, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(TickTest, ShowsTheFileNameWithoutItsFolders) {
    struct Case {
        const char* path;
        const char* caption;
    };
    const Case cases[] = {
        {"", "Senza Nome"},
        {"C:\\Sequenze\\negozio.inf", "negozio.inf"},
        {"/home/anna/Sequenze/negozio.inf", "negozio.inf"},
        {"negozio.inf", "negozio.inf"},
        {"C:\\Sequenze\\", ""},
        {"/home/anna/citt\xC3\xA0.inf", "citt\xE0.inf"},  // UTF-8 path, Windows-1252 caption
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        state.CurrentFilePath = c.path;
        editor.Timer1_Timer();
        EXPECT_EQ(editor.Label7.caption(), c.caption);
    }
}

TEST_F(TickTest, TickWithNothingChangedMovesNoControl) {
    editor.Timer1_Timer();
    const auto before = editor.Scor1.revision() + editor.Text1.revision() +
                        editor.InfoR1.revision() + editor.txtora.revision() +
                        editor.Label7.revision() + editor.Option1.revision();
    editor.Timer1_Timer();
    const auto after = editor.Scor1.revision() + editor.Text1.revision() +
                       editor.InfoR1.revision() + editor.txtora.revision() +
                       editor.Label7.revision() + editor.Option1.revision();
    EXPECT_EQ(before, after);
}

}  // namespace
}  // namespace velora
