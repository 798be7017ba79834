// Pictures of the entry form's birth moment for the README: the place finder listing the places
// called Mumbai, and the form with one of them picked and its zone suggested.
#pragma once

#include <QString>

namespace solvane::screenshots {

// Writes `folder`/entry-suggestion<suffix>.png and `folder`/place-finder<suffix>.png, saying on
// standard output what it wrote. Needs a running QApplication; the scale is the application's.
void ShootEntryMoment(const QString& folder, const QString& suffix);

}  // namespace solvane::screenshots
