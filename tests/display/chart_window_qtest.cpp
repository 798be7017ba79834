// The chart window as drawn: every house's box, glyph and number inside its own sector of the
// wheel picture, and the note that tells the wheel's houses from the report's.
#include <QLabel>
#include <QSvgWidget>
#include <QTest>
#include <QTextEdit>

#include "display/chart_window.h"
#include "display/wheel_geometry.h"
#include "shell/fakes.h"
#include "shell/two_scales.h"

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

}  // namespace

class ChartWindowTest : public QObject {
  Q_OBJECT

  solvane::testing::RecordingOpener opener_;

 private slots:
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
