#pragma once

#include <QWidget>

#include "control_binder.h"
#include "signs/signs_window.h"

class QTableWidget;

namespace velora {

// The window "Insegne": the table of the named signs over the fields of the one selected and the
// buttons that change the list. A window of its own, not modal. The rules live in the model;
// this view draws the table and hands the selected row to it.
class SignsView : public QWidget {
    Q_OBJECT

public:
    SignsView(SignsWindow& model, Services& services, EventGate& gate, QWidget* parent = nullptr);
    ~SignsView() override;

    SignsWindow& model() { return m_model; }
    ControlBinder& binder() { return m_binder; }
    QTableWidget* table() const { return m_table; }

private:
    void showTable();

    SignsWindow& m_model;
    ControlBinder m_binder;
    QTableWidget* m_table = nullptr;
    bool m_filling = false;
};

}  // namespace velora
