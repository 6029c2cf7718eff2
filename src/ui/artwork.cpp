#include "artwork.h"

#include <algorithm>

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#ifndef _WIN32
#include <QSvgRenderer>
#endif

// The resources live in a static library: nothing would pull them into the program otherwise.
static void initArtwork() {
    Q_INIT_RESOURCE(velora);
#ifdef _WIN32
    Q_INIT_RESOURCE(pictures);
#endif
}

namespace velora {
namespace {

void ensureResources() {
    static const bool loaded = (initArtwork(), true);
    (void)loaded;
}

#ifdef _WIN32
// Windows has no Qt Svg here: the build draws the logo from the same drawing at twice its size
// (src/ui/CMakeLists.txt), scaled down to what the screen asks for.
const QString kLogoPath = QStringLiteral(":/velora/velora-logo.png");

QPixmap renderLogo(QSize size, qreal devicePixelRatio) {
    ensureResources();
    QPixmap pixmap = QPixmap(kLogoPath).scaled(size * devicePixelRatio, Qt::IgnoreAspectRatio,
                                               Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}
#else
const QString kLogoPath = QStringLiteral(":/velora/velora-logo.svg");

QPixmap renderLogo(QSize size, qreal devicePixelRatio) {
    ensureResources();
    QSvgRenderer renderer(kLogoPath);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
#endif

// An icon painted by a function at whatever size is asked for.
class PaintedIconEngine : public QIconEngine {
public:
    using Painter = void (*)(QPainter&, const QRectF&, bool enabled);
    explicit PaintedIconEngine(Painter painter) : m_paint(painter) {}

    QIconEngine* clone() const override { return new PaintedIconEngine(*this); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        m_paint(*painter, QRectF(rect), mode != QIcon::Disabled);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

private:
    Painter m_paint;
};

// A sheet of paper with a folded corner, filling most of `area`.
QRectF paintSheet(QPainter& painter, const QRectF& area, bool enabled) {
    const qreal side = std::min(area.width(), area.height());
    const QRectF sheet(area.center().x() - side * 0.32, area.center().y() - side * 0.42,
                       side * 0.64, side * 0.84);
    const qreal fold = side * 0.2;
    QPolygonF outline;
    outline << sheet.topLeft() << QPointF(sheet.right() - fold, sheet.top())
            << QPointF(sheet.right(), sheet.top() + fold) << sheet.bottomRight()
            << sheet.bottomLeft();
    painter.setPen(QPen(enabled ? QColor(60, 60, 60) : QColor(150, 150, 150), side / 16));
    painter.setBrush(enabled ? QColor(255, 255, 240) : QColor(235, 235, 235));
    painter.drawPolygon(outline);
    return sheet;
}

void paintInsertPage(QPainter& painter, const QRectF& area, bool enabled) {
    const QRectF sheet = paintSheet(painter, area, enabled);
    const qreal side = std::min(area.width(), area.height());
    const QPointF centre(sheet.right() - side * 0.08, sheet.bottom() - side * 0.12);
    painter.setPen(QPen(enabled ? QColor(30, 140, 40) : QColor(150, 150, 150), side / 7,
                        Qt::SolidLine, Qt::RoundCap));
    const qreal arm = side * 0.2;
    painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

void paintDeletePage(QPainter& painter, const QRectF& area, bool enabled) {
    const QRectF sheet = paintSheet(painter, area, enabled);
    const qreal side = std::min(area.width(), area.height());
    painter.setPen(QPen(enabled ? QColor(200, 30, 30) : QColor(150, 150, 150), side / 7,
                        Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = sheet.adjusted(side * 0.1, side * 0.2, -side * 0.1, -side * 0.2);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

}  // namespace

QIcon insertPageIcon() {
    return QIcon(new PaintedIconEngine(paintInsertPage));
}

QIcon deletePageIcon() {
    return QIcon(new PaintedIconEngine(paintDeletePage));
}

QIcon appIcon() {
    // The window system asks for every size as the first window appears. The pictures are drawn
    // ahead from velora.svg (scripts/render-icons) and kept as plain pixels: decoding PNG would
    // bring Qt's image plugins in at start, each one loaded to be asked whether it reads PNG. A
    // window's icon is never drawn larger than 64 pixels; the desktop's menus take the larger
    // pictures from the installed icon theme.
    ensureResources();
    QFile file(QStringLiteral(":/velora/icons/velora-window.rgba"));
    const QByteArray pixels = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QIcon icon;
    qsizetype at = 0;
    for (int side : {16, 24, 32, 48, 64}) {
        const qsizetype bytes = qsizetype{side} * side * 4;
        if (pixels.size() < at + bytes) break;
        const QImage picture(reinterpret_cast<const uchar*>(pixels.constData() + at), side, side,
                             side * 4, QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(picture));
        at += bytes;
    }
    return icon;
}

QPixmap logoPixmap(qreal devicePixelRatio) {
    return renderLogo(kLogoSize, devicePixelRatio);
}

}  // namespace velora
