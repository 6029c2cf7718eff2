#include "sign_pictures.h"

#include <algorithm>
#include <cstdint>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "led_picture.h"
#include "protocol/page_record.h"
#include "protocol/sign_messages.h"

namespace velora {

std::optional<std::vector<PagePicture>> pagePictures(const Modulo1& state, const DateTime& now,
                                                     std::optional<int> onlyPage, int pitch) {
    const std::optional<std::vector<SignPage>> pages = decodeUpload(uploadMessage(state).bytes);
    if (!pages) return std::nullopt;
    LedPicture painter;
    std::vector<PagePicture> pictures;
    for (std::size_t i = 0; i < pages->size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (onlyPage && number != *onlyPage) continue;
        const SignFace face = renderSignFace((*pages)[i], 0.0, now);
        pictures.push_back({number, (*pages)[i].pause, painter.image(face, pitch), face.missing});
    }
    return pictures;
}

QImage pagePicture(const Modulo1& state, int page, const DateTime& now, int pitch) {
    const std::optional<DecodedRecord> decoded = decodePageRecord(pageRecord(state, page));
    SignPage shown;
    if (decoded)
        shown = decoded->page;
    else
        shown.rowChars = state.RowChars;
    return LedPicture().image(renderSignFace(shown, 0.0, now), pitch);
}

QString pictureName(int page) {
    return QStringLiteral("pagina-%1.png").arg(page, 3, 10, QLatin1Char('0'));
}

QImage sequenceSheet(const std::vector<PagePicture>& pages) {
    if (pages.empty()) return {};
    int cellWidth = 0;
    int pictureHeight = 0;
    for (const PagePicture& page : pages) {
        cellWidth = std::max(cellWidth, page.image.width());
        pictureHeight = std::max(pictureHeight, page.image.height());
    }
    // Two columns fit a sheet of paper across; a narrow sign takes three.
    const int columns = pages.size() == 1 ? 1 : (cellWidth < 700 ? 3 : 2);
    const int rows = static_cast<int>((pages.size() + columns - 1) / columns);
    QFont font;
    font.setPixelSize(std::max(14, pictureHeight / 8));
    const QFontMetrics metrics(font);
    const int margin = metrics.height();
    const int captionHeight = metrics.height() * 3 / 2;
    const int cellHeight = pictureHeight + captionHeight;

    QImage sheet(margin + columns * (cellWidth + margin), margin + rows * (cellHeight + margin),
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PagePicture& page = pages[i];
        const int x = margin + static_cast<int>(i % columns) * (cellWidth + margin);
        const int y = margin + static_cast<int>(i / columns) * (cellHeight + margin);
        painter.drawImage(x, y, page.image);
        const QString caption =
            QStringLiteral("Pagina %1 \u2013 %2 s").arg(page.number).arg(page.pause);
        painter.drawText(QRect(x, y + page.image.height(), cellWidth, captionHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, caption);
    }
    return sheet;
}

}  // namespace velora
