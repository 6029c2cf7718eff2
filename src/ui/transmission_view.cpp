#include "transmission_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "busy_input.h"
#include "guide_view.h"
#include "link/network_address.h"
#include "program_places.h"
#include "qt_text.h"
#include "virtual_sign_panel.h"
#include "window_placement.h"

namespace velora {
namespace {

// The network addresses that opened, most recent first.
const char* const kNetworkPortsKey = "link/networkPorts";
constexpr int kPortRefreshMs = 2000;
const char* const kClockAfterUploadKey = "link/clockAfterUpload";
const char* const kLastClockKey = "link/lastClock";

}  // namespace

TransmissionView::TransmissionView(InvDat& model, LinkPorts& ports, PumpingClock& clock,
                                   Services& services, EventGate& gate, QWidget* parent)
    : QWidget(parent, Qt::Dialog),
      m_model(model),
      m_ports(ports),
      m_clock(clock),
      m_gate(gate),
      m_binder(services, gate),
      m_finder(&SystemSerialPort::portInfos) {
    std::vector<std::string> networkPorts;
    for (const QString& name : QSettings().value(QLatin1String(kNetworkPortsKey)).toStringList())
        networkPorts.push_back(name.toStdString());
    m_finder.setNetworkPorts(networkPorts);
    auto* layout = new QVBoxLayout(this);
    // The window grows with the lines that explain a failure, instead of squeezing the others.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    buildPortChoice(layout);
    buildControls(layout);
    buildProgress(layout);
    buildJournal(layout);
    // The virtual sign's face, which the composition feeds with what the sign received.
    m_signPanel = new VirtualSignPanel(clock, this);
    layout->addWidget(m_signPanel);
    // One width whatever is shown: long port names and messages wrap or are cut short instead.
    setFixedWidth(fontMetrics().averageCharWidth() * 64);
    m_binder.bind(this, model.window);
    wireEvents();
    restoreSettings();

    const QString remembered = QString::fromStdString(rememberedPort());
    m_portChoice->setEditText(remembered);
    m_model.choosePort(remembered.toStdString());
    showSignPanel();
    showNetworkNote();
}

void TransmissionView::buildPortChoice(QVBoxLayout* layout) {
    auto* portRow = new QHBoxLayout;
    auto* portLabel = new QLabel(tr("&Porta:"), this);
    m_portChoice = new QComboBox(this);
    m_portChoice->setObjectName(QStringLiteral("Porta"));
    m_portChoice->setEditable(true);
    m_portChoice->setInsertPolicy(QComboBox::NoInsert);
    // A long port name is cut short in the field, never a reason for a wider window.
    m_portChoice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_portChoice->setMinimumContentsLength(20);
    m_portChoice->setToolTip(
        tr("Porta seriale dell'insegna; si pu\u00F2 scrivere un percorso o un indirizzo "
           "socket://HOST:PORTA o rfc2217://HOST:PORTA"));
    m_portChoice->lineEdit()->setAccessibleName(m_portChoice->toolTip());
    portLabel->setBuddy(m_portChoice);
    // The list follows the system's while the window is open.
    refreshPorts();
    auto* finder = new QTimer(this);
    finder->setObjectName(QStringLiteral("CercaPorte"));
    connect(finder, &QTimer::timeout, this, [this] {
        if (!m_pumping && m_gate.isOpen()) refreshPorts();
    });
    finder->start(kPortRefreshMs);
    portRow->addWidget(portLabel);
    portRow->addWidget(m_portChoice, 1);
    layout->addLayout(portRow);
    m_binder.guardField(m_portChoice);

    // Over a network the bytes may bunch up on the way: only the converter can keep them apart.
    m_networkNote = new QLabel(tr("Rete: ritmo sicuro solo con ratelimit (F1)"), this);
    m_networkNote->setObjectName(QStringLiteral("NotaRete"));
    m_networkNote->setToolTip(
        tr("In rete i byte possono arrivare raggruppati: il ritmo di 2 ms \u00E8 sicuro solo se "
           "il convertitore manda un byte alla volta (ser2net: ratelimit). Vedere la guida."));
    m_networkNote->setWordWrap(true);
    m_networkNote->hide();
    layout->addWidget(m_networkNote);
}

void TransmissionView::buildControls(QVBoxLayout* layout) {
    auto* frame = new QGroupBox(toQt(m_model.Frame1.caption()), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* frameLayout = new QVBoxLayout(frame);
    auto* option1 = new QRadioButton(frame);
    auto* option2 = new QRadioButton(frame);
    frameLayout->addWidget(option1);
    frameLayout->addWidget(option2);
    layout->addWidget(frame);
    m_binder.bind(option1, m_model.Option1);
    m_binder.bind(option2, m_model.Option2);

    auto* buttons = new QGridLayout;
    const std::pair<Button*, char> placed[] = {{&m_model.Command7, 'C'},
                                               {&m_model.CMDINVIO, 'I'},
                                               {&m_model.Command3, 'D'},
                                               {&m_model.Command1, 'E'}};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(this);
        buttons->addWidget(button, i / 2, i % 2);
        m_binder.bind(button, *placed[i].first);
        m_binder.setAccessKey(*placed[i].first, placed[i].second);
    }
    buttons->setColumnStretch(0, 1);
    buttons->setColumnStretch(1, 1);
    layout->addLayout(buttons);
    // Access keys, one letter each beside the port field's P.
    m_binder.setAccessKey(m_model.Option1, 'S');
    m_binder.setAccessKey(m_model.Option2, 'M');

    auto* status = new QGridLayout;
    // The state of the link on the first row (its three labels never show together: every
    // exchange starts by hiding them), the result of the last answer on the second.
    const std::pair<Label*, QRect> cells[] = {{&m_model.Coll_OK, {0, 0, 2, 1}},
                                              {&m_model.No_Collegam, {0, 0, 2, 1}},
                                              {&m_model.Manca_Dati, {0, 0, 2, 1}},
                                              {&m_model.Trasm_OK, {0, 1, 1, 1}},
                                              {&m_model.Label7, {1, 1, 1, 1}}};
    for (const auto& [label, cell] : cells) {
        auto* widget = new QLabel(this);
        keepPlace(widget);
        status->addWidget(widget, cell.y(), cell.x(), cell.height(), cell.width());
        m_binder.bind(widget, *label);
    }
    layout->addLayout(status);
}

void TransmissionView::buildProgress(QVBoxLayout* layout) {
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("Avanzamento"));
    m_progressBar->hide();
    keepPlace(m_progressBar);
    m_cancel = new QPushButton(this);
    // The wait for the sign's confirmation takes the bar's place once the bytes are out.
    auto* conferma = new QLabel(this);
    keepPlace(conferma);
    auto* progressRow = new QGridLayout;
    progressRow->addWidget(m_progressBar, 0, 0);
    progressRow->addWidget(conferma, 0, 0);
    progressRow->addWidget(m_cancel, 0, 1);
    progressRow->setColumnStretch(0, 1);
    layout->addLayout(progressRow);
    m_binder.bind(conferma, m_model.Conferma);
    m_binder.bind(m_cancel, m_model.Annulla);
    m_binder.setAccessKey(m_model.Annulla, 'A');

    // Why the last exchange or the opening of the port failed, and what an upload will take.
    auto* esito = new QLabel(this);
    esito->setWordWrap(true);
    esito->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    esito->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette warning = esito->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x20));
    esito->setPalette(warning);
    // Room for two lines of reason, kept whether one is shown or not; a longer one grows it.
    esito->setMinimumHeight(fontMetrics().lineSpacing() * 2);
    keepPlace(esito);
    auto* dimensione = new QLabel(this);
    keepPlace(dimensione);
    layout->addWidget(esito);
    layout->addWidget(dimensione);
    m_binder.bind(esito, m_model.Esito);
    m_binder.bind(dimensione, m_model.Dimensione);
}

void TransmissionView::keepPlace(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setWordWrap(true);
}

void TransmissionView::buildJournal(QVBoxLayout* layout) {
    auto* clockAfter = new QCheckBox(this);
    m_binder.bind(clockAfter, m_model.DataOraDopoInvio);
    m_binder.setAccessKey(m_model.DataOraDopoInvio, 'o');
    layout->addWidget(clockAfter);
    auto* lastClock = new QLabel(this);
    keepPlace(lastClock);
    m_binder.bind(lastClock, m_model.UltimaOra);
    layout->addWidget(lastClock);

    // The journal of the session, shown on request so that the window stays small; its save
    // button is always at hand.
    auto* titleRow = new QHBoxLayout;
    auto* show = new QPushButton(tr("&Registro"), this);
    show->setObjectName(QStringLiteral("MostraRegistro"));
    show->setCheckable(true);
    show->setToolTip(tr("Mostra o nasconde il registro degli scambi con l'insegna"));
    m_journal = new QPlainTextEdit(this);
    m_journal->setObjectName(QStringLiteral("Registro"));
    m_journal->setReadOnly(true);
    m_journal->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_journal->setMaximumBlockCount(static_cast<int>(Journal::kLinesKept));
    m_journal->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_journal->setMinimumHeight(fontMetrics().lineSpacing() * 8);
    m_journal->setAccessibleName(tr("Registro degli scambi con l'insegna"));
    m_journal->hide();
    for (const std::string& line : m_model.journal.lines())
        m_journal->appendPlainText(QString::fromStdString(line));
    connect(show, &QPushButton::toggled, this, [this](bool shown) {
        m_journal->setVisible(shown);
        // The window grows downwards with the journal: it must not leave the screen.
        if (isVisible()) keepOnScreen(this);
    });
    auto* save = new QPushButton(this);
    m_binder.bind(save, m_model.SalvaRegistro);
    m_binder.setAccessKey(m_model.SalvaRegistro, 'v');
    // One send to several signs, in a window of its own.
    auto* many = new QPushButton(tr("Invia a pi\u00F9 inse&gne\u2026"), this);
    many->setObjectName(QStringLiteral("InviaAPiuInsegne"));
    many->setToolTip(tr("Invia la sequenza a pi\u00F9 insegne, una dopo l'altra"));
    connect(many, &QPushButton::clicked, this, &TransmissionView::sendToManyRequested);
    titleRow->addWidget(show);
    titleRow->addStretch(1);
    titleRow->addWidget(many);
    titleRow->addWidget(save);
    layout->addLayout(titleRow);
    layout->addWidget(m_journal, 1);
    // Journal lines are UTF-8 already.
    m_model.journal.onLine = [this](const std::string& line) {
        m_journal->appendPlainText(QString::fromStdString(line));
    };

    auto* attesa = new QTimer(this);
    m_binder.bind(attesa, m_model.Attesa);
}

void TransmissionView::restoreSettings() {
    QSettings settings;
    m_model.DataOraDopoInvio.setValue(
        settings.value(QLatin1String(kClockAfterUploadKey), false).toBool() ? 1 : 0);
    const QString lastClock = settings.value(QLatin1String(kLastClockKey)).toString();
    if (!lastClock.isEmpty() && !m_model.UltimaOra.visible()) {
        m_model.UltimaOra.setCaption(fromQt(lastClock));
        m_model.UltimaOra.setVisible(true);
    }
    m_binder.sync();
}

void TransmissionView::storeSettings() {
    QSettings settings;
    settings.setValue(QLatin1String(kClockAfterUploadKey), m_model.DataOraDopoInvio.value() == 1);
    if (m_model.UltimaOra.visible())
        settings.setValue(QLatin1String(kLastClockKey), toQt(m_model.UltimaOra.caption()));
}

void TransmissionView::wireEvents() {
    connect(m_portChoice, &QComboBox::activated, this, [this](int index) {
        const QString name = m_portChoice->itemData(index).toString();
        m_portChoice->setEditText(name);
        choosePort(name);
    });
    connect(m_portChoice->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { choosePort(portNameOf(m_portChoice->currentText())); });

    m_clock.pump = [this] { pump(); };
    // The choice of the check box and the last clock setting outlive the session.
    connect(&m_binder, &ControlBinder::pushed, this, [this] { storeSettings(); });
    connect(&m_ports, &LinkPorts::received, this, &TransmissionView::deliverReplies);
    connect(&m_ports, &LinkPorts::lineLost, this, &TransmissionView::deliverLineLost);
    // Replies held back during a handler are caught up once it has ended, from the event loop.
    connect(&m_gate, &EventGate::reopened, this, &TransmissionView::exchangeEnded,
            Qt::QueuedConnection);
    // Only "Annulla" takes the user's input while an exchange is being sent; Escape presses it.
    BusyInput::Options busy;
    busy.busy = [this] { return m_pumping; };
    busy.stop = m_cancel;
    busy.onEscape = [this] {
        if (m_cancel->isEnabled()) m_cancel->click();
    };
    m_busyInput = std::make_unique<BusyInput>(std::move(busy));
}

void TransmissionView::refreshPorts() {
    if (!m_finder.refresh() && m_portChoice->count() > 0) return;
    // The field keeps what the user typed or chose while the items change under it.
    const QString typed = m_portChoice->currentText();
    const QSignalBlocker blocker(m_portChoice);
    m_portChoice->clear();
    // Port names are the system's own: file names, never Windows-1252 text.
    for (const PortFinder::Entry& entry : m_finder.entries())
        m_portChoice->addItem(QString::fromStdString(entry.label),
                              QString::fromStdString(entry.name));
    m_portChoice->addItem(toQt(kVirtualSignPort), toQt(kVirtualSignPort));
    m_portChoice->setEditText(typed);
}

QString TransmissionView::portNameOf(const QString& text) const {
    // A listed port is chosen by its label, and opened by its name.
    const int index = m_portChoice->findText(text);
    return index >= 0 ? m_portChoice->itemData(index).toString() : text;
}

void TransmissionView::showSignPanel() {
    m_signPanel->setVisible(m_model.portName() == kVirtualSignPort);
}

void TransmissionView::showNetworkNote() {
    const bool network = isNetworkPortName(m_model.portName());
    m_networkNote->setVisible(network);
    // F1 opens the guide where it tells about the port in use.
    GuideView::setSection(this, network
                                    ? QStringLiteral("Insegna in rete")
                                    : QStringLiteral("Inviare all'insegna e regolare l'orologio"));
}

void TransmissionView::rememberNetworkPort(const QString& name) {
    const std::vector<std::string> kept =
        PortFinder::rememberNetworkPort(m_finder.networkPorts(), name.toStdString());
    if (kept == m_finder.networkPorts()) return;
    m_finder.setNetworkPorts(kept);
    QStringList stored;
    for (const std::string& address : kept) stored << QString::fromStdString(address);
    QSettings().setValue(QLatin1String(kNetworkPortsKey), stored);
    refreshPorts();
}

TransmissionView::~TransmissionView() {
    m_clock.pump = nullptr;
    m_model.journal.onLine = nullptr;
    // Closing the window below takes the focus from the port field, whose editingFinished
    // would otherwise reach this view after its members are gone.
    m_portChoice->lineEdit()->disconnect(this);
    m_portChoice->disconnect(this);
}

void TransmissionView::usePort(const QString& name) {
    m_portChoice->setEditText(name);
    choosePort(name);
}

void TransmissionView::choosePort(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return;
    m_binder.run([&] { m_model.choosePort(trimmed.toStdString()); });
    // A port that did not open is not offered again next time.
    if (m_model.window.loaded() && m_model.MSComm1.portOpen()) {
        QSettings().setValue(QLatin1String(kRememberedPortKey), trimmed);
        rememberNetworkPort(trimmed);
    }
    showSignPanel();
    showNetworkNote();
}

void TransmissionView::pump() {
    const InvDat::Progress& p = m_model.progress();
    if (!m_busyCursor) {
        m_busyCursor = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    if (p.running) {
        m_progressBar->setRange(0, static_cast<int>(p.bytes));
        m_progressBar->setValue(static_cast<int>(p.bytesSent));
        // The figures go inside the bar, which keeps the window a row shorter.
        m_progressBar->setFormat(tr("Pagine inviate: %1 di %2 \u2013 byte: %3 di %4")
                                     .arg(p.pagesSent)
                                     .arg(p.pages)
                                     .arg(p.bytesSent)
                                     .arg(p.bytes));
        m_progressBar->show();
    }
    m_binder.sync();
    Q_EMIT progressShown();
    // Paint, and let the port take what arrives; the user's input is dropped meanwhile, so that
    // no other exchange can start inside this one.
    m_pumping = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_pumping = false;
}

void TransmissionView::deliverReplies() {
    if (!m_gate.isOpen() || m_model.MSComm1.inBufferCount() == 0) return;
    m_binder.run([this] { m_model.MSComm1.raiseReceiveEvents(); });
}

void TransmissionView::deliverLineLost() {
    if (!m_gate.isOpen()) {
        m_lineLostPending = true;
        return;
    }
    m_lineLostPending = false;
    m_binder.run([this] { m_model.MSComm1.raiseLineLost(); });
}

void TransmissionView::exchangeEnded() {
    if (!m_gate.isOpen()) return;
    if (m_busyCursor) {
        m_busyCursor = false;
        QApplication::restoreOverrideCursor();
    }
    if (!m_model.progress().running) {
        m_progressBar->hide();
    }
    deliverReplies();
    if (m_lineLostPending) deliverLineLost();
    // An address that opened after it was chosen (as the window opened, or on "Connetti") is kept
    // as well, and goes first.
    if (m_model.MSComm1.portOpen()) rememberNetworkPort(QString::fromStdString(m_model.portName()));
}

}  // namespace velora
