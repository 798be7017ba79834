#include "shell/app.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>

#include "display/chart_sheet.h"
#include "display/chart_window.h"
#include "report/house_report.h"
#include "report/save_window.h"
#include "run/chart_run.h"
#include "run/engines.h"
#include "shell/about_box.h"
#include "shell/exit_screen.h"
#include "shell/main_window.h"
#include "shell/update_reminder.h"
#include "widgets/windows.h"
#include "zones/suggestion.h"

namespace solvane::shell {
namespace {

constexpr const char* kReminderKey = "Settings/LastReminder";
constexpr qint64 kOwnerlessLockSeconds = 10;
// What a chart asks for, logical pixels; a smaller screen gets less, and the chart scrolls.
constexpr QSize kChartWindowSize(1100, 800);

// The month names of the user's language for the date of birth.
std::string LocaleMonthName(int month) {
  return QLocale().standaloneMonthName(month, QLocale::LongFormat).toStdString();
}

// How the chart's zone was chosen, for the sheet's birth data.
std::string ZoneNote(const entry::BirthFormSnapshot& form) {
  return form.cmbTimeZone == zones::kOtherOffsetIndex ? "an exact offset typed in the form"
                                                      : "chosen from the zone list";
}

}  // namespace

QString DefaultLockPath() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return dir + QStringLiteral("/solvane.lock");
}

App::App(MessageService& messages, UrlOpener& opener, entry::PlaceSearchFactory place_search)
    : messages_(messages), opener_(opener) {
  EnsureResources();
  entry_ = std::make_unique<entry::EntryWindow>(messages_, opener_, std::move(place_search));
  entry_->SetProceedHandler([this](const entry::BirthFormSnapshot& form) { return Proceed(form); });
  connect(entry_.get(), &entry::EntryWindow::AboutRequested, this, &App::ShowAbout);
  connect(entry_.get(), &entry::EntryWindow::ExitRequested, this, &App::ShowExitScreen);
}

App::~App() = default;

bool App::Start(const QString& lock_path, QSettings& settings, const QDateTime& now) {
  lock_ = std::make_unique<QLockFile>(lock_path);
  // A running instance keeps its lock however long it runs; a dead one's lock is taken over.
  lock_->setStaleLockTime(0);
  bool locked = lock_->tryLock(0);
  if (!locked && lock_->error() == QLockFile::LockFailedError &&
      !lock_->getLockInfo(nullptr, nullptr, nullptr)) {
    // A lock file naming no owner is what an instance killed between creating the file and
    // writing its id leaves behind. Once it is older than any start-up takes, take it over.
    const QFileInfo file(lock_path);
    if (file.lastModified().secsTo(now) > kOwnerlessLockSeconds && lock_->removeStaleLockFile())
      locked = lock_->tryLock(0);
  }
  if (!locked) {
    if (lock_->error() == QLockFile::LockFailedError) {
      messages_.Show(nullptr, QStringLiteral("Application is already running"),
                     core::MessageIcon::kInformation);
      return false;
    }
    // The lock cannot be written at all (no such folder, no permission): run without it rather
    // than refuse to start.
  }
  RemindAboutUpdates(settings, now);
  entry_->show();
  return true;
}

void App::RemindAboutUpdates(QSettings& settings, const QDateTime& now) {
  const QDateTime stored =
      settings.status() == QSettings::NoError
          ? QDateTime::fromString(settings.value(QString::fromLatin1(kReminderKey)).toString(),
                                  Qt::ISODate)
          : QDateTime();
  // A missing, unreadable or garbled date counts as the first start: store now, say nothing.
  const std::optional<long> days =
      stored.isValid() ? std::optional<long>(now.date().daysTo(stored.date())) : std::nullopt;
  const bool due = ReminderDue(days);
  if (due) {
    const MessageAnswer answer =
        messages_.Show(nullptr, QString::fromLatin1(kReminderText), core::MessageIcon::kInformation,
                       MessageButtons::kYesNo);
    if (answer == MessageAnswer::kYes) opener_.Open(LinkTarget::DownloadPage);
  }
  if (due || !days) {
    settings.setValue(QString::fromLatin1(kReminderKey), now.toString(Qt::ISODate));
    settings.sync();
  }
}

entry::Verdict App::Proceed(const entry::BirthFormSnapshot& form) {
  return ChartWith(form, display::StoredEngineName());
}

entry::Verdict App::ChartWith(const entry::BirthFormSnapshot& form, const QString& engine_name) {
  // The settings hold a name this program wrote; anything else charts with the classic formulas.
  const bool precise = engine_name == QStringLiteral("precise");
  auto engine = run::EngineNamed(engine_name.toStdString(),
                                 precise ? display::StoredNodeName().toStdString() : "");
  if (!engine) engine = run::EngineNamed("classic");
  display::ChartWindowModel model;
  core::ChartState state;
  if (entry::Verdict charted =
          run::RunChart(form, LocaleMonthName, state, model, run::ReportText::kWrite, **engine);
      !charted)
    return charted;
  state_ = std::move(state);
  charted_form_ = form;
  chart_model_ = model;
  report_text_ = report::PlainText(model.RTBHouseDesc);
  // A fresh main window and chart window for every chart; the old one may be the sender of the
  // request that led here, so it goes once its event is done.
  if (main_) {
    main_->hide();
    main_.release()->deleteLater();
  }
  main_ = std::make_unique<MainWindow>(model, opener_);
  connect(main_.get(), &MainWindow::BackRequested, this, &App::Back);
  connect(main_.get(), &MainWindow::PrintRequested, this, &App::Print);
  connect(main_.get(), &MainWindow::ExitRequested, this, &App::ShowExitScreen);
  connect(main_.get(), &MainWindow::AboutRequested, this, &App::ShowAbout);
  ShowChartViewMenu();
  FitOnScreen(*main_, kChartWindowSize);
  main_->show();
  entry_->hide();
  return {};
}

void App::Recompute(const QString& engine_name) {
  if (const entry::Verdict charted = ChartWith(charted_form_, engine_name); !charted)
    messages_.Show(main_.get(), charted.error().message);
}

void App::ShowChartViewMenu() {
  display::ChartWindow* chart = main_->Chart();
  chart->SetMessageService(messages_);
  // Queued: the request comes from the window that charting again replaces.
  connect(chart, &display::ChartWindow::EngineRequested, this, &App::Recompute,
          Qt::QueuedConnection);
  // After File, before the help menus.
  QMenuBar* bar = main_->menuBar();
  bar->insertMenu(bar->actions().value(1, nullptr), chart->ViewMenu());
}

void App::Back() {
  if (!main_) return;
  main_->hide();
  main_.release()->deleteLater();  // Back is called from the window's own button
  entry_->show();
  entry_->activateWindow();
}

void App::Print() {
  if (!main_) return;
  // Built afresh each time, so it always shows the chart on screen, once.
  report::SaveWindow save(report_text_, messages_, opener_, main_.get());
  // The sheet draws the chart in the style the chart window shows, from copies of the chart: the
  // window may be asked to save after this chart is gone.
  save.SetWriteSheet([state = state_, model = chart_model_, form = charted_form_,
                      style = main_->Chart()->Style(),
                      year = main_->Chart()->YearDays()](const QString& path) {
    const long today = QDate(1970, 1, 1).daysTo(QDate::currentDate());
    const display::SheetInput input{{state, model, form, {year, today}, ZoneNote(form)}, style};
    return display::WriteChartSheetPdf(path.toStdString(), input);
  });
  save.exec();
}

void App::ShowAbout() {
  QWidget* parent = main_ && main_->isVisible() ? static_cast<QWidget*>(main_.get()) : entry_.get();
  AboutBox about(opener_, parent);
  about.exec();
}

void App::ShowExitScreen() {
  if (!exit_) {
    exit_ = std::make_unique<ExitScreen>(opener_);
    connect(exit_.get(), &ExitScreen::Closed, this, [this] {
      if (main_) main_->hide();
      entry_->hide();
      emit Finished();
    });
  }
  exit_->show();
  exit_->raise();
  exit_->activateWindow();
}

}  // namespace solvane::shell
