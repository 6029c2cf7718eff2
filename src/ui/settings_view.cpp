#include "settings_view.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "guide_view.h"

namespace velora {

SettingsView::SettingsView(Salva_Impost& model, Services& services, EventGate& gate,
                           QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_model(model), m_binder(services, gate, this) {
    m_binder.bind(this, m_model.window);
    GuideView::setSection(this, QStringLiteral("Il numero di schede"));

    auto* label1 = new QLabel(this);
    auto* combo2 = new QComboBox(this);
    auto* label2 = new QLabel(this);
    auto* command1 = new QPushButton(this);
    auto* command2 = new QPushButton(this);
    combo2->setMinimumContentsLength(20);
    label2->setMinimumWidth(80);
    label2->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(combo2, 0, 1);
    grid->addWidget(label2, 0, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1);
    buttons->addWidget(command2);
    grid->addLayout(buttons, 1, 0, 1, 3);

    m_binder.bind(label1, m_model.Label1);
    m_binder.bind(combo2, m_model.Combo2);
    m_binder.bind(label2, m_model.Label2);
    m_binder.bind(command1, m_model.Command1);
    m_binder.bind(command2, m_model.Command2);
    m_binder.setAccessKey(m_model.Label1, 'N');
    m_binder.setAccessKey(m_model.Command1, 'S');
    m_binder.setAccessKey(m_model.Command2, 'C');
    // The heading names the list for screen readers, which read a combo box out by its value.
    label1->setBuddy(combo2);
    command1->setDefault(true);
    // A plain window has no default button of its own: Return saves, as the button's frame
    // promises, and Escape closes the window as "Chiudi" does.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* save = new QShortcut(QKeySequence(key), this);
        connect(save, &QShortcut::activated, command1, &QPushButton::click);
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, command2, &QPushButton::click);
}

}  // namespace velora
