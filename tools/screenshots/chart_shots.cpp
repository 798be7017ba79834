#include "screenshots/chart_shots.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QSettings>
#include <QVariant>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "display/chart_window.h"
#include "entry/sample.h"
#include "run/chart_run.h"
#include "run/engines.h"

namespace solvane::screenshots {
namespace {

class NoBrowser final : public widgets::UrlOpener {
 public:
  void Open(const QString&) override {}
};

// The window changes the chart settings as its styles are chosen: they are the user's, so they
// are put back once the pictures are taken.
class KeptSettings {
 public:
  KeptSettings() {
    for (const char* key : kKeys) kept_.push_back(QSettings().value(QString::fromLatin1(key)));
  }
  ~KeptSettings() {
    QSettings settings;
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
      const QString key = QString::fromLatin1(kKeys[i]);
      if (kept_[i].isValid())
        settings.setValue(key, kept_[i]);
      else
        settings.remove(key);
    }
  }
  KeptSettings(const KeptSettings&) = delete;
  KeptSettings& operator=(const KeptSettings&) = delete;

 private:
  static constexpr const char* kKeys[] = {display::kChartStyleKey, display::kChartNavamsaKey};
  QList<QVariant> kept_;
};

bool SampleModel(std::string_view engine_name, display::ChartWindowModel& model) {
  const auto engine = run::EngineNamed(engine_name);
  if (!engine) return false;
  core::ChartState state;
  return run::RunChart(entry::SampleBirth(), display::EnglishMonthName, state, model,
                       run::ReportText::kWrite, **engine)
      .has_value();
}

void Save(display::ChartWindow& window, const QString& path) {
  window.adjustSize();
  QCoreApplication::processEvents();
  const bool saved = window.grab().save(path);
  std::printf("%s %s (window %d x %d)\n", saved ? "wrote" : "could not write", qPrintable(path),
              window.width(), window.height());
}

}  // namespace

void ShootChartStyles(const QString& folder, const QString& suffix) {
  const KeptSettings kept;
  NoBrowser browser;
  display::ChartWindowModel classic;
  if (!SampleModel("classic", classic)) {
    std::fprintf(stderr, "the sample birth was refused: no chart pictures\n");
    return;
  }
  {
    display::ChartWindow window(classic, browser);
    window.SetNavamsaBeside(true);
    window.show();
    for (const display::ChartStyle style : display::kChartStyles) {
      window.SetStyle(style);
      const std::string_view name_text = display::ChartStyleName(style);
      const QString name =
          QString::fromUtf8(name_text.data(), static_cast<qsizetype>(name_text.size()));
      Save(window, folder + QStringLiteral("/chart-") + name + suffix + ".png");
    }
  }
  display::ChartWindowModel precise;
  if (!SampleModel("precise", precise)) {
    std::fprintf(stderr, "the precise engine refused the sample birth: no picture of it\n");
    return;
  }
  display::ChartWindow window(precise, browser);
  window.SetStyle(std::nullopt);
  window.show();
  Save(window, folder + QStringLiteral("/chart-precise") + suffix + ".png");
}

}  // namespace solvane::screenshots
