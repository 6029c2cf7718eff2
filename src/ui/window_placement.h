#pragma once

class QWidget;

namespace velora {

// Every time `window` is shown it opens centred on `owner` and no wider than the screen it opens
// on. A window made with its owner as parent and the Qt::Dialog type is also kept above it by the
// desktop (X11 marks only such windows transient for their owner).
void placeOver(QWidget* window, QWidget* owner);

// Moves `window`, frame included, into the available area of its screen after it has grown,
// and lets it grow no taller than that area.
void keepOnScreen(QWidget* window);

}  // namespace velora
