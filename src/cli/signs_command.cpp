#include "signs_command.h"

#include <algorithm>
#include <iostream>

#include "cli_support.h"
#include "core/base_dat.h"
#include "platform/system_files.h"
#include "program_places.h"

namespace velora {
namespace {

std::string quoted(const std::string& text) {
    return "«" + text + "»";
}

// The program's signs as the program reads them at start: its signs file, else BASE.dat's sign
// with the port the transmission window last opened.
struct LoadedSigns {
    SystemFiles files;
    SignStore store{files};

    LoadedSigns() {
        useProgramNames();
        store.setPaths(signsFileLocation(), baseDatLocation());
        store.load(6, [] { return rememberedPort(); });
    }

    // Says why the signs cannot be used; false when they can.
    bool unusable() const {
        if (store.usable()) return false;
        std::cerr << (store.problem().empty() ? "Nessuna cartella di configurazione per le insegne."
                                              : store.problem())
                  << std::endl;
        return true;
    }
};

// Characters, not bytes, for the columns of the list.
std::size_t shownWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (char c : utf8) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return width;
}

std::string padded(const std::string& text, std::size_t width) {
    const std::size_t shown = shownWidth(text);
    return text + std::string(width > shown ? width - shown : 0, ' ');
}

int list() {
    LoadedSigns loaded;
    if (loaded.unusable()) return kExitFailed;
    const SignList& signs = loaded.store.list();
    std::size_t nameWidth = 4;
    std::size_t portWidth = 5;
    for (const Sign& sign : signs.signs()) {
        nameWidth = std::max(nameWidth, shownWidth(sign.name));
        portWidth = std::max(portWidth, shownWidth(sign.port));
    }
    std::cout << padded("NOME", nameWidth) << "  " << padded("PORTA", portWidth) << "  SCHEDE\n";
    for (std::size_t i = 0; i < signs.size(); ++i) {
        const Sign& sign = signs.signs()[i];
        std::string notes;
        if (i == signs.currentIndex()) notes += "  in uso";
        if (i == 0) notes += "  BASE.dat";
        std::string line = padded(sign.name, nameWidth) + "  " +
                           padded(sign.port.empty() ? "-" : sign.port, portWidth) + "  " +
                           padded(std::to_string(sign.boards), 6) + notes;
        line.erase(line.find_last_not_of(' ') + 1);
        std::cout << line << '\n';
    }
    return kExitOk;
}

// Makes `change` and says what was done, the sign named as the list keeps it.
int change(const std::string& name, const SignStore::Change& change, const char* done) {
    LoadedSigns loaded;
    if (loaded.unusable()) return kExitFailed;
    std::string kept = name;
    const auto refused = loaded.store.apply([&](SignList& list) {
        if (const Sign* sign = list.find(name)) kept = sign->name;
        auto problem = change(list);
        if (const Sign* sign = list.find(name)) kept = sign->name;
        return problem;
    });
    if (refused) {
        std::cerr << *refused << std::endl;
        return kExitFailed;
    }
    std::cout << "Insegna " << quoted(kept) << ' ' << done << '.' << std::endl;
    return kExitOk;
}

}  // namespace

int runSigns(const std::vector<std::string>& args) {
    if (args.empty()) return usage("Il comando signs vuole list, add o remove.");
    const std::string& what = args[0];
    std::vector<std::string> operands;
    std::optional<std::string> port;
    std::optional<std::string> boards;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--port" || args[i] == "--boards") {
            if (i + 1 >= args.size()) return usage(args[i] + " vuole un valore.");
            (args[i] == "--port" ? port : boards) = args[i + 1];
            ++i;
        } else if (args[i].rfind("--port=", 0) == 0) {
            port = args[i].substr(7);
        } else if (args[i].rfind("--boards=", 0) == 0) {
            boards = args[i].substr(9);
        } else if (args[i].rfind("--", 0) == 0) {
            return usage("Opzione sconosciuta: " + args[i]);
        } else {
            operands.push_back(args[i]);
        }
    }
    if (what != "list" && what != "add" && what != "remove")
        return usage("Il comando signs vuole list, add o remove, non " + what + ".");
    const std::size_t wanted = what == "list" ? 0 : 1;
    if (operands.size() > wanted) return usage("Argomento in più: " + operands[wanted]);
    if (operands.size() < wanted) return usage("Il comando signs " + what + " vuole NOME.");
    if (what != "add" && (port || boards))
        return usage("Il comando signs " + what + " non usa --port né --boards.");

    if (what == "list") return list();
    const std::string name = trimmedSignText(operands[0]);
    if (what == "remove")
        return change(
            name, [&](SignList& l) { return l.remove(name); }, "tolta");
    if (!port || !boards) return usage("Il comando signs add vuole --port PORTA e --boards N.");
    const std::string& b = *boards;
    if (b.empty() || b.size() > 2 || b.find_first_not_of("0123456789") != std::string::npos)
        return usage("--boards vuole un numero di schede da 3 a 8.");
    const Sign sign{name, *port, std::stoi(b)};
    return change(
        name, [&](SignList& l) { return l.add(sign); }, "aggiunta");
}

std::optional<SignList> programSigns() {
    LoadedSigns loaded;
    if (loaded.unusable()) return std::nullopt;
    return loaded.store.list();
}

std::optional<Sign> namedSign(const std::string& name, int& exitCode) {
    const std::optional<SignList> signs = programSigns();
    if (!signs) {
        exitCode = kExitFailed;
        return std::nullopt;
    }
    const Sign* sign = signs->find(name);
    if (!sign) {
        exitCode = usage("Non c'è un'insegna di nome " + quoted(trimmedSignText(name)) +
                         ": velora-cli signs list mostra le insegne.");
        return std::nullopt;
    }
    if (sign->port.empty()) {
        std::cerr << "L'insegna " << quoted(sign->name)
                  << " non ha una porta: indicarla nella finestra Insegne del programma."
                  << std::endl;
        exitCode = kExitNoLink;
        return std::nullopt;
    }
    return *sign;
}

}  // namespace velora
