#include "transmission_view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include "cli/pty_sign.h"
#include "cli/stream_sign.h"
#include "fakes/fake_services.h"
#include "link/paced_stream.h"
#include "platform/system_clock.h"
#include "program_places.h"

namespace velora {

// The transmission window driven through its widgets, with the real port and the real pacing.
class TransmissionViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness {
        testing::FakeServices fake;
        SystemClock systemClock;
        PumpingClock clock{systemClock, 0.02};
        Services services{fake.dialogs, clock, fake.files, fake.program};
        Modulo1 state;
        EventGate gate;
        LinkPorts ports{systemClock};
        InvDat model{state, services, ports.chosen};
        TransmissionView view{model, ports, clock, services, gate};
        PtySign sign;

        Harness() {
            state.RowChars = 18;
            state.PageCount = 6;
            for (int slot = 1; slot <= 6; ++slot) {
                state.PageKind[slot] = kTwoFixedRows;
                state.PagePause[slot] = 4;
                state.PageText[slot][1] = std::string(18, 'a');
                state.PageText[slot][2] = std::string(18, 'b');
            }
            sign.start();
            view.binder().run([this] { model.window.show(); });
        }
        template <typename W>
        W* find(const char* name) {
            return view.findChild<W*>(QString::fromLatin1(name));
        }
        void typePort(const QString& name) {
            auto* edit = find<QComboBox>("Porta")->lineEdit();
            edit->selectAll();
            QTest::keyClicks(edit, name);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    };

private Q_SLOTS:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VeloraTest"));
        QCoreApplication::setApplicationName(QStringLiteral("transmission_view_test"));
        QSettings().clear();
    }

    void typedPortIsUsedAndRemembered() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        QCOMPARE(h.view.windowTitle(), QStringLiteral("Invio Dati"));
        const QString device = QString::fromStdString(h.sign.devicePath());
        h.typePort(device);
        QVERIFY(h.ports.system.portOpen());
        QCOMPARE(QString::fromStdString(h.ports.chosen.commPort()), device);
        QCOMPARE(QString::fromStdString(rememberedPort()), device);
        QVERIFY(h.find<QComboBox>("Porta")->findText(QStringLiteral("Insegna virtuale")) >= 0);
    }

    // The window paints its progress while the upload goes out, drops clicks meanwhile, and
    // handles the sign's answer after the upload.
    void uploadShowsProgressAndIgnoresClicksMeanwhile() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        h.typePort(QString::fromStdString(h.sign.devicePath()));
        auto* connectButton = h.find<QPushButton>("Command7");
        auto* sendButton = h.find<QPushButton>("CMDINVIO");
        QVERIFY(!sendButton->isEnabled());
        QTest::mouseClick(connectButton, Qt::LeftButton);
        QTRY_VERIFY(h.find<QLabel>("Coll_OK")->isVisible());
        QVERIFY(sendButton->isEnabled());

        int progressShown = 0;
        int largestBytes = 0;
        connect(&h.view, &TransmissionView::progressShown, &h.view, [&] {
            ++progressShown;
            largestBytes = std::max(largestBytes, h.find<QProgressBar>("Avanzamento")->value());
            QVERIFY(h.find<QProgressBar>("Avanzamento")->isVisible());
            // A click that would start another exchange inside this one.
            QTest::mouseClick(connectButton, Qt::LeftButton);
        });
        QTest::mouseClick(sendButton, Qt::LeftButton);
        QVERIFY(progressShown >= 3);
        QVERIFY(largestBytes > 0);
        QTRY_COMPARE(h.find<QLabel>("Label7")->text(), QStringLiteral("6  Pagine"));
        QVERIFY(h.find<QLabel>("Trasm_OK")->isVisible());
        QVERIFY(!h.find<QProgressBar>("Avanzamento")->isVisible());

        std::vector<std::uint8_t> expected{kConnectRequest};
        const auto upload = uploadStream(h.state).values();
        expected.insert(expected.end(), upload.begin(), upload.end());
        QCOMPARE(h.sign.received(), expected);
    }

    // "Annulla" is the one button that takes a click while the upload goes out: the upload stops
    // after the byte on its way, and the window says what the sign now holds.
    void uploadCanBeCancelled() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        h.typePort(QString::fromStdString(h.sign.devicePath()));
        QTest::mouseClick(h.find<QPushButton>("Command7"), Qt::LeftButton);
        QTRY_VERIFY(h.find<QPushButton>("CMDINVIO")->isEnabled());
        auto* cancel = h.find<QPushButton>("Annulla");
        QVERIFY(!cancel->isEnabled());
        std::size_t sentAtClick = 0;
        connect(&h.view, &TransmissionView::progressShown, &h.view, [&] {
            if (sentAtClick == 0 && h.model.progress().bytesSent > 30) {
                QVERIFY(cancel->isEnabled());
                sentAtClick = h.model.progress().bytesSent;
                // Through the window, as the window system delivers a click, while the window
                // paints between two bytes.
                QTimer::singleShot(0, &h.view, [&] {
                    QTest::mouseClick(h.view.windowHandle(), Qt::LeftButton, {},
                                      cancel->mapTo(&h.view, cancel->rect().center()));
                });
            }
        });
        QTest::mouseClick(h.find<QPushButton>("CMDINVIO"), Qt::LeftButton);
        QVERIFY(sentAtClick > 0);
        // The click is taken while the window paints after the byte that was sent last.
        QVERIFY(h.model.progress().bytesSent - sentAtClick <= 1);
        QVERIFY(!cancel->isEnabled());
        auto* esito = h.find<QLabel>("Esito");
        QVERIFY(esito->isVisible());
        QCOMPARE(esito->text(), QStringLiteral("Invio annullato: l'insegna ha una sequenza "
                                               "incompleta. Inviare di nuovo la sequenza."));
        QVERIFY(h.model.progress().bytesSent < uploadStream(h.state).bytes.size());
        QTRY_COMPARE(h.sign.receivedCount(), 1 + h.model.progress().bytesSent);
        QVERIFY(h.fake.dialogs.shown.empty());
    }

    // Its access key reaches "Annulla" too while the other keys are held back.
    void uploadCanBeCancelledFromTheKeyboard() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        h.typePort(QString::fromStdString(h.sign.devicePath()));
        QTest::mouseClick(h.find<QPushButton>("Command7"), Qt::LeftButton);
        QTRY_VERIFY(h.find<QPushButton>("CMDINVIO")->isEnabled());
        bool pressed = false;
        connect(&h.view, &TransmissionView::progressShown, &h.view, [&] {
            if (pressed || h.model.progress().bytesSent <= 30) return;
            pressed = true;
            QTimer::singleShot(0, &h.view, [&] {
                QTest::keyClick(h.view.windowHandle(), Qt::Key_A, Qt::AltModifier);
            });
        });
        QTest::mouseClick(h.find<QPushButton>("CMDINVIO"), Qt::LeftButton);
        QVERIFY(pressed);
        QVERIFY(h.model.progress().bytesSent < uploadStream(h.state).bytes.size());
        QVERIFY(h.find<QLabel>("Esito")->text().startsWith(QStringLiteral("Invio annullato")));
    }

    // A file dropped on the port field and text typed through an input method while the upload
    // goes out change nothing; Escape presses "Annulla".
    void dropsAndInputMethodTextWaitOutTheUpload() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        h.typePort(QString::fromStdString(h.sign.devicePath()));
        QTest::mouseClick(h.find<QPushButton>("Command7"), Qt::LeftButton);
        QTRY_VERIFY(h.find<QPushButton>("CMDINVIO")->isEnabled());
        auto* field = h.find<QComboBox>("Porta")->lineEdit();
        const QString port = field->text();
        bool tried = false;
        connect(&h.view, &TransmissionView::progressShown, &h.view, [&] {
            if (tried || h.model.progress().bytesSent <= 30) return;
            tried = true;
            // Delivered while the window paints between two bytes, as the system delivers them.
            QTimer::singleShot(0, &h.view, [&] {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/altra.inf"))});
                data.setText(QStringLiteral("/tmp/altra.inf"));
                const QPointF at = field->rect().center();
                QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(field, &enter);
                QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(field, &drop);
                QInputMethodEvent typed;
                typed.setCommitString(QStringLiteral("xyz"));
                QApplication::sendEvent(field, &typed);
                QTest::keyClick(h.view.windowHandle(), Qt::Key_Escape);
            });
        });
        QTest::mouseClick(h.find<QPushButton>("CMDINVIO"), Qt::LeftButton);
        QVERIFY(tried);
        QCOMPARE(field->text(), port);
        QVERIFY(h.model.progress().bytesSent < uploadStream(h.state).bytes.size());
        QVERIFY(h.find<QLabel>("Esito")->text().startsWith(QStringLiteral("Invio annullato")));
        // Once the upload has ended the field takes an input method's text again.
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("x"));
        QApplication::sendEvent(field, &typed);
        QCOMPARE(field->text(), port + QStringLiteral("x"));
    }

    // The remembered port fails to open as the window opens: the window says why, without a box,
    // and a typed port that fails is not remembered in its place.
    void failedOpenIsShownInTheWindowAndNotRemembered() {
        QSettings().setValue(QStringLiteral("link/port"), QStringLiteral("/dev/velora-gone"));
        {
            Harness h;
            QVERIFY(QTest::qWaitForWindowExposed(&h.view));
            QVERIFY(h.fake.dialogs.shown.empty());
            auto* esito = h.find<QLabel>("Esito");
            QVERIFY(esito->isVisible());
            QVERIFY(esito->text().startsWith(
                QStringLiteral("Impossibile aprire la porta /dev/velora-gone (")));
            h.typePort(QStringLiteral("/dev/velora-also-gone"));
            QVERIFY(esito->text().contains(QStringLiteral("/dev/velora-also-gone")));
            QCOMPARE(QString::fromStdString(rememberedPort()), QStringLiteral("/dev/velora-gone"));
            h.typePort(QString::fromStdString(h.sign.devicePath()));
            QVERIFY(!esito->isVisible());
            QCOMPARE(QString::fromStdString(rememberedPort()),
                     QString::fromStdString(h.sign.devicePath()));
            // What the upload of the six pages of 53 bytes will take, before it is sent.
            QCOMPARE(h.find<QLabel>("Dimensione")->text(),
                     QStringLiteral("Da inviare: 6 pagine, 319 byte, circa 0,7 s"));
        }
        QSettings().clear();
    }

    // The sign hangs up while the window waits for its count: the window says so, the port is
    // closed, and the window stays usable.
    void lostLineIsShownInTheWindow() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        h.typePort(QString::fromStdString(h.sign.devicePath()));
        QTest::mouseClick(h.find<QPushButton>("Command7"), Qt::LeftButton);
        QTRY_VERIFY(h.find<QPushButton>("CMDINVIO")->isEnabled());
        h.sign.sign().silent = true;
        h.sign.hangUpAfter(1 + uploadStream(h.state).bytes.size());
        QTest::mouseClick(h.find<QPushButton>("CMDINVIO"), Qt::LeftButton);
        auto* esito = h.find<QLabel>("Esito");
        QTRY_VERIFY_WITH_TIMEOUT(esito->isVisible(), 2000);
        QVERIFY(esito->text().startsWith(QStringLiteral("Collegamento perso sulla porta ") +
                                         QString::fromStdString(h.sign.devicePath())));
        QVERIFY(!h.ports.system.portOpen());
        QVERIFY(!h.find<QPushButton>("CMDINVIO")->isEnabled());
        QVERIFY(h.find<QPushButton>("Command7")->isEnabled());
        QVERIFY(h.fake.dialogs.shown.empty());
    }

    // A sign that never answers: after the same wait as the command line the window says why,
    // keeps its size, and its journal shows the request; a very long port name does not widen it.
    void silentSignTimesOutInAFixedWindow() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        const QString device = QString::fromStdString(h.sign.devicePath());
        h.typePort(device);
        const QSize size = h.view.size();
        h.sign.sign().silent = true;
        QTest::mouseClick(h.find<QPushButton>("Command7"), Qt::LeftButton);
        QVERIFY(h.find<QLabel>("No_Collegam")->isVisible());
        auto* esito = h.find<QLabel>("Esito");
        QTRY_VERIFY_WITH_TIMEOUT(esito->isVisible(), 8000);
        QCOMPARE(esito->text(), QStringLiteral("L'insegna non risponde su ") + device +
                                    QStringLiteral(". Controllare il cavo, l'alimentazione "
                                                   "dell'insegna e la porta scelta."));
        QVERIFY(!h.find<QLabel>("No_Collegam")->isVisible());
        QVERIFY(!h.find<QPushButton>("CMDINVIO")->isEnabled());
        QCOMPARE(h.view.size(), size);
        const QString journal = h.find<QPlainTextEdit>("Registro")->toPlainText();
        QVERIFY(journal.contains(QStringLiteral(" TX D4\n")));
        QVERIFY(journal.contains(QStringLiteral("tempo scaduto")));
        // The sign answers after all: the reason stays, with what to do now.
        h.sign.say({200});
        QTRY_VERIFY_WITH_TIMEOUT(esito->text().endsWith(QStringLiteral(
                                     " L'insegna ha risposto in ritardo: premere di nuovo "
                                     "Connetti.")),
                                 2000);
        QVERIFY(esito->text().startsWith(QStringLiteral("L'insegna non risponde su ")));
        QVERIFY(!h.find<QLabel>("Label7")->isVisible());
        QVERIFY(!h.find<QPushButton>("CMDINVIO")->isEnabled());
        QVERIFY(h.find<QPlainTextEdit>("Registro")
                    ->toPlainText()
                    .contains(QStringLiteral("risposta in ritardo")));
        h.typePort(QString(600, QLatin1Char('x')));
        QVERIFY(esito->isVisible());
        QCOMPARE(h.view.size(), size);
    }

    // Opening the journal makes the window taller: it moves up instead of leaving the screen.
    void openingTheJournalKeepsTheWindowOnScreen() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        const QRect available = h.view.screen()->availableGeometry();
        h.view.move(available.left(), available.bottom() + 1 - h.view.frameGeometry().height());
        QTRY_COMPARE(h.view.frameGeometry().bottom(), available.bottom());
        const int before = h.view.height();
        h.find<QPushButton>("MostraRegistro")->click();
        QVERIFY(h.find<QPlainTextEdit>("Registro")->isVisible());
        QVERIFY(h.view.height() > before);
        QVERIFY2(available.contains(h.view.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(h.view.frameGeometry().x())
                                .arg(h.view.frameGeometry().y())
                                .arg(h.view.frameGeometry().width())
                                .arg(h.view.frameGeometry().height())));
    }

    // A network address that opened is offered again after a restart, marked as one, and while a
    // network address is the port chosen the window says where the pacing is kept.
    void networkAddressIsOfferedAgainWithItsNote() {
        VirtualSign far;
        TcpSign server("127.0.0.1:0", false, far);
        server.start();
        const QString address = QString::fromStdString(server.address());
        const QString refused = QStringLiteral("socket://127.0.0.1:1");
        {
            Harness h;
            QVERIFY(QTest::qWaitForWindowExposed(&h.view));
            auto* note = h.find<QLabel>("NotaRete");
            auto* porta = h.find<QComboBox>("Porta");
            QVERIFY(!note->isVisible());
            h.typePort(refused);
            QVERIFY(note->isVisible());
            QVERIFY(h.find<QLabel>("Esito")->text().contains(QStringLiteral("rifiutata")));
            h.typePort(address);
            QVERIFY(h.ports.network.portOpen());
            QTest::mouseClick(h.find<QPushButton>("Command7"), Qt::LeftButton);
            QTRY_VERIFY(h.find<QLabel>("Coll_OK")->isVisible());
            QVERIFY(porta->findText(address + QStringLiteral(" (rete)")) >= 0);
            QCOMPARE(porta->findText(refused + QStringLiteral(" (rete)")), -1);
            h.typePort(QString::fromStdString(h.sign.devicePath()));
            QVERIFY(!note->isVisible());
        }
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        auto* porta = h.find<QComboBox>("Porta");
        const int offered = porta->findText(address + QStringLiteral(" (rete)"));
        QVERIFY(offered >= 0);
        QCOMPARE(porta->findText(refused + QStringLiteral(" (rete)")), -1);
        Q_EMIT porta->activated(offered);
        QCOMPARE(porta->currentText(), address);
        QVERIFY(h.ports.network.portOpen());
        QVERIFY(h.find<QLabel>("NotaRete")->isVisible());
        // An address remembered as the port before the list was kept is offered once it opens.
        QSettings().remove(QStringLiteral("link/networkPorts"));
        Harness again;
        QVERIFY(QTest::qWaitForWindowExposed(&again.view));
        QVERIFY(again.ports.network.portOpen());
        QTRY_VERIFY(again.find<QComboBox>("Porta")->findText(address + QStringLiteral(" (rete)")) >=
                    0);
        QSettings().clear();
    }

    void closingTheWindowReleasesThePort() {
        Harness h;
        h.typePort(QString::fromStdString(h.sign.devicePath()));
        QVERIFY(h.ports.system.portOpen());
        QTest::mouseClick(h.find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(!h.ports.system.portOpen());
        QVERIFY(h.view.isHidden());
        h.view.binder().run([&] { h.model.window.show(); });
        QVERIFY(h.ports.system.portOpen());
        h.view.close();
        QVERIFY(!h.ports.system.portOpen());
    }
};

}  // namespace velora

QTEST_MAIN(velora::TransmissionViewTest)
#include "transmission_view_test.moc"
