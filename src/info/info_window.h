#pragma once

#include <functional>

#include "core/controls.h"
#include "core/services.h"

namespace velora {

// The model of the information window "Help": the logo, what the program does, who made it, and
// a link to the program's guide, where the examples and advice are.
class InfoWindow {
public:
    explicit InfoWindow(Services& services);
    InfoWindow(const InfoWindow&) = delete;
    InfoWindow& operator=(const InfoWindow&) = delete;

    Services& services() { return m_services; }

    static constexpr const char* kGuideLink = "Guida di Velora";

    // Opens the guide, which the program ships, where a web page would need a network and a
    // browser. ApriSito: "open site".
    void ApriSito();
    // Shows the guide; the program wires it to the editor's "Guida".
    std::function<void()> openGuide;
    // One click on the address opens the page once.
    void Label3_Click();
    void Command1_Click();

    // The window and its controls.
    Form window{"Informa"};        // the information window, "Help"
    Control Picture1{"Picture1"};  // the logo, decoration only
    Label Label2{"Label2"};        // what the program does
    Label Label1{"Label1"};        // who made it
    Label Label3{"Label3"};        // the link to the guide; a click opens it
    Control Line1{"Line1"};        // a dividing line, decoration only
    Button Command1{"Command1"};   // "Chiudi": closes the window

private:
    Services& m_services;
};

}  // namespace velora
