#include <QtTest>

#include "cli/pty_sign.h"
#include "fakes/fake_services.h"
#include "link/inv_dat.h"
#include "link/sign_messages.h"
#include "platform/system_clock.h"
#include "qt_serial_port.h"

namespace velora {

// The transmission window's model over the real Qt serial adapter, with the virtual sign at the
// far end of a pseudo-terminal and the real clock pacing the bytes.
class LinkPortTest : public QObject {
    Q_OBJECT

private:
    struct Link {
        testing::FakeServices fake;
        SystemClock clock;
        Services services{fake.dialogs, clock, fake.files, fake.program};
        Modulo1 state;
        QtSerialPort port;
        InvDat model{state, services, port};
        PtySign sign;

        // Every page kind once, a pause and a width that look like the end bytes included.
        explicit Link(int rowChars = 9) {
            state.RowChars = static_cast<std::uint8_t>(rowChars);
            state.PageCount = 8;
            for (int slot = 1; slot <= 8; ++slot) {
                state.PageKind[slot] = static_cast<std::uint8_t>(slot);
                state.PagePause[slot] = slot == 3 ? 0xFD : 0xE9;
                state.PageText[slot][1] = std::string(static_cast<std::size_t>(rowChars), 'A');
                state.PageText[slot][2] = "Scorre \xE9";
            }
            QObject::connect(&port, &QtSerialPort::received, &port,
                             [this] { port.raiseReceiveEvents(); });
        }
        void open() {
            sign.start();
            model.choosePort(sign.devicePath());
            model.window.show();
        }
        void connectToSign() {
            model.Command7.click();
            QTRY_VERIFY_WITH_TIMEOUT(model.Coll_OK.visible(), 3000);
        }
    };

private Q_SLOTS:
    void uploadIsCountedAndEveryByteArrives() {
        Link link;
        link.open();
        QVERIFY(link.port.portOpen());
        QVERIFY(!link.model.CMDINVIO.enabled());
        link.connectToSign();
        QVERIFY(link.model.CMDINVIO.enabled());
        QVERIFY(!link.model.No_Collegam.visible());
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.Label7.caption(), std::string("8  Pagine"), 3000);
        QVERIFY(link.model.Trasm_OK.visible());
        QVERIFY(!link.model.Coll_OK.visible());
        std::vector<std::uint8_t> expected{kConnectRequest};
        const auto upload = uploadStream(link.state).values();
        expected.insert(expected.end(), upload.begin(), upload.end());
        QCOMPARE(link.sign.received(), expected);
        QVERIFY(link.fake.dialogs.shown.empty());
    }

    void wrongCountShowsErrorTx() {
        Link link(24);
        link.sign.sign().countAdjust = -1;
        link.open();
        link.connectToSign();
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.sign.sign().pagesReceived(), 8, 3000);
        QTest::qWait(100);
        QCOMPARE(link.model.Label7.caption(), std::string("Errore TX"));
        QVERIFY(link.model.Trasm_OK.visible());
    }

    void silentSignLeavesTheRequestWaiting() {
        Link link;
        link.sign.sign().silent = true;
        link.open();
        link.model.Command7.click();
        QTest::qWait(200);
        QVERIFY(link.model.No_Collegam.visible());
        QVERIFY(!link.model.CMDINVIO.enabled());
        QCOMPARE(link.sign.received(), std::vector<std::uint8_t>{kConnectRequest});
    }

    void dateAndTimeAnswered() {
        Link link;
        link.open();
        link.model.Command3.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.Label7.caption(), std::string("Data/Ora OK"), 3000);
        const auto bytes = link.sign.received();
        QCOMPARE(bytes.size(), std::size_t{8});
        QCOMPARE(bytes.front(), kDateTimeStart);
    }

    void signHangingUpMidUploadIsReported() {
        Link link;
        link.sign.hangUpAfter(60);
        link.open();
        link.connectToSign();
        link.model.CMDINVIO.click();
        const auto messages = link.fake.dialogs.messages();
        QCOMPARE(messages.size(), std::size_t{1});
        QCOMPARE(messages[0], "Problemi su " + link.sign.devicePath() + "!");
        QCOMPARE(link.model.MousePointer, Button::kDefaultPointer);
        // The window stays usable: closing it releases the port without a fault.
        link.model.Command1.click();
        QVERIFY(!link.port.portOpen());
    }

    void portThatCannotOpenIsNamed() {
        Link link;
        link.model.choosePort("/dev/velora-no-such-port");
        link.model.window.show();
        const auto messages = link.fake.dialogs.messages();
        QCOMPARE(messages.size(), std::size_t{1});
        QVERIFY(messages[0].find("/dev/velora-no-such-port") != std::string::npos);
        link.open();
        QVERIFY(link.port.portOpen());
        link.connectToSign();
    }

    void virtualSignInProcess() {
        Link link;
        link.model.choosePort(kVirtualSignPort);
        link.model.window.show();
        link.connectToSign();
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.Label7.caption(), std::string("8  Pagine"), 3000);
    }
};

}  // namespace velora

QTEST_GUILESS_MAIN(velora::LinkPortTest)
#include "link_port_test.moc"
