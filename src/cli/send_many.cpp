#include "send_many.h"

#include <iostream>

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include "cli_support.h"
#include "core/windows1252.h"
#include "link_ports.h"
#include "platform/system_clock.h"
#include "platform/system_files.h"
#include "signs_command.h"

namespace velora {
namespace {

// Outside a round nothing asks the user anything; inside one, every message becomes a reason.
class QuietDialogs : public Dialogs {
public:
    MessageAnswer messageBox(const std::string& text, const std::string&, MessageIcon,
                             MessageButtons buttons) override {
        std::cerr << windows1252::toUtf8(text) << std::endl;
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    std::string inputBox(const std::string&, const std::string&,
                         const std::string& defaultText) override {
        return defaultText;
    }
    std::string openFilePath(const std::string&) override { return {}; }
    std::string saveFilePath(const std::string&, const std::string&) override { return {}; }
};

class QuietProgram : public Program {
public:
    [[noreturn]] void end() override { std::exit(kExitFailed); }
    bool openWebPage(const std::string&) override { return false; }
};

std::string line(const SignSend& send) {
    std::string text = send.target.name + '\t' + send.target.port + '\t' + resultWords(send);
    if (!send.reason.empty()) text += '\t' + send.reason;
    return text;
}

}  // namespace

int sendToMany(const std::string& path, const std::vector<SignTarget>& targets,
               const std::string& log) {
    Modulo1 state;
    if (!loadSequence(path, state)) return kExitFailed;
    QuietDialogs dialogs;
    SystemClock clock;
    SystemFiles files;
    QuietProgram program;
    Services services{dialogs, clock, files, program};
    LinkPorts ports(clock);
    SendToSigns round(services, ports.chosen);

    QEventLoop loop;
    // From the event loop, never inside the port's own signal (see SendManyView).
    QObject::connect(
        &ports, &LinkPorts::received, &loop, [&] { round.received(); }, Qt::QueuedConnection);
    QObject::connect(
        &ports, &LinkPorts::lineLost, &loop, [&] { round.lineLost(); }, Qt::QueuedConnection);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] { round.tick(); });
    // Each sign's line as soon as its turn is over: a round of many signs takes a while.
    std::size_t told = 0;
    round.onChanged = [&] {
        const std::vector<SignSend>& sends = round.sends();
        while (told < sends.size() && sends[told].result != SendResult::Pending &&
               sends[told].result != SendResult::Sending)
            std::cout << line(sends[told++]) << std::endl;
        if (!round.running()) loop.quit();
    };
    round.start(state, targets);
    if (round.running()) {
        tick.start(SendToSigns::kTickMs);
        loop.exec();
    }
    ports.close();
    int code = round.allConfirmed() ? kExitOk : kExitNoLink;
    if (!log.empty()) {
        // Whole or not at all: a journal that was there stays as it was when this one fails.
        if (writeFileWhole(log, round.link().journal.text())) {
            std::cerr << "Impossibile scrivere il registro in " << log << "." << std::endl;
            if (code == kExitOk) code = kExitFailed;
        }
    }
    return code;
}

int sendToNamedSigns(const std::string& path, const std::vector<std::string>& names,
                     const std::string& log) {
    const std::optional<SignList> signs = programSigns();
    if (!signs) return kExitFailed;
    std::vector<SignTarget> targets;
    const auto target = [](const Sign& sign) {
        return SignTarget{sign.name, sign.port, sign.boards};
    };
    if (names.empty())
        for (const Sign& sign : signs->signs()) targets.push_back(target(sign));
    for (const std::string& name : names) {
        const Sign* sign = signs->find(name);
        if (!sign)
            return usage("Non c'è un'insegna di nome «" + trimmedSignText(name) +
                         "»: velora-cli signs list mostra le insegne.");
        targets.push_back(target(*sign));
    }
    return sendToMany(path, targets, log);
}

}  // namespace velora
