#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/controls.h"
#include "core/history.h"
#include "core/modulo1.h"
#include "core/pacing.h"
#include "core/services.h"
#include "protocol/page_layout.h"

namespace velora {

// The sign's colours on a field: yellow LEDs on black, or black on yellow for an inverse big row.
void setSignColours(TextBox& box, bool inverse);

// The model of the editor window "KDM 2 Righe": its controls as plain state and its handlers as
// plain functions. The Qt view draws this state and forwards the user's actions into it.
class EditorWindow {
public:
    // `timeCountingLoop` times the counting loop of the pacing delay's calibration.
    EditorWindow(Modulo1& state, Services& services, LoopTimingSource timeCountingLoop);
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    Modulo1& state() { return m_state; }
    Services& services() { return m_services; }

    // Start-up: initial state, BASE.dat, the first run of the change rules. Runs when the window
    // is first shown.
    void Form_Load();
    // The calibration of the pacing delay (CalibrateDelay) from a run of the counting loop. The
    // program runs it once its window is on the screen, which the loop would hold up otherwise.
    void calibrate();
    // The user closes the window (title bar, Alt+F4): asks as File > finE does; the window
    // itself never goes, the program ends or stays.
    bool Form_QueryUnload();
    // Reads the row width from BASE.dat in the current directory.
    void LoadSettings();
    // Runs after the message that BASE.dat is missing, so that a first start leads on to the
    // window where the boards are chosen.
    std::function<void()> onSettingsMissing;
    // Runs once LoadSettings has read BASE.dat (or found it missing), still within the start-up:
    // the named signs follow it.
    std::function<void()> onSettingsLoaded;

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
    void inserisci();  // "insert": stores the fields as a new page
    void UpdateStoredPage();
    // The page that storing would write at the selector's position, worked out without touching
    // the fields or the store: what the sign would be sent for the page being composed.
    struct ComposedPage {
        std::uint8_t kind = 0;
        std::uint8_t pause = 0;
        std::string row1;
        std::string row2;
    };
    ComposedPage composedPage() const;
    // Centres the fixed texts of the shown page.
    void Command2_Click();
    // Turns row 1 or row 2 of the shown page into an info field.
    void InfoR1_Click();
    void InfoR2_Click();
    // The characters of the shown rows that the sign cannot show (€, °) written out in letters
    // it can, fitted to each row's typing limit; on a stored page, one step of the history.
    void spellOut_Click();
    // What spellOut_Click would write, for its caption: "Scrivi € come EUR, °C come GRADI";
    // empty when there is nothing to write out.
    std::string spellOutOffer() const;
    // Deletes the shown page.
    void Picture1_Click();
    void elimina();  // "delete": removes the shown page from the store
    // File > Nuovo: an empty sequence.
    void mnunextNuovo_Click();

    // The sequence's history. Every change of the stored sequence, the editor's own and those
    // made outside it (opening a file, the board count, the page list), is one step opened by
    // `step`: it ends with the scope, or at its commit with the page it leaves shown when that is
    // not the selector's position yet.
    SequenceHistory& history() { return m_history; }
    HistoryScope step(std::string name);
    // Modifica > Annulla and Ripeti: take back the last step, or do again the last taken back,
    // and show the page shown then through the usual loading.
    void mnuAnnulla_Click();
    void mnuRipeti_Click();
    // Shows `page` after the stored sequence was changed as a whole (undo, the page list's
    // operations): the counts, the selector, the page loaded as the selector loads it.
    void showStepPage(int page);
    // Whether the sequence differs from the one last opened or saved. An empty sequence that
    // has no file has nothing to lose.
    bool sequenceModified() const;
    // The sequence as it stands is the one on disk: after opening or saving.
    void markSaved();
    // Brings the window title and the Modifica items up to date with the history.
    void showHistory();

    static constexpr const char* kNoFileName = "Senza Nome";
    // The status line when the tick puts the pause of an inverse big row back to one second.
    static constexpr const char* kInverseOneSecond = "Grande inverso: la pagina resta 1 secondo";
    static constexpr const char* kTitle = "KDM 2 Righe";

    static constexpr const char* kSettingsFile = "BASE.dat";
    // Where BASE.dat is read and written; the bare name means the current folder.
    const std::string& settingsFile() const { return m_settingsFile; }
    void setSettingsFile(std::string path) { m_settingsFile = std::move(path); }

    // The window and its controls, in the order of the window's definition. Controls answered by
    // another window ("Anteprima", the File menu, "Salva Impostazioni", "Help", "Invio DATI")
    // are wired in src/app/window_models.cpp and src/app/composition.cpp.
    Form window{"EditorWindow"};          // the editor window itself
    TextBox Text3{"Text3"};               // the big row: one text over both rows
    ComboBox Combo1{"Combo1"};            // the page's pause, 1..20 seconds
    Button Picture2{"Picture2"};          // opens an empty page at the shown position
    Button Picture1{"Picture1"};          // deletes the shown page
    Timer Timer2{"Timer2"};               // one tick after a file was opened: go to page 1
    Button Command1{"Command1"};          // "Invio DATI": opens the transmission window
    Button Command2{"Command2"};          // centres the fixed texts
    CheckBox Gra_Inv{"Gra_Inv"};          // shows the big fixed row inverted
    Button Command6{"Command6"};          // enables every mode control again
    CheckBox Scor1{"Scor1"};              // row 1 scrolls (up to 114 characters)
    Button InfoR1{"InfoR1"};              // puts the date-time-temperature field in row 1
    Button InfoR2{"InfoR2"};              // puts the date-time-temperature field in row 2
    CheckBox Scor2{"Scor2"};              // row 2 scrolls (up to 114 characters)
    OptionButton Option2{"Option2"};      // "1 Riga": one big row
    OptionButton Option1{"Option1"};      // "2 Righe": two rows
    Button Anteprima{"Anteprima"};        // "Anteprima": plays the stored sequence here
    Timer Timer1{"Timer1"};               // the 20 ms tick: clock, layout rules, file name
    Button cmdinserisci{"cmdinserisci"};  // "Inserisci": stores the page, new or changed
    ScrollBar VScroll1{"VScroll1"};       // the page selector, 1..200
    TextBox Text1{"Text1"};               // row 1, the upper row
    TextBox Text2{"Text2"};               // row 2, the lower row
    TextBox Text6{"Text6"};               // the grey blank field the preview shows between pages
    Label Label3{"Label3"};               // LED boards per row (RowChars / 3)
    Label signName{"signName"};           // ours: the sign the editor composes for
    Label Label1{"Label1"};               // caption "Num. Schede x Riga" (boards per row)
    Label Label7{"Label7"};               // the open file's name, or "Senza Nome"
    Label Label5{"Label5"};               // caption "Nome File:"
    Label Label8{"Label8"};               // caption "Modalità Pagina" (page mode)
    Label LenRigaUn{"LenRigaUn"};         // characters typed in the big row
    Label LenRiga2{"LenRiga2"};           // characters typed in row 2
    Label LenRiga1{"LenRiga1"};           // characters typed in row 1
    Label txtmax{"txtmax"};               // how many pages are stored
    Label NumQua{"NumQua"};               // the number of the shown page
    Label txtora{"txtora"};               // today's date and time
    Label saveNotice{"saveNotice"};       // ours: the status line (a save, a step taken back)
    Button spellOut{"spellOut"};          // ours: writes out € and ° in letters the sign has
    Label Label4{"Label4"};               // caption "Numero Pagina" (page number)
    Label Label6{"Label6"};               // caption "Pagine Inserite" (pages stored)
    Label Label2{"Label2"};               // caption "Tempo fermo (Secondi)" (pause in seconds)

    // Menus.
    Button mnuFile{"mnuFile"};            // the File menu
    Button mnunextApri{"mnunextApri"};    // "Apri": open a sequence
    Button mnunextSalva{"mnunextSalva"};  // "Salva": save
    Button mnuNom{"mnuNom"};              // "salva con Nome": save under a new name
    Button Salv_Impost{"Salv_Impost"};    // "Salva Impostazioni": opens the settings window
    Button mnuInsegne{"mnuInsegne"};      // ours: "Insegne…": opens the window of named signs
    Button mnunextNuovo{"mnunextNuovo"};  // "Nuovo": an empty sequence
    Button mnunextfinE{"mnunextfinE"};    // "finE": ends the program
    Button mnuModifica{"mnuModifica"};    // the "Modifica" (edit) menu
    Button mnuAnnulla{"mnuAnnulla"};      // "Annulla": undo the last step of the sequence
    Button mnuRipeti{"mnuRipeti"};        // "Ripeti": redo the last step taken back
    Button mnuaiuto{"mnuaiuto"};          // the "?" menu
    Button mnueHelp{"mnueHelp"};          // "Help": opens the information window
    Button mnuGuida{"mnuGuida"};          // "Guida": the program's guide, in its own window

private:
    // Big-row mode with its boxes and counters shown and the info buttons off: the steps that
    // loading a big page and composing a new one share.
    void showBigRowLayout();

    bool twoRowMode() const { return Option1.selected(); }
    // Whether storing now would take the new-page path rather than re-store in place.
    bool storesNewPage() const;
    // The number shown in NumQua, read as the program has always read its captions.
    double shownPage() const;
    // The kind tests, once for storing and for the composed page: every test reads the controls
    // and the last one that matches decides the kind and the rows. `newPage` selects the new-page
    // variant of the info rows and the row-1 replacement. Storing then brings the fields a
    // matching test names to their width and ends the info row a new page was made with.
    struct KindDecision {
        ComposedPage page;
        bool widenText1 = false;
        bool widenText2 = false;
        bool widenText3 = false;
        std::uint8_t infoRowMatched = 0;  // the InfoRowState whose test matched, 0 for none
    };
    KindDecision decideKind(int slot, bool newPage) const;
    // Stores what decideKind says for the fields into `slot`.
    void storeKindFromControls(int slot, bool newPage);
    // Pads or cuts a field's text to exactly `width` characters, one rewrite at a time, so that
    // its change rule sees every step.
    void bringToWidth(TextBox& field, int width);
    void insertInfoField(TextBox& field, int column, std::uint8_t kind, std::uint8_t infoRow,
                         Button& otherButton);
    // Runs `change` of the shown slot as a step "<what> pagina n" when the slot is a stored page;
    // the new-page slot is no part of the sequence yet.
    void stepOnStoredPage(const std::string& what, const std::function<void()>& change);
    // The rows of the page being composed that the sign is sent as text, with the font and the
    // stored column(s) of each; info rows are left out.
    struct SpelledRow {
        int field = 1;  // Text1, Text2, or 3 for Text3
        SignFont font = SignFont::Normal;
        bool fixed = false;
        std::size_t width = 0;  // characters the sign shows of a fixed row; 114 for a scrolling one
        bool big = false;       // the big text: both stored columns
        int column = 0;
    };
    std::vector<SpelledRow> spelledRows() const;
    // The user edited the row that InfoRowState `infoRow` makes the info row.
    void endInfoRow(std::uint8_t infoRow);

    Modulo1& m_state;
    Services& m_services;
    LoopTimingSource m_timeCountingLoop;
    std::string m_settingsFile = kSettingsFile;
    // The info row shows a sample made when its page was loaded; until the user touches the
    // page's info row, re-storing keeps the text the store held for it.
    bool m_infoRowAsLoaded = false;
    SequenceHistory m_history;
};

}  // namespace velora
