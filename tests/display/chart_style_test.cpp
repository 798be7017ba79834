#include "display/chart_style.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace solvane::display {
namespace {

constexpr double kEps = 1e-9;

// Widths of a proportional font guessed from the number of characters (UTF-8 code points): DejaVu
// Sans averages about 0.6 of the font size per character; the wider guess stands in for a font
// wider than the one installed.
TextWidth PerCharacter(double em) {
  return [em](std::string_view text) {
    int points = 0;
    for (char c : text) points += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return em * points;
  };
}

int Cross(UnitPoint a, UnitPoint b, UnitPoint p) {
  const double z = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
  return z > kEps ? 1 : z < -kEps ? -1 : 0;
}

// Whether `p` lies in the convex polygon, its edges included, whichever way it winds.
bool Inside(const UnitPolygon& polygon, UnitPoint p) {
  int side = 0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const int c = Cross(polygon[i], polygon[(i + 1) % polygon.size()], p);
    if (c == 0) continue;
    if (side != 0 && c != side) return false;
    side = c;
  }
  return true;
}

bool Inside(const UnitPolygon& polygon, const UnitRect& r) {
  return Inside(polygon, UnitPoint{r.x, r.y}) && Inside(polygon, UnitPoint{r.Right(), r.y}) &&
         Inside(polygon, UnitPoint{r.Right(), r.Bottom()}) &&
         Inside(polygon, UnitPoint{r.x, r.Bottom()});
}

bool Inside(const UnitRect& outer, const UnitRect& r) {
  return r.x >= outer.x - kEps && r.y >= outer.y - kEps && r.Right() <= outer.Right() + kEps &&
         r.Bottom() <= outer.Bottom() + kEps;
}

// Rectangles that share more than an edge.
bool Overlap(const UnitRect& a, const UnitRect& b) {
  return std::min(a.Right(), b.Right()) - std::max(a.x, b.x) > kEps &&
         std::min(a.Bottom(), b.Bottom()) - std::max(a.y, b.y) > kEps;
}

bool Crosses(const UnitSegment& s, const UnitRect& r) {
  for (int i = 0; i <= 200; ++i) {
    const double t = i / 200.0;
    const UnitPoint p{s.from.x + t * (s.to.x - s.from.x), s.from.y + t * (s.to.y - s.from.y)};
    if (p.x > r.x && p.x < r.Right() && p.y > r.y && p.y < r.Bottom()) return true;
  }
  return false;
}

double Area(const UnitPolygon& polygon) {
  double twice = 0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const UnitPoint& a = polygon[i];
    const UnitPoint& b = polygon[(i + 1) % polygon.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::fabs(twice) / 2;
}

UnitPoint VertexMean(const UnitPolygon& polygon) {
  UnitPoint sum;
  for (const UnitPoint& p : polygon) sum = {sum.x + p.x, sum.y + p.y};
  return {sum.x / polygon.size(), sum.y / polygon.size()};
}

bool OnSegment(UnitPoint p, const UnitSegment& s) {
  if (Cross(s.from, s.to, p) != 0) return false;
  return p.x >= std::min(s.from.x, s.to.x) - kEps && p.x <= std::max(s.from.x, s.to.x) + kEps &&
         p.y >= std::min(s.from.y, s.to.y) - kEps && p.y <= std::max(s.from.y, s.to.y) + kEps;
}

const char* Name(ChartStyle style) { return ChartStyleName(style).data(); }

// ---- Where the boxes are ----

TEST(ChartGeometry, EveryBoxStandsInItsFixedPlace) {
  // The mean of a box's corners and their number identify it. South: Pisces in the top-left cell
  // of the 4 x 4 grid, then clockwise round its rim. North: house 1 the top diamond, then
  // counter-clockwise (diamonds of half-diagonal 1/4 round the middles of the sides, triangles in
  // the corners). East: Aries top middle of the 3 x 3 grid, then counter-clockwise; each corner box
  // is halved by the diagonal from the chart's corner, the half next to the previous sign's box
  // first (Taurus is the half above the diagonal, touching Aries' box; Gemini touches Cancer's).
  struct Case {
    ChartStyle style;
    int box;  // sign (South, East) or house - 1 (North)
    double x, y;
    size_t corners;
    const char* where;
  };
  const ChartStyle s = ChartStyle::kSouthIndian, n = ChartStyle::kNorthIndian,
                   e = ChartStyle::kEastIndian;
  const double m0 = 1.0 / 8, m1 = 3.0 / 8, m2 = 5.0 / 8, m3 = 7.0 / 8;  // South cells' middles
  const double t = 1.0 / 3;
  const Case cases[] = {{s, 11, m0, m0, 4, "Pisces top left"},
                        {s, 0, m1, m0, 4, "Aries row 0 column 1"},
                        {s, 1, m2, m0, 4, "Taurus"},
                        {s, 2, m3, m0, 4, "Gemini top right"},
                        {s, 3, m3, m1, 4, "Cancer"},
                        {s, 4, m3, m2, 4, "Leo"},
                        {s, 5, m3, m3, 4, "Virgo bottom right"},
                        {s, 6, m2, m3, 4, "Libra"},
                        {s, 7, m1, m3, 4, "Scorpio"},
                        {s, 8, m0, m3, 4, "Sagittarius bottom left"},
                        {s, 9, m0, m2, 4, "Capricorn"},
                        {s, 10, m0, m1, 4, "Aquarius"},
                        {n, 0, 0.5, 0.25, 4, "house 1 top"},
                        {n, 1, 0.25, 1.0 / 12, 3, "2 top-left triangle"},
                        {n, 2, 1.0 / 12, 0.25, 3, "3 left upper"},
                        {n, 3, 0.25, 0.5, 4, "4 left diamond"},
                        {n, 4, 1.0 / 12, 0.75, 3, "5 left lower"},
                        {n, 5, 0.25, 11.0 / 12, 3, "6 bottom left"},
                        {n, 6, 0.5, 0.75, 4, "7 bottom diamond"},
                        {n, 7, 0.75, 11.0 / 12, 3, "8 bottom right"},
                        {n, 8, 11.0 / 12, 0.75, 3, "9 right lower"},
                        {n, 9, 0.75, 0.5, 4, "10 right diamond"},
                        {n, 10, 11.0 / 12, 0.25, 3, "11 right upper"},
                        {n, 11, 0.75, 1.0 / 12, 3, "12 top right"},
                        {e, 0, 0.5, t / 2, 4, "Aries top middle"},
                        {e, 1, 2 * t / 3, t / 3, 3, "Taurus"},
                        {e, 2, t / 3, 2 * t / 3, 3, "Gemini"},
                        {e, 3, t / 2, 0.5, 4, "Cancer left middle"},
                        {e, 4, t / 3, 7.0 / 9, 3, "Leo"},
                        {e, 5, 2 * t / 3, 8.0 / 9, 3, "Virgo"},
                        {e, 6, 0.5, 1 - t / 2, 4, "Libra"},
                        {e, 7, 7.0 / 9, 8.0 / 9, 3, "Scorpio"},
                        {e, 8, 8.0 / 9, 7.0 / 9, 3, "Sagittarius"},
                        {e, 9, 1 - t / 2, 0.5, 4, "Capricorn"},
                        {e, 10, 8.0 / 9, 2.0 / 9, 3, "Aquarius"},
                        {e, 11, 7.0 / 9, 1.0 / 9, 3, "Pisces"}};
  for (const Case& c : cases) {
    const UnitPolygon& outline = BoxGeometries(c.style)[c.box].outline;
    EXPECT_EQ(outline.size(), c.corners) << Name(c.style) << " " << c.where;
    EXPECT_NEAR(VertexMean(outline).x, c.x, kEps) << Name(c.style) << " " << c.where;
    EXPECT_NEAR(VertexMean(outline).y, c.y, kEps) << Name(c.style) << " " << c.where;
  }
}

// Every style: the boxes cover the chart but its centre, each edge is a drawn line, and each box's
// entry area, label and Ascendant mark lie inside it and clear of each other.
TEST(ChartGeometry, BoxesTileTheChartAndKeepTheirPartsApart) {
  struct Case {
    ChartStyle style;
    double covered;  // the unit square less the centre: 2 x 2 of 4 x 4, or 1 of 3 x 3
  };
  const Case cases[] = {{ChartStyle::kSouthIndian, 0.75},
                        {ChartStyle::kNorthIndian, 1.0},
                        {ChartStyle::kEastIndian, 8.0 / 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Name(c.style));
    const auto& boxes = BoxGeometries(c.style);
    double area = 0;
    for (int box = 0; box < kBoxCount; ++box) {
      const BoxGeometry& g = boxes[box];
      area += Area(g.outline);
      ASSERT_FALSE(g.entry_areas.empty()) << box;
      for (const UnitRect& entry_area : g.entry_areas) {
        EXPECT_TRUE(Inside(g.outline, entry_area)) << box;
        if (g.ascendant_mark) {
          EXPECT_FALSE(Crosses(*g.ascendant_mark, entry_area)) << box;
        }
      }
      EXPECT_TRUE(Inside(g.outline, g.label_anchor)) << box;
      for (size_t i = 0; i < g.outline.size(); ++i) {
        const UnitPoint a = g.outline[i], b = g.outline[(i + 1) % g.outline.size()];
        const UnitPoint middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
        bool drawn = false;
        for (const UnitSegment& line : FrameLines(c.style))
          drawn = drawn || OnSegment(middle, line);
        EXPECT_TRUE(drawn) << "box " << box << " edge " << i;
      }
      EXPECT_EQ(g.ascendant_mark.has_value(), c.style != ChartStyle::kNorthIndian) << box;
      if (g.ascendant_mark) {
        EXPECT_TRUE(Inside(g.outline, g.ascendant_mark->from)) << box;
        EXPECT_TRUE(Inside(g.outline, g.ascendant_mark->to)) << box;
      }
    }
    EXPECT_NEAR(area, c.covered, 1e-9);

    // Labels as laid out for every Ascendant (the North Indian numbers change with it), in a font
    // wider than the real one.
    for (int ascendant = 0; ascendant < 12; ++ascendant) {
      ChartFigure figure;
      figure.bodies[core::kAscendant].longitude = ascendant * 30 + 1;
      const ChartLayout layout = LayoutChart(figure, c.style, PerCharacter(0.75));
      for (int box = 0; box < kBoxCount; ++box) {
        const UnitRect& label = layout.boxes[box].label.bounds;
        EXPECT_TRUE(Inside(boxes[box].outline, label)) << box << " " << ascendant;
        for (const UnitRect& entry_area : boxes[box].entry_areas)
          EXPECT_FALSE(Overlap(label, entry_area)) << box << " " << ascendant;
        if (boxes[box].ascendant_mark) {
          EXPECT_FALSE(Crosses(*boxes[box].ascendant_mark, label)) << box;
        }
      }
    }
  }
}

// ---- Which sign goes where ----

TEST(ChartLayout, NorthIndianHousesShowTheirSignNumbers) {
  // Whole signs: house 1 is the Ascendant's sign, the houses after it the signs after it.
  struct Case {
    int ascendant;
    std::vector<std::string> numbers;  // houses 1..12
  };
  const std::vector<Case> cases = {
      {0, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},   // Aries rising
      {4, {"5", "6", "7", "8", "9", "10", "11", "12", "1", "2", "3", "4"}},   // Leo rising
      {9, {"10", "11", "12", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},   // Capricorn rising
      {11, {"12", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},  // Pisces rising
  };
  for (const Case& c : cases) {
    ChartFigure figure;
    figure.bodies[core::kAscendant].longitude = c.ascendant * 30 + 29.5;
    const ChartLayout layout = LayoutChart(figure, ChartStyle::kNorthIndian, PerCharacter(0.6));
    for (int house = 1; house <= 12; ++house)
      EXPECT_EQ(layout.boxes[house - 1].label.text, c.numbers[house - 1])
          << "ascendant " << c.ascendant << " house " << house;
  }
  // Every Ascendant: house 1 shows its sign's number, and the next house the next sign's; a sign
  // is found in the house that shows it.
  for (int ascendant = 0; ascendant < 12; ++ascendant) {
    for (int sign = 0; sign < 12; ++sign)
      EXPECT_EQ(SignOfBox(ChartStyle::kNorthIndian,
                          BoxOfSign(ChartStyle::kNorthIndian, sign, ascendant), ascendant),
                sign);
    ChartFigure figure;
    figure.bodies[core::kAscendant].longitude = ascendant * 30 + 0.25;
    const ChartLayout layout = LayoutChart(figure, ChartStyle::kNorthIndian, PerCharacter(0.6));
    EXPECT_EQ(layout.boxes[0].label.text, std::to_string(ascendant + 1));
    for (int house = 2; house <= 12; ++house)
      EXPECT_EQ(std::stoi(layout.boxes[house - 1].label.text),
                std::stoi(layout.boxes[house - 2].label.text) % 12 + 1)
          << "ascendant " << ascendant << " house " << house;
  }
}

TEST(ChartLayout, AscendantIsMarkedInItsOwnBox) {
  for (ChartStyle style : kChartStyles) {
    for (int ascendant = 0; ascendant < 12; ++ascendant) {
      ChartFigure figure;
      figure.bodies[core::kAscendant].longitude = ascendant * 30 + 12.5;
      const ChartLayout layout = LayoutChart(figure, style, PerCharacter(0.6));
      // South and East keep each sign in its place; North puts the Ascendant in house 1.
      const int want = style == ChartStyle::kNorthIndian ? 0 : ascendant;
      EXPECT_EQ(layout.ascendant_box, want) << Name(style) << " " << ascendant;
      EXPECT_EQ(layout.boxes[want].sign, ascendant) << Name(style);
      int found = -1;
      for (int box = 0; box < kBoxCount; ++box)
        for (const PlacedText& entry : layout.boxes[box].entries)
          if (entry.text == "Asc") found = box;
      EXPECT_EQ(found, want) << Name(style) << " " << ascendant;
    }
  }
}

// ---- What each box says ----

TEST(ChartEntries, TextsInZodiacalOrder) {
  struct Placement {
    core::Body body;
    double longitude;
    bool retrograde = false;
  };
  struct Case {
    const char* what;
    std::vector<Placement> placements;  // bodies not named here are left out (NaN)
    bool degrees, outer;
    int sign;
    std::vector<std::string> want;
    size_t total;  // entries in the whole chart
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<Case> cases = {
      {"by longitude within the sign, not by body",
       {{core::kSun, 10.5}, {core::kMoon, 5.2}, {core::kAscendant, 7}},
       false,
       false,
       0,
       {"Mo", "Asc", "Su"},
       3},
      {"equal longitudes: Ascendant, then the grahas' order",
       {{core::kVenus, 100}, {core::kMars, 100}, {core::kSun, 100}, {core::kAscendant, 100}},
       false,
       false,
       3,
       {"Asc", "Su", "Ma", "Ve"},
       4},
      {"degrees truncated, retrograde mark after them",
       {{core::kSun, 49.99}, {core::kSaturn, 42.3, true}, {core::kAscendant, 30}},
       true,
       false,
       1,
       {"Asc 0°", "Sa 12°(R)", "Su 19°"},
       3},
      {"the Ascendant never takes a retrograde mark",
       {{core::kAscendant, 200, true}, {core::kJupiter, 201, true}},
       false,
       false,
       6,
       {"Asc", "Ju(R)"},
       2},
      {"outer planets left out unless asked for",
       {{core::kUranus, 200}, {core::kNeptune, 201}, {core::kPluto, 202}, {core::kKetu, 203}},
       false,
       false,
       6,
       {"Ke"},
       1},
      {"outer planets when asked for",
       {{core::kUranus, 200}, {core::kNeptune, 201}, {core::kPluto, 202}, {core::kKetu, 203}},
       false,
       true,
       6,
       {"Ur", "Ne", "Pl", "Ke"},
       4},
      {"longitudes wrap: 359.99 and -10 are Pisces",
       {{core::kRahu, 359.99}, {core::kKetu, -10}, {core::kMercury, 360}},
       false,
       false,
       11,
       {"Ke", "Ra"},
       3},
      {"360 is 0° Aries",
       {{core::kRahu, 359.99}, {core::kMercury, 360}},
       true,
       false,
       0,
       {"Me 0°"},
       2},
      {"the Midheaven is not drawn",
       {{core::kMidheaven, 95}, {core::kMoon, 96}},
       false,
       false,
       3,
       {"Mo"},
       1},
      {"an infinite longitude is left out, not drawn in some sign",
       {{core::kSun, std::numeric_limits<double>::infinity()}, {core::kMoon, 96}},
       false,
       false,
       3,
       {"Mo"},
       1},
  };
  for (const Case& c : cases) {
    ChartFigure figure;
    for (FigureBody& body : figure.bodies) body.longitude = nan;
    for (const Placement& p : c.placements) figure.bodies[p.body] = {p.longitude, p.retrograde};
    figure.show_degrees = c.degrees;
    figure.show_outer_planets = c.outer;
    const auto entries = EntriesBySign(figure);
    std::vector<std::string> got;
    for (const BoxEntry& entry : entries[c.sign]) got.push_back(entry.text);
    EXPECT_EQ(got, c.want) << c.what;
    size_t total = 0;
    for (const auto& sign : entries) total += sign.size();
    EXPECT_EQ(total, c.total) << c.what;
  }
}

// ---- Crowded boxes ----

ChartFigure Crowd(int sign, int ascendant, int count, bool all_marked) {
  // The crowd's bodies in the order of the Body enumeration (Midheaven skipped), spread 2° apart.
  static constexpr core::Body kBodies[] = {
      core::kSun,    core::kMoon,   core::kMercury, core::kVenus, core::kMars, core::kJupiter,
      core::kSaturn, core::kUranus, core::kNeptune, core::kPluto, core::kRahu, core::kKetu};
  ChartFigure figure;
  // Everyone else in the sign opposite.
  for (FigureBody& body : figure.bodies) body.longitude = ((sign + 6) % 12) * 30 + 1;
  for (int i = 0; i < count; ++i)
    figure.bodies[kBodies[i]] = {sign * 30 + 2.0 * i + 0.5, all_marked || i % 3 == 2};
  figure.bodies[core::kAscendant].longitude = ascendant * 30 + 17.25;
  figure.show_degrees = all_marked;
  figure.show_outer_planets = count > 9;
  return figure;
}

void ExpectNoOverlap(const ChartLayout& layout, double min_font) {
  const auto& geometry = BoxGeometries(layout.style);
  for (int box = 0; box < kBoxCount; ++box) {
    const BoxLayout& b = layout.boxes[box];
    EXPECT_TRUE(b.fits) << box;
    bool one_of_the_areas = false;
    for (const UnitRect& area : geometry[box].entry_areas)
      one_of_the_areas = one_of_the_areas ||
                         (area.x == b.area.x && area.y == b.area.y && area.width == b.area.width);
    EXPECT_TRUE(one_of_the_areas) << box;
    for (size_t i = 0; i < b.entries.size(); ++i) {
      const PlacedText& e = b.entries[i];
      EXPECT_TRUE(Inside(b.area, e.bounds)) << box << " " << e.text;
      EXPECT_TRUE(Inside(geometry[box].outline, e.bounds)) << box << " " << e.text;
      EXPECT_FALSE(Overlap(e.bounds, b.label.bounds)) << box << " " << e.text;
      EXPECT_GE(e.font_size, min_font) << box << " " << e.text;
      for (size_t j = i + 1; j < b.entries.size(); ++j)
        EXPECT_FALSE(Overlap(e.bounds, b.entries[j].bounds))
            << box << " " << e.text << " / " << b.entries[j].text;
    }
  }
}

TEST(ChartLayout, CrowdedBoxesWrapWithoutOverlap) {
  struct Case {
    const char* what;
    int count;
    bool all_marked;
    double em;            // guessed width of a character, in font sizes
    double min_of_start;  // smallest acceptable font, as a share of the style's starting size
  };
  const Case cases[] = {
      {"six bodies", 6, false, 0.62, 0.6},
      {"six bodies, wide font", 6, true, 0.8, 0.45},
      {"all twelve and the Ascendant, degrees and marks", 12, true, 0.62, 0.38},
      {"all twelve and the Ascendant, wide font", 12, true, 0.8, 0.3},
  };
  for (const Case& c : cases) {
    for (ChartStyle style : kChartStyles) {
      // The crowded sign visits every box, with the Ascendant in it and elsewhere.
      for (int sign = 0; sign < 12; ++sign) {
        for (int ascendant : {sign, (sign + 4) % 12}) {
          SCOPED_TRACE(std::string(c.what) + " " + Name(style) + " sign " + std::to_string(sign) +
                       " ascendant " + std::to_string(ascendant));
          const ChartFigure figure = Crowd(sign, ascendant, c.count, c.all_marked);
          const ChartLayout layout = LayoutChart(figure, style, PerCharacter(c.em));
          const int box = BoxOfSign(style, sign, ascendant);
          ASSERT_EQ(layout.boxes[box].entries.size(), c.count + (ascendant == sign ? 1u : 0u));
          ExpectNoOverlap(layout, c.min_of_start * EntryFontSize(style));
        }
      }
    }
  }
}

TEST(ChartLayout, EntriesShrinkOnlyWhenTheyMust) {
  const UnitRect area{0, 0, 0.2, 0.2};
  bool fits = false;
  // Two short entries fit at the starting size, on one row.
  auto placed = LayoutEntries({{"Su", TextRole::kPlanet}, {"Mo", TextRole::kPlanet}}, area, 0.03,
                              PerCharacter(0.6), &fits);
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_TRUE(fits);
  EXPECT_DOUBLE_EQ(placed[0].font_size, 0.03);
  EXPECT_DOUBLE_EQ(placed[0].bounds.y, placed[1].bounds.y);
  // An entry wider than the area at the starting size is set smaller until it fits whole.
  placed = LayoutEntries({{"Sa 29°(R)", TextRole::kPlanet}}, area, 0.05, PerCharacter(0.6), &fits);
  EXPECT_TRUE(fits);
  EXPECT_LT(placed[0].font_size, 0.05);
  EXPECT_LE(placed[0].bounds.width, area.width);
  EXPECT_GT(placed[0].bounds.width, 0.92 * area.width);  // no smaller than needed
  // A width function that never fits is reported, not hidden.
  placed = LayoutEntries(
      {{"Su", TextRole::kPlanet}}, area, 0.03, [](std::string_view) { return 1e9; }, &fits);
  EXPECT_FALSE(fits);
}

TEST(ChartLayout, SouthIndianCentreHoldsTheBirthDetails) {
  ChartFigure figure;
  figure.name = "ASHA RAO";
  figure.date = "15 August 1980";
  figure.time = "06:30";
  figure.place = "New Delhi, Delhi, India, and a place name far too long for the centre block";
  const ChartLayout south = LayoutChart(figure, ChartStyle::kSouthIndian, PerCharacter(0.6));
  ASSERT_EQ(south.centre.size(), 4u);
  EXPECT_EQ(south.centre[0].text, "ASHA RAO");
  EXPECT_EQ(south.centre[3].text, figure.place);
  const UnitRect area = *CentreArea(ChartStyle::kSouthIndian);
  for (size_t i = 0; i < south.centre.size(); ++i) {
    EXPECT_TRUE(Inside(area, south.centre[i].bounds)) << south.centre[i].text;
    if (i > 0) {
      EXPECT_FALSE(Overlap(south.centre[i - 1].bounds, south.centre[i].bounds));
    }
  }
  EXPECT_LT(south.centre[3].font_size, south.centre[0].font_size);  // the long line shrank

  figure.date.clear();  // an empty line is left out, not left blank
  EXPECT_EQ(LayoutChart(figure, ChartStyle::kSouthIndian, PerCharacter(0.6)).centre.size(), 3u);
  EXPECT_TRUE(LayoutChart(figure, ChartStyle::kNorthIndian, PerCharacter(0.6)).centre.empty());
  EXPECT_TRUE(LayoutChart(figure, ChartStyle::kEastIndian, PerCharacter(0.6)).centre.empty());
}

// ---- Navamsa ----

TEST(Navamsa, SignsFollowTheClassicalSequence) {
  // Navamsas of 3°20'; the first of a fire sign is Aries, of an earth sign Capricorn, of an air
  // sign Libra, of a water sign Cancer, and they run on in zodiacal order.
  struct Case {
    double longitude;
    int want;
    const char* why;
  };
  const Case cases[] = {
      {0, 0, "0° Aries: Aries' first navamsa is Aries"},
      {3.3, 0, "3°18' Aries: still the first"},
      {3.34, 1, "3°20'24\" Aries: the second, Taurus"},
      {20.0, 6, "20° Aries: exactly the start of the seventh, Libra"},
      {29.999, 8, "end of Aries: the ninth, Sagittarius"},
      {30.0, 9, "0° Taurus (earth): Capricorn"},
      {60.0, 6, "0° Gemini (air): Libra"},
      {90.0, 3, "0° Cancer (water): Cancer"},
      {123.5, 1, "3°30' Leo (fire): the second, Taurus"},
      {250.0, 3, "10° Sagittarius (fire): opens the fourth, Cancer"},
      {359.99, 11, "end of Pisces: its ninth navamsa, Pisces"},
      {-0.5, 11, "-0.5° is 29°30' Pisces"},
      {723.4, 1, "two turns and 3°24': Taurus"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NavamsaSign(c.longitude), c.want) << c.why;
  }
  EXPECT_EQ(NavamsaSign(std::numeric_limits<double>::quiet_NaN()), -1);
}

TEST(Navamsa, LongitudesKeepTheSignAndTheOrder) {
  // The middle of Aries' first navamsa (1°40') is the middle of Aries; 20° opens Libra.
  EXPECT_NEAR(NavamsaLongitude(5.0 / 3), 15, 1e-9);
  EXPECT_DOUBLE_EQ(NavamsaLongitude(20.0), 180.0);
  double previous = -1;
  for (int i = 0; i < 36000; ++i) {
    const double longitude = i / 100.0;
    const double d9 = NavamsaLongitude(longitude);
    ASSERT_GE(d9, 0);
    ASSERT_LT(d9, 360);
    ASSERT_EQ(static_cast<int>(d9 / 30), NavamsaSign(longitude)) << longitude;
    // Within one navamsa the order of the bodies is kept.
    if (i > 0 && NavamsaSign(longitude) == NavamsaSign((i - 1) / 100.0)) {
      ASSERT_GT(d9, previous) << longitude;
    }
    previous = d9;
  }
}

TEST(Navamsa, FigureMovesEveryBodyAndKeepsTheRest) {
  ChartFigure birth;
  birth.name = "ASHA RAO";
  birth.show_degrees = true;
  birth.bodies[core::kSaturn] = {42.3, true};       // 12°18' Taurus: 4th, Aries
  birth.bodies[core::kAscendant] = {123.5, false};  // Taurus, as above
  birth.bodies[core::kMoon].longitude = std::numeric_limits<double>::quiet_NaN();
  const ChartFigure d9 = NavamsaFigure(birth);
  EXPECT_EQ(d9.name, "ASHA RAO");
  EXPECT_FALSE(d9.show_degrees);  // a degree within a navamsa sign is nothing to read
  EXPECT_EQ(d9.show_outer_planets, birth.show_outer_planets);
  EXPECT_TRUE(d9.bodies[core::kSaturn].retrograde);
  EXPECT_EQ(static_cast<int>(d9.bodies[core::kSaturn].longitude / 30), 0);
  EXPECT_EQ(static_cast<int>(d9.bodies[core::kAscendant].longitude / 30), 1);
  EXPECT_TRUE(std::isnan(d9.bodies[core::kMoon].longitude));
}

TEST(ChartStyleNames, RoundTrip) {
  for (ChartStyle style : kChartStyles)
    EXPECT_EQ(ChartStyleFromName(ChartStyleName(style)), style) << Name(style);
  EXPECT_FALSE(ChartStyleFromName("western").has_value());
  EXPECT_FALSE(ChartStyleFromName("South").has_value());
}

}  // namespace
}  // namespace solvane::display
