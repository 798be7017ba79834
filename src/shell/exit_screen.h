// The screen shown as the program is left: thanks, the maker's other programs, and a way to tell a
// friend about Solvane.
#pragma once

#include <QWidget>

#include "widgets/url_opener.h"

class QCloseEvent;
class QKeyEvent;
class QShowEvent;

namespace solvane::shell {

// The start-up code builds on the pieces every window shares.
using namespace widgets;

// A modeless top-level window. It never ends the program itself: whoever shows it connects
// Closed() to whatever leaving the program means there.
class ExitScreen : public QWidget {
  Q_OBJECT
 public:
  explicit ExitScreen(UrlOpener& opener, QWidget* parent = nullptr);

 signals:
  // Once per showing, however the screen was closed: its button, the window frame or Escape.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Recommend();

  UrlOpener& opener_;
  bool closed_ = false;
};

}  // namespace solvane::shell
