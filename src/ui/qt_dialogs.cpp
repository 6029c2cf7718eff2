#include "qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include "qt_text.h"

namespace velora {
namespace {

// The user's documents folder, or the home folder where there is none.
QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// "Description (*.ext)|*.ext" as Qt's "Description (*.ext)".
QString qtFilter(const std::string& filter) {
    return toQt(filter.substr(0, filter.find('|')));
}

}  // namespace

QtDialogs::QtDialogs(std::function<QWidget*()> parent, std::function<void()> beforeShowing)
    : m_parent(std::move(parent)),
      m_beforeShowing(std::move(beforeShowing)),
      // Not the folder the program was started from, which from a desktop menu is the home
      // folder or the root.
      m_startFolder(documentsFolder()) {}

QWidget* QtDialogs::parent() const {
    return m_parent ? m_parent() : nullptr;
}

void QtDialogs::prepare() const {
    if (m_beforeShowing) m_beforeShowing();
}

MessageAnswer QtDialogs::messageBox(const std::string& text, const std::string& title,
                                    MessageIcon icon, MessageButtons buttons) {
    prepare();
    QMessageBox box(parent());
    box.setWindowTitle(toQt(title));
    // Messages can carry names the user typed (a port, a file): never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(toQt(text));
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    if (buttons == MessageButtons::YesNo) {
        // Whatever the icon asked for, a box that asks Yes or No shows the question mark.
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    if (buttons == MessageButtons::YesNoCancel) {
        box.setIcon(QMessageBox::Question);
        QPushButton* save = box.addButton(QStringLiteral("Salva"), QMessageBox::AcceptRole);
        QPushButton* discard =
            box.addButton(QStringLiteral("Esci senza salvare"), QMessageBox::DestructiveRole);
        QPushButton* back =
            box.addButton(QStringLiteral("Torna all'editor"), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.setEscapeButton(back);
        box.exec();
        if (box.clickedButton() == save) return MessageAnswer::Yes;
        if (box.clickedButton() == discard) return MessageAnswer::No;
        return MessageAnswer::Cancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    prepare();
    QInputDialog dialog(parent());
    dialog.setWindowTitle(toQt(title));
    dialog.setLabelText(toQt(prompt));
    if (auto* label = dialog.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(toQt(defaultText));
    if (dialog.exec() != QDialog::Accepted) return {};
    return fromQt(dialog.textValue());
}

std::string QtDialogs::openFilePath(const std::string& filter) {
    prepare();
    return pathFromDialog(
        QFileDialog::getOpenFileName(parent(), QString(), m_startFolder, qtFilter(filter)));
}

std::string QtDialogs::saveFilePath(const std::string& filter, const std::string& proposedName) {
    prepare();
    // The proposed name is a file name of the system's, like the paths the dialog returns.
    const QString start =
        proposedName.empty() ? m_startFolder : QDir(m_startFolder).filePath(pathToQt(proposedName));
    return pathFromDialog(QFileDialog::getSaveFileName(parent(), QString(), start, qtFilter(filter),
                                                       nullptr, QFileDialog::DontConfirmOverwrite));
}

}  // namespace velora
