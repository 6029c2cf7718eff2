#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/base_dat.h"
#include "core/modulo1.h"
#include "core/services.h"
#include "inv_dat.h"
#include "serial_port.h"

namespace velora {

// A sign to send to: its name as the user wrote it, its port as the port field takes it (the
// system's name, a device path or a network address) and its LED boards, three characters of a
// fixed row each. Unlike the window models' texts, the names, the reasons and the words of a send
// to many are UTF-8, as the signs file keeps the names.
struct SignTarget {
    std::string name;
    std::string port;
    int boards = 0;

    int rowChars() const { return boards * kRowCharsPerBoard; }
};

// How the send to one sign went.
enum class SendResult {
    Pending,          // its turn has not come
    Sending,          // its turn: connecting, sending or awaiting the confirmation
    Confirmed,        // the sign confirmed every page
    NoAnswer,         // the sign let the time pass without answering
    PortUnavailable,  // the port could not be opened, refused the bytes or went away
    WrongAnswer,      // the sign answered, but not what the exchange asks for
    NotSent,          // nothing was sent, or the send was stopped: the reason says which
};

struct SignSend {
    SignTarget target;
    SendResult result = SendResult::Pending;
    int pages = 0;       // the pages the sign confirmed
    std::string reason;  // why it did not go well; empty once confirmed
};

// The outcome as the table and velora-cli show it: "confermato, 5 pagine", "nessuna risposta",
// "porta assente o occupata", "risposta errata", "non inviato"; "in attesa", "in corso" before.
std::string resultWords(const SignSend& send);

// Why a sequence does not go to a sign whose rows hold `rowChars` characters: the pages, numbered
// as the selector shows them, whose fixed rows hold text beyond that width (from bringToWidth).
// "la pagina 3 ha testo oltre i 12 caratteri di questa insegna".
std::string pagesBeyond(const std::vector<int>& pages, int rowChars);

// One send to many signs: the sequence goes to each sign in turn, one stream per port, since
// the line carries no address. Each send is the transmission window's own (the connect
// request, then the upload, with their waits, time-outs and checks) on a window model of its own,
// whose journal holds a section for each sign, opened by a line naming the sign and its port.
//
// A sign of another width gets the sequence brought to its width only when no text is lost
// (bringToWidth); otherwise it is not sent to, and the reason names the pages that do not fit.
// A port on which an earlier sign of the same round confirmed is not sent to again: the sign
// there has its sequence already, and a second one would replace it.
//
// The shell tells it what happens on the port (bytes arrived, the line went away) and ticks it
// every kTickMs while it runs; whatever arrives while a request is being sent is taken once it
// has gone out, as the transmission window does. Messages the exchanges would show in a box
// become the reason of that sign's outcome instead: nothing stops the round to ask the user.
class SendToSigns {
public:
    static constexpr int kTickMs = 200;

    SendToSigns(Services& services, SerialPort& port);
    SendToSigns(const SendToSigns&) = delete;
    SendToSigns& operator=(const SendToSigns&) = delete;

    // Sends the pages of `sequence` (slots 1..PageCount at its RowChars) to `targets`, in their
    // order. Does nothing while a round runs. Returns once the first exchange is under way, or
    // at the end when there is none to wait for.
    void start(const Modulo1& sequence, const std::vector<SignTarget>& targets);

    // The shell's events.
    void received();
    void lineLost();
    void tick();
    // Stops the round: the byte on its way is the last, the sign being served and every sign
    // after it are not sent to.
    void cancel();

    bool running() const { return m_index >= 0; }
    const std::vector<SignSend>& sends() const { return m_sends; }
    // The sign being served, -1 when none.
    int current() const { return m_index; }
    // What the sign being served is at: "collegamento", "pagina 3 di 5", "attesa della conferma".
    std::string progressWords() const;
    // Whether every sign of the last round confirmed; false for a round without signs.
    bool allConfirmed() const;

    // The exchanges' own window model: its journal and the progress of an upload.
    InvDat& link() { return m_link; }

    // Called when a sign's turn begins or ends, and when the round ends.
    std::function<void()> onChanged;

private:
    // The dialogs the exchanges reach: while a round runs their messages are kept, not shown.
    class KeptDialogs : public Dialogs {
    public:
        explicit KeptDialogs(Dialogs& shown) : m_shown(shown) {}
        bool keep = false;
        std::vector<std::string> kept;

        MessageAnswer messageBox(const std::string& text, const std::string& title,
                                 MessageIcon icon, MessageButtons buttons) override;
        std::string inputBox(const std::string& prompt, const std::string& title,
                             const std::string& defaultText) override;
        std::string openFilePath(const std::string& filter) override {
            return m_shown.openFilePath(filter);
        }
        std::string saveFilePath(const std::string& filter,
                                 const std::string& proposedName) override {
            return m_shown.saveFilePath(filter, proposedName);
        }

    private:
        Dialogs& m_shown;
    };

    enum class Phase { Connecting, Uploading };

    // Starts the turn of the next sign that can be sent to, or ends the round.
    void nextSign();
    // Starts sending to sign `index`; false when it ended at once (not sent, port missing).
    bool beginSign(std::size_t index);
    // Ends the turn of the sign being served.
    void finish(SendResult result, const std::string& reason);
    void finishExchange();
    // Runs a request with the replies held back until it has gone out.
    void request(const std::function<void()>& send);
    // Takes what the shell reported and acts on every exchange that ended, until one waits.
    void settle();
    bool step();
    void changed();

    KeptDialogs m_dialogs;
    Services m_services;
    Modulo1 m_sequence;
    Modulo1 m_state;  // the sequence as the sign being served gets it
    InvDat m_link;
    std::vector<SignSend> m_sends;
    int m_index = -1;
    Phase m_phase = Phase::Connecting;
    bool m_requesting = false;
    bool m_settling = false;
    bool m_lineLostPending = false;
    bool m_cancelled = false;
};

}  // namespace velora
