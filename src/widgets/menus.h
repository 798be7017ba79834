// The Help menu and the "Make Money Online" entry, the same on the entry form and the main window.
#pragma once

#include <functional>

#include "widgets/url_opener.h"

class QMenuBar;

namespace solvane::widgets {

// Appends "&Help" (online help, visit us, check for update, about, donate) and "Make Money
// &Online" to `bar`. The main window names its two separators mnuSep1 and mnuSep2, the entry form
// mnuHelp1 and mnuHelp2.
void AddHelpMenus(QMenuBar* bar, UrlOpener& opener, const std::function<void()>& show_about,
                  bool main_window_separators);

}  // namespace solvane::widgets
