#pragma once

#include <string>

#include "core/controls.h"
#include "core/modulo1.h"
#include "core/services.h"
#include "editor/editor_window.h"
#include "signs/sign_list.h"

namespace velora {

// How many stored pages have a fixed row whose text, blanks aside, runs past a row of `rowChars`
// characters (a big fixed row past half of it): what a sign that narrow would not show.
int pagesCutAt(const Modulo1& state, int rowChars);

// The settings window: the number of LED boards per row, which fixes the row width RowChars
// (three characters a board) and is kept in BASE.dat for the next start. Opened from the editor's
// "Salva &Impostazioni" without modality.
class Salva_Impost {
public:
    explicit Salva_Impost(EditorWindow& editor);
    Salva_Impost(const Salva_Impost&) = delete;
    Salva_Impost& operator=(const Salva_Impost&) = delete;

    void Form_Load();
    // Applies the number of boards in Combo2, stores it for the sign in use (BASE.dat, and the
    // signs file when there is one) and shows the boards in the editor.
    void SalvaImpostazione();  // "save setting"
    void Command2_Click();

    // The editor's rules for another board count, for this window and for the named signs alike.
    // Asks, when stored pages have text past the new width, whether to go on; false when not.
    bool confirmBoards(int boards);
    // Gives the editor the width of `boards` as one step of the history, shown beside the board
    // count. Stores nothing.
    void applyBoards(int boards);

    // The named signs: the board count saved here is the current sign's. Without them the window
    // keeps BASE.dat alone.
    void useSigns(SignStore& signs) { m_signs = &signs; }

    Form window{"Salva_Impost"};  // the settings window
    Label Label1{"Label1"};       // caption "Num. Schede x Riga" (boards per row)
    ComboBox Combo2{"Combo2"};    // boards per row to save, 3..8
    Label Label2{"Label2"};       // the boards per row in use
    Button Command1{"Command1"};  // "Salva Impostazione": saves BASE.dat
    Button Command2{"Command2"};  // "Chiudi": closes the window

private:
    EditorWindow& m_editor;
    Modulo1& m_state;
    Services& m_services;
    SignStore* m_signs = nullptr;
};

}  // namespace velora
