#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/dialogs.h"

namespace velora::testing {

// Records every dialog shown and answers from scripts; with an empty script a message box
// answers OK (or No, or Cancel), an input box returns its default text and a file dialog is
// cancelled.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        std::string kind;  // "message", "input", "open", "save"
        std::string text;  // message text or input prompt
        std::string title;
        std::string defaultText;
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
    };

    // Test controls: the answers to give, in order.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::string> inputAnswers;
    std::deque<std::string> pathAnswers;

    std::vector<Shown> shown;

    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override {
        shown.push_back({"message", text, title, {}, icon, buttons});
        if (!messageAnswers.empty()) {
            const MessageAnswer answer = messageAnswers.front();
            messageAnswers.pop_front();
            return answer;
        }
        if (buttons == MessageButtons::YesNoCancel) return MessageAnswer::Cancel;
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }

    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        shown.push_back({"input", prompt, title, defaultText});
        if (!inputAnswers.empty()) {
            std::string answer = inputAnswers.front();
            inputAnswers.pop_front();
            return answer;
        }
        return defaultText;
    }

    std::string openFilePath(const std::string& filter) override { return path("open", filter); }
    // The proposed name is kept as the entry's defaultText.
    std::string saveFilePath(const std::string& filter, const std::string& proposedName) override {
        return path("save", filter, proposedName);
    }

    // The texts of the message boxes shown, in order.
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& s : shown) {
            if (s.kind == "message") texts.push_back(s.text);
        }
        return texts;
    }

private:
    std::string path(const char* kind, const std::string& filter,
                     const std::string& proposedName = {}) {
        shown.push_back({kind, filter, {}, proposedName});
        if (pathAnswers.empty()) return {};
        std::string answer = pathAnswers.front();
        pathAnswers.pop_front();
        return answer;
    }
};

}  // namespace velora::testing
