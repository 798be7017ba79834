// How long drawing one chart takes: an Indian square chart's layout alone, and with the painting
// into a 600 x 600 image (what the chart window does on every repaint); the wheel painted the
// same way; and a whole SVG picture of each style, as solvane-chart --svg makes it.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "display/chart_style.h"
#include "display/chart_style_painter.h"
#include "display/wheel_painter.h"
#include "entry/sample.h"
#include "run/chart_run.h"

namespace solvane::display {
namespace {

// A busy chart: degrees shown, outer planets on, three planets and the Ascendant in one sign.
ChartFigure BusyFigure() {
  ChartFigure figure;
  const double longitudes[core::kPositionCount] = {138.4, 262.9, 121.7, 101.2, 173.6, 161.0, 157.3,
                                                   213.5, 239.8, 170.9, 136.2, 45.0,  99.8,  279.8};
  for (int body = 0; body < core::kPositionCount; ++body)
    figure.bodies[body] = {longitudes[body], body == core::kSaturn || body == core::kRahu};
  figure.name = "ASHA RAO";
  figure.date = "15 August 1980";
  figure.time = "06:30";
  figure.place = "New Delhi, India";
  figure.show_degrees = true;
  figure.show_outer_planets = true;
  return figure;
}

void BM_LayoutChart(benchmark::State& state) {
  const ChartStyle style = kChartStyles[state.range(0)];
  const ChartFigure figure = BusyFigure();
  // A width function as cheap as a cached one, to time the layout itself.
  const TextWidth width = [](std::string_view text) { return 0.6 * text.size(); };
  for (auto _ : state) benchmark::DoNotOptimize(LayoutChart(figure, style, width));
  state.SetLabel(std::string(ChartStyleName(style)));
}
BENCHMARK(BM_LayoutChart)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_PaintChart600(benchmark::State& state) {
  const ChartStyle style = kChartStyles[state.range(0)];
  const ChartFigure figure = BusyFigure();
  QImage image(600, 600, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    PaintChart(painter, QRectF(0, 0, 600, 600), figure, style);
  }
  state.SetLabel(std::string(ChartStyleName(style)));
}
BENCHMARK(BM_PaintChart600)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);  // mean, median and spread of the nine runs

// The chart window of the program's sample birth: the wheel needs its houses.
ChartWindowModel SampleModel() {
  core::ChartState state;
  ChartWindowModel model;
  run::RunChart(entry::SampleBirth(), EnglishMonthName, state, model);
  return model;
}

void BM_PaintWheel600(benchmark::State& state) {
  const ChartWindowModel model = SampleModel();
  QImage image(626, 600, QImage::Format_ARGB32_Premultiplied);  // the wheel's proportions
  for (auto _ : state) {
    QPainter painter(&image);
    PaintWheelChart(painter, QRectF(0, 0, 626, 600), model);
  }
}
BENCHMARK(BM_PaintWheel600)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// 0 is the wheel; 1..3 the square styles, in kChartStyles' order.
void BM_ChartSvg(benchmark::State& state) {
  const ChartWindowModel model = SampleModel();
  PictureOptions options;
  options.wheel = state.range(0) == 0;
  if (!options.wheel) options.style = kChartStyles[state.range(0) - 1];
  for (auto _ : state) benchmark::DoNotOptimize(ChartSvg(model, options));
  state.SetLabel(options.wheel ? "wheel" : std::string(ChartStyleName(options.style)));
}
BENCHMARK(BM_ChartSvg)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace solvane::display
