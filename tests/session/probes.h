// Probes of the pad and the 3D view: the pixels where the model's mathematics
// puts points, labels, levels and curves, shared by probes.cpp and probes_3d.cpp.
#pragma once

#include "session/session.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace session {

//------------------------------------------------------------------------------
// The pad and the 3D view at the pixels the model names
//------------------------------------------------------------------------------

struct Spot {
  double x, y;
  bool in(int size, int margin = 4) const {
    return x >= margin && y >= margin && x < size - margin && y < size - margin;
  }
};
inline double dist(Spot a, Spot b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}
inline int near(const Pixels& p, Spot s, int r, Rgba c, int tolerance) {
  const int x = static_cast<int>(std::floor(s.x)), y = static_cast<int>(std::floor(s.y));
  return p.count(x - r, y - r, x + r, y + r, c, tolerance);
}
// Pixels of the colour anywhere in the picture.
inline int anywhere(const Pixels& p, Rgba c, int tolerance) {
  return p.count(p.x0, p.y0, p.x0 + p.width - 1, p.y0 + p.height - 1, c, tolerance);
}
// Pixels of the picture for which `is` holds, within r of s (everywhere when r < 0).
template <typename Is>
int where(const Pixels& p, Spot s, double r, Is is) {
  int n = 0;
  const int x0 = r < 0 ? p.x0 : int(s.x - r), x1 = r < 0 ? p.x0 + p.width : int(s.x + r) + 1;
  const int y0 = r < 0 ? p.y0 : int(s.y - r), y1 = r < 0 ? p.y0 + p.height : int(s.y + r) + 1;
  for (int y = std::max(y0, p.y0); y < std::min(y1, p.y0 + p.height); ++y)
    for (int x = std::max(x0, p.x0); x < std::min(x1, p.x0 + p.width); ++x)
      n += (r < 0 || dist(s, {x + 0.5, y + 0.5}) <= r) && is(p.at(x, y));
  return n;
}
// Colour c of alpha a over white, as blending puts it on the cleared window.
inline Rgba over_white(const float* c, float a) {
  return rgba_bytes(c[0] * a + 1 - a, c[1] * a + 1 - a, c[2] * a + 1 - a);
}
inline const float LEVEL_ROWS[10][3] = {
    {0.38f, 0.184f, 0.184f}, {0.184f, 0.6f, 0.184f},  {0.184f, 0.184f, 0.5f}, {0.8f, 0.59f, 0.3f},
    {0.5f, 0.0f, 0.2f},      {0.137f, 0.55f, 0.537f}, {0.75f, 0.18f, 0.7f},   {0.2f, 0.8f, 0.05f},
    {0.25f, 0.1f, 0.7f},     {1.0f, 0.25f, 0.0f}};
inline Rgba level_colour(int r) {
  return over_white(LEVEL_ROWS[(r + 1) % 10], 0.8f);
}
inline const Rgba CONTROL = rgba_bytes(0.14f, 0.14f, 0.56f), SELECTED = {0, 255, 0, 255},
                  INDEX = {0, 128, 255, 255}, KNOT = rgba_bytes(0.5f, 0.07f, 0.5f),
                  GRID_LINE = {186, 186, 186, 255}, CURVE_BLUE = {0, 0, 255, 255},
                  CURVE_RED = {255, 0, 0, 255}, RAY_GREEN = {0, 204, 0, 255};
inline const auto is_dark = [](Rgba c) {
  return c.r < 100 && c.g < 100 && c.b < 100 &&
         std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) <= 10;
};

// One curve as a window draws it: spots of its points, levels and curve.
struct View {
  const Pixels& p;
  int size;
  std::function<Spot(const Vec&)> at;  // homogeneous point to window pixel
  std::vector<int> selected;           // indices drawn in "Selected Point"
  bool later_wins;                     // no depth test: the last drawn covers
  std::vector<Spot> others = {};       // points of another curve, in other colours
};

// Control points in their colours, index labels beside the isolated ones; points
// under a sphere in front of them (`hidden`) are left out.
void check_points(const View& v, const Drawn& d, int labels, const std::vector<Spot>& hidden = {});
double to_segment(Spot p, Spot a, Spot b);
void check_levels(const View& v, const std::vector<std::vector<Vec>>& tri, bool whole,
                  const std::vector<Spot>& hidden = {});
void check_line(const View& v, const Drawn& d, Rgba colour, const std::vector<Spot>& avoid,
                const View* later = nullptr, const Drawn* under = nullptr);
// The indices of the selected points.
std::vector<int> selected_set();
std::vector<Spot> spots(const View& v, const Drawn& d, const std::vector<std::vector<Vec>>& tri);

}  // namespace session
