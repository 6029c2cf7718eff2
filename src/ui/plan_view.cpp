#include "plan_view.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "guide_view.h"
#include "qt_text.h"

namespace velora {
namespace {

enum Column { kDays, kFrom, kTo, kFile, kSign, kColumns };

}  // namespace

PlanView::PlanView(PlanWindow& model, Services& services, EventGate& gate, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_model(model), m_binder(services, gate, this) {
    GuideView::setSection(this, QStringLiteral("Il programma"));
    auto* layout = new QVBoxLayout(this);
    const auto label = [this, layout](Label& control) {
        auto* widget = new QLabel(this);
        widget->setWordWrap(true);
        widget->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_binder.bind(widget, control);
        layout->addWidget(widget);
        return widget;
    };
    const auto button = [this](Button& control, QBoxLayout* row) {
        auto* widget = new QPushButton(this);
        m_binder.bind(widget, control);
        row->addWidget(widget);
    };

    auto* fileRow = new QHBoxLayout;
    auto* piano = new QLabel(this);
    piano->setWordWrap(true);
    m_binder.bind(piano, model.Piano);
    fileRow->addWidget(piano, 1);
    button(model.Apri, fileRow);
    button(model.Nuovo, fileRow);
    layout->addLayout(fileRow);
    label(model.Insegna);

    m_table = new QTableWidget(0, kColumns, this);
    m_table->setObjectName(QStringLiteral("Voci"));
    m_table->setHorizontalHeaderLabels(
        {tr("Giorni"), tr("Dalle"), tr("Alle"), tr("File"), tr("Insegna")});
    m_table->horizontalHeader()->setSectionResizeMode(kFile, QHeaderView::Stretch);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setAccessibleName(tr("Voci del programma"));
    m_table->setToolTip(
        tr("Giorni: lun mar mer gio ven sab dom, con - e , (vuoto: tutti i giorni; "
           "predefinito: quando nient'altro \u00E8 in programma). Orari HH:MM, oppure "
           "AAAA-MM-GG HH:MM per una voce datata."));
    m_table->setMinimumHeight(fontMetrics().lineSpacing() * 10);
    layout->addWidget(m_table, 1);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling) cellEdited(item->row());
    });
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        m_binder.run([this, row] {
            m_model.selectedRow = row;
            m_model.refresh();
        });
    });

    auto* editRow = new QHBoxLayout;
    button(model.Aggiungi, editRow);
    button(model.Rimuovi, editRow);
    editRow->addStretch(1);
    layout->addLayout(editRow);

    label(model.SullInsegna);
    label(model.InProgramma);
    label(model.ProssimoCambio);
    QLabel* esito = label(model.Esito);
    QPalette warning = esito->palette();
    warning.setColor(QPalette::WindowText, QColor(0x30, 0x30, 0x90));
    esito->setPalette(warning);

    auto* sendRow = new QHBoxLayout;
    auto* follow = new QCheckBox(this);
    m_binder.bind(follow, model.Segui);
    sendRow->addWidget(follow);
    sendRow->addStretch(1);
    button(model.InviaOra, sendRow);
    button(model.Urgente, sendRow);
    button(model.Chiudi, sendRow);
    layout->addLayout(sendRow);

    auto* tick = new QTimer(this);
    m_binder.bind(tick, model.Orologio);
    m_binder.bind(this, model.window);
    m_binder.onSynced = [this] { showRows(false); };
    resize(fontMetrics().averageCharWidth() * 90, fontMetrics().lineSpacing() * 28);
    showRows(true);
}

void PlanView::showRows(bool force) {
    const QString sign = toQt(m_model.Insegna.caption()).section(QLatin1Char(' '), 1);
    if (!force && m_model.rows() == m_shown && sign == m_sign) return;
    m_filling = true;
    m_shown = m_model.rows();
    m_sign = sign;
    m_table->setRowCount(static_cast<int>(m_shown.size()));
    for (std::size_t i = 0; i < m_shown.size(); ++i) {
        const PlanWindow::Row& row = m_shown[i];
        const int r = static_cast<int>(i);
        const QString cells[kColumns] = {QString::fromStdString(row.days),
                                         QString::fromStdString(row.from),
                                         QString::fromStdString(row.to), pathToQt(row.file), sign};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == kSign) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setSectionResizeMode(kFile, QHeaderView::Stretch);
    m_filling = false;
}

void PlanView::cellEdited(int row) {
    if (row < 0 || row >= static_cast<int>(m_shown.size())) return;
    const auto text = [this, row](int column) {
        const QTableWidgetItem* item = m_table->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    PlanWindow::Row edited = m_shown[static_cast<std::size_t>(row)];
    edited.days = text(kDays).toStdString();
    edited.from = text(kFrom).toStdString();
    edited.to = text(kTo).toStdString();
    edited.file = pathFromQt(text(kFile));
    bool accepted = false;
    m_binder.run([&] { accepted = m_model.changeRow(static_cast<std::size_t>(row), edited); });
    // A refused edit goes back to what the plan holds; an accepted one may be written anew.
    if (!accepted) QTimer::singleShot(0, this, [this] { showRows(true); });
}

}  // namespace velora
