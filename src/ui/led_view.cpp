#include "led_view.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "sign/sign_text.h"

namespace velora {
LedView::LedView(Clock& clock, QWidget* parent) : QWidget(parent), m_clock(clock) {
    setObjectName(QStringLiteral("LedView"));
    setAccessibleName(QStringLiteral("Insegna"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_next.setSingleShot(true);
    m_next.setTimerType(Qt::PreciseTimer);
    connect(&m_next, &QTimer::timeout, this, &LedView::refresh);
    showDark(0);
}

void LedView::showRecord(const std::vector<std::uint8_t>& record, ScrollEnd end) {
    std::optional<DecodedRecord> decoded = decodePageRecord(record);
    if (decoded)
        showPage(decoded->page, end);
    else
        showDark(record.size() > 3 ? record[3] : 0);
}

void LedView::showPage(const SignPage& page, ScrollEnd end) {
    if (m_page == page && m_end == end) return;
    start(page, end, page.rowChars);
}

void LedView::replay() {
    m_shownAt = m_clock.monotonicSeconds();
    refresh();
}

void LedView::showDark(int rowChars) {
    if (!m_page && m_rowChars == rowChars && !m_face.dots.empty()) return;
    start(std::nullopt, ScrollEnd::Repeat, rowChars);
}

void LedView::start(std::optional<SignPage> page, ScrollEnd end, int rowChars) {
    m_page = std::move(page);
    m_end = end;
    m_rowChars = rowChars;
    m_shownAt = m_clock.monotonicSeconds();
    refresh();
}

void LedView::refresh() {
    m_next.stop();
    const DateTime now = m_clock.now();
    if (!m_page) {
        const QString off = QStringLiteral("Insegna spenta.");
        if (accessibleDescription() != off) setAccessibleDescription(off);
        SignPage dark;
        dark.rowChars = static_cast<std::uint8_t>(std::clamp(m_rowChars, 0, 255));
        const int width = m_face.width;
        m_face = renderSignFace(dark, 0, now);
        if (m_face.width != width) updateGeometry();
        update();
        return;
    }
    const double elapsed = m_clock.monotonicSeconds() - m_shownAt;
    const bool showsClock =
        m_page->row1.show == RowShow::Info || m_page->row2.show == RowShow::Info;
    // The words follow the page, and the clock row's minute.
    const QString description = QString::fromStdString(describeSignPage(*m_page, now));
    if (accessibleDescription() != description) setAccessibleDescription(description);
    SignFace face = renderSignFace(*m_page, elapsed, now, m_end);
    if (face.width != m_face.width) {
        m_face = std::move(face);
        updateGeometry();
        update();
    } else if (face.dots != m_face.dots) {
        m_face = std::move(face);
        update();
    }

    // Plan the next change: the next scrolling step while the row runs, else the next minute
    // of a clock row; nothing at all for a page that stands still.
    double wait = -1;
    const int steps = scrollSteps(*m_page);
    if (steps > 0 && (m_end == ScrollEnd::Repeat || elapsed < steps * kScrollStepSeconds)) {
        const double step = std::floor(elapsed / kScrollStepSeconds + 1e-9) + 1;
        wait = step * kScrollStepSeconds - elapsed;
    } else if (showsClock) {
        wait = 60.0 - now.second;
    }
    if (wait >= 0) m_next.start(std::max(1, static_cast<int>(std::ceil(wait * 1000))));
}

int LedView::pitch() const {
    // The height sets the size of a dot, so that a narrower sign is drawn narrower; only a view
    // too narrow for the face makes the dots smaller.
    const int byHeight = height() / (kFaceHeight + 2);
    const int byWidth = width() / (std::max(m_face.width, kCellWidth) + 2);
    return std::max(1, std::min(byHeight, byWidth));
}

QSize LedView::sizeHint() const {
    const int width = m_face.width > 0 ? m_face.width : kWidestSignChars * kCellWidth;
    return {(width + 2) * kPreferredPitch, (kFaceHeight + 2) * kPreferredPitch};
}

QSize LedView::minimumSizeHint() const {
    const QSize preferred = sizeHint();
    return {preferred.width() / 2, preferred.height()};
}

void LedView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int dot = pitch();
    const QSize faceSize((m_face.width + 2) * dot, (m_face.height + 2) * dot);
    // The face keeps its left edge where a sign of any width starts.
    const QRect area(QPoint(0, (height() - faceSize.height()) / 2), faceSize);
    m_picture.paint(painter, m_face, area);
    ++m_framesPainted;
}

}  // namespace velora
