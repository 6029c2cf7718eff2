#include "file_drop.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "qt_text.h"

namespace velora {
namespace {

// The dropped file's path as pathToQt carries the system's bytes: a name that is not UTF-8
// travels in the URL percent-encoded, which toLocalFile() would decode into another name.
QString localPath(const QUrl& url) {
#ifdef _WIN32
    return url.toLocalFile();
#else
    return pathToQt(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
#endif
}

}  // namespace

FileDrop::FileDrop(QWidget* window, std::function<void(const std::string&)> open,
                   std::function<bool()> accepting)
    : QObject(window), m_open(std::move(open)), m_accepting(std::move(accepting)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->acceptDrops()) child->installEventFilter(this);
    }
}

QString FileDrop::sequenceFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() &&
            localPath(url).endsWith(QStringLiteral(".inf"), Qt::CaseInsensitive))
            return localPath(url);
    }
    return {};
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (sequenceFile(drag->mimeData()).isEmpty()) break;
            if (m_accepting()) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = sequenceFile(drop->mimeData());
            if (path.isEmpty()) break;
            if (!m_accepting()) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            // Opened once the drop is over: a message about the file must not hold the drag's
            // source waiting.
            QMetaObject::invokeMethod(
                this, [this, file = pathFromQt(path)] { m_open(file); }, Qt::QueuedConnection);
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace velora
