// The drawing of the Indian square charts: SVG that any XML reader takes and that holds every
// entry, pixels where the layout says, and picture files written safely.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <map>

#include "display/chart_style.h"
#include "display/chart_style_painter.h"

namespace solvane::display {
namespace {

// A chart with Saturn and Rahu retrograde and the Sun, Mercury and the Ascendant sharing Leo.
ChartFigure SampleFigure() {
  ChartFigure figure;
  const double longitudes[core::kPositionCount] = {128.9, 262.9, 121.7, 71.2,  173.6, 161.0, 157.3,
                                                   213.5, 239.8, 170.9, 136.2, 45.0,  99.8,  279.8};
  for (int body = 0; body < core::kPositionCount; ++body)
    figure.bodies[body] = {longitudes[body], body == core::kSaturn || body == core::kRahu};
  figure.name = "ASHA RAO";
  figure.date = "15 August 1980";
  figure.time = "06:30";
  figure.place = "New Delhi, India";
  return figure;
}

// How many times each text occurs in the SVG's text elements.
std::map<QString, int> SvgTexts(const QByteArray& svg, QString* error) {
  std::map<QString, int> texts;
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == u"text")
      ++texts[xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed()];
  }
  if (xml.hasError()) *error = xml.errorString();
  return texts;
}

// Texts the layout puts on the chart, counted.
std::map<QString, int> LaidOutTexts(const ChartFigure& figure, ChartStyle style) {
  std::map<QString, int> texts;
  const ChartLayout layout =
      LayoutChart(figure, style, [](std::string_view text) { return 0.6 * text.size(); });
  for (const BoxLayout& box : layout.boxes) {
    ++texts[QString::fromStdString(box.label.text)];
    for (const PlacedText& entry : box.entries) ++texts[QString::fromStdString(entry.text)];
  }
  for (const PlacedText& line : layout.centre) ++texts[QString::fromStdString(line.text)];
  return texts;
}

bool DarkRed(QRgb p) { return qRed(p) > 90 && qGreen(p) < 70 && qBlue(p) < 70; }
bool DarkBlue(QRgb p) { return qBlue(p) > 70 && qRed(p) < 80 && qGreen(p) < 90; }
bool White(QRgb p) { return qRed(p) > 250 && qGreen(p) > 250 && qBlue(p) > 250; }

// Pixels of `image` inside a rectangle of the unit square, by what they look like.
struct Census {
  int dark_red = 0, dark_blue = 0, other_ink = 0;
};
Census Count(const QImage& image, const QRectF& frame, const UnitRect& area) {
  const double scale = image.devicePixelRatio();
  const QRect pixels(QPoint(qCeil((frame.x() + area.x * frame.width()) * scale),
                            qCeil((frame.y() + area.y * frame.height()) * scale)),
                     QPoint(qFloor((frame.x() + area.Right() * frame.width()) * scale) - 1,
                            qFloor((frame.y() + area.Bottom() * frame.height()) * scale) - 1));
  Census census;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y)
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (DarkRed(p))
        ++census.dark_red;
      else if (DarkBlue(p))
        ++census.dark_blue;
      else if (!White(p))
        ++census.other_ink;
    }
  return census;
}

// Over every area a box's entries may take (the layout here measures with other widths than the
// painter's, so it may pick another): the most of each kind in any one area, or the sum.
Census CountAreas(const QImage& image, const QRectF& frame, const std::vector<UnitRect>& areas,
                  bool sum) {
  Census total;
  for (const UnitRect& area : areas) {
    const Census c = Count(image, frame, area);
    auto combine = [sum](int& into, int value) {
      into = sum ? into + value : std::max(into, value);
    };
    combine(total.dark_red, c.dark_red);
    combine(total.dark_blue, c.dark_blue);
    combine(total.other_ink, c.other_ink);
  }
  return total;
}

UnitRect Around(const UnitSegment& s) {
  const double x = std::min(s.from.x, s.to.x), y = std::min(s.from.y, s.to.y);
  return {x, y, std::max(s.from.x, s.to.x) - x, std::max(s.from.y, s.to.y) - y};
}

}  // namespace

class ChartStylePainterTest : public QObject {
  Q_OBJECT

 private slots:
  void svgIsWellFormedAndHoldsEveryText_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("pair");
    QTest::addColumn<bool>("degrees");
    for (int s = 0; s < 3; ++s) {
      const QByteArray name(ChartStyleName(kChartStyles[s]).data());
      QTest::newRow(name) << s << false << false;
      QTest::newRow(name + " degrees") << s << false << true;
      QTest::newRow(name + " with navamsa") << s << true << false;
    }
  }
  void svgIsWellFormedAndHoldsEveryText() {
    QFETCH(int, style);
    QFETCH(bool, pair);
    QFETCH(bool, degrees);
    const ChartStyle chart_style = kChartStyles[style];
    ChartFigure figure = SampleFigure();
    figure.show_degrees = degrees;
    const QByteArray svg = ChartSvg(figure, {chart_style, pair, 600, 1});
    QVERIFY(svg.startsWith("<?xml"));

    QString error;
    const std::map<QString, int> got = SvgTexts(svg, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    std::map<QString, int> want = LaidOutTexts(figure, chart_style);
    if (pair) {
      for (const auto& [text, count] : LaidOutTexts(NavamsaFigure(figure), chart_style))
        want[text] += count;
      want[QString::fromLatin1(kBirthChartCaption)] += 1;
      want[QString::fromLatin1(kNavamsaCaption)] += 1;
    }
    for (const auto& [text, count] : want) {
      const auto found = got.find(text);
      QVERIFY2(found != got.end() && found->second == count, qPrintable(text));
    }
    // The texts this chart must carry, whatever the layout: Saturn (7°18' Virgo) and Rahu
    // (9°48' Cancer) retrograde, the Sun at 8°54' Leo.
    const QStringList required =
        degrees ? QStringList{QStringLiteral("Asc 16°"), QStringLiteral("Sa 7°(R)"),
                              QStringLiteral("Ra 9°(R)"), QStringLiteral("Su 8°")}
                : QStringList{QStringLiteral("Asc"), QStringLiteral("Sa(R)"),
                              QStringLiteral("Ra(R)"), QStringLiteral("Su")};
    for (const QString& text : required) QVERIFY2(got.count(text) == 1, qPrintable(text));
  }

  void ascendantBoxIsInkedAtEveryScale_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<double>("scale");
    for (int s = 0; s < 3; ++s)
      for (double scale : {1.0, 2.0})
        QTest::newRow(QByteArray(ChartStyleName(kChartStyles[s]).data()) + " x" +
                      QByteArray::number(scale))
            << s << scale;
  }
  void ascendantBoxIsInkedAtEveryScale() {
    QFETCH(int, style);
    QFETCH(double, scale);
    const ChartStyle chart_style = kChartStyles[style];
    const ChartFigure figure = SampleFigure();
    const QImage image = ChartImage(figure, {chart_style, false, 600, scale});
    QCOMPARE(image.size(), QSize(600, 600) * scale);
    const QRectF frame = ChartFrame(QRectF(0, 0, 600, 600));
    const ChartLayout layout =
        LayoutChart(figure, chart_style, [](std::string_view t) { return 0.6 * t.size(); });
    const auto& boxes = BoxGeometries(chart_style);

    // The Ascendant's box (Leo) holds "Asc" in dark red and the Sun and Mercury in dark blue.
    const Census ascendant =
        CountAreas(image, frame, boxes[layout.ascendant_box].entry_areas, false);
    QVERIFY2(ascendant.dark_red > 20 * scale * scale,
             qPrintable(QString::number(ascendant.dark_red)));
    QVERIFY(ascendant.dark_blue > 40 * scale * scale);
    if (const auto& mark = boxes[layout.ascendant_box].ascendant_mark)
      QVERIFY(Count(image, frame, Around(*mark)).dark_red > 10 * scale * scale);

    // No other box shows the Ascendant's colour, and a box with nothing in it stays white.
    for (int box = 0; box < kBoxCount; ++box) {
      if (box == layout.ascendant_box) continue;
      const Census other = CountAreas(image, frame, boxes[box].entry_areas, true);
      QCOMPARE(other.dark_red, 0);
      if (layout.boxes[box].entries.empty()) QCOMPARE(other.dark_blue + other.other_ink, 0);
    }
  }

  void chartStaysInItsRectangle() {
    QImage image(800, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      PaintChart(painter, QRectF(0, 0, 800, 400), SampleFigure(), ChartStyle::kNorthIndian);
    }
    // The chart is the 400 x 400 square in the middle; the sides are left as they were.
    for (int y = 0; y < 400; y += 7) {
      QCOMPARE(qAlpha(image.pixel(199, y)), 0);
      QCOMPARE(qAlpha(image.pixel(600, y)), 0);
      QCOMPARE(image.pixel(201, y), qRgb(255, 255, 255));
    }
  }

  void filesAreWrittenWhole() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ChartFigure figure = SampleFigure();
    const std::string png = dir.filePath(QStringLiteral("chart.png")).toStdString();
    const std::string svg = dir.filePath(QStringLiteral("chart.svg")).toStdString();

    QFile old(QString::fromStdString(png));  // a file already there is replaced
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    auto written = WriteChartPng(png, figure, {ChartStyle::kEastIndian, true, 300, 2});
    QVERIFY2(written.has_value(), written.has_value() ? "" : written.error().message.c_str());
    const QImage read(QString::fromStdString(png));
    QCOMPARE(read.size(), PictureSize({ChartStyle::kEastIndian, true, 300, 2}).toSize() * 2);

    written = WriteChartSvg(svg, figure, {ChartStyle::kSouthIndian, false, 600, 1});
    QVERIFY(written.has_value());
    QFile svg_file(QString::fromStdString(svg));
    QVERIFY(svg_file.open(QIODevice::ReadOnly));
    QVERIFY(svg_file.readAll().contains("ASHA RAO"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
  }

  void failuresSayWhyAndLeaveNothingBehind_data() {
    QTest::addColumn<QString>("path");  // under the temporary folder
    QTest::addColumn<double>("side");
    QTest::newRow("missing folder") << "missing/chart.png" << 600.0;
    QTest::newRow("a folder's name") << "folder" << 600.0;
    QTest::newRow("size out of range") << "chart.png" << 0.0;
    QTest::newRow("size too large") << "chart.png" << 1e6;
  }
  void failuresSayWhyAndLeaveNothingBehind() {
    QFETCH(QString, path);
    QFETCH(double, side);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const std::string target = dir.filePath(path).toStdString();
    for (bool as_svg : {false, true}) {
      const PictureOptions options{ChartStyle::kSouthIndian, false, side, 1};
      const auto written = as_svg ? WriteChartSvg(target, SampleFigure(), options)
                                  : WriteChartPng(target, SampleFigure(), options);
      QVERIFY(!written.has_value());
      QVERIFY(!written.error().message.empty());
      QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
      QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    }
  }
};

}  // namespace solvane::display

QTEST_MAIN(solvane::display::ChartStylePainterTest)
#include "chart_style_painter_qtest.moc"
