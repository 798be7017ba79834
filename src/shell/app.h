// The desktop program as a whole: start-up, the entry form, a chart in the main window, Back,
// Print and Exit. One App owns the chart state and every window.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>

#include "core/chart_state.h"
#include "display/chart_window_model.h"
#include "entry/entry_window.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"

class QLockFile;
class QSettings;

namespace solvane::shell {

// The start-up code builds on the pieces every window shares.
using namespace widgets;

class AboutBox;
class ExitScreen;
class MainWindow;

class App : public QObject {
  Q_OBJECT
 public:
  App(MessageService& messages, UrlOpener& opener, entry::PlaceSearchFactory place_search);
  ~App() override;

  // Start-up in order: refuse a second instance (holding `lock_path` while running; a lock left by
  // a crashed instance is taken over), remind about updates at most once in 14 days (the date in
  // `settings`, group "Settings"), then show the entry form. False when another instance runs:
  // the user has been told and the program should end.
  bool Start(const QString& lock_path, QSettings& settings, const QDateTime& now);

  entry::EntryWindow* Entry() const { return entry_.get(); }
  MainWindow* Main() const { return main_.get(); }
  ExitScreen* Exit() const { return exit_.get(); }
  const core::ChartState& State() const { return state_; }

 signals:
  // The exit screen was closed: every window is gone and the program should end.
  void Finished();

 public slots:
  void Back();
  void Print();
  void ShowExitScreen();
  void ShowAbout();

 private:
  entry::Verdict Proceed(const entry::BirthFormSnapshot& form);
  // Charts `form` with the engine of that name into a fresh main window; a refusal leaves the
  // state and the windows as they were.
  entry::Verdict ChartWith(const entry::BirthFormSnapshot& form, const QString& engine_name);
  // The chart window asked for the same birth with another engine.
  void Recompute(const QString& engine_name);
  void RemindAboutUpdates(QSettings& settings, const QDateTime& now);
  void ShowChartViewMenu();

  MessageService& messages_;
  UrlOpener& opener_;
  core::ChartState state_;
  entry::BirthFormSnapshot charted_form_;  // the birth the main window shows
  display::ChartWindowModel chart_model_;  // its texts, for the PDF sheet
  std::string report_text_;  // the chart's report as plain text, for the copy that is printed
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<entry::EntryWindow> entry_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<ExitScreen> exit_;
};

// Where the single-instance lock lives for this user.
QString DefaultLockPath();

}  // namespace solvane::shell
