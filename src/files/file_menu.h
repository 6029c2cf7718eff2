#pragma once

#include <functional>
#include <optional>
#include <string>

#include "editor/editor_window.h"
#include "sequence_file.h"

namespace velora {

// A sequence file read, or why it could not be: the file's name and the reason, in Windows-1252
// ("Il file "vetrina.inf" non esiste.").
struct ReadSequence {
    std::optional<SequenceFile> file;
    std::string problem;
};

// Reads the sequence file at `path`, the system's own bytes of the name, as "Apri" and
// velora-cli read it: a regular file of at most 1 MiB that holds a sequence.
ReadSequence readSequence(const Files& files, const std::string& path);

// The File menu commands of the editor window: open, save, save under a new name, and the exit
// question, on the editor it is given.
class FileMenu {
public:
    explicit FileMenu(EditorWindow& editor);
    FileMenu(const FileMenu&) = delete;
    FileMenu& operator=(const FileMenu&) = delete;

    void Apri();  // "Apri": open a sequence file
    // Opens `path` as "Apri" does once a file is chosen: for a file given at start, dropped on
    // the window or picked from the recent files. False, after telling the user, when it cannot
    // be read.
    bool openFile(const std::string& path);
    void Salva();  // "Salva": save to the open file, or ask for a name
    // "salva con Nome": save under a name asked for; whether the sequence was written.
    bool Salva_c_Nome();
    // "finE": ends the program; with changes not yet saved, asks first whether to save them.
    void mnunextfinE_Click();

    // Writes the sequence to `path`, replacing the file whole. False, after telling the user,
    // when it could not be written; the file that was there is then left as it was.
    // ScriviSequenza: "write sequence".
    bool ScriviSequenza(const std::string& path);
    // Replaces the sequence with the file's. False, after telling the user, when the file cannot
    // be read or is not a sequence; the sequence in memory and its file name are then untouched.
    // LeggiSequenza: "read sequence".
    bool LeggiSequenza(const std::string& path);

    // Told the path of every sequence file read or written whole, for the recent files and the
    // folder where the file dialogs start.
    std::function<void(const std::string&)> onFileUsed;
    // The row width of the settings, which a file just opened is compared with: the sign in
    // use when this answers one, else BASE.dat's.
    std::function<std::optional<int>()> settingRowChars;

    static constexpr const char* kFilter = "Team Files (*.inf)|*.inf";
    // Far above the largest sequence the store can hold, which is some 100 KB.
    static constexpr std::size_t kLargestFile = std::size_t{1024} * 1024;

private:
    // Says in the status line when the file just opened was written for another sign width than
    // the settings'.
    void tellOtherWidth();

    EditorWindow& m_editor;
    Modulo1& m_state;
    Services& m_services;
};

}  // namespace velora
