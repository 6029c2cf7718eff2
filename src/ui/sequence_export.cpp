#include "sequence_export.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStatusBar>

#include "core/windows1252.h"
#include "editor_view.h"
#include "files/file_menu.h"
#include "platform/system_files.h"
#include "protocol/page_layout.h"
#include "qt_text.h"
#include "sign_pictures.h"

namespace velora {
namespace {

// Pictures are written as the sequence files are: whole or not at all, so that a full disk never
// leaves an empty or cut picture, nor takes away a good one already there.
std::error_code writeBytes(const std::string& path, const QByteArray& bytes) {
    return writeFileWhole(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::error_code savePng(const QImage& image, const std::string& path) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return std::make_error_code(std::errc::not_enough_memory);
    return writeBytes(path, png);
}

// A name as the user reads it in a message.
QString shown(const std::string& path) {
    return QDir::toNativeSeparators(toQt(windows1252::fromFileName(path)));
}

// One page on the sheet: its picture, its number and pause, and the whole text of a scrolling
// row, which the picture shows only at its first step.
struct SheetPage {
    const PagePicture* picture;
    QString caption;
    QString scrolling;
};

// The sheet drawn on any device, the PNG's image or the PDF's pages, in units of the pictures'
// pixels: a title, then the pages in a grid, each with its words beneath as real text.
class Sheet {
public:
    Sheet(QString title, std::vector<SheetPage> pages)
        : m_title(std::move(title)), m_pages(std::move(pages)) {
        for (const SheetPage& page : m_pages) {
            m_cellWidth = std::max(m_cellWidth, page.picture->image.width());
            m_pictureHeight = std::max(m_pictureHeight, page.picture->image.height());
        }
        // Two columns fit a sheet of paper across; a narrow sign takes three.
        m_columns = m_pages.size() == 1 ? 1 : (m_cellWidth < 700 ? 3 : 2);
        m_font.setPixelSize(std::max(14, m_pictureHeight / 8));
        m_titleFont = m_font;
        m_titleFont.setPixelSize(m_font.pixelSize() * 3 / 2);
        m_titleFont.setBold(true);
    }

    int width() const { return margin() + m_columns * (m_cellWidth + margin()); }
    int titleHeight() const { return QFontMetrics(m_titleFont).height() + margin(); }
    int rows() const { return static_cast<int>((m_pages.size() + m_columns - 1) / m_columns); }
    // A row of pictures with the tallest words beneath any of them.
    int rowHeight(int row) const {
        int words = 0;
        for (int column = 0; column < m_columns; ++column) {
            const std::size_t i = static_cast<std::size_t>(row * m_columns + column);
            if (i < m_pages.size()) words = std::max(words, wordsHeight(m_pages[i]));
        }
        return m_pictureHeight + words + margin();
    }
    int height() const {
        int total = margin() + titleHeight();
        for (int row = 0; row < rows(); ++row) total += rowHeight(row);
        return total;
    }

    void paintTitle(QPainter& painter, int y) const {
        painter.setFont(m_titleFont);
        painter.drawText(QRect(margin(), y, width() - 2 * margin(), titleHeight()),
                         Qt::AlignLeft | Qt::AlignTop, m_title);
    }
    void paintRow(QPainter& painter, int row, int y) const {
        painter.setFont(m_font);
        for (int column = 0; column < m_columns; ++column) {
            const std::size_t i = static_cast<std::size_t>(row * m_columns + column);
            if (i >= m_pages.size()) break;
            const SheetPage& page = m_pages[i];
            const int x = margin() + column * (m_cellWidth + margin());
            painter.drawImage(x, y, page.picture->image);
            painter.drawText(QRect(x, y + m_pictureHeight, m_cellWidth, wordsHeight(page)),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, words(page));
        }
    }

    int margin() const { return QFontMetrics(m_font).height(); }

private:
    static QString words(const SheetPage& page) {
        return page.scrolling.isEmpty() ? page.caption : page.caption + u'\n' + page.scrolling;
    }
    int wordsHeight(const SheetPage& page) const {
        const QFontMetrics metrics(m_font);
        return metrics
                   .boundingRect(QRect(0, 0, m_cellWidth, 1 << 20),
                                 Qt::AlignLeft | Qt::TextWordWrap, words(page))
                   .height() +
               metrics.height() / 2;
    }

    QString m_title;
    std::vector<SheetPage> m_pages;
    int m_cellWidth = 0;
    int m_pictureHeight = 0;
    int m_columns = 1;
    QFont m_font;
    QFont m_titleFont;
};

QImage sheetImage(const Sheet& sheet) {
    QImage image(sheet.width(), sheet.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    int y = sheet.margin();
    sheet.paintTitle(painter, y);
    y += sheet.titleHeight();
    for (int row = 0; row < sheet.rows(); ++row) {
        sheet.paintRow(painter, row, y);
        y += sheet.rowHeight(row);
    }
    return image;
}

// The PDF's words are text, which a reader can search and copy; the rows of pages run onto as
// many sheets of paper as they need.
bool pdfBytes(const Sheet& sheet, const QString& title, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Velora"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter painter(&pdf);
    if (!painter.isActive()) return false;
    painter.setPen(Qt::black);
    const QRect page = painter.viewport();
    const double scale = std::min(
        double(page.width()) / sheet.width(),
        double(page.height()) / (sheet.titleHeight() + sheet.rowHeight(0) + 2 * sheet.margin()));
    painter.scale(scale, scale);
    const double pageHeight = page.height() / scale;
    int y = sheet.margin();
    sheet.paintTitle(painter, y);
    y += sheet.titleHeight();
    for (int row = 0; row < sheet.rows(); ++row) {
        if (y + sheet.rowHeight(row) > pageHeight && y > sheet.margin()) {
            if (!pdf.newPage()) return false;
            y = sheet.margin();
        }
        sheet.paintRow(painter, row, y);
        y += sheet.rowHeight(row);
    }
    return painter.end();
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
        if (!folder.isEmpty()) exportPictures(pathToQt(pathFromDialog(folder)));
    });
    connect(m_sheet, &QAction::triggered, this, [this] {
        if (!hasPages()) return;
        QString chosenFilter;
        QString path = QFileDialog::getSaveFileName(
            &m_editor, QStringLiteral("Esporta foglio"),
            QDir(m_startFolder()).filePath(sequenceName() + QStringLiteral(".pdf")),
            QStringLiteral("Documento PDF (*.pdf);;Immagine PNG (*.png)"), &chosenFilter);
        if (path.isEmpty()) return;
        // A name typed without extension takes the one of the kind chosen.
        if (QFileInfo(path).suffix().isEmpty())
            path += chosenFilter.contains(QStringLiteral("png")) ? QStringLiteral(".png")
                                                                 : QStringLiteral(".pdf");
        exportSheet(pathToQt(pathFromDialog(path)));
    });
}

QString SequenceExport::sequenceName() const {
    const std::string& path = m_editor.model().state().CurrentFilePath;
    if (path.empty()) return QStringLiteral("sequenza");
    const auto separator = path.find_last_of("\\/");
    QString name = toQt(windows1252::fromFileName(
        separator == std::string::npos ? path : path.substr(separator + 1)));
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0) name.truncate(dot);
    return name;
}

bool SequenceExport::hasPages() {
    if (m_editor.model().state().PageCount > 0) return true;
    m_editor.model().services().dialogs.message("Non ci sono pagine da esportare.");
    return false;
}

void SequenceExport::failed(const std::string& path, const QString& reason) {
    m_editor.model().services().dialogs.message(
        fromQt(QStringLiteral("Impossibile scrivere %1: %2").arg(shown(path), reason)));
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
    const std::string where = pathFromQt(folder);
    if (SystemFiles().kind(where) != Files::Kind::Folder) {
        failed(where, QStringLiteral("la cartella non esiste."));
        return false;
    }
    const std::string prefix = where.ends_with('/') ? where : where + '/';
    int written = 0;
    for (const PagePicture& picture : *pictures) {
        const std::string path = prefix + pathFromQt(pictureName(picture.number));
        if (const std::error_code error = savePng(picture.image, path)) {
            failed(path, QStringLiteral("%1. Immagini scritte: %2 di %3.")
                             .arg(QString::fromLocal8Bit(error.message()))
                             .arg(written)
                             .arg(pictures->size()));
            return false;
        }
        ++written;
    }
    // Pictures of pages the sequence no longer has would pass for part of it: the program's own
    // names beyond the new count go; nothing else in the folder is touched.
    static const QRegularExpression ownName(QStringLiteral("^pagina-(\\d{3})\\.png$"));
    int removed = 0;
    for (const std::string& name : folderNames(where)) {
        const QRegularExpressionMatch match = ownName.match(QString::fromStdString(name));
        if (match.hasMatch() && match.captured(1).toInt() > written && removeFile(prefix + name))
            ++removed;
    }
    QString text = QStringLiteral("Immagini esportate: %1 in %2").arg(written).arg(shown(where));
    if (removed > 0)
        text += QStringLiteral("; tolte %1 immagini di pagine che non ci sono più").arg(removed);
    done(text);
    return true;
}

bool SequenceExport::exportSheet(const QString& path) {
    const auto pictures = this->pictures();
    if (!pictures) return false;
    const Modulo1& state = m_editor.model().state();
    std::vector<SheetPage> pages;
    for (const PagePicture& picture : *pictures) {
        const auto slot = static_cast<std::size_t>(picture.number);
        QString scrolling;
        const PageLayout& layout = pageLayout(state.PageKind[slot]);
        for (const RowLayout* row : {&layout.row1, &layout.row2}) {
            if (row->show != RowShow::Scrolling) continue;
            if (!scrolling.isEmpty()) scrolling += u'\n';
            scrolling += toQt(state.PageText[slot][static_cast<std::size_t>(row->text)]);
        }
        pages.push_back(
            {&picture,
             QStringLiteral("Pagina %1 \u2013 %2 s").arg(picture.number).arg(picture.pause),
             scrolling});
    }
    const QString name =
        state.CurrentFilePath.empty() ? toQt(EditorWindow::kNoFileName) : sequenceName();
    const QString title = QStringLiteral("%1 \u2013 %2")
                              .arg(name, toQt(m_editor.model().services().clock.longDate(
                                             m_editor.model().services().clock.now())));
    const Sheet sheet(title, std::move(pages));

    const std::string target = pathFromQt(path);
    QByteArray bytes;
    const bool pdf = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
    if (pdf) {
        if (!pdfBytes(sheet, title, bytes)) {
            failed(target, QStringLiteral("il PDF non si lascia comporre."));
            return false;
        }
    } else {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly) || !sheetImage(sheet).save(&buffer, "PNG")) {
            failed(target, QStringLiteral("l'immagine non si lascia comporre."));
            return false;
        }
    }
    if (const std::error_code error = writeBytes(target, bytes)) {
        failed(target, QString::fromLocal8Bit(error.message()) + u'.');
        return false;
    }
    done(QStringLiteral("Foglio esportato: %1").arg(shown(target)));
    return true;
}

}  // namespace velora
