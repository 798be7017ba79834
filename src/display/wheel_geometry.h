// Geometry of the chart wheel: the twelve house sectors, and where each house's box of bodies, sign
// glyph and number stand. One table of cusp angles both draws the wheel picture and decides which
// sector a point lies in, so the picture and the boxes cannot drift apart.
#pragma once

#include <array>
#include <string>

namespace solvane::display {

inline constexpr int kHouseCount = 12;

// The wheel's layout is given in twips; the window works in device-independent pixels.
inline constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

// The picture's frame, twips, and the side of a sign glyph, twips.
inline constexpr int kWheelWidthTwips = 6780, kWheelHeightTwips = 6495;
inline constexpr int kGlyphSideTwips = 300;

// House k + 1: the top-left corners of its box of bodies and of its glyph, twips from the wheel's
// top-left corner. House 1 is at the left (the Ascendant's side); the houses follow
// counter-clockwise, house 4 at the bottom, house 7 at the right, house 10 at the top.
struct HousePlace {
  int box_left, box_top, glyph_left, glyph_top;
};
inline constexpr std::array<HousePlace, kHouseCount> kHousePlaces = {{
    {960, 3240, 360, 3720},
    {1680, 4080, 885, 4920},
    {2535, 4440, 2040, 5800},
    {3480, 4560, 3840, 5975},
    {4440, 3960, 5100, 5400},
    {5055, 3240, 6060, 4080},
    {5160, 2160, 6200, 2400},
    {4695, 1080, 5640, 1200},
    {3480, 480, 4320, 240},
    {2400, 600, 2520, 120},
    {1440, 1200, 1320, 720},
    {840, 2160, 375, 2040},
}};

// Where house k + 1 begins, degrees counter-clockwise from the wheel's rightward horizontal as the
// wheel is seen on screen; the house runs counter-clockwise to the next house's cusp. The horizon
// and the meridian are cusps: house 1 begins at the Ascendant's arrow on the left and runs down,
// house 10 begins at the Midheaven's arrow at the top and runs to the left.
inline constexpr std::array<double, kHouseCount> kCuspDegrees = {180, 210, 240, 270, 300, 330,
                                                                 0,   30,  60,  90,  120, 150};

// Radii of the picture, device-independent pixels: the hub, the inner and the outer rim of the
// ring of coloured bands.
inline constexpr double kHubRadius = 14, kInnerRadius = 186, kOuterRadius = 214;

// A point or a size in device-independent pixels, from the wheel's top-left corner, y downwards.
struct Point {
  double x = 0, y = 0;
};
struct Size {
  double width = 0, height = 0;
};

Point WheelCentre();

// Degrees in [0, 360), counter-clockwise from the rightward horizontal through the centre.
double ScreenAngle(Point p);

// The point at `degrees` (as ScreenAngle counts them) and `radius` pixels from the centre.
Point PointAt(double degrees, double radius);

// Index k (house k + 1) of the sector holding `p`; -1 at the centre itself. A point on a cusp
// belongs to the house that begins there.
int HouseAt(Point p);

// Top-left corner of house k + 1's box of bodies when the box is `box` large: where the layout
// puts it, unless a box that grows right and down from there would have its centre outside its
// own sector; such a box is turned about the wheel's centre, at the same distance, until its
// centre lies inside again.
Point BoxTopLeft(int house, Size box);

// Top-left corners of house k + 1's glyph and of its number (which stands to the glyph's right).
Point GlyphTopLeft(int house);
Point NumberTopLeft(int house);
inline constexpr int kGlyphSidePixels = TwipsToPixels(kGlyphSideTwips);

// The wheel picture as an SVG document, drawn from the tables above (assets/wheel.svg).
std::string WheelSvg();

}  // namespace solvane::display
