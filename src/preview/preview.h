#pragma once

#include <string>

#include "core/controls.h"
#include "editor/editor_window.h"

namespace velora {

// Plays the stored sequence in the editor's own fields with the sign's timing: fixed rows at once,
// scrolling rows one character every 0.2 s, info rows with the current date and time, and a grey
// blank field between pages. Holds the program until the last page has been played, or until the
// user stops it: "Anteprima" pressed again (or Escape, which the window turns into that press), or
// the window closed, which is asked about once the preview has ended.
class Preview {
public:
    explicit Preview(EditorWindow& editor);

    // "Anteprima" (preview): plays every stored page in the editor's fields, then restores them;
    // pressed during the preview, stops it.
    void Anteprima_Click();
    // The grey field shown between pages.
    void ShowPreviewBlank();
    // Shows page PreviewPage the way the sign would.
    void ShowPreviewPage();

    // Seconds a page of this pause stays after it has been shown: half the pause, at least 1 s for
    // pause 1, nothing for pause 0.
    static double pauseSeconds(int pause);

    // Seconds page `slot` takes in the preview: its scrolling row run through, then its pause.
    static double pageSeconds(const Modulo1& state, int slot);

    static constexpr int kWindowChars = 18;     // characters a scrolling step shows
    static constexpr double kScrollStep = 0.2;  // seconds a scrolling step lasts
    static constexpr int kRow2Trail = 7;        // blanks that run row 2 out of the display
    static constexpr int kRow1Trail = 11;       // ... row 1 and the big row

private:
    void scroll(const std::string& text, TextBox& field);
    void closePreview();
    // Waits `seconds`; false when the user stopped the preview meanwhile.
    bool hold(double seconds);

    EditorWindow& m_editor;
    Modulo1& m_state;
    Services& m_services;
    bool m_stopRequested = false;
    bool m_closeRequested = false;  // the window was closed during the preview
};

}  // namespace velora
