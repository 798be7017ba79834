// Draws the Indian square charts with QPainter: the one drawing code of the chart window, the PDF
// sheet and the picture files. Qt Gui only, so that the command line can draw without a display;
// every function here needs a QGuiApplication (the offscreen platform will do) for its fonts.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <string>

#include "core/result.h"
#include "display/chart_style.h"
#include "display/chart_window_model.h"

class QPainter;

namespace solvane::display {

inline constexpr const char* kBirthChartCaption = "Birth chart (D1)";
inline constexpr const char* kNavamsaCaption = "Navamsa (D9)";

// Where PaintChart maps the unit square of the chart's geometry: inside the largest square
// centred in `rect`, with a little white round it. (For finding the box under the mouse.)
QRectF ChartFrame(const QRectF& rect);

// The chart, on white, in the largest square centred in `rect` (painter coordinates).
void PaintChart(QPainter& painter, const QRectF& rect, const ChartFigure& figure, ChartStyle style);

// The birth chart and its navamsa side by side, each under its caption, as large as `rect` allows
// and centred in it.
void PaintChartWithNavamsa(QPainter& painter, const QRectF& rect, const ChartFigure& birth,
                           ChartStyle style);

struct PictureOptions {
  ChartStyle style = ChartStyle::kSouthIndian;
  bool with_navamsa = false;  // the birth chart and its navamsa side by side (square styles)
  double chart_side = 600;    // logical pixels: the side of one chart; the wheel's height
  double scale = 1;           // PNG only: device pixels per logical pixel (2 for 200%)
  // The round wheel instead of `style`. It needs the chart window's houses, so only the functions
  // given a ChartWindowModel draw it; the wheel has no navamsa beside it.
  bool wheel = false;
};

// "wheel", "south", "north" or "east" (the command line's and the settings' names) into `options`;
// false, leaving them as they were, for any other name.
bool SetPictureStyle(std::string_view name, PictureOptions& options);

// The chart as the square charts draw it, from the chart window's numbers and captions; bodies of
// a window that has no chart yet are left undrawn.
ChartFigure FigureOfModel(const ChartWindowModel& model);

// Logical size of the picture: one chart's square, the pair with its captions, or the wheel.
QSizeF PictureSize(const PictureOptions& options);

// The picture as SVG (vector; its texts are text), or as an image of PictureSize() * scale device
// pixels (a null image when the options are out of range: side 1..20000, scale 0.1..16). Given a
// figure alone, the wheel is not drawn (an empty result).
QByteArray ChartSvg(const ChartFigure& figure, const PictureOptions& options);
QImage ChartImage(const ChartFigure& figure, const PictureOptions& options);
QByteArray ChartSvg(const ChartWindowModel& model, const PictureOptions& options);
QImage ChartImage(const ChartWindowModel& model, const PictureOptions& options);

// Writes the picture to `path` through a temporary file renamed into place, so that a failed write
// leaves any file already there as it was.
core::Result<void> WriteChartSvg(const std::string& path, const ChartFigure& figure,
                                 const PictureOptions& options);
core::Result<void> WriteChartPng(const std::string& path, const ChartFigure& figure,
                                 const PictureOptions& options);
core::Result<void> WriteChartSvg(const std::string& path, const ChartWindowModel& model,
                                 const PictureOptions& options);
core::Result<void> WriteChartPng(const std::string& path, const ChartWindowModel& model,
                                 const PictureOptions& options);

}  // namespace solvane::display
