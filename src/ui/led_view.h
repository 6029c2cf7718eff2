#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QTimer>
#include <QWidget>

#include "core/clock.h"
#include "led_picture.h"
#include "protocol/page_record.h"
#include "sign/sign_face.h"

namespace velora {

// The sign's face drawn in LED dots, from the record of one page as the sign receives it.
// Fixed pages are drawn once; a scrolling row is redrawn once a step, an info row once a minute,
// so a view at rest costs nothing. Screen readers hear what the sign shows, in words.
class LedView : public QWidget {
    Q_OBJECT

public:
    explicit LedView(Clock& clock, QWidget* parent = nullptr);

    // Shows the page of `record`; a page different from the one shown starts from its first
    // step. A record that does not read as a page darkens the sign.
    void showRecord(const std::vector<std::uint8_t>& record, ScrollEnd end = ScrollEnd::Repeat);
    void showPage(const SignPage& page, ScrollEnd end = ScrollEnd::Repeat);
    // Shows the page again from its first step.
    void replay();
    // All dots dark, as between two pages.
    void showDark(int rowChars);

    const std::optional<SignPage>& page() const { return m_page; }
    // The face as it is drawn now; its `missing` lists the indices drawn as empty cells.
    const SignFace& face() const { return m_face; }
    // Whether a change of the face is planned: a scrolling step, or the minute of a clock row.
    bool changeScheduled() const { return m_next.isActive(); }
    // Frames drawn so far: a measure of the view's work.
    long framesPainted() const { return m_framesPainted; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void start(std::optional<SignPage> page, ScrollEnd end, int rowChars);
    // Lights the dots for the present moment and plans the next change.
    void refresh();
    int pitch() const;

    Clock& m_clock;
    std::optional<SignPage> m_page;
    ScrollEnd m_end = ScrollEnd::Repeat;
    int m_rowChars = 0;
    double m_shownAt = 0;
    SignFace m_face;
    QTimer m_next;
    LedPicture m_picture;
    long m_framesPainted = 0;
    // Pixels a dot takes when the view has room: the view asks for the face at this size.
    static constexpr int kPreferredPitch = 4;
};

}  // namespace velora
