// The application's style: the one Qt chooses, except that the icons a window makes at start but
// seldom shows (the menu bar's arrow for items that do not fit) are made only when first drawn.
// Making them loads every image-format plugin Qt has, which costs the start more than anything
// the window shows at first.
#pragma once

namespace kiryuza::window {

// Wraps the application's style; call it once, after the QApplication is made and before any
// window.
void deferSeldomShownIcons();

}  // namespace kiryuza::window
