// The chart sheet as PDF: page 1 with the birth data, the positions, the birth chart beside its
// navamsa and the periods; then the house report with its coloured headings. Vector drawing, fonts
// embedded, text selectable. Qt Gui only, so that the command line can write it without a display;
// a QGuiApplication must exist (the offscreen platform will do).
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QPageSize>
#include <optional>
#include <string>

#include "core/result.h"
#include "display/chart_sheet_model.h"
#include "display/chart_style.h"

namespace solvane::display {

// Letter where the locale's country prints on it (the United States, Canada, Mexico, much of
// Central and South America, the Philippines), else A4.
QPageSize::PageSizeId SheetPageSize(const QLocale& locale);

struct SheetInput {
  SheetSource source;
  // The birth chart's style; none draws the round wheel, with the navamsa beside it in the South
  // Indian style.
  std::optional<ChartStyle> square_style;
  QPageSize::PageSizeId page_size = SheetPageSize(QLocale::system());
};

// The whole sheet as the bytes of a PDF file.
core::Result<QByteArray> ChartSheetPdf(const SheetInput& input);

// Writes the sheet to `path` through a temporary file renamed into place, so that a failed write
// leaves any file already there whole.
core::Result<void> WriteChartSheetPdf(const std::string& path, const SheetInput& input);

}  // namespace solvane::display
