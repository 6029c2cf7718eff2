#pragma once

#include <QWidget>

#include "control_binder.h"
#include "settings/salva_impost.h"

namespace velora {

// The settings window "Form1": the number of LED boards per row. A window of its own, not modal,
// so the editor stays usable while it is open.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    SettingsView(Salva_Impost& model, Services& services, EventGate& gate,
                 QWidget* parent = nullptr);

    Salva_Impost& model() { return m_model; }
    ControlBinder& binder() { return m_binder; }

private:
    Salva_Impost& m_model;
    ControlBinder m_binder;
};

}  // namespace velora
