#include "editor_window.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/base_dat.h"
#include "core/fatal_error.h"
#include "core/numbers.h"
#include "core/pacing.h"
#include "core/windows1252.h"
#include "protocol/page_layout.h"

namespace velora {
namespace {

std::string cp1252(const char* utf8) {
    return windows1252::fromUtf8(utf8);
}

void makeSignRow(TextBox& box, const char* toolTip) {
    describe(box, toolTip);
    setSignColours(box, false);
    box.setMaxLength(kScrollingLimit);
}

std::string lengthText(const TextBox& box) {
    return decimalText(static_cast<long long>(box.text().size()));
}

}  // namespace

void setSignColours(TextBox& box, bool inverse) {
    box.setBackColor(inverse ? kYellow : kBlack);
    box.setForeColor(inverse ? kBlack : kYellow);
}

EditorWindow::EditorWindow(Modulo1& state, Services& services, LoopTimingSource timeCountingLoop)
    : m_state(state), m_services(services), m_timeCountingLoop(std::move(timeCountingLoop)) {
    window.setCaption(std::string(kNoFileName) + "[*] - " + kTitle);

    makeSignRow(Text1, "Riga 1, SOPRA");
    makeSignRow(Text2, "Riga 2, SOTTO");
    makeSignRow(Text3, "Riga GRANDE...");
    Text3.setVisible(false);
    describe(Text6, "Riga GRANDE...");
    Text6.setBackColor(kGrey);
    Text6.setForeColor(kBlack);
    Text6.setMaxLength(kScrollingLimit);

    describe(Combo1, "Tempo di FERMO della Pagina");
    std::vector<std::string> pauses;
    for (int seconds = 1; seconds <= 20; ++seconds) pauses.push_back(decimalText(seconds));
    Combo1.setItems(pauses);
    Combo1.setText("3");

    describe(Picture2, "Inserisce una nuova Pagina nella Sequenza");
    describe(Picture1, "Cancella la Pagina rappresentata");
    describe(Command1, "Invio &DATI", "Collega ed Invia le Pagine");
    describe(Command2, ">Ce&ntra<", "Centra automaticamente le scritte 'fisse'");
    describe(Gra_Inv, "Inverso per GRANDE", "Visalizzerà INVERTITE le scritte GRANDI FISSE");
    describe(Command6, "Mostra Tutti i Comandi", "Rimostra TUTTI i Comandi");
    describe(Scor1, "Scor R1", "Permette di scrivere Frasi Scorrevoli fino a 114 Caratteri");
    describe(Scor2, "Scor R2", "Permette di scrivere Frasi Scorrevoli fino a 114 Caratteri");
    describe(InfoR1, "In&fo R1", "Inserisce INFO Data-Ora-Temp in Riga1");
    describe(InfoR2, "Inf&o R2", "Inserisce INFO Data-Ora-Temp in Riga2");
    describe(Option2, "1 Riga", "Modalità una RIGA GRANDE...");
    describe(Option1, "2 Righe", "Modalità due Righe...");
    OptionButton::group({&Option1, &Option2});
    describe(Anteprima, "&Anteprima", "Visualizza la Sequenza di pagine CARICATE");
    describe(cmdinserisci, "&Inserisci", "Memorizza la PAGINA, Nuova o Modificata");

    Timer1.setInterval(20);
    Timer2.setInterval(10);
    Timer2.setEnabled(false);

    VScroll1.setRange(1, kLastSlot);
    VScroll1.setSteps(1, 5);
    VScroll1.setValue(1);

    Label3.setCaption("6");
    describe(Label1, "Num. Schede x Riga", "Numero di schede LED per riga dell'insegna in uso");
    describe(Label7, "Senza Nome", "Nome del file in 'AZIONE'");
    describe(Label5, "Nome File:", "Tempo di 'fermo' del QUADRO");
    describe(Label8, "Modalità Pagina", "Tempo di 'fermo' del QUADRO");
    describe(LenRigaUn, "", "Numero di caratteri Grande");
    LenRigaUn.setVisible(false);
    describe(LenRiga2, "", "Numero di caratteri Riga2");
    describe(LenRiga1, "", "Numero di caratteri Riga1");
    describe(txtmax, "0", "Numero di Pagine Memorizzate (Caricate)");
    describe(NumQua, "0", "Numero della pagina corrente");
    txtora.setCaption("DATA ORA");
    Label4.setCaption("Numero Pagina");
    Label6.setCaption("Pagine Inserite");
    describe(Label2, "Tempo fermo (Secondi)", "Tempo di 'fermo' del QUADRO");

    mnuFile.setCaption("&File");
    mnunextApri.setCaption("&Apri");
    mnunextSalva.setCaption("&Salva");
    mnuNom.setCaption("salva con &Nome");
    Salv_Impost.setCaption("Salva &Impostazioni");
    mnuInsegne.setCaption(cp1252("Inse&gne…"));
    // Shown once the signs are read: the name of the one the editor composes for.
    signName.setVisible(false);
    mnunextNuovo.setCaption("&Nuovo");
    mnunextfinE.setCaption("fin&E");
    mnuModifica.setCaption("M&odifica");
    mnuAnnulla.setCaption("&Annulla");
    mnuAnnulla.setEnabled(false);
    mnuRipeti.setCaption("&Ripeti");
    mnuRipeti.setEnabled(false);
    mnuaiuto.setCaption("&?");
    mnueHelp.setCaption("&Help");
    mnuGuida.setCaption("&Guida");

    window.onLoad = [this] { Form_Load(); };
    window.onQueryUnload = [this] { return Form_QueryUnload(); };
    Text1.onChange = [this] { Text1_Change(); };
    Text2.onChange = [this] { Text2_Change(); };
    Text3.onChange = [this] { Text3_Change(); };
    // Typing into an info row makes it a row of text again.
    Text1.onEdit = [this] { endInfoRow(2); };
    Text2.onEdit = [this] { endInfoRow(1); };
    Gra_Inv.onClick = [this] { Gra_Inv_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    VScroll1.onChange = [this] { VScroll1_Change(); };
    // End goes to the new-page slot, not to position 128: every position past that slot is one
    // "Pagina non Caricata." for the user to close.
    VScroll1.endValue = [this] { return std::min(VScroll1.max(), m_state.PageCount + 1); };
    Picture2.onClick = [this] { Picture2_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    cmdinserisci.onClick = [this] { cmdinserisci_Click(); };
    // Centring and the info fields write the shown slot at once: on a stored page, a step.
    Command2.onClick = [this] { stepOnStoredPage("Centra", [this] { Command2_Click(); }); };
    InfoR1.onClick = [this] { stepOnStoredPage("Info R1", [this] { InfoR1_Click(); }); };
    InfoR2.onClick = [this] { stepOnStoredPage("Info R2", [this] { InfoR2_Click(); }); };
    Picture1.onClick = [this] { Picture1_Click(); };
    spellOut.onClick = [this] { spellOut_Click(); };
    spellOut.setVisible(false);
    spellOut.setToolTip(cp1252("Scrive in lettere i caratteri che l'insegna non sa mostrare"));
    mnunextNuovo.onClick = [this] { mnunextNuovo_Click(); };
    mnuAnnulla.onClick = [this] { mnuAnnulla_Click(); };
    mnuRipeti.onClick = [this] { mnuRipeti_Click(); };
}

double EditorWindow::shownPage() const {
    return readNumber(NumQua.caption());
}

void EditorWindow::endInfoRow(std::uint8_t infoRow) {
    if (m_state.InfoRowState != infoRow) return;
    m_state.InfoRowState = 0;
    m_infoRowAsLoaded = false;
}

void EditorWindow::Form_Load() {
    trapErrors(m_services, [&] {
        m_state.CurrentFilePath.clear();
        Option1.setSelected(true);
        m_state.CurrentPause = 3;
        m_state.RowChars = 18;
        m_state.PageCount = 0;
        m_state.InfoRowState = 0;
        Text6.setVisible(false);
        LoadSettings();
        if (onSettingsLoaded) onSettingsLoaded();
        Text1_Change();
        Text2_Change();
        Text3_Change();
    });
    m_history.clear();
    markSaved();
}

void EditorWindow::calibrate() {
    CalibrateDelay(m_state, m_services, m_timeCountingLoop());
}

bool EditorWindow::Form_QueryUnload() {
    // Closing the window is the exit command: the same question, and the program ends only on
    // its answer; otherwise the editor stays as it was.
    mnunextfinE.click();
    return false;
}

void EditorWindow::LoadSettings() {
    const auto contents = m_services.files.read(m_settingsFile, kBaseDatReadLimit);
    const auto rowChars = contents ? parseBaseDat(*contents) : std::nullopt;
    if (!rowChars) {
        m_services.dialogs.message(
            cp1252("NON trovo il file BASE.dat; al 1° utilizzo và attivato SALVA IMPOSTAZIONI!!!"));
        if (onSettingsMissing) onSettingsMissing();
        return;
    }
    m_state.RowChars = *rowChars;
    Label3.setCaption(decimalText(m_state.RowChars / 3));
}

void EditorWindow::Text1_Change() {
    trapErrors(m_services, [&] {
        if (m_state.PreviewRunning == 1 || !twoRowMode()) return;
        if (Scor1.value() == 0 && Scor2.value() == 0) {
            LenRiga1.setCaption(lengthText(Text1));
            Text1.setMaxLength(m_state.RowChars);
            if (Text1.text().size() >= m_state.RowChars) window.setFocus(Text2);
        }
        if (Scor1.value() == 1) {
            LenRiga1.setCaption(lengthText(Text1));
            Text1.setMaxLength(kScrollingLimit);
        }
        if (Scor2.value() == 1) {
            LenRiga1.setCaption(lengthText(Text1));
            Text1.setMaxLength(m_state.RowChars);
        }
    });
}

void EditorWindow::Text2_Change() {
    trapErrors(m_services, [&] {
        if (m_state.PreviewRunning == 1 || !twoRowMode()) return;
        if (Scor1.value() == 0 && Scor2.value() == 0) {
            LenRiga2.setCaption(lengthText(Text2));
            Text2.setMaxLength(m_state.RowChars);
        }
        if (Scor2.value() == 1) {
            LenRiga2.setCaption(lengthText(Text2));
            Text2.setMaxLength(kScrollingLimit);
            LenRiga1.setCaption(lengthText(Text1));
            Text1.setMaxLength(m_state.RowChars);
        }
        if (Scor1.value() == 1) {
            LenRiga2.setCaption(lengthText(Text2));
            Text2.setMaxLength(m_state.RowChars);
        }
    });
}

void EditorWindow::Text3_Change() {
    trapErrors(m_services, [&] {
        if (m_state.PreviewRunning == 1) return;
        LenRigaUn.setCaption(lengthText(Text3));
        // A fixed big row is stored half a row wide: typing stops where storing would cut.
        if (Scor1.value() == 0 && Scor2.value() == 0) Text3.setMaxLength(bigRowChars(m_state));
        if (Scor1.value() == 1 || Scor2.value() == 1) Text3.setMaxLength(kScrollingLimit);
    });
}

void EditorWindow::Gra_Inv_Click() {
    trapErrors(m_services, [&] {
        if (Gra_Inv.value() == 0) {
            setSignColours(Text3, false);
        }
        if (Gra_Inv.value() == 1) {
            setSignColours(Text3, true);
        }
    });
}

void EditorWindow::Command6_Click() {
    // Only enables: showing the boxes of the other mode would lay both layouts over each other,
    // and the next tick would hide them again.
    trapErrors(m_services, [&] {
        InfoR1.setEnabled(true);
        InfoR2.setEnabled(true);
        Scor1.setEnabled(true);
        Scor2.setEnabled(true);
        Gra_Inv.setEnabled(true);
    });
}

}  // namespace velora
