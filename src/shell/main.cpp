// solvane: the desktop program.
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QSettings>
#include <QTimer>
#include <cstdio>

#include "display/chart_window.h"
#include "entry/entry_window.h"
#include "entry/place_finder.h"
#include "entry/sample.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"

namespace {

// Reports when `target` is first painted, for the start-up and chart timings of the benchmarks.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget* target, const char* what, QElapsedTimer& clock, bool quit)
      : what_(what), clock_(clock), quit_(quit) {
    target->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_) {
      done_ = true;
      std::printf("%s %.1f ms\n", what_, clock_.nsecsElapsed() / 1e6);
      std::fflush(stdout);
      if (quit_) QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  const char* what_;
  QElapsedTimer& clock_;
  bool quit_;
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Solvane"));
  QApplication::setOrganizationName(QStringLiteral("Solvane"));
  QApplication::setApplicationVersion(QStringLiteral(SOLVANE_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("app.solvane.Solvane"));
  solvane::widgets::EnsureResources();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/solvane.svg")));

  solvane::widgets::QtMessageService messages;
  solvane::widgets::DesktopUrlOpener opener;
  solvane::shell::App solvane_app(messages, opener, [&opener] {
    return std::make_unique<solvane::entry::AtlasPlaceSearch>(nullptr, opener);
  });
  // exit(), not quit(): quit() would first ask every window to close, and they answer that
  // with the exit screen.
  QObject::connect(&solvane_app, &solvane::shell::App::Finished, [] { QCoreApplication::exit(0); });

  // Timing aids for the benchmarks: the first paint of the entry form, or of a chart.
  const QStringList args = QApplication::arguments();
  const bool time_start = args.contains(QStringLiteral("--time-first-paint"));
  const bool time_chart = args.contains(QStringLiteral("--time-chart"));

  QSettings settings;
  if (!solvane_app.Start(solvane::shell::DefaultLockPath(), settings, QDateTime::currentDateTime()))
    return 0;

  std::unique_ptr<FirstPaint> probe;
  if (time_start)
    probe = std::make_unique<FirstPaint>(solvane_app.Entry(), "entry form", clock, true);
  if (time_chart) {
    QTimer::singleShot(0, [&] {
      solvane_app.Entry()->FillForm(solvane::entry::SampleBirth());
      clock.restart();
      solvane_app.Entry()->Proceed();
      if (solvane_app.Main())
        probe = std::make_unique<FirstPaint>(solvane_app.Main()->Chart(), "chart", clock, true);
    });
  }
  return app.exec();
}
