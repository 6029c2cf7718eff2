#include "composition.h"

#include <utility>

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>

#include "after_first_paint.h"
#include "guide_view.h"
#include "page_list_view.h"
#include "plan/sent_record.h"
#include "program_places.h"
#include "qt_text.h"
#include "virtual_sign_panel.h"
#include "window_placement.h"

namespace velora {

Composition::Composition(Services& services, LoopTimingSource timeCountingLoop,
                         NetworkPortMaker makeNetwork)
    : m_services(services),
      m_models(services, std::move(timeCountingLoop)),
      m_linkClock(services.clock),
      m_linkServices{services.dialogs, m_linkClock, services.files, services.program},
      m_makeNetwork(std::move(makeNetwork)),
      m_ports(services.clock, m_makeNetwork),
      m_transmission(m_models.state, m_linkServices, m_ports.chosen),
      m_editorView(std::make_unique<EditorView>(m_models.editor, m_gate)) {
    // "Invio DATI": the transmission window's load handler opens the port its view has put in
    // the model, so the view must exist before the window is shown.
    m_models.editor.Command1.onClick = [this] {
        makeTransmissionView();
        m_transmission.window.show();
    };
    // The desktop's usual keys, beside the menus' own access keys.
    // Some desktops define no key for Save As or Quit; those get the common ones.
    const auto keys = [this](const char* item, QKeySequence::StandardKey key, QKeySequence other) {
        QList<QKeySequence> sequences = QKeySequence::keyBindings(key);
        if (sequences.isEmpty()) sequences << other;
        m_editorView->action(item)->setShortcuts(sequences);
    };
    keys("mnunextApri", QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    keys("mnunextSalva", QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    keys("mnuNom", QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    keys("mnunextNuovo", QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N));
    keys("mnunextfinE", QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    GuideView::addTo(*m_editorView, m_models.editor.mnuGuida);
    m_editorView->addPageList(
        new PageListView(m_models.pages, m_editorView->binder(), m_models.state, services.clock));
    wirePlan();
    // The other windows open from the editor's handlers; they follow once those have ended.
    QObject::connect(&m_gate, &EventGate::reopened, [this] { syncWindows(); });
}

Composition::~Composition() {
    // The views go first; the sign must not reach the face they held.
    m_ports.virtualSign.sign().onUploadReceived = nullptr;
}

EditorView& Composition::start() {
    m_editorView->binder().run([this] { m_models.editor.window.show(); });
    // The calibration's counting loop runs once the window is up, instead of holding it back.
    afterFirstPaint(*m_editorView, [this] {
        m_editorView->binder().run([this] { m_models.editor.calibrate(); });
    });
    return *m_editorView;
}

// The other windows belong to the editor: the desktop keeps them above it, and they open
// centred on it.
void Composition::makeTransmissionView() {
    if (m_transmissionView) return;
    m_transmissionView = std::make_unique<TransmissionView>(
        m_transmission, m_ports, m_linkClock, m_linkServices, m_gate, m_editorView.get());
    placeOver(m_transmissionView.get(), m_editorView.get());
    // The virtual sign shows, in its face in the window, what it received once an upload ended.
    VirtualSign& sign = m_ports.virtualSign.sign();
    VirtualSignPanel* face = m_transmissionView->virtualSignPanel();
    sign.onUploadReceived = [face, &sign] { face->play(sign.records()); };
    QObject::connect(m_transmissionView.get(), &TransmissionView::sendToManyRequested, [this] {
        makeSendManyView();
        m_sendManyView->show();
        m_sendManyView->raise();
    });
}

void Composition::makeSendManyView() {
    if (m_sendManyView) return;
    const auto signs = [this] {
        std::vector<SignTarget> targets;
        for (const Sign& sign : m_models.signStore.list().signs())
            targets.push_back({sign.name, sign.port, sign.boards});
        return targets;
    };
    m_sendManyView = std::make_unique<SendManyView>(m_models.state, signs, m_services, m_gate,
                                                    m_transmissionView.get(), m_makeNetwork);
    m_sendManyView->setWindowModality(Qt::WindowModal);
    placeOver(m_sendManyView.get(), m_transmissionView.get());
    // The transmission window lets its port go while the signs are served (one of them may be
    // on it), and opens it again after, to be connected afresh.
    m_sendManyView->onPortsTaken = [this] { m_ports.close(); };
    m_sendManyView->onPortsReturned = [this] {
        m_transmissionView->binder().run(
            [this] { m_transmission.choosePort(m_transmission.portName()); });
    };
}

void Composition::followCurrentSign() {
    if (!m_transmissionView) return;
    const SignStore& store = m_models.signStore;
    const std::string port =
        store.usable() && store.fromFile() ? store.list().current().port : std::string();
    if (port == m_signPort) return;
    m_signPort = port;
    if (!port.empty()) m_transmissionView->usePort(QString::fromStdString(port));
}

void Composition::syncWindows() {
    // The other windows' handlers can move the editor's controls (the settings window writes
    // its boards label) and the editor's handlers open the other windows.
    if (m_editorView) m_editorView->binder().sync();
    if (!m_settingsView && m_models.settings.window.visible()) {
        m_settingsView = std::make_unique<SettingsView>(m_models.settings, m_services, m_gate,
                                                        m_editorView.get());
        placeOver(m_settingsView.get(), m_editorView.get());
    }
    if (m_settingsView) m_settingsView->binder().sync();
    if (!m_signsView && m_models.signs.window.visible()) {
        m_signsView =
            std::make_unique<SignsView>(m_models.signs, m_services, m_gate, m_editorView.get());
        placeOver(m_signsView.get(), m_editorView.get());
    }
    if (m_signsView) m_signsView->binder().sync();
    if (m_transmission.window.visible()) {
        makeTransmissionView();
        // The sequence may have changed in the editor since the window was drawn.
        m_transmission.showUploadSize();
    }
    followCurrentSign();
    if (m_transmissionView) m_transmissionView->binder().sync();
    if (!m_infoView && m_models.info.window.visible()) {
        m_infoView = std::make_unique<InfoView>(m_models.info, m_gate, m_editorView.get());
        placeOver(m_infoView.get(), m_editorView.get());
    }
    if (m_infoView) m_infoView->binder().sync();
    syncPlan();
}

// "Programma…" in the File menu, beside "Insegne…".
void Composition::wirePlan() {
    auto* file = m_editorView->findChild<QMenu*>(QStringLiteral("mnuFile"));
    auto* item = new QAction(QStringLiteral("&Programma\u2026"), file);
    item->setObjectName(QStringLiteral("mnuProgramma"));
    file->insertAction(m_editorView->action("mnunextNuovo"), item);
    QObject::connect(item, &QAction::triggered, item, [this] {
        m_editorView->binder().run([this] { m_plan.window.show(); });
        syncWindows();
    });
    m_planLink = std::make_unique<PlanLink>(
        m_transmission, m_services,
        [this] {
            makeTransmissionView();
            // On the port of the sign in use, which the plan names.
            followCurrentSign();
            m_transmissionView->binder().run([this] { m_transmission.window.show(); });
        },
        [this](const std::function<void()>& click) { m_transmissionView->binder().run(click); });
    m_plan.sendFile = [this](const std::string& path) {
        m_planLink->send(path, [this](bool confirmed) {
            if (m_planView)
                m_planView->binder().run([this, confirmed] { m_plan.sendEnded(confirmed); });
            else
                m_plan.sendEnded(confirmed);
        });
    };
    // What the sign confirmed is kept where velora-cli send --plan keeps it.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!data.isEmpty())
        m_plan.setRecordPath(pathFromQt(QDir(data).filePath(QLatin1String(SentRecord::kFileName))));
    const QString planKey = QStringLiteral("plan/path");
    m_plan.window.onLoad = [this, planKey] {
        const QString remembered = QSettings().value(planKey).toString();
        if (m_plan.planPath().empty() && !remembered.isEmpty())
            m_plan.openPlan(pathFromQt(remembered));
        m_plan.refresh();
    };
}

void Composition::syncPlan() {
    if (!m_plan.window.visible() && !m_planView) return;
    // The plan goes to the named sign in use, or else to the port the transmission window uses.
    const SignStore& store = m_models.signStore;
    const bool named = store.usable() && store.fromFile();
    const std::string sign = named                            ? store.list().current().name
                             : m_transmission.window.loaded() ? m_transmission.portName()
                                                              : rememberedPort();
    if (sign != m_planSign) {
        m_planSign = sign;
        m_plan.setSign(sign, named ? SentRecord::keyForSign(sign) : SentRecord::keyForPort(sign));
    }
    if (!m_planView && m_plan.window.visible()) {
        m_planView = std::make_unique<PlanView>(m_plan, m_services, m_gate, m_editorView.get());
        placeOver(m_planView.get(), m_editorView.get());
        QObject::connect(&m_planView->binder(), &ControlBinder::pushed, m_planView.get(), [this] {
            if (!m_plan.planPath().empty())
                QSettings().setValue(QStringLiteral("plan/path"), pathToQt(m_plan.planPath()));
        });
    }
    if (m_planView) m_planView->binder().sync();
}

}  // namespace velora
