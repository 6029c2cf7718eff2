#include "after_first_paint.h"

#include <utility>

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace velora {
namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& window, std::function<void()> action)
        : QObject(&window), m_action(std::move(action)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Once the paint has been delivered and the window is on the screen.
            QTimer::singleShot(0, watched, std::move(m_action));
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

}  // namespace

void afterFirstPaint(QWidget& window, std::function<void()> action) {
    new FirstPaintWatch(window, std::move(action));
}

}  // namespace velora
