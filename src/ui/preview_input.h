#pragma once

#include <functional>

#include <QObject>

#include "core/modulo1.h"

class QWidget;

namespace velora {

// While the preview plays, the user's input reaches nothing but the stop: Escape and the
// "Anteprima" button stop it, closing a window goes to that window as always, and every other
// key, click or wheel turn is dropped, so that nothing the user did happens after the preview.
class PreviewInput : public QObject {
    Q_OBJECT

public:
    // `stop` asks the preview to stop; `button` is the "Anteprima" button, whose clicks pass.
    PreviewInput(const Modulo1& state, QWidget* button, std::function<void()> stop,
                 QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Modulo1& m_state;
    QWidget* m_button;
    std::function<void()> m_stop;
};

}  // namespace velora
