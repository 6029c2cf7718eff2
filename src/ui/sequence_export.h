#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

class QAction;

namespace velora {

class EditorView;
struct PagePicture;

// File -> "Esporta immagini…" and "Esporta foglio…": the sequence as pictures of the sign, one
// PNG a page in a chosen folder (the same pictures as velora-cli render), or every page on one
// sheet, PNG or PDF, under the sequence's name and the date, each page with its number, pause and
// the whole text of a scrolling row. Every file is written whole or not at all.
class SequenceExport : public QObject {
    Q_OBJECT

public:
    // The items go into the editor's File menu before "Salva Impostazioni". `startFolder` tells
    // where the dialogs open.
    SequenceExport(EditorView& editor, std::function<QString()> startFolder);

    // Writes the pictures into `folder`, and takes away the program's own pictures of pages
    // beyond the sequence's last; false, after telling the user what failed, when a picture
    // could not be written. Paths are the system's bytes as pathToQt carries them.
    bool exportPictures(const QString& folder);
    // Writes the sheet to `path`, as PDF when the name ends in ".pdf", otherwise as PNG.
    bool exportSheet(const QString& path);
    // The sequence's file name without extension, or "sequenza" for a sequence without a file:
    // the sheet's title and its proposed file name.
    QString sequenceName() const;

    QAction* picturesItem() const { return m_pictures; }
    QAction* sheetItem() const { return m_sheet; }

private:
    bool hasPages();
    // The pages as the sign shows them; nothing, after telling the user, when the sequence does
    // not read back as the sign receives it.
    std::optional<std::vector<PagePicture>> pictures();
    void failed(const std::string& path, const QString& reason);
    void done(const QString& text);

    EditorView& m_editor;
    std::function<QString()> m_startFolder;
    QAction* m_pictures;
    QAction* m_sheet;
};

}  // namespace velora
