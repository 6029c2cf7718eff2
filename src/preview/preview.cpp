#include "preview.h"

#include <algorithm>
#include <cmath>

#include "core/fatal_error.h"
#include "core/numbers.h"
#include "protocol/page_layout.h"
#include "sign/page_time.h"

namespace velora {

Preview::Preview(EditorWindow& editor)
    : m_editor(editor), m_state(editor.state()), m_services(editor.services()) {
    // Closing the window stops the preview first; the window's own question comes once the
    // preview has closed.
    m_editor.window.onQueryUnload = [this, editorRule = m_editor.window.onQueryUnload] {
        if (m_state.PreviewRunning == 1) {
            m_stopRequested = true;
            m_closeRequested = true;
            return false;
        }
        return !editorRule || editorRule();
    };
}

bool Preview::hold(double seconds) {
    return m_services.clock.waitUnless(seconds, [this] { return m_stopRequested; });
}

double Preview::pauseSeconds(int pause) {
    // Half the sign's pause in whole seconds: a pause of 3 stays 1 s, not 1.5 s.
    if (pause == 0) return 0;
    return std::max(1.0, std::trunc(signPauseSeconds(pause) / 2));
}

double Preview::pageSeconds(const Modulo1& state, int slot) {
    return scrollSeconds(state, slot) + pauseSeconds(state.PagePause[slot]);
}

void Preview::Anteprima_Click() {
    if (m_state.PreviewRunning == 1) {
        m_stopRequested = true;
        return;
    }
    EditorWindow& e = m_editor;
    bool finished = false;
    m_stopRequested = false;
    m_closeRequested = false;
    trapErrors(m_services, [&] {
        e.Timer1.setEnabled(false);
        m_state.PreviewRunning = 1;
        e.Anteprima.setMousePointer(Button::kHourglass);
        e.saveNotice.setCaption(kPlayingNotice);
        ShowPreviewBlank();
        const int pages = m_state.PageCount;
        m_state.PreviewPage = 1;
        // A stop leaves the page where it stands and goes straight to the closing steps.
        while (m_state.PreviewPage <= pages && !m_stopRequested) {
            e.NumQua.setCaption(decimalText(m_state.PreviewPage));
            ShowPreviewPage();
            if (m_stopRequested || !hold(pauseSeconds(m_state.PagePause[m_state.PreviewPage])))
                break;
            ShowPreviewBlank();
            ++m_state.PreviewPage;
        }
        finished = true;
        closePreview();
    });
    // An error that ended the preview early must not leave the editor frozen in preview state.
    if (!finished) {
        trapErrors(m_services, [&] { closePreview(); });
    }
    m_stopRequested = false;
    if (m_closeRequested) {
        m_closeRequested = false;
        m_editor.window.queryUnload();
    }
}

void Preview::closePreview() {
    EditorWindow& e = m_editor;
    e.Anteprima.setMousePointer(Button::kDefaultPointer);
    e.Timer1.setEnabled(true);
    m_state.PreviewRunning = 0;
    e.Text6.setVisible(false);
    if (e.saveNotice.caption() == kPlayingNotice) e.saveNotice.setCaption({});
    // An empty sequence has no page to come back to: the editor returns to the new-page slot 1,
    // the lowest position the selector has.
    const int last = std::max<int>(m_state.PageCount, e.VScroll1.min());
    if (e.VScroll1.value() == last) {
        e.VScroll1_Change();
    } else {
        e.VScroll1.setValue(last);
    }
}

void Preview::ShowPreviewBlank() {
    EditorWindow& e = m_editor;
    trapErrors(m_services, [&] {
        e.Text1.setVisible(false);
        e.Text2.setVisible(false);
        e.Text3.setVisible(false);
        e.Text6.setVisible(true);
        e.window.setFocus(e.Text6);
    });
}

void Preview::ShowPreviewPage() {
    EditorWindow& e = m_editor;
    trapErrors(m_services, [&] {
        const int k = m_state.PreviewPage;
        const std::string& r1 = m_state.PageText[k][1];
        const std::string& r2 = m_state.PageText[k][2];
        const int c = m_state.RowChars;
        auto show = [&](TextBox& field, const std::string& text) {
            field.setText(text);
            e.window.setFocus(field);
        };
        e.Text6.setVisible(false);
        // The mode buttons tell the page being played: one big row or two rows. A slot never
        // stored has no mode and leaves them as they were.
        if (m_state.PageKind[k] != kNeverStored) {
            const bool big = pageLayout(m_state.PageKind[k]).row1.font == SignFont::Big;
            (big ? e.Option2 : e.Option1).setSelected(true);
        }
        switch (m_state.PageKind[k]) {
            case kTwoFixedRows:
                e.Text1.setMaxLength(c);
                e.Text2.setMaxLength(c);
                e.Text1.setVisible(true);
                e.Text2.setVisible(true);
                show(e.Text1, r1);
                show(e.Text2, r2);
                break;
            case kRow2Scrolling:
                e.Text1.setMaxLength(c);
                e.Text2.setMaxLength(static_cast<int>(r2.size()));
                e.Text1.setVisible(true);
                show(e.Text1, r1);
                scroll(r2 + std::string(kRow2Trail, ' '), e.Text2);
                break;
            case kBigFixed:
                setSignColours(e.Text3, false);
                e.Text3.setMaxLength(bigRowChars(m_state));
                e.Text3.setVisible(true);
                show(e.Text3, r1);
                break;
            case kBigScrolling:
                e.Text3.setMaxLength(static_cast<int>(r1.size()));
                setSignColours(e.Text3, false);
                scroll(r1 + std::string(kRow1Trail, ' '), e.Text3);
                break;
            case kInfoInRow2:
                e.Text1.setMaxLength(c);
                e.Text2.setMaxLength(kInfoTextLength);
                e.Text1.setVisible(true);
                e.Text2.setVisible(true);
                e.window.setFocus(e.Text1);
                e.window.setFocus(e.Text2);
                show(e.Text1, r1);
                show(e.Text2, InfoSampleText(m_services.clock));
                e.Text2.setMaxLength(c);
                break;
            case kInfoInRow1:
                e.Text1.setMaxLength(kInfoTextLength);
                e.Text2.setMaxLength(c);
                e.Text1.setVisible(true);
                e.Text2.setVisible(true);
                show(e.Text1, InfoSampleText(m_services.clock));
                show(e.Text2, r2);
                e.Text1.setMaxLength(c);
                break;
            case kRow1Scrolling:
                e.Text1.setMaxLength(static_cast<int>(r1.size()));
                e.Text2.setMaxLength(c);
                e.Text2.setVisible(true);
                show(e.Text2, r2);
                scroll(r1 + std::string(kRow1Trail, ' '), e.Text1);
                break;
            case kBigFixedInverse:
                e.Text3.setMaxLength(bigRowChars(m_state));
                setSignColours(e.Text3, true);
                e.Text3.setVisible(true);
                show(e.Text3, r1);
                break;
            default:
                // A slot never stored shows nothing for its wait.
                break;
        }
    });
}

void Preview::scroll(const std::string& text, TextBox& field) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        field.setVisible(true);
        const double start = m_services.clock.monotonicSeconds();
        field.setText(text.substr(i, kWindowChars));
        m_editor.window.setFocus(field);
        if (!hold(kScrollStep - (m_services.clock.monotonicSeconds() - start))) return;
        field.setVisible(false);
    }
}

}  // namespace velora
