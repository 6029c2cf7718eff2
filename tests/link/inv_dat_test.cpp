#include "link/inv_dat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "core/windows1252.h"
#include "fakes/fake_serial_port.h"
#include "fakes/fake_services.h"
#include "link/paced_stream.h"

namespace velora {
namespace {

using Bytes = std::vector<std::uint8_t>;

class InvDatTest : public ::testing::Test {
protected:
    InvDatTest() {
        state.PageCount = 2;
        state.RowChars = 9;
        for (int slot = 1; slot <= 2; ++slot) {
            state.PageKind[slot] = kTwoFixedRows;
            state.PagePause[slot] = 3;
            state.PageText[slot][1] = "ABCDEFGHI";
            state.PageText[slot][2] = "123456789";
        }
    }

    void load() { model.window.show(); }
    void reply(std::initializer_list<int> bytes) {
        for (int b : bytes) port.incoming.push_back(static_cast<std::uint8_t>(b));
        port.raiseReceiveEvents();
    }
    // Which of the status labels are shown, in the order of the window's table.
    std::string shown() const {
        std::string out;
        for (const Label* l : {&model.Coll_OK, &model.No_Collegam, &model.Trasm_OK, &model.Label7,
                               &model.Manca_Dati, &model.Esito})
            if (l->visible()) out += (out.empty() ? "" : " ") + l->name();
        return out;
    }

    testing::FakeServices fake;
    Modulo1 state;
    testing::FakeSerialPort port{&fake.clock};
    InvDat model{state, fake.services, port};
};

TEST_F(InvDatTest, LoadOpensThePortInOrderAndHidesTheLabels) {
    load();
    const std::vector<std::string> opening(port.calls.begin() + 1, port.calls.begin() + 5);
    EXPECT_EQ(opening, (std::vector<std::string>{"CommPort=COM1", "Settings=9600,N,8,1",
                                                 "InputLen=0", "PortOpen=True"}));
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(port.rThreshold, 1);
    EXPECT_EQ(shown(), "");
    EXPECT_TRUE(model.Option1.selected());
    EXPECT_FALSE(model.CMDINVIO.enabled());
    EXPECT_EQ(model.window.caption(), "Invio Dati");
    EXPECT_EQ(model.No_Collegam.caption(), windows1252::fromUtf8("Non c'è Collegamento"));
}

// Each exchange takes only the replies the sign gives to it, in order, and shows only its own
// result: what an exchange before it showed is gone.
TEST_F(InvDatTest, EachExchangeAcceptsOnlyItsOwnReplies) {
    enum Kind { Connect, Upload, Clock };
    struct Case {
        const char* name;
        Kind kind;
        Bytes replies;
        const char* shown;
        const char* label7;
        InvDat::Outcome outcome;
        const char* esito;
    };
    using O = InvDat::Outcome;
    const std::vector<Case> cases = {
        {"connect acknowledged", Connect, {200}, "Coll_OK", "0", O::Done, ""},
        {"connect answered oddly", Connect, {17}, "Label7 Esito", "Errore TX", O::Failed, "11"},
        {"connect, ack and more",
         Connect,
         {200, 200},
         "Label7 Esito",
         "Errore TX",
         O::Failed,
         "C8 C8"},
        {"connect unanswered", Connect, {}, "No_Collegam", "0", O::Waiting, ""},
        {"upload counted", Upload, {222, 2}, "Trasm_OK Label7", "2  Pagine", O::Done, ""},
        {"upload, count awaited", Upload, {222}, "", "0", O::Waiting, ""},
        {"upload, wrong count", Upload, {222, 4}, "Label7 Esito", "Errore TX", O::Failed, ""},
        {"upload, count first", Upload, {2}, "Label7 Esito", "Errore TX", O::Failed, "02"},
        {"upload, odd after count",
         Upload,
         {222, 2, 7},
         "Label7 Esito",
         "Errore TX",
         O::Failed,
         "DE 02 07"},
        {"clock set", Clock, {227}, "Trasm_OK Label7", "Data/Ora OK", O::Done, ""},
        {"clock answered oddly", Clock, {0x30}, "Label7 Esito", "Errore TX", O::Failed, "30"},
    };
    for (const Case& c : cases) {
        testing::FakeServices services;
        testing::FakeSerialPort line{&services.clock};
        Modulo1 store = state;
        InvDat m{store, services.services, line};
        m.window.show();
        // Every case follows an upload answered in full, whose statuses must not show through.
        m.Command7.click();
        line.incoming = {200};
        line.raiseReceiveEvents();
        m.CMDINVIO.click();
        line.incoming = {222, 2};
        line.raiseReceiveEvents();
        ASSERT_EQ(m.Label7.caption(), "2  Pagine");
        m.Label7.setCaption("0");
        if (c.kind == Connect) m.Command7.click();
        if (c.kind == Upload) m.CMDINVIO.click();
        if (c.kind == Clock) m.Command3.click();
        line.incoming.assign(c.replies.begin(), c.replies.end());
        line.raiseReceiveEvents();
        std::string shownNow;
        for (const Label* l :
             {&m.Coll_OK, &m.No_Collegam, &m.Trasm_OK, &m.Label7, &m.Manca_Dati, &m.Esito})
            if (l->visible()) shownNow += (shownNow.empty() ? "" : " ") + l->name();
        EXPECT_EQ(shownNow, c.shown) << c.name;
        EXPECT_EQ(m.Label7.caption(), c.label7) << c.name;
        EXPECT_EQ(m.outcome(), c.outcome) << c.name;
        EXPECT_EQ(m.replies(), c.replies) << c.name;
        if (*c.esito) {
            EXPECT_EQ(m.Esito.caption(), std::string("Risposta inattesa dall'insegna: ") + c.esito)
                << c.name;
        }
        EXPECT_TRUE(services.dialogs.shown.empty()) << c.name;
    }
}

// 200 is also the connect acknowledgement; once the count is awaited it is the count.
TEST_F(InvDatTest, TwoHundredPagesAreCounted) {
    state.PageCount = 200;
    for (int slot = 1; slot <= 200; ++slot) {
        state.PageKind[slot] = kBigFixed;
        state.PageText[slot][1] = "ABCDEFGHI";
    }
    load();
    model.Command7.click();
    reply({200});
    model.CMDINVIO.click();
    reply({222});
    EXPECT_EQ(state.Attesa_Pagine, 1);
    reply({200});
    EXPECT_EQ(model.Label7.caption(), "200  Pagine");
    EXPECT_EQ(model.outcome(), InvDat::Outcome::Done);
    EXPECT_TRUE(model.Trasm_OK.visible());
    EXPECT_FALSE(model.Coll_OK.visible());
    EXPECT_EQ(state.Attesa_Pagine, 0);
}

TEST_F(InvDatTest, ConnectWithNoPagesShowsTheNoticeAndSendsNothing) {
    state.PageCount = 0;
    load();
    model.Command7.click();
    EXPECT_EQ(shown(), "Manca_Dati");
    EXPECT_EQ(model.Manca_Dati.caption(), "NON ci sono DATI invio inutile");
    EXPECT_TRUE(port.sent.empty());
}

TEST_F(InvDatTest, ReceiveEventWithEmptyBufferOnlyResetsTheReadSettings) {
    load();
    port.inputLen = 0;
    port.rThreshold = 0;
    model.MSComm1_OnComm();
    EXPECT_EQ(port.inputLen, 1);
    EXPECT_EQ(port.rThreshold, 1);
    EXPECT_EQ(shown(), "");
}

TEST_F(InvDatTest, UploadSendsTheStreamWithItsPacing) {
    load();
    model.Command7.click();
    reply({200});
    port.sent.clear();
    fake.clock.waits.clear();
    model.CMDINVIO.click();
    const PacedStream expected = uploadStream(state);
    ASSERT_EQ(port.sentBytes(), expected.values());
    // Every byte waits for the gaps of the byte before it (and the three leading ones).
    std::size_t waits = expected.leadingDelays;
    for (std::size_t i = 0; i < port.sent.size(); ++i) {
        EXPECT_EQ(port.sent[i].waitsBefore, waits) << "byte " << i;
        waits += expected.bytes[i].delaysAfter;
    }
    EXPECT_EQ(fake.clock.waits.size(), waits);
    for (double w : fake.clock.waits) EXPECT_DOUBLE_EQ(w, 0.002);
    EXPECT_EQ(model.MousePointer, Button::kDefaultPointer);
    EXPECT_EQ(model.progress().pagesSent, 2);
    EXPECT_EQ(model.progress().bytesSent, expected.bytes.size());
    EXPECT_FALSE(model.progress().running);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(InvDatTest, PacingHoldsWhenTheCalibrationFailed) {
    state.DelayLoopCount = -5;  // a calibration across midnight
    load();
    model.CMDINVIO_Click();
    EXPECT_EQ(fake.clock.waits.size(), 3u + 2 * (53 + 1) + 1 + 1);
}

TEST_F(InvDatTest, UploadStopsWhereTheLineFails) {
    load();
    port.failAfterBytes = 10;
    model.CMDINVIO_Click();
    EXPECT_EQ(port.sent.size(), 10u);
    EXPECT_EQ(fake.dialogs.messages(), std::vector<std::string>{"Problemi su COM1!"});
    EXPECT_EQ(model.MousePointer, Button::kDefaultPointer);
    EXPECT_FALSE(model.progress().running);
}

TEST_F(InvDatTest, DateTimeMessageReadsTheClockAfterTheLeadGap) {
    load();
    fake.clock.date = {2026, 12, 5, 14, 6, 59};
    // The minute turns during the lead gap: the message carries the later one.
    fake.clock.onWait = [&](double) {
        if (fake.clock.waits.size() == kDateTimeLeadDelays)
            fake.clock.date = {2026, 12, 5, 14, 7, 0};
    };
    model.Command3.click();
    EXPECT_EQ(port.sentBytes(), (Bytes{0xE0, 0x07, 0x14, 0x06, 0x05, 0x12, 0x26, 0xF9}));
    EXPECT_EQ(port.sent[1].waitsBefore, 34u);
    EXPECT_EQ(port.sent[7].waitsBefore, 34u + 6);
    EXPECT_EQ(fake.clock.waits.size(), 40u);  // nothing after the end byte
    EXPECT_TRUE(model.No_Collegam.visible());
    reply({227});
    EXPECT_FALSE(model.No_Collegam.visible());
    EXPECT_EQ(model.Label7.caption(), "Data/Ora OK");
}

// The upload and the clock message go through one loop: a failing line and a cancel end both
// alike, after the byte on its way, and say so.
TEST_F(InvDatTest, TransmissionsStopAlikeOnFailureAndCancel) {
    struct Case {
        const char* name;
        bool upload;
        bool cancel;  // else the line fails
        std::size_t after;
        const char* esito;
    };
    const std::vector<Case> cases = {
        {"upload cancelled", true, true, 20,
         "Invio annullato: l'insegna ha una sequenza incompleta. Inviare di nuovo la sequenza."},
        {"upload on a failing line", true, false, 10, ""},
        {"clock cancelled in its lead gap", false, true, 1,
         "Invio annullato: data e ora non impostate."},
        {"clock on a failing line", false, false, 3, ""},
    };
    for (const Case& c : cases) {
        testing::FakeServices services;
        testing::FakeSerialPort line{&services.clock};
        Modulo1 store = state;
        InvDat m{store, services.services, line};
        m.window.show();
        EXPECT_FALSE(m.Annulla.enabled());
        bool enabledMeanwhile = false;
        if (c.cancel) {
            services.clock.onWait = [&](double) {
                enabledMeanwhile = m.Annulla.enabled();
                if (line.sent.size() == c.after) m.Annulla.click();
            };
        } else {
            line.failAfterBytes = static_cast<int>(c.after);
        }
        (c.upload ? m.CMDINVIO_Click() : m.Command3.click());
        EXPECT_EQ(line.sent.size(), c.after) << c.name;
        EXPECT_EQ(m.outcome(), InvDat::Outcome::Failed) << c.name;
        EXPECT_FALSE(m.progress().running) << c.name;
        EXPECT_FALSE(m.Annulla.enabled()) << c.name;
        EXPECT_FALSE(m.No_Collegam.visible()) << c.name;
        EXPECT_EQ(m.MousePointer, Button::kDefaultPointer) << c.name;
        if (c.cancel) {
            EXPECT_TRUE(enabledMeanwhile) << c.name;
            EXPECT_EQ(m.Esito.caption(), c.esito) << c.name;
            EXPECT_TRUE(services.dialogs.shown.empty()) << c.name;
        } else {
            EXPECT_EQ(services.dialogs.messages(), std::vector<std::string>{"Problemi su COM1!"})
                << c.name;
        }
        // The window stays usable: the next exchange goes out whole.
        line.failAfterBytes = -1;
        services.clock.onWait = nullptr;
        line.sent.clear();
        m.Command7.click();
        EXPECT_EQ(line.sentBytes(), Bytes{kConnectRequest}) << c.name;
    }
}

// The line goes away while the window waits for the count: it says so at once, names the
// port, closes it, and the next connect opens it again.
TEST_F(InvDatTest, LostLineEndsTheExchangeAndNamesThePort) {
    model.choosePort("/dev/ttyUSB0");
    load();
    model.Command7.click();
    reply({200});
    model.CMDINVIO.click();
    port.errorTextOverride = "device gone";
    port.raiseLineLost();
    EXPECT_EQ(model.outcome(), InvDat::Outcome::Failed);
    EXPECT_FALSE(port.portOpen());
    EXPECT_FALSE(model.CMDINVIO.enabled());
    EXPECT_TRUE(model.Esito.visible());
    EXPECT_EQ(model.Esito.caption(),
              "Collegamento perso sulla porta /dev/ttyUSB0 (device gone). Controllare l'insegna e "
              "premere Connetti.");
    EXPECT_TRUE(fake.dialogs.shown.empty());
    port.sent.clear();
    model.Command7.click();
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(port.sentBytes(), Bytes{kConnectRequest});
    EXPECT_FALSE(model.Esito.visible());
}

// Lost in the middle of an upload: the upload's own message, once.
TEST_F(InvDatTest, LineLostDuringAnUploadIsReportedOnce) {
    load();
    fake.clock.onWait = [&](double) {
        if (port.sent.size() == 10) port.setPortOpen(false);
    };
    model.CMDINVIO_Click();
    port.raiseLineLost();
    EXPECT_EQ(port.sent.size(), 10u);
    EXPECT_EQ(fake.dialogs.messages(), std::vector<std::string>{"Problemi su COM1!"});
    EXPECT_NE(model.Esito.caption().find("Collegamento perso sulla porta COM1"), std::string::npos);
}

TEST_F(InvDatTest, ClosingAndReopeningHidesTheLabelsAndDropsOldReplies) {
    load();
    model.Command7.click();
    reply({200});
    port.incoming = {222};  // arrived, but not yet handled, when the window closed
    model.Command1.click();
    EXPECT_FALSE(port.portOpen());
    EXPECT_FALSE(model.window.loaded());
    load();
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_FALSE(model.CMDINVIO.enabled());
}

TEST_F(InvDatTest, UnloadByOtherMeansReleasesThePort) {
    load();
    model.window.unload();
    EXPECT_FALSE(port.portOpen());
}

// A port that fails to open, chosen by the user or opened with the window, is named in the
// window itself, without a message box; another can then be chosen.
TEST_F(InvDatTest, PortThatCannotOpenIsNamedInTheWindow) {
    port.openFails = true;
    model.choosePort("/dev/ttyUSB7");
    load();
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_TRUE(model.Esito.visible());
    EXPECT_EQ(model.Esito.caption(),
              "Impossibile aprire la porta /dev/ttyUSB7 (Device busy). Scegliere un'altra porta.");
    EXPECT_FALSE(model.CMDINVIO.enabled());
    // Connecting tries again and says so again; nothing is sent.
    model.Command7_Click();
    EXPECT_TRUE(model.Esito.visible());
    EXPECT_EQ(model.outcome(), InvDat::Outcome::Failed);
    EXPECT_TRUE(port.sent.empty());
    port.openFails = false;
    model.choosePort("/dev/ttyUSB0");
    EXPECT_TRUE(port.portOpen());
    EXPECT_FALSE(model.Esito.visible());
    EXPECT_EQ(port.commPort(), "/dev/ttyUSB0");
    model.Command7_Click();
    EXPECT_EQ(port.sentBytes(), Bytes{212});
    // An open port is left for the new choice.
    model.choosePort("COM3");
    EXPECT_EQ(port.commPort(), "COM3");
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "CommPort=COM3"), 1);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

// A port name is a file name: it reaches the port as it was given and is shown as the text it is.
TEST_F(InvDatTest, PortNamesAreFileNames) {
    port.openFails = true;
    const std::string name = "/dev/serial/by-id/usb-Citt\xC3\xA0_Seriale";  // UTF-8 "Città"
    model.choosePort(name);
    load();
    EXPECT_EQ(port.commPort(), name);
    EXPECT_NE(model.Esito.caption().find("usb-Citt\xE0_Seriale"), std::string::npos);
}

// A name of any length is shortened in the window, and the reason follows it whole.
TEST_F(InvDatTest, LongPortNamesAreShortenedInMessages) {
    port.openFails = true;
    const std::string name = "/dev/" + std::string(600, 'x');
    model.choosePort(name);
    load();
    EXPECT_EQ(port.commPort(), name);
    EXPECT_EQ(model.Esito.caption(), "Impossibile aprire la porta /dev/" + std::string(27, 'x') +
                                         "\x85" + std::string(31, 'x') +
                                         " (Device busy). Scegliere un'altra porta.");
}

TEST_F(InvDatTest, TheWindowShowsWhatTheUploadWillTake) {
    load();
    const StreamSize size = streamSize(uploadStream(state));
    EXPECT_EQ(size.bytes, 2u * 53 + 1);
    EXPECT_EQ(model.Dimensione.caption(), "Da inviare: 2 pagine, 107 byte, circa 0,2 s");
    state.PageCount = 0;
    model.showUploadSize();
    EXPECT_EQ(model.Dimensione.caption(), "Nessuna pagina da inviare");
}

// Whatever the line brings, the handler reads one byte per event and never fails; an exchange
// ends well only on the protocol's own answer.
TEST_F(InvDatTest, AnySequenceOfReplyBytesIsHandled) {
    load();
    std::mt19937 random(6);
    for (int round = 0; round < 300; ++round) {
        const int kind = round % 3;
        (kind == 0   ? model.Command7_Click()
         : kind == 1 ? model.InviaPagine()
                     : model.Command3_Click());
        const int length = static_cast<int>(random() % 6);
        for (int i = 0; i < length; ++i)
            port.incoming.push_back(
                static_cast<std::uint8_t>(random() % 4 == 0 ? 200 + random() % 30 : random()));
        std::size_t replies = 0;
        model.onReply = [&](std::uint8_t) { ++replies; };
        const Bytes sent(port.incoming.begin(), port.incoming.end());
        port.raiseReceiveEvents();
        EXPECT_EQ(replies, static_cast<std::size_t>(length));
        EXPECT_TRUE(port.incoming.empty());
        const Bytes right = kind == 0 ? Bytes{200} : kind == 1 ? Bytes{222, 2} : Bytes{227};
        if (model.outcome() == InvDat::Outcome::Done) {
            EXPECT_EQ(sent, right);
        }
        if (model.outcome() == InvDat::Outcome::Failed) {
            EXPECT_EQ(model.Label7.caption(), "Errore TX");
        }
    }
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

// Each exchange waits five seconds for its answer on the clock, then says what did not happen,
// and the window is ready for the next try with no status of the wait left beside the reason.
TEST_F(InvDatTest, UnansweredExchangesTimeOutWithTheirReason) {
    struct Case {
        const char* name;
        std::function<void(InvDat&)> start;
        const char* esito;
        bool sendStaysEnabled;
    };
    const std::vector<Case> cases = {
        {"connect", [](InvDat& m) { m.Command7.click(); },
         "L'insegna non risponde su COM1. Controllare il cavo, l'alimentazione dell'insegna e la "
         "porta scelta.",
         false},
        {"upload", [](InvDat& m) { m.CMDINVIO.click(); },
         "Nessuna conferma dall'insegna dopo l'invio: controllare il collegamento e inviare di "
         "nuovo.",
         true},
        {"count after 222",
         [&](InvDat& m) {
             m.CMDINVIO.click();
             reply({222});
         },
         "Nessuna conferma dall'insegna dopo l'invio: controllare il collegamento e inviare di "
         "nuovo.",
         true},
        {"clock", [](InvDat& m) { m.Command3.click(); },
         "L'insegna non ha confermato la data e l'ora.", true},
    };
    load();
    for (const Case& c : cases) {
        model.Command7.click();
        reply({200});
        c.start(model);
        ASSERT_EQ(model.outcome(), InvDat::Outcome::Waiting) << c.name;
        EXPECT_TRUE(model.Attesa.enabled()) << c.name;
        fake.clock.seconds += InvDat::kAnswerTimeout - 0.01;
        model.Attesa.onTimer();
        EXPECT_EQ(model.outcome(), InvDat::Outcome::Waiting) << c.name;
        fake.clock.seconds += 0.02;
        model.Attesa.onTimer();
        EXPECT_EQ(model.outcome(), InvDat::Outcome::TimedOut) << c.name;
        EXPECT_EQ(shown(), "Esito") << c.name;
        EXPECT_EQ(model.Esito.caption(), c.esito) << c.name;
        EXPECT_FALSE(model.Attesa.enabled()) << c.name;
        EXPECT_EQ(model.CMDINVIO.enabled(), c.sendStaysEnabled) << c.name;
        EXPECT_NE(model.journal.lines().back().find("tempo scaduto"), std::string::npos) << c.name;
    }
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

// An answer after the wait has ended (timed out, or cancelled) is late: the journal says so, the
// window keeps the reason and says what to do, and the exchange keeps its outcome.
TEST_F(InvDatTest, LateAnswersAreNotedAndChangeNothingElse) {
    struct Case {
        const char* name;
        std::function<void()> end;
        const char* reason;
        InvDat::Outcome outcome;
    };
    const std::vector<Case> cases = {
        {"time-out",
         [&] {
             fake.clock.seconds += InvDat::kAnswerTimeout + 0.01;
             model.Attesa.onTimer();
         },
         "L'insegna non risponde su COM1. Controllare il cavo, l'alimentazione dell'insegna e la "
         "porta scelta.",
         InvDat::Outcome::TimedOut},
        {"cancel", [&] { model.Annulla.click(); },
         "Attesa annullata: l'insegna non ha risposto alla richiesta di collegamento.",
         InvDat::Outcome::Failed},
    };
    for (const Case& c : cases) {
        load();
        model.Command7.click();
        c.end();
        ASSERT_EQ(model.outcome(), c.outcome) << c.name;
        const std::size_t before = model.journal.lines().size();
        reply({200});
        reply({200, 0x31});
        EXPECT_EQ(model.outcome(), c.outcome) << c.name;
        EXPECT_TRUE(model.replies().empty()) << c.name;
        EXPECT_EQ(shown(), "Esito") << c.name;
        EXPECT_EQ(model.Esito.caption(), std::string(c.reason) +
                                             " L'insegna ha risposto in ritardo: premere di "
                                             "nuovo Connetti.")
            << c.name;
        EXPECT_FALSE(model.CMDINVIO.enabled()) << c.name;
        std::vector<std::string> added;
        for (std::size_t i = before; i < model.journal.lines().size(); ++i)
            added.push_back(model.journal.lines()[i].substr(13));
        EXPECT_EQ(added, (std::vector<std::string>{
                             "RX C8",
                             "# risposta in ritardo, a scambio finito: ignorata fino al prossimo "
                             "scambio",
                             "RX C8", "RX 31"}))
            << c.name;
        // The next exchange is answered as usual.
        model.Command7.click();
        reply({200});
        EXPECT_EQ(model.outcome(), InvDat::Outcome::Done) << c.name;
        EXPECT_EQ(shown(), "Coll_OK") << c.name;
    }
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

// While the upload awaits the sign's count the window says so and "Annulla" stops the wait;
// what an earlier exchange said goes when a new one starts.
TEST_F(InvDatTest, TheUploadAwaitsItsConfirmationInSight) {
    load();
    model.Command3.click();
    reply({227});
    ASSERT_TRUE(model.UltimaOra.visible());
    model.Command7.click();
    EXPECT_FALSE(model.UltimaOra.visible());
    reply({200});
    EXPECT_FALSE(model.Conferma.visible());
    model.CMDINVIO.click();
    EXPECT_TRUE(model.Conferma.visible());
    EXPECT_EQ(model.Conferma.caption(),
              windows1252::fromUtf8("In attesa della conferma dell'insegna\u2026"));
    EXPECT_TRUE(model.Annulla.enabled());
    reply({222});
    EXPECT_TRUE(model.Conferma.visible());
    reply({2});
    EXPECT_EQ(model.outcome(), InvDat::Outcome::Done);
    EXPECT_FALSE(model.Conferma.visible());
    EXPECT_FALSE(model.Annulla.enabled());

    model.CMDINVIO.click();
    ASSERT_TRUE(model.Annulla.enabled());
    model.Annulla.click();
    EXPECT_EQ(model.outcome(), InvDat::Outcome::Failed);
    EXPECT_FALSE(model.Conferma.visible());
    EXPECT_FALSE(model.Annulla.enabled());
    EXPECT_FALSE(model.Attesa.enabled());
    EXPECT_EQ(model.Esito.caption(),
              "Attesa della conferma annullata: l'insegna potrebbe non avere tutte le pagine. "
              "Inviare di nuovo la sequenza.");
    EXPECT_EQ(model.journal.lines().back().substr(13),
              "# fine invio delle pagine: attesa annullata dall'utente");
    // The sign's count arrives after all: late, and the window says so.
    reply({222, 2});
    EXPECT_EQ(model.outcome(), InvDat::Outcome::Failed);
    EXPECT_FALSE(model.Trasm_OK.visible());
}

// Another port clears what was said of the old one and takes no upload before it has answered.
TEST_F(InvDatTest, ChoosingAnotherPortClearsTheStatuses) {
    load();
    model.Command7.click();
    reply({200});
    model.CMDINVIO.click();
    reply({222, 2});
    ASSERT_EQ(shown(), "Trasm_OK Label7");
    model.choosePort("COM2");
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(model.CMDINVIO.enabled());
    model.Command7.click();
    reply({200});
    EXPECT_TRUE(model.CMDINVIO.enabled());
}

// With the check box set, a confirmed upload is followed by the clock; the window keeps the
// upload's result and says when and where the clock was set.
TEST_F(InvDatTest, ClockFollowsAConfirmedUploadWhenAsked) {
    load();
    model.DataOraDopoInvio.setValue(1);
    model.Command7.click();
    reply({200});
    const std::size_t before = port.sent.size();
    model.CMDINVIO.click();
    const std::size_t upload = port.sent.size() - before;
    reply({222, 4});
    EXPECT_EQ(port.sent.size() - before, upload) << "no clock after a wrong count";
    model.CMDINVIO.click();
    reply({222, 2});
    ASSERT_EQ(model.exchange(), InvDat::Exchange::DateTime);
    const Bytes all = port.sentBytes();
    const Bytes tail(all.end() - 8, all.end());
    EXPECT_EQ(tail, dateTimeMessage(fake.clock.date));
    reply({227});
    EXPECT_EQ(model.outcome(), InvDat::Outcome::Done);
    EXPECT_EQ(model.Label7.caption(), "2  Pagine");
    EXPECT_EQ(shown(), "Trasm_OK Label7");
    EXPECT_TRUE(model.UltimaOra.visible());
    EXPECT_EQ(model.UltimaOra.caption(), "Data e ora impostate alle 09:01 del 05/12/2026 su COM1.");
}

// The journal: every byte in hex with its time, an upload a page record a line (as dump prints
// it) with each page read back, and how each exchange ended.
TEST_F(InvDatTest, JournalRecordsBytesPagesAndOutcomes) {
    load();
    model.Command7.click();
    reply({200});
    model.CMDINVIO.click();
    reply({222, 2});
    std::vector<std::string> tx;
    std::vector<std::string> notes;
    for (const std::string& line : model.journal.lines()) {
        ASSERT_GE(line.size(), 15u) << line;
        EXPECT_TRUE(line[2] == ':' && line[5] == ':' && line[8] == '.' && line[12] == ' ') << line;
        const std::string rest = line.substr(13);
        if (rest.rfind("TX ", 0) == 0) tx.push_back(rest.substr(3));
        if (rest.rfind("# ", 0) == 0) notes.push_back(rest.substr(2));
    }
    // Kind 1, 2 pages, pause 3, 9 characters; each row in a block of 24; the end of the page.
    const std::string page =
        "01 02 03 09 "
        "21 22 23 24 25 26 27 28 29 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "11 12 13 14 15 16 17 18 19 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "E9";
    ASSERT_EQ(tx.size(), 4u);
    EXPECT_EQ(tx[0], "D4");
    EXPECT_EQ(tx[1], page);
    EXPECT_EQ(tx[2], page);
    EXPECT_EQ(tx[3], "FD");
    EXPECT_NE(std::find(notes.begin(), notes.end(),
                        "pagina 1: tipo 1, pausa 3 s. Riga 1: \u00ABABCDEFGHI\u00BB. Riga 2: "
                        "\u00AB123456789\u00BB."),
              notes.end());
    EXPECT_EQ(notes.back(), "fine invio delle pagine: risposta ricevuta, 2 pagine");
    const auto& lines = model.journal.lines();
    EXPECT_EQ(lines[lines.size() - 3].substr(13), "RX DE");
    EXPECT_EQ(lines[0].substr(0, 12), "09:01:00.000");
    // Times run on with the monotonic clock from the first line, taken at 1000 s.
    model.Command7.click();
    fake.clock.seconds = 1061.25;
    reply({200});
    EXPECT_EQ(lines[lines.size() - 2].substr(0, 13), "09:02:01.250 ");
}

TEST_F(InvDatTest, JournalSaysHowEachExchangeEnded) {
    struct Case {
        const char* name;
        std::function<void()> run;
        const char* outcome;
    };
    const std::vector<Case> cases = {
        {"wrong answer", [&] { reply({17}); }, "fine collegamento: risposta errata: 11"},
        {"time-out",
         [&] {
             fake.clock.seconds += 6;
             model.Attesa.onTimer();
         },
         "fine collegamento: tempo scaduto, nessuna risposta entro 5 s. L'insegna non risponde su "
         "COM1. Controllare il cavo, l'alimentazione dell'insegna e la porta scelta."},
        {"hang-up", [&] { port.raiseLineLost(); }, "fine collegamento: collegamento perso"},
    };
    for (const Case& c : cases) {
        load();
        model.Command7.click();
        c.run();
        const std::string& last = model.journal.lines().back();
        EXPECT_EQ(last.substr(15, std::string(c.outcome).size()), c.outcome) << c.name;
    }
    // A cancel ends an upload.
    load();
    model.Command7.click();
    reply({200});
    fake.clock.onWait = [&](double) { model.Annulla_Click(); };
    model.CMDINVIO.click();
    fake.clock.onWait = nullptr;
    EXPECT_EQ(model.journal.lines().back().substr(15),
              "fine invio delle pagine: annullato dall'utente");
}

TEST_F(InvDatTest, JournalIsSavedAsText) {
    load();
    model.Command7.click();
    reply({200});
    fake.dialogs.pathAnswers = {"/tmp/registro.txt"};
    model.SalvaRegistro.click();
    EXPECT_EQ(fake.files.contents["/tmp/registro.txt"], model.journal.text());
    EXPECT_NE(model.journal.text().find(" TX D4\n"), std::string::npos);
    fake.files.failing.insert("/tmp/no.txt");
    fake.dialogs.pathAnswers = {"/tmp/no.txt"};
    model.SalvaRegistro.click();
    EXPECT_EQ(fake.dialogs.messages().back(), "Impossibile salvare il registro in /tmp/no.txt.");
}

// The dialog proposes the port and the day; a name without extension gets ".txt", and a file
// that name reaches is not overwritten without asking.
TEST_F(InvDatTest, JournalTakesATextNameOfThePortAndTheDay) {
    model.choosePort("/dev/serial/by-id/usb-FTDI:A1 B");
    load();
    fake.dialogs.pathAnswers = {"/tmp/sabato"};
    model.SalvaRegistro.click();
    EXPECT_EQ(fake.dialogs.shown.back().defaultText, "registro-usb-FTDI_A1_B-2026-12-05.txt");
    EXPECT_EQ(fake.files.contents["/tmp/sabato.txt"], model.journal.text());
    EXPECT_EQ(fake.files.contents.count("/tmp/sabato"), 0u);
    model.journal.note("dopo");
    fake.dialogs.pathAnswers = {"/tmp/sabato"};
    model.SalvaRegistro.click();
    EXPECT_EQ(fake.dialogs.shown.back().kind, "message");
    EXPECT_EQ(fake.files.contents["/tmp/sabato.txt"].find("dopo"), std::string::npos);
    fake.dialogs.pathAnswers = {"/tmp/registro.log"};
    model.SalvaRegistro.click();
    EXPECT_EQ(fake.files.contents["/tmp/registro.log"], model.journal.text());
}

}  // namespace
}  // namespace velora
