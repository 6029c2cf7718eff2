#include "artwork.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: nothing would pull them into the program otherwise.
static void initArtwork() {
    Q_INIT_RESOURCE(velora);
}

namespace velora {
namespace {

QPixmap render(const QString& path, QSize size, qreal devicePixelRatio) {
    static const bool loaded = (initArtwork(), true);
    (void)loaded;
    QSvgRenderer renderer(path);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace

QIcon appIcon() {
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(render(QStringLiteral(":/velora/velora.svg"), QSize(side, side), 1.0));
    return icon;
}

QPixmap logoPixmap(qreal devicePixelRatio) {
    return render(QStringLiteral(":/velora/velora-logo.svg"), kLogoSize, devicePixelRatio);
}

}  // namespace velora
