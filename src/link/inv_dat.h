#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/controls.h"
#include "core/modulo1.h"
#include "core/services.h"
#include "journal.h"
#include "paced_stream.h"
#include "serial_port.h"

namespace velora {

// The model of the transmission window "Invio Dati": it owns the serial port, sends the connect
// request, the upload and the date and time message, and shows the sign's one-byte replies.
//
// Each exchange accepts only the replies the sign gives to it, in their order: 200 to the connect
// request; 222 and then the page count to the upload (any byte is the count there, 200 included,
// since a sign can receive 200 pages); 227 to the date and time. Any other byte fails the
// exchange, and the window shows the bytes it got. Every exchange starts by hiding what the one
// before it showed. An answer that does not come within kAnswerTimeout seconds of the request,
// or whose wait the user cancels, ends the exchange with the reason in words; bytes that come
// after that are late: the journal says so, the window adds it to the reason, and nothing else
// changes. Every exchange is written into the journal.
//
// The parts: the window and its port here and in inv_dat.cpp; the life of an exchange and its
// statuses in inv_dat_exchange.cpp; the paced sending in inv_dat_transmit.cpp; each exchange in
// its own file (inv_dat_connect, inv_dat_upload, inv_dat_clock).
class InvDat {
public:
    // How long the sign may take to answer, from the last byte of a request or the last reply.
    static constexpr double kAnswerTimeout = 5.0;

    InvDat(Modulo1& state, Services& services, SerialPort& port);
    InvDat(const InvDat&) = delete;
    InvDat& operator=(const InvDat&) = delete;

    // Runs when the window is loaded: opens the port, hides the status labels.
    void Form_Load();
    // ApriPorta, "open port": sets up and opens the port; a failure is a run-time error.
    void ApriPorta();
    // The connect request.
    void Command7_Click();
    // The receive event: takes one reply byte and shows what it means.
    void MSComm1_OnComm();
    // The line went away: ends the exchange, says so, and leaves the port closed.
    void MSComm1_LineLost();
    // Closes the link and the window.
    void Command1_Click();
    // The upload of the whole sequence.
    void CMDINVIO_Click();
    void InviaPagine();  // "send pages"
    // Sends the computer's date and time to the sign's clock.
    void Command3_Click();
    // Stops the transmission that is running after the byte on its way, or the wait for its
    // answer.
    void Annulla_Click();
    // The tick of the wait for an answer: ends the exchange when the sign has let the time pass.
    void Attesa_Timer();
    // Writes the journal of the session to a text file the user chooses.
    void SalvaRegistro_Click();

    // The port to use from now on. With the window loaded the port is reopened on it; a port
    // that cannot be opened is reported in the window, which stays usable to pick another.
    void choosePort(const std::string& name);
    const std::string& portName() const { return m_portName; }

    // The sequence Connetti and INVIO DATI send: the program's own, unless another window lends
    // one for its sends (the plan sends the file that is due); nullptr gives it back.
    void lendSequence(const Modulo1* sequence) { m_lent = sequence; }
    const Modulo1& sequence() const { return m_lent ? *m_lent : m_state; }

    // Puts the size of the upload of the sequence as it stands now into Dimensione.
    void showUploadSize();

    // How far the transmission that is running has gone.
    struct Progress {
        bool running = false;
        int pagesSent = 0;
        int pages = 0;
        std::size_t bytesSent = 0;
        std::size_t bytes = 0;
    };
    const Progress& progress() const { return m_progress; }

    // The last exchange with the sign and how it ended, for callers that wait on it.
    enum class Exchange { None, Connect, Upload, DateTime };
    enum class Outcome { Waiting, Done, Failed, TimedOut };
    Exchange exchange() const { return m_exchange; }
    Outcome outcome() const { return m_outcome; }
    // The reply bytes the exchange received, in order.
    const std::vector<std::uint8_t>& replies() const { return m_replies; }

    // Called after every reply byte has been handled, with that byte.
    std::function<void(std::uint8_t)> onReply;

    // The window and its controls.
    Form window{"InvDat"};             // the transmission window, "Invio Dati"
    Button Command7{"Command7"};       // "Connetti": the connect request
    Button CMDINVIO{"CMDINVIO"};       // "INVIO DATI": the upload
    Button Command3{"Command3"};       // date and time to the sign's clock
    Button Command1{"Command1"};       // "Esci": close the link and the window
    Label Frame1{"Frame1"};            // frame of the connection type
    OptionButton Option1{"Option1"};   // serial connection
    OptionButton Option2{"Option2"};   // modem connection (shown, read by nothing)
    Label Coll_OK{"Coll_OK"};          // "Collegamento OK"
    Label No_Collegam{"No_Collegam"};  // "Non c'è Collegamento": waiting for the sign
    Label Manca_Dati{"Manca_Dati"};    // nothing to send
    Label Trasm_OK{"Trasm_OK"};        // "Inviato": a transfer was answered
    Label Label7{"Label7"};            // result of the last answer
    // Ours: the transmission can be cancelled; why an exchange or an open failed; what the
    // upload of the sequence will take.
    Button Annulla{"Annulla"};       // "Annulla": cancels the transmission
    Label Esito{"Esito"};            // "outcome": why an exchange or an open failed
    Label Dimensione{"Dimensione"};  // "size": what the upload will take
    Label Conferma{"Conferma"};      // "confirmation": the upload awaits the sign's answer
    // "wait": ticks while an answer is awaited.
    Timer Attesa{"Attesa"};
    // "set date and time after the upload too": a confirmed upload is followed by the clock.
    CheckBox DataOraDopoInvio{"DataOraDopoInvio"};
    Label UltimaOra{"UltimaOra"};           // "last time": when and where the clock was set
    Button SalvaRegistro{"SalvaRegistro"};  // "save journal"
    Journal journal;
    SerialPort& MSComm1;
    // The window's mouse pointer: Button::kDefaultPointer or Button::kHourglass.
    int MousePointer = Button::kDefaultPointer;

private:
    enum class Expect { Nothing, ConnectAck, CountFollows, Count, DateTimeAck };

    // Opens the port if it is not open; says in the window why when that fails.
    bool ensurePortOpen();
    void reportOpenFailure();
    // Hides what the last exchange showed (all of it, or only what a follow-up replaces) and
    // starts a new one that awaits `expect`.
    void beginExchange(Exchange exchange, Expect expect, bool followUp = false);
    void hideStatuses();
    // The answer is awaited from now for kAnswerTimeout seconds.
    void awaitAnswer();
    void endExchange(Outcome outcome, const std::string& why);
    void timeOut();
    // Ends the wait for an answer that did not come, with `why` in the window.
    void abandonWait(Outcome outcome, const std::string& why, const std::string& journalWhy);
    void cancelWait();
    void sendDateTime(bool followUp);
    void handleReply(std::uint8_t b);
    // Each exchange's replies; false for a byte the exchange does not take.
    bool takeConnectReply(std::uint8_t b);
    bool takeUploadReply(std::uint8_t b);
    bool takeDateTimeReply(std::uint8_t b);
    void lateReply();
    void failExchange();
    void showLineLost();
    // Sends the parts of one transmission, each byte followed by its gaps. False when it
    // stopped early: cancelled, or the line failed (run-time error, thrown on).
    bool sendPaced(const PacedStream& stream);
    // Runs `send` as one transmission that the user can cancel; a cancel or a failure of the
    // line is shown alike for every kind. True when everything went out.
    bool transmit(const std::function<bool()>& send, const std::string& cancelledText);
    std::string portForUser() const;
    // "registro-ttyUSB0-2026-12-05.txt": the port and the day, proposed to "Salva registro…".
    std::string journalFileName() const;
    std::string exchangeName() const;

    Modulo1& m_state;
    const Modulo1* m_lent = nullptr;
    Services& m_services;
    std::string m_portName = "COM1";
    Progress m_progress;
    bool m_exchanging = false;  // kept by ExchangeScope alone
    double m_deadline = 0;
    bool m_cancel = false;
    bool m_lineLostShown = false;
    Exchange m_exchange = Exchange::None;
    Outcome m_outcome = Outcome::Done;
    Expect m_expect = Expect::Nothing;
    std::vector<std::uint8_t> m_replies;
    // The wait of the exchange ended without its answer (time-out or cancel), with this reason.
    bool m_waitAbandoned = false;
    std::string m_abandonedText;
    bool m_lateNoted = false;
};

}  // namespace velora
