#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/controls.h"
#include "core/modulo1.h"
#include "core/services.h"
#include "serial_port.h"

namespace velora {

// The model of the transmission window "Invio Dati": it owns the serial port, sends the connect
// request, the upload and the date and time message, and shows the sign's one-byte replies.
class InvDat {
public:
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
    // Closes the link and the window.
    void Command1_Click();
    // The upload of the whole sequence.
    void CMDINVIO_Click();
    void InviaPagine();  // "send pages"
    // Sends the computer's date and time to the sign's clock.
    void Command3_Click();

    // The port to use from now on. With the window loaded the port is reopened on it; a port
    // that cannot be opened is reported and the window stays usable to pick another.
    void choosePort(const std::string& name);
    const std::string& portName() const { return m_portName; }

    // How far the exchange that is running has gone.
    struct Progress {
        bool running = false;
        int pagesSent = 0;
        int pages = 0;
        std::size_t bytesSent = 0;
        std::size_t bytes = 0;
    };
    const Progress& progress() const { return m_progress; }

    // Called after every reply byte has been handled, with that byte.
    std::function<void(std::uint8_t)> onReply;

    // The window and its controls.
    Form window{"InvDat"};             // the transmission window, "Invio Dati"
    Button Command7{"Command7"};       // "Connetti": sends the connect request
    Button CMDINVIO{"CMDINVIO"};       // "INVIO DATI": uploads the sequence
    Button Command3{"Command3"};       // sends the date and time to the sign's clock
    Button Command1{"Command1"};       // "Esci": closes the link and the window
    Label Frame1{"Frame1"};            // frame "Tipo di Connessione" (kind of link)
    OptionButton Option1{"Option1"};   // link over the serial port
    OptionButton Option2{"Option2"};   // link through a modem
    Label Coll_OK{"Coll_OK"};          // "Collegamento OK": the sign answered
    Label No_Collegam{"No_Collegam"};  // "Non c'è Collegamento": no answer
    Label Manca_Dati{"Manca_Dati"};    // nothing stored to send
    Label Trasm_OK{"Trasm_OK"};        // "Inviato": sent
    Label Label7{"Label7"};            // the sign's reply: pages counted, or "Errore TX"
    SerialPort& MSComm1;               // the serial port
    // The window's mouse pointer: Button::kDefaultPointer or Button::kHourglass.
    int MousePointer = Button::kDefaultPointer;

private:
    // Opens the port if it is not open; tells the user why when that fails.
    bool ensurePortOpen();
    void reportOpenFailure();
    void send(std::uint8_t byte);

    Modulo1& m_state;
    Services& m_services;
    std::string m_portName = "COM1";
    Progress m_progress;
    bool m_exchanging = false;
};

}  // namespace velora
