#pragma once

#include <functional>

class QWidget;

namespace velora {

// Runs `action` once, from the event loop, after `window` has been painted for the first time:
// for work the user need not wait for before the window appears.
void afterFirstPaint(QWidget& window, std::function<void()> action);

}  // namespace velora
