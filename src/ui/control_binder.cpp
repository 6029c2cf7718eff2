#include "control_binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include "core/fatal_error.h"
#include "qt_text.h"
#include "typing_limit_validator.h"

namespace velora {
namespace {

QColor toColor(std::uint32_t rgb) {
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

template <typename Widget>
void setIfDifferent(Widget* widget, bool visible, bool enabled, const QString& toolTip) {
    // A hidden parent makes isVisible() false; isHidden() is the widget's own setting.
    if (widget->isHidden() == visible) widget->setVisible(visible);
    if (widget->isEnabled() != enabled) widget->setEnabled(enabled);
    if (widget->toolTip() != toolTip) widget->setToolTip(toolTip);
}

void pushCommon(QWidget* widget, const Control& control) {
    setIfDifferent(widget, control.visible(), control.enabled(), toQt(control.toolTip()));
}

QAbstractSlider::SliderAction scrollKeyAction(int key) {
    switch (key) {
        case Qt::Key_Right:
        case Qt::Key_Down:
            return QAbstractSlider::SliderSingleStepAdd;
        case Qt::Key_Left:
        case Qt::Key_Up:
            return QAbstractSlider::SliderSingleStepSub;
        case Qt::Key_PageDown:
            return QAbstractSlider::SliderPageStepAdd;
        case Qt::Key_PageUp:
            return QAbstractSlider::SliderPageStepSub;
        case Qt::Key_Home:
            return QAbstractSlider::SliderToMinimum;
        case Qt::Key_End:
            return QAbstractSlider::SliderToMaximum;
        default:
            return QAbstractSlider::SliderNoAction;
    }
}

}  // namespace

ControlBinder::ControlBinder(Services& services, EventGate& gate, QObject* parent)
    : QObject(parent), m_services(services), m_gate(gate) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!m_form || m_pushing || !now) return;
        for (const auto& [control, widget] : m_widgets) {
            if (widget == now) {
                m_form->noteFocus(control);
                return;
            }
            if (widget->isAncestorOf(now)) return;
        }
        // A widget of the window that is no control of the model (the page list) holds the
        // focus: the next push must not take it back to the control that had it before.
        if (m_window && m_window->isAncestorOf(now)) m_form->noteFocus(nullptr);
    });
}

void ControlBinder::add(const Control& control, std::function<void()> push, QWidget* widget) {
    m_bindings.push_back({&control, 0, std::move(push)});
    if (widget) {
        widget->setObjectName(QString::fromStdString(control.name()));
        m_widgets[&control] = widget;
    }
    m_bindings.back().push();
    m_bindings.back().pushed = control.revision();
}

void ControlBinder::bind(QWidget* window, Form& form) {
    m_form = &form;
    m_window = window;
    window->installEventFilter(this);
    window->setObjectName(QString::fromStdString(form.name()));
    // Pushed after the controls, so that the focus goes to a widget already shown.
    m_formBinding = {&form, 0, [this, window, &form, raised = std::uint64_t{0}]() mutable {
                         const QString title = toQt(form.caption());
                         if (window->windowTitle() != title) window->setWindowTitle(title);
                         if (window->isWindowModified() != form.modified())
                             window->setWindowModified(form.modified());
                         if (window->isHidden() == form.visible())
                             window->setVisible(form.visible());
                         if (raised != form.raiseRequests()) {
                             raised = form.raiseRequests();
                             window->raise();
                             window->activateWindow();
                         }
                         if (QWidget* target = widgetFor(form.focus())) {
                             if (!target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
                         }
                     }};
}

void ControlBinder::bind(QLineEdit* widget, TextBox& box) {
    widget->setValidator(new TypingLimitValidator(box, widget));
    widget->installEventFilter(this);
    add(
        box,
        [widget, &box] {
            pushCommon(widget, box);
            widget->setAccessibleName(toQt(box.toolTip()));
            const QString text = toQt(box.text());
            if (widget->text() != text) {
                const int cursor = widget->cursorPosition();
                widget->setText(text);
                widget->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
            }
            QPalette palette = widget->palette();
            const QColor back = toColor(box.backColor());
            const QColor fore = toColor(box.foreColor());
            if (palette.color(QPalette::Base) != back || palette.color(QPalette::Text) != fore) {
                palette.setColor(QPalette::Base, back);
                palette.setColor(QPalette::Text, fore);
                widget->setPalette(palette);
            }
        },
        widget);
    connect(widget, &QLineEdit::textEdited, this,
            [this, &box](const QString& text) { run([&] { box.edit(fromQt(text)); }, &box); });
    // A text set from outside the keyboard (assistive technology sets the whole text at once)
    // is the user's edit too: the model, and whatever is drawn from it, must follow. Typing
    // marks the box modified and arrives through textEdited above.
    connect(widget, &QLineEdit::textChanged, this, [this, widget, &box](const QString& text) {
        if (m_pushing || widget->isModified() || fromQt(text) == box.text()) return;
        run([&] { box.edit(fromQt(text)); }, &box);
    });
}

void ControlBinder::bind(QCheckBox* widget, CheckBox& box) {
    add(
        box,
        [this, widget, &box] {
            pushCommon(widget, box);
            const QString caption = displayCaption(box, box.caption());
            if (widget->text() != caption) widget->setText(caption);
            if (widget->isChecked() != (box.value() == 1)) widget->setChecked(box.value() == 1);
        },
        widget);
    connect(widget, &QCheckBox::clicked, this,
            [this, &box](bool checked) { run([&] { box.setValue(checked ? 1 : 0); }, &box); });
}

void ControlBinder::bind(QRadioButton* widget, OptionButton& button) {
    // The model keeps the group exclusive; Qt's own exclusivity would refuse to clear a button.
    widget->setAutoExclusive(false);
    add(
        button,
        [this, widget, &button] {
            pushCommon(widget, button);
            const QString caption = displayCaption(button, button.caption());
            if (widget->text() != caption) widget->setText(caption);
            if (widget->isChecked() != button.selected()) widget->setChecked(button.selected());
        },
        widget);
    connect(widget, &QRadioButton::clicked, this,
            [this, &button] { run([&] { button.setSelected(true); }, &button); });
}

void ControlBinder::bind(QScrollBar* widget, ScrollBar& bar) {
    // A drag changes the page once, where it is released.
    widget->setTracking(false);
    // Reached with Tab and moved with the arrow keys, Page Up/Down, Home and End.
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->installEventFilter(this);
    m_scrollBars.push_back(widget);
    if (bar.endValue) m_scrollEnds[widget] = bar.endValue;
    add(
        bar,
        [widget, &bar] {
            pushCommon(widget, bar);
            if (widget->minimum() != bar.min() || widget->maximum() != bar.max())
                widget->setRange(bar.min(), bar.max());
            widget->setSingleStep(bar.smallChange());
            widget->setPageStep(bar.largeChange());
            if (widget->value() != bar.value()) widget->setValue(bar.value());
        },
        widget);
    connect(widget, &QScrollBar::valueChanged, this, [this, &bar](int value) {
        if (m_pushing) return;
        run([&] { bar.setValue(value); }, &bar);
    });
}

void ControlBinder::bind(QComboBox* widget, ComboBox& combo) {
    widget->setEditable(true);
    widget->setInsertPolicy(QComboBox::NoInsert);
    // An editable combo box keeps the focus and hands the keys to its field itself.
    widget->installEventFilter(this);
    add(
        combo,
        [widget, &combo] {
            pushCommon(widget, combo);
            widget->setAccessibleName(toQt(combo.toolTip()));
            // On Linux the combo box itself is named by its value; the edit field inside
            // carries its purpose.
            if (widget->lineEdit()) widget->lineEdit()->setAccessibleName(toQt(combo.toolTip()));
            if (widget->count() != static_cast<int>(combo.items().size())) {
                QStringList items;
                for (const auto& item : combo.items()) items << toQt(item);
                widget->clear();
                widget->addItems(items);
            }
            const QString text = toQt(combo.text());
            if (widget->currentText() != text) widget->setEditText(text);
        },
        widget);
    connect(widget, &QComboBox::currentTextChanged, this, [this, &combo](const QString& text) {
        if (m_pushing) return;
        run([&] { combo.setText(fromQt(text)); }, &combo);
    });
}

void ControlBinder::bind(QLabel* widget, Label& label) {
    // Captions hold file names and other texts of the user's, never markup.
    widget->setTextFormat(Qt::PlainText);
    add(
        label,
        [this, widget, &label] {
            pushCommon(widget, label);
            const QString caption = displayCaption(label, label.caption());
            if (widget->text() != caption) widget->setText(caption);
            // A label that shows a value is named by that value; its tooltip describes it.
            widget->setAccessibleName(toQt(label.caption()));
            widget->setAccessibleDescription(toQt(label.toolTip()));
        },
        widget);
}

void ControlBinder::bind(QAbstractButton* widget, Button& button) {
    add(
        button,
        [this, widget, &button] {
            pushCommon(widget, button);
            const QString caption = displayCaption(button, button.caption());
            if (widget->text() != caption) widget->setText(caption);
            // Picture buttons have no caption: their tooltip names them.
            if (caption.isEmpty()) widget->setAccessibleName(toQt(button.toolTip()));
            const bool busy = button.mousePointer() == Button::kHourglass;
            if (busy) {
                widget->setCursor(Qt::WaitCursor);
            } else if (widget->testAttribute(Qt::WA_SetCursor)) {
                widget->unsetCursor();
            }
        },
        widget);
    connect(widget, &QAbstractButton::clicked, this,
            [this, &button] { run([&] { button.click(); }, &button); });
}

void ControlBinder::bind(QAction* action, Button& item) {
    action->setObjectName(QString::fromStdString(item.name()));
    add(
        item,
        [this, action, &item] {
            const QString caption = displayCaption(item, item.caption());
            if (action->text() != caption) action->setText(caption);
            action->setEnabled(item.enabled());
            action->setVisible(item.visible());
        },
        nullptr);
    connect(action, &QAction::triggered, this, [this, &item] { run([&] { item.click(); }); });
}

void ControlBinder::bind(QTimer* timer, Timer& control) {
    timer->setObjectName(QString::fromStdString(control.name()));
    add(
        control,
        [timer, &control] {
            if (timer->interval() != control.interval()) timer->setInterval(control.interval());
            if (control.enabled() && !timer->isActive()) timer->start();
            if (!control.enabled() && timer->isActive()) timer->stop();
        },
        nullptr);
    connect(timer, &QTimer::timeout, this, [this, &control] {
        // A tick never runs inside another handler, nor inside a dialog that a handler opened.
        if (!m_gate.isOpen() || !control.enabled() || !control.onTimer) return;
        run(control.onTimer);
    });
}

void ControlBinder::setAccessKey(const Control& control, char letter) {
    m_accessKeys[&control] = letter;
    for (Binding& binding : m_bindings) {
        if (binding.control == &control) binding.push();
    }
}

QString ControlBinder::displayCaption(const Control& control, const std::string& caption) const {
    const auto key = m_accessKeys.find(&control);
    if (key == m_accessKeys.end()) return toQt(caption);
    // The caption without its marker; a doubled "&&" is a plain ampersand and stays.
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            if (caption[i + 1] == '&') plain += caption.substr(i++, 2);
            continue;
        }
        plain += caption[i];
    }
    const std::size_t at = plain.find(key->second);
    if (at == std::string::npos) return toQt(caption);
    plain.insert(at, 1, '&');
    return toQt(plain);
}

void ControlBinder::run(const std::function<void()>& action, const Control* origin) {
    {
        EventGate::Guard busy(m_gate);
        try {
            action();
        } catch (const RunTimeError& error) {
            reportUntrappedError(m_services, error.code());
        }
    }
    for (Binding& binding : m_bindings) {
        if (binding.control == origin) binding.pushed = 0;
    }
    sync();
}

void ControlBinder::sync() {
    m_pushing = true;
    bool any = false;
    for (Binding& binding : m_bindings) {
        if (binding.pushed == binding.control->revision()) continue;
        binding.pushed = binding.control->revision();
        binding.push();
        any = true;
    }
    if (m_formBinding.control && m_formBinding.pushed != m_formBinding.control->revision()) {
        m_formBinding.pushed = m_formBinding.control->revision();
        m_formBinding.push();
        any = true;
    }
    if (onSynced) onSynced();
    m_pushing = false;
    if (any) Q_EMIT pushed();
}

void ControlBinder::endPress(QScrollBar* widget) {
    // A held arrow or trough keeps stepping on its own; a box that a step opened would take the
    // button's release, and the steps would go on behind it. The press ends where the box
    // opens, and a drag goes back to where it started.
    if (widget->isSliderDown()) widget->setSliderPosition(widget->value());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(-1, -1),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

bool ControlBinder::eventFilter(QObject* watched, QEvent* event) {
    // An access key that reaches a text field found no control to press, as when its button is
    // disabled: the key does nothing, and its letter is not typed into the field either.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier) &&
            !key->text().isEmpty())
            return true;
    }
    if (event->type() == QEvent::WindowBlocked) {
        for (QScrollBar* bar : m_scrollBars) {
            if (bar == watched && m_pressed.contains(bar)) endPress(bar);
        }
    }
    if (event->type() == QEvent::KeyPress) {
        for (QScrollBar* bar : m_scrollBars) {
            if (bar != watched) continue;
            // Qt turns the arrows of a horizontal scroll bar round; the page selector goes on
            // with Right, Down and Page Down and back with Left, Up and Page Up.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (const auto end = m_scrollEnds.find(bar);
                key == Qt::Key_End && end != m_scrollEnds.end()) {
                bar->setValue(end->second());
                return true;
            }
            const auto action = scrollKeyAction(key);
            if (action == QAbstractSlider::SliderNoAction) return false;
            bar->triggerAction(action);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        for (QScrollBar* bar : m_scrollBars) {
            if (bar != watched) continue;
            if (event->type() == QEvent::MouseButtonPress) {
                m_pressed.insert(bar);
            } else {
                m_pressed.erase(bar);
            }
        }
    }
    // A window closed by the user is unloaded, as its load handler expects on the next show,
    // unless its model keeps it.
    if (watched == m_window && event->type() == QEvent::Close && m_form && m_form->loaded()) {
        bool unloaded = false;
        run([this, &unloaded] { unloaded = m_form->queryUnload(); });
        if (!unloaded) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QWidget* ControlBinder::widgetFor(const Control* control) const {
    const auto found = m_widgets.find(control);
    return found == m_widgets.end() ? nullptr : found->second;
}

}  // namespace velora
