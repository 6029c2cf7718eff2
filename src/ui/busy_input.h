#pragma once

#include <functional>

#include <QObject>

class QWidget;

namespace velora {

// While a long handler runs (a preview playing, an upload going out), the user's input reaches
// nothing but its stop control: Escape and the stop control stop it, and every other key, click,
// wheel turn, drop, input-method text or pen stroke is dropped, so that nothing the user did
// happens after the handler. One filter for every such handler, so that they all hold back the
// same events.
class BusyInput : public QObject {
    Q_OBJECT

public:
    struct Options {
        // True while input must be held back.
        std::function<bool()> busy;
        // The stop control: the one widget that takes clicks, keys and its access key.
        QWidget* stop = nullptr;
        // Asked for when Escape is pressed.
        std::function<void()> onEscape;
        // Whether a window may be closed meanwhile (the closing window then stops the handler).
        bool closePasses = false;
    };

    explicit BusyInput(Options options, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isForStop(QObject* watched) const;

    Options m_options;
};

}  // namespace velora
