// frmDisplay: one chart's details, signs, positions, wheel and house report, copied from the model.
#pragma once

#include <QWidget>

#include "display/chart_window_model.h"
#include "widgets/url_opener.h"

class QTextEdit;

namespace solvane::display {

class ChartWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the window in its design state and shows `model` in it; the report box is filled before
  // the window is first shown.
  ChartWindow(const ChartWindowModel& model, widgets::UrlOpener& opener, QWidget* parent = nullptr);

  QTextEdit* ReportBox() const { return report_box_; }

 private:
  QWidget* BuildDetails(const ChartWindowModel& model);
  QWidget* BuildSigns(const ChartWindowModel& model);
  QWidget* BuildPositions(const ChartWindowModel& model);
  QWidget* BuildWheel(const ChartWindowModel& model);

  QTextEdit* report_box_ = nullptr;
};

}  // namespace solvane::display
