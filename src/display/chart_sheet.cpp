#include "display/chart_sheet.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "core/links.h"
#include "core/version.h"
#include "display/chart_style_painter.h"
#include "display/wheel_painter.h"

namespace solvane::display {
namespace {

// Sizes in points (1/72 inch); the writer's device units are converted where drawn.
constexpr int kResolutionDpi = 1200;
constexpr double kPointsPerInch = 72;
constexpr double kMarginPoints = 40;
constexpr double kFooterPoints = 22;   // band at the foot of each page, inside the margin
constexpr double kTitlePoints = 17;    // font size of the name
constexpr double kSectionPoints = 11;  // font size of a section's heading
constexpr double kTextPoints = 9;      // font size of page 1's lines and of the report
constexpr double kFooterTextPoints = 7.5;
constexpr double kLineSpacing = 1.35;       // line height, in font sizes
constexpr double kParagraphGapLines = 0.6;  // an empty line of the report, in line heights
constexpr double kBlockGapPoints = 8;       // between page 1's blocks
constexpr double kRuleDropPoints = 2;       // from a section heading's line down to its rule
constexpr double kRuleWidthPoints = 0.5;
constexpr double kMinLabelPoints = 70;  // narrowest label column, gap excluded
constexpr double kLabelGapPoints = 8;   // between a label and its value
constexpr double kCaptionShare = 0.08;  // caption band over a chart, in chart sides
constexpr double kPairGapShare = 0.06;  // gap between the two charts, in chart sides
constexpr int kKeptLines = 3;  // a heading keeps this many lines of its paragraph on its page

const QColor kInk(0, 0, 0);
const QColor kMutedInk(0x55, 0x55, 0x55);
const QColor kRuleColour(0xBB, 0xBB, 0xBB);

// Territories whose paper is Letter (CLDR's paper-size data).
constexpr QLocale::Territory kLetterTerritories[] = {
    QLocale::UnitedStates, QLocale::Canada,      QLocale::Mexico,     QLocale::Chile,
    QLocale::Colombia,     QLocale::CostaRica,   QLocale::Guatemala,  QLocale::Nicaragua,
    QLocale::Panama,       QLocale::Philippines, QLocale::PuertoRico, QLocale::ElSalvador,
    QLocale::Venezuela,    QLocale::Belize};

// Position table columns, in points from the left margin, one per heading.
constexpr double kColumnPoints[] = {0, 78, 150, 232, 345, 385};
static_assert(std::size(kColumnPoints) == std::size(kSheetPositionHeadings));

QString Q(const std::string& text) { return QString::fromStdString(text); }

double Device(double points) { return points * kResolutionDpi / kPointsPerInch; }

QFont SheetFont(double points, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(points);
  font.setBold(bold);
  // Ligatures ("fi" as one glyph) would make the PDF's text read and search as other characters.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// The writer, its painter and where things go, in device units.
class SheetPainter {
 public:
  SheetPainter(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter) {
    const QRectF page(0, 0, writer.width(), writer.height());
    area_ = page.adjusted(Device(kMarginPoints), Device(kMarginPoints), -Device(kMarginPoints),
                          -Device(kMarginPoints) - Device(kFooterPoints));
    footer_top_ = area_.bottom() + Device(kFooterPoints) / 2;
  }

  const QRectF& Area() const { return area_; }

  // Draws one line of `text` whose top is at `top`, cut with an ellipsis to `width` when one is
  // given; returns the line's height.
  double Line(double x, double top, const QString& text, const QFont& font, const QColor& colour,
              double width = 0) {
    const QFontMetricsF metrics(font, &writer_);
    painter_.setFont(font);
    painter_.setPen(colour);
    const QString shown = width > 0 ? metrics.elidedText(text, Qt::ElideRight, width) : text;
    painter_.drawText(QPointF(x, top + metrics.ascent()), shown);
    return LineHeight(font);
  }

  double LineHeight(const QFont& font) const {
    return font.pointSizeF() * kLineSpacing * kResolutionDpi / kPointsPerInch;
  }

  void Rule(double top) {
    painter_.setPen(QPen(kRuleColour, Device(kRuleWidthPoints)));
    painter_.drawLine(QPointF(area_.left(), top), QPointF(area_.right(), top));
  }

  void Footer(int page, int pages) {
    const QFont font = SheetFont(kFooterTextPoints);
    const QFontMetricsF metrics(font, &writer_);
    const QString number = QStringLiteral("Page %1 of %2").arg(page).arg(pages);
    Line(area_.left(), footer_top_,
         QString::fromUtf8(core::kHomePageAddress.data(),
                           static_cast<qsizetype>(core::kHomePageAddress.size())),
         font, kMutedInk);
    Line(area_.right() - metrics.horizontalAdvance(number), footer_top_, number, font, kMutedInk);
  }

  QPainter& Painter() { return painter_; }
  QPdfWriter& Writer() { return writer_; }

 private:
  QPdfWriter& writer_;
  QPainter& painter_;
  QRectF area_;
  double footer_top_ = 0;
};

// Label and value lines in `columns` columns, each label column as wide as its longest label;
// returns the height they take.
double DrawLabelledLines(SheetPainter& sheet, double top, const std::vector<SheetLine>& lines,
                         int columns) {
  const QFont label_font = SheetFont(kTextPoints, true);
  const QFont value_font = SheetFont(kTextPoints);
  const QFontMetricsF label_metrics(label_font, &sheet.Writer());
  double label_width = Device(kMinLabelPoints);
  for (const SheetLine& line : lines)
    label_width = std::max(label_width, label_metrics.horizontalAdvance(Q(line.label)));
  label_width += Device(kLabelGapPoints);
  const QRectF& area = sheet.Area();
  const double column_width = area.width() / columns;
  const int rows = (static_cast<int>(lines.size()) + columns - 1) / columns;
  const double line_height = sheet.LineHeight(value_font);
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    const double x = area.left() + column_width * (i / rows);
    const double y = top + line_height * (i % rows);
    sheet.Line(x, y, Q(lines[i].label), label_font, kMutedInk);
    sheet.Line(x + label_width, y, Q(lines[i].value), value_font, kInk,
               column_width - label_width - Device(kLabelGapPoints));
  }
  return line_height * rows;
}

double DrawSection(SheetPainter& sheet, double top, const char* title) {
  const QFont font = SheetFont(kSectionPoints, true);
  const double height =
      sheet.Line(sheet.Area().left(), top, QString::fromLatin1(title), font, kInk);
  sheet.Rule(top + height - Device(kRuleDropPoints));
  return height + Device(kRuleDropPoints);
}

double DrawPositions(SheetPainter& sheet, double top, const std::vector<SheetPositionRow>& rows) {
  const QFont head_font = SheetFont(kTextPoints, true);
  const QFont font = SheetFont(kTextPoints);
  const double left = sheet.Area().left();
  const double line_height = sheet.LineHeight(font);
  double y = top;
  for (std::size_t c = 0; c < std::size(kColumnPoints); ++c)
    sheet.Line(left + Device(kColumnPoints[c]), y, QString::fromLatin1(kSheetPositionHeadings[c]),
               head_font, kMutedInk);
  y += line_height;
  for (const SheetPositionRow& row : rows) {
    const std::string* cells[] = {&row.body,      &row.sign, &row.degrees,
                                  &row.nakshatra, &row.pada, &row.retrograde};
    for (std::size_t c = 0; c < std::size(kColumnPoints); ++c)
      sheet.Line(left + Device(kColumnPoints[c]), y, Q(*cells[c]), font, kInk);
    y += line_height;
  }
  return y - top;
}

void DrawCaption(SheetPainter& sheet, const QRectF& band, const char* caption) {
  QPainter& painter = sheet.Painter();
  painter.setFont(SheetFont(kTextPoints, true));
  painter.setPen(kInk);
  painter.drawText(band, Qt::AlignCenter, QString::fromLatin1(caption));
}

// The wheel and the South Indian navamsa side by side, each under its caption.
void DrawWheelPair(SheetPainter& sheet, const QRectF& rect, const SheetInput& input) {
  const double side =
      std::min(rect.width() / (2 + kPairGapShare), rect.height() / (1 + kCaptionShare));
  if (!(side > 0)) return;
  const double band = side * kCaptionShare;
  const double left = rect.center().x() - side * (2 + kPairGapShare) / 2;
  const double second = left + side * (1 + kPairGapShare);
  const double top = rect.center().y() - side * (1 + kCaptionShare) / 2;
  DrawCaption(sheet, QRectF(left, top, side, band), kBirthChartCaption);
  DrawCaption(sheet, QRectF(second, top, side, band), kNavamsaCaption);
  PaintWheelChart(sheet.Painter(), QRectF(left, top + band, side, side), input.source.window);
  PaintChart(sheet.Painter(), QRectF(second, top + band, side, side),
             NavamsaFigure(FigureOfModel(input.source.window)), ChartStyle::kSouthIndian);
}

void DrawCharts(SheetPainter& sheet, const QRectF& rect, const SheetInput& input) {
  QPainter& painter = sheet.Painter();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  if (input.square_style)
    PaintChartWithNavamsa(painter, rect, FigureOfModel(input.source.window), *input.square_style);
  else
    DrawWheelPair(sheet, rect, input);
  painter.restore();
}

void DrawFirstPage(SheetPainter& sheet, const ChartSheetModel& model, const SheetInput& input) {
  const QRectF& area = sheet.Area();
  double y = area.top();
  y +=
      sheet.Line(area.left(), y, Q(model.title), SheetFont(kTitlePoints, true), kInk, area.width());
  y += Device(kRuleDropPoints * 2);
  y += DrawSection(sheet, y, "Birth data");
  y += DrawLabelledLines(sheet, y, model.birth_lines, 2) + Device(kBlockGapPoints);
  y += DrawSection(sheet, y, "Positions");
  y += DrawPositions(sheet, y, model.positions) + Device(kBlockGapPoints);

  // The periods take the foot of the page; the charts get what is left between.
  const double periods_height =
      sheet.LineHeight(SheetFont(kSectionPoints, true)) + Device(kRuleDropPoints) +
      sheet.LineHeight(SheetFont(kTextPoints)) * static_cast<double>(model.period_lines.size() + 1);
  const double charts_bottom = area.bottom() - periods_height - Device(kBlockGapPoints);
  DrawCharts(sheet, QRectF(area.left(), y, area.width(), charts_bottom - y), input);

  y = charts_bottom + Device(kBlockGapPoints);
  y += DrawSection(sheet, y, "Vimshottari periods");
  y += DrawLabelledLines(sheet, y, model.period_lines, 1);
  sheet.Line(area.left(), y, Q(model.periods_note), SheetFont(kFooterTextPoints), kMutedInk,
             area.width());
}

// ---- The house report ----

std::unique_ptr<QTextLayout> LayoutParagraph(const ReportParagraph& paragraph, double width,
                                             QPaintDevice* device) {
  QString text;
  QList<QTextLayout::FormatRange> formats;
  for (const report::RichTextPiece& run : paragraph.runs) {
    QTextLayout::FormatRange range;
    range.start = static_cast<int>(text.size());
    const QString piece = Q(run.text);
    range.length = static_cast<int>(piece.size());
    range.format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    range.format.setForeground(QColor(run.colour.r, run.colour.g, run.colour.b));
    formats.push_back(range);
    text += piece;
  }
  auto layout = std::make_unique<QTextLayout>(text, SheetFont(kTextPoints), device);
  layout->setFormats(formats);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  double y = 0;
  for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
    line.setLineWidth(width);
    line.setLeadingIncluded(true);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  layout->endLayout();
  return layout;
}

// The report laid out for the sheet's text area: each paragraph's layout (null for an empty one)
// and where each line goes.
struct ReportLayout {
  std::vector<std::unique_ptr<QTextLayout>> layouts;
  std::vector<LinePlace> places;
  int pages = 0;
};

ReportLayout LayOutReport(SheetPainter& sheet, const std::vector<ReportParagraph>& paragraphs,
                          double first_top) {
  ReportLayout report;
  std::vector<ParagraphLines> lines;
  for (const ReportParagraph& paragraph : paragraphs) {
    ParagraphLines& measured = lines.emplace_back();
    measured.heading = paragraph.heading;
    if (paragraph.Empty()) {
      report.layouts.push_back(nullptr);
      continue;
    }
    report.layouts.push_back(LayoutParagraph(paragraph, sheet.Area().width(), &sheet.Writer()));
    const QTextLayout& layout = *report.layouts.back();
    for (int i = 0; i < layout.lineCount(); ++i)
      measured.line_heights.push_back(layout.lineAt(i).height());
  }
  PagingRules rules;
  rules.first_page_top = first_top;
  rules.page_height = sheet.Area().height();
  rules.gap = sheet.LineHeight(SheetFont(kTextPoints)) * kParagraphGapLines;
  rules.kept_lines = kKeptLines;
  report.places = PaginateParagraphs(lines, rules);
  report.pages = report.places.empty() ? 0 : report.places.back().page + 1;
  return report;
}

void DrawReportPage(SheetPainter& sheet, const ReportLayout& report, int page) {
  const QRectF& area = sheet.Area();
  for (const LinePlace& place : report.places) {
    if (place.page != page) continue;
    const QTextLine line =
        report.layouts[static_cast<std::size_t>(place.paragraph)]->lineAt(place.line);
    line.draw(&sheet.Painter(), QPointF(area.left(), area.top() + place.top - line.y()));
  }
}

core::Result<void> NeedsGui() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    return core::Fail("Cannot draw the chart sheet: the program has not set up Qt's graphics.");
  return {};
}

void DrawSheet(QPdfWriter& writer, QPainter& painter, const SheetInput& input) {
  SheetPainter sheet(writer, painter);
  DrawFirstPage(sheet, BuildChartSheet(input.source), input);

  const std::vector<ReportParagraph> paragraphs =
      ReportParagraphs(input.source.window.RTBHouseDesc);
  if (paragraphs.empty()) {  // a chart without an Ascendant places no planet in a house
    sheet.Footer(1, 1);
    return;
  }
  const QFont title_font = SheetFont(kSectionPoints, true);
  const double title_height = sheet.LineHeight(title_font) + Device(kBlockGapPoints);
  const ReportLayout report = LayOutReport(sheet, paragraphs, title_height);
  const int pages = 1 + report.pages;
  sheet.Footer(1, pages);
  for (int p = 0; p < report.pages; ++p) {
    writer.newPage();
    if (p == 0) DrawSection(sheet, sheet.Area().top(), "House report");
    DrawReportPage(sheet, report, p);
    sheet.Footer(p + 2, pages);
  }
}

}  // namespace

QPageSize::PageSizeId SheetPageSize(const QLocale& locale) {
  const QLocale::Territory territory = locale.territory();
  const bool letter = std::find(std::begin(kLetterTerritories), std::end(kLetterTerritories),
                                territory) != std::end(kLetterTerritories);
  return letter ? QPageSize::Letter : QPageSize::A4;
}

core::Result<QByteArray> ChartSheetPdf(const SheetInput& input) {
  if (auto gui = NeedsGui(); !gui) return core::Unexpected{gui.error()};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolutionDpi);
    writer.setPageSize(QPageSize(input.page_size));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(Q(input.source.state.birth.Name) + QStringLiteral(" - chart sheet"));
    writer.setCreator(
        QStringLiteral("Solvane ") +
        QString::fromUtf8(core::kVersion.data(), static_cast<qsizetype>(core::kVersion.size())));
    QPainter painter;
    if (!painter.begin(&writer)) return core::Fail("Cannot start the PDF file.");
    DrawSheet(writer, painter, input);
    if (!painter.end()) return core::Fail("Cannot finish the PDF file.");
  }
  if (bytes.isEmpty()) return core::Fail("The PDF came out empty.");
  return bytes;
}

core::Result<void> WriteChartSheetPdf(const std::string& path, const SheetInput& input) {
  const auto pdf = ChartSheetPdf(input);
  if (!pdf) return core::Unexpected{pdf.error()};
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly))
    return core::Fail("cannot write '" + path + "': " + file.errorString().toStdString());
  if (file.write(*pdf) != pdf->size()) {
    const std::string error = file.errorString().toStdString();
    file.cancelWriting();
    return core::Fail("cannot write '" + path + "': " + error);
  }
  if (!file.commit())
    return core::Fail("cannot write '" + path + "': " + file.errorString().toStdString());
  return {};
}

}  // namespace solvane::display
