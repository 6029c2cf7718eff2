#include "cli.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "cli_support.h"
#include "core/base_dat.h"
#include "core/numbers.h"
#include "core/windows1252.h"
#include "files/page_fit.h"
#include "link/inv_dat.h"
#include "link/journal.h"
#include "link/send_to_signs.h"
#include "link_ports.h"
#include "plan_command.h"
#include "platform/system_clock.h"
#include "platform/system_files.h"
#include "protocol/hex_line.h"
#include "protocol/sign_messages.h"
#include "render.h"
#include "send_many.h"
#include "signs_command.h"
#include "velora_version.h"
#ifndef _WIN32
#include "pty_sign.h"
#include "stream_sign.h"
#endif

namespace velora {
namespace {

// Messages of the window model go to standard error; questions take their preset answer, so the
// error report never ends the program by itself.
class ConsoleDialogs : public Dialogs {
public:
    int messagesShown = 0;

    MessageAnswer messageBox(const std::string& text, const std::string&, MessageIcon,
                             MessageButtons buttons) override {
        ++messagesShown;
        std::cerr << windows1252::toUtf8(text) << std::endl;
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    std::string inputBox(const std::string&, const std::string&,
                         const std::string& defaultText) override {
        return defaultText;
    }
    std::string openFilePath(const std::string&) override { return {}; }
    std::string saveFilePath(const std::string&, const std::string&) override { return {}; }
};

class ConsoleProgram : public Program {
public:
    [[noreturn]] void end() override { std::exit(kExitFailed); }
    bool openWebPage(const std::string&) override { return false; }
};

int dump(const std::string& path) {
    Modulo1 state;
    if (!loadSequence(path, state)) return kExitFailed;
    // One line a page record, then the end byte, as the journal's TX lines.
    const UploadMessage upload = uploadMessage(state);
    const std::span<const std::uint8_t> bytes(upload.bytes);
    std::size_t start = 0;
    for (std::size_t end : upload.pageEnds) {
        std::cout << hexLine(bytes.subspan(start, end - start)) << '\n';
        start = end;
    }
    std::cout << hexLine(bytes.subspan(start)) << '\n';
    return kExitOk;
}

// The transmission window without a window: the same model, the same ports.
class Session {
public:
    explicit Session(Modulo1& state) : m_state(state) {
        QObject::connect(&m_ports, &LinkPorts::received, &m_ports, [this] { deliver(); });
        QObject::connect(&m_ports, &LinkPorts::lineLost, &m_ports, [this] {
            m_lineLost = true;
            deliver();
        });
    }

    // Opens the port; false, with the reason on standard error, when it cannot be opened.
    bool open(const std::string& port) {
        m_model.choosePort(port);
        m_model.window.show();
        if (m_ports.chosen.portOpen()) return true;
        printEsito();
        return false;
    }

    // Runs one exchange with the sign's replies held back until it has gone out, as the window
    // does, then waits for its answers. Waiting sleeps in the event loop until a reply, a lost
    // line or the time-out wakes it.
    template <typename Exchange>
    InvDat::Outcome exchange(Exchange&& send) {
        m_busy = true;
        send();
        m_busy = false;
        deliver();
        if (m_model.outcome() == InvDat::Outcome::Waiting) {
            // The model's own wait for the answer, ticked as the window ticks it.
            QEventLoop loop;
            QTimer tick;
            QObject::connect(&tick, &QTimer::timeout, &loop, [this] {
                m_model.Attesa.onTimer();
                if (m_waiting && m_model.outcome() != InvDat::Outcome::Waiting) m_waiting->quit();
            });
            tick.start(m_model.Attesa.interval());
            m_waiting = &loop;
            loop.exec();
            m_waiting = nullptr;
        }
        return m_model.outcome();
    }

    // Why the exchange failed, as the window shows it, on standard error.
    void printEsito() const {
        if (m_model.Esito.visible())
            std::cerr << windows1252::toUtf8(m_model.Esito.caption()) << std::endl;
    }

    bool lineWasLost() const { return m_lineWasLost; }
    // Writes the journal of the session to `path`, if one was asked for; false when it could
    // not be written.
    bool writeLog(const std::string& path) const {
        if (path.empty()) return true;
        // Whole or not at all: a journal that was there stays as it was when this one fails.
        if (!writeFileWhole(path, m_model.journal.text())) return true;
        std::cerr << "Impossibile scrivere il registro in " << path << "." << std::endl;
        return false;
    }
    InvDat& model() { return m_model; }
    void close() { m_model.Command1.click(); }

private:
    void deliver() {
        if (m_busy) return;
        m_ports.chosen.raiseReceiveEvents();
        if (m_lineLost) {
            m_lineLost = false;
            m_lineWasLost = true;
            m_ports.chosen.raiseLineLost();
        }
        if (m_waiting && m_model.outcome() != InvDat::Outcome::Waiting) m_waiting->quit();
    }

    Modulo1& m_state;
    ConsoleDialogs m_dialogs;
    SystemClock m_clock;
    SystemFiles m_files;
    ConsoleProgram m_program;
    Services m_services{m_dialogs, m_clock, m_files, m_program};
    LinkPorts m_ports{m_clock};
    InvDat m_model{m_state, m_services, m_ports.chosen};
    QEventLoop* m_waiting = nullptr;
    bool m_busy = false;
    bool m_lineLost = false;
    bool m_lineWasLost = false;
};

// What an exchange that did not end well means for the exit code, said on standard error.
int failed(Session& session, const char* step) {
    InvDat& m = session.model();
    if (m.outcome() == InvDat::Outcome::Waiting || m.outcome() == InvDat::Outcome::TimedOut) {
        std::cerr << "Nessuna risposta dall'insegna entro 5 secondi (" << step << ")." << std::endl;
        session.printEsito();
        return kExitNoLink;
    }
    if (m.Label7.visible()) std::cout << windows1252::toUtf8(m.Label7.caption()) << std::endl;
    session.printEsito();
    return session.lineWasLost() || !m.MSComm1.portOpen() ? kExitNoLink : kExitFailed;
}

// What a run of send or clock asked for beyond the port.
struct LinkOptions {
    std::string port;
    std::optional<Sign> sign;  // the named sign the port is taken from, with --sign
    std::string log;
    bool clock = false;
};

// Runs `exchanges` and writes the journal however they ended; a journal that cannot be written
// fails a run that went well.
int withLog(Session& session, const LinkOptions& options, const std::function<int()>& exchanges) {
    const int code = exchanges();
    if (!session.writeLog(options.log) && code == kExitOk) return kExitFailed;
    return code;
}

int send(const std::string& path, const LinkOptions& options) {
    Modulo1 state;
    if (!loadSequence(path, state)) return kExitFailed;
    // A sequence for another width goes to the sign brought to its width, as to several signs,
    // and only when no text is lost on the way.
    if (options.sign && state.PageCount > 0 && state.RowChars != options.sign->rowChars()) {
        const int madeFor = state.RowChars / kRowCharsPerBoard;
        const std::vector<int> cut = bringToWidth(state, options.sign->rowChars());
        if (!cut.empty()) {
            std::cerr << "La sequenza è per " << madeFor << " schede, l'insegna «"
                      << options.sign->name << "» ne ha " << options.sign->boards << ": "
                      << pagesBeyond(cut, options.sign->rowChars()) << ". Non inviata."
                      << std::endl;
            return kExitFailed;
        }
    }
    Session session(state);
    return withLog(session, options, [&] {
        if (!session.open(options.port)) return kExitNoLink;
        InvDat& m = session.model();
        if (state.PageCount == 0) {
            std::cerr << windows1252::toUtf8(m.Manca_Dati.caption()) << std::endl;
            return kExitFailed;
        }
        if (session.exchange([&] { m.Command7.click(); }) != InvDat::Outcome::Done)
            return failed(session, "collegamento");
        // With --clock the confirmed upload is followed by the clock within the same exchange.
        m.DataOraDopoInvio.setValue(options.clock ? 1 : 0);
        const InvDat::Outcome outcome = session.exchange([&] { m.CMDINVIO.click(); });
        if (outcome != InvDat::Outcome::Done)
            return failed(session, m.exchange() == InvDat::Exchange::DateTime ? "data/ora"
                                                                              : "numero di pagine");
        std::cout << windows1252::toUtf8(m.Label7.caption()) << std::endl;
        if (options.clock) std::cout << windows1252::toUtf8(m.UltimaOra.caption()) << std::endl;
        session.close();
        return kExitOk;
    });
}

int clock(const LinkOptions& options) {
    Modulo1 state;
    Session session(state);
    return withLog(session, options, [&] {
        if (!session.open(options.port)) return kExitNoLink;
        InvDat& m = session.model();
        if (session.exchange([&] { m.Command3.click(); }) != InvDat::Outcome::Done)
            return failed(session, "data/ora");
        std::cout << windows1252::toUtf8(m.Label7.caption()) << std::endl;
        session.close();
        return kExitOk;
    });
}

// Where `sign` serves the virtual sign: a new pseudo-terminal unless told otherwise.
struct SignOptions {
    std::string listen;
    bool telnet = false;
    std::string device;
    int boards = 0;  // the sign's LED boards a row, with --boards; 0 for any width
};

#ifdef _WIN32
// The virtual sign reads its line with the calls of Linux (a pseudo-terminal of its own, a serial
// device, TCP clients): on Windows a sign for velora-cli runs on a Linux computer, reached through
// a COM port or the network.
int sign(const SignOptions&) {
    std::cerr << "Il comando sign funziona solo su Linux: l'insegna virtuale usa uno "
                 "pseudo-terminale, che Windows non ha. Avviala su un computer Linux e "
                 "collegati con --port."
              << std::endl;
    return kExitFailed;
}
#else
int sign(const SignOptions& options) {
    const auto say = [](const std::string& line) {
        std::cout << windows1252::toUtf8(line) << std::endl;
    };
    if (!options.listen.empty() || !options.device.empty()) {
        VirtualSign virtualSign;
        virtualSign.rowChars = options.boards * kRowCharsPerBoard;
        virtualSign.onExchange = say;
        return options.device.empty() ? serveSignOnTcp(options.listen, options.telnet, virtualSign)
                                      : serveSignOnDevice(options.device, virtualSign);
    }
    try {
        PtySign pty;
        pty.sign().rowChars = options.boards * kRowCharsPerBoard;
        pty.sign().onExchange = [](const std::string& line) {
            std::cout << windows1252::toUtf8(line) << std::endl;
        };
        std::cout << pty.devicePath() << std::endl;
        pty.run();
        return kExitOk;
    } catch (const std::exception& error) {
        std::cerr << "Impossibile creare lo pseudo-terminale: " << error.what() << std::endl;
        return kExitNoLink;
    }
}
#endif

int dispatch(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return kExitOk;
        }
        if (a == "--version") {
            std::cout << "velora-cli " << VELORA_VERSION << '\n';
            return kExitOk;
        }
    }
    if (args.empty()) return usage("Manca il comando.");
    if (args[0] == "render") return runRender({args.begin() + 1, args.end()});
    if (args[0] == "plan") return runPlan({args.begin() + 1, args.end()});
    if (args[0] == "send" && std::find(args.begin(), args.end(), "--plan") != args.end()) {
        QCoreApplication app(argc, argv);
        return runSendPlan(
            {args.begin() + 1, args.end()},
            [](const std::string& file, const std::string& port, const std::optional<Sign>& sign) {
                LinkOptions link;
                link.port = port;
                link.sign = sign;
                return send(file, link);
            });
    }
    if (args[0] == "signs") return runSigns({args.begin() + 1, args.end()});

    std::string port;
    std::string signName;
    std::vector<std::string> signNames;  // every --sign, in order
    bool allSigns = false;
    SignOptions signOptions;
    LinkOptions link;
    bool linkOptionGiven = false;
    std::vector<std::string> operands;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--log") {
            if (i + 1 >= args.size()) return usage("--log vuole il nome del file.");
            link.log = args[++i];
            linkOptionGiven = true;
        } else if (args[i].rfind("--log=", 0) == 0) {
            link.log = args[i].substr(6);
            linkOptionGiven = true;
        } else if (args[i] == "--clock") {
            link.clock = true;
            linkOptionGiven = true;
        } else if (args[i] == "--listen") {
            if (i + 1 >= args.size()) return usage("--listen vuole HOST:PORTA.");
            signOptions.listen = args[++i];
        } else if (args[i] == "--rfc2217") {
            signOptions.telnet = true;
        } else if (args[i] == "--boards" && args[0] == "sign") {
            const std::string boards = i + 1 < args.size() ? args[++i] : std::string();
            if (boards.size() != 1 || boards[0] < '3' || boards[0] > '8')
                return usage("--boards vuole il numero di schede, da 3 a 8.");
            signOptions.boards = boards[0] - '0';
        } else if (args[i] == "--port") {
            if (i + 1 >= args.size()) return usage("--port vuole il nome della porta.");
            port = args[++i];
        } else if (args[i].rfind("--port=", 0) == 0) {
            port = args[i].substr(7);
        } else if (args[i] == "--sign" || args[i].rfind("--sign=", 0) == 0) {
            if (args[i] == "--sign" && i + 1 >= args.size())
                return usage("--sign vuole il nome dell'insegna.");
            signName = args[i] == "--sign" ? args[++i] : args[i].substr(7);
            if (signName.empty()) return usage("--sign vuole il nome dell'insegna.");
            signNames.push_back(signName);
        } else if (args[i] == "--all-signs") {
            allSigns = true;
        } else {
            operands.push_back(args[i]);
        }
    }
    const std::string& command = args[0];
    if (command != "dump" && command != "sign" && command != "send" && command != "clock")
        return usage("Comando sconosciuto: " + command);
    // How many operands each command takes: a file for dump and send, nothing else.
    const std::size_t wanted = command == "dump" || command == "send" ? 1 : 0;
    if (operands.size() > wanted) return usage("Argomento in più: " + operands[wanted]);
    if (operands.size() < wanted) return usage("Il comando " + command + " vuole FILE.inf.");
    // Several signs, or every one: the send to many.
    if (signNames.size() > 1 || allSigns) {
        if (command != "send") return usage("Il comando " + command + " usa una sola insegna.");
        if (allSigns && !signNames.empty()) return usage("--all-signs vale da solo, senza --sign.");
        if (!port.empty()) return usage("Il comando send usa --port o --sign, non entrambi.");
        if (link.clock) return usage("--clock vale con una sola insegna.");
        QCoreApplication app(argc, argv);
        return sendToNamedSigns(operands[0], signNames, link.log);
    }
    const bool needsPort = command == "send" || command == "clock";
    if (!needsPort && !signName.empty()) return usage("Il comando " + command + " non usa --sign.");
    if (!port.empty() && !signName.empty())
        return usage("Il comando " + command + " usa --port o --sign, non entrambi.");
    if (needsPort && port.empty() && signName.empty())
        return usage("Il comando " + command + " vuole --port PORTA o --sign NOME.");
    if (command == "sign") {
        signOptions.device = port;
        port.clear();
        if (!signOptions.listen.empty() && !signOptions.device.empty())
            return usage("Il comando sign usa --listen o --port, non entrambi.");
        if (signOptions.telnet && signOptions.listen.empty())
            return usage("--rfc2217 vale solo con --listen.");
    } else if (!signOptions.listen.empty() || signOptions.telnet) {
        return usage("Il comando " + command + " non usa --listen né --rfc2217.");
    }
    if (!needsPort && !port.empty()) return usage("Il comando " + command + " non usa --port.");
    if (!needsPort && linkOptionGiven)
        return usage("Il comando " + command + " non usa --log né --clock.");
    if (command == "clock" && link.clock) return usage("Il comando clock non usa --clock.");
    link.port = port;
    if (!signName.empty()) {
        // The sign's own port, and its width for the sequence.
        int code = kExitOk;
        const std::optional<Sign> sign = namedSign(signName, code);
        if (!sign) return code;
        link.port = sign->port;
        link.sign = *sign;
    }

    if (command == "dump") return dump(operands[0]);
    if (command == "sign") return sign(signOptions);
    QCoreApplication app(argc, argv);
    if (command == "send") return send(operands[0], link);
    return clock(link);
}

}  // namespace

int runCli(int argc, char* argv[]) {
    const int code = dispatch(argc, argv);
    // Output that did not reach its file (a full disk, a closed pipe) is a failure too.
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::cerr << "Impossibile scrivere l'uscita." << std::endl;
        return code == kExitOk ? kExitFailed : code;
    }
    return code;
}

}  // namespace velora
