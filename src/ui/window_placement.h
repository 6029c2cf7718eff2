#pragma once

class QWidget;

namespace velora {

// Every time `window` is shown it opens over `owner`: transient for it, so the desktop keeps it
// above the owner, centred on the owner, and no larger than the screen it opens on. The owner
// must outlive the window.
void placeOver(QWidget* window, QWidget* owner);

}  // namespace velora
