#include "artwork.h"

#include <algorithm>
#include <map>
#include <memory>

#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: nothing would pull them into the program otherwise.
static void initArtwork() {
    Q_INIT_RESOURCE(velora);
}

namespace velora {
namespace {

const QString kIconPath = QStringLiteral(":/velora/velora.svg");
const QString kLogoPath = QStringLiteral(":/velora/velora-logo.svg");

std::shared_ptr<QSvgRenderer> load(const QString& path) {
    static const bool loaded = (initArtwork(), true);
    (void)loaded;
    return std::make_shared<QSvgRenderer>(path);
}

QPixmap render(QSvgRenderer& renderer, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

// Draws the icon at the sizes actually asked for, when they are asked for: rendering every size
// up front would hold up the start of the program.
class IconEngine : public QIconEngine {
public:
    QIconEngine* clone() const override { return new IconEngine(*this); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        auto found = m_rendered.find(side);
        if (found == m_rendered.end()) {
            // The window system asks for every size as the first window is made: the drawing
            // is read once for all of them.
            if (!m_renderer) m_renderer = load(kIconPath);
            found = m_rendered.emplace(side, render(*m_renderer, QSize(side, side), 1.0)).first;
        }
        return found->second;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) sizes.append(QSize(side, side));
        return sizes;
    }

private:
    std::shared_ptr<QSvgRenderer> m_renderer;
    std::map<int, QPixmap> m_rendered;
};

}  // namespace

QIcon appIcon() {
    return QIcon(new IconEngine);
}

QPixmap logoPixmap(qreal devicePixelRatio) {
    return render(*load(kLogoPath), kLogoSize, devicePixelRatio);
}

}  // namespace velora
