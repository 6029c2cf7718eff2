#pragma once

#include <QWidget>

#include "control_binder.h"
#include "info/info_window.h"

namespace velora {

// The information window "Help": draws the InfoWindow model and forwards the user's actions.
class InfoView : public QWidget {
    Q_OBJECT

public:
    InfoView(InfoWindow& model, EventGate& gate, QWidget* parent = nullptr);

    InfoWindow& model() { return m_model; }
    ControlBinder& binder() { return m_binder; }

private:
    InfoWindow& m_model;
    ControlBinder m_binder;
};

}  // namespace velora
