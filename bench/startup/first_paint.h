#pragma once

#include <cstdio>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

// Tells the measuring process the moment a window is first painted, then ends the program.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // After this paint has been delivered, so that the window is really on the screen.
            QTimer::singleShot(0, qApp, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
