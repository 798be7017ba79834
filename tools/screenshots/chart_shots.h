// Pictures of the chart window in the square chart styles, for the README.
#pragma once

#include <QString>

namespace solvane::screenshots {

// Writes `folder`/chart-south<suffix>.png, chart-north and chart-east (the chart window of the
// sample birth in each style with the navamsa beside), and chart-precise<suffix>.png (the wheel
// charted with the precise engine). Needs a QApplication; the user's chart settings are put back
// as they were. Each picture's file is printed, or why it could not be written.
void ShootChartStyles(const QString& folder, const QString& suffix);

}  // namespace solvane::screenshots
