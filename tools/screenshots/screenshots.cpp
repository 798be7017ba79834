// Pictures of the entry form and of a chart for the README, each window at the size the program
// opens it on a given screen. Usage: solvane_screenshots OUTPUT_FOLDER SUFFIX [WIDTHxHEIGHT]
//
// Without a display (QT_QPA_PLATFORM=offscreen) the screen is made up: WIDTHxHEIGHT device
// pixels, by default a 1920 x 1080 screen at the scale QT_SCALE_FACTOR asks for. Run at scale 1
// without a size, it also pictures the chart on a 1366 x 768 screen (SUFFIX "-1366x768").
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "entry/entry_window.h"
#include "display/chart_window.h"
#include "entry/sample.h"
#include "screenshots/chart_shots.h"
#include "screenshots/entry_shots.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "store/births_store.h"
#include "store/person_list_window.h"

namespace {

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;  // logical pixels
constexpr const char* kSmallScreen = "1366x768";          // device pixels, at scale 1

class SilentMessages final : public solvane::widgets::MessageService {
 public:
  solvane::widgets::MessageAnswer Show(QWidget*, const QString&, solvane::core::MessageIcon,
                                       solvane::widgets::MessageButtons) override {
    return solvane::widgets::MessageAnswer::kNo;
  }
};

class NoBrowser final : public solvane::widgets::UrlOpener {
 public:
  void Open(const QString&) override {}
};

bool Save(QWidget* window, const QString& path) {
  const bool saved = window->grab().save(path);
  std::printf("%s %s (window %d x %d)\n", saved ? "wrote" : "could not write", qPrintable(path),
              window->width(), window->height());
  return saved;
}

// Before the application starts: an offscreen screen of `size` ("WIDTHxHEIGHT" device pixels),
// described in a file the offscreen platform reads. Elsewhere the real screen is used.
void MakeUpScreen(const std::string& size, const QTemporaryDir& scratch) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!platform || std::strcmp(platform, "offscreen") != 0) return;
  int width = 0, height = 0;
  if (std::sscanf(size.c_str(), "%dx%d", &width, &height) != 2) return;
  const std::string config = scratch.filePath(QStringLiteral("screen.json")).toStdString();
  if (FILE* file = std::fopen(config.c_str(), "w")) {
    std::fprintf(file,
                 "{\"screens\": [{\"name\": \"made-up\", \"x\": 0, \"y\": 0, \"width\": %d, "
                 "\"height\": %d, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n",
                 width, height);
    std::fclose(file);
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
  }
}

std::string DefaultScreen() {
  const char* scale_text = std::getenv("QT_SCALE_FACTOR");
  const double scale = scale_text ? std::atof(scale_text) : 1;
  const double factor = scale > 0 ? scale : 1;
  return std::to_string(static_cast<int>(kScreenWidth * factor)) + 'x' +
         std::to_string(static_cast<int>(kScreenHeight * factor));
}

// A few births in every script, as a family's list might hold them.
solvane::store::BirthRecord Birth(const char* name, int year, int month, int day, int hour,
                                  const char* city, const char* country, int zone) {
  solvane::store::BirthRecord record;
  record.name = name;
  record.year = year, record.month = month, record.day = day, record.hour = hour;
  record.zone_index = zone;
  record.longitude_deg = 77, record.longitude_min = 13, record.latitude_deg = 28;
  record.latitude_min = 36;
  record.city = city, record.country = country;
  return record;
}

class NoPrompt final : public solvane::store::TextPrompt {
 public:
  std::optional<QString> Ask(QWidget*, const QString&, const QString&, bool) override {
    return std::nullopt;
  }
};

// The person list with a handful of births, searched for nothing.
bool PicturePersonList(const QString& folder, const QString& suffix, const QTemporaryDir& scratch,
                       solvane::widgets::MessageService& messages) {
  auto store = solvane::store::Store::Open(scratch.filePath("births.sqlite").toStdString());
  if (!store) return false;
  for (const auto& record : {Birth("ASHA RAO", 1980, 8, 15, 6, "New Delhi", "India", 34),
                             Birth("JOSÉ NÚÑEZ", 1975, 3, 2, 14, "Madrid", "Spain", 20),
                             Birth("ZOË O'BRIEN", 1991, 11, 23, 9, "Dublin", "Ireland", 29),
                             Birth("राम शर्मा", 1962, 1, 26, 5, "Varanasi", "India", 34),
                             Birth("MARY-ANN LEE", 2003, 7, 4, 18, "Boston", "United States", 27)})
    if (!store->Save(record)) return false;
  NoPrompt prompt;
  solvane::store::PersonListWindow list(*store, messages, prompt);
  list.show();
  QCoreApplication::processEvents();
  return Save(&list, folder + "/person-list" + suffix + ".png");
}

// The chart on a small laptop screen, from a run of this program of its own.
int PictureSmallScreen(const char* self, const QString& folder) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QProcess run;
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::ForwardedChannels);
  run.start(QString::fromLocal8Bit(self),
            {folder, QStringLiteral("-") + QString::fromLatin1(kSmallScreen),
             QString::fromLatin1(kSmallScreen)});
  return run.waitForFinished(120000) && run.exitStatus() == QProcess::NormalExit ? run.exitCode()
                                                                                 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: solvane_screenshots OUTPUT_FOLDER SUFFIX [WIDTHxHEIGHT]\n");
    return 2;
  }
  QTemporaryDir scratch;
  const bool own_screen = argc > 3;
  MakeUpScreen(own_screen ? argv[3] : DefaultScreen(), scratch);
  QApplication app(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString suffix = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(folder);
  QSettings settings(scratch.filePath("settings.ini"), QSettings::IniFormat);
  SilentMessages messages;
  NoBrowser browser;
  solvane::shell::App solvane_app(messages, browser, [] { return nullptr; });
  if (!solvane_app.Start(scratch.filePath("lock"), settings, QDateTime::currentDateTime()))
    return 1;

  int failures = 0;
  QTimer::singleShot(100, [&] {
    auto* entry = solvane_app.Entry();
    entry->FillForm(solvane::entry::SampleBirth());
    if (!own_screen) {
      failures += !Save(entry, folder + "/entry-form" + suffix + ".png");
      failures += !PicturePersonList(folder, suffix, scratch, messages);
      solvane::screenshots::ShootChartStyles(folder, suffix);
      solvane::screenshots::ShootEntryMoment(folder, suffix);
    }
    entry->Proceed();
    QTimer::singleShot(200, [&] {
      failures += !Save(solvane_app.Main(), folder + "/chart" + suffix + ".png");
      if (!own_screen) {  // the nakshatras and periods tab, the wheel scrolled out of the way
        auto* chart = solvane_app.Main()->Chart();
        chart->Tabs()->setCurrentIndex(1);
        for (QScrollArea* area : solvane_app.Main()->findChildren<QScrollArea*>())
          if (area->widget() && area->widget()->isAncestorOf(chart->Tabs()))
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
        failures += !Save(solvane_app.Main(), folder + "/chart-periods" + suffix + ".png");
      }
      QCoreApplication::exit(0);  // quit() would ask the windows to close: the exit screen
    });
  });
  app.exec();
  const bool at_scale_one = !std::getenv("QT_SCALE_FACTOR");
  if (!own_screen && at_scale_one) failures += PictureSmallScreen(argv[0], folder) != 0;
  return failures == 0 ? 0 : 1;
}
