#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/files.h"

namespace velora {

// The named signs ("Insegne"): a shop's sign at the door and the one at the counter, or the
// twenty signs a technician looks after, each with its own port and its own number of LED boards.
// Names and ports are UTF-8, as the user typed them and as the signs file keeps them.

struct Sign {
    std::string name;  // shown to the user; unique in a list, whatever the letters' case
    // As the transmission window takes it: a serial port, socket:// or rfc2217://; empty while
    // it is not known yet (nothing can be sent to the sign then).
    std::string port;
    int boards = 6;  // LED boards per row, 3 to 8

    int rowChars() const;  // the characters of a fixed row: three a board
    bool operator==(const Sign&) const = default;
};

// The sign that the BASE.dat in use becomes when there is no signs file yet.
inline constexpr const char* kFirstSignName = "Insegna";
// The file in the configuration folder that keeps the list.
inline constexpr const char* kSignsFileName = "insegne.txt";

// Each rule on its own, as every change applies it: why the value is refused, or nothing when it
// is accepted. A name and a port are taken with the blanks around them removed. Every message of
// this file is Italian text in UTF-8.
std::optional<std::string> signNameProblem(std::string_view name);
std::optional<std::string> signPortProblem(std::string_view port);
std::optional<std::string> signBoardsProblem(int boards);
// The name and the port as they are kept: without the blanks around them.
std::string trimmedSignText(std::string_view text);
// Whether two names name the same sign: letters compared without their case (accented ones too).
bool sameSignName(std::string_view a, std::string_view b);

// Why a signs file cannot be read: the line (from 1; 0 for the file as a whole) and what is wrong.
struct SignsFileError {
    int line = 0;
    std::string message;

    std::string text() const;  // "riga 3: ..." or the message alone
};

// The signs in the user's order, never empty; the first is the one that BASE.dat belongs to, and
// one of them is the current sign, the one the editor composes for. Every change keeps the rules
// (names not empty and unique, a well-formed port, 3 to 8 boards) or is refused as a whole: it
// answers why, in Italian, and the list stays as it was.
class SignList {
public:
    // The list of an installation without a signs file: the one sign "Insegna" with the boards of
    // BASE.dat and the port the transmission window last opened (left empty when the rules refuse
    // it). `boards` outside 3 to 8 becomes 6.
    static SignList firstSign(int boards, const std::string& port);

    const std::vector<Sign>& signs() const { return m_signs; }
    std::size_t size() const { return m_signs.size(); }
    // The sign of that name, whatever the case of its letters; nothing when there is none.
    const Sign* find(std::string_view name) const;
    std::optional<std::size_t> indexOf(std::string_view name) const;

    const Sign& current() const { return m_signs[m_current]; }
    std::size_t currentIndex() const { return m_current; }
    // The sign that BASE.dat is written for: always the first.
    const Sign& baseDatSign() const { return m_signs.front(); }

    // Each answers why the change is refused, or nothing when it is made.
    std::optional<std::string> add(const Sign& sign);
    std::optional<std::string> rename(std::string_view name, std::string_view newName);
    // New port and boards for the sign `name`.
    std::optional<std::string> edit(std::string_view name, std::string_view port, int boards);
    // The last sign cannot go. When the first goes, BASE.dat belongs to the next; when the current
    // goes, the first becomes current.
    std::optional<std::string> remove(std::string_view name);
    std::optional<std::string> choose(std::string_view name);

    bool operator==(const SignList&) const = default;

private:
    friend std::variant<SignList, SignsFileError> parseSignsFile(std::string_view text);
    SignList() = default;

    std::vector<Sign> m_signs;
    std::size_t m_current = 0;
};

// The signs file: UTF-8 text, one sign a line, its name, port and boards separated by a tab, and
// "in uso" as a fourth field on the current sign's line; lines starting with # are comments.
std::string signsFileText(const SignList& list);

// Reads a signs file's text whole: a line that breaks a rule refuses the file, naming the line.
std::variant<SignList, SignsFileError> parseSignsFile(std::string_view text);

// The list as the program and velora-cli keep it: the signs file in the configuration folder, and
// BASE.dat, which is the first sign's own setting. Reading and writing go through the files
// service: a file is written whole or not at all.
class SignStore {
public:
    explicit SignStore(Files& files) : m_files(files) {}
    SignStore(const SignStore&) = delete;
    SignStore& operator=(const SignStore&) = delete;

    // Where the signs file and BASE.dat are. Until they are set the store is not in use: the
    // program then works with BASE.dat alone, as it always has.
    void setPaths(std::string signsFile, std::string baseDatFile);
    bool inUse() const { return !m_signsFile.empty(); }
    const std::string& signsFile() const { return m_signsFile; }
    const std::string& baseDatFile() const { return m_baseDatFile; }

    // Reads the list. Without a signs file it is SignList::firstSign(boards of BASE.dat, `port`),
    // `boardsInUse` standing in for a BASE.dat that is missing or unreadable. A BASE.dat that
    // holds a width gives the first sign its boards: an older version of the program may have
    // changed it. A signs file that cannot be read is left as it is, and the list refuses every
    // change until it is mended: problem() says why.
    // The port is asked for only when there is no signs file, and only the first time the list
    // is: finding the system's ports takes a while, and the editor's start does not need it.
    void load(int boardsInUse, std::function<std::string()> port);
    void load(int boardsInUse, const std::string& port) {
        load(boardsInUse, [port] { return port; });
    }
    // Whether the list came from the signs file (rather than from BASE.dat alone).
    bool fromFile() const { return m_fromFile; }
    // Why the signs file cannot be used, in Italian; empty when it can.
    const std::string& problem() const { return m_problem; }
    bool usable() const { return inUse() && m_problem.empty(); }
    const SignList& list() const;

    // Runs `change` on a copy of the list; when it is made, writes BASE.dat (unless it holds the
    // first sign's width already) and then the signs file, and keeps the copy. Answers why not,
    // the list and both files staying as they were: the change's own refusal, a damaged file, or
    // a file that could not be written.
    using Change = std::function<std::optional<std::string>(SignList&)>;
    std::optional<std::string> apply(const Change& change);

    // The signs file read at most this far; a larger one is refused as damaged.
    static constexpr std::size_t kReadLimit = std::size_t{1024} * 1024;

private:
    Files& m_files;
    std::string m_signsFile;
    std::string m_baseDatFile;
    // Without a signs file, the first sign's port is found on the first reading of the list.
    mutable SignList m_list = SignList::firstSign(6, {});
    mutable std::function<std::string()> m_pendingPort;
    bool m_fromFile = false;
    std::string m_problem;
};

}  // namespace velora
