#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStringList>
#include <QWidget>

namespace velora::testing {

// How assistive technology names controls, by the rule every window of the program follows:
// buttons, check boxes, option buttons and menu items by their captions; text boxes and picture
// buttons by their tooltips; labels by the value they show, with their tooltip as description.

// A caption as it is spoken: the access-key marks dropped, "&&" kept as one "&".
inline QString spokenCaption(const QString& caption) {
    QString spoken;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i == caption.size()) break;
        spoken += caption[i];
    }
    return spoken;
}

namespace detail {

inline QString describe(const QObject* object) {
    QString name = object->objectName();
    // A part of a composite control (the edit field of a combo box) is known by its owner.
    if (name.isEmpty() && object->parent() && !object->parent()->objectName().isEmpty())
        name = QStringLiteral("inside ") + object->parent()->objectName();
    return QString::fromLatin1(object->metaObject()->className()) + u' ' +
           (name.isEmpty() ? QStringLiteral("(unnamed)") : name);
}

inline void expectName(QStringList& faults, const QObject* object,
                       const QAccessibleInterface* iface, const QString& expected,
                       const char* source) {
    const QString name = iface->text(QAccessible::Name);
    if (expected.isEmpty()) {
        faults << describe(object) + QStringLiteral(": no ") + QString::fromLatin1(source) +
                      QStringLiteral(" to name it");
    } else if (name != expected) {
        faults << describe(object) + QStringLiteral(": named \"") + name +
                      QStringLiteral("\" instead of its ") + QString::fromLatin1(source) +
                      QStringLiteral(" \"") + expected + u'"';
    }
}

// A combo box is named by its tooltip. On Linux, Qt names it by its value instead and leaves its
// purpose to the label that it is the buddy of, as screen readers expect there: that label must
// be in place, and the edit field inside carries the tooltip (checked on its own).
inline void checkComboBox(QStringList& faults, QComboBox* combo, QAccessibleInterface* iface) {
    const QString name = iface->text(QAccessible::Name);
    if (combo->toolTip().isEmpty()) {
        faults << describe(combo) + QStringLiteral(": no tooltip to name it");
        return;
    }
    if (name == combo->toolTip()) return;
    // Without a value, Qt falls back to the label's text.
    for (const auto& [label, relation] : iface->relations(QAccessible::Label)) {
        if (name == iface->text(QAccessible::Value) || name == label->text(QAccessible::Name))
            return;
    }
    faults << describe(combo) + QStringLiteral(": named \"") + name +
                  QStringLiteral("\", neither its tooltip \"") + combo->toolTip() +
                  QStringLiteral("\" nor its value with a label beside it");
}

inline void checkControl(QStringList& faults, QAccessibleInterface* iface) {
    QObject* object = iface->object();
    if (auto* action = qobject_cast<QAction*>(object)) {
        if (!action->isSeparator() && action->isVisible())
            expectName(faults, object, iface, spokenCaption(action->text()), "caption");
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        if (button->text().isEmpty()) {
            expectName(faults, object, iface, button->toolTip(), "tooltip");
        } else {
            expectName(faults, object, iface, spokenCaption(button->text()), "caption");
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        checkComboBox(faults, combo, iface);
    } else if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        // The edit field of a combo box speaks for its owner, by the owner's tooltip.
        QString toolTip = edit->toolTip();
        if (auto* owner = qobject_cast<QComboBox*>(edit->parent()); owner && toolTip.isEmpty())
            toolTip = owner->toolTip();
        expectName(faults, object, iface, toolTip, "tooltip");
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        if (label->text().isEmpty()) {
            // A picture needs a name of its own; an empty value label has nothing to say.
            if (!label->pixmap().isNull())
                expectName(faults, object, iface, label->accessibleName(), "own name");
            return;
        }
        // A label with a buddy shows its access key, which is not spoken.
        const QString shown = label->buddy() ? spokenCaption(label->text()) : label->text();
        expectName(faults, object, iface, shown, "value");
        const QString description = iface->text(QAccessible::Description);
        if (description != label->toolTip()) {
            faults << describe(object) + QStringLiteral(": described as \"") + description +
                          QStringLiteral("\" instead of its tooltip \"") + label->toolTip() + u'"';
        }
    }
}

inline void walk(QStringList& faults, QAccessibleInterface* iface, int depth) {
    if (!iface || !iface->isValid() || depth > 64) return;
    auto* widget = qobject_cast<QWidget*>(iface->object());
    // Hidden controls are not in front of the user; a menu's items are, through its title.
    if (widget && widget->isHidden() && !qobject_cast<QMenu*>(widget)) return;
    checkControl(faults, iface);
    for (int i = 0; i < iface->childCount(); ++i) walk(faults, iface->child(i), depth + 1);
}

}  // namespace detail

// Every control of `window` that assistive technology would name or describe against the rule,
// as one readable line each.
inline QStringList accessibilityFaults(QWidget* window) {
    QStringList faults;
    detail::walk(faults, QAccessible::queryAccessibleInterface(window), 0);
    return faults;
}

}  // namespace velora::testing
