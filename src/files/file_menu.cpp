#include "file_menu.h"

#include <cstdio>

#include "core/base_dat.h"
#include "core/numbers.h"
#include "core/windows1252.h"
#include "sequence_file.h"

namespace velora {
namespace {

constexpr const char* kWriteFailed = "Problemi con il File!!";
constexpr const char* kNoticeTitle = "Fine";
constexpr const char* kSuffix = ".inf";

std::string savedAtText(const DateTime& at) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", at.hour % 100, at.minute % 100,
                  at.second % 100);
    return std::string("File salvato alle ") + time;
}

// The file's name without its folders, as the title shows it.
std::string fileName(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return windows1252::fromFileName(separator == std::string::npos ? path
                                                                    : path.substr(separator + 1));
}

// The name as the user typed it, with ".inf" added when it has no extension, so that the file
// shows in the open dialog, whose filter lists only those.
std::string withSequenceSuffix(const std::string& path) {
    return withDefaultSuffix(path, kSuffix);
}

}  // namespace

ReadSequence readSequence(const Files& files, const std::string& path) {
    const std::string quoted = "\"" + windows1252::fromFileName(path) + "\"";
    const auto failed = [](std::string problem) { return ReadSequence{std::nullopt, problem}; };
    switch (files.kind(path)) {
        case Files::Kind::Missing:
            return failed("Il file " + quoted + " non esiste.");
        case Files::Kind::Folder:
            return failed(quoted + windows1252::fromUtf8(" è una cartella, non un file."));
        case Files::Kind::Other:
            return failed(quoted +
                          windows1252::fromUtf8(" non è un file: è un dispositivo o una pipe."));
        case Files::Kind::File:
            break;
    }
    // One byte more than the limit tells a file that is too large from one that just fits.
    const auto bytes = files.read(path, FileMenu::kLargestFile + 1);
    if (!bytes) return failed("Il file " + quoted + windows1252::fromUtf8(" non si può leggere."));
    if (bytes->size() > FileMenu::kLargestFile)
        return failed("Il file " + quoted +
                      windows1252::fromUtf8(" è troppo grande (oltre 1 MiB)."));
    std::optional<SequenceFile> file = parseSequenceFile(*bytes);
    if (!file) return failed("Il file " + quoted + windows1252::fromUtf8(" non è una sequenza."));
    return {std::move(file), {}};
}

FileMenu::FileMenu(EditorWindow& editor)
    : m_editor(editor), m_state(editor.state()), m_services(editor.services()) {}

void FileMenu::Apri() {
    const std::string path = m_services.dialogs.openFilePath(kFilter);
    // A cancelled dialog leaves the page being composed, and the page shown, as they were.
    if (!path.empty()) openFile(path);
}

bool FileMenu::openFile(const std::string& path) {
    HistoryScope step = m_editor.step("Apri " + fileName(path));
    if (!LeggiSequenza(path)) {
        step.cancel();
        return false;
    }
    step.commit(1);
    m_editor.markSaved();
    tellOtherWidth();
    // Page 1 is loaded by Timer2's first tick; the detour through 2 makes sure that the move to 1
    // is a change, also when the selector stood at 1 already.
    m_editor.VScroll1.setValue(2);
    m_editor.Timer2.setEnabled(true);
    return true;
}

void FileMenu::tellOtherWidth() {
    // The editor goes on with the file's width; the user learns that it is not the setting's.
    int settingChars = 0;  // none
    if (const auto sign = settingRowChars ? settingRowChars() : std::nullopt) {
        settingChars = *sign;
    } else {
        const auto setting = m_services.files.read(m_editor.settingsFile(), kBaseDatReadLimit);
        if (const auto chars = setting ? parseBaseDat(*setting) : std::nullopt)
            settingChars = *chars;
    }
    if (settingChars == 0 || settingChars == m_state.RowChars) return;
    m_editor.saveNotice.setCaption(
        "File per " + decimalText(m_state.RowChars / kRowCharsPerBoard) +
        " schede; impostazione attuale: " + decimalText(settingChars / kRowCharsPerBoard));
}

void FileMenu::Salva() {
    if (m_state.PageCount == 0) {
        m_services.dialogs.inputBox("Non ho DATI Caricati", kNoticeTitle, "???");
        return;
    }
    if (m_state.CurrentFilePath.empty()) {
        m_services.dialogs.inputBox("Non ho il Nome", kNoticeTitle,
                                    "Al primo salvataggio usare 'Salva con Nome'");
        return;
    }
    ScriviSequenza(m_state.CurrentFilePath);
}

bool FileMenu::Salva_c_Nome() {
    const std::string chosen = m_services.dialogs.saveFilePath(kFilter);
    if (chosen.empty()) return false;
    const std::string path = withSequenceSuffix(chosen);
    if (m_services.files.exists(path)) {
        const MessageAnswer answer = m_services.dialogs.messageBox(
            "Attenzione: \n\rFile gia' esistente ! Sovrascrivere il file ?", "Conferma",
            MessageIcon::Information, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) return false;
    }
    // The sequence takes the new name only once its file is written; a failed save leaves it
    // with the file it had, which is still the one on disk.
    if (!ScriviSequenza(path)) return false;
    m_state.CurrentFilePath = path;
    m_editor.showHistory();
    return true;
}

void FileMenu::mnunextfinE_Click() {
    // Nothing unsaved: the program ends at once. Otherwise the user decides, knowing which file
    // holds work not yet saved; a reflexive answer can no longer throw it away unasked.
    if (!m_editor.sequenceModified()) {
        m_services.program.end();
        return;
    }
    const std::string name = m_state.CurrentFilePath.empty()
                                 ? std::string(EditorWindow::kNoFileName)
                                 : fileName(m_state.CurrentFilePath);
    const MessageAnswer answer = m_services.dialogs.messageBox(
        windows1252::fromUtf8("Le modifiche a \"") + name +
            windows1252::fromUtf8("\" non sono state salvate. Salvarle prima di uscire?"),
        kNoticeTitle, MessageIcon::Exclamation, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::No) {
        m_services.program.end();
        return;
    }
    if (answer != MessageAnswer::Yes) return;
    // An empty sequence is written too: the file must hold what the user ends with.
    const bool saved =
        m_state.CurrentFilePath.empty() ? Salva_c_Nome() : ScriviSequenza(m_state.CurrentFilePath);
    if (saved) m_services.program.end();
}

bool FileMenu::ScriviSequenza(const std::string& path) {
    if (!m_services.files.replace(path, sequenceFileBytes(m_state))) {
        m_editor.saveNotice.setCaption({});
        m_services.dialogs.message(kWriteFailed);
        return false;
    }
    m_editor.saveNotice.setCaption(savedAtText(m_services.clock.now()));
    m_editor.markSaved();
    if (onFileUsed) onFileUsed(path);
    // The slot after the last page is where the editor composes the next one.
    if (m_state.PageCount < kLastSlot) {
        const std::size_t next = m_state.PageCount + 1u;
        m_state.PageText[next][1].clear();
        m_state.PagePause[next] = 0;
    }
    return true;
}

bool FileMenu::LeggiSequenza(const std::string& path) {
    const ReadSequence read = readSequence(m_services.files, path);
    // A file that cannot be read leaves the sequence and its name as they were, so that a later
    // "Salva" cannot write a fragment over the file that failed.
    if (!read.file) {
        m_services.dialogs.message(read.problem);
        return false;
    }
    const std::optional<SequenceFile>& file = read.file;
    m_state.CurrentFilePath = path;
    applySequenceFile(m_state, *file);
    m_editor.txtmax.setCaption(decimalText(m_state.PageCount));
    // The file's row width is the one in use from now on; the boards shown must say so.
    m_editor.Label3.setCaption(decimalText(m_state.RowChars / 3));
    m_editor.saveNotice.setCaption({});
    const std::string incomplete = incompleteNotice(*file);
    if (!incomplete.empty()) m_services.dialogs.message(incomplete);
    if (onFileUsed) onFileUsed(path);
    return true;
}

}  // namespace velora
