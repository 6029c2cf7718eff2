#pragma once

#include <QIcon>
#include <QPixmap>

namespace velora {

// The program's own pictures, drawn from the vector images built into the program, so that they
// stay sharp at any scale.

// The icon of every window of the program.
QIcon appIcon();

// The editor's picture buttons: a page with a plus (insert a page) and a page crossed out
// (delete the page shown). Painted when first drawn, in the program's own style on every desktop.
QIcon insertPageIcon();
QIcon deletePageIcon();

// The logo of the information window, 242 x 122 device-independent pixels.
QPixmap logoPixmap(qreal devicePixelRatio);
inline constexpr QSize kLogoSize{242, 122};

}  // namespace velora
