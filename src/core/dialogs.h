#pragma once

#include <string>

namespace velora {

enum class MessageIcon { None, Information, Exclamation, Critical };
// YesNoCancel asks before work could be lost: Yes saves it, No goes on without saving, Cancel
// goes back to where the user was.
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// The program's own title, used by message boxes that name no other.
inline constexpr const char* kProgramTitle = "Velora";

// `path` as a save dialog gave it, with `suffix` (".inf") added when its name has no extension:
// the file then shows where the program lists only such files.
inline std::string withDefaultSuffix(const std::string& path, const std::string& suffix) {
    const auto separator = path.find_last_of("\\/");
    const auto dot = path.find('.', separator == std::string::npos ? 0 : separator + 1);
    return dot == std::string::npos ? path + suffix : path;
}

// Message boxes, input boxes and file dialogs. All texts are Windows-1252 bytes.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     MessageIcon icon, MessageButtons buttons) = 0;

    // Returns the edited text, or an empty text when the box is cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;

    // File dialogs. `filter` is "Description (*.ext)|*.ext"; an empty result means cancelled.
    // The save dialog does not ask about overwriting: the caller does. It may propose a file
    // name (no folder) in its usual folder.
    virtual std::string openFilePath(const std::string& filter) = 0;
    virtual std::string saveFilePath(const std::string& filter,
                                     const std::string& proposedName) = 0;
    std::string saveFilePath(const std::string& filter) { return saveFilePath(filter, {}); }

    // A plain message box with an OK button and the program's title. Every such message of the
    // program reports something that did not work, so it carries the warning sign.
    void message(const std::string& text) {
        messageBox(text, kProgramTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
};

}  // namespace velora
