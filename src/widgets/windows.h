// What every window of the program shares: its title, and opening inside the screen it is on.
#pragma once

#include <QSize>
#include <QString>

#include "core/version.h"

class QLayout;
class QScrollArea;
class QWidget;

namespace solvane::widgets {

inline QString ProgramTitle() {
  return QString::fromUtf8(core::kProgramTitle.data(),
                           static_cast<qsizetype>(core::kProgramTitle.size()));
}

// Room a window manager takes around a window for its frame and title bar, logical pixels. Before
// a window is first shown its real frame is not known, so this much is kept free for it.
inline constexpr int kFrameAllowanceWidth = 16;
inline constexpr int kFrameAllowanceHeight = 48;

// The largest size of `window` that, with its frame, fits the available area of its screen
// (the screen less panels and docks).
QSize RoomOnScreen(const QWidget& window);

// Resizes `window` to `wanted`, shrunk to the room on its screen, and centres it in the
// available area. Content larger than the window is for the window's scroll areas to show.
void FitOnScreen(QWidget& window, QSize wanted);

// `content` in a frameless scroll area that stretches it with the window but never squeezes it
// below its minimum size: a window smaller than its content scrolls instead.
QScrollArea* Scrolling(QWidget* content);

// Lays `window` out as `body` above `buttons`, the body scrolling when the screen is too small for
// it, and sizes the window to show all of it where the screen has room (FitOnScreen). The buttons
// stay in view whatever the size.
void LayOutScrollingBody(QWidget& window, QLayout* body, QLayout* buttons);

}  // namespace solvane::widgets
