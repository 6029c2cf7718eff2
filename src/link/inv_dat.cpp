#include "inv_dat.h"

#include <cstdio>
#include <string_view>

#include "core/fatal_error.h"
#include "core/windows1252.h"

namespace velora {
namespace {

constexpr int kAttesaTickMs = 200;

// Seconds with one decimal and the Italian decimal comma.
std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string out = text;
    for (char& c : out)
        if (c == '.') c = ',';
    return out;
}

}  // namespace

InvDat::InvDat(Modulo1& state, Services& services, SerialPort& port)
    : journal(services.clock), MSComm1(port), m_state(state), m_services(services) {
    window.setCaption("Invio Dati");
    describe(Command7, "Connetti", "Connette COM1 (RS232) o Modem ad KDM");
    describe(CMDINVIO, "INVIO DATI", "Invio dei DATI sul Dispositivo Connesso");
    describe(Command3, "Collega e Invia Data/Ora",
             "Connette ed Invia Data & Ora x sincronizzare gli Orari-Date");
    describe(Command1, "Esci", "Esce dalla Connessione e Disconnette");
    describe(Frame1, "Tipo di Connessione", "");
    describe(Option1, "Connessione Seriale", "Via COM1 RS232");
    describe(Option2, "Connessione con Modem", "Connette Tramite Modem");
    describe(Coll_OK, "Collegamento OK", "");
    describe(No_Collegam, "Non c'è Collegamento", "");
    describe(Manca_Dati, "NON ci sono DATI invio inutile", "");
    describe(Trasm_OK, "Inviato", "");
    describe(Label7, "0", "");
    describe(Annulla, "Annulla", "Interrompe l'invio in corso");
    describe(Esito, "", "");
    describe(Dimensione, "", "");
    describe(Conferma, "In attesa della conferma dell'insegna…", "");
    describe(DataOraDopoInvio, "Imposta anche data e ora dopo l'invio",
             "Dopo ogni invio confermato regola anche l'orologio dell'insegna");
    describe(UltimaOra, "", "");
    describe(SalvaRegistro, "Salva registro…",
             "Salva in un file di testo il registro degli scambi con l'insegna");
    OptionButton::group({&Option1, &Option2});
    Annulla.setEnabled(false);
    Attesa.setInterval(kAttesaTickMs);
    Attesa.setEnabled(false);

    window.onLoad = [this] { Form_Load(); };
    // However the window goes, the port goes with it.
    window.onUnload = [this] { MSComm1.setPortOpen(false); };
    Command7.onClick = [this] { Command7_Click(); };
    CMDINVIO.onClick = [this] { CMDINVIO_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Annulla.onClick = [this] { Annulla_Click(); };
    Attesa.onTimer = [this] { Attesa_Timer(); };
    SalvaRegistro.onClick = [this] { SalvaRegistro_Click(); };
    MSComm1.onComm = [this] { MSComm1_OnComm(); };
    MSComm1.onLineLost = [this] { MSComm1_LineLost(); };
}

void InvDat::Form_Load() {
    hideStatuses();
    Attesa.setEnabled(false);
    try {
        ApriPorta();
    } catch (const RunTimeError&) {
        reportOpenFailure();
    }
    Option1.setSelected(true);
    CMDINVIO.setEnabled(false);
    Annulla.setEnabled(false);
    showUploadSize();
}

void InvDat::ApriPorta() {
    MSComm1.setPortOpen(false);
    MSComm1.setCommPort(m_portName);
    MSComm1.setSettings("9600,N,8,1");
    MSComm1.setInputLen(0);
    MSComm1.setPortOpen(true);
    m_lineLostShown = false;
    // Every received byte raises the receive event, from the moment the port opens.
    MSComm1.setRThreshold(1);
}

std::string InvDat::portForUser() const {
    // A name typed by mistake can be any length; the messages that name it must still read.
    constexpr std::size_t kShown = 64;
    const std::string name = windows1252::fromUtf8(m_portName);
    if (name.size() <= kShown) return name;
    return name.substr(0, kShown / 2) + '\x85' + name.substr(name.size() - kShown / 2 + 1);
}

void InvDat::reportOpenFailure() {
    std::string text = "Impossibile aprire la porta " + portForUser();
    const std::string reason = windows1252::fromUtf8(MSComm1.errorText());
    if (!reason.empty()) text += " (" + reason + ")";
    text += ". Scegliere un'altra porta.";
    // Said in the window itself: the port may have been opened without the user asking.
    Esito.setCaption(text);
    Esito.setVisible(true);
}

bool InvDat::ensurePortOpen() {
    if (MSComm1.portOpen()) return true;
    try {
        ApriPorta();
        return true;
    } catch (const RunTimeError&) {
        reportOpenFailure();
        return false;
    }
}

void InvDat::choosePort(const std::string& name) {
    if (name.empty() || m_exchanging) return;
    if (name == m_portName && (!window.loaded() || MSComm1.portOpen())) return;
    m_portName = name;
    if (!window.loaded()) return;
    MSComm1.setPortOpen(false);
    // Nothing said of the old port holds for the new one, and nothing is sent on it before it
    // has answered a connect request.
    hideStatuses();
    Attesa.setEnabled(false);
    if (m_outcome == Outcome::Waiting) endExchange(Outcome::Failed, "porta cambiata");
    m_expect = Expect::Nothing;
    CMDINVIO.setEnabled(false);
    journal.note("porta scelta: " + m_portName);
    ensurePortOpen();
}

void InvDat::showUploadSize() {
    const StreamSize size = streamSize(uploadStream(sequence()));
    Dimensione.setCaption(size.pages == 0 ? std::string("Nessuna pagina da inviare")
                                          : "Da inviare: " + std::to_string(size.pages) +
                                                (size.pages == 1 ? " pagina, " : " pagine, ") +
                                                std::to_string(size.bytes) + " byte, circa " +
                                                seconds(size.seconds) + " s");
}

std::string InvDat::journalFileName() const {
    // The port's own name, without its folders, in letters a file name can hold anywhere.
    const auto separator = m_portName.find_last_of("\\/");
    std::string port =
        separator == std::string::npos ? m_portName : m_portName.substr(separator + 1);
    for (char& c : port)
        if (std::string_view(" :*?\"<>|").find(c) != std::string_view::npos) c = '_';
    const DateTime now = m_services.clock.now();
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", now.year % 10000, now.month % 100,
                  now.day % 100);
    return "registro-" + port + "-" + date + ".txt";
}

void InvDat::SalvaRegistro_Click() {
    trapErrors(m_services, [&] {
        const std::string chosen =
            m_services.dialogs.saveFilePath("Registro (*.txt)|*.txt", journalFileName());
        if (chosen.empty()) return;
        const std::string path = withDefaultSuffix(chosen, ".txt");
        if (m_services.files.exists(path) &&
            m_services.dialogs.messageBox("Attenzione: \n\rFile gia' esistente ! Sovrascrivere il "
                                          "file ?",
                                          "Conferma", MessageIcon::Information,
                                          MessageButtons::YesNo) != MessageAnswer::Yes)
            return;
        if (!m_services.files.replace(path, journal.text()))
            m_services.dialogs.message("Impossibile salvare il registro in " +
                                       windows1252::fromUtf8(path) + ".");
    });
}

void InvDat::Command1_Click() {
    if (m_exchanging) return;
    MSComm1.setPortOpen(false);
    window.unload();
}

}  // namespace velora
