// The chart window's own choices: saving the chart shown as a picture through the path seam, the
// positions engine and the Vimshottari year, each remembered for the next window.
#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include "display/chart_style_painter.h"
#include "display/chart_window.h"
#include "display/periods_view.h"
#include "display/sample_chart.h"
#include "display/wheel_painter.h"
#include "shell/fakes.h"

namespace solvane::display {
namespace {

QAction* Action(ChartWindow& window, const QString& name) {
  auto* action = window.ViewMenu()->findChild<QAction*>(name);
  if (!action) action = window.findChild<QAction*>(name);
  if (!action) qFatal("no action %s", qPrintable(name));
  return action;
}

// The texts of an SVG file's text elements, or nothing when it is not well-formed SVG.
QStringList SvgTexts(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != u"svg") return {};
  QStringList texts;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == u"text")
      texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
  }
  return xml.hasError() ? QStringList() : texts;
}

// Local day numbers of the mahadashas' shown starts, in order.
std::vector<long> MahadashaStarts(const PeriodsView& periods) {
  std::vector<long> starts;
  const QTreeWidget* tree = periods.Tree();
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    const QDate date = QDate::fromString(tree->topLevelItem(i)->text(1), Qt::ISODate);
    starts.push_back(date.toJulianDay());
  }
  return starts;
}

}  // namespace

class ChartPictureWindowTest : public QObject {
  Q_OBJECT

  testing::RecordingOpener opener_;
  const ChartWindowModel model_ = testing::SampleChartModel();

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() { QSettings().clear(); }
  void cleanupTestCase() { QSettings().clear(); }

  void SavesTheChartShownThroughTheSeam() {
    QTemporaryDir dir;
    ChartWindow window(model_, opener_);
    testing::RecordingMessages messages;
    window.SetMessageService(messages);
    QString answer;
    window.SetPicturePathAsker([&answer](QWidget*) { return answer; });
    QAction* save = Action(window, QStringLiteral("mnuSavePicture"));
    QVERIFY(save->isEnabled());
    QVERIFY(save->text().contains(u'&'));  // an access key

    // The wheel, shown first: its house boxes as text.
    answer = dir.filePath(QStringLiteral("wheel.svg"));
    save->trigger();
    const QStringList wheel = SvgTexts(answer);
    QVERIFY(wheel.contains(QStringLiteral("Asc")));
    QVERIFY(wheel.contains(QStringLiteral("12")));

    // A square style with its navamsa, as PNG at twice its logical size.
    window.SetStyle(ChartStyle::kEastIndian);
    window.SetNavamsaBeside(true);
    answer = dir.filePath(QStringLiteral("east.png"));
    save->trigger();
    const QImage image(answer);
    const QSizeF logical = PictureSize({ChartStyle::kEastIndian, true});
    QCOMPARE(image.size(), (logical * 2).toSize());
    QVERIFY(messages.shown.empty());

    // Cancelled: nothing written, nothing said.
    answer.clear();
    save->trigger();
    QVERIFY(messages.shown.empty());

    // A folder that does not exist: the message says what went wrong and what to do.
    answer = dir.filePath(QStringLiteral("missing/chart.svg"));
    save->trigger();
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown[0].icon, core::MessageIcon::kError);
    QVERIFY(messages.shown[0].text.contains(QStringLiteral("Choose a folder")));
    QVERIFY(!QFile::exists(answer));
  }

  void EngineChoicePersistsAndAsks() {
    ChartWindow window(model_, opener_);
    QCOMPARE(window.ShownEngine(), QStringLiteral("classic"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblEngine"))->text(),
             QStringLiteral("Classic positions"));
    QAction* classic = Action(window, QStringLiteral("mnuEngine_classic"));
    QAction* precise = Action(window, QStringLiteral("mnuEngine_precise"));
    QVERIFY(classic->isChecked());
    QVERIFY(!precise->isChecked());
    QCOMPARE(StoredEngineName(), QStringLiteral("classic"));  // the default

    QSignalSpy asked(&window, &ChartWindow::EngineRequested);
    precise->trigger();
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.at(0).at(0).toString(), QStringLiteral("precise"));
    QVERIFY(precise->isChecked() && !classic->isChecked());
    QCOMPARE(QSettings().value(kChartEngineKey).toString(), QStringLiteral("precise"));
    QCOMPARE(StoredEngineName(), QStringLiteral("precise"));

    // The engine shown again: remembered, but nothing to chart anew.
    classic->trigger();
    QCOMPARE(asked.count(), 1);
    QCOMPARE(StoredEngineName(), QStringLiteral("classic"));

    // A window of a precise chart says so and checks it, whatever the settings hold.
    ChartWindowModel precise_model = model_;
    precise_model.engine = "precise";
    ChartWindow precise_window(precise_model, opener_);
    QCOMPARE(precise_window.findChild<QLabel*>(QStringLiteral("lblEngine"))->text(),
             QStringLiteral("Precise positions"));
    QCOMPARE(precise_window.ChosenEngine(), QStringLiteral("precise"));
    // A fresh window, with no chart, checks the one the settings ask for.
    QSettings().setValue(kChartEngineKey, "precise");
    QCOMPARE(ChartWindow(ChartWindowModel{}, opener_).ChosenEngine(), QStringLiteral("precise"));
    QSettings().setValue(kChartEngineKey, "quantum");
    QCOMPARE(StoredEngineName(), QStringLiteral("classic"));
  }

  void YearChoiceRecountsThePeriodsAndPersists() {
    ChartWindow window(model_, opener_);
    QCOMPARE(window.YearDays(), 365.25);  // the default
    QVERIFY(Action(window, QStringLiteral("mnuYear_365.25"))->isChecked());
    const std::vector<long> julian = MahadashaStarts(*window.Periods());
    QVERIFY(julian.size() >= 9);
    const QDate marked = window.Periods()->Date();

    Action(window, QStringLiteral("mnuYear_360"))->trigger();
    QCOMPARE(window.YearDays(), 360.0);
    const std::vector<long> savana = MahadashaStarts(*window.Periods());
    QCOMPARE(savana.size(), julian.size());
    // From the second mahadasha to the ninth, whole periods of Vimshottari years: their span
    // shrinks by 360 / 365.25 (within a day of rounding at either end).
    const double julian_span = julian[8] - julian[1], savana_span = savana[8] - savana[1];
    QVERIFY2(std::abs(savana_span - julian_span * 360 / 365.25) <= 2,
             qPrintable(QStringLiteral("%1 vs %2").arg(savana_span).arg(julian_span)));
    QVERIFY(julian_span - savana_span > 400);  // some 80 years at 5.25 days each
    // The periods running on the date picked are marked again in the new listing.
    QCOMPARE(window.Periods()->Date(), marked);
    QCOMPARE(window.Periods()->MarkedItems().size(), std::size_t{3});
    QVERIFY(window.Periods()
                ->findChild<QLabel*>(QStringLiteral("lblDashaNote"))
                ->text()
                .contains(QStringLiteral("360")));

    // Remembered: the next window counts in 360-day years at once.
    QCOMPARE(QSettings().value(kChartYearDaysKey).toString(), QStringLiteral("360"));
    ChartWindow next(model_, opener_);
    QCOMPARE(next.YearDays(), 360.0);
    QVERIFY(Action(next, QStringLiteral("mnuYear_360"))->isChecked());
    QVERIFY(MahadashaStarts(*next.Periods()) == savana);
    // A length the periods are not counted in is ignored, and a stored one read as the default.
    next.SetYearDays(365);
    QCOMPARE(next.YearDays(), 360.0);
    QSettings().setValue(kChartYearDaysKey, "365");
    QCOMPARE(StoredYearDays(), 365.25);
  }
};

}  // namespace solvane::display

QTEST_MAIN(solvane::display::ChartPictureWindowTest)
#include "chart_picture_window_qtest.moc"
