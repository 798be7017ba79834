// The round chart wheel drawn with QPainter: the wheel picture, each house's box of bodies, the
// sign glyphs and the house numbers, where the chart window puts them. One drawing code for the
// picture files, the PDF sheet and anything else that wants the wheel off the screen. Qt Gui and
// Svg only; a QGuiApplication must exist (the offscreen platform will do) for the fonts.
#pragma once

#include <QRectF>
#include <QSizeF>

#include "display/chart_window_model.h"

class QPainter;

namespace solvane::display {

// The wheel's own size in logical pixels, as the chart window shows it (452 x 433).
QSizeF WheelSize();

// The wheel of `model`, on white, as large as `rect` allows with its own proportions and centred in
// it. A house box's bodies are its "\r\n"-separated lines; a glyph entry outside 1..12 is left out.
void PaintWheelChart(QPainter& painter, const QRectF& rect, const display::ChartWindowModel& model);

// Registers the wheel picture and the sign glyphs (":/wheel.svg", ":/signs/aries.svg", ...) that
// the painter library carries; PaintWheelChart does it itself. Safe to call any number of times.
void EnsureWheelResources();

}  // namespace solvane::display
