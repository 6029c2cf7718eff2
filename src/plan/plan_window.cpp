#include "plan_window.h"

#include <algorithm>
#include <variant>

#include "core/windows1252.h"

namespace velora {
namespace {

const char* const kPlanFilter = "Programma (*.txt)|*.txt";
const char* const kSequenceFilter = "File Sequenza (*.inf)|*.inf";
// A plan is a few lines; anything larger is not one.
constexpr std::size_t kPlanReadLimit = std::size_t{1024} * 1024;

std::string cp1252(const std::string& utf8) {
    return windows1252::fromUtf8(utf8);
}

std::vector<std::string> splitLines(const std::string& text, bool& crlf) {
    std::vector<std::string> lines;
    crlf = text.find("\r\n") != std::string::npos;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, bool crlf) {
    std::string text;
    for (const std::string& line : lines) text += line + (crlf ? "\r\n" : "\n");
    return text;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

PlanWindow::PlanWindow(Services& services) : m_services(services) {
    window.setCaption("Programma");
    describe(Piano, "Nessun programma aperto", "");
    describe(SullInsegna, "", "");
    describe(InProgramma, "", "");
    describe(ProssimoCambio, "", "");
    describe(Esito, "", "");
    describe(Insegna, "", "");
    describe(Apri, "&Apri…", "Apre un programma");
    describe(Nuovo, "&Nuovo…", "Crea un programma vuoto");
    describe(Aggiungi, "A&ggiungi…", "Aggiunge una voce per una sequenza da scegliere");
    describe(Rimuovi, "&Rimuovi", "Toglie dal programma la voce scelta");
    describe(InviaOra, "&Invia ora", "Invia all'insegna la sequenza in programma adesso");
    describe(Urgente, "&Messaggio urgente…",
             "Mostra subito una sequenza per un tempo scelto, poi torna al programma");
    describe(Chiudi, "&Chiudi", "Chiude la finestra");
    describe(Segui, "&Segui il programma",
             "Finché il programma è aperto, invia ogni cambio all'insegna");
    Orologio.setInterval(kTickMs);
    Orologio.setEnabled(false);
    Esito.setVisible(false);

    Apri.onClick = [this] { Apri_Click(); };
    Nuovo.onClick = [this] { Nuovo_Click(); };
    Aggiungi.onClick = [this] { Aggiungi_Click(); };
    Rimuovi.onClick = [this] { Rimuovi_Click(); };
    InviaOra.onClick = [this] { InviaOra_Click(); };
    Urgente.onClick = [this] { Urgente_Click(); };
    Chiudi.onClick = [this] { window.unload(); };
    Segui.onClick = [this] { Segui_Click(); };
    Orologio.onTimer = [this] { Orologio_Timer(); };
    window.onLoad = [this] { refresh(); };
    refresh();
}

void PlanWindow::setSign(const std::string& shown, const std::string& recordKey) {
    if (recordKey != m_key) {
        // Another sign: what the last one was sent says nothing about this one.
        m_seen.reset();
        m_settled = false;
        m_failedAt.reset();
    }
    m_signShown = shown;
    m_key = recordKey;
    Insegna.setCaption("Insegna: " + cp1252(shown));
    readRows();
    refresh();
}

void PlanWindow::setRecordPath(const std::string& path) {
    m_recordPath = path;
    refresh();
}

void PlanWindow::say(const std::string& text) {
    Esito.setCaption(text);
    Esito.setVisible(!text.empty());
}

bool PlanWindow::openPlan(const std::string& path) {
    const auto text = m_services.files.read(path, kPlanReadLimit);
    if (!text) {
        m_services.dialogs.message("Impossibile leggere il programma \"" + cp1252(path) + "\".");
        return false;
    }
    auto read = parsePlan(*text, folderOf(path));
    if (const auto* error = std::get_if<PlanError>(&read)) {
        m_services.dialogs.message(
            cp1252("Il programma \"" + path + "\" non si può usare. " + error->text()));
        return false;
    }
    m_path = path;
    m_plan = std::get<Plan>(std::move(read));
    m_text = *text;
    m_lines = splitLines(*text, m_crlf);
    m_open = true;
    m_seen.reset();
    m_settled = false;
    m_failedAt.reset();
    selectedRow = -1;
    Piano.setCaption("Programma: " + cp1252(path));
    say({});
    readRows();
    refresh();
    return true;
}

void PlanWindow::readRows() {
    std::vector<Row> rows;
    if (m_plan.defaultFile)
        rows.push_back({"predefinito", "", "", *m_plan.defaultFile, m_plan.defaultLine});
    for (const WeeklyEntry& e : m_plan.weekly)
        rows.push_back({daysText(e.days), minuteText(e.from), minuteText(e.to), e.file, e.line});
    for (const DatedEntry& e : m_plan.dated)
        rows.push_back({"", momentText(e.from), momentText(e.to), e.file, e.line});
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.line < b.line; });
    m_rows = std::move(rows);
}

std::string PlanWindow::lineOf(const Row& row) {
    if (row.days == "predefinito") return "predefinito " + row.file;
    // A dated entry has a date in its start.
    if (row.from.find(' ') != std::string::npos)
        return row.from + " - " + row.to + "   " + row.file;
    return (row.days.empty() ? std::string() : row.days + ' ') + row.from + '-' + row.to + "   " +
           row.file;
}

bool PlanWindow::commit(std::vector<std::string> lines) {
    const std::string text = joinLines(lines, m_crlf);
    auto read = parsePlan(text, folderOf(m_path));
    if (const auto* error = std::get_if<PlanError>(&read)) {
        m_services.dialogs.message(cp1252("La voce non è stata cambiata. " + error->text()));
        return false;
    }
    // The file changed since the window read it (edited by hand, or by another window): the
    // window shows it as it is now, and the user makes the change again on that.
    const auto onDisk = m_services.files.read(m_path, kPlanReadLimit);
    if (onDisk && *onDisk != m_text) {
        const std::string path = m_path;
        m_services.dialogs.message(cp1252("Il programma \"" + path +
                                          "\" è stato cambiato fuori da questa finestra: la voce "
                                          "non è stata cambiata. Ora la finestra mostra il "
                                          "programma com'è."));
        openPlan(path);
        return false;
    }
    // Written whole: a plan that a timer reads meanwhile is the old one or the new one.
    if (!m_services.files.replace(m_path, text)) {
        m_services.dialogs.message(cp1252("Impossibile scrivere il programma \"" + m_path +
                                          "\": la voce non è stata cambiata."));
        return false;
    }
    m_text = text;
    m_lines = std::move(lines);
    m_plan = std::get<Plan>(std::move(read));
    m_seen.reset();
    m_settled = false;
    readRows();
    refresh();
    return true;
}

bool PlanWindow::changeRow(std::size_t index, const Row& row) {
    if (!m_open || index >= m_rows.size()) return false;
    std::vector<std::string> lines = m_lines;
    lines[static_cast<std::size_t>(m_rows[index].line - 1)] = lineOf(row);
    return commit(std::move(lines));
}

bool PlanWindow::addRow(const Row& row) {
    if (!m_open) return false;
    std::vector<std::string> lines = m_lines;
    lines.push_back(lineOf(row));
    return commit(std::move(lines));
}

bool PlanWindow::removeRow(std::size_t index) {
    if (!m_open || index >= m_rows.size()) return false;
    std::vector<std::string> lines = m_lines;
    lines.erase(lines.begin() + (m_rows[index].line - 1));
    return commit(std::move(lines));
}

void PlanWindow::Apri_Click() {
    const std::string path = m_services.dialogs.openFilePath(kPlanFilter);
    if (!path.empty()) openPlan(path);
}

void PlanWindow::Nuovo_Click() {
    const std::string chosen = m_services.dialogs.saveFilePath(kPlanFilter, "programma.txt");
    if (chosen.empty()) return;
    const std::string path = withDefaultSuffix(chosen, ".txt");
    if (m_services.files.exists(path)) {
        // An existing plan is opened, never emptied.
        openPlan(path);
        return;
    }
    if (!m_services.files.replace(path, "# Programma dell'insegna\n")) {
        m_services.dialogs.message("Impossibile scrivere il programma \"" + cp1252(path) + "\".");
        return;
    }
    openPlan(path);
}

// A file inside the plan's folder is written relative to it, so that the folder can move.
std::string PlanWindow::shownFile(const std::string& path) const {
    const std::string folder = folderOf(m_path);
    if (!folder.empty() && path.size() > folder.size() + 1 &&
        path.compare(0, folder.size(), folder) == 0 &&
        (path[folder.size()] == '/' || path[folder.size()] == '\\'))
        return path.substr(folder.size() + 1);
    return path;
}

void PlanWindow::Aggiungi_Click() {
    if (!m_open) return;
    const std::string file = m_services.dialogs.openFilePath(kSequenceFilter);
    if (file.empty()) return;
    // Every day in the morning: the user changes days and times in the table.
    if (addRow({"lun-dom", "09:00", "13:00", shownFile(file), 0}))
        selectedRow = int(m_rows.size()) - 1;
}

void PlanWindow::Rimuovi_Click() {
    if (selectedRow < 0 || selectedRow >= static_cast<int>(m_rows.size())) return;
    if (removeRow(static_cast<std::size_t>(selectedRow))) selectedRow = -1;
}

void PlanWindow::InviaOra_Click() {
    if (!m_open || m_sending) return;
    sendDue(true);
}

void PlanWindow::Segui_Click() {
    Orologio.setEnabled(Segui.value() == 1 && m_open);
    m_seen.reset();
    m_settled = false;
    m_failedAt.reset();
    if (Segui.value() == 1) Orologio_Timer();
}

void PlanWindow::Orologio_Timer() {
    refresh();
    if (!m_open || Segui.value() != 1 || m_sending) return;
    const auto due = dueNow(m_plan, m_services.clock);
    if (due != m_seen) {
        // Another entry is due: checked once, sent if the sign does not have it.
        m_seen = due;
        m_settled = false;
        m_failedAt.reset();
    }
    if (m_settled) return;
    if (m_failedAt && m_services.clock.monotonicSeconds() - *m_failedAt < kRetrySeconds) return;
    sendDue(false);
}

void PlanWindow::sendDue(bool force) {
    Modulo1 sequence;
    SentRecord record(m_services.files, m_recordPath);
    const PlanStep step =
        planStep(m_plan, m_services.clock.now(), m_services.files, record, m_key, force, sequence);
    switch (step.kind) {
        case PlanStep::Kind::NothingDue:
            m_settled = true;
            say("Il programma non ha niente da inviare adesso.");
            return;
        case PlanStep::Kind::Unreadable:
            m_failedAt = m_services.clock.monotonicSeconds();
            say(step.problem);
            return;
        case PlanStep::Kind::AlreadyShown:
            m_settled = true;
            return;
        case PlanStep::Kind::Send:
            startSend(step);
            return;
    }
}

void PlanWindow::startSend(const PlanStep& step) {
    if (!sendFile) return;
    m_sending = true;
    m_pending = step;
    say(cp1252("Invio di " + shownFile(step.due->file) + " in corso…"));
    sendFile(step.due->file);
}

void PlanWindow::sendEnded(bool confirmed) {
    if (!m_sending) return;
    m_sending = false;
    if (!confirmed) {
        m_failedAt = m_services.clock.monotonicSeconds();
        say("L'insegna non ha confermato " + cp1252(shownFile(m_pending.due->file)) +
            (Segui.value() == 1 ? ": nuovo tentativo tra un minuto." : "."));
        refresh();
        return;
    }
    m_failedAt.reset();
    m_settled = m_seen == m_pending.due;
    SentRecord record(m_services.files, m_recordPath);
    if (!record.confirm(m_key, m_pending.digest, m_pending.due->file))
        say("Inviato, ma impossibile scrivere " + cp1252(m_recordPath) + ".");
    else
        say("Inviato: " + cp1252(shownFile(m_pending.due->file)) + ".");
    refresh();
}

bool PlanWindow::urgentMessage(const std::string& file, int minutes) {
    if (!m_open || minutes <= 0) return false;
    const DateTime from = minutesAfter(m_services.clock.now(), 0);
    const DateTime to = minutesAfter(from, minutes);
    if (!addRow({"", momentText(from), momentText(to), shownFile(file), 0})) return false;
    if (!m_sending) sendDue(true);
    // Ticking the box runs its handler, which finds the send under way.
    Segui.setValue(1);
    m_seen = dueNow(m_plan, m_services.clock);
    return true;
}

void PlanWindow::Urgente_Click() {
    if (!m_open) return;
    const std::string file = m_services.dialogs.openFilePath(kSequenceFilter);
    if (file.empty()) return;
    const std::string answer = m_services.dialogs.inputBox(
        cp1252("Per quanti minuti deve restare sull'insegna?"), "Messaggio urgente", "60");
    if (answer.empty()) return;
    int minutes = 0;
    for (char c : answer) {
        if (c < '0' || c > '9' || minutes > 100000) {
            minutes = 0;
            break;
        }
        minutes = minutes * 10 + (c - '0');
    }
    if (minutes <= 0) {
        m_services.dialogs.message("La durata si scrive in minuti, per esempio 30.");
        return;
    }
    urgentMessage(file, minutes);
}

void PlanWindow::refresh() {
    const bool open = m_open;
    for (Control* c : {static_cast<Control*>(&Aggiungi), static_cast<Control*>(&InviaOra),
                       static_cast<Control*>(&Urgente), static_cast<Control*>(&Segui)})
        c->setEnabled(open);
    Rimuovi.setEnabled(open && selectedRow >= 0 && selectedRow < static_cast<int>(m_rows.size()));
    if (!m_key.empty() && !m_recordPath.empty()) {
        const auto last = SentRecord(m_services.files, m_recordPath).lastConfirmed(m_key);
        SullInsegna.setCaption(
            last ? "Sull'insegna: " + cp1252(shownFile(last->file))
                 : std::string("Sull'insegna: nessuna sequenza del programma confermata"));
    } else {
        SullInsegna.setCaption({});
    }
    if (!open) {
        InProgramma.setCaption({});
        ProssimoCambio.setCaption({});
        return;
    }
    const DateTime now = m_services.clock.now();
    const auto due = dueAt(m_plan, now);
    InProgramma.setCaption(
        cp1252("In programma adesso: " +
               (due ? shownFile(due->file) + " (riga " + std::to_string(due->line) + ")"
                    : std::string("niente"))));
    const auto change = nextChange(m_plan, now);
    ProssimoCambio.setCaption(
        cp1252(change ? "Prossimo cambio alle " + momentText(change->at) + ": " +
                            (change->next ? shownFile(change->next->file) : std::string("niente"))
                      : std::string("Nessun altro cambio in programma")));
}

}  // namespace velora
