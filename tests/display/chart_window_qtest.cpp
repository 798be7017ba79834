// The chart window as drawn: every house's box, glyph and number inside its own sector of the
// wheel picture, and the note that tells the wheel's houses from the report's.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QSvgWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <cmath>

#include "display/chart_window.h"
#include "display/periods_view.h"
#include "display/wheel_geometry.h"
#include "entry/sample.h"
#include "run/chart_run.h"
#include "shell/fakes.h"
#include "shell/two_scales.h"

using solvane::display::ChartStyle;
using solvane::display::ChartWindow;
using solvane::display::ChartWindowModel;
using solvane::display::HouseAt;
using solvane::display::kHouseCount;
using solvane::display::Point;

namespace {

// The house boxes' texts as the chart run writes them: lines each preceded by "\r\n".
std::string Box(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string("\r\n") + line;
  return text;
}

// Which house the centre of `widget` lies in, in the wheel's own coordinates.
int HouseOf(const QWidget* widget, const QWidget* wheel) {
  const QPointF centre = QRectF(widget->mapTo(wheel, QPoint(0, 0)), widget->size()).center();
  return HouseAt(Point{centre.x(), centre.y()});
}

template <typename T>
T* Find(QWidget* root, const QString& name) {
  T* widget = root->findChild<T*>(name);
  if (!widget) qFatal("no widget %s", qPrintable(name));
  return widget;
}

// The chart window of the Delhi sample (15 August 1980, 06:30 IST), as the desktop program runs it.
ChartWindowModel DelhiModel() {
  solvane::core::ChartState state;
  ChartWindowModel model;
  if (!solvane::run::RunChart(solvane::entry::SampleBirth(), solvane::display::EnglishMonthName,
                              state, model)) {
    qFatal("the sample birth was refused");
  }
  return model;
}

QAction* Action(ChartWindow& window, const char* name) {
  auto* action = window.ViewMenu()->findChild<QAction*>(QString::fromLatin1(name));
  if (!action) action = window.findChild<QAction*>(QString::fromLatin1(name));
  if (!action) qFatal("no action %s", name);
  return action;
}

// How many pixels of `widget` as drawn are not white: a blank chart has none.
int InkedPixels(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  int inked = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) inked += image.pixelColor(x, y) != Qt::white;
  }
  return inked;
}

}  // namespace

class ChartWindowTest : public QObject {
  Q_OBJECT

  solvane::testing::RecordingOpener opener_;

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() { QSettings().clear(); }
  void cleanupTestCase() { QSettings().clear(); }

  void PeriodsTabBesideTheReport() {
    ChartWindow window(DelhiModel(), opener_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTabWidget* tabs = window.Tabs();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);  // the report first, as before
    QVERIFY(tabs->widget(0)->isAncestorOf(window.ReportBox()));
    QVERIFY(!window.ReportBox()->toPlainText().isEmpty());
    QCOMPARE(tabs->tabText(1), QString::fromLatin1(solvane::display::kPeriodsTabTitle));
    QCOMPARE(tabs->widget(1), window.Periods());

    // Sun to Pluto, Rahu, Ketu and the Ascendant, every cell filled.
    QTableWidget* table = window.Periods()->Table();
    QCOMPARE(table->rowCount(), 13);
    for (int row = 0; row < table->rowCount(); ++row) {
      for (int column = 0; column < table->columnCount(); ++column) {
        QVERIFY2(table->item(row, column) && !table->item(row, column)->text().isEmpty(),
                 qPrintable(QStringLiteral("cell %1, %2").arg(row).arg(column)));
      }
    }
    // The nine mahadashas from birth; the sample runs with the classic engine, so its dates are
    // marked approximate.
    QVERIFY(window.Periods()->Tree()->topLevelItemCount() >= 9);
    const QString approximate =
        QString::fromStdString(solvane::vedic::PeriodsNote(solvane::vedic::kJulianYearDays, true));
    QVERIFY(approximate != QString::fromStdString(solvane::vedic::PeriodsNote(
                               solvane::vedic::kJulianYearDays, false)));
    QVERIFY(Find<QLabel>(window.Periods(), "lblDashaNote")->text().startsWith(approximate));
    tabs->setCurrentIndex(1);
    QVERIFY(window.Periods()->isVisible());
    QVERIFY(!window.ReportBox()->isVisible());
  }

  void StyleReplacesTheWheel_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("navamsa");
    QTest::addColumn<int>("style");  // -1: the wheel
    QTest::newRow("South Indian") << "mnuStyle_south" << false << int(ChartStyle::kSouthIndian);
    QTest::newRow("North Indian") << "mnuStyle_north" << false << int(ChartStyle::kNorthIndian);
    QTest::newRow("East Indian") << "mnuStyle_east" << false << int(ChartStyle::kEastIndian);
    QTest::newRow("South Indian with navamsa")
        << "mnuStyle_south" << true << int(ChartStyle::kSouthIndian);
    QTest::newRow("wheel") << "mnuStyle_wheel" << false << -1;
  }

  void StyleReplacesTheWheel() {
    QFETCH(QString, action);
    QFETCH(bool, navamsa);
    QFETCH(int, style);
    ChartWindow window(DelhiModel(), opener_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* wheel = Find<QSvgWidget>(&window, "picNatal");
    QWidget* square = Find<QWidget>(&window, "picSquareChart");
    QVERIFY(wheel->isVisible());  // the wheel until the user chooses otherwise
    QVERIFY(!square->isVisible());
    QVERIFY(Action(window, "mnuSavePicture")->isEnabled());  // the wheel is saved as it shows

    // Another style first, so that the one under test is a change.
    Action(window, style == -1 ? "mnuStyle_north" : "mnuStyle_wheel")->trigger();
    if (navamsa) Action(window, "mnuNavamsa")->trigger();
    Action(window, qPrintable(action))->trigger();
    QVERIFY(Action(window, qPrintable(action))->isChecked());
    QCOMPARE(window.NavamsaBeside(), navamsa);
    if (style == -1) {
      QVERIFY(!window.Style());
      QVERIFY(wheel->isVisible());
      QVERIFY(!square->isVisible());
      return;
    }
    QCOMPARE(int(*window.Style()), style);
    QVERIFY(!wheel->isVisible());
    QVERIFY(square->isVisible());
    QVERIFY(Action(window, "mnuSavePicture")->isEnabled());
    // As tall as the wheel; the pair is about twice as wide as it is tall.
    QCOMPARE(square->height(), wheel->height());
    QVERIFY(navamsa ? square->width() > 3 * square->height() / 2
                    : square->width() == square->height());
    // The chart is drawn: lines and texts, not a blank square.
    QVERIFY(InkedPixels(square) > square->width() * 4);
  }

  void StyleRememberedForTheNextWindow() {
    {
      ChartWindow first(DelhiModel(), opener_);
      Action(first, "mnuStyle_east")->trigger();
      Action(first, "mnuNavamsa")->trigger();
    }
    ChartWindow second(DelhiModel(), opener_);
    QCOMPARE(second.Style(), std::optional<ChartStyle>(ChartStyle::kEastIndian));
    QVERIFY(second.NavamsaBeside());
    QVERIFY(Action(second, "mnuStyle_east")->isChecked());
    QVERIFY(!Action(second, "mnuStyle_wheel")->isChecked());
    QVERIFY(Action(second, "mnuNavamsa")->isChecked());
    QVERIFY(second.findChild<QWidget*>("picNatal")->isHidden());

    // Back to the wheel; a name no version wrote falls back to the wheel as well.
    second.SetStyle(std::nullopt);
    QCOMPARE(ChartWindow(DelhiModel(), opener_).Style(), std::nullopt);
    QSettings().setValue(solvane::display::kChartStyleKey, "octagonal");
    QCOMPARE(ChartWindow(DelhiModel(), opener_).Style(), std::nullopt);
  }

  void SavePicture() {
    QTemporaryDir dir;
    ChartWindow window(DelhiModel(), opener_);
    const QString svg = dir.filePath("chart.svg");
    // The wheel, shown first, is a picture too.
    QVERIFY(window.SavePicture(svg));
    QVERIFY(QFile::exists(svg));

    window.SetStyle(ChartStyle::kNorthIndian);
    const auto saved = window.SavePicture(svg);
    QVERIFY2(saved, saved ? "" : saved.error().message.c_str());
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QStringLiteral("svg"));
    bool jupiter = false;  // the chart's own texts are in it: Jupiter rises in the sample
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isCharacters() && xml.text().contains(QStringLiteral("Ju"))) jupiter = true;
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(jupiter);

    // PNG by the ending, in either case; the navamsa pair is wider than tall.
    window.SetNavamsaBeside(true);
    const QString png = dir.filePath("chart.PNG");
    QVERIFY(window.SavePicture(png));
    const QImage image(png);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() > image.height());

    // An ending that is neither: refused, with the path in the message.
    const auto refused = window.SavePicture(dir.filePath("chart.txt"));
    QVERIFY(!refused);
    QVERIFY(QString::fromStdString(refused.error().message).contains(QStringLiteral("chart.txt")));
    QVERIFY(!QFile::exists(dir.filePath("chart.txt")));
    // A folder that does not exist: the writer's failure comes back.
    QVERIFY(!window.SavePicture(dir.filePath("missing/chart.svg")));
  }

  void FreshWindowDrawsNoBodies() {
    // Before any run the positions mean nothing: no planet at 0° Aries, no periods from it.
    ChartWindow window(ChartWindowModel{}, opener_);
    for (const auto& body : window.Figure().bodies) QVERIFY(!std::isfinite(body.longitude));
    QCOMPARE(window.Periods()->Tree()->topLevelItemCount(), 0);
  }

  void EveryHouseInItsOwnSector_data() {
    QTest::addColumn<QStringList>("boxes");  // house 1 first
    const std::string crowded = Box({"Sun", "Moon", "Mercury (R) ", "Venus (R) ", "Mars (R) ",
                                     "Jupiter (R) ", "Saturn (R) ", "Asc"});
    // The Delhi sample: Ascendant in Leo, Jupiter with it, Sun and Mercury in Cancer (house 12).
    QStringList delhi(kHouseCount);
    delhi[0] = QString::fromStdString(Box({"Jupiter", "Asc"}));
    delhi[1] = QString::fromStdString(Box({"Moon", "Mars", "Saturn"}));
    delhi[10] = QString::fromStdString(Box({"Venus"}));
    delhi[11] = QString::fromStdString(Box({"Sun", "Mercury"}));
    QTest::newRow("Delhi 1980") << delhi;
    QTest::newRow("every house empty") << QStringList(kHouseCount);
    QTest::newRow("every house crowded")
        << QStringList(kHouseCount, QString::fromStdString(crowded));
    // One long line: the box that grows furthest sideways from its corner.
    QTest::newRow("one retrograde planet everywhere")
        << QStringList(kHouseCount, QString::fromStdString(Box({"Jupiter (R) "})));
  }

  void EveryHouseInItsOwnSector() {
    QFETCH(QStringList, boxes);
    ChartWindowModel model;
    for (int k = 0; k < kHouseCount; ++k) {
      model.lblNatal[k] = boxes[k].toStdString();
      model.imgSign[k] = (4 + k) % kHouseCount + 1;
    }
    model.sign_boxes_visible = false;
    ChartWindow window(model, opener_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* wheel = Find<QSvgWidget>(&window, "picNatal");
    for (int k = 0; k < kHouseCount; ++k) {
      const QString house = QStringLiteral("house %1").arg(k + 1);
      QCOMPARE(Find<QLabel>(wheel, QStringLiteral("lblNatal%1").arg(k))->text(),
               boxes[k].mid(2).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
      QVERIFY2(HouseOf(Find<QLabel>(wheel, QStringLiteral("lblNatal%1").arg(k)), wheel) == k,
               qPrintable(house + " box"));
      QVERIFY2(HouseOf(Find<QSvgWidget>(wheel, QStringLiteral("imgSign%1").arg(k)), wheel) == k,
               qPrintable(house + " glyph"));
      // lblNatalPosition k shows the number k, and 12 for k = 0.
      auto* number = Find<QLabel>(wheel, QStringLiteral("lblNatalPosition%1").arg((k + 1) % 12));
      QCOMPARE(number->text(), QString::number(k + 1));
      QVERIFY2(HouseOf(number, wheel) == k, qPrintable(house + " number"));
    }
  }

  void NoteOnTheTwoHouseCountsUnderTheReport() {
    ChartWindowModel model;
    ChartWindow window(model, opener_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* report = Find<QTextEdit>(&window, "RTBHouseDesc");
    auto* note = Find<QLabel>(&window, "lblHouseNote");
    auto* link = Find<QLabel>(&window, "Label7");
    QVERIFY(note->isVisible());
    const int note_top = note->mapTo(&window, QPoint(0, 0)).y();
    QVERIFY(note_top >= report->mapTo(&window, QPoint(0, report->height())).y());
    QVERIFY(note_top + note->height() <= link->mapTo(&window, QPoint(0, 0)).y());
    // Wrapped, and given the height its lines need: nothing of it is cut off.
    QVERIFY(note->wordWrap());
    QVERIFY(note->height() >= note->heightForWidth(note->width()));
    QVERIFY(note->text().contains(QStringLiteral("30\u00B0")));
  }
};

SOLVANE_QTEST_MAIN_AT_TWO_SCALES(ChartWindowTest)
#include "chart_window_qtest.moc"
