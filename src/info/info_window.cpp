#include "info_window.h"

#include <string>

namespace velora {

InfoWindow::InfoWindow(Services& services) : m_services(services) {
    window.setCaption("Help");
    Picture1.setToolTip("Velora");
    // The run of blanks puts the second sentence on a line of its own in the label's width.
    Label2.setCaption("Doppia Riga per scritte Fisse e Scorrevoli..." + std::string(41, ' ') +
                      "Esempi e consigli sul sito:");
    Label1.setCaption("Realizzato dagli sviluppatori del progetto Velora");
    Label3.setCaption(kGuideLink);
    Label3.setToolTip("Apre la guida del programma");
    Command1.setCaption("Chiudi");
    Command1.onClick = [this] { Command1_Click(); };
}

void InfoWindow::ApriSito() {
    if (openGuide) openGuide();
}

void InfoWindow::Label3_Click() {
    ApriSito();
}

void InfoWindow::Command1_Click() {
    window.unload();
}

}  // namespace velora
