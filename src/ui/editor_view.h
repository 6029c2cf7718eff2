#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QMainWindow>

#include "busy_input.h"
#include "control_binder.h"
#include "editor/editor_window.h"

class QAction;
class QGridLayout;
class QLineEdit;
class QTimer;

namespace velora {

class EditorLedPanel;
class PageListView;

// The editor window "KDM 2 Righe": draws the EditorWindow model and forwards the user's actions.
class EditorView : public QMainWindow {
    Q_OBJECT

public:
    EditorView(EditorWindow& model, EventGate& gate, QWidget* parent = nullptr);

    EditorWindow& model() { return m_model; }
    ControlBinder& binder() { return m_binder; }

    // The sign's face for the page being composed, under the rows.
    EditorLedPanel* ledPanel() const { return m_ledPanel; }

    // Puts the page list beside the editor, its operations in "Modifica", and "Elenco pagine" in
    // "Visualizza" to hide and show it; whether it is shown and how wide are remembered.
    void addPageList(PageListView* list);
    PageListView* pageList() const { return m_pageList; }

    // The menu command bound to the model's menu item of that name.
    QAction* action(const std::string& name) const;

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // "Modifica": undo and redo of the sequence, placed before the "?" menu.
    void buildEditMenu();
    QWidget* buildDisplay();
    QWidget* buildControls();
    void setAccessKeys();
    void addRowCaptions(QGridLayout* grid, const std::array<QLineEdit*, 3>& rows);
    // Lays out the children at the window's size while the window is not shown yet.
    void layOutHidden();

    EditorWindow& m_model;
    ControlBinder m_binder;
    std::map<std::string, QAction*> m_actions;
    QList<QLineEdit*> m_rows;
    EditorLedPanel* m_ledPanel = nullptr;
    PageListView* m_pageList = nullptr;
    // Gives the window its opening size before it is first shown; empty once done.
    std::function<void()> m_openingSize;
    // Last, so that it is gone first: the application-wide filter must not see the events of
    // the window's own destruction, when the window it asks is no longer whole.
    std::unique_ptr<BusyInput> m_busyInput;
};

}  // namespace velora
