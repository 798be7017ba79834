// The entry form's whole flow, from the place typed to the chart, against the command line: what
// the form charts after "Use" is what `solvane-chart --place` charts for the same birth.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>

#include "core/chart_state.h"
#include "entry/entry_window.h"
#include "entry/place_finder.h"
#include "run/chart_run.h"
#include "shell/fakes.h"
#include "store/births_store.h"

using solvane::entry::BirthFormSnapshot;
using solvane::entry::EntryWindow;
using solvane::testing::RecordingMessages;
using solvane::testing::RecordingOpener;

namespace {

// Both run the same code on the same numbers; only the JSON's printing of doubles may differ.
constexpr double kSameDegrees = 1e-9;

struct CommandLineChart {
  QString failure;  // empty when the program gave a chart
  nlohmann::json chart;
};

CommandLineChart RunCommandLine(const QStringList& arguments) {
  QProcess program;
  program.start(QStringLiteral(SOLVANE_CHART_EXE),
                arguments + QStringList{QStringLiteral("--format"), QStringLiteral("json")});
  if (!program.waitForFinished(60000)) return {QStringLiteral("solvane-chart did not finish"), {}};
  const QByteArray out = program.readAllStandardOutput();
  if (program.exitCode() != 0) return {QString::fromUtf8(program.readAllStandardError()), {}};
  auto parsed = nlohmann::json::parse(out.constData(), nullptr, false);
  if (parsed.is_discarded()) return {QStringLiteral("not JSON: ") + QString::fromUtf8(out), {}};
  return {QString(), std::move(parsed)};
}

}  // namespace

class EntryMomentFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void MumbaiFlowChartsWhatTheCommandLineCharts_data();
  void MumbaiFlowChartsWhatTheCommandLineCharts();

 private:
  RecordingMessages messages_;
  RecordingOpener opener_;
};

// 21 March 1990 is the users' own example (Indian Time); 1 September 1942 was war time (IST
// with one hour of daylight saving); 1 June 1905 was Madras time, UT+5:21:10, an exact offset.
void EntryMomentFlowTest::MumbaiFlowChartsWhatTheCommandLineCharts_data() {
  QTest::addColumn<int>("year");
  QTest::addColumn<int>("month");
  QTest::addColumn<int>("day");
  QTest::addColumn<QString>("zone_shown");
  QTest::newRow("1990-03-21 14:45") << 1990 << 3 << 21 << "Indian Time, IST, +5.3 (";
  QTest::newRow("1942-09-01 14:45") << 1942 << 9 << 1 << "daylight saving (Asia/Kolkata, UT+6:30)";
  QTest::newRow("1905-06-01 14:45") << 1905 << 6 << 1 << "(Asia/Kolkata, UT+5:21:10)";
}

void EntryMomentFlowTest::MumbaiFlowChartsWhatTheCommandLineCharts() {
  QFETCH(int, year);
  QFETCH(int, month);
  QFETCH(int, day);
  QFETCH(QString, zone_shown);
  QTemporaryDir scratch;
  const QString births = scratch.filePath(QStringLiteral("births.sqlite"));
  messages_.shown.clear();
  EntryWindow window(messages_, opener_, [this, &window] {
    return std::make_unique<solvane::entry::AtlasPlaceSearch>(&window, opener_);
  });
  window.SetStorePath(births.toStdString());
  int asked = 0;
  window.SetSuggestionQuestion([&asked](QWidget*, const QString&, bool) {
    ++asked;
    return EntryWindow::SuggestionChoice::kCancel;
  });
  solvane::core::ChartState state;
  solvane::entry::Verdict charted;
  window.SetProceedHandler([&](const BirthFormSnapshot& form) {
    charted = solvane::run::RunChartCalculations(form, state);
    return charted;
  });
  BirthFormSnapshot typed;
  typed.cboYear = year - solvane::entry::kFirstYear;
  typed.cboMonth = month - 1;
  typed.cboDate = day - 1;
  typed.cboHH = 14;
  typed.cboMM = 45;
  window.FillForm(typed);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  // Typed as a user types: name, city, state, country; then the finder, its first match, "Use".
  const auto type = [&window](const char* box, const char* text) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(box));
    edit->setFocus();
    QTest::keyClicks(edit, QString::fromLatin1(text));
  };
  type("txtName", "asha rao");
  type("txtMCity", "Mumbai");
  type("txtMState", "Maharashtra");
  type("txtMCountry", "India");
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdBrowser")), Qt::LeftButton);
  auto* finder = window.findChild<QDialog*>(QStringLiteral("frmFindPlace"));
  QVERIFY(finder);
  QTest::mouseClick(finder->findChild<QPushButton*>(QStringLiteral("cmdUsePlace")), Qt::LeftButton);
  const BirthFormSnapshot filled = window.ReadForm();
  QCOMPARE(filled.txtLonD + "E" + filled.txtLonM, std::string("72E53"));  // GeoNames 72.88261
  QCOMPARE(filled.txtLatD + "N" + filled.txtLatM, std::string("19N4"));   // GeoNames 19.07283
  const QString line = window.findChild<QLabel*>(QStringLiteral("lblZoneSuggestion"))->text();
  QVERIFY2(
      line.startsWith(QStringLiteral("For Mumbai on %1").arg(day)) && line.contains(zone_shown),
      qPrintable(line));
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdUseZone")), Qt::LeftButton);
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdRashi")), Qt::LeftButton);
  QCOMPARE(asked, 0);  // the form holds the suggestion: nothing to ask
  QVERIFY2(charted, charted ? "" : charted.error().message.text.c_str());

  const QString date = QStringLiteral("%1-%2-%3")
                           .arg(year)
                           .arg(month, 2, 10, QChar(u'0'))
                           .arg(day, 2, 10, QChar(u'0'));
  const CommandLineChart cli = RunCommandLine(
      {QStringLiteral("--name"), QStringLiteral("ASHA RAO"), QStringLiteral("--date"), date,
       QStringLiteral("--time"), QStringLiteral("14:45"), QStringLiteral("--place"),
       QStringLiteral("Mumbai, India")});
  QVERIFY2(cli.failure.isEmpty(), qPrintable(cli.failure));
  const nlohmann::json& longitudes = cli.chart.at("Longitudes");
  for (int body = 0; body < solvane::core::kBodyCount; ++body) {
    const std::string name(solvane::core::kBodyNames[body]);
    const double form_deg = state.positions.longitude[body].Degrees();
    const double cli_deg = longitudes.at(name).get<double>();
    QVERIFY2(std::fabs(form_deg - cli_deg) < kSameDegrees,
             qPrintable(QStringLiteral("%1: form %2, command line %3")
                            .arg(QString::fromStdString(name))
                            .arg(form_deg, 0, 'f', 9)
                            .arg(cli_deg, 0, 'f', 9)));
  }
  QCOMPARE(state.AscendantString, cli.chart.at("AscendantString").get<std::string>());

  // Saved from the form, the birth keeps the atlas zone and place it came from.
  window.SaveBirth();
  auto store = solvane::store::Store::Open(births.toStdString());
  QVERIFY(store);
  const auto all = store->All();
  QVERIFY(all && all->size() == 1);
  QCOMPARE(all->front().tz_name, std::string("Asia/Kolkata"));
  QCOMPARE(all->front().place_id, std::string("1275339"));  // GeoNames' Mumbai
  QVERIFY(messages_.shown.empty());
}

QTEST_MAIN(EntryMomentFlowTest)
#include "entry_moment_flow_qtest.moc"
