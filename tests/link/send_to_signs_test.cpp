#include "link/send_to_signs.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/page_store.h"
#include "fakes/fake_serial_port.h"
#include "fakes/fake_services.h"
#include "link/virtual_sign.h"

namespace velora {
namespace {

using testing::FakeSerialPort;

// Several lines, each reached by its port's name, as the port field reaches them; a name with no
// line behind it cannot be opened.
class Lines : public SerialPort {
public:
    explicit Lines(const testing::FakeClock& clock) : m_clock(clock) {
        m_missing.openFails = true;
        m_missing.errorTextOverride = "No such file or directory";
    }

    // A line named `name` with a virtual sign at its far end.
    FakeSerialPort& add(const std::string& name) {
        auto& line = m_lines[name];
        line.port = std::make_unique<FakeSerialPort>(&m_clock);
        line.sign = std::make_unique<VirtualSign>();
        VirtualSign* sign = line.sign.get();
        line.port->peer = [sign](std::uint8_t b) { return sign->receive(b); };
        return *line.port;
    }
    VirtualSign& sign(const std::string& name) { return *m_lines.at(name).sign; }
    FakeSerialPort& port(const std::string& name) { return *m_lines.at(name).port; }
    bool anyOpen() const {
        for (const auto& [name, line] : m_lines)
            if (line.port->portOpen()) return true;
        return false;
    }

    void setCommPort(const std::string& name) override {
        current().setPortOpen(false);
        m_name = name;
        current().setCommPort(name);
    }
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& s) override { current().setSettings(s); }
    void setInputLen(int length) override { current().setInputLen(length); }
    void setPortOpen(bool open) override { current().setPortOpen(open); }
    bool portOpen() const override { return current().portOpen(); }
    void output(std::uint8_t byte) override { current().output(byte); }
    int inBufferCount() const override { return current().inBufferCount(); }
    std::string input() override { return current().input(); }
    void setRThreshold(int threshold) override { current().setRThreshold(threshold); }
    std::string errorText() const override { return current().errorText(); }

private:
    struct Line {
        std::unique_ptr<FakeSerialPort> port;
        std::unique_ptr<VirtualSign> sign;
    };
    FakeSerialPort& current() const {
        const auto found = m_lines.find(m_name);
        return found == m_lines.end() ? m_missing : *found->second.port;
    }

    const testing::FakeClock& m_clock;
    std::map<std::string, Line> m_lines;
    mutable FakeSerialPort m_missing;
    std::string m_name = "COM1";
};

class SendToSignsTest : public ::testing::Test {
protected:
    SendToSignsTest() {
        // Three pages made for 18 characters; only page 3 holds text beyond 12.
        sequence.RowChars = 18;
        sequence.PageCount = 3;
        putPage(sequence, 1, kTwoFixedRows, pad("CIAO"), pad("MONDO"), 3);
        putPage(sequence, 2, kRow2Scrolling, pad("ORARI"), "APERTO TUTTI I GIORNI", 5);
        putPage(sequence, 3, kTwoFixedRows, pad("BUONGIORNO"), pad("A TUTTI I CLIENTI"), 3);
        lines.add("socket://ingresso:4001");
        lines.add("socket://banco:4002");
    }

    static std::string pad(const std::string& text) {
        std::string out = text;
        out.resize(18, ' ');
        return out;
    }

    // Sends to `targets` and lets the time pass, a tick at a time, until the round ends.
    void run(const std::vector<SignTarget>& targets) {
        many.start(sequence, targets);
        for (int ticks = 0; many.running() && ticks < 1000; ++ticks) {
            fake.clock.seconds += SendToSigns::kTickMs / 1000.0;
            many.tick();
        }
        ASSERT_FALSE(many.running());
    }

    std::vector<SendResult> results() const {
        std::vector<SendResult> out;
        for (const SignSend& send : many.sends()) out.push_back(send.result);
        return out;
    }
    std::string reason(std::size_t index) const { return many.sends().at(index).reason; }

    const SignTarget ingresso{"Ingresso", "socket://ingresso:4001", 6};
    const SignTarget banco{"Banco", "socket://banco:4002", 5};
    testing::FakeServices fake;
    Modulo1 sequence;
    Lines lines{fake.clock};
    SendToSigns many{fake.services, lines};
};

TEST_F(SendToSignsTest, EverySignGetsTheSequenceAtItsOwnWidth) {
    sequence.PageText[3][1] = pad("BUONGIORNO");
    sequence.PageText[3][2] = pad("A TUTTI");
    std::vector<int> changes;
    many.onChanged = [&] { changes.push_back(many.current()); };
    run({ingresso, banco});

    EXPECT_EQ(results(), (std::vector{SendResult::Confirmed, SendResult::Confirmed}));
    EXPECT_TRUE(many.allConfirmed());
    EXPECT_EQ(resultWords(many.sends()[0]), "confermato, 3 pagine");
    EXPECT_EQ(reason(0), "");
    for (const auto& [name, width] : {std::pair{ingresso.port, 18}, std::pair{banco.port, 15}}) {
        SCOPED_TRACE(name);
        const VirtualSign& sign = lines.sign(name);
        EXPECT_EQ(sign.pagesReceived(), 3);
        ASSERT_EQ(sign.records().size(), 3u);
        for (const auto& record : sign.records()) EXPECT_EQ(record[3], width);
    }
    // One after the other: the first sign's line is closed before the second's opens.
    EXPECT_FALSE(lines.anyOpen());
    EXPECT_EQ(changes.back(), -1);
    // The caller's sequence is as it was.
    EXPECT_EQ(sequence.RowChars, 18);
    EXPECT_EQ(sequence.PageText[1][1], pad("CIAO"));
}

TEST_F(SendToSignsTest, EachSignHasItsSectionOfTheJournal) {
    run({ingresso, banco});
    std::vector<std::string> sections;
    for (const std::string& line : many.link().journal.lines())
        if (line.find("# insegna ") != std::string::npos ||
            line.find("# esito") != std::string::npos)
            sections.push_back(line.substr(line.find('#')));
    EXPECT_EQ(sections, (std::vector<std::string>{
                            "# insegna Ingresso, porta socket://ingresso:4001, 6 schede",
                            "# esito: confermato, 3 pagine",
                            "# insegna Banco, porta socket://banco:4002, 5 schede",
                            "# esito: non inviato, la pagina 3 ha testo oltre i 15 caratteri "
                            "di questa insegna",
                        }));
}

// What becomes of each sign when the other one is served: the outcome, the words of its reason,
// and that the sign after it is served all the same.
TEST_F(SendToSignsTest, OneSignFailingLeavesTheOtherServed) {
    struct Case {
        const char* name;
        std::function<void(Lines&)> arrange;
        SignTarget first;
        SendResult result;
        const char* reason;
    };
    // Every page fits the second sign; page 3 is too wide for three boards.
    sequence.PageText[3][2] = pad("A TUTTI");
    const SignTarget narrow{"Vetrina", "socket://banco:4002", 3};
    const std::vector<Case> cases = {
        {"sign does not fit",
         {},
         narrow,
         SendResult::NotSent,
         "la pagina 3 ha testo oltre i 9 caratteri di questa insegna"},
        {"port missing",
         {},
         {"Magazzino", "/dev/ttyUSB9", 6},
         SendResult::PortUnavailable,
         "impossibile aprire la porta (No such file or directory)"},
        {"port busy", [](Lines& l) { l.port("socket://banco:4002").openFails = true; }, banco,
         SendResult::PortUnavailable, "impossibile aprire la porta (Device busy)"},
        {"sign silent", [](Lines& l) { l.sign("socket://banco:4002").silent = true; }, banco,
         SendResult::NoAnswer, "nessuna risposta alla richiesta di collegamento entro 5 secondi"},
        {"sign counts fewer pages",
         [](Lines& l) { l.sign("socket://banco:4002").countAdjust = -1; }, banco,
         SendResult::WrongAnswer, "L'insegna ha ricevuto 2 pagine su 3."},
        {"sign answers nonsense",
         [](Lines& l) { l.sign("socket://banco:4002").answerWith = std::vector<std::uint8_t>{7}; },
         banco, SendResult::WrongAnswer, "Risposta inattesa dall'insegna: 07"},
        {"line refuses a byte of the upload",
         [](Lines& l) { l.port("socket://banco:4002").failAfterBytes = 20; }, banco,
         SendResult::PortUnavailable, "la porta ha rifiutato i byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakeServices services;
        Lines caseLines{services.clock};
        caseLines.add("socket://ingresso:4001");
        caseLines.add("socket://banco:4002");
        if (c.arrange) c.arrange(caseLines);
        SendToSigns round{services.services, caseLines};
        // The failing sign comes first: the round goes on to the next.
        round.start(sequence, {c.first, ingresso});
        for (int ticks = 0; round.running() && ticks < 1000; ++ticks) {
            services.clock.seconds += 0.2;
            round.tick();
        }
        ASSERT_FALSE(round.running());
        ASSERT_EQ(round.sends().size(), 2u);
        EXPECT_EQ(round.sends()[0].result, c.result);
        EXPECT_EQ(round.sends()[0].reason, c.reason);
        EXPECT_EQ(round.sends()[1].result, SendResult::Confirmed);
        EXPECT_EQ(caseLines.sign("socket://ingresso:4001").pagesReceived(), 3);
        EXPECT_FALSE(round.allConfirmed());
        // Nothing stopped the round to ask the user.
        EXPECT_TRUE(services.dialogs.shown.empty());
    }
}

TEST_F(SendToSignsTest, ASequenceThatDoesNotFitIsNeverSentThere) {
    run({{"Vetrina", "socket://banco:4002", 4}});
    EXPECT_EQ(results(), std::vector{SendResult::NotSent});
    EXPECT_TRUE(lines.port("socket://banco:4002").sent.empty());
    EXPECT_EQ(resultWords(many.sends()[0]), "non inviato");
}

// Once a sign on a port has confirmed, the port is not sent to again in that round; a sign that
// did not get the sequence leaves its port free.
TEST_F(SendToSignsTest, APortIsServedOncePerRound) {
    const SignTarget narrow{"Ingresso stretta", ingresso.port, 3};
    const SignTarget again{"Ingresso bis", ingresso.port, 6};
    run({narrow, ingresso, again});
    EXPECT_EQ(results(),
              (std::vector{SendResult::NotSent, SendResult::Confirmed, SendResult::NotSent}));
    EXPECT_EQ(reason(2),
              "la porta è la stessa dell'insegna Ingresso, che ha già confermato: una seconda "
              "sequenza sostituirebbe la prima");
    EXPECT_EQ(lines.sign(ingresso.port).pagesReceived(), 3);
}

TEST_F(SendToSignsTest, AnEmptySequenceIsSentNowhere) {
    sequence.PageCount = 0;
    run({ingresso, banco});
    EXPECT_EQ(results(), (std::vector{SendResult::NotSent, SendResult::NotSent}));
    EXPECT_EQ(reason(0), "NON ci sono DATI invio inutile");
    EXPECT_TRUE(lines.port(ingresso.port).sent.empty());
}

// A cancel stops the bytes on their way; the sign being served and every sign after it are not
// sent to, and say so.
TEST_F(SendToSignsTest, CancelStopsTheRound) {
    const SignTarget third{"Retro", "socket://retro:4003", 6};
    lines.add(third.port);
    int waits = 0;
    fake.clock.onWait = [&](double) {
        if (many.current() == 0 && many.progressWords() == "pagina 2 di 3" && ++waits == 3)
            many.cancel();
    };
    run({ingresso, banco, third});
    EXPECT_EQ(results(),
              (std::vector{SendResult::NotSent, SendResult::NotSent, SendResult::NotSent}));
    EXPECT_EQ(reason(0),
              "invio interrotto dall'utente: l'insegna potrebbe avere una sequenza incompleta");
    EXPECT_EQ(reason(2), "invio interrotto dall'utente");
    EXPECT_FALSE(lines.port(ingresso.port).sent.empty());
    EXPECT_TRUE(lines.port(third.port).sent.empty());
    EXPECT_FALSE(lines.anyOpen());
}

}  // namespace
}  // namespace velora
