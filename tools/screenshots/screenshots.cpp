// Pictures of the entry form and of a chart for the README: run it once at scale 1 and once with
// QT_SCALE_FACTOR=2. Usage: solvane_screenshots OUTPUT_FOLDER SUFFIX
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "entry/sample.h"
#include "entry/entry_window.h"
#include "shell/app.h"
#include "shell/main_window.h"

namespace {

class SilentMessages final : public solvane::shell::MessageService {
 public:
  solvane::shell::MessageAnswer Show(QWidget*, const QString&, solvane::core::MessageIcon,
                                     solvane::shell::MessageButtons) override {
    return solvane::shell::MessageAnswer::kNo;
  }
};

class NoBrowser final : public solvane::shell::UrlOpener {
 public:
  void Open(const QString&) override {}
};

bool Save(QWidget* window, const QString& path) {
  const bool saved = window->grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: solvane_screenshots OUTPUT_FOLDER SUFFIX\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString suffix = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(folder);
  QTemporaryDir scratch;
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
    entry->adjustSize();
    failures += !Save(entry, folder + "/entry-form" + suffix + ".png");
    entry->Proceed();
    solvane_app.Main()->resize(1120, 820);
    QTimer::singleShot(200, [&] {
      failures += !Save(solvane_app.Main(), folder + "/chart" + suffix + ".png");
      QCoreApplication::exit(0);  // quit() would ask the windows to close: the exit screen
    });
  });
  app.exec();
  return failures == 0 ? 0 : 1;
}
