#include "display/chart_style_painter.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <limits>

#include "display/wheel_painter.h"

namespace solvane::display {
namespace {

// Chosen to read on screen and on paper alike.
const QColor kLineColour(0, 0, 0);
const QColor kAscendantColour(139, 0, 0);  // dark red
const QColor kPlanetColour(16, 32, 128);   // dark blue
const QColor kLabelColour(112, 112, 112);
const QColor kCentreColour(32, 32, 32);

constexpr double kMarginOfSide = 0.015;       // chart sides: white around the outer square
constexpr double kLineWidthOfSide = 0.0025;   // chart sides: inner lines
constexpr double kBorderWidthOfSide = 0.004;  // chart sides: outer square and Ascendant mark
constexpr double kCaptionBand = 0.09;         // chart sides: height of the captions above a pair
constexpr double kCaptionFontSize = 0.045;    // chart sides
constexpr double kPairGap = 0.06;             // chart sides: between the two charts of a pair
constexpr int kMeasurePixels = 100;           // font size the widths are measured at
constexpr double kMinSide = 1, kMaxSide = 20000;  // logical pixels
constexpr double kMinScale = 0.1, kMaxScale = 16;

QFont ChartFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  // Unhinted glyphs keep widths proportional to the size, so widths measured once hold at any
  // scale and the laid-out texts never grow into each other.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setPixelSize(kMeasurePixels);
  return font;
}

// Font metrics at kMeasurePixels, shared by the layout's width function and the baselines. Made
// per drawing rather than kept in a static, which would outlive the application's font database.
struct Metrics {
  QFont font = ChartFont();
  QFontMetricsF metrics{font};
  double ascent = metrics.ascent() / kMeasurePixels;    // in font sizes
  double descent = metrics.descent() / kMeasurePixels;  // in font sizes

  double Width(std::string_view text) const {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return metrics.horizontalAdvance(s) / kMeasurePixels;
  }
};

// Maps the unit square onto the chart's square on the painter.
struct Frame {
  QPointF origin;
  double side = 0;
  QPointF At(UnitPoint p) const { return origin + QPointF(p.x * side, p.y * side); }
};

QColor TextColour(TextRole role) {
  switch (role) {
    case TextRole::kAscendant:
      return kAscendantColour;
    case TextRole::kSignLabel:
      return kLabelColour;
    case TextRole::kCentre:
      return kCentreColour;
    case TextRole::kPlanet:
      break;
  }
  return kPlanetColour;
}

// Draws texts, setting the font only when the size changes (it does so once per box at most).
class TextPen {
 public:
  TextPen(QPainter& painter, const Frame& frame, const Metrics& metrics)
      : painter_(painter), frame_(frame), metrics_(metrics) {
    const int dpi = painter.device() != nullptr ? painter.device()->logicalDpiY() : 96;
    points_per_pixel_ = 72.0 / (dpi > 0 ? dpi : 96);
  }

  void Draw(const PlacedText& text) {
    const Metrics& m = metrics_;
    const double pixels = text.font_size * frame_.side;
    if (pixels != font_pixels_) {
      QFont font = m.font;
      font.setPointSizeF(pixels * points_per_pixel_);
      painter_.setFont(font);
      font_pixels_ = pixels;
    }
    painter_.setPen(TextColour(text.role));
    const UnitRect& b = text.bounds;
    const double baseline = b.y + b.height / 2 + (m.ascent - m.descent) / 2 * text.font_size;
    painter_.drawText(frame_.At({b.x, baseline}), QString::fromStdString(text.text));
  }

 private:
  QPainter& painter_;
  const Frame& frame_;
  const Metrics& metrics_;
  double points_per_pixel_ = 0.75;
  double font_pixels_ = -1;
};

void DrawLines(QPainter& painter, const Frame& frame, ChartStyle style,
               const std::optional<UnitSegment>& ascendant_mark) {
  QPen line(kLineColour, std::max(kLineWidthOfSide * frame.side, 0.5));
  line.setCapStyle(Qt::SquareCap);
  painter.setPen(line);
  painter.setBrush(Qt::NoBrush);
  for (const UnitSegment& s : FrameLines(style)) painter.drawLine(frame.At(s.from), frame.At(s.to));
  QPen border(kLineColour, std::max(kBorderWidthOfSide * frame.side, 1.0));
  border.setJoinStyle(Qt::MiterJoin);
  painter.setPen(border);
  painter.drawRect(QRectF(frame.origin, QSizeF(frame.side, frame.side)));
  if (ascendant_mark) {
    QPen mark(kAscendantColour, std::max(kBorderWidthOfSide * frame.side, 1.0));
    mark.setCapStyle(Qt::FlatCap);
    painter.setPen(mark);
    painter.drawLine(frame.At(ascendant_mark->from), frame.At(ascendant_mark->to));
  }
}

// The largest square centred in `rect`.
QRectF CentredSquare(const QRectF& rect) {
  const double side = std::min(rect.width(), rect.height());
  return {rect.center().x() - side / 2, rect.center().y() - side / 2, side, side};
}

bool OptionsInRange(const PictureOptions& options) {
  return options.chart_side >= kMinSide && options.chart_side <= kMaxSide &&
         options.scale >= kMinScale && options.scale <= kMaxScale;
}

// What a picture is drawn from: the figure, and the window's model where the wheel may be asked
// for.
struct PictureSource {
  const ChartFigure& figure;
  const ChartWindowModel* model = nullptr;
};

bool CanDraw(const PictureSource& source, const PictureOptions& options) {
  return OptionsInRange(options) && (!options.wheel || source.model != nullptr);
}

void PaintPicture(QPainter& painter, const PictureSource& source, const PictureOptions& options) {
  const QRectF rect(QPointF(0, 0), PictureSize(options));
  painter.fillRect(rect, Qt::white);
  if (options.wheel)
    PaintWheelChart(painter, rect, *source.model);
  else if (options.with_navamsa)
    PaintChartWithNavamsa(painter, rect, source.figure, options.style);
  else
    PaintChart(painter, rect, source.figure, options.style);
}

core::Result<void> NeedsGui() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    return core::Fail("Cannot draw the chart: the program has not set up Qt's graphics.");
  return {};
}

core::Result<void> WriteAtomically(const std::string& path, const QByteArray& bytes) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly))
    return core::Fail("Cannot write " + path + ": " + file.errorString().toStdString());
  if (file.write(bytes) != bytes.size()) {
    const std::string reason = file.errorString().toStdString();
    file.cancelWriting();
    return core::Fail("Cannot write " + path + ": " + reason);
  }
  if (!file.commit())
    return core::Fail("Cannot write " + path + ": " + file.errorString().toStdString());
  return {};
}

}  // namespace

QRectF ChartFrame(const QRectF& rect) {
  const QRectF square = CentredSquare(rect);
  const double margin = kMarginOfSide * square.width();
  return square.adjusted(margin, margin, -margin, -margin);
}

void PaintChart(QPainter& painter, const QRectF& rect, const ChartFigure& figure,
                ChartStyle style) {
  const QRectF square = CentredSquare(rect);
  if (!(square.width() > 0)) return;
  const QRectF unit = ChartFrame(rect);
  const Frame frame{unit.topLeft(), unit.width()};

  const Metrics metrics;
  const ChartLayout layout =
      LayoutChart(figure, style, [&metrics](std::string_view text) { return metrics.Width(text); });

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(square, Qt::white);
  DrawLines(painter, frame, style, BoxGeometries(style)[layout.ascendant_box].ascendant_mark);
  TextPen pen(painter, frame, metrics);
  for (const BoxLayout& box : layout.boxes) {
    pen.Draw(box.label);
    for (const PlacedText& entry : box.entries) pen.Draw(entry);
  }
  for (const PlacedText& line : layout.centre) pen.Draw(line);
  painter.restore();
}

void PaintChartWithNavamsa(QPainter& painter, const QRectF& rect, const ChartFigure& birth,
                           ChartStyle style) {
  const double side = std::min(rect.width() / (2 + kPairGap), rect.height() / (1 + kCaptionBand));
  if (!(side > 0)) return;
  const QSizeF size(side * (2 + kPairGap), side * (1 + kCaptionBand));
  const QPointF origin = rect.center() - QPointF(size.width() / 2, size.height() / 2);

  painter.save();
  painter.fillRect(QRectF(origin, size), Qt::white);
  QFont font = ChartFont();
  const int dpi = painter.device() != nullptr ? painter.device()->logicalDpiY() : 96;
  font.setPointSizeF(kCaptionFontSize * side * 72.0 / (dpi > 0 ? dpi : 96));
  painter.setFont(font);
  painter.setPen(kLineColour);
  const double second = side * (1 + kPairGap);
  const double band = side * kCaptionBand;
  painter.drawText(QRectF(origin, QSizeF(side, band)), Qt::AlignCenter,
                   QString::fromLatin1(kBirthChartCaption));
  painter.drawText(QRectF(origin + QPointF(second, 0), QSizeF(side, band)), Qt::AlignCenter,
                   QString::fromLatin1(kNavamsaCaption));
  painter.restore();

  PaintChart(painter, QRectF(origin + QPointF(0, band), QSizeF(side, side)), birth, style);
  PaintChart(painter, QRectF(origin + QPointF(second, band), QSizeF(side, side)),
             NavamsaFigure(birth), style);
}

QSizeF PictureSize(const PictureOptions& options) {
  const double side = options.chart_side;
  if (options.wheel) {
    const QSizeF wheel = WheelSize();
    return {side * wheel.width() / wheel.height(), side};
  }
  if (!options.with_navamsa) return {side, side};
  return {side * (2 + kPairGap), side * (1 + kCaptionBand)};
}

bool SetPictureStyle(std::string_view name, PictureOptions& options) {
  if (name == "wheel") {
    options.wheel = true;
    return true;
  }
  const std::optional<ChartStyle> style = ChartStyleFromName(name);
  if (!style) return false;
  options.wheel = false;
  options.style = *style;
  return true;
}

ChartFigure FigureOfModel(const ChartWindowModel& model) {
  ChartFigure figure;
  for (int i = 0; i < core::kPositionCount; ++i) {
    // A fresh window has no chart: its bodies are left undrawn rather than all put at 0° Aries.
    figure.bodies[i].longitude = model.has_positions ? model.positions.longitude[i].Degrees()
                                                     : std::numeric_limits<double>::quiet_NaN();
    figure.bodies[i].retrograde = model.positions.retrograde[i];
  }
  figure.name = model.chart_name;
  figure.date = model.chart_date;
  figure.time = model.chart_time;
  figure.place = model.chart_place;
  return figure;
}

namespace {

QByteArray SvgOf(const PictureSource& source, const PictureOptions& options) {
  if (!CanDraw(source, options) || !NeedsGui()) return {};
  const QSizeF size = PictureSize(options);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size.toSize());
  generator.setViewBox(QRectF(QPointF(0, 0), size));
  // A CSS pixel: the picture opens at its size in pixels, and texts keep their sizes.
  generator.setResolution(96);
  generator.setTitle(QStringLiteral("Chart"));
  generator.setDescription(QString::fromStdString(source.figure.name));
  {
    QPainter painter(&generator);
    PaintPicture(painter, source, options);
  }
  return buffer.data();
}

QImage ImageOf(const PictureSource& source, const PictureOptions& options) {
  if (!CanDraw(source, options) || !NeedsGui()) return {};
  const QSizeF device_size = PictureSize(options) * options.scale;
  QImage image(device_size.toSize(), QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(options.scale);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPicture(painter, source, options);
  return image;
}

core::Result<void> CheckDrawable(const PictureSource& source, const PictureOptions& options) {
  if (auto gui = NeedsGui(); !gui) return gui;
  if (!OptionsInRange(options)) return core::Fail("Cannot draw the chart at that size.");
  if (!CanDraw(source, options)) return core::Fail("The wheel needs the chart's houses.");
  return {};
}

core::Result<void> WriteSvg(const std::string& path, const PictureSource& source,
                            const PictureOptions& options) {
  if (auto drawable = CheckDrawable(source, options); !drawable) return drawable;
  const QByteArray svg = SvgOf(source, options);
  if (svg.isEmpty()) return core::Fail("Cannot draw the chart as SVG.");
  return WriteAtomically(path, svg);
}

core::Result<void> WritePng(const std::string& path, const PictureSource& source,
                            const PictureOptions& options) {
  if (auto drawable = CheckDrawable(source, options); !drawable) return drawable;
  const QImage image = ImageOf(source, options);
  if (image.isNull()) return core::Fail("Not enough memory to draw the chart at that size.");
  // Encoded in full before the file is touched: a failure here leaves the disk as it was.
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return core::Fail("Cannot encode the chart as PNG.");
  return WriteAtomically(path, png);
}

}  // namespace

QByteArray ChartSvg(const ChartFigure& figure, const PictureOptions& options) {
  return SvgOf({figure}, options);
}

QImage ChartImage(const ChartFigure& figure, const PictureOptions& options) {
  return ImageOf({figure}, options);
}

QByteArray ChartSvg(const ChartWindowModel& model, const PictureOptions& options) {
  const ChartFigure figure = FigureOfModel(model);
  return SvgOf({figure, &model}, options);
}

QImage ChartImage(const ChartWindowModel& model, const PictureOptions& options) {
  const ChartFigure figure = FigureOfModel(model);
  return ImageOf({figure, &model}, options);
}

core::Result<void> WriteChartSvg(const std::string& path, const ChartFigure& figure,
                                 const PictureOptions& options) {
  return WriteSvg(path, {figure}, options);
}

core::Result<void> WriteChartPng(const std::string& path, const ChartFigure& figure,
                                 const PictureOptions& options) {
  return WritePng(path, {figure}, options);
}

core::Result<void> WriteChartSvg(const std::string& path, const ChartWindowModel& model,
                                 const PictureOptions& options) {
  const ChartFigure figure = FigureOfModel(model);
  return WriteSvg(path, {figure, &model}, options);
}

core::Result<void> WriteChartPng(const std::string& path, const ChartWindowModel& model,
                                 const PictureOptions& options) {
  const ChartFigure figure = FigureOfModel(model);
  return WritePng(path, {figure, &model}, options);
}

}  // namespace solvane::display
