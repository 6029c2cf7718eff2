#include "busy_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace velora {

BusyInput::BusyInput(Options options, QObject* parent)
    : QObject(parent), m_options(std::move(options)) {
    qApp->installEventFilter(this);
}

bool BusyInput::isForStop(QObject* watched) const {
    return m_options.stop && watched == m_options.stop && m_options.stop->isEnabled();
}

bool BusyInput::eventFilter(QObject* watched, QEvent* event) {
    if (!m_options.busy || !m_options.busy()) return false;
    bool drop = false;
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
                if (m_options.onEscape) m_options.onEscape();
                drop = true;
                break;
            }
            drop = !isForStop(watched);
            break;
        }
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            drop = !isForStop(watched);
            break;
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::TabletEnterProximity:
        case QEvent::TabletLeaveProximity:
            drop = true;
            break;
        // The stop control's access key is a shortcut of that control; the menus' and actions'
        // shortcuts go nowhere.
        case QEvent::Shortcut:
            drop = !isForStop(watched);
            break;
        // A window hands the mouse on to the widget under it, where it is let through to the
        // stop control alone.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
            drop = !qobject_cast<QWindow*>(watched) && !isForStop(watched);
            break;
        case QEvent::Close:
            drop = !m_options.closePasses;
            break;
        default:
            break;
    }
    if (drop) event->ignore();
    return drop;
}

}  // namespace velora
