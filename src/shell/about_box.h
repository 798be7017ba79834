// The about box: the program's name, version, purpose and rights, with links to the maker's site.
#pragma once

#include <QDialog>

#include "widgets/url_opener.h"

namespace solvane::shell {

// The start-up code builds on the pieces every window shares.
using namespace widgets;

// Shown modally over whichever window asked for it; OK or Escape closes it.
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(UrlOpener& opener, QWidget* parent = nullptr);
};

}  // namespace solvane::shell
