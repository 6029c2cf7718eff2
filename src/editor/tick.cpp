#include <cstdio>
#include <string>

#include "core/fatal_error.h"
#include "core/windows1252.h"
#include "editor_window.h"

namespace velora {
namespace {

// The name of the file without its folders. Paths from either family of systems may arrive
// here, so both separators count; a path ending in one shows an empty name.
std::string fileNameCaption(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    return windows1252::fromFileName(name);
}

}  // namespace

void EditorWindow::Timer1_Timer() {
    trapErrors(m_services, [&] {
        const DateTime now = m_services.clock.now();
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.hour % 100, now.minute % 100,
                      now.second % 100);
        txtora.setCaption(m_services.clock.longDate(now) + " " + time);

        if (Gra_Inv.value() == 1) {
            // An inverse big row always keeps a pause of one second; a pause chosen otherwise
            // is put back, and the status line says why.
            const bool snapped = Combo1.text() != "1";
            Combo1.setText("1");
            m_state.CurrentPause = 1;
            if (snapped) saveNotice.setCaption(kInverseOneSecond);
        }
        if (Option1.selected()) SetTwoRowMode();
        if (Option2.selected() && (VScroll1.value() > m_state.PageCount || m_state.GapOpened == 1))
            SetNewPageBigRowMode();
        if (Scor1.value() == 1 && Scor2.value() == 0) {
            InfoR1.setEnabled(false);
            Scor2.setEnabled(false);
            InfoR2.setEnabled(false);
        }
        if (Scor2.value() == 1 && Scor1.value() == 0) {
            Scor1.setEnabled(false);
            InfoR1.setEnabled(false);
            InfoR2.setEnabled(false);
        }
        if (m_state.InfoRowState == 1) {
            Scor1.setEnabled(false);
            Scor2.setEnabled(false);
            InfoR1.setEnabled(false);
        }
        if (m_state.InfoRowState == 2) {
            Scor1.setEnabled(false);
            Scor2.setEnabled(false);
            InfoR2.setEnabled(false);
        }

        // The offer to write out what the sign cannot show follows the typing.
        const std::string offer = spellOutOffer();
        spellOut.setCaption(offer);
        spellOut.setVisible(!offer.empty());

        Label7.setCaption(m_state.CurrentFilePath.empty()
                              ? std::string(kNoFileName)
                              : fileNameCaption(m_state.CurrentFilePath));
        showHistory();
    });
}

void EditorWindow::showHistory() {
    const std::string name = m_state.CurrentFilePath.empty()
                                 ? std::string(kNoFileName)
                                 : fileNameCaption(m_state.CurrentFilePath);
    // "[*]" is where the title shows that the sequence has changes not yet saved.
    window.setCaption(name + "[*] - " + kTitle);
    window.setModified(sequenceModified());
    const std::string undo = m_history.undoName();
    const std::string redo = m_history.redoName();
    mnuAnnulla.setCaption(undo.empty() ? "&Annulla" : "&Annulla " + undo);
    mnuAnnulla.setEnabled(!undo.empty());
    mnuRipeti.setCaption(redo.empty() ? "&Ripeti" : "&Ripeti " + redo);
    mnuRipeti.setEnabled(!redo.empty());
}

void EditorWindow::SetNewPageBigRowMode() {
    trapErrors(m_services, [&] {
        showBigRowLayout();
        const bool inverse = Gra_Inv.value() == 1;
        Scor1.setEnabled(!inverse);
        Scor2.setEnabled(!inverse);
        const bool scrolling = Scor1.value() == 1 || Scor2.value() == 1;
        Gra_Inv.setEnabled(!scrolling);
        Command2.setEnabled(!scrolling);
    });
}

}  // namespace velora
