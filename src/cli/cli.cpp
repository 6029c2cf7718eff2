#include "cli.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "core/numbers.h"
#include "core/windows1252.h"
#include "files/sequence_file.h"
#include "link/inv_dat.h"
#include "link/sign_messages.h"
#include "platform/system_clock.h"
#include "pty_sign.h"
#include "qt_serial_port.h"

namespace velora {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitNoLink = 2;
constexpr int kExitUsage = 64;
constexpr int kAnswerTimeoutMs = 5000;

const char* const kUsage =
    "Uso: velora-cli COMANDO [OPZIONI]\n"
    "\n"
    "Comandi:\n"
    "  dump FILE.inf              stampa i byte inviati all'insegna per la sequenza, una pagina\n"
    "                             per riga, poi FD\n"
    "  send FILE.inf --port PORTA collega l'insegna, invia la sequenza e stampa la risposta\n"
    "  clock --port PORTA         invia data e ora all'insegna\n"
    "  sign                       insegna virtuale su un nuovo pseudo-terminale: stampa il\n"
    "                             percorso del dispositivo, poi una riga per scambio ricevuto\n"
    "  --help, --version\n"
    "\n"
    "PORTA: un nome di porta (COM1, ttyUSB0), un percorso di dispositivo, o \"Insegna virtuale\".\n"
    "\n"
    "Uscita: 0 riuscito; 1 file illeggibile o risposta errata; 2 porta non apribile o nessuna\n"
    "risposta entro 5 secondi; 64 uso errato.\n";

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
    std::string saveFilePath(const std::string&) override { return {}; }
};

class NoFiles : public Files {
public:
    std::optional<std::string> read(const std::string&, std::size_t) const override {
        return std::nullopt;
    }
    bool replace(const std::string&, const std::string&) override { return false; }
    bool exists(const std::string&) const override { return false; }
};

class ConsoleProgram : public Program {
public:
    [[noreturn]] void end() override { std::exit(kExitFailed); }
    bool openWebPage(const std::string&) override { return false; }
};

std::optional<std::string> readFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return bytes.str();
}

bool loadSequence(const std::string& path, Modulo1& state) {
    const std::optional<std::string> bytes = readFile(path);
    const std::optional<SequenceFile> file = bytes ? parseSequenceFile(*bytes) : std::nullopt;
    if (!file) {
        std::cerr << "File NON trovato!!" << std::endl;
        return false;
    }
    applySequenceFile(state, *file);
    return true;
}

std::string hexLine(const std::vector<std::uint8_t>& bytes) {
    std::string line;
    char text[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(text, sizeof text, "%02X", b);
        if (!line.empty()) line += ' ';
        line += text;
    }
    return line;
}

int dump(const std::string& path) {
    Modulo1 state;
    if (!loadSequence(path, state)) return kExitFailed;
    const PacedStream stream = uploadStream(state);
    const std::vector<std::uint8_t> values = stream.values();
    std::size_t start = 0;
    for (std::size_t end : stream.pageEnds) {
        std::cout << hexLine({values.begin() + start, values.begin() + end}) << '\n';
        start = end;
    }
    std::cout << hexLine({values.begin() + start, values.end()}) << std::endl;
    return kExitOk;
}

// The transmission window without a window: the same model, the same port.
class Session {
public:
    explicit Session(Modulo1& state) : m_state(state) {
        QObject::connect(&m_port, &QtSerialPort::received, &m_port, [this] { deliver(); });
        m_model.onReply = [this](std::uint8_t b) { m_replies.push_back(b); };
    }

    // Opens the port; false, with the reason on standard error, when it cannot be opened.
    bool open(const std::string& port) {
        m_model.choosePort(port);
        m_model.window.show();
        return m_port.portOpen();
    }

    // Runs one exchange with the sign's replies held back until it has gone out, as the window
    // does; false when the line failed.
    template <typename Exchange>
    bool exchange(Exchange&& send) {
        const int before = m_dialogs.messagesShown;
        m_busy = true;
        send();
        m_busy = false;
        deliver();
        return m_dialogs.messagesShown == before;
    }

    // Waits until `done` holds, for at most the answer time-out.
    template <typename Done>
    bool waitFor(Done&& done) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done()) {
            if (elapsed.elapsed() > kAnswerTimeoutMs) return false;
            QEventLoop loop;
            QTimer::singleShot(10, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return true;
    }

    InvDat& model() { return m_model; }
    const std::vector<std::uint8_t>& replies() const { return m_replies; }
    void close() { m_model.Command1.click(); }

private:
    void deliver() {
        if (!m_busy) m_port.raiseReceiveEvents();
    }

    Modulo1& m_state;
    ConsoleDialogs m_dialogs;
    SystemClock m_clock;
    NoFiles m_files;
    ConsoleProgram m_program;
    Services m_services{m_dialogs, m_clock, m_files, m_program};
    QtSerialPort m_port;
    InvDat m_model{m_state, m_services, m_port};
    std::vector<std::uint8_t> m_replies;
    bool m_busy = false;
};

int noAnswer(const char* step) {
    std::cerr << "Nessuna risposta dall'insegna entro 5 secondi (" << step << ")." << std::endl;
    return kExitNoLink;
}

int send(const std::string& path, const std::string& port) {
    Modulo1 state;
    if (!loadSequence(path, state)) return kExitFailed;
    Session session(state);
    if (!session.open(port)) return kExitNoLink;
    InvDat& m = session.model();
    if (state.PageCount == 0) {
        std::cerr << windows1252::toUtf8(m.Manca_Dati.caption()) << std::endl;
        return kExitFailed;
    }
    if (!session.exchange([&] { m.Command7.click(); })) return kExitNoLink;
    if (!session.waitFor([&] { return m.CMDINVIO.enabled(); })) return noAnswer("collegamento");
    const std::size_t repliesBefore = session.replies().size();
    if (!session.exchange([&] { m.CMDINVIO.click(); })) return kExitNoLink;
    // The count is the byte after the 222 that announces it.
    const auto counted = [&] {
        const auto& r = session.replies();
        for (std::size_t i = repliesBefore; i + 1 < r.size(); ++i)
            if (r[i] == kCountFollows) return true;
        return false;
    };
    if (!session.waitFor(counted)) return noAnswer("numero di pagine");
    const std::string result = m.Label7.caption();
    std::cout << windows1252::toUtf8(result) << std::endl;
    session.close();
    return result == decimalText(state.PageCount) + "  Pagine" ? kExitOk : kExitFailed;
}

int clock(const std::string& port) {
    Modulo1 state;
    Session session(state);
    if (!session.open(port)) return kExitNoLink;
    InvDat& m = session.model();
    if (!session.exchange([&] { m.Command3.click(); })) return kExitNoLink;
    if (!session.waitFor([&] { return !session.replies().empty(); })) return noAnswer("data/ora");
    const std::string result = m.Label7.caption();
    std::cout << windows1252::toUtf8(result) << std::endl;
    session.close();
    return result == "Data/Ora OK" ? kExitOk : kExitFailed;
}

int sign() {
    try {
        PtySign pty;
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

int usage(const std::string& problem) {
    std::cerr << problem << "\n\n" << kUsage;
    return kExitUsage;
}

}  // namespace

int runCli(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return kExitOk;
        }
        if (a == "--version") {
            std::cout << "velora-cli " << VELORA_VERSION << std::endl;
            return kExitOk;
        }
    }
    if (args.empty()) return usage("Manca il comando.");

    std::string port;
    std::vector<std::string> operands;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--port") {
            if (i + 1 >= args.size()) return usage("--port vuole il nome della porta.");
            port = args[++i];
        } else if (args[i].rfind("--port=", 0) == 0) {
            port = args[i].substr(7);
        } else {
            operands.push_back(args[i]);
        }
    }
    const std::string& command = args[0];
    if (command == "dump" && operands.size() == 1 && port.empty()) return dump(operands[0]);
    if (command == "sign" && operands.empty() && port.empty()) return sign();
    if (command != "send" && command != "clock")
        return usage("Comando sconosciuto o incompleto: " + command);
    if (port.empty()) return usage("Il comando " + command + " vuole --port PORTA.");

    QCoreApplication app(argc, argv);
    if (command == "send" && operands.size() == 1) return send(operands[0], port);
    if (command == "clock" && operands.empty()) return clock(port);
    return usage("Argomenti non validi per " + command + ".");
}

}  // namespace velora
