#include "display/chart_style.h"

#include <algorithm>
#include <cmath>

#include "core/angle.h"
#include "core/zodiac.h"

namespace solvane::display {
namespace {

constexpr int kSigns = core::kSignCount;
constexpr double kCell4 = 0.25;         // unit square: side of a South Indian box
constexpr double kCell3 = 1.0 / 3.0;    // unit square: side of an East Indian box
constexpr double kPad = 0.012;          // unit square: room between the texts and the lines
constexpr double kStripHeight = 0.044;  // unit square: top strip of a square box (mark and label)
constexpr double kMarkLeg = 0.042;  // unit square: legs of the corner cut that marks the Ascendant
constexpr double kLabelInset = 0.036;   // unit square: label centre from a square box's right side
constexpr double kEntryGapEm = 0.6;     // between two entries of a row, in font sizes
constexpr double kShrinkFactor = 0.92;  // font size kept per step when the entries do not fit
constexpr int kMaxShrinkSteps = 80;     // 0.92^80: 1/800 of the starting size

// ---- Geometry helpers ----

UnitPoint MirrorX(UnitPoint p) { return {1 - p.x, p.y}; }
UnitPoint MirrorY(UnitPoint p) { return {p.x, 1 - p.y}; }

// The box mirrored left to right (`x`) and/or top to bottom (`y`) about the unit square's middle.
BoxGeometry Mirrored(const BoxGeometry& box, bool x, bool y) {
  auto point = [x, y](UnitPoint p) {
    if (x) p = MirrorX(p);
    if (y) p = MirrorY(p);
    return p;
  };
  BoxGeometry out;
  for (const UnitPoint& p : box.outline) out.outline.push_back(point(p));
  for (UnitRect r : box.entry_areas) {
    if (x) r.x = 1 - r.x - r.width;
    if (y) r.y = 1 - r.y - r.height;
    out.entry_areas.push_back(r);
  }
  out.label_anchor = point(box.label_anchor);
  if (box.ascendant_mark)
    out.ascendant_mark =
        UnitSegment{point(box.ascendant_mark->from), point(box.ascendant_mark->to)};
  return out;
}

// A square box with its top-left corner at (x, y): the mark cuts the top-left corner, the label
// sits at the top right, the entries below them.
BoxGeometry SquareBox(double x, double y, double side) {
  BoxGeometry box;
  box.outline = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
  box.entry_areas = {{x + kPad, y + kStripHeight, side - 2 * kPad, side - kStripHeight - kPad}};
  box.label_anchor = {x + side - kLabelInset, y + kStripHeight / 2};
  box.ascendant_mark = UnitSegment{{x, y + kMarkLeg}, {x + kMarkLeg, y}};
  return box;
}

std::array<BoxGeometry, kBoxCount> SouthIndianBoxes() {
  // (row, column) of each sign, Aries first: clockwise from Pisces in the top-left corner.
  static constexpr int kCells[kSigns][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3},
                                            {3, 2}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};
  std::array<BoxGeometry, kBoxCount> boxes;
  for (int sign = 0; sign < kSigns; ++sign)
    boxes[sign] = SquareBox(kCells[sign][1] * kCell4, kCells[sign][0] * kCell4, kCell4);
  return boxes;
}

// The North Indian houses are four shapes, each drawn once and mirrored into the other places
// (all figures in unit-square units). The entry areas lie toward the outside of the chart; the
// sign number sits near the vertex that points to the centre, where readers look for it.
std::array<BoxGeometry, kBoxCount> NorthIndianBoxes() {
  const BoxGeometry top_diamond{{{0.5, 0}, {0.75, 0.25}, {0.5, 0.5}, {0.25, 0.25}},
                                {{0.375, 0.14, 0.25, 0.22}},
                                {0.5, 0.42},
                                std::nullopt};
  const BoxGeometry top_left{{{0, 0}, {0.5, 0}, {0.25, 0.25}},
                             {{0.135, kPad, 0.23, 0.108}, {0.177, kPad, 0.146, 0.15}},
                             {0.25, 0.2},
                             std::nullopt};
  const BoxGeometry left_upper{{{0, 0}, {0.25, 0.25}, {0, 0.5}},
                               {{kPad, 0.165, 0.138, 0.17}, {kPad, 0.187, 0.16, 0.126}},
                               {0.2, 0.25},
                               std::nullopt};
  const BoxGeometry left_diamond{{{0, 0.5}, {0.25, 0.25}, {0.5, 0.5}, {0.25, 0.75}},
                                 {{0.1, 0.415, 0.27, 0.17}},
                                 {0.42, 0.5},
                                 std::nullopt};
  return {top_diamond,                          // 1
          top_left,                             // 2
          left_upper,                           // 3
          left_diamond,                         // 4
          Mirrored(left_upper, false, true),    // 5: left lower
          Mirrored(top_left, false, true),      // 6: bottom left
          Mirrored(top_diamond, false, true),   // 7: bottom diamond
          Mirrored(top_left, true, true),       // 8: bottom right
          Mirrored(left_upper, true, true),     // 9: right lower
          Mirrored(left_diamond, true, false),  // 10: right diamond
          Mirrored(left_upper, true, false),    // 11: right upper
          Mirrored(top_left, true, false)};     // 12: top right
}

// The corner boxes are halved by the diagonal from the chart's corner. Taurus, the half of the
// top-left box next to Aries, is drawn once; Gemini is its turn by half a circle within that box,
// and the other corners are mirror images (all figures in unit-square units).
std::array<BoxGeometry, kBoxCount> EastIndianBoxes() {
  // Both areas sit in the right angle, the second as a square (the largest rectangle there).
  const BoxGeometry taurus{
      {{0, 0}, {kCell3, 0}, {kCell3, kCell3}},
      {{kCell3 - kPad - 0.18, kPad, 0.18, 0.11}, {kCell3 - kPad - 0.145, kPad, 0.145, 0.145}},
      {0.295, 0.235},
      UnitSegment{{0.08, 0}, {0.04, 0.04}}};
  auto turned = [](UnitPoint p) { return UnitPoint{kCell3 - p.x, kCell3 - p.y}; };
  BoxGeometry gemini;
  for (const UnitPoint& p : taurus.outline) gemini.outline.push_back(turned(p));
  for (const UnitRect& t : taurus.entry_areas)
    gemini.entry_areas.push_back({kCell3 - t.Right(), kCell3 - t.Bottom(), t.width, t.height});
  gemini.label_anchor = turned(taurus.label_anchor);
  gemini.ascendant_mark =
      UnitSegment{turned(taurus.ascendant_mark->from), turned(taurus.ascendant_mark->to)};
  return {SquareBox(kCell3, 0, kCell3),           // Aries: top middle
          taurus,                                 // Taurus
          gemini,                                 // Gemini
          SquareBox(0, kCell3, kCell3),           // Cancer: left middle
          Mirrored(gemini, false, true),          // Leo: bottom-left box, next to Cancer
          Mirrored(taurus, false, true),          // Virgo
          SquareBox(kCell3, 2 * kCell3, kCell3),  // Libra: bottom middle
          Mirrored(taurus, true, true),           // Scorpio: bottom-right box, next to Libra
          Mirrored(gemini, true, true),           // Sagittarius
          SquareBox(2 * kCell3, kCell3, kCell3),  // Capricorn: right middle
          Mirrored(gemini, true, false),          // Aquarius: top-right box
          Mirrored(taurus, true, false)};         // Pisces
}

std::vector<UnitSegment> Square() {
  return {{{0, 0}, {1, 0}}, {{1, 0}, {1, 1}}, {{1, 1}, {0, 1}}, {{0, 1}, {0, 0}}};
}

std::vector<UnitSegment> SouthIndianLines() {
  std::vector<UnitSegment> lines = Square();
  for (double at : {kCell4, 3 * kCell4}) {
    lines.push_back({{0, at}, {1, at}});
    lines.push_back({{at, 0}, {at, 1}});
  }
  // The middle lines stop at the centre block.
  lines.push_back({{0, 0.5}, {kCell4, 0.5}});
  lines.push_back({{3 * kCell4, 0.5}, {1, 0.5}});
  lines.push_back({{0.5, 0}, {0.5, kCell4}});
  lines.push_back({{0.5, 3 * kCell4}, {0.5, 1}});
  return lines;
}

std::vector<UnitSegment> NorthIndianLines() {
  std::vector<UnitSegment> lines = Square();
  lines.push_back({{0, 0}, {1, 1}});
  lines.push_back({{1, 0}, {0, 1}});
  const UnitPoint top{0.5, 0}, right{1, 0.5}, bottom{0.5, 1}, left{0, 0.5};
  lines.push_back({top, right});
  lines.push_back({right, bottom});
  lines.push_back({bottom, left});
  lines.push_back({left, top});
  return lines;
}

std::vector<UnitSegment> EastIndianLines() {
  std::vector<UnitSegment> lines = Square();
  for (double at : {kCell3, 2 * kCell3}) {
    lines.push_back({{0, at}, {1, at}});
    lines.push_back({{at, 0}, {at, 1}});
  }
  lines.push_back({{0, 0}, {kCell3, kCell3}});
  lines.push_back({{1, 0}, {2 * kCell3, kCell3}});
  lines.push_back({{0, 1}, {kCell3, 2 * kCell3}});
  lines.push_back({{1, 1}, {2 * kCell3, 2 * kCell3}});
  return lines;
}

int Wrap12(int value) { return ((value % kSigns) + kSigns) % kSigns; }

// ---- Entries ----

std::string EntryText(core::Body body, const FigureBody& position, double in_sign,
                      bool show_degrees) {
  std::string text(core::kBodyCodes[body]);
  if (show_degrees) {
    text += ' ';
    text += std::to_string(static_cast<int>(in_sign));
    text += core::kDegreeSign;
  }
  if (position.retrograde && body != core::kAscendant) text += "(R)";
  return text;
}

// An entry wider than the area gets a row of its own and clears `all_fit`.
std::vector<std::vector<int>> WrapRows(const std::vector<double>& widths, double gap,
                                       double area_width, bool& all_fit) {
  std::vector<std::vector<int>> rows;
  double used = 0;
  all_fit = true;
  for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
    if (widths[i] > area_width) all_fit = false;
    if (!rows.empty() && used + gap + widths[i] <= area_width) {
      used += gap + widths[i];
      rows.back().push_back(i);
    } else {
      rows.push_back({i});
      used = widths[i];
    }
  }
  return rows;
}

PlacedText LabelAt(std::string text, UnitPoint centre, const TextWidth& width) {
  const double w = width(text) * kLabelFontSize;
  const double h = kLineHeightEm * kLabelFontSize;
  return {std::move(text),
          {centre.x - w / 2, centre.y - h / 2, w, h},
          kLabelFontSize,
          TextRole::kSignLabel};
}

// Name, date, time and place, one line each, centred; a line too wide for the area is set smaller.
std::vector<PlacedText> LayoutCentre(const ChartFigure& figure, const UnitRect& area,
                                     const TextWidth& width) {
  std::vector<PlacedText> lines;
  for (const std::string* text : {&figure.name, &figure.date, &figure.time, &figure.place}) {
    if (text->empty()) continue;
    const double em = width(*text);
    const double size = em > 0 ? std::min(kCentreFontSize, area.width / em) : kCentreFontSize;
    lines.push_back(
        {*text, {0, 0, em * size, kLineHeightEm * kCentreFontSize}, size, TextRole::kCentre});
  }
  const double line = kLineHeightEm * kCentreFontSize;
  double y = area.y + (area.height - line * static_cast<double>(lines.size())) / 2;
  for (PlacedText& placed : lines) {
    placed.bounds.x = area.x + (area.width - placed.bounds.width) / 2;
    placed.bounds.y = y;
    y += line;
  }
  return lines;
}

// Lays the entries out in each of the areas and keeps the layout with the largest font that fits;
// the earlier area wins a tie.
void LayoutInBestArea(const std::vector<BoxEntry>& entries, const std::vector<UnitRect>& areas,
                      double font_size, const TextWidth& width, BoxLayout& out) {
  for (size_t i = 0; i < areas.size(); ++i) {
    bool fits = false;
    std::vector<PlacedText> placed = LayoutEntries(entries, areas[i], font_size, width, &fits);
    const bool larger = !placed.empty() && !out.entries.empty() &&
                        placed.front().font_size > out.entries.front().font_size;
    if (i == 0 || (fits && (!out.fits || larger))) {
      out.area = areas[i];
      out.entries = std::move(placed);
      out.fits = fits;
    }
  }
}

}  // namespace

std::string_view ChartStyleName(ChartStyle style) {
  switch (style) {
    case ChartStyle::kNorthIndian:
      return "north";
    case ChartStyle::kEastIndian:
      return "east";
    case ChartStyle::kSouthIndian:
      break;
  }
  return "south";
}

std::optional<ChartStyle> ChartStyleFromName(std::string_view name) {
  for (ChartStyle style : kChartStyles)
    if (ChartStyleName(style) == name) return style;
  return std::nullopt;
}

int NavamsaSign(double longitude) {
  if (!std::isfinite(longitude)) return -1;
  // Three navamsas per ten degrees; multiplying first keeps the exact boundaries (20° is the
  // seventh navamsa's start) exact, where dividing by 3°20' would land just below them.
  const double navamsas = core::WrapDegrees(longitude) * 3 / 10;
  return static_cast<int>(std::floor(navamsas)) % kSigns;
}

double NavamsaLongitude(double longitude) {
  if (!std::isfinite(longitude)) return longitude;
  const double navamsas = core::WrapDegrees(longitude) * 3 / 10;
  const double whole = std::floor(navamsas);
  const double in_sign = std::min((navamsas - whole) * core::kDegreesPerSign,
                                  std::nextafter(core::kDegreesPerSign, 0.0));
  return (static_cast<int>(whole) % kSigns) * core::kDegreesPerSign + in_sign;
}

ChartFigure NavamsaFigure(const ChartFigure& birth) {
  ChartFigure navamsa = birth;
  navamsa.show_degrees = false;
  for (FigureBody& body : navamsa.bodies) body.longitude = NavamsaLongitude(body.longitude);
  return navamsa;
}

const std::array<BoxGeometry, kBoxCount>& BoxGeometries(ChartStyle style) {
  static const std::array<BoxGeometry, kBoxCount> south = SouthIndianBoxes();
  static const std::array<BoxGeometry, kBoxCount> north = NorthIndianBoxes();
  static const std::array<BoxGeometry, kBoxCount> east = EastIndianBoxes();
  switch (style) {
    case ChartStyle::kNorthIndian:
      return north;
    case ChartStyle::kEastIndian:
      return east;
    case ChartStyle::kSouthIndian:
      break;
  }
  return south;
}

const std::vector<UnitSegment>& FrameLines(ChartStyle style) {
  static const std::vector<UnitSegment> south = SouthIndianLines();
  static const std::vector<UnitSegment> north = NorthIndianLines();
  static const std::vector<UnitSegment> east = EastIndianLines();
  switch (style) {
    case ChartStyle::kNorthIndian:
      return north;
    case ChartStyle::kEastIndian:
      return east;
    case ChartStyle::kSouthIndian:
      break;
  }
  return south;
}

std::optional<UnitRect> CentreArea(ChartStyle style) {
  if (style != ChartStyle::kSouthIndian) return std::nullopt;
  return UnitRect{kCell4 + kPad, kCell4 + kPad, 2 * (kCell4 - kPad), 2 * (kCell4 - kPad)};
}

int BoxOfSign(ChartStyle style, int sign, int ascendant_sign) {
  if (style == ChartStyle::kNorthIndian) return Wrap12(sign - ascendant_sign);
  return Wrap12(sign);
}

int SignOfBox(ChartStyle style, int box, int ascendant_sign) {
  if (style == ChartStyle::kNorthIndian) return Wrap12(box + ascendant_sign);
  return Wrap12(box);
}

double EntryFontSize(ChartStyle style) {
  switch (style) {
    case ChartStyle::kNorthIndian:
    case ChartStyle::kEastIndian:
      return 0.028;
    case ChartStyle::kSouthIndian:
      break;
  }
  return 0.03;
}

std::array<std::vector<BoxEntry>, kBoxCount> EntriesBySign(const ChartFigure& figure) {
  // The order of the grahas as Indian charts list them; it breaks ties of equal longitude.
  static constexpr core::Body kOrder[] = {
      core::kAscendant, core::kSun,     core::kMoon,   core::kMars, core::kMercury,
      core::kJupiter,   core::kVenus,   core::kSaturn, core::kRahu, core::kKetu,
      core::kUranus,    core::kNeptune, core::kPluto};
  struct Item {
    double in_sign;
    BoxEntry entry;
  };
  std::array<std::vector<Item>, kBoxCount> items;
  for (core::Body body : kOrder) {
    const bool outer = body == core::kUranus || body == core::kNeptune || body == core::kPluto;
    if (outer && !figure.show_outer_planets) continue;
    const FigureBody& position = figure.bodies[body];
    if (!std::isfinite(position.longitude)) continue;
    const core::Angle angle = core::Angle::Wrapped(position.longitude);
    const int sign = angle.SignIndex();
    const double in_sign = angle.Degrees() - sign * core::kDegreesPerSign;
    const TextRole role = body == core::kAscendant ? TextRole::kAscendant : TextRole::kPlanet;
    items[sign].push_back(
        {in_sign, {EntryText(body, position, in_sign, figure.show_degrees), role}});
  }
  std::array<std::vector<BoxEntry>, kBoxCount> entries;
  for (int sign = 0; sign < kSigns; ++sign) {
    std::stable_sort(items[sign].begin(), items[sign].end(),
                     [](const Item& a, const Item& b) { return a.in_sign < b.in_sign; });
    for (Item& item : items[sign]) entries[sign].push_back(std::move(item.entry));
  }
  return entries;
}

std::vector<PlacedText> LayoutEntries(const std::vector<BoxEntry>& entries, const UnitRect& area,
                                      double font_size, const TextWidth& width, bool* fits) {
  std::vector<double> ems;
  for (const BoxEntry& entry : entries) ems.push_back(width(entry.text));
  double size = font_size;
  std::vector<std::vector<int>> rows;
  bool all_fit = false;
  for (int step = 0; step <= kMaxShrinkSteps; ++step, size *= kShrinkFactor) {
    std::vector<double> widths;
    for (double em : ems) widths.push_back(em * size);
    rows = WrapRows(widths, kEntryGapEm * size, area.width, all_fit);
    all_fit = all_fit && static_cast<double>(rows.size()) * kLineHeightEm * size <= area.height;
    if (all_fit) break;
  }
  if (!all_fit) size /= kShrinkFactor;  // the loop stepped once past its last try
  if (fits != nullptr) *fits = all_fit;

  const double line = kLineHeightEm * size;
  const double gap = kEntryGapEm * size;
  std::vector<PlacedText> placed;
  double y = area.y + (area.height - line * static_cast<double>(rows.size())) / 2;
  for (const std::vector<int>& row : rows) {
    double row_width = gap * static_cast<double>(row.size() - 1);
    for (int i : row) row_width += ems[i] * size;
    double x = area.x + (area.width - row_width) / 2;
    for (int i : row) {
      placed.push_back({entries[i].text, {x, y, ems[i] * size, line}, size, entries[i].role});
      x += ems[i] * size + gap;
    }
    y += line;
  }
  return placed;
}

ChartLayout LayoutChart(const ChartFigure& figure, ChartStyle style, const TextWidth& width) {
  ChartLayout layout;
  layout.style = style;
  const double ascendant = figure.bodies[core::kAscendant].longitude;
  // Without an Ascendant the North Indian chart still needs a first house: Aries stands in.
  layout.ascendant_sign =
      std::isfinite(ascendant) ? core::Angle::Wrapped(ascendant).SignIndex() : 0;
  layout.ascendant_box = BoxOfSign(style, layout.ascendant_sign, layout.ascendant_sign);

  const std::array<std::vector<BoxEntry>, kBoxCount> entries = EntriesBySign(figure);
  const std::array<BoxGeometry, kBoxCount>& geometry = BoxGeometries(style);
  for (int box = 0; box < kBoxCount; ++box) {
    BoxLayout& out = layout.boxes[box];
    out.sign = SignOfBox(style, box, layout.ascendant_sign);
    LayoutInBestArea(entries[out.sign], geometry[box].entry_areas, EntryFontSize(style), width,
                     out);
    std::string label = style == ChartStyle::kNorthIndian
                            ? std::to_string(out.sign + 1)
                            : std::string(core::kSignAbbreviations[out.sign]);
    out.label = LabelAt(std::move(label), geometry[box].label_anchor, width);
  }
  if (const std::optional<UnitRect> centre = CentreArea(style))
    layout.centre = LayoutCentre(figure, *centre, width);
  return layout;
}

}  // namespace solvane::display
