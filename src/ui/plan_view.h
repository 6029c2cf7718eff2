#pragma once

#include <vector>

#include <QWidget>

#include "control_binder.h"
#include "plan/plan_window.h"

class QTableWidget;

namespace velora {

// The window "Programma": draws the PlanWindow model; the plan's entries are a table whose
// cells the user edits in place (days, from, to, file; the last column names the sign).
class PlanView : public QWidget {
    Q_OBJECT

public:
    PlanView(PlanWindow& model, Services& services, EventGate& gate, QWidget* parent = nullptr);

    PlanWindow& model() { return m_model; }
    ControlBinder& binder() { return m_binder; }
    QTableWidget* table() const { return m_table; }

private:
    // Fills the table from the model's rows when they changed, or always with `force` (an edit
    // that was refused puts the row back as it was).
    void showRows(bool force);
    void cellEdited(int row);

    PlanWindow& m_model;
    ControlBinder m_binder;
    QTableWidget* m_table = nullptr;
    std::vector<PlanWindow::Row> m_shown;
    QString m_sign;
    bool m_filling = false;
};

}  // namespace velora
