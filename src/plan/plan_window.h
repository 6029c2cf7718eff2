#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/controls.h"
#include "core/services.h"
#include "plan.h"
#include "plan_step.h"

namespace velora {

// The model of the window "Programma": the plan as a table of entries, edited entry by entry and
// saved whole after each change; what the sign shows (the last sequence it confirmed from the
// plan), what is due and the next change; the send of what is due on request, or by itself at
// every change while "Segui il programma" is ticked; and "Messaggio urgente…", a dated entry from
// now that is sent at once and gives way to the plan's own sequence when it ends.
//
// The window sends through a shell's hook (`sendFile`), which answers with sendEnded(); what the
// sign confirmed is written into the same record that `velora-cli send --plan` keeps, so the
// window and a timer that runs the command agree on what the sign shows.
class PlanWindow {
public:
    // How often the window looks at the clock while it follows the plan, in milliseconds.
    static constexpr int kTickMs = 1000;
    // A send that failed is tried again after this many seconds, not at every tick.
    static constexpr double kRetrySeconds = 60.0;

    explicit PlanWindow(Services& services);
    PlanWindow(const PlanWindow&) = delete;
    PlanWindow& operator=(const PlanWindow&) = delete;

    // One entry of the plan as the table shows it; texts as the plan writes them (a file name as
    // the system's bytes).
    struct Row {
        std::string days;  // "lun-ven", empty for every day, "predefinito" for the default
        std::string from;  // "08:30", or "2026-12-24 18:00" for a dated entry
        std::string to;
        std::string file;  // as written, relative to the plan's folder
        int line = 0;      // in the plan's text

        bool operator==(const Row&) const = default;
    };

    // The sign the plan goes to: its name in the table's sign column and its key in the record.
    void setSign(const std::string& shown, const std::string& recordKey);
    // Where the record of confirmed sends is kept (in the data folder).
    void setRecordPath(const std::string& path);

    // Reads the plan at `path`; false, after saying why, when it cannot be read or is refused.
    bool openPlan(const std::string& path);
    const std::string& planPath() const { return m_path; }
    const std::vector<Row>& rows() const { return m_rows; }

    // Each edit is checked as a whole plan and saved at once; false, after saying why, when the
    // plan would be refused or could not be written, and then nothing changed.
    bool changeRow(std::size_t index, const Row& row);
    bool addRow(const Row& row);
    bool removeRow(std::size_t index);

    // The line of the plan that `row` stands for.
    static std::string lineOf(const Row& row);

    void Apri_Click();      // "Apri…": opens a plan
    void Nuovo_Click();     // "Nuovo…": a new, empty plan
    void Aggiungi_Click();  // "Aggiungi…": a new entry for a file the user picks
    void Rimuovi_Click();   // "Rimuovi": the selected entry
    void InviaOra_Click();  // "Invia ora": what is due, even if the sign has it
    void Urgente_Click();   // "Messaggio urgente…"
    void Segui_Click();     // "Segui il programma"
    void Orologio_Timer();  // "clock": the tick that follows the plan

    // Adds the dated entry "now to `minutes` later" for `file`, saves and sends it, and follows
    // the plan from then on, so that its end puts the plan's own sequence back.
    bool urgentMessage(const std::string& file, int minutes);

    // The shell's answer to sendFile: whether the sign confirmed the upload.
    void sendEnded(bool confirmed);
    bool sending() const { return m_sending; }

    // Sends the sequence file at `path` (absolute) to the sign; answered by sendEnded().
    std::function<void(const std::string& path)> sendFile;

    // Brings the labels up to date with the clock.
    void refresh();

    int selectedRow = -1;  // the table's current row, set by the view

    Form window{"Programma"};
    Label Piano{"Piano"};                    // "plan": the plan's file
    Label SullInsegna{"SullInsegna"};        // "on the sign": its last confirmed sequence
    Label InProgramma{"InProgramma"};        // "in the plan": what is due now
    Label ProssimoCambio{"ProssimoCambio"};  // "next change"
    Label Esito{"Esito"};                    // "outcome": the last send, or why it failed
    Button Apri{"Apri"};
    Button Nuovo{"Nuovo"};
    Button Aggiungi{"Aggiungi"};
    Button Rimuovi{"Rimuovi"};
    Button InviaOra{"InviaOra"};
    Button Urgente{"Urgente"};
    Button Chiudi{"Chiudi"};     // "close"
    CheckBox Segui{"Segui"};     // "Segui il programma": follow the plan
    Timer Orologio{"Orologio"};  // see Orologio_Timer
    Label Insegna{"Insegna"};    // the sign the plan goes to

private:
    // Puts `lines` in place of the plan's text if they make a plan and can be written.
    bool commit(std::vector<std::string> lines);
    void readRows();
    // What is due now, sent unless the sign has it (or always, with `force`).
    void sendDue(bool force);
    void startSend(const PlanStep& step);
    std::string shownFile(const std::string& path) const;
    void say(const std::string& cp1252);

    Services& m_services;
    std::string m_path;
    std::vector<std::string> m_lines;
    bool m_crlf = false;
    // The plan's file as the window last read or wrote it: an edit made meanwhile with another
    // program is not written over.
    std::string m_text;
    Plan m_plan;
    bool m_open = false;
    std::vector<Row> m_rows;
    std::string m_signShown;
    std::string m_key;
    std::string m_recordPath;
    bool m_sending = false;
    PlanStep m_pending;
    // The last due entry the tick looked at, and when its send last failed.
    std::optional<Due> m_seen;
    bool m_settled = false;
    std::optional<double> m_failedAt;
};

}  // namespace velora
