#include "window_placement.h"

#include <algorithm>

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace velora {
namespace {

class Placer : public QObject {
public:
    Placer(QWidget* window, QWidget* owner) : QObject(window), m_window(window), m_owner(owner) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The Show event comes before the window is mapped, while its place can still be chosen.
        if (watched == m_window && event->type() == QEvent::Show && m_owner) place();
        return QObject::eventFilter(watched, event);
    }

private:
    void place() {
        // A transient parent, not a parent widget: the views keep their own lifetimes.
        if (QWindow* handle = m_window->windowHandle())
            handle->setTransientParent(m_owner->window()->windowHandle());
        QScreen* screen = m_owner->screen();
        if (!screen) return;
        const QRect available = screen->availableGeometry();
        // Room for the frame the desktop draws around the window.
        const int frame = std::max(0, m_window->frameGeometry().width() - m_window->width());
        const int widest = available.width() - frame;
        if (m_window->minimumWidth() > widest) m_window->setMinimumWidth(widest);
        m_window->setMaximumWidth(widest);
        if (m_window->width() > widest) m_window->resize(widest, m_window->height());

        const QRect owner = m_owner->window()->frameGeometry();
        QPoint topLeft = owner.center() - QPoint(m_window->width() / 2, m_window->height() / 2);
        topLeft.setX(std::clamp(topLeft.x(), available.left(),
                                std::max(available.left(), available.right() - m_window->width())));
        topLeft.setY(
            std::clamp(topLeft.y(), available.top(),
                       std::max(available.top(), available.bottom() - m_window->height())));
        m_window->move(topLeft);
    }

    QWidget* m_window;
    QPointer<QWidget> m_owner;
};

}  // namespace

void placeOver(QWidget* window, QWidget* owner) {
    new Placer(window, owner);
}

}  // namespace velora
