// MDI: the main window that hosts one chart window, with Print, Back and Exit.
#pragma once

#include <QMainWindow>

#include "display/chart_window_model.h"
#include "widgets/url_opener.h"

namespace solvane::display {
class ChartWindow;
}

namespace solvane::shell {

// The start-up code builds on the pieces every window shares.
using namespace widgets;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(const display::ChartWindowModel& chart, UrlOpener& opener, QWidget* parent = nullptr);

  display::ChartWindow* Chart() const { return chart_; }

 signals:
  void BackRequested();
  void PrintRequested();
  void ExitRequested();
  void AboutRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  display::ChartWindow* chart_ = nullptr;
};

}  // namespace solvane::shell
