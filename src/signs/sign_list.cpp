#include "sign_list.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core/base_dat.h"
#include "core/numbers.h"
#include "core/windows1252.h"
#include "link/network_address.h"

namespace velora {
namespace {

constexpr std::size_t kLongestName = 40;
constexpr std::string_view kCurrentMark = "in uso";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string quoted(std::string_view text) {
    return "«" + std::string(text) + "»";
}

// The characters of a UTF-8 text; nothing when it is not well-formed UTF-8.
std::optional<std::u32string> characters(std::string_view text) {
    std::u32string out;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++at;
            continue;
        }
        char32_t character = 0;
        const std::size_t length = windows1252::multiByteAt(text, at, character);
        if (length == 0) return std::nullopt;
        out.push_back(character);
        at += length;
    }
    return out;
}

bool hasControl(const std::u32string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); });
}

// Upper and lower case alike, for the letters of Latin-1 and ASCII: enough for the names of shops
// and places that Italian users give their signs.
char32_t folded(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    return c;
}

std::u32string foldedName(std::string_view name) {
    std::u32string text = characters(name).value_or(std::u32string{});
    std::transform(text.begin(), text.end(), text.begin(), folded);
    return text;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return out;
        start = tab + 1;
    }
}

// The boards written in a signs file: a whole number and nothing else.
std::optional<int> boardsField(std::string_view text) {
    const std::string trimmed = trimmedSignText(text);
    if (trimmed.empty() || trimmed.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : trimmed) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

int Sign::rowChars() const {
    return boards * kRowCharsPerBoard;
}

std::string trimmedSignText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::optional<std::string> signNameProblem(std::string_view name) {
    const std::string trimmed = trimmedSignText(name);
    if (trimmed.empty()) return "Il nome dell'insegna è vuoto.";
    const auto text = characters(trimmed);
    if (!text || hasControl(*text))
        return "Il nome dell'insegna contiene caratteri non ammessi (tabulazioni, a capo, "
               "caratteri di controllo o non UTF-8).";
    if (text->size() > kLongestName)
        return "Il nome dell'insegna è troppo lungo: al più " + decimalText(kLongestName) +
               " caratteri.";
    // A line that starts with # is a comment in the signs file.
    if (trimmed.front() == '#') return "Il nome dell'insegna non può iniziare con #.";
    return std::nullopt;
}

std::optional<std::string> signPortProblem(std::string_view port) {
    const std::string trimmed = trimmedSignText(port);
    if (trimmed.empty()) return std::nullopt;  // not known yet
    const auto text = characters(trimmed);
    if (!text || hasControl(*text))
        return "La porta contiene caratteri non ammessi (tabulazioni, a capo, caratteri di "
               "controllo o non UTF-8).";
    if (isNetworkPortName(trimmed) && !parseNetworkAddress(trimmed))
        return "Porta in rete non valida " + quoted(trimmed) +
               ": si scrive socket://HOST:PORTA o rfc2217://HOST:PORTA.";
    return std::nullopt;
}

std::optional<std::string> signBoardsProblem(int boards) {
    if (boards < kFewestBoards || boards > kMostBoards)
        return "Numero di schede non valido: scegliere un numero da 3 a 8.";
    return std::nullopt;
}

bool sameSignName(std::string_view a, std::string_view b) {
    return foldedName(trimmedSignText(a)) == foldedName(trimmedSignText(b));
}

SignList SignList::firstSign(int boards, const std::string& port) {
    SignList list;
    Sign sign;
    sign.name = kFirstSignName;
    sign.port = signPortProblem(port) ? std::string() : trimmedSignText(port);
    sign.boards = signBoardsProblem(boards) ? 6 : boards;
    list.m_signs.push_back(std::move(sign));
    return list;
}

std::optional<std::size_t> SignList::indexOf(std::string_view name) const {
    for (std::size_t i = 0; i < m_signs.size(); ++i) {
        if (sameSignName(m_signs[i].name, name)) return i;
    }
    return std::nullopt;
}

const Sign* SignList::find(std::string_view name) const {
    const auto index = indexOf(name);
    return index ? &m_signs[*index] : nullptr;
}

namespace {

std::string noSuchSign(std::string_view name) {
    return "Non c'è un'insegna di nome " + quoted(trimmedSignText(name)) + ".";
}

}  // namespace

std::optional<std::string> SignList::add(const Sign& sign) {
    if (auto problem = signNameProblem(sign.name)) return problem;
    if (auto problem = signPortProblem(sign.port)) return problem;
    if (auto problem = signBoardsProblem(sign.boards)) return problem;
    if (const Sign* other = find(sign.name))
        return "C'è già un'insegna di nome " + quoted(other->name) + ".";
    m_signs.push_back({trimmedSignText(sign.name), trimmedSignText(sign.port), sign.boards});
    return std::nullopt;
}

std::optional<std::string> SignList::rename(std::string_view name, std::string_view newName) {
    const auto index = indexOf(name);
    if (!index) return noSuchSign(name);
    if (auto problem = signNameProblem(newName)) return problem;
    const auto other = indexOf(newName);
    // Only the letters' case may change on the sign's own name.
    if (other && *other != *index)
        return "C'è già un'insegna di nome " + quoted(m_signs[*other].name) + ".";
    m_signs[*index].name = trimmedSignText(newName);
    return std::nullopt;
}

std::optional<std::string> SignList::edit(std::string_view name, std::string_view port,
                                          int boards) {
    const auto index = indexOf(name);
    if (!index) return noSuchSign(name);
    if (auto problem = signPortProblem(port)) return problem;
    if (auto problem = signBoardsProblem(boards)) return problem;
    m_signs[*index].port = trimmedSignText(port);
    m_signs[*index].boards = boards;
    return std::nullopt;
}

std::optional<std::string> SignList::remove(std::string_view name) {
    const auto index = indexOf(name);
    if (!index) return noSuchSign(name);
    if (m_signs.size() == 1)
        return "L'insegna " + quoted(m_signs[*index].name) +
               " è l'unica: si può rinominare o modificare, non togliere.";
    m_signs.erase(m_signs.begin() + static_cast<std::ptrdiff_t>(*index));
    if (m_current == *index) {
        m_current = 0;
    } else if (m_current > *index) {
        --m_current;
    }
    return std::nullopt;
}

std::optional<std::string> SignList::choose(std::string_view name) {
    const auto index = indexOf(name);
    if (!index) return noSuchSign(name);
    m_current = *index;
    return std::nullopt;
}

std::string SignsFileError::text() const {
    return line == 0 ? message : "riga " + decimalText(line) + ": " + message;
}

std::string signsFileText(const SignList& list) {
    std::string text =
        "# Le insegne di Velora, una per riga: nome, porta e schede LED per riga (da 3 a 8),\n"
        "# separati da una tabulazione; \"in uso\" dopo l'insegna scelta. La prima è quella\n"
        "# di BASE.dat.\n";
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Sign& sign = list.signs()[i];
        text += sign.name + '\t' + sign.port + '\t' + decimalText(sign.boards);
        if (i == list.currentIndex()) text += '\t' + std::string(kCurrentMark);
        text += '\n';
    }
    return text;
}

std::variant<SignList, SignsFileError> parseSignsFile(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    SignList list;
    std::optional<std::size_t> current;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (trimmedSignText(line).empty() || trimmedSignText(line).front() == '#') continue;

        const std::vector<std::string_view> parts = fields(line);
        if (parts.size() < 3 || parts.size() > 4)
            return SignsFileError{number,
                                  "si attendono nome, porta e schede separati da tabulazioni"};
        const auto boards = boardsField(parts[2]);
        if (!boards)
            return SignsFileError{number, "numero di schede non valido " + quoted(parts[2])};
        if (parts.size() == 4) {
            if (trimmedSignText(parts[3]) != kCurrentMark)
                return SignsFileError{number, "campo sconosciuto " + quoted(parts[3]) +
                                                  " (dopo le schede può stare solo \"in uso\")"};
            if (current) return SignsFileError{number, "un'altra insegna è già \"in uso\""};
            current = list.size();
        }
        if (auto problem = list.add({std::string(parts[0]), std::string(parts[1]), *boards})) {
            // The rules' own words, without their full stop, after the line's number.
            std::string message = *problem;
            if (!message.empty() && message.back() == '.') message.pop_back();
            if (!message.empty()) message[0] = static_cast<char>(std::tolower(message[0]));
            return SignsFileError{number, message};
        }
    }
    if (list.m_signs.empty()) return SignsFileError{0, "nessuna insegna nel file"};
    list.m_current = current.value_or(0);
    return list;
}

void SignStore::setPaths(std::string signsFile, std::string baseDatFile) {
    m_signsFile = std::move(signsFile);
    m_baseDatFile = std::move(baseDatFile);
}

void SignStore::load(int boardsInUse, std::function<std::string()> port) {
    m_problem.clear();
    m_fromFile = false;
    m_pendingPort = nullptr;
    std::optional<int> baseDatBoards;
    if (!m_baseDatFile.empty()) {
        const auto contents = m_files.read(m_baseDatFile, kBaseDatReadLimit);
        if (const auto rowChars = contents ? parseBaseDat(*contents) : std::nullopt)
            baseDatBoards = *rowChars / kRowCharsPerBoard;
    }
    const int firstBoards = baseDatBoards.value_or(boardsInUse);
    m_list = SignList::firstSign(firstBoards, {});
    const Files::Kind kind = inUse() ? m_files.kind(m_signsFile) : Files::Kind::Missing;
    if (kind == Files::Kind::Missing) {
        m_pendingPort = std::move(port);
        return;
    }
    const std::string where = "Il file delle insegne " + m_signsFile;
    const std::string kept = " Il file non è stato cambiato: correggerlo o spostarlo altrove.";
    const auto contents =
        kind == Files::Kind::File ? m_files.read(m_signsFile, kReadLimit + 1) : std::nullopt;
    if (!contents) {
        m_problem = where + " non si può leggere." + kept;
        return;
    }
    if (contents->size() > kReadLimit) {
        m_problem = where + " è troppo grande (oltre 1 MiB)." + kept;
        return;
    }
    auto parsed = parseSignsFile(*contents);
    if (const auto* error = std::get_if<SignsFileError>(&parsed)) {
        m_problem = where + " è danneggiato, " + error->text() + "." + kept;
        return;
    }
    m_list = std::get<SignList>(std::move(parsed));
    m_fromFile = true;
    // BASE.dat is the first sign's own setting; whatever wrote it last has the say.
    if (baseDatBoards && *baseDatBoards != m_list.baseDatSign().boards) {
        const Sign first = m_list.baseDatSign();
        m_list.edit(first.name, first.port, *baseDatBoards);
    }
}

const SignList& SignStore::list() const {
    if (m_pendingPort) {
        // Only the port is new: the first sign is as load() made it.
        const std::string port = std::exchange(m_pendingPort, nullptr)();
        m_list = SignList::firstSign(m_list.baseDatSign().boards, port);
    }
    return m_list;
}

std::optional<std::string> SignStore::apply(const Change& change) {
    if (!inUse()) return std::string("L'elenco delle insegne non è disponibile.");
    if (!m_problem.empty()) return m_problem;
    SignList changed = list();
    if (auto refused = change(changed)) return refused;
    // BASE.dat always tells the first sign's width, for older versions and for the next start.
    const int rowChars = changed.baseDatSign().rowChars();
    std::optional<std::string> baseDatBefore;
    if (!m_baseDatFile.empty()) baseDatBefore = m_files.read(m_baseDatFile, kBaseDatReadLimit);
    const auto baseDatChars = baseDatBefore ? parseBaseDat(*baseDatBefore) : std::nullopt;
    const bool writeBaseDat = !m_baseDatFile.empty() && baseDatChars != rowChars;
    if (writeBaseDat) {
        if (!m_files.replace(m_baseDatFile, baseDatBytes(rowChars)))
            return "Impossibile scrivere il file " + m_baseDatFile +
                   ": le insegne non sono state cambiate.";
    }
    if (!m_files.replace(m_signsFile, signsFileText(changed))) {
        // BASE.dat goes back to what it held, so that both files still tell the same.
        if (writeBaseDat && baseDatBefore) m_files.replace(m_baseDatFile, *baseDatBefore);
        return "Impossibile scrivere il file delle insegne " + m_signsFile +
               ": le insegne non sono state cambiate.";
    }
    m_list = std::move(changed);
    m_fromFile = true;
    return std::nullopt;
}

}  // namespace velora
