#pragma once

#include "core/controls.h"
#include "core/modulo1.h"
#include "core/pacing.h"
#include "core/services.h"

namespace velora {

// The model of the editor window "KDM 2 Righe": its controls as plain state and its handlers as
// plain functions. The Qt view draws this state and forwards the user's actions into it.
class EditorWindow {
public:
    // `timeCountingLoop` answers the timing of the start-up's counting loop when the window loads.
    EditorWindow(Modulo1& state, Services& services, LoopTimingSource timeCountingLoop);
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    Modulo1& state() { return m_state; }
    Services& services() { return m_services; }

    // Start-up: calibration, initial state, BASE.dat, the first run of the change rules. Runs
    // when the window is first shown.
    void Form_Load();
    // Reads the row width from BASE.dat in the current directory.
    void LoadSettings();

    // Change rules of the three text boxes: counters and typing limits.
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    // Colours the big row the way the sign will show it.
    void Gra_Inv_Click();
    // Enables the mode controls again; the next tick disables what the current state excludes.
    void Command6_Click();

    // The page selector: loads the page at its position into the fields.
    void VScroll1_Change();
    void SetTwoRowMode();
    void SetBigRowMode();
    // The big-row layout of a page being composed; applied by the tick.
    void SetNewPageBigRowMode();
    // Opens an empty page at the shown position.
    void Picture2_Click();
    void InsertBlankPage();
    // The first tick after a file was opened: goes to page 1.
    void Timer2_Timer();
    // The 20 ms tick: clock, layout rules, file name.
    void Timer1_Timer();

    // Storing the page in the fields: a new page, or an existing page in place.
    void cmdinserisci_Click();
    void inserisci();
    void UpdateStoredPage();
    // Centres the fixed texts of the shown page.
    void Command2_Click();
    // Turns row 1 or row 2 of the shown page into an info field.
    void InfoR1_Click();
    void InfoR2_Click();
    // Deletes the shown page.
    void Picture1_Click();
    void elimina();
    // File > Nuovo: an empty sequence.
    void mnunextNuovo_Click();

    static constexpr const char* kNoFileName = "Senza Nome";

    static constexpr const char* kSettingsFile = "BASE.dat";

    // The window and its controls, in the order of the window's definition.
    Form window{"EditorWindow"};
    TextBox Text3{"Text3"};
    ComboBox Combo1{"Combo1"};
    Button Picture2{"Picture2"};
    Button Picture1{"Picture1"};
    Timer Timer2{"Timer2"};
    Button Command1{"Command1"};
    Button Command2{"Command2"};
    CheckBox Gra_Inv{"Gra_Inv"};
    Button Command6{"Command6"};
    CheckBox Scor1{"Scor1"};
    Button InfoR1{"InfoR1"};
    Button InfoR2{"InfoR2"};
    CheckBox Scor2{"Scor2"};
    OptionButton Option2{"Option2"};
    OptionButton Option1{"Option1"};
    Button Anteprima{"Anteprima"};
    Timer Timer1{"Timer1"};
    Button cmdinserisci{"cmdinserisci"};
    ScrollBar VScroll1{"VScroll1"};
    TextBox Text1{"Text1"};
    TextBox Text2{"Text2"};
    TextBox Text6{"Text6"};
    Label Label3{"Label3"};
    Label Label1{"Label1"};
    Label Label7{"Label7"};
    Label Label5{"Label5"};
    Label Label8{"Label8"};
    Label LenRigaUn{"LenRigaUn"};
    Label LenRiga2{"LenRiga2"};
    Label LenRiga1{"LenRiga1"};
    Label txtmax{"txtmax"};
    Label NumQua{"NumQua"};
    Label txtora{"txtora"};
    Label Label4{"Label4"};
    Label Label6{"Label6"};
    Label Label2{"Label2"};

    // Menus.
    Button mnuFile{"mnuFile"};
    Button mnunextApri{"mnunextApri"};
    Button mnunextSalva{"mnunextSalva"};
    Button mnuNom{"mnuNom"};
    Button Salv_Impost{"Salv_Impost"};
    Button mnunextNuovo{"mnunextNuovo"};
    Button mnunextfinE{"mnunextfinE"};
    Button mnuaiuto{"mnuaiuto"};
    Button mnueHelp{"mnueHelp"};

private:
    // Big-row mode with its boxes and counters shown and the info buttons off: the steps that
    // loading a big page and composing a new one share.
    void showBigRowLayout();

    bool twoRowMode() const { return Option1.selected(); }
    // The number shown in NumQua, read as the program has always read its captions.
    double shownPage() const;
    // The kind tests shared by storing a new page and re-storing one; `newPage` selects the
    // new-page variant of the info rows and the row-1 replacement.
    void storeKindFromControls(int slot, bool newPage);
    // Pads or cuts a field's text to exactly `width` characters, one rewrite at a time, so that
    // its change rule sees every step.
    void bringToWidth(TextBox& field, int width);
    void insertInfoField(TextBox& field, int column, std::uint8_t kind, std::uint8_t infoRow,
                         Button& otherButton);
    void clearSlotTexts(int slot);

    Modulo1& m_state;
    Services& m_services;
    LoopTimingSource m_timeCountingLoop;
};

}  // namespace velora
