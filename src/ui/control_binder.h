#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include <QObject>
#include <QWidget>

#include "core/controls.h"
#include "core/services.h"
#include "event_gate.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace velora {

// Binds the widgets of one window to the controls of its model. User input goes into the model
// through its setters and handlers; after each event only the controls whose state moved are
// pushed back to their widgets, so a tick that changes nothing costs next to nothing.
class ControlBinder : public QObject {
    Q_OBJECT

public:
    ControlBinder(Services& services, EventGate& gate, QObject* parent = nullptr);

    // The window follows the form: shown, hidden, brought to the front, focus moved. The view
    // reports a window closed by the user with form.unload().
    void bind(QWidget* window, Form& form);
    void bind(QLineEdit* widget, TextBox& box);
    void bind(QCheckBox* widget, CheckBox& box);
    void bind(QRadioButton* widget, OptionButton& button);
    void bind(QScrollBar* widget, ScrollBar& bar);
    void bind(QComboBox* widget, ComboBox& combo);
    void bind(QLabel* widget, Label& label);
    void bind(QAbstractButton* widget, Button& button);
    void bind(QAction* action, Button& item);
    void bind(QTimer* timer, Timer& control);

    // Shows `control`'s caption with its access key on the first `letter` of the caption instead
    // of where the caption marks it, so that no two controls of a window share a key. The
    // caption keeps its letters; only the marker moves.
    void setAccessKey(const Control& control, char letter);

    // The caption as the widget shows it, with the access key marker where setAccessKey put it.
    QString displayCaption(const Control& control, const std::string& caption) const;

    // A text field of the window that no control is bound to: an access key that reaches it is
    // not typed into it, as with the bound fields.
    void guardField(QWidget* field) { field->installEventFilter(this); }

    // Runs a model action that the user started, then pushes what changed. `origin` is pushed in
    // any case, since its widget already shows the user's edit and may need to be put right.
    // A run-time error that no handler trapped ends the program with a plain message.
    void run(const std::function<void()>& action, const Control* origin = nullptr);

    // Pushes every control whose state moved since the last push.
    void sync();
    // Runs at the end of every push, for what a view draws beyond its controls.
    std::function<void()> onSynced;

    // The widget bound to `control`, if any.
    QWidget* widgetFor(const Control* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        const Control* control;
        std::uint64_t pushed;
        std::function<void()> push;
    };
    void add(const Control& control, std::function<void()> push, QWidget* widget);
    // Ends the user's press on a scroll bar as if the mouse button had been let go.
    static void endPress(QScrollBar* widget);

    Services& m_services;
    EventGate& m_gate;
    Form* m_form = nullptr;
    QWidget* m_window = nullptr;
    Binding m_formBinding{nullptr, 0, {}};
    std::vector<Binding> m_bindings;
    std::map<const Control*, QWidget*> m_widgets;
    std::map<const Control*, char> m_accessKeys;
    bool m_pushing = false;
    std::vector<QScrollBar*> m_scrollBars;
    std::set<QScrollBar*> m_pressed;  // scroll bars holding the user's mouse button
    std::map<QScrollBar*, std::function<int()>> m_scrollEnds;  // where End takes a scroll bar
};

}  // namespace velora
