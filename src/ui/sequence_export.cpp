#include "sequence_export.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStatusBar>

#include "core/windows1252.h"
#include "editor_view.h"
#include "qt_text.h"
#include "sign_pictures.h"

namespace velora {
namespace {

bool savePicture(const QImage& image, const QString& path) {
    // A picture is in place whole or not at all, and a failed one leaves the old one as it was.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

bool savePdf(const QImage& sheet, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(QStringLiteral("Sequenza"));
        pdf.setCreator(QStringLiteral("Velora"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter painter(&pdf);
        if (!painter.isActive()) return false;
        const QRect page = painter.viewport();
        const QSize fitted = sheet.size().scaled(page.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(page.topLeft(), fitted), sheet);
    }
    return file.commit();
}

}  // namespace

SequenceExport::SequenceExport(EditorView& editor, std::function<QString()> startFolder)
    : QObject(&editor), m_editor(editor), m_startFolder(std::move(startFolder)) {
    auto* file = editor.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    QAction* before = editor.action("Salv_Impost");
    m_pictures = new QAction(QStringLiteral("Esporta i&mmagini\u2026"), file);
    m_pictures->setObjectName(QStringLiteral("mnuEsportaImmagini"));
    m_sheet = new QAction(QStringLiteral("Esporta &foglio\u2026"), file);
    m_sheet->setObjectName(QStringLiteral("mnuEsportaFoglio"));
    file->insertAction(before, m_pictures);
    file->insertAction(before, m_sheet);

    connect(m_pictures, &QAction::triggered, this, [this] {
        if (!hasPages()) return;
        const QString folder = QFileDialog::getExistingDirectory(
            &m_editor, QStringLiteral("Cartella per le immagini"), m_startFolder());
        if (!folder.isEmpty()) exportPictures(folder);
    });
    connect(m_sheet, &QAction::triggered, this, [this] {
        if (!hasPages()) return;
        QString chosenFilter;
        QString path = QFileDialog::getSaveFileName(
            &m_editor, QStringLiteral("Esporta foglio"),
            QDir(m_startFolder()).filePath(QStringLiteral("sequenza.pdf")),
            QStringLiteral("Documento PDF (*.pdf);;Immagine PNG (*.png)"), &chosenFilter);
        if (path.isEmpty()) return;
        // A name typed without extension takes the one of the kind chosen.
        if (QFileInfo(path).suffix().isEmpty())
            path += chosenFilter.contains(QStringLiteral("png")) ? QStringLiteral(".png")
                                                                 : QStringLiteral(".pdf");
        exportSheet(path);
    });
}

bool SequenceExport::hasPages() {
    if (m_editor.model().state().PageCount > 0) return true;
    m_editor.model().services().dialogs.message("Non ci sono pagine da esportare.");
    return false;
}

void SequenceExport::failed(const QString& path) {
    m_editor.model().services().dialogs.message(
        fromQt(QStringLiteral("Impossibile scrivere ") + QDir::toNativeSeparators(path)));
}

void SequenceExport::done(const QString& text) {
    m_editor.statusBar()->showMessage(text, 10000);
}

std::optional<std::vector<PagePicture>> SequenceExport::pictures() {
    auto pictures = pagePictures(m_editor.model().state(), m_editor.model().services().clock.now());
    if (!pictures) {
        m_editor.model().services().dialogs.message(
            "La sequenza non si lascia leggere come l'insegna la riceve.");
    }
    return pictures;
}

bool SequenceExport::exportPictures(const QString& folder) {
    const auto pictures = this->pictures();
    if (!pictures) return false;
    const QDir dir(folder);
    for (const PagePicture& picture : *pictures) {
        const QString path = dir.filePath(pictureName(picture.number));
        if (!savePicture(picture.image, path)) {
            failed(path);
            return false;
        }
    }
    done(QStringLiteral("Immagini esportate: %1 in %2")
             .arg(pictures->size())
             .arg(QDir::toNativeSeparators(folder)));
    return true;
}

bool SequenceExport::exportSheet(const QString& path) {
    const auto pictures = this->pictures();
    if (!pictures) return false;
    const QImage sheet = sequenceSheet(*pictures);
    const bool pdf = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
    if (!(pdf ? savePdf(sheet, path) : savePicture(sheet, path))) {
        failed(path);
        return false;
    }
    done(QStringLiteral("Foglio esportato: %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

}  // namespace velora
