#include "preview_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace velora {

PreviewInput::PreviewInput(const Modulo1& state, QWidget* button, std::function<void()> stop,
                           QObject* parent)
    : QObject(parent), m_state(state), m_button(button), m_stop(std::move(stop)) {
    qApp->installEventFilter(this);
}

bool PreviewInput::eventFilter(QObject* watched, QEvent* event) {
    if (m_state.PreviewRunning != 1) return false;
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) m_stop();
            return true;
        }
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return true;
        // The access key of "Anteprima" is a shortcut of the button; the menus' and actions'
        // shortcuts go nowhere.
        case QEvent::Shortcut:
            return watched != m_button;
        // A window hands the mouse on to the widget under it, where it is let through to the
        // button alone.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
            if (qobject_cast<QWindow*>(watched)) return false;
            return watched != m_button;
        default:
            return false;
    }
}

}  // namespace velora
