// Pixel clamps and truncation, and the step boxes' value, for the slider and
// the knot bar.
#include "widgets/value_steps.h"

namespace {

constexpr double PIXEL_LIMIT = 1.0e9;  // px, far outside any window and inside an int

}  // namespace

// Clamp of a pixel to [lo, hi].
int clamp_pixel(long long v, int lo, int hi) {
  if (v < lo) return lo;
  if (v > hi) return hi;
  return static_cast<int>(v);
}

// Truncation of a pixel to an int, cut to +-PIXEL_LIMIT.
int pixel_from_double(double p) {
  if (!(p > -PIXEL_LIMIT)) return static_cast<int>(-PIXEL_LIMIT);
  if (p > PIXEL_LIMIT) return static_cast<int>(PIXEL_LIMIT);
  return static_cast<int>(p);
}

// Step box click: the stepped value, held at the end it moved toward.
float step_box_value(float stepped, int direction, float min, float max) {
  if (direction < 0) return stepped < min ? min : stepped;
  return stepped > max ? max : stepped;
}
