#include "signs_window.h"

#include "core/base_dat.h"
#include "core/numbers.h"
#include "core/windows1252.h"

namespace velora {
namespace {

// The model's controls hold Windows-1252 text; the list holds UTF-8.
std::string shown(const std::string& utf8) {
    return windows1252::fromUtf8(utf8);
}

// The boards typed or chosen in the list: a whole number, blanks aside; 0 for anything else,
// which the rules refuse.
int typedBoards(const std::string& text) {
    const std::string trimmed = trimmedSignText(text);
    if (trimmed.empty() || trimmed.size() > 2) return 0;
    int value = 0;
    for (char c : trimmed) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

SignsWindow::SignsWindow(EditorWindow& editor, Salva_Impost& settings, SignStore& store)
    : m_settings(settings), m_editor(editor), m_services(editor.services()), m_store(store) {
    window.setCaption("Insegne");
    Problema.setVisible(false);
    LabelNome.setCaption("&Nome:");
    LabelPorta.setCaption("&Porta:");
    LabelSchede.setCaption("&Schede LED per riga:");
    Porta.setToolTip(
        shown("Porta seriale (COM1, /dev/ttyUSB0) o in rete: socket://HOST:PORTA, "
              "rfc2217://HOST:PORTA; si può lasciare vuota"));
    Schede.setItems({"3", "4", "5", "6", "7", "8"});
    Aggiungi.setCaption("&Aggiungi");
    Aggiungi.setToolTip("Aggiunge un'insegna con il nome, la porta e le schede scritti qui");
    Modifica.setCaption("&Modifica");
    Modifica.setToolTip(
        shown("Dà all'insegna scelta nella tabella il nome, la porta e le schede scritti qui"));
    Togli.setCaption("&Togli");
    Usa.setCaption("&Usa nell'editor");
    Usa.setToolTip(shown("L'editor compone per l'insegna scelta, con le sue schede"));
    Chiudi.setCaption("&Chiudi");

    window.onLoad = [this] { Form_Load(); };
    Aggiungi.onClick = [this] { Aggiungi_Click(); };
    Modifica.onClick = [this] { Modifica_Click(); };
    Togli.onClick = [this] { Togli_Click(); };
    Usa.onClick = [this] { Usa_Click(); };
    Chiudi.onClick = [this] { Chiudi_Click(); };
}

void SignsWindow::loadSigns(const std::function<std::string()>& rememberedPort) {
    Modulo1& state = m_editor.state();
    m_store.load(state.RowChars / kRowCharsPerBoard, rememberedPort);
    // A current sign other than BASE.dat's brings its own width; there is nothing to ask at
    // start, the sequence is empty.
    if (m_store.usable() && m_store.fromFile() &&
        m_store.list().current().rowChars() != state.RowChars) {
        state.RowChars = static_cast<std::uint8_t>(m_store.list().current().rowChars());
        m_editor.Label3.setCaption(decimalText(m_store.list().current().boards));
    }
    showList();
}

void SignsWindow::select(int row) {
    const int count = static_cast<int>(list().size());
    m_selected = row >= 0 && row < count ? row : -1;
    if (m_selected < 0) {
        Nome.setText("");
        Porta.setText("");
        Schede.setText("6");
    } else {
        const Sign& sign = list().signs()[static_cast<std::size_t>(m_selected)];
        Nome.setText(shown(sign.name));
        Porta.setText(shown(sign.port));
        Schede.setText(decimalText(sign.boards));
    }
    const bool usable = m_store.usable();
    for (Button* button : {&Modifica, &Togli, &Usa}) button->setEnabled(usable && m_selected >= 0);
    Aggiungi.setEnabled(usable);
}

void SignsWindow::Form_Load() {
    // A list that stands in for a damaged file is nobody's: no row of it is offered.
    select(m_store.usable() ? static_cast<int>(list().currentIndex()) : -1);
    showList();
}

void SignsWindow::Aggiungi_Click() {
    const Sign sign{windows1252::toUtf8(Nome.text()), windows1252::toUtf8(Porta.text()),
                    typedBoards(Schede.text())};
    if (!change([&sign](SignList& l) { return l.add(sign); })) return;
    select(static_cast<int>(list().size()) - 1);
}

void SignsWindow::Modifica_Click() {
    if (m_selected < 0) return;
    const Sign before = list().signs()[static_cast<std::size_t>(m_selected)];
    // A field left as it was shows the sign's own text, which may hold characters the field
    // cannot: it keeps the sign's own.
    const std::string name =
        Nome.text() == shown(before.name) ? before.name : windows1252::toUtf8(Nome.text());
    const std::string port =
        Porta.text() == shown(before.port) ? before.port : windows1252::toUtf8(Porta.text());
    const int boards = typedBoards(Schede.text());
    const int row = m_selected;
    if (!change([&](SignList& l) -> std::optional<std::string> {
            if (auto problem = l.edit(before.name, port, boards)) return problem;
            return l.rename(before.name, name);
        }))
        return;
    select(row);
}

void SignsWindow::Togli_Click() {
    if (m_selected < 0) return;
    const Sign sign = list().signs()[static_cast<std::size_t>(m_selected)];
    std::string question = "Togliere l'insegna «" + sign.name + "»?";
    if (m_selected == 0 && list().size() > 1)
        question += " BASE.dat passerà all'insegna «" + list().signs()[1].name + "».";
    const MessageAnswer answer = m_services.dialogs.messageBox(
        shown(question), "Conferma", MessageIcon::Exclamation, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;
    if (!change([&sign](SignList& l) { return l.remove(sign.name); })) return;
    select(static_cast<int>(list().currentIndex()));
}

void SignsWindow::Usa_Click() {
    if (m_selected < 0) return;
    const std::string name = list().signs()[static_cast<std::size_t>(m_selected)].name;
    change([&name](SignList& l) { return l.choose(name); }, true);
}

void SignsWindow::Chiudi_Click() {
    window.unload();
}

bool SignsWindow::change(const SignStore::Change& change, bool always) {
    SignList trial = list();
    if (auto problem = change(trial)) {
        refused(*problem);
        return false;
    }
    const Sign& before = list().current();
    const Sign& after = trial.current();
    const bool otherSign = !sameSignName(before.name, after.name) || before.boards != after.boards;
    const int boards = after.boards;
    const bool width = (always || otherSign) && after.rowChars() != m_editor.state().RowChars;
    if (width && !m_settings.confirmBoards(boards)) return false;
    if (auto problem = m_store.apply(change)) {
        refused(*problem);
        return false;
    }
    if (width) m_settings.applyBoards(boards);
    showList();
    return true;
}

void SignsWindow::refused(const std::string& reason) {
    m_services.dialogs.messageBox(shown(reason), kProgramTitle, MessageIcon::Exclamation,
                                  MessageButtons::Ok);
}

void SignsWindow::showList() {
    const std::string problem =
        m_store.inUse() ? m_store.problem()
                        : "Non c'è una cartella di configurazione: le insegne non si possono "
                          "salvare.";
    Problema.setCaption(shown(problem));
    Problema.setVisible(!problem.empty());
    // The editor names its sign once there is more than the one every installation starts with,
    // or that one was given a name; a file that cannot be used is said there too.
    Label& label = m_editor.signName;
    if (!m_store.problem().empty()) {
        label.setCaption("Insegne: file da correggere");
        label.setToolTip(shown(m_store.problem()));
        label.setVisible(true);
    } else if (m_store.usable() && m_store.fromFile()) {
        label.setCaption(shown("Insegna: " + list().current().name));
        label.setToolTip(shown("L'insegna per cui si compone; si sceglie in File > Insegne…"));
        label.setVisible(true);
    } else {
        label.setVisible(false);
    }
    if (m_selected >= 0 && m_selected >= static_cast<int>(list().size())) m_selected = -1;
    if (onListChanged) onListChanged();
}

}  // namespace velora
