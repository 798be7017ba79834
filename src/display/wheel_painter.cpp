#include "display/wheel_painter.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "display/wheel_geometry.h"

// Resources compiled into a static library are registered by hand, outside any namespace.
static void RegisterChartPictures() { Q_INIT_RESOURCE(chart_pictures); }

namespace solvane::display {
namespace {

// As the chart window's labels show them: blue bodies, grey house numbers.
const QColor kBodyColour(0, 0, 255);
const QColor kNumberColour(0x44, 0x44, 0x44);
constexpr double kBodyFontPixels = 12;   // logical pixels: the window's 9 pt at 96 dpi
constexpr double kNumberFontPixels = 9;  // logical pixels, as the window's style sheet sets

constexpr std::array<const char*, kSignCount> kGlyphFiles = {
    "aries", "taurus",  "gemini",      "cancer",    "leo",      "virgo",
    "libra", "scorpio", "sagittarius", "capricorn", "aquarius", "pisces"};

// Fonts are measured at their size in logical pixels and drawn at the point size that gives those
// pixels on the painter's device, so that an SVG keeps the sizes the screen shows.
struct WheelFont {
  QFont font;
  QFontMetricsF metrics;
};

WheelFont FontOfPixels(double pixels, const QPainter& painter) {
  QFont measured(QStringLiteral("DejaVu Sans"));
  // Unhinted widths grow in proportion with the size: a box measured here fits at any scale.
  measured.setHintingPreference(QFont::PreferNoHinting);
  measured.setPixelSize(static_cast<int>(pixels));
  QFont drawn = measured;
  const int dpi = painter.device() != nullptr ? painter.device()->logicalDpiY() : 96;
  drawn.setPointSizeF(pixels * 72.0 / (dpi > 0 ? dpi : 96));
  return {drawn, QFontMetricsF(measured)};
}

QStringList BoxLines(const std::string& bodies) {
  QString text = QString::fromStdString(bodies);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (text.startsWith(u'\n')) text.remove(0, 1);  // the box's first line is empty by design
  return text.split(u'\n');
}

void DrawHouseBox(QPainter& painter, const WheelFont& font, int house, const std::string& bodies) {
  const QStringList lines = BoxLines(bodies);
  double width = 0;
  for (const QString& line : lines) width = std::max(width, font.metrics.horizontalAdvance(line));
  const double line_height = font.metrics.lineSpacing();
  const Size size{width, line_height * lines.size()};
  // Whole pixels, as the window's labels stand.
  const Point corner = BoxTopLeft(house, {std::ceil(size.width), std::ceil(size.height)});
  const QPointF top_left(std::round(corner.x), std::round(corner.y));
  for (int i = 0; i < lines.size(); ++i) {
    if (lines[i].isEmpty()) continue;
    painter.drawText(top_left + QPointF(0, font.metrics.ascent() + i * line_height), lines[i]);
  }
}

void DrawGlyph(QPainter& painter, int house, int sign) {
  if (sign < 1 || sign > kSignCount) return;
  QSvgRenderer glyph(
      QStringLiteral(":/signs/%1.svg").arg(QString::fromLatin1(kGlyphFiles[sign - 1])));
  const Point corner = GlyphTopLeft(house);
  glyph.render(&painter, QRectF(std::round(corner.x), std::round(corner.y), kGlyphSidePixels,
                                kGlyphSidePixels));
}

void DrawNumber(QPainter& painter, const WheelFont& font, int house) {
  const Point corner = NumberTopLeft(house);
  const QPointF top_left(std::round(corner.x), std::round(corner.y));
  painter.drawText(top_left + QPointF(0, font.metrics.ascent()), QString::number(house + 1));
}

}  // namespace

void EnsureWheelResources() {
  static const bool registered = (RegisterChartPictures(), true);
  (void)registered;
}

QSizeF WheelSize() {
  return {double(TwipsToPixels(kWheelWidthTwips)), double(TwipsToPixels(kWheelHeightTwips))};
}

void PaintWheelChart(QPainter& painter, const QRectF& rect,
                     const display::ChartWindowModel& model) {
  const QSizeF wheel = WheelSize();
  const double scale = std::min(rect.width() / wheel.width(), rect.height() / wheel.height());
  if (!(scale > 0)) return;
  EnsureWheelResources();
  const QPointF origin =
      rect.center() - QPointF(wheel.width() * scale / 2, wheel.height() * scale / 2);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.translate(origin);
  painter.scale(scale, scale);
  const QRectF frame(QPointF(0, 0), wheel);
  painter.fillRect(frame, Qt::white);
  QSvgRenderer(QStringLiteral(":/wheel.svg")).render(&painter, frame);

  for (int house = 0; house < kSignCount; ++house) DrawGlyph(painter, house, model.imgSign[house]);
  const WheelFont numbers = FontOfPixels(kNumberFontPixels, painter);
  painter.setFont(numbers.font);
  painter.setPen(kNumberColour);
  for (int house = 0; house < kSignCount; ++house) DrawNumber(painter, numbers, house);
  const WheelFont bodies = FontOfPixels(kBodyFontPixels, painter);
  painter.setFont(bodies.font);
  painter.setPen(kBodyColour);
  for (int house = 0; house < kSignCount; ++house)
    DrawHouseBox(painter, bodies, house, model.lblNatal[house]);
  painter.restore();
}

}  // namespace solvane::display
