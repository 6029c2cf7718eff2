#include "signs_view.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "guide_view.h"
#include "qt_text.h"

namespace velora {

SignsView::SignsView(SignsWindow& model, Services& services, EventGate& gate, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_model(model), m_binder(services, gate, this) {
    m_binder.bind(this, m_model.window);
    GuideView::setSection(this, QStringLiteral("Le insegne"));
    auto* layout = new QVBoxLayout(this);

    auto* problem = new QLabel(this);
    problem->setWordWrap(true);
    problem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_binder.bind(problem, m_model.Problema);
    layout->addWidget(problem);

    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(QStringLiteral("Elenco"));
    m_table->setHorizontalHeaderLabels({tr("Nome"), tr("Porta"), tr("Schede"), tr("Note")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    m_table->setAccessibleName(tr("Insegne"));
    layout->addWidget(m_table, 1);

    auto* fields = new QGridLayout;
    auto* nameLabel = new QLabel(this);
    auto* name = new QLineEdit(this);
    auto* portLabel = new QLabel(this);
    auto* port = new QLineEdit(this);
    auto* boardsLabel = new QLabel(this);
    auto* boards = new QComboBox(this);
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(name, 0, 1);
    fields->addWidget(portLabel, 1, 0);
    fields->addWidget(port, 1, 1);
    fields->addWidget(boardsLabel, 2, 0);
    fields->addWidget(boards, 2, 1, Qt::AlignLeft);
    layout->addLayout(fields);
    m_binder.bind(nameLabel, m_model.LabelNome);
    m_binder.bind(name, m_model.Nome);
    m_binder.bind(portLabel, m_model.LabelPorta);
    m_binder.bind(port, m_model.Porta);
    m_binder.bind(boardsLabel, m_model.LabelSchede);
    m_binder.bind(boards, m_model.Schede);
    nameLabel->setBuddy(name);
    portLabel->setBuddy(port);
    boardsLabel->setBuddy(boards);
    name->setAccessibleName(tr("Nome dell'insegna"));
    port->setAccessibleName(toQt(m_model.Porta.toolTip()));
    port->setPlaceholderText(QStringLiteral("COM1, /dev/ttyUSB0, socket://host:4001"));

    auto* buttons = new QHBoxLayout;
    for (Button* button : {&m_model.Aggiungi, &m_model.Modifica, &m_model.Togli, &m_model.Usa}) {
        auto* widget = new QPushButton(this);
        m_binder.bind(widget, *button);
        buttons->addWidget(widget);
    }
    buttons->addStretch();
    auto* close = new QPushButton(this);
    m_binder.bind(close, m_model.Chiudi);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    // A row chosen in the table fills the fields; a double click uses the sign in the editor.
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (m_filling) return;
        m_binder.run([this, row] { m_model.select(row); });
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        m_binder.run([this, row] {
            m_model.select(row);
            m_model.Usa.click();
        });
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, close, &QPushButton::click);

    m_model.onListChanged = [this] { showTable(); };
    // The model may select another row after a change (the sign just added).
    m_binder.onSynced = [this] {
        if (m_table->currentRow() == m_model.selected()) return;
        m_filling = true;
        const QSignalBlocker blocker(m_table);
        m_table->setCurrentCell(m_model.selected(), 0);
        m_filling = false;
    };
    showTable();
    resize(fontMetrics().averageCharWidth() * 80, fontMetrics().height() * 24);
}

SignsView::~SignsView() {
    m_model.onListChanged = nullptr;
}

void SignsView::showTable() {
    m_filling = true;
    const QSignalBlocker blocker(m_table);
    const SignList& list = m_model.list();
    const bool usable = m_model.store().usable();
    m_table->setRowCount(usable ? static_cast<int>(list.size()) : 0);
    for (std::size_t i = 0; usable && i < list.size(); ++i) {
        const Sign& sign = list.signs()[i];
        QStringList notes;
        if (i == list.currentIndex()) notes << tr("in uso");
        if (i == 0) notes << QStringLiteral("BASE.dat");
        const QString cells[] = {QString::fromStdString(sign.name),
                                 QString::fromStdString(sign.port), QString::number(sign.boards),
                                 notes.join(QStringLiteral(", "))};
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            QFont font = item->font();
            font.setBold(i == list.currentIndex());
            item->setFont(font);
            if (column == 2) item->setTextAlignment(Qt::AlignCenter);
            m_table->setItem(static_cast<int>(i), column, item);
        }
    }
    const int row = m_model.selected();
    if (row >= 0) {
        m_table->setCurrentCell(row, 0);
    } else {
        m_table->clearSelection();
        m_table->setCurrentCell(-1, -1);
    }
    m_filling = false;
}

}  // namespace velora
