// The Indian square charts (South, North and East Indian): where each sign's or house's box lies in
// a unit square and how its entries are laid out in it. The drawing code only scales and paints
// what this model decides.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart_state.h"

namespace solvane::display {

enum class ChartStyle { kSouthIndian, kNorthIndian, kEastIndian };
inline constexpr std::array<ChartStyle, 3> kChartStyles = {
    ChartStyle::kSouthIndian, ChartStyle::kNorthIndian, ChartStyle::kEastIndian};

// "south", "north", "east": the style's name on the command line and in settings.
std::string_view ChartStyleName(ChartStyle style);
std::optional<ChartStyle> ChartStyleFromName(std::string_view name);

// ---- What is drawn ----

struct FigureBody {
  double longitude = 0;  // sidereal, degrees; a non-finite value is not drawn
  bool retrograde = false;
};

struct ChartFigure {
  // Indexed by `core::Body`. The Ascendant's entry is the Ascendant; the Midheaven is not drawn.
  std::array<FigureBody, core::kPositionCount> bodies{};
  // Shown in the centre of the South Indian chart, one line each; empty lines are left out.
  std::string name, date, time, place;
  bool show_degrees = false;        // "Su 19°": whole degrees within the sign, truncated
  bool show_outer_planets = false;  // Uranus, Neptune and Pluto
};

// Navamsa (D9) sign 0..11 of a sidereal longitude in degrees: floor(longitude / 3°20') mod 12.
int NavamsaSign(double longitude);
// The longitude a body takes in the navamsa chart: its navamsa sign, and within it the fraction of
// its navamsa stretched over the 30° of the sign (so bodies keep their order within a sign).
double NavamsaLongitude(double longitude);
// The navamsa chart of a figure: every body (and the Ascendant) at its navamsa longitude; texts,
// retrograde marks and the outer planets' option as they are. Degrees are not shown: a degree
// within a navamsa sign is not a position readers look for.
ChartFigure NavamsaFigure(const ChartFigure& birth);

// ---- Geometry, in a unit square: x to the right, y downwards ----
// (Unit* names: the wheel's pixel geometry in this namespace has a Point of its own.)

struct UnitPoint {
  double x = 0, y = 0;
  friend bool operator==(const UnitPoint&, const UnitPoint&) = default;
};
struct UnitRect {
  double x = 0, y = 0, width = 0, height = 0;
  double Right() const { return x + width; }
  double Bottom() const { return y + height; }
};
struct UnitSegment {
  UnitPoint from, to;
};
using UnitPolygon = std::vector<UnitPoint>;  // convex

inline constexpr int kBoxCount = 12;

// One box of a chart. Box k holds sign k (Aries 0) in the South and East Indian styles and house
// k + 1 in the North Indian style.
struct BoxGeometry {
  UnitPolygon outline;
  // Rectangles inside the outline, clear of the label and the Ascendant's mark, that the entries
  // may be laid out in: the first suits a few entries; a squarer one may suit a crowd better.
  std::vector<UnitRect> entry_areas;
  UnitPoint label_anchor;  // centre of the box's label
  // The diagonal across a corner that marks the Ascendant's box; none in the North Indian style,
  // whose first house is always the Ascendant's.
  std::optional<UnitSegment> ascendant_mark;
};

const std::array<BoxGeometry, kBoxCount>& BoxGeometries(ChartStyle style);
// The chart's lines, each drawn once: the outer square and the lines between the boxes.
const std::vector<UnitSegment>& FrameLines(ChartStyle style);
// Where the South Indian chart writes the name, date, time and place; none in the other styles.
std::optional<UnitRect> CentreArea(ChartStyle style);

// The box that holds `sign` (0..11), and the sign a box holds, for an Ascendant in
// `ascendant_sign`.
int BoxOfSign(ChartStyle style, int sign, int ascendant_sign);
int SignOfBox(ChartStyle style, int box, int ascendant_sign);

// ---- Layout ----

// Advance width of `text` (UTF-8) at font size 1, in the same unit as the font size.
using TextWidth = std::function<double(std::string_view text)>;

enum class TextRole { kPlanet, kAscendant, kSignLabel, kCentre };

struct BoxEntry {
  std::string text;  // "Su", "Su 19°", "Sa(R)", "Asc"
  TextRole role = TextRole::kPlanet;
};

// A text placed in the unit square; `bounds` is its advance width by one line height, and the text
// is drawn vertically centred in it.
struct PlacedText {
  std::string text;
  UnitRect bounds;
  double font_size = 0;  // unit-square units (the painter multiplies by the chart's side)
  TextRole role = TextRole::kPlanet;
};

struct BoxLayout {
  int sign = 0;
  UnitRect area;  // the entry area taken: the one that gave the largest font
  std::vector<PlacedText> entries;
  PlacedText label;  // sign abbreviation (South, East) or sign number, Aries 1 (North)
  bool fits = true;  // false only if no font size made the entries fit (a broken TextWidth)
};

struct ChartLayout {
  ChartStyle style = ChartStyle::kSouthIndian;
  int ascendant_sign = 0;
  int ascendant_box = 0;
  std::array<BoxLayout, kBoxCount> boxes;
  std::vector<PlacedText> centre;  // South Indian only
};

// Every sign's entries in zodiacal order (by longitude; at equal longitudes the Ascendant first,
// then Su Mo Ma Me Ju Ve Sa Ra Ke Ur Ne Pl), indexed by sign.
std::array<std::vector<BoxEntry>, kBoxCount> EntriesBySign(const ChartFigure& figure);

// Places `entries` in rows inside `area`, each row centred and the rows centred as a block,
// starting at `font_size` and shrinking until every entry fits whole and no two overlap.
std::vector<PlacedText> LayoutEntries(const std::vector<BoxEntry>& entries, const UnitRect& area,
                                      double font_size, const TextWidth& width, bool* fits);

ChartLayout LayoutChart(const ChartFigure& figure, ChartStyle style, const TextWidth& width);

// Sizes of the texts in unit-square units.
inline constexpr double kLabelFontSize = 0.02;
inline constexpr double kCentreFontSize = 0.034;
inline constexpr double kLineHeightEm = 1.25;  // a row's height, in font sizes
double EntryFontSize(ChartStyle style);

}  // namespace solvane::display
