#include "window_placement.h"

#include <algorithm>

#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace velora {
namespace {

class Placer : public QObject {
public:
    Placer(QWidget* window, QWidget* owner) : QObject(window), m_window(window), m_owner(owner) {
        window->installEventFilter(this);
    }

    void place() {
        // A layout of fixed size gives the window its size only once it is activated.
        if (QLayout* layout = m_window->layout()) layout->activate();
        QScreen* screen = m_owner->screen();
        if (!screen) return;
        const QRect available = screen->availableGeometry();
        // Room for the frame the desktop draws around the window.
        const int frame = std::max(0, m_window->frameGeometry().width() - m_window->width());
        const int widest = available.width() - frame;
        if (m_window->minimumWidth() > widest) m_window->setMinimumWidth(widest);
        m_window->setMaximumWidth(widest);
        if (m_window->width() > widest) m_window->resize(widest, m_window->height());

        // move() places the frame, so the frame is what is centred.
        const QSize outer = m_window->frameGeometry().size();
        const QRect owner = m_owner->window()->frameGeometry();
        QPoint topLeft = owner.center() - QPoint(outer.width() / 2, outer.height() / 2);
        topLeft.setX(std::clamp(topLeft.x(), available.left(),
                                std::max(available.left(), available.right() - outer.width())));
        topLeft.setY(std::clamp(topLeft.y(), available.top(),
                                std::max(available.top(), available.bottom() - outer.height())));
        m_window->move(topLeft);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The Show event comes before the window is mapped, while its place can still be chosen.
        if (watched == m_window && event->type() == QEvent::Show && m_owner) place();
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
    QPointer<QWidget> m_owner;
};

}  // namespace

void keepOnScreen(QWidget* window) {
    // A layout of minimum size gives the window the size its new content needs only once it is
    // activated.
    if (QLayout* layout = window->layout()) layout->activate();
    QScreen* screen = window->screen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    const QRect outer = window->frameGeometry();
    const int frameHeight = std::max(0, outer.height() - window->height());
    const int tallest = available.height() - frameHeight;
    window->setMaximumHeight(std::max(window->minimumHeight(), tallest));
    if (window->height() > tallest) window->resize(window->width(), tallest);
    const QSize size = window->frameGeometry().size();
    QPoint topLeft = outer.topLeft();
    topLeft.setX(std::clamp(topLeft.x(), available.left(),
                            std::max(available.left(), available.right() + 1 - size.width())));
    topLeft.setY(std::clamp(topLeft.y(), available.top(),
                            std::max(available.top(), available.bottom() + 1 - size.height())));
    if (topLeft != outer.topLeft()) window->move(topLeft);
}

void placeOver(QWidget* window, QWidget* owner) {
    auto* placer = new Placer(window, owner);
    // A view that shows itself as it is made has missed its Show event.
    if (window->isVisible()) placer->place();
}

}  // namespace velora
