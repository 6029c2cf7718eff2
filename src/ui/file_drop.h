#pragma once

#include <functional>
#include <string>

#include <QObject>

class QMimeData;
class QWidget;

namespace velora {

// Sequence files dropped from the desktop onto a window: the first ".inf" file of the drop is
// handed on. The rows of the editor take dropped text themselves, so the window's children are
// watched too, and a file is never typed into a row as its name.
class FileDrop : public QObject {
    Q_OBJECT

public:
    // `open` is called with the dropped file's path; `accepting` says whether a drop may be
    // taken now (not while a handler of the program runs).
    FileDrop(QWidget* window, std::function<void(const std::string&)> open,
             std::function<bool()> accepting);

    // The path of the first local sequence file the data carries, or empty.
    static QString sequenceFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const std::string&)> m_open;
    std::function<bool()> m_accepting;
};

}  // namespace velora
