#include "led_picture.h"

#include <algorithm>

#include <QPainter>

namespace velora {

int LedPicture::pitchFor(const SignFace& face, const QSize& size) {
    if (face.width <= 0 || face.height <= 0) return 1;
    // A margin of one dot on every side.
    return std::max(1,
                    std::min(size.width() / (face.width + 2), size.height() / (face.height + 2)));
}

void LedPicture::makeSprites(int pitch) {
    if (pitch == m_pitch) return;
    m_pitch = pitch;
    // Each dot is drawn once at this size and then copied: a frame costs one blit per dot.
    auto sprite = [pitch](QRgb colour) {
        QImage dot(pitch, pitch, QImage::Format_ARGB32_Premultiplied);
        dot.fill(Qt::transparent);
        QPainter p(&dot);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(colour));
        const qreal gap = pitch >= 4 ? pitch * 0.12 : 0.0;
        p.drawEllipse(QRectF(gap, gap, pitch - 2 * gap, pitch - 2 * gap));
        return dot;
    };
    m_litDot = sprite(kLit);
    m_darkDot = sprite(kDark);
}

void LedPicture::paint(QPainter& painter, const SignFace& face, const QRect& area) {
    painter.fillRect(area, QColor::fromRgb(kBackground));
    if (face.width <= 0 || face.height <= 0) return;
    const int pitch = pitchFor(face, area.size());
    makeSprites(pitch);
    const int left = area.left() + (area.width() - face.width * pitch) / 2;
    const int top = area.top() + (area.height() - face.height * pitch) / 2;
    for (int y = 0; y < face.height; ++y) {
        for (int x = 0; x < face.width; ++x) {
            painter.drawImage(QPoint(left + x * pitch, top + y * pitch),
                              face.lit(x, y) ? m_litDot : m_darkDot);
        }
    }
}

QImage LedPicture::image(const SignFace& face, int pitch) {
    QImage picture((std::max(face.width, 0) + 2) * pitch, (face.height + 2) * pitch,
                   QImage::Format_RGB32);
    QPainter painter(&picture);
    paint(painter, face, picture.rect());
    return picture;
}

}  // namespace velora
