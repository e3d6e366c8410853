// Whether a fan triangle or strip quad can give GL a fragment: pixel centres
// near the piece, its turn on screen, and the doubt GL leaves about both.
#include "view3d/piece_cover.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace {

//------------------------------------------------------------------------------
// Constants (window pixels)
//------------------------------------------------------------------------------

// Pixels of doubt about where GL puts a vertex: it rounds positions to the
// nearest 1/256 pixel (an error under 0.002) and works in floats (errors near
// 1e-4 pixel here), so 0.02 is ten times what it can miss by.
constexpr double PIECE_MARGIN = 0.02;
constexpr double PIECE_FLAT = 1e-6;         // twice the area (square pixels) of a flat triangle
constexpr double PIECE_CENTRES_MAX = 64.0;  // pixel centres searched for one piece at most
// Pixels a centre must keep from a hull's outline to count as clearly inside
// or outside: five times the doubt above without its margin (rounding to
// 1/256 pixel plus float error), and small enough that most small spheres
// have no centre that close.
constexpr double HULL_MARGIN = 0.01;
constexpr double HULL_CENTRES_MAX = 4096.0;  // pixel centres searched for one hull at most

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// One hull edge: a point on it and its unit normal pointing inside.
struct HullEdge {
  double x, y, nx, ny;
};

std::vector<int> hull_order;              // scratch: the points in x, then y order
std::vector<HullEdge> hull_edges;         // scratch: the edges of the outline being judged
std::vector<const double*> hull_corners;  // scratch: its corners

// Twice the signed window area of triangle (a, b, c): positive when it turns
// counter-clockwise on screen.
double twice_area(const double* a, const double* b, const double* c) {
  return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

// The pixel centres (k + 0.5) within PIECE_MARGIN pixels of the box round
// the n points, as ranges of k in first and last; false when there is none.
// A shape clear of every centre so found produces no fragment.
bool centres_near(const double* const* v, int n, double first[2], double last[2]) {
  for (int axis = 0; axis < 2; ++axis) {
    double lo = v[0][axis], hi = v[0][axis];
    for (int k = 1; k < n; ++k) {
      lo = std::min(lo, v[k][axis]);
      hi = std::max(hi, v[k][axis]);
    }
    first[axis] = std::ceil(lo - PIECE_MARGIN - 0.5);
    last[axis] = std::floor(hi + PIECE_MARGIN - 0.5);
    if (!std::isfinite(first[axis]) || !std::isfinite(last[axis])) {
      // Out of reach of any sum: let GL judge it.
      first[axis] = last[axis] = 0.0;
      return true;
    }
    if (first[axis] > last[axis]) return false;
  }
  return true;
}

// True when GL may give the convex polygon v[0..n) a fragment: some pixel
// centre of the ranges lies within PIECE_MARGIN pixels of it.
bool convex_may_cover(const double* const* v, int n, const double first[2], const double last[2]) {
  double area = 0.0;
  for (int k = 0; k < n; ++k) {
    const double* p = v[k];
    const double* q = v[(k + 1) % n];
    area += p[0] * q[1] - q[0] * p[1];
  }
  // Nearly flat: its edges give no reliable side, the box decides. A large
  // polygon is kept unjudged, so the search stays short at any zoom.
  if (!(std::fabs(area) >= PIECE_FLAT)) return true;
  if ((last[0] - first[0] + 1.0) * (last[1] - first[1] + 1.0) > PIECE_CENTRES_MAX) return true;
  const double turn = area > 0.0 ? 1.0 : -1.0;
  const int rows = static_cast<int>(last[1] - first[1]);
  const int columns = static_cast<int>(last[0] - first[0]);
  for (int row = 0; row <= rows; ++row)
    for (int column = 0; column <= columns; ++column) {
      const double px = first[0] + column + 0.5, py = first[1] + row + 0.5;
      bool inside = true;
      for (int e = 0; e < n && inside; ++e) {
        const double* p = v[e];
        const double* q = v[(e + 1) % n];
        const double ex = q[0] - p[0], ey = q[1] - p[1];
        // Distance of the centre from the edge times its length, positive
        // inside; |ex| + |ey| bounds the length from above.
        const double inward = turn * (ex * (py - p[1]) - ey * (px - p[0]));
        inside = inward >= -PIECE_MARGIN * (std::fabs(ex) + std::fabs(ey));
      }
      if (inside) return true;
    }
  return false;
}

// Point i of a list of x, y pairs.
const double* point_at(const double* xy, int i) {
  return xy + 2 * static_cast<ptrdiff_t>(i);
}

// True when GL may give triangle (a, b, c) a fragment.
bool triangle_may_cover(const double* a, const double* b, const double* c) {
  const double* v[3] = {a, b, c};
  double first[2], last[2];
  return centres_near(v, 3, first, last) && convex_may_cover(v, 3, first, last);
}

// True when GL surely culls triangle (a, b, c) as a back face: it turns
// clockwise by more than any doubt about its vertices could reverse.
bool triangle_culled(const double* a, const double* b, const double* c) {
  // Each side's |dx| + |dy| bounds its length from above.
  const double perimeter = std::fabs(b[0] - a[0]) + std::fabs(b[1] - a[1]) +
                           std::fabs(c[0] - b[0]) + std::fabs(c[1] - b[1]) +
                           std::fabs(a[0] - c[0]) + std::fabs(a[1] - c[1]);
  return twice_area(a, b, c) < -2.0 * PIECE_MARGIN * perimeter;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

bool piece_may_show(const double* const* v, int count, bool back_culled) {
  if (count == 3) {
    if (back_culled && triangle_culled(v[0], v[1], v[2])) return false;
    return triangle_may_cover(v[0], v[1], v[2]);
  }
  // Strip order v0 v1 v2 v3 turns as the quad v0 v1 v3 v2.
  const double* quad[4] = {v[0], v[1], v[3], v[2]};
  const double* t[4][3] = {{quad[0], quad[1], quad[2]},
                           {quad[1], quad[2], quad[3]},
                           {quad[2], quad[3], quad[0]},
                           {quad[3], quad[0], quad[1]}};
  if (back_culled) {
    bool all_culled = true;
    for (const auto& tri : t) all_culled = all_culled && triangle_culled(tri[0], tri[1], tri[2]);
    if (all_culled) return false;
  }
  double first[2], last[2];
  if (!centres_near(quad, 4, first, last)) return false;
  int left = 0, right = 0;
  for (const auto& tri : t) {
    const double turn = twice_area(tri[0], tri[1], tri[2]);
    left += turn >= PIECE_FLAT;
    right += turn <= -PIECE_FLAT;
  }
  if (left == 4 || right == 4) return convex_may_cover(quad, 4, first, last);
  return std::any_of(std::begin(t), std::end(t),
                     [](const auto& tri) { return triangle_may_cover(tri[0], tri[1], tri[2]); });
}

void hull_of(const double* xy, int n, std::vector<int>* hull) {
  // Andrew's monotone chain: the points in x then y order, the lower chain
  // left to right and the upper one back, each dropping points that do not
  // turn left, so that repeated and collinear points are left out.
  hull_order.resize(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) hull_order[static_cast<size_t>(k)] = k;
  std::sort(hull_order.begin(), hull_order.end(), [xy](int a, int b) {
    const double *pa = point_at(xy, a), *pb = point_at(xy, b);
    return pa[0] != pb[0] ? pa[0] < pb[0] : pa[1] < pb[1];
  });
  std::vector<int>& h = *hull;
  h.clear();
  for (int pass = 0; pass < 2 && n > 1; ++pass) {
    const size_t chain_start = h.size();
    for (int k = 0; k < n; ++k) {
      const int i = hull_order[static_cast<size_t>(pass == 0 ? k : n - 1 - k)];
      while (h.size() >= chain_start + 2 &&
             twice_area(point_at(xy, h[h.size() - 2]), point_at(xy, h.back()), point_at(xy, i)) <=
                 0.0)
        h.pop_back();
      h.push_back(i);
    }
    h.pop_back();  // each chain's last point starts the other
  }
}

bool outline_pixels_certain(const double* xy, int n) {
  if (n < 3) return false;
  // Each edge as a point on it and its unit inward normal.
  hull_edges.clear();
  hull_corners.clear();
  for (int k = 0; k < n; ++k) {
    const double* p = point_at(xy, k);
    const double* q = point_at(xy, (k + 1) % n);
    const double length = std::hypot(q[0] - p[0], q[1] - p[1]);
    if (!(length > 0.0)) return false;
    hull_edges.push_back({p[0], p[1], -(q[1] - p[1]) / length, (q[0] - p[0]) / length});
    hull_corners.push_back(p);
  }
  double first[2], last[2];
  if (!centres_near(hull_corners.data(), n, first, last)) return true;
  if ((last[0] - first[0] + 1.0) * (last[1] - first[1] + 1.0) > HULL_CENTRES_MAX) return false;
  const int rows = static_cast<int>(last[1] - first[1]);
  for (int row = 0; row <= rows; ++row) {
    const double py = first[1] + row + 0.5;
    // A centre beyond any edge line by the margin is clearly outside, one
    // inside all of them by it clearly inside. Along a row each edge's
    // distance is linear in x, so the centres within the margin of every edge
    // lie in one interval (near) and those clearly inside in another (inside).
    double near[2] = {first[0] + 0.5, last[0] + 0.5};
    double inside[2] = {-HUGE_VAL, HUGE_VAL};
    for (const HullEdge& e : hull_edges) {
      const double at_zero = (py - e.y) * e.ny - e.x * e.nx;  // distance at x = 0
      if (e.nx == 0.0) {
        if (at_zero < -HULL_MARGIN) near[1] = -HUGE_VAL;
        if (at_zero <= HULL_MARGIN) inside[1] = -HUGE_VAL;
        continue;
      }
      const int side = e.nx > 0.0 ? 0 : 1;  // the edge bounds the row from the left or right
      const double near_x = (-HULL_MARGIN - at_zero) / e.nx;
      const double inside_x = (HULL_MARGIN - at_zero) / e.nx;
      near[side] = side == 0 ? std::max(near[side], near_x) : std::min(near[side], near_x);
      inside[side] =
          side == 0 ? std::max(inside[side], inside_x) : std::min(inside[side], inside_x);
    }
    // The row's centres within reach of the outline, and whether each is
    // clearly inside.
    const double left = std::ceil(near[0] - 0.5) + 0.5, right = std::floor(near[1] - 0.5) + 0.5;
    if (left <= right && !(left > inside[0] && right < inside[1])) return false;
  }
  return true;
}
