#pragma once

#include <functional>
#include <string>

#include "core/controls.h"
#include "core/services.h"
#include "editor/editor_window.h"
#include "settings/salva_impost.h"
#include "sign_list.h"

namespace velora {

// The window "Insegne" (File > Insegne…): the named signs as a table, with the fields of the sign
// selected below it. It adds, changes (name, port, boards), removes and chooses signs; choosing a
// sign of another width, or changing the current one's boards, goes through the settings
// window's rules for the board count (the question, one step of the history). Opened without
// modality. The table is drawn by the view from list(); everything else is controls.
class SignsWindow {
public:
    SignsWindow(EditorWindow& editor, Salva_Impost& settings, SignStore& store);
    SignsWindow(const SignsWindow&) = delete;
    SignsWindow& operator=(const SignsWindow&) = delete;

    // Start-up, once BASE.dat has been read: reads the signs, gives the editor the current
    // sign's width and shows its name. `rememberedPort` is the port the first sign gets when
    // there is no signs file yet.
    void loadSigns(const std::function<std::string()>& rememberedPort);

    // The signs; while the store cannot be used the table shows none of them.
    const SignList& list() const { return m_store.list(); }
    SignStore& store() { return m_store; }
    // The row of the table whose sign the fields show; -1 when none is.
    int selected() const { return m_selected; }
    // Selects a row and shows its sign in the fields (-1: empties them for a new sign).
    void select(int row);
    // Runs after the list changed, for the view to draw its table again.
    std::function<void()> onListChanged;

    void Form_Load();
    void Aggiungi_Click();  // adds the sign of the fields
    void Modifica_Click();  // gives the selected sign the name, port and boards of the fields
    void Togli_Click();     // removes the selected sign, after asking
    void Usa_Click();       // the editor composes for the selected sign
    void Chiudi_Click();

    Form window{"Insegne"};
    Label Problema{"Problema"};  // why the signs file cannot be used, when it cannot
    Label LabelNome{"LabelNome"};
    TextBox Nome{"Nome"};
    Label LabelPorta{"LabelPorta"};
    TextBox Porta{"Porta"};
    Label LabelSchede{"LabelSchede"};
    ComboBox Schede{"Schede"};  // LED boards per row, 3..8
    Button Aggiungi{"Aggiungi"};
    Button Modifica{"Modifica"};
    Button Togli{"Togli"};
    Button Usa{"Usa"};
    Button Chiudi{"Chiudi"};

private:
    // Makes `change`; when it gives the editor another current sign (or `always`, for "Usa"),
    // the editor takes that sign's width through the board-count rules, asked before anything
    // is written. False, with the reason shown, when it was refused or not confirmed.
    bool change(const SignStore::Change& change, bool always = false);
    void refused(const std::string& reason);
    // The editor's label and this window's controls after the list changed.
    void showList();

    Salva_Impost& m_settings;
    EditorWindow& m_editor;
    Services& m_services;
    SignStore& m_store;
    int m_selected = -1;
};

}  // namespace velora
