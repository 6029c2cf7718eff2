#include <QtTest>

#include "cli/pty_sign.h"
#include "fakes/fake_services.h"
#include "link/inv_dat.h"
#include "link/paced_stream.h"
#include "link_ports.h"
#include "platform/system_clock.h"

namespace velora {

// The transmission window's model over the real Qt serial adapter, with the virtual sign at the
// far end of a pseudo-terminal and the real clock pacing the bytes.
class LinkPortTest : public QObject {
    Q_OBJECT

private:
    struct Link {
        testing::FakeServices fake;
        SystemClock systemClock;
        Clock& clock;
        Services services;
        Modulo1 state;
        LinkPorts ports{clock};
        InvDat model{state, services, ports.chosen};
        PtySign sign;

        // Every page kind once, a pause and a width that look like the end bytes included. With
        // `paced` false the bytes go out unpaced, for the uploads where only the answer matters.
        explicit Link(int rowChars = 9, int pages = 8, bool paced = true)
            : clock(paced ? static_cast<Clock&>(systemClock) : fake.clock),
              services{fake.dialogs, clock, fake.files, fake.program} {
            state.RowChars = static_cast<std::uint8_t>(rowChars);
            state.PageCount = static_cast<std::uint8_t>(pages);
            for (int slot = 1; slot <= pages; ++slot) {
                state.PageKind[slot] = static_cast<std::uint8_t>((slot - 1) % 8 + 1);
                state.PagePause[slot] = slot == 3 ? 0xFD : 0xE9;
                state.PageText[slot][1] = std::string(static_cast<std::size_t>(rowChars), 'A');
                state.PageText[slot][2] = "Scorre \xE9";
            }
            QObject::connect(&ports, &LinkPorts::received, &ports,
                             [this] { ports.chosen.raiseReceiveEvents(); });
            QObject::connect(&ports, &LinkPorts::lineLost, &ports,
                             [this] { ports.chosen.raiseLineLost(); });
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
        std::vector<std::uint8_t> connectAndUpload() {
            std::vector<std::uint8_t> expected{kConnectRequest};
            const auto upload = uploadStream(state).values();
            expected.insert(expected.end(), upload.begin(), upload.end());
            return expected;
        }
    };

private Q_SLOTS:
    void uploadIsCountedAndEveryByteArrives() {
        Link link;
        link.open();
        QVERIFY(link.ports.system.portOpen());
        QVERIFY(!link.model.CMDINVIO.enabled());
        link.connectToSign();
        QVERIFY(link.model.CMDINVIO.enabled());
        QVERIFY(!link.model.No_Collegam.visible());
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.Label7.caption(), std::string("8  Pagine"), 3000);
        QVERIFY(link.model.Trasm_OK.visible());
        QVERIFY(!link.model.Coll_OK.visible());
        QCOMPARE(link.sign.received(), link.connectAndUpload());
        QVERIFY(link.fake.dialogs.shown.empty());
    }

    // The largest sequence: its count, 200, is also the byte that acknowledges a connect.
    void twoHundredPagesAreCounted() {
        Link link(18, 200, false);
        link.open();
        link.connectToSign();
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.Label7.caption(), std::string("200  Pagine"), 5000);
        QCOMPARE(link.model.outcome(), InvDat::Outcome::Done);
        QCOMPARE(link.sign.sign().pagesReceived(), 200);
        QCOMPARE(link.sign.received(), link.connectAndUpload());
    }

    void wrongCountShowsErrorTx() {
        Link link(24);
        link.sign.sign().countAdjust = -1;
        link.open();
        link.connectToSign();
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.outcome(), InvDat::Outcome::Failed, 3000);
        QCOMPARE(link.model.Label7.caption(), std::string("Errore TX"));
        QCOMPARE(link.model.Esito.caption(), std::string("L'insegna ha ricevuto 7 pagine su 8."));
        // "Inviato" says the sign has the sequence: never beside "Errore TX".
        QVERIFY(!link.model.Trasm_OK.visible());
    }

    // A sign that answers every request with bytes of no meaning: each exchange fails and shows
    // what came.
    void garbageAnswersFailEachExchange() {
        Link link;
        link.sign.sign().answerWith = std::vector<std::uint8_t>{0x41, 0x07, 0xFF};
        link.open();
        link.model.Command7.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.replies().size(), std::size_t{3}, 3000);
        QCOMPARE(link.model.outcome(), InvDat::Outcome::Failed);
        QVERIFY(!link.model.CMDINVIO.enabled());
        QCOMPARE(link.model.Esito.caption(),
                 std::string("Risposta inattesa dall'insegna: 41 07 FF"));
        link.model.Command3.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.replies().size(), std::size_t{3}, 3000);
        QCOMPARE(link.model.outcome(), InvDat::Outcome::Failed);
        QCOMPARE(link.model.Label7.caption(), std::string("Errore TX"));
        QVERIFY(link.fake.dialogs.shown.empty());
    }

    void silentSignLeavesTheRequestWaiting() {
        Link link;
        link.sign.sign().silent = true;
        link.open();
        link.model.Command7.click();
        QTest::qWait(200);
        QVERIFY(link.model.No_Collegam.visible());
        QVERIFY(!link.model.CMDINVIO.enabled());
        QCOMPARE(link.model.outcome(), InvDat::Outcome::Waiting);
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

    // The sign takes the whole upload and hangs up instead of answering: the wait for the count
    // ends at once, naming the line, and the port is closed.
    void signHangingUpWhileTheCountIsAwaited() {
        Link link;
        link.open();
        link.connectToSign();
        link.sign.sign().silent = true;
        link.sign.hangUpAfter(link.connectAndUpload().size());
        link.model.CMDINVIO.click();
        QCOMPARE(link.model.outcome(), InvDat::Outcome::Waiting);
        QTRY_COMPARE_WITH_TIMEOUT(link.model.outcome(), InvDat::Outcome::Failed, 1000);
        QVERIFY(!link.ports.system.portOpen());
        QVERIFY(!link.model.CMDINVIO.enabled());
        const std::string esito = link.model.Esito.caption();
        QVERIFY2(esito.rfind("Collegamento perso sulla porta " + link.sign.devicePath(), 0) == 0,
                 esito.c_str());
        QVERIFY(link.fake.dialogs.shown.empty());
        // Nothing more to report from a closed port; the window can close or choose again.
        QTest::qWait(100);
        QCOMPARE(link.model.Esito.caption(), esito);
        link.model.Command1.click();
        QVERIFY(!link.model.window.loaded());
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
        QTest::qWait(100);
        QCOMPARE(link.fake.dialogs.messages().size(), std::size_t{1});
        // The window stays usable: closing it releases the port without a fault.
        link.model.Command1.click();
        QVERIFY(!link.ports.system.portOpen());
    }

    // A cancelled upload leaves the sign inside a record; after a quiet line it answers the next
    // connect request, and the upload sent again is counted.
    void signRecoversFromAnInterruptedUpload() {
        Link link(9, 8, false);
        link.open();
        link.connectToSign();
        link.fake.clock.onWait = [&link](double) {
            if (link.model.progress().bytesSent == 40) link.model.Annulla.click();
        };
        link.model.CMDINVIO.click();
        QCOMPARE(link.model.progress().bytesSent, std::size_t{40});
        QCOMPARE(link.model.outcome(), InvDat::Outcome::Failed);
        link.fake.clock.onWait = nullptr;
        QTest::qWait(static_cast<int>(VirtualSign::kAbandonedAfter * 1000) + 200);
        link.connectToSign();
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.Label7.caption(), std::string("8  Pagine"), 3000);
    }

    void portThatCannotOpenIsNamed() {
        Link link;
        link.model.choosePort("/dev/velora-no-such-port");
        link.model.window.show();
        QVERIFY(link.fake.dialogs.shown.empty());
        QVERIFY(link.model.Esito.visible());
        QVERIFY(link.model.Esito.caption().find("/dev/velora-no-such-port") != std::string::npos);
        link.open();
        QVERIFY(link.ports.system.portOpen());
        QVERIFY(!link.model.Esito.visible());
        link.connectToSign();
    }

    void virtualSignInProcess() {
        Link link;
        link.model.choosePort(kVirtualSignPort);
        link.model.window.show();
        QVERIFY(link.ports.virtualSign.portOpen());
        QVERIFY(!link.ports.system.portOpen());
        link.connectToSign();
        link.model.CMDINVIO.click();
        QTRY_COMPARE_WITH_TIMEOUT(link.model.Label7.caption(), std::string("8  Pagine"), 3000);
        QCOMPARE(link.ports.virtualSign.sign().records().size(), std::size_t{8});
    }
};

}  // namespace velora

QTEST_GUILESS_MAIN(velora::LinkPortTest)
#include "link_port_test.moc"
