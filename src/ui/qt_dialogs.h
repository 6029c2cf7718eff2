#pragma once

#include <functional>

#include <QString>

#include "core/dialogs.h"

class QWidget;

namespace velora {

// Message boxes, input boxes and file dialogs as Qt's standard dialogs.
class QtDialogs : public Dialogs {
public:
    // `parent` is the window the dialogs belong to; `beforeShowing` lets the windows draw the
    // model's latest state behind a dialog.
    explicit QtDialogs(std::function<QWidget*()> parent = {},
                       std::function<void()> beforeShowing = {});

    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFilePath(const std::string& filter) override;
    std::string saveFilePath(const std::string& filter, const std::string& proposedName) override;

    // The folder the file dialogs open in: the user's documents folder until another is set.
    const QString& startFolder() const { return m_startFolder; }
    void setStartFolder(const QString& folder) { m_startFolder = folder; }

private:
    QWidget* parent() const;
    void prepare() const;

    std::function<QWidget*()> m_parent;
    std::function<void()> m_beforeShowing;
    QString m_startFolder;
};

}  // namespace velora
