#include "display/wheel_geometry.h"

#include <charconv>
#include <cmath>

namespace solvane::display {
namespace {

constexpr double kRadiansPerDegree = 0.0174532925199433;
// How far inside its sector a box that had strayed is brought back, degrees.
constexpr double kBoxMarginDegrees = 3;

// Fill of house k + 1's band, house 1 first.
constexpr std::array<const char*, kHouseCount> kBandColours = {
    "#f4c7b8", "#f6d7a7", "#f3e4a2", "#dfe8a6", "#c5e3b5", "#b4dfcf",
    "#b3dbe6", "#b9cdee", "#c8c2ec", "#dcc0e8", "#eec0dd", "#f3c0c8"};

// Counter-clockwise span of house k + 1, degrees.
double SpanDegrees(int house) {
  const double span = kCuspDegrees[(house + 1) % kHouseCount] - kCuspDegrees[house];
  return span <= 0 ? span + 360 : span;
}

// How far `degrees` lies counter-clockwise past the cusp of house k + 1, in [0, 360).
double PastCusp(int house, double degrees) {
  const double past = std::fmod(degrees - kCuspDegrees[house], 360.0);
  return past < 0 ? past + 360 : past;
}

// A coordinate for the picture: to the hundredth of a pixel, shortest form, never locale-bound.
std::string Number(double value) {
  char digits[32];
  const double rounded = std::round(value * 100) / 100;
  const auto end = std::to_chars(digits, digits + sizeof digits, rounded == 0 ? 0.0 : rounded).ptr;
  return std::string(digits, end);
}

std::string Xy(Point p) { return Number(p.x) + ' ' + Number(p.y); }

// Band of house k + 1 between the rims: out along its cusp, round the outer rim to the next cusp,
// in, and back round the inner rim.
std::string Band(int house) {
  const double from = kCuspDegrees[house], to = from + SpanDegrees(house);
  const std::string outer = Number(kOuterRadius), inner = Number(kInnerRadius);
  return "    <path fill=\"" + std::string(kBandColours[house]) + "\" d=\"M" +
         Xy(PointAt(from, kOuterRadius)) + " A" + outer + ' ' + outer + " 0 0 0 " +
         Xy(PointAt(to, kOuterRadius)) + " L" + Xy(PointAt(to, kInnerRadius)) + " A" + inner + ' ' +
         inner + " 0 0 1 " + Xy(PointAt(from, kInnerRadius)) + " Z\"/>\n";
}

std::string Line(double degrees, double from_radius, double to_radius) {
  return "    <path d=\"M" + Xy(PointAt(degrees, from_radius)) + " L" +
         Xy(PointAt(degrees, to_radius)) + "\"/>\n";
}

// An arrow lying on the cusp at `degrees`, from `tail_radius` to its point just inside the inner
// rim. The head is built along the arrow's own axis and its perpendicular.
std::string Arrow(const char* what, double degrees, double tail_radius) {
  constexpr double kTip = 180, kShaftEnd = 189, kBarbs = 191, kNotch = 188.5, kHalfWidth = 5.5;
  const Point centre = WheelCentre();
  const double c = std::cos(degrees * kRadiansPerDegree), s = std::sin(degrees * kRadiansPerDegree);
  const auto at = [&](double along, double across) {
    return Point{centre.x + along * c + across * s, centre.y - along * s + across * c};
  };
  return std::string("  <!-- ") + what +
         " arrow -->\n"
         "  <g fill=\"#b03a48\" stroke=\"#b03a48\" stroke-linejoin=\"round\">\n"
         "    <path d=\"M" +
         Xy(at(tail_radius, 0)) + " L" + Xy(at(kShaftEnd, 0)) +
         "\" fill=\"none\" stroke-width=\"2\"/>\n"
         "    <path d=\"M" +
         Xy(at(kTip, 0)) + " L" + Xy(at(kBarbs, -kHalfWidth)) + " L" + Xy(at(kNotch, 0)) + " L" +
         Xy(at(kBarbs, kHalfWidth)) +
         " Z\" stroke-width=\"1\"/>\n"
         "  </g>\n";
}

std::string Circle(double radius, const char* attributes) {
  const Point centre = WheelCentre();
  return "    <circle cx=\"" + Number(centre.x) + "\" cy=\"" + Number(centre.y) + "\" r=\"" +
         Number(radius) + "\" " + attributes + "/>\n";
}

}  // namespace

Point WheelCentre() {
  return {TwipsToPixels(kWheelWidthTwips) / 2.0, TwipsToPixels(kWheelHeightTwips) / 2.0};
}

double ScreenAngle(Point p) {
  const Point centre = WheelCentre();
  const double degrees = std::atan2(centre.y - p.y, p.x - centre.x) / kRadiansPerDegree;
  return degrees < 0 ? degrees + 360 : degrees;
}

Point PointAt(double degrees, double radius) {
  const Point centre = WheelCentre();
  return {centre.x + radius * std::cos(degrees * kRadiansPerDegree),
          centre.y - radius * std::sin(degrees * kRadiansPerDegree)};
}

int HouseAt(Point p) {
  const Point centre = WheelCentre();
  if (p.x == centre.x && p.y == centre.y) return -1;
  const double degrees = ScreenAngle(p);
  for (int house = 0; house < kHouseCount; ++house)
    if (PastCusp(house, degrees) < SpanDegrees(house)) return house;
  return -1;  // unreachable while the cusps go once round the wheel
}

Point BoxTopLeft(int house, Size box) {
  const HousePlace& place = kHousePlaces[house];
  const Point laid_out{static_cast<double>(TwipsToPixels(place.box_left)),
                       static_cast<double>(TwipsToPixels(place.box_top))};
  const Point middle{laid_out.x + box.width / 2, laid_out.y + box.height / 2};
  if (HouseAt(middle) == house) return laid_out;
  // Back to the nearer cusp, and a little past it into the sector.
  const double past = PastCusp(house, ScreenAngle(middle)), span = SpanDegrees(house);
  const bool nearer_end = past - span < 360 - past;
  const double degrees =
      kCuspDegrees[house] + (nearer_end ? span - kBoxMarginDegrees : kBoxMarginDegrees);
  const Point centre = WheelCentre();
  const Point moved = PointAt(degrees, std::hypot(middle.x - centre.x, middle.y - centre.y));
  return {moved.x - box.width / 2, moved.y - box.height / 2};
}

Point GlyphTopLeft(int house) {
  const HousePlace& place = kHousePlaces[house];
  return {static_cast<double>(TwipsToPixels(place.glyph_left)),
          static_cast<double>(TwipsToPixels(place.glyph_top))};
}

Point NumberTopLeft(int house) {
  const Point glyph = GlyphTopLeft(house);
  return {glyph.x + kGlyphSidePixels, glyph.y};
}

std::string WheelSvg() {
  const std::string width = std::to_string(TwipsToPixels(kWheelWidthTwips));
  const std::string height = std::to_string(TwipsToPixels(kWheelHeightTwips));
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!-- Solvane chart wheel, generated from src/display/wheel_geometry.cpp: twelve house\n"
      "     sectors with the horizon and the meridian as cusps. House 1 runs counter-clockwise\n"
      "     from the Ascendant's arrow on the left, house 10 from the Midheaven's at the top. -->\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\" width=\"" +
      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
      "\">\n"
      "  <title>Chart wheel</title>\n"
      "  <!-- light disc -->\n"
      "  <g>\n" +
      Circle(kInnerRadius, "fill=\"#fbf8f1\"") +
      "  </g>\n"
      "  <!-- house bands, house 1 first -->\n"
      "  <g stroke=\"none\">\n";
  for (int house = 0; house < kHouseCount; ++house) svg += Band(house);
  svg +=
      "  </g>\n"
      "  <!-- cusps: thin lines across the disc, light gaps between the bands -->\n"
      "  <g stroke=\"#9a8aab\" stroke-width=\"1\" stroke-linecap=\"butt\" fill=\"none\">\n";
  for (const double cusp : kCuspDegrees) svg += Line(cusp, kHubRadius, kInnerRadius);
  svg +=
      "  </g>\n"
      "  <g stroke=\"#fbf8f1\" stroke-width=\"1.5\" stroke-linecap=\"butt\" fill=\"none\">\n";
  for (const double cusp : kCuspDegrees) svg += Line(cusp, kInnerRadius, kOuterRadius);
  svg +=
      "  </g>\n"
      "  <!-- rims and hub -->\n"
      "  <g fill=\"none\" stroke=\"#6e5a86\">\n" +
      Circle(kOuterRadius, "stroke-width=\"1.5\"") + Circle(kInnerRadius, "stroke-width=\"1.25\"") +
      Circle(kHubRadius, "stroke-width=\"1\" fill=\"#fbf8f1\"") + Circle(2.5, "fill=\"#6e5a86\"") +
      "  </g>\n";
  const Point centre = WheelCentre();
  svg += Arrow("Ascendant", kCuspDegrees[0], centre.x - 1);    // from the picture's left edge
  svg += Arrow("Midheaven", kCuspDegrees[9], centre.y - 0.5);  // from the picture's top edge
  svg += "</svg>\n";
  return svg;
}

}  // namespace solvane::display
