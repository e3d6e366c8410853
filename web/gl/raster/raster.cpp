// Lines and points as Mesa's llvmpipe rasterises them: a line becomes a quad as wide as the
// line across its major axis, its ends moved by the diamond-exit rule, both snapped to 1/256
// pixel and filled with the top-left rule; a point is a square of whole pixels.
#include "gl/raster/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int FIXED_ORDER = 8;               // sub-pixel bits of the snapped positions
constexpr int FIXED_ONE = 1 << FIXED_ORDER;  // one pixel in fixed point
constexpr float PIXEL_OFFSET = 0.5f;         // GL samples pixels at their centres
constexpr float MIN_LINE_WIDTH = 1.0f;       // thinner lines are drawn 1 pixel wide
constexpr int STIPPLE_BITS = 16;             // pattern length
// Mesa fills lines in rows counted down from the top with the bottom-edge rule: a sample on
// a left or bottom edge counts, one on a right or top edge does not.
constexpr int BOTTOM_EDGE_ADJUST = 1;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// Position in fixed point, rounded to nearest (ties to even) as Mesa's snap does.
int snap(float a) {
  return static_cast<int>(std::lrintf(a * FIXED_ONE));
}

// Quotient rounded towards minus infinity (b > 0).
int64_t floor_div(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

float frac(float f) {
  return f - std::floor(f);
}

float sign_of(float x) {
  return x >= 0.0f ? 1.0f : -1.0f;
}

// Fills the convex polygon of n (3 or 4) corners (x[i], y[i]) in fixed point, rows counted
// down, as Mesa builds it: its inside on the positive side of each edge, a pixel lit when its
// sample point is strictly inside every edge, or on a left or bottom edge, and inside bounds
// (first and last column and row, or null for no limit). t of each pixel is its projection onto
// (ax, ay)-(bx, by).
void fill_polygon(const int* x, const int* y, int n, float ax, float ay, float bx, float by,
                  const int* bounds, std::vector<PixelFragment>* out) {
  int64_t dcdx[4], dcdy[4], c[4];
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    dcdx[i] = y[i] - y[j];
    dcdy[i] = x[i] - x[j];
    c[i] = dcdx[i] * x[i] - dcdy[i] * y[i];
    if (dcdx[i] < 0 || (dcdx[i] == 0 && dcdy[i] < 0)) ++c[i];
  }
  int min_x = x[0], max_x = x[0], min_y = y[0], max_y = y[0];
  for (int i = 1; i < n; ++i) {
    min_x = std::min(min_x, x[i]);
    max_x = std::max(max_x, x[i]);
    min_y = std::min(min_y, y[i]);
    max_y = std::max(max_y, y[i]);
  }
  const int px0 = (min_x + FIXED_ONE - 1) >> FIXED_ORDER;
  const int px1 = ((max_x + FIXED_ONE - 1) >> FIXED_ORDER) - 1;
  const int py0 = (min_y + FIXED_ONE - 1 + BOTTOM_EDGE_ADJUST) >> FIXED_ORDER;
  const int py1 = ((max_y + FIXED_ONE - 1 + BOTTOM_EDGE_ADJUST) >> FIXED_ORDER) - 1;
  const int qx0 = bounds != nullptr ? std::max(px0, bounds[0]) : px0;
  const int qy0 = bounds != nullptr ? std::max(py0, bounds[1]) : py0;
  const int qx1 = bounds != nullptr ? std::min(px1, bounds[2]) : px1;
  const int qy1 = bounds != nullptr ? std::min(py1, bounds[3]) : py1;
  const float dx = bx - ax, dy = by - ay;
  const float len2 = dx * dx + dy * dy;
  for (int py = qy0; py <= qy1; ++py) {
    // Each edge's test on this row, k - a * px > 0, holds on a run of columns: intersect them.
    const int64_t sy = static_cast<int64_t>(py) * FIXED_ONE;
    int64_t lo = qx0, hi = qx1;
    for (int i = 0; i < n && lo <= hi; ++i) {
      const int64_t k = c[i] + dcdy[i] * sy, a = dcdx[i] * FIXED_ONE;
      if (a == 0) {
        if (k <= 0) hi = lo - 1;
      } else if (a > 0) {
        hi = std::min(hi, floor_div(k - 1, a));
      } else {
        lo = std::max(lo, floor_div(-k, -a) + 1);
      }
    }
    for (int64_t col = lo; col <= hi; ++col) {
      const int px = static_cast<int>(col);
      float t = 0.0f;
      if (len2 > 0.0f) t = ((px + PIXEL_OFFSET - ax) * dx + (py + PIXEL_OFFSET - ay) * dy) / len2;
      out->push_back(PixelFragment{px, py, std::min(1.0f, std::max(0.0f, t))});
    }
  }
}

// The quad of an x-major line: ends moved by the diamond-exit rule, widened vertically.
void quad_x_major(const float* v1, const float* v2, float dx, float dy, int fixed_width, int x[4],
                  int y[4]) {
  const float dydx = dy / dx;
  const float x1diff = v1[0] - std::floor(v1[0]) - 0.5f;
  const float y1diff = v1[1] - std::floor(v1[1]) - 0.5f;
  const float x2diff = v2[0] - std::floor(v2[0]) - 0.5f;
  float y2diff = v2[1] - std::floor(v2[1]) - 0.5f;
  if (y2diff == -0.5f && dy < 0.0f) y2diff = 0.5f;

  // Diamond exit: does the line leave the diamond of the pixel holding each end?
  const float y1intersect = frac(v1[1]) + x1diff * dydx;
  const float y2intersect = frac(v2[1]) + x2diff * dydx;
  const bool draw_start =
      std::fabs(x1diff) + std::fabs(y1diff) < 0.5f ||
      (sign_of(x1diff) != sign_of(-dx) &&
       (sign_of(-y1diff) != sign_of(dy) || (y1intersect < 1.0f && y1intersect > 0.0f)));
  const bool draw_end =
      !(std::fabs(x2diff) + std::fabs(y2diff) < 0.5f) && sign_of(x2diff) == sign_of(-dx) &&
      (sign_of(-y2diff) == sign_of(dy) || (y2intersect < 1.0f && y2intersect > 0.0f));
  const bool will_draw_start = sign_of(-x1diff) != sign_of(dx);
  const bool will_draw_end = sign_of(x2diff) == sign_of(-dx) || x2diff == 0.0f;

  float x_offset = 0, y_offset = 0, x_offset_end = 0, y_offset_end = 0;
  if (dx < 0.0f) {
    std::swap(v1, v2);
    if (will_draw_start != draw_start) {
      x_offset_end = -x1diff - 0.5f;
      y_offset_end = x_offset_end * dydx;
    }
    if (will_draw_end != draw_end) {
      x_offset = -x2diff - 0.5f;
      y_offset = x_offset * dydx;
    }
  } else {
    if (will_draw_start != draw_start) {
      x_offset = -x1diff + 0.5f;
      y_offset = x_offset * dydx;
    }
    if (will_draw_end != draw_end) {
      x_offset_end = -x2diff + 0.5f;
      y_offset_end = x_offset_end * dydx;
    }
  }
  x[0] = snap(v1[0] + x_offset - PIXEL_OFFSET);
  x[1] = snap(v2[0] + x_offset_end - PIXEL_OFFSET);
  x[2] = x[1];
  x[3] = x[0];
  y[0] = snap(v1[1] + y_offset - PIXEL_OFFSET) - fixed_width / 2;
  y[1] = snap(v2[1] + y_offset_end - PIXEL_OFFSET) - fixed_width / 2;
  y[2] = y[1] + fixed_width;
  y[3] = y[0] + fixed_width;
}

// The quad of a y-major line: ends moved by the diamond-exit rule, widened horizontally.
void quad_y_major(const float* v1, const float* v2, float dx, float dy, int fixed_width, int x[4],
                  int y[4]) {
  const float dxdy = dx / dy;
  const float x1diff = v1[0] - std::floor(v1[0]) - 0.5f;
  const float y1diff = v1[1] - std::floor(v1[1]) - 0.5f;
  float x2diff = v2[0] - std::floor(v2[0]) - 0.5f;
  const float y2diff = v2[1] - std::floor(v2[1]) - 0.5f;
  if (x2diff == -0.5f && dx < 0.0f) x2diff = 0.5f;

  const float x1intersect = frac(v1[0]) + y1diff * dxdy;
  const float x2intersect = frac(v2[0]) + y2diff * dxdy;
  const bool draw_start =
      std::fabs(x1diff) + std::fabs(y1diff) < 0.5f ||
      (sign_of(-y1diff) != sign_of(dy) &&
       (sign_of(x1diff) != sign_of(-dx) || (x1intersect < 1.0f && x1intersect > 0.0f)));
  const bool draw_end =
      !(std::fabs(x2diff) + std::fabs(y2diff) < 0.5f) && sign_of(-y2diff) == sign_of(dy) &&
      (sign_of(x2diff) == sign_of(-dx) || (x2intersect < 1.0f && x2intersect >= 0.0f));
  const bool will_draw_start = sign_of(y1diff) == sign_of(dy);
  const bool will_draw_end = sign_of(-y2diff) == sign_of(dy) || y2diff == 0.0f;

  float x_offset = 0, y_offset = 0, x_offset_end = 0, y_offset_end = 0;
  if (dy > 0.0f) {
    std::swap(v1, v2);
    if (will_draw_start != draw_start) {
      y_offset_end = -y1diff + 0.5f;
      x_offset_end = y_offset_end * dxdy;
    }
    if (will_draw_end != draw_end) {
      y_offset = -y2diff + 0.5f;
      x_offset = y_offset * dxdy;
    }
  } else {
    if (will_draw_start != draw_start) {
      y_offset = -y1diff - 0.5f;
      x_offset = y_offset * dxdy;
    }
    if (will_draw_end != draw_end) {
      y_offset_end = -y2diff - 0.5f;
      x_offset_end = y_offset_end * dxdy;
    }
  }
  x[0] = snap(v1[0] + x_offset - PIXEL_OFFSET) - fixed_width / 2;
  x[1] = snap(v2[0] + x_offset_end - PIXEL_OFFSET) - fixed_width / 2;
  x[2] = x[1] + fixed_width;
  x[3] = x[0] + fixed_width;
  y[0] = snap(v1[1] + y_offset - PIXEL_OFFSET);
  y[1] = snap(v2[1] + y_offset_end - PIXEL_OFFSET);
  y[2] = y[1];
  y[3] = y[0];
}

// Whether stipple bit (counter / factor) mod 16 is set.
bool stipple_on(int counter, unsigned short pattern, int factor) {
  const int bit = (counter / factor) & (STIPPLE_BITS - 1);
  return ((1u << bit) & pattern) != 0;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

namespace {

// Mesa's line in rows counted down: dx, dy run from the second vertex to the first.
void line_down(float x1, float y1, float x2, float y2, float width,
               std::vector<PixelFragment>* out) {
  const float v1[2] = {x1, y1}, v2[2] = {x2, y2};
  const float dx = x1 - x2, dy = y1 - y2;
  if (dx * dx + dy * dy == 0.0f) return;
  // Lines that are not smoothed are as wide as the width rounded to whole pixels.
  const int fixed_width = snap(std::max(MIN_LINE_WIDTH, std::round(width)));
  int x[4], y[4];
  if (std::fabs(dx) >= std::fabs(dy))
    quad_x_major(v1, v2, dx, dy, fixed_width, x, y);
  else
    quad_y_major(v1, v2, dx, dy, fixed_width, x, y);
  fill_polygon(x, y, 4, x1, y1, x2, y2, nullptr, out);
}

}  // namespace

// The line is rasterised in rows counted down, as Mesa does for a window, and its rows turned
// back to count up.
void raster_line(float x1, float y1, float x2, float y2, float width, int height,
                 std::vector<PixelFragment>* out) {
  const size_t from = out->size();
  line_down(x1, y1, x2, y2, width, out);
  for (size_t i = from; i < out->size(); ++i) (*out)[i].y = height - 1 - (*out)[i].y;
}

// The pattern is stepped once per pixel along the major axis; each run of set bits becomes a
// line of its own between the points that far along the segment, and the strip's counter moves
// on by the whole pixels stepped.
void raster_stippled_line(float x1, float y1, float x2, float y2, float width, int height,
                          bool reset, PixelStipple* stipple, std::vector<PixelFragment>* out) {
  if (reset) stipple->counter = 0.0f;
  const float length = std::max(std::fabs(x1 - x2), std::fabs(y1 - y2));
  const int steps = std::isfinite(length) ? static_cast<int>(std::ceil(length)) : 0;
  const int base = static_cast<int>(stipple->counter);
  float start = 0.0f;
  bool on = false;
  auto emit = [&](float t0, float t1) {
    const size_t from = out->size();
    raster_line(x1 + (x2 - x1) * t0, y1 + (y2 - y1) * t0, x1 + (x2 - x1) * t1, y1 + (y2 - y1) * t1,
                width, height, out);
    // Parameters along the whole segment, not the piece.
    for (size_t i = from; i < out->size(); ++i) (*out)[i].t = t0 + (t1 - t0) * (*out)[i].t;
  };
  for (int i = 0; i < steps; ++i) {
    const bool bit = stipple_on(base + i, stipple->pattern, stipple->factor);
    if (bit == on) continue;
    if (on) {
      if (start != static_cast<float>(i)) emit(start / length, i / length);
    } else {
      start = static_cast<float>(i);
    }
    on = bit;
  }
  if (on && start < length) emit(start / length, 1.0f);
  stipple->counter += static_cast<float>(steps);
}

// Mesa rounds the size up to whole pixels and lights the pixels whose centres fall in the
// square, those on its right or top edge included and those on its left or bottom edge not.
void raster_point(float x, float y, float size, std::vector<PixelFragment>* out) {
  const int fixed_width = std::max(FIXED_ONE, (snap(size) + FIXED_ONE / 2 - 1) & ~(FIXED_ONE - 1));
  const int x0 = snap(x - PIXEL_OFFSET) - fixed_width / 2;
  const int y0 = snap(y - PIXEL_OFFSET) - fixed_width / 2;
  const int px0 = (x0 >> FIXED_ORDER) + 1, px1 = (x0 + fixed_width) >> FIXED_ORDER;
  const int py0 = (y0 >> FIXED_ORDER) + 1, py1 = (y0 + fixed_width) >> FIXED_ORDER;
  for (int py = py0; py <= py1; ++py)
    for (int px = px0; px <= px1; ++px) out->push_back(PixelFragment{px, py, 0.0f});
}

// Mesa's triangle: corners snapped to 1/256 pixel in rows counted down from the window's top,
// turned to the orientation its setup uses, filled with the same edge rule as lines; rows of
// the pixels lit counted back up.
void raster_triangle(const float* a, const float* b, const float* c, int height, const int box[4],
                     std::vector<PixelFragment>* out) {
  int x[3], y[3];
  const float* v[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    x[i] = snap(v[i][0] - PIXEL_OFFSET);
    y[i] = snap(v[i][1] - PIXEL_OFFSET);
  }
  const int64_t area = static_cast<int64_t>(x[0] - x[2]) * (y[1] - y[2]) -
                       static_cast<int64_t>(y[0] - y[2]) * (x[1] - x[2]);
  if (area == 0) return;
  if (area > 0) {
    std::swap(x[1], x[2]);
    std::swap(y[1], y[2]);
  }
  // The box's rows counted down: its top row comes first.
  const int bounds[4] = {box[0], height - 1 - box[3], box[2], height - 1 - box[1]};
  const size_t from = out->size();
  fill_polygon(x, y, 3, 0.0f, 0.0f, 0.0f, 0.0f, bounds, out);
  for (size_t i = from; i < out->size(); ++i) (*out)[i].y = height - 1 - (*out)[i].y;
}
