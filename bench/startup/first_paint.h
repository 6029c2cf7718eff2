#pragma once

#include <cstdio>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

// Tells the measuring process the moment a window is first painted, and the window's size, then
// ends the program.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            const auto* widget = qobject_cast<const QWidget*>(watched);
            const QSize size = widget ? widget->window()->size() : QSize();
            // After this paint has been delivered, so that the window is really on the screen.
            QTimer::singleShot(0, qApp, [size] {
                std::printf("shown %dx%d\n", size.width(), size.height());
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
