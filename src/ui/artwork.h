#pragma once

#include <QIcon>
#include <QPixmap>

namespace velora {

// The program's own pictures, drawn from the vector images built into the program, so that they
// stay sharp at any scale.

// The icon of every window of the program.
QIcon appIcon();

// The logo of the information window, 242 x 122 device-independent pixels.
QPixmap logoPixmap(qreal devicePixelRatio);
inline constexpr QSize kLogoSize{242, 122};

}  // namespace velora
