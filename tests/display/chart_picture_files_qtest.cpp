// The chart alone as a picture file: the wheel and the square styles as SVG that any XML reader
// takes and that holds every entry as text, and solvane-chart's --svg as users run it.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <set>

#include "display/chart_style_painter.h"
#include "display/sample_chart.h"
#include "display/wheel_painter.h"

namespace solvane::display {
namespace {

struct SvgContent {
  QString error;  // empty when the document is well formed
  QString root;   // the root element's name
  QSizeF size;    // the root's view box: the picture's size in logical pixels
  std::multiset<QString> texts;
};

SvgContent ReadSvg(const QByteArray& svg) {
  SvgContent content;
  QXmlStreamReader xml(svg);
  if (xml.readNextStartElement()) {
    content.root = xml.name().toString();
    const QStringList box =
        xml.attributes().value(QStringLiteral("viewBox")).toString().split(u' ');
    if (box.size() == 4) content.size = QSizeF(box[2].toDouble(), box[3].toDouble());
  }
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == u"text")
      content.texts.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
  }
  if (xml.hasError()) content.error = xml.errorString();
  return content;
}

// What each style must show as text: the wheel its house boxes' lines and house numbers, a square
// style every sign's entries.
std::multiset<QString> ExpectedTexts(const ChartWindowModel& model, const PictureOptions& options) {
  std::multiset<QString> texts;
  if (options.wheel) {
    for (int house = 0; house < kSignCount; ++house) {
      texts.insert(QString::number(house + 1));
      for (const QString& line : QString::fromStdString(model.lblNatal[house])
                                     .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        texts.insert(line);
    }
    return texts;
  }
  for (const auto& entries : EntriesBySign(FigureOfModel(model)))
    for (const BoxEntry& entry : entries) texts.insert(QString::fromStdString(entry.text));
  return texts;
}

QString Missing(const std::multiset<QString>& expected, const std::multiset<QString>& found) {
  QStringList missing;
  for (const QString& text : expected)
    if (found.count(text) < expected.count(text)) missing << text;
  return missing.join(u' ');
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
  int exit_code = -1;
  QString error_output;
};

Run RunChartProgram(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(SOLVANE_CHART_PROGRAM), arguments);
  if (!process.waitForFinished(60000)) return {};
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

class ChartPictureFilesTest : public QObject {
  Q_OBJECT

  const ChartWindowModel model_ = testing::SampleChartModel();

 private slots:
  void EveryStyleWellFormedWithEveryEntry_data() {
    QTest::addColumn<QString>("style");
    // The four styles --chart-style names; the navamsa pair adds a second chart's entries.
    QTest::newRow("wheel") << "wheel";
    QTest::newRow("south") << "south";
    QTest::newRow("north") << "north";
    QTest::newRow("east") << "east";
  }
  void EveryStyleWellFormedWithEveryEntry() {
    QFETCH(QString, style);
    PictureOptions options;
    QVERIFY(SetPictureStyle(style.toStdString(), options));
    const SvgContent svg = ReadSvg(ChartSvg(model_, options));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    QCOMPARE(svg.root, QStringLiteral("svg"));
    const std::multiset<QString> expected = ExpectedTexts(model_, options);
    // The sample has Sun..Saturn and the Ascendant at least: a box left out would show here.
    QVERIFY(expected.size() >= 8);
    QVERIFY2(Missing(expected, svg.texts).isEmpty(), qPrintable(Missing(expected, svg.texts)));
  }

  void WheelOfAFreshWindowHasOnlyItsHouseNumbers() {
    // No chart yet: the wheel, its glyphs unset and its boxes empty, shows no stray text.
    PictureOptions options;
    options.wheel = true;
    const SvgContent svg = ReadSvg(ChartSvg(ChartWindowModel{}, options));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    std::multiset<QString> numbers;
    for (int house = 1; house <= kSignCount; ++house) numbers.insert(QString::number(house));
    QCOMPARE(svg.texts, numbers);
  }

  void WheelKeepsItsProportionsAtAnyScale() {
    // 452 x 433: the window's wheel; a 2x PNG has twice the pixels each way.
    PictureOptions options;
    options.wheel = true;
    options.chart_side = 433;
    options.scale = 2;
    const QSizeF size = PictureSize(options);
    QCOMPARE(qRound(size.width()), 452);
    const QImage image = ChartImage(model_, options);
    QCOMPARE(image.size(), QSize(904, 866));
    // Drawn, not blank: the ring's bands colour the pixel left of the centre's hub.
    QVERIFY(image.pixelColor(60, 433) != QColor(Qt::white));
    // A figure alone has no houses: no wheel is made up from it.
    QVERIFY(ChartSvg(FigureOfModel(model_), options).isEmpty());
  }

  void CommandLineWritesEachStyle_data() {
    QTest::addColumn<QStringList>("style_flags");
    QTest::addColumn<QSizeF>("size");  // the wheel as the window shows it; a square at 600
    QTest::newRow("default is the wheel") << QStringList{} << QSizeF(452, 433);
    QTest::newRow("wheel") << QStringList{"--chart-style", "wheel"} << QSizeF(452, 433);
    QTest::newRow("south") << QStringList{"--chart-style", "south"} << QSizeF(600, 600);
    QTest::newRow("north") << QStringList{"--chart-style", "north"} << QSizeF(600, 600);
    QTest::newRow("east") << QStringList{"--chart-style", "east"} << QSizeF(600, 600);
  }
  void CommandLineWritesEachStyle() {
    QFETCH(QStringList, style_flags);
    QFETCH(QSizeF, size);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.svg"));
    const Run run = RunChartProgram(QStringList{"--sample", "--svg", path} + style_flags);
    QVERIFY2(run.exit_code == 0, qPrintable(run.error_output));
    const SvgContent svg = ReadSvg(ReadAll(path));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    QCOMPARE(svg.size, size);
    QVERIFY(svg.texts.count(QStringLiteral("Asc")) == 1);
    // Nothing left behind but the picture: the temporary file was renamed into place.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"chart.svg"});
  }

  void CommandLineRefusesConflicts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");  // a flag the message must name
    QTest::newRow("style without a picture")
        << QStringList{"--sample", "--chart-style", "south"} << "--chart-style";
    QTest::newRow("picture of a batch")
        << QStringList{"--batch", "rows.csv", "--svg", "chart.svg"} << "--batch";
    QTest::newRow("same file as the sheet")
        << QStringList{"--sample", "--svg", "chart.svg", "--pdf", "chart.svg"} << "--pdf";
    QTest::newRow("unknown style")
        << QStringList{"--sample", "--svg", "chart.svg", "--chart-style", "round"}
        << "--chart-style";
  }
  void CommandLineRefusesConflicts() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const Run run = RunChartProgram(arguments);
    QCOMPARE(run.exit_code, 2);
    QVERIFY2(run.error_output.contains(named), qPrintable(run.error_output));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("chart.svg"))));
  }

  void CommandLineFailsOnAnUnwritableTarget_data() {
    QTest::addColumn<QString>("target");  // relative to a scratch folder holding "kept.svg"
    // Under a file rather than a folder; a folder that does not exist; the picture's own name
    // taken by a folder. (Permissions would not stop the root user the tests may run as.)
    QTest::newRow("under a file") << "kept.svg/chart.svg";
    QTest::newRow("no such folder") << "missing/chart.svg";
    QTest::newRow("a folder's name") << "folder";
  }
  void CommandLineFailsOnAnUnwritableTarget() {
    QFETCH(QString, target);
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.svg"));
    QFile file(kept);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<svg/>");
    file.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const Run run = RunChartProgram({"--sample", "--svg", dir.filePath(target)});
    QCOMPARE(run.exit_code, 1);
    QVERIFY2(run.error_output.contains(QStringLiteral("--svg")), qPrintable(run.error_output));
    QCOMPARE(ReadAll(kept), QByteArray("<svg/>"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.svg"});
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
  }
};

}  // namespace solvane::display

QTEST_MAIN(solvane::display::ChartPictureFilesTest)
#include "chart_picture_files_qtest.moc"
