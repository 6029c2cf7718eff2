#include "send_many_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "guide_view.h"
#include "window_placement.h"

namespace velora {
namespace {

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

enum Column { kSign, kPort, kOutcome, kReason, kColumns };

}  // namespace

SendManyView::SendManyView(const Modulo1& sequence, std::function<std::vector<SignTarget>()> signs,
                           Services& services, EventGate& gate, QWidget* parent,
                           NetworkPortMaker makeNetwork)
    : QWidget(parent, Qt::Dialog),
      m_sequence(sequence),
      m_signs(std::move(signs)),
      m_gate(gate),
      m_clock(services.clock),
      m_services{services.dialogs, m_clock, services.files, services.program},
      m_ports(services.clock, std::move(makeNetwork)),
      m_round(m_services, m_ports.chosen) {
    setObjectName(QStringLiteral("InvioAPiuInsegne"));
    setWindowTitle(tr("Invia a pi\u00F9 insegne"));
    GuideView::setSection(this, QStringLiteral("Inviare a pi\u00F9 insegne"));
    auto* layout = new QVBoxLayout(this);

    m_about = new QLabel(this);
    m_about->setObjectName(QStringLiteral("Sequenza"));
    m_about->setWordWrap(true);
    layout->addWidget(m_about);
    auto* listLabel = new QLabel(tr("&Insegne a cui inviarla:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Insegne"));
    m_list->setAccessibleName(tr("Insegne a cui inviare la sequenza"));
    listLabel->setBuddy(m_list);
    layout->addWidget(listLabel);
    layout->addWidget(m_list);

    auto* buttons = new QHBoxLayout;
    m_send = new QPushButton(tr("In&via"), this);
    m_send->setObjectName(QStringLiteral("Invia"));
    m_send->setToolTip(tr("Invia la sequenza a ogni insegna scelta, una dopo l'altra"));
    m_cancel = new QPushButton(tr("&Annulla"), this);
    m_cancel->setObjectName(QStringLiteral("Annulla"));
    m_cancel->setToolTip(tr("Interrompe l'invio: le insegne non ancora servite restano escluse"));
    m_cancel->setEnabled(false);
    m_saveLog = new QPushButton(tr("Salva &registro\u2026"), this);
    m_saveLog->setObjectName(QStringLiteral("SalvaRegistro"));
    m_saveLog->setToolTip(tr("Salva in un file di testo il registro degli scambi con le insegne"));
    auto* close = new QPushButton(tr("&Chiudi"), this);
    close->setObjectName(QStringLiteral("Chiudi"));
    buttons->addWidget(m_send);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    buttons->addWidget(m_saveLog);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    m_table = new QTableWidget(0, kColumns, this);
    m_table->setObjectName(QStringLiteral("Esiti"));
    m_table->setAccessibleName(tr("Esito dell'invio a ogni insegna"));
    m_table->setHorizontalHeaderLabels({tr("Insegna"), tr("Porta"), tr("Esito"), tr("Motivo")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    // The reason takes the room the other columns leave, and wraps.
    for (int column : {kSign, kPort, kOutcome})
        m_table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(kReason, QHeaderView::Stretch);
    m_table->setWordWrap(true);
    layout->addWidget(m_table, 1);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Riepilogo"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_list->setMaximumHeight(fontMetrics().lineSpacing() * 8);
    resize(fontMetrics().averageCharWidth() * 120, fontMetrics().lineSpacing() * 34);

    connect(m_send, &QPushButton::clicked, this, &SendManyView::send);
    connect(m_cancel, &QPushButton::clicked, this, &SendManyView::cancel);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_saveLog, &QPushButton::clicked, this,
            [this] { runRound([this] { m_round.link().SalvaRegistro_Click(); }); });
    // Taken from the event loop, never inside the port's own signal: the upload that a reply
    // starts keeps the windows painted, and a socket announces nothing that arrives meanwhile
    // while its signal is still being handled.
    connect(
        &m_ports, &LinkPorts::received, this, [this] { runRound([this] { m_round.received(); }); },
        Qt::QueuedConnection);
    connect(
        &m_ports, &LinkPorts::lineLost, this, [this] { runRound([this] { m_round.lineLost(); }); },
        Qt::QueuedConnection);
    // What arrived while another handler ran is taken once it has ended.
    connect(
        &m_gate, &EventGate::reopened, this,
        [this] {
            if (m_held) runRound([this] { m_round.received(); });
        },
        Qt::QueuedConnection);
    m_tick = new QTimer(this);
    m_tick->setObjectName(QStringLiteral("Attesa"));
    m_tick->setInterval(SendToSigns::kTickMs);
    connect(m_tick, &QTimer::timeout, this, [this] {
        if (m_gate.isOpen()) runRound([this] { m_round.tick(); });
    });
    m_round.onChanged = [this] { showRound(); };
    m_clock.pump = [this] { pump(); };

    BusyInput::Options busy;
    busy.busy = [this] { return m_pumping; };
    busy.stop = m_cancel;
    busy.onEscape = [this] { cancel(); };
    m_busyInput = std::make_unique<BusyInput>(std::move(busy));
    refreshSigns();
    showRound();
}

SendManyView::~SendManyView() {
    m_clock.pump = nullptr;
    m_round.onChanged = nullptr;
    m_ports.close();
}

void SendManyView::refreshSigns() {
    std::vector<std::string> ticked;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->checkState() == Qt::Checked)
            ticked.push_back(m_offered[static_cast<std::size_t>(row)].name);
    m_offered = m_signs ? m_signs() : std::vector<SignTarget>{};
    m_list->clear();
    for (const SignTarget& sign : m_offered) {
        const QString port = sign.port.empty() ? tr("nessuna porta") : utf8(sign.port);
        auto* item = new QListWidgetItem(tr("%1 \u2013 %2, %3 schede (%4 caratteri)")
                                             .arg(utf8(sign.name), port)
                                             .arg(sign.boards)
                                             .arg(sign.rowChars()),
                                         m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const bool wasTicked = std::find(ticked.begin(), ticked.end(), sign.name) != ticked.end();
        item->setCheckState(wasTicked ? Qt::Checked : Qt::Unchecked);
    }
    const int pages = m_sequence.PageCount;
    m_about->setText(pages == 0 ? tr("La sequenza non ha pagine da inviare.")
                                : tr("Sequenza di %1 pagine, righe da %2 caratteri. A un'insegna "
                                     "di un'altra larghezza va solo se nessun testo si perde.")
                                      .arg(pages)
                                      .arg(m_sequence.RowChars));
}

void SendManyView::showEvent(QShowEvent* event) {
    if (!m_round.running()) refreshSigns();
    QWidget::showEvent(event);
}

void SendManyView::send() {
    if (m_round.running()) return;
    std::vector<SignTarget> chosen;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->checkState() == Qt::Checked)
            chosen.push_back(m_offered[static_cast<std::size_t>(row)]);
    if (chosen.empty()) {
        m_summary->setText(tr("Scegliere almeno un'insegna."));
        return;
    }
    if (onPortsTaken) onPortsTaken();
    m_wasRunning = true;
    m_tick->start();
    runRound([&] { m_round.start(m_sequence, chosen); });
}

void SendManyView::cancel() {
    if (!m_round.running()) return;
    // Inside a transmission the model takes the cancel between two bytes.
    if (m_pumping)
        m_round.cancel();
    else
        runRound([this] { m_round.cancel(); });
}

void SendManyView::runRound(const std::function<void()>& action) {
    if (!m_gate.isOpen()) {
        m_held = true;
        return;
    }
    m_held = false;
    {
        EventGate::Guard guard(m_gate);
        action();
    }
    showRound();
    if (!m_round.running() && m_wasRunning) {
        m_wasRunning = false;
        m_tick->stop();
        if (onPortsReturned) onPortsReturned();
        Q_EMIT roundEnded();
    }
}

void SendManyView::showRound() {
    const std::vector<SignSend>& sends = m_round.sends();
    m_table->setRowCount(static_cast<int>(sends.size()));
    int confirmed = 0;
    for (std::size_t i = 0; i < sends.size(); ++i) {
        const SignSend& send = sends[i];
        confirmed += send.result == SendResult::Confirmed;
        QString outcome = utf8(resultWords(send));
        if (static_cast<int>(i) == m_round.current())
            outcome += QStringLiteral(": ") + utf8(m_round.progressWords());
        const QString cells[kColumns] = {utf8(send.target.name), utf8(send.target.port), outcome,
                                         utf8(send.reason)};
        for (int column = 0; column < kColumns; ++column) {
            QTableWidgetItem* item = m_table->item(static_cast<int>(i), column);
            if (!item) {
                item = new QTableWidgetItem;
                m_table->setItem(static_cast<int>(i), column, item);
            }
            if (item->text() != cells[column]) item->setText(cells[column]);
            item->setToolTip(cells[column]);
        }
    }
    m_table->resizeRowsToContents();
    const bool running = m_round.running();
    m_send->setEnabled(!running);
    m_list->setEnabled(!running);
    m_saveLog->setEnabled(!running);
    m_cancel->setEnabled(running);
    if (running) {
        m_summary->setText(
            tr("Invio in corso: insegna %1 di %2.").arg(m_round.current() + 1).arg(sends.size()));
    } else if (!sends.empty()) {
        m_summary->setText(confirmed == static_cast<int>(sends.size())
                               ? tr("Tutte le insegne hanno confermato.")
                               : (confirmed == 1 ? tr("Confermato da %1 insegna su %2.")
                                                 : tr("Confermato da %1 insegne su %2."))
                                     .arg(confirmed)
                                     .arg(sends.size()));
    }
}

void SendManyView::pump() {
    showRound();
    m_pumping = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_pumping = false;
}

void SendManyView::closeEvent(QCloseEvent* event) {
    // A window closed in the middle of a round stops it: nothing goes on unseen.
    if (m_round.running()) cancel();
    QWidget::closeEvent(event);
}

}  // namespace velora
