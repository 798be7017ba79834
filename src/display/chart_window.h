// frmDisplay: one chart's details, signs, positions, wheel and house report, copied from the model.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "core/result.h"
#include "display/chart_style.h"
#include "display/chart_window_model.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"

class QAction;
class QActionGroup;
class QMenu;
class QTabWidget;
class QTextEdit;

namespace solvane::display {

class PeriodsView;

// Settings keys of the chart's look: "wheel", "south", "north", "east"; and a bool.
inline constexpr const char* kChartStyleKey = "chart/style";
inline constexpr const char* kChartNavamsaKey = "chart/navamsa";

class ChartWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the window in its design state and shows `model` in it; the report box is filled before
  // the window is first shown.
  ChartWindow(const ChartWindowModel& model, widgets::UrlOpener& opener, QWidget* parent = nullptr);

  QTextEdit* ReportBox() const { return report_box_; }
  QTabWidget* Tabs() const { return tabs_; }
  PeriodsView* Periods() const { return periods_; }
  // "&View": the wheel or a square style, the navamsa beside it, saving a picture. The window
  // owns it; the main window shows it in its menu bar.
  QMenu* ViewMenu() const { return view_menu_; }

  // Where failures of the window's own commands are told; a message box until this is called.
  void SetMessageService(widgets::MessageService& messages) { messages_ = &messages; }

  // The square style shown instead of the wheel; none for the wheel. Remembered in the settings.
  std::optional<ChartStyle> Style() const { return style_; }
  void SetStyle(std::optional<ChartStyle> style);
  bool NavamsaBeside() const { return navamsa_; }
  void SetNavamsaBeside(bool beside);
  // The square chart (with its navamsa when that is beside) as SVG or PNG by the extension of
  // `path`. Fails while the wheel is shown: the wheel is not drawn by the picture code.
  core::Result<void> SavePicture(const QString& path) const;
  // The chart as the square charts and the picture files draw it.
  ChartFigure Figure() const { return figure_; }

 private:
  QWidget* BuildDetails(const ChartWindowModel& model);
  QWidget* BuildSigns(const ChartWindowModel& model);
  QWidget* BuildPositions(const ChartWindowModel& model);
  QWidget* BuildWheel(const ChartWindowModel& model);
  QWidget* BuildTabs(const ChartWindowModel& model);
  void BuildViewMenu();
  void ShowStyle();
  void AskAndSavePicture();

  ChartFigure figure_;
  std::optional<ChartStyle> style_;
  bool navamsa_ = false;
  widgets::MessageService* messages_ = nullptr;
  std::unique_ptr<widgets::MessageService> own_messages_;
  QTextEdit* report_box_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  PeriodsView* periods_ = nullptr;
  QWidget* wheel_ = nullptr;
  QWidget* square_ = nullptr;
  QMenu* view_menu_ = nullptr;
  QActionGroup* style_actions_ = nullptr;
  QAction* navamsa_action_ = nullptr;
  QAction* save_action_ = nullptr;
};

}  // namespace solvane::display
