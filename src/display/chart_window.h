// frmDisplay: one chart's details, signs, positions, wheel and house report, copied from the model.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "core/result.h"
#include "display/chart_style.h"
#include "display/chart_window_model.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTabWidget;
class QTextEdit;

namespace solvane::display {

class PeriodsView;

// Settings keys of the chart's look: "wheel", "south", "north", "east"; and a bool.
inline constexpr const char* kChartStyleKey = "chart/style";
inline constexpr const char* kChartNavamsaKey = "chart/navamsa";
// The positions engine charts are computed with: "classic" (the default) or "precise".
inline constexpr const char* kChartEngineKey = "chart/engine";
// With the precise engine, the lunar node: "mean" (the default) or "true".
inline constexpr const char* kChartNodeKey = "chart/node";
// The Vimshottari year, days: "365.25" (the default), "365.2425" or "360".
inline constexpr const char* kChartYearDaysKey = "chart/year_days";

// The engine the settings ask for, "classic" or "precise"; "classic" for anything else.
QString StoredEngineName();
// The node the settings ask for the precise engine, "mean" or "true"; "mean" for anything else.
QString StoredNodeName();
// The Vimshottari year the settings ask for, days; 365.25 for anything else.
double StoredYearDays();

// Asks where to save the chart as a picture; an empty path when the user cancels. The window
// asks with a file dialog unless a test puts another in its place.
using PicturePathAsker = std::function<QString(QWidget* parent)>;

class ChartWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the window in its design state and shows `model` in it; the report box is filled before
  // the window is first shown.
  ChartWindow(const ChartWindowModel& model, widgets::UrlOpener& opener, QWidget* parent = nullptr);

  QTextEdit* ReportBox() const { return report_box_; }
  QTabWidget* Tabs() const { return tabs_; }
  PeriodsView* Periods() const { return periods_; }
  // "&View": the wheel or a square style, the navamsa beside it, the engine, the periods' year,
  // saving a picture. The window owns it; the main window shows it in its menu bar.
  QMenu* ViewMenu() const { return view_menu_; }

  // Where failures of the window's own commands are told; a message box until this is called.
  void SetMessageService(widgets::MessageService& messages) { messages_ = &messages; }
  void SetPicturePathAsker(PicturePathAsker asker) { ask_picture_path_ = std::move(asker); }

  // The square style shown instead of the wheel; none for the wheel. Remembered in the settings.
  std::optional<ChartStyle> Style() const { return style_; }
  void SetStyle(std::optional<ChartStyle> style);
  bool NavamsaBeside() const { return navamsa_; }
  void SetNavamsaBeside(bool beside);
  // The chart shown (the wheel, or the square chart with its navamsa when that is beside) as SVG
  // or PNG by the extension of `path`, PNG at twice the size on screen.
  core::Result<void> SavePicture(const QString& path) const;
  // Asks for a path (through the asker) and saves there; failures go to the message service.
  void AskAndSavePicture();
  // The chart as the square charts and the picture files draw it.
  ChartFigure Figure() const { return figure_; }

  // The engine whose positions the window shows ("classic", "precise"; empty before any chart),
  // and the one chosen in the View menu, remembered in the settings.
  QString ShownEngine() const { return shown_engine_; }
  QString ChosenEngine() const;
  void ChooseEngine(const QString& name);
  // The Vimshottari year the periods tab counts in, days; remembered in the settings.
  double YearDays() const;
  void SetYearDays(double year_days);

 signals:
  // The user chose another engine than the one shown, or (precise engine) another node: chart
  // the same birth again with it.
  void EngineRequested(QString name);

 private:
  QWidget* BuildDetails(const ChartWindowModel& model);
  QWidget* BuildSigns(const ChartWindowModel& model);
  QWidget* BuildPositions(const ChartWindowModel& model);
  QWidget* BuildWheel(const ChartWindowModel& model);
  QWidget* BuildTabs(const ChartWindowModel& model);
  void BuildViewMenu();
  void AddEngineChoice();
  void AddYearChoice();
  void ShowStyle();

  ChartWindowModel model_;  // the wheel's houses, for its picture
  ChartFigure figure_;
  QString shown_engine_;
  std::optional<ChartStyle> style_;
  bool navamsa_ = false;
  PicturePathAsker ask_picture_path_;
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
  QActionGroup* engine_actions_ = nullptr;
  QAction* true_node_action_ = nullptr;
  QActionGroup* year_actions_ = nullptr;
  QLabel* engine_label_ = nullptr;
};

}  // namespace solvane::display
