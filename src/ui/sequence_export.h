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
// sheet, PNG or PDF, with its number and pause.
class SequenceExport : public QObject {
    Q_OBJECT

public:
    // The items go into the editor's File menu before "Salva Impostazioni". `startFolder` tells
    // where the dialogs open.
    SequenceExport(EditorView& editor, std::function<QString()> startFolder);

    // Writes the pictures into `folder`; false, after telling the user, when that failed.
    bool exportPictures(const QString& folder);
    // Writes the sheet to `path`, as PDF when the name ends in ".pdf", otherwise as PNG.
    bool exportSheet(const QString& path);

    QAction* picturesItem() const { return m_pictures; }
    QAction* sheetItem() const { return m_sheet; }

private:
    bool hasPages();
    // The pages as the sign shows them; nothing, after telling the user, when the sequence does
    // not read back as the sign receives it.
    std::optional<std::vector<PagePicture>> pictures();
    void failed(const QString& path);
    void done(const QString& text);

    EditorView& m_editor;
    std::function<QString()> m_startFolder;
    QAction* m_pictures;
    QAction* m_sheet;
};

}  // namespace velora
