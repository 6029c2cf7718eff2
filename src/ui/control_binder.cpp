#include "control_binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
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

}  // namespace

ControlBinder::ControlBinder(Services& services, EventGate& gate, QObject* parent)
    : QObject(parent), m_services(services), m_gate(gate) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!m_form || m_pushing) return;
        for (const auto& [control, widget] : m_widgets) {
            if (widget == now) m_form->noteFocus(control);
        }
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
                         if (window->isHidden() == form.visible()) window->setVisible(form.visible());
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
    add(box,
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
}

void ControlBinder::bind(QCheckBox* widget, CheckBox& box) {
    add(box,
        [widget, &box] {
            pushCommon(widget, box);
            const QString caption = toQt(box.caption());
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
    add(button,
        [widget, &button] {
            pushCommon(widget, button);
            const QString caption = toQt(button.caption());
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
    add(bar,
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
    add(combo,
        [widget, &combo] {
            pushCommon(widget, combo);
            widget->setAccessibleName(toQt(combo.toolTip()));
            // On Linux the combo box itself is named by its value; the edit field inside
            // carries its purpose.
            if (widget->lineEdit()) widget->lineEdit()->setAccessibleName(toQt(combo.toolTip()));
            if (widget->count() != static_cast<int>(combo.items().size())) {
                widget->clear();
                for (const auto& item : combo.items()) widget->addItem(toQt(item));
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
    add(label,
        [widget, &label] {
            pushCommon(widget, label);
            const QString caption = toQt(label.caption());
            if (widget->text() != caption) widget->setText(caption);
            // A label that shows a value is named by that value; its tooltip describes it.
            widget->setAccessibleName(caption);
            widget->setAccessibleDescription(toQt(label.toolTip()));
        },
        widget);
}

void ControlBinder::bind(QAbstractButton* widget, Button& button) {
    add(button,
        [widget, &button] {
            pushCommon(widget, button);
            const QString caption = toQt(button.caption());
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
    add(item,
        [action, &item] {
            const QString caption = toQt(item.caption());
            if (action->text() != caption) action->setText(caption);
            action->setEnabled(item.enabled());
            action->setVisible(item.visible());
        },
        nullptr);
    connect(action, &QAction::triggered, this, [this, &item] { run([&] { item.click(); }); });
}

void ControlBinder::bind(QTimer* timer, Timer& control) {
    timer->setObjectName(QString::fromStdString(control.name()));
    add(control,
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
    for (Binding& binding : m_bindings) {
        if (binding.pushed == binding.control->revision()) continue;
        binding.pushed = binding.control->revision();
        binding.push();
    }
    if (m_formBinding.control && m_formBinding.pushed != m_formBinding.control->revision()) {
        m_formBinding.pushed = m_formBinding.control->revision();
        m_formBinding.push();
    }
    m_pushing = false;
}

bool ControlBinder::eventFilter(QObject* watched, QEvent* event) {
    // A window closed by the user is unloaded, as its load handler expects on the next show.
    if (watched == m_window && event->type() == QEvent::Close && m_form && m_form->loaded()) {
        run([this] { m_form->unload(); });
    }
    return QObject::eventFilter(watched, event);
}

QWidget* ControlBinder::widgetFor(const Control* control) const {
    const auto found = m_widgets.find(control);
    return found == m_widgets.end() ? nullptr : found->second;
}

}  // namespace velora
