#pragma once

#include <string>

#include "core/controls.h"
#include "editor/editor_window.h"
#include "sign/sign_face.h"

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

    // Seconds the preview keeps a page of this pause after it has been shown: half of what the
    // sign keeps it, in whole seconds and at least one, and no wait at all for a pause of 0.
    static double pauseSeconds(int pause);

    // Seconds page `slot` takes in the preview: its scrolling row run through, as on the sign,
    // then its halved pause.
    static double pageSeconds(const Modulo1& state, int slot);

    // While the preview plays, the status line says that its pauses are shorter than the sign's.
    static constexpr const char* kPlayingNotice = "Anteprima veloce: pause dimezzate";

    static constexpr int kWindowChars = 18;                    // characters a scrolling step shows
    static constexpr double kScrollStep = kScrollStepSeconds;  // seconds a scrolling step lasts
    static constexpr int kRow2Trail = kRow2RunOut;  // blanks that run row 2 out of the display
    static constexpr int kRow1Trail = kRow1RunOut;  // ... row 1 and the big row

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
