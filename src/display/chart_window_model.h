// What the chart window shows, as texts: the detail and sign panels, the positions table and the
// twelve-house wheel. The window copies these into its widgets; every decision is made here.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/chart_state.h"
#include "entry/form_rules.h"
#include "report/house_report.h"
#include "report/rich_text.h"

namespace solvane::display {

inline constexpr int kSignCount = 12;
inline constexpr int kPositionRows = 11;  // Sun..Pluto and the Ascendant

// Month name for 1..12 in the user's language; the desktop program passes the system locale's.
using MonthNameProvider = std::function<std::string(int month)>;
std::string EnglishMonthName(int month);

// Sign names as the sign boxes show them at load, Aries first.
extern const std::array<const char*, kSignCount> kSignBoxNames;

// Member names are the controls' names; a control array is a std::array indexed like it.
struct ChartWindowModel {
  // "Your Details": placeholders until a run writes them.
  std::string lblName = "Name", lblDOB = "Date", lblTOB = "Time", lblLatitude = "Latitude",
              lblLongitude = "Longitude", lblCity = "City", lblState = "State",
              lblCountry = "Country";
  // "Other Details" and "Planetary Positions": empty in a fresh window.
  std::string lblSunSign, lblLagna, lblRashi;
  std::array<std::string, kPositionRows> lblPlanet;

  // Sign boxes (lblNatalAries .. lblNatalPisces), scratch lists hidden once the wheel is arranged.
  std::array<std::string, kSignCount> sign_boxes = {};
  bool sign_boxes_visible = true;
  // House boxes, house k + 1 in lblNatal[k]; lines are "\r\n"-separated.
  std::array<std::string, kSignCount> lblNatal;
  // Sign glyph of house k + 1: entry 1 (Aries) .. 12 (Pisces) of the glyph list, 0 while unset.
  std::array<int, kSignCount> imgSign = {};

  // The house report as inserted into the report box, piece by piece with its format.
  std::vector<report::RichTextPiece> RTBHouseDesc;
  // Where the report placed each planet, and its sections in order.
  report::HousePlacement report_houses;

  // The chart as numbers, for the Indian chart styles and the periods tab: false in a fresh window,
  // whose positions mean nothing yet.
  bool has_positions = false;
  core::EnginePositions positions;
  std::string engine;    // the engine's name: "classic", "precise"
  double birth_day = 0;  // local day number: days since 1970-01-01 00:00 of the birth's clock
  // The birth as the square charts caption it: "Asha", "4 July 1980", "09:05", "Delhi, India".
  std::string chart_name, chart_date, chart_time, chart_place;

  ChartWindowModel();
};

// Positions table (rows 0..10), Moon sign, Sun sign and Ascendant. A sign label keeps its text when
// the abbreviation it is looked up by matches no sign.
void FillPositionsPanel(const core::ChartState& state, ChartWindowModel& window);

// Name, date and time of birth, coordinates and place, from the birth, the hemisphere options and
// the place boxes of the form. Numbers without leading zeros: 9:5, 28° 36' N.
void FillBirthDetails(const core::ChartState& state, const entry::BirthFormSnapshot& form,
                      const MonthNameProvider& month_name, ChartWindowModel& window);

// The positions, engine, birth day number and caption texts. Empty place boxes are left out of
// the place; a month without a name leaves the date as day and year.
void FillChartNumbers(const core::ChartState& state, const entry::BirthFormSnapshot& form,
                      const MonthNameProvider& month_name, ChartWindowModel& window);

// Empties the twelve sign boxes.
void ClearSignBoxes(ChartWindowModel& window);

// Appends "\r\n" and the label of each of Sun..Saturn (retrograde marks included) to the box of
// its sign, in body order, then "\r\n" "Asc" to the Ascendant's sign box.
void PlaceBodiesInSigns(const core::ChartState& state, ChartWindowModel& window);

// Moves the sign boxes into the house boxes starting from the Ascendant's sign (whole signs), sets
// the glyphs and hides the sign boxes.
void ArrangeHouseWheel(const core::ChartState& state, ChartWindowModel& window);

}  // namespace solvane::display
