#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include "cli/pty_sign.h"
#include "fakes/fake_services.h"
#include "link/sign_messages.h"
#include "platform/system_clock.h"
#include "transmission_view.h"

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
        QtSerialPort port;
        InvDat model{state, services, port};
        TransmissionView view{model, port, clock, services, gate};
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
        QVERIFY(h.port.portOpen());
        QCOMPARE(QString::fromStdString(h.port.commPort()), device);
        QCOMPARE(TransmissionView::rememberedPort(), device);
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

    void closingTheWindowReleasesThePort() {
        Harness h;
        h.typePort(QString::fromStdString(h.sign.devicePath()));
        QVERIFY(h.port.portOpen());
        QTest::mouseClick(h.find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(!h.port.portOpen());
        QVERIFY(h.view.isHidden());
        h.view.binder().run([&] { h.model.window.show(); });
        QVERIFY(h.port.portOpen());
        h.view.close();
        QVERIFY(!h.port.portOpen());
    }
};

}  // namespace velora

QTEST_MAIN(velora::TransmissionViewTest)
#include "transmission_view_test.moc"
