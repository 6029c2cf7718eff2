#include "plan_command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <variant>

#include <QStandardPaths>

#include "cli_support.h"
#include "core/windows1252.h"
#include "plan/plan.h"
#include "plan/plan_step.h"
#include "plan/sent_record.h"
#include "platform/system_clock.h"
#include "platform/system_files.h"
#include "program_places.h"
#include "signs/sign_list.h"
#include "signs_command.h"

namespace velora {
namespace {

// The clock of `--now`: the plan is read at that moment; waits are the system's.
class FixedClock : public SystemClock {
public:
    explicit FixedClock(const DateTime& at) : m_at(at) {}
    DateTime now() const override { return m_at; }

private:
    DateTime m_at;
};

struct PlanOptions {
    std::string plan;
    std::optional<DateTime> now;
    std::string port;
    std::string sign;  // a named sign, in place of the port
    bool force = false;
    std::string systemd;  // "", "both", "service" or "timer"
};

// The path made absolute, as the system's bytes; names are not decoded on the way.
std::filesystem::path absolute(const std::string& path) {
    std::error_code failed;
    const std::filesystem::path made = std::filesystem::absolute(path, failed);
    return failed ? std::filesystem::path(path) : made.lexically_normal();
}

// Reads the options the plan's commands share; a usage exit code when they are wrong.
std::variant<PlanOptions, int> readOptions(const std::vector<std::string>& args, bool sending) {
    PlanOptions options;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--now") {
            if (i + 1 >= args.size()) return usage("--now vuole \"AAAA-MM-GG HH:MM\".");
            options.now = parseMoment(args[++i]);
            if (!options.now)
                return usage("--now vuole \"AAAA-MM-GG HH:MM\", non \"" + args[i] + "\".");
        } else if (sending && a == "--plan") {
            if (i + 1 >= args.size()) return usage("--plan vuole il file del programma.");
            options.plan = args[++i];
        } else if (a == "--port") {
            if (i + 1 >= args.size()) return usage("--port vuole il nome della porta.");
            options.port = args[++i];
        } else if (a.rfind("--port=", 0) == 0) {
            options.port = a.substr(7);
        } else if (a == "--sign") {
            if (i + 1 >= args.size()) return usage("--sign vuole il nome dell'insegna.");
            options.sign = args[++i];
        } else if (sending && a == "--force") {
            options.force = true;
        } else if (!sending &&
                   (a == "--systemd" || a == "--systemd=service" || a == "--systemd=timer")) {
            options.systemd = a == "--systemd" ? "both" : a.substr(10);
        } else if (a.rfind("--", 0) == 0) {
            return usage("Opzione sconosciuta: " + a);
        } else {
            operands.push_back(a);
        }
    }
    if (!options.sign.empty() && !options.port.empty())
        return usage("Si usa --sign o --port, non entrambi.");
    const bool signGiven = !options.sign.empty() || !options.port.empty();
    if (!sending) {
        if (operands.empty()) return usage("Il comando plan vuole PIANO.");
        if (operands.size() > 1) return usage("Argomento in più: " + operands[1]);
        options.plan = operands[0];
        if (signGiven && options.systemd.empty())
            return usage("Il comando plan usa --sign e --port solo con --systemd.");
        // The units run send --plan, which needs to know where the sign is.
        if (!signGiven && !options.systemd.empty())
            return usage("--systemd vuole --sign NOME o --port PORTA.");
    } else {
        if (!operands.empty()) return usage("Argomento in più: " + operands[0]);
        if (!signGiven) return usage("Il comando send --plan vuole --sign NOME o --port PORTA.");
    }
    return options;
}

// The plan read from its file; nothing, with the reason on standard error, when it cannot be
// read or is refused.
std::optional<Plan> loadPlan(const std::string& path) {
    const SystemFiles files;
    const auto text = files.read(path, 1024 * 1024);
    if (!text) {
        std::cerr << "Impossibile leggere il programma \"" << path << "\"." << std::endl;
        return std::nullopt;
    }
    auto read = parsePlan(*text, absolute(path).parent_path().string());
    if (const auto* error = std::get_if<PlanError>(&read)) {
        std::cerr << "Programma \"" << path << "\" rifiutato. " << error->text() << std::endl;
        return std::nullopt;
    }
    return std::get<Plan>(std::move(read));
}

std::string dueText(const std::optional<Due>& due) {
    if (!due) return "niente";
    return due->file + " (riga " + std::to_string(due->line) + ")";
}

// One argument of ExecStart: systemd splits the line at blanks, reads quotes and backslashes,
// and expands % and $.
std::string unitArgument(const std::string& text) {
    std::string escaped;
    bool quote = text.empty();
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\'') quote = true;
        if (c == '\\' || c == '"') escaped += '\\';
        if (c == '%') escaped += '%';
        if (c == '$') escaped += '$';
        escaped += c;
    }
    return quote ? '"' + escaped + '"' : escaped;
}

void printUnits(const PlanOptions& options) {
    std::error_code failed;
    std::string program = std::filesystem::read_symlink("/proc/self/exe", failed).string();
    if (failed) program = "velora-cli";
    const std::string plan = absolute(options.plan).string();
    std::string command = unitArgument(program) + " send --plan " + unitArgument(plan);
    if (!options.sign.empty()) command += " --sign " + unitArgument(options.sign);
    if (!options.port.empty()) command += " --port " + unitArgument(options.port);
    const bool both = options.systemd == "both";
    if (both || options.systemd == "service") {
        if (both) std::cout << "# velora-programma.service\n";
        std::cout << "[Unit]\n"
                     "Description=Velora: la sequenza in programma sull'insegna\n"
                     "\n"
                     "[Service]\n"
                     "Type=oneshot\n"
                     "ExecStart="
                  << command << "\n";
    }
    if (both) std::cout << "\n";
    if (both || options.systemd == "timer") {
        if (both) std::cout << "# velora-programma.timer\n";
        std::cout << "[Unit]\n"
                     "Description=Velora: il programma dell'insegna ogni 5 minuti\n"
                     "\n"
                     "[Timer]\n"
                     "OnCalendar=*:0/5\n"
                     "Persistent=true\n"
                     "Unit=velora-programma.service\n"
                     "\n"
                     "[Install]\n"
                     "WantedBy=timers.target\n";
    }
}

std::unique_ptr<Clock> clockFor(const PlanOptions& options) {
    if (options.now) return std::make_unique<FixedClock>(*options.now);
    return std::make_unique<SystemClock>();
}

// The folder the program keeps its data in: the user's application data folder (on Linux
// $XDG_DATA_HOME/Velora/Velora, on Windows the roaming application data).
std::string dataFolder() {
    useProgramNames();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}

}  // namespace

int runPlan(const std::vector<std::string>& args) {
    auto read = readOptions(args, false);
    if (const int* code = std::get_if<int>(&read)) return *code;
    const PlanOptions& options = std::get<PlanOptions>(read);
    const auto plan = loadPlan(options.plan);
    if (!plan) return kExitFailed;
    if (!options.systemd.empty()) {
        printUnits(options);
        return kExitOk;
    }
    const auto clock = clockFor(options);
    const DateTime now = clock->now();
    std::cout << "Alle " << momentText(now) << ": " << dueText(dueNow(*plan, *clock)) << "\n";
    const auto change = nextChange(*plan, now);
    if (change)
        std::cout << "Prossimo cambio alle " << momentText(change->at) << ": "
                  << dueText(change->next) << "\n";
    else
        std::cout << "Nessun altro cambio in programma.\n";
    return kExitOk;
}

int runSendPlan(const std::vector<std::string>& args, const SendFile& sendFile) {
    auto read = readOptions(args, true);
    if (const int* code = std::get_if<int>(&read)) return *code;
    const PlanOptions& options = std::get<PlanOptions>(read);
    if (options.plan.empty()) return usage("Il comando send --plan vuole PIANO.");
    const auto plan = loadPlan(options.plan);
    if (!plan) return kExitFailed;
    const auto clock = clockFor(options);
    const DateTime now = clock->now();

    SystemFiles files;
    const std::string folder = dataFolder();
    if (folder.empty()) {
        std::cerr << "Nessuna cartella dei dati in cui ricordare gli invii." << std::endl;
        return kExitFailed;
    }
    SentRecord record(files, (std::filesystem::path(folder) / SentRecord::kFileName).string());
    std::string port = options.port;
    std::string key = SentRecord::keyForPort(port);
    std::optional<Sign> sign;
    if (!options.sign.empty()) {
        int code = kExitFailed;
        sign = namedSign(options.sign, code);
        if (!sign) return code;
        port = sign->port;
        // A named sign keeps its record when its port changes.
        key = SentRecord::keyForSign(sign->name);
    }
    Modulo1 sequence;
    const PlanStep step = planStep(*plan, now, files, record, key, options.force, sequence);
    switch (step.kind) {
        case PlanStep::Kind::NothingDue:
            std::cout << "Alle " << momentText(now) << " il programma non ha niente da inviare.\n";
            return kExitOk;
        case PlanStep::Kind::Unreadable:
            std::cerr << windows1252::toUtf8(step.problem) << std::endl;
            return kExitFailed;
        case PlanStep::Kind::AlreadyShown:
            std::cout << "Già sull'insegna: " << dueText(step.due) << "\n";
            return kExitOk;
        case PlanStep::Kind::Send:
            break;
    }
    std::cout << "Alle " << momentText(now) << " si invia " << dueText(step.due) << std::endl;
    const int code = sendFile(step.due->file, port, sign);
    if (code != kExitOk) return code;
    if (!record.confirm(key, step.digest, step.due->file)) {
        std::cerr << "Impossibile scrivere " << record.path()
                  << ": la sequenza sarà inviata di nuovo." << std::endl;
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace velora
