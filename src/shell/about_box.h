// The about box: the program's name, version, purpose and rights, with links to the maker's site.
#pragma once

#include <QDialog>

#include "shell/url_opener.h"

namespace solvane::shell {

// Shown modally over whichever window asked for it; OK or Escape closes it.
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(UrlOpener& opener, QWidget* parent = nullptr);
};

}  // namespace solvane::shell
