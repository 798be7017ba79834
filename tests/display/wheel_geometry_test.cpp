#include "display/wheel_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

namespace solvane::display {
namespace {

// A chart wheel's usual layout: the horizon and the meridian are cusps, house 1 runs down from
// the Ascendant on the left, house 4 begins at the bottom, house 7 at the right, house 10 at the
// top; each house runs counter-clockwise.
TEST(WheelGeometry, HorizonAndMeridianAreCusps) {
  struct Case {
    double degrees;  // counter-clockwise from the rightward horizontal, as seen
    int house;       // index: house - 1
  };
  const Case cases[] = {
      {180.5, 0},                                     // just below the Ascendant's arrow: house 1
      {179.5, 11},                                    // just above it: house 12
      {195, 0},    {225, 1},  {255, 2},  {269.5, 2},  // just left of the bottom: house 3
      {270.5, 3},                                     // just right of it: house 4
      {315, 4},    {345, 5},  {0.5, 6},               // just above the right horizontal: house 7
      {359.5, 5},                                     // just below it: house 6
      {45, 7},     {75, 8},   {89.5, 8},  // just right of the Midheaven's arrow: house 9
      {90.5, 9},                          // just left of it: house 10
      {135, 10},   {165, 11},
  };
  for (const Case& c : cases)
    for (const double radius : {20.0, 100.0, kInnerRadius, kOuterRadius})
      EXPECT_EQ(HouseAt(PointAt(c.degrees, radius)), c.house) << c.degrees << " deg at " << radius;
  EXPECT_EQ(HouseAt(WheelCentre()), -1);
}

TEST(WheelGeometry, AngleAndPointAgree) {
  for (int degrees = 0; degrees < 360; degrees += 15)
    EXPECT_NEAR(ScreenAngle(PointAt(degrees, 150)), degrees, 1e-9) << degrees;
  // Screen y grows downwards: a point above the centre is at 90 degrees.
  EXPECT_NEAR(ScreenAngle({WheelCentre().x, 0}), 90, 1e-9);
  EXPECT_NEAR(ScreenAngle({0, WheelCentre().y}), 180, 1e-9);
}

bool Inside(int house, Point top_left, Size size) {
  return HouseAt({top_left.x + size.width / 2, top_left.y + size.height / 2}) == house;
}

// Every glyph, and every box of bodies however full, has its centre in its own house. Box sizes
// run from one short line ("Sun", 20 x 14 pixels at 100%) to all eight lines with the longest
// ("Jupiter (R) ", 90 x 136 pixels at 100%), and the same texts in a font twice as large (a
// desktop at 200% whose fonts grow in logical pixels).
TEST(WheelGeometry, BoxesAndGlyphsInTheirOwnSectors) {
  for (int house = 0; house < kHouseCount; ++house) {
    const Point glyph = GlyphTopLeft(house);
    EXPECT_TRUE(Inside(house, glyph, {kGlyphSidePixels, kGlyphSidePixels})) << "glyph " << house;
    for (double width = 20; width <= 180; width += 4)
      for (double height = 14; height <= 272; height += 6) {
        const Size box{width, height};
        EXPECT_TRUE(Inside(house, BoxTopLeft(house, box), box))
            << "house " << house + 1 << ", box " << width << " x " << height;
      }
  }
}

// Where a box already stands in its sector it stays where the layout puts it; only a box that
// would stray is moved, and then no further than it must: at the same distance from the centre.
TEST(WheelGeometry, BoxesKeepTheirPlacesUnlessTheyStray) {
  const Size typical{50, 34};  // "Jupiter" and "Asc" at 100%
  for (int house = 0; house < kHouseCount; ++house) {
    const Point at = BoxTopLeft(house, typical);
    EXPECT_EQ(at.x, TwipsToPixels(kHousePlaces[house].box_left)) << house;
    EXPECT_EQ(at.y, TwipsToPixels(kHousePlaces[house].box_top)) << house;
  }
  // House 5's box grows right from its corner: one long line would end up under house 6.
  const Size long_line{90, 17};
  const Point laid_out{TwipsToPixels(kHousePlaces[4].box_left) + long_line.width / 2,
                       TwipsToPixels(kHousePlaces[4].box_top) + long_line.height / 2};
  ASSERT_EQ(HouseAt(laid_out), 5);
  const Point moved = BoxTopLeft(4, long_line);
  const Point centre{moved.x + long_line.width / 2, moved.y + long_line.height / 2};
  EXPECT_EQ(HouseAt(centre), 4);
  const Point c = WheelCentre();
  EXPECT_NEAR(std::hypot(centre.x - c.x, centre.y - c.y),
              std::hypot(laid_out.x - c.x, laid_out.y - c.y), 1e-9);
}

std::string CommittedWheel() {
  std::ifstream file(std::string(SOLVANE_SOURCE_DIR) + "/assets/wheel.svg", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The picture the window shows is the one the table draws. To redraw it after changing the table,
// write WheelSvg() over assets/wheel.svg (this test prints where it left a fresh copy).
TEST(WheelGeometry, CommittedPictureIsDrawnFromTheTable) {
  const std::string committed = CommittedWheel();
  const std::string drawn = WheelSvg();
  if (committed != drawn) {
    std::ofstream("wheel.svg.new", std::ios::binary) << drawn;
    ADD_FAILURE() << "assets/wheel.svg differs from WheelSvg(); a fresh copy is in wheel.svg.new";
  }
}

// Read back from the picture itself: every straight line drawn from the centre outwards (the
// cusps, and the gaps between the bands) lies on a boundary between two houses, and every
// boundary has its line. A picture turned against the sectors fails here.
TEST(WheelGeometry, LinesOfThePictureAreSectorBoundaries) {
  const std::string svg = CommittedWheel();
  const std::regex line(R"re(<path d="M([\d.]+) ([\d.]+) L([\d.]+) ([\d.]+)"/>)re");
  std::vector<int> lines_on_cusp(kHouseCount, 0);
  int lines = 0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), line); it != std::sregex_iterator();
       ++it, ++lines) {
    const Point from{std::stod((*it)[1]), std::stod((*it)[2])};
    const Point to{std::stod((*it)[3]), std::stod((*it)[4])};
    const double degrees = ScreenAngle(to);
    EXPECT_NEAR(ScreenAngle(from), degrees, 0.05) << (*it)[0] << ": not a ray from the centre";
    // Half a degree either side of the line: two neighbouring houses.
    const int after = HouseAt(PointAt(degrees + 0.5, 100));
    const int before = HouseAt(PointAt(degrees - 0.5, 100));
    EXPECT_EQ(after, (before + 1) % kHouseCount) << (*it)[0] << " at " << degrees << " deg";
    ++lines_on_cusp[after];
  }
  EXPECT_EQ(lines, 2 * kHouseCount);
  for (int house = 0; house < kHouseCount; ++house)
    EXPECT_EQ(lines_on_cusp[house], 2) << "cusp of house " << house + 1;
}

}  // namespace
}  // namespace solvane::display
