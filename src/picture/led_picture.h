#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include "sign/sign_face.h"

class QPainter;

namespace velora {

// Draws the sign's face as round LEDs: lit dots amber, dark dots a dim glow, on black. Shared by
// the LED view and by velora-cli's pictures, so both show the same sign.
class LedPicture {
public:
    static constexpr QRgb kLit = qRgb(255, 184, 0);
    static constexpr QRgb kDark = qRgb(56, 36, 0);
    static constexpr QRgb kBackground = qRgb(12, 10, 8);

    // Paints `face` centred in `area`, each dot as large as fits; the rest of `area` is black.
    void paint(QPainter& painter, const SignFace& face, const QRect& area);

    // The face as a picture, `pitch` pixels a dot with a margin of one dot around it.
    QImage image(const SignFace& face, int pitch);

    // Pixels per dot when `face` is fitted into `size`.
    static int pitchFor(const SignFace& face, const QSize& size);

private:
    void makeSprites(int pitch);

    int m_pitch = 0;
    QImage m_litDot;
    QImage m_darkDot;
};

}  // namespace velora
