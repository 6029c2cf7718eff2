#include <gtest/gtest.h>

#include <random>

#include "core/windows1252.h"
#include "fakes/fake_serial_port.h"
#include "fakes/fake_services.h"
#include "link/inv_dat.h"
#include "link/sign_messages.h"

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
                               &model.Manca_Dati})
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

// The reply table, event by event, from one loaded window.
TEST_F(InvDatTest, RepliesFollowTheTable) {
    load();
    struct Step {
        const char* event;
        std::function<void()> act;
        const char* shown;
        const char* label7;
        bool sendEnabled;
        int attesa;
    };
    const std::vector<Step> steps = {
        {"222 before any connect", [&] { reply({222}); }, "Trasm_OK Label7", "Errore TX", false, 1},
        {"connect", [&] { model.Command7.click(); }, "No_Collegam Label7", "Errore TX", false, 1},
        {"200", [&] { reply({200}); }, "Coll_OK Label7", "Errore TX", true, 0},
        {"227 with flag 0", [&] { reply({227}); }, "Trasm_OK Label7", "Data/Ora OK", true, 0},
        {"222", [&] { reply({222}); }, "Trasm_OK Label7", "Errore TX", true, 1},
        {"count equal", [&] { reply({2}); }, "Trasm_OK Label7", "2  Pagine", true, 1},
        {"227 with flag 1", [&] { reply({227}); }, "Trasm_OK Label7", "Errore TX", true, 1},
        {"count different",
         [&] {
             reply({222, 4});
         },
         "Trasm_OK Label7", "Errore TX", true, 1},
        {"200 clears the flag", [&] { reply({200}); }, "Coll_OK Trasm_OK Label7", "Errore TX", true,
         0},
        {"unknown byte", [&] { reply({17}); }, "Coll_OK Trasm_OK Label7", "Errore TX", true, 0},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(shown(), s.shown) << s.event;
        EXPECT_EQ(model.Label7.caption(), s.label7) << s.event;
        EXPECT_EQ(model.CMDINVIO.enabled(), s.sendEnabled) << s.event;
        EXPECT_EQ(state.Attesa_Pagine, s.attesa) << s.event;
    }
    EXPECT_EQ(port.sentBytes(), Bytes{212});
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
    reply({200});
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
    fake.clock.date = {2026, 12, 5, 14, 7, 33};
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

TEST_F(InvDatTest, DateTimeOnAClosedLineGoesToTheErrorReport) {
    load();
    port.failAfterBytes = 3;
    model.Command3_Click();
    ASSERT_FALSE(fake.dialogs.shown.empty());
    EXPECT_NE(fake.dialogs.shown[0].text.find("(8020)."), std::string::npos);
    EXPECT_EQ(model.MousePointer, Button::kDefaultPointer);
}

TEST_F(InvDatTest, ClosingAndReopeningKeepsTheFlagAndReopensThePort) {
    load();
    reply({222, 2});
    model.Command1.click();
    EXPECT_FALSE(port.portOpen());
    EXPECT_FALSE(model.window.loaded());
    load();
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(state.Attesa_Pagine, 1);
    reply({227});
    EXPECT_EQ(model.Label7.caption(), "Errore TX");
}

TEST_F(InvDatTest, UnloadByOtherMeansReleasesThePort) {
    load();
    model.window.unload();
    EXPECT_FALSE(port.portOpen());
}

TEST_F(InvDatTest, PortThatCannotOpenIsNamedAndAnotherCanBeChosen) {
    port.openFails = true;
    model.choosePort("/dev/ttyUSB7");
    load();
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("/dev/ttyUSB7 (Device busy)"), std::string::npos);
    EXPECT_FALSE(model.CMDINVIO.enabled());
    // Connecting tries again and reports again; nothing is sent.
    model.Command7_Click();
    EXPECT_EQ(fake.dialogs.messages().size(), 2u);
    EXPECT_TRUE(port.sent.empty());
    port.openFails = false;
    model.choosePort("/dev/ttyUSB0");
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(port.commPort(), "/dev/ttyUSB0");
    model.Command7_Click();
    EXPECT_EQ(port.sentBytes(), Bytes{212});
    // An open port is left for the new choice.
    model.choosePort("COM3");
    EXPECT_EQ(port.commPort(), "COM3");
    EXPECT_TRUE(port.portOpen());
    EXPECT_EQ(std::count(port.calls.begin(), port.calls.end(), "CommPort=COM3"), 1);
}

// Whatever the line brings, the handler reads one byte per event and never fails.
TEST_F(InvDatTest, AnySequenceOfReplyBytesIsHandled) {
    load();
    std::mt19937 random(6);
    for (int round = 0; round < 200; ++round) {
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            port.incoming.push_back(static_cast<std::uint8_t>(random()));
        std::size_t replies = 0;
        model.onReply = [&](std::uint8_t) { ++replies; };
        port.raiseReceiveEvents();
        EXPECT_EQ(replies, static_cast<std::size_t>(length));
        EXPECT_TRUE(port.incoming.empty());
        const std::string& label = model.Label7.caption();
        EXPECT_TRUE(label == "0" || label == "Errore TX" || label == "Data/Ora OK" ||
                    label == "2  Pagine")
            << label;
    }
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

}  // namespace
}  // namespace velora
