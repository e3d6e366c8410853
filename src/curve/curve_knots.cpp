// Knot vectors generated from the point count, the degree and one of three
// styles; open vectors are cut to three decimals so the knot panel shows short
// values, closed ones stay evenly spaced at full precision.
#include <cstdint>

#include "curve/curve.h"

namespace {

constexpr double TRUNC_SCALE = 1000.0;  // knots keep three decimals
constexpr double TRUNC_STEP = 0.001;    // one unit of the last kept decimal

// x cut to three decimals toward zero: 2/3 gives 0.666, never 0.667.
double trunc3(double x) {
  return static_cast<double>(static_cast<std::int64_t>(TRUNC_SCALE * x)) * TRUNC_STEP;
}

// Evenly spaced knots from 0 to hi - lo, truncated for a uniform vector.
void make_even(Curve* curve, int m, double range, bool truncate) {
  for (int i = 0; i < m; ++i) {
    const double t = i * range / (m - 1);
    curve->knots[i] = static_cast<float>(truncate ? trunc3(t) : t);
  }
}

// p + 1 knots at each end so the curve starts and ends on its end points.
void make_clamped(Curve* curve, int n, int p, int m, double lo, double hi) {
  for (int i = 0; i <= p; ++i) curve->knots[i] = static_cast<float>(lo);
  for (int i = m - 1; i >= n; --i) curve->knots[i] = static_cast<float>(hi);
  for (int i = p + 1; i < n; ++i)
    curve->knots[i] = static_cast<float>(lo + trunc3((i - p) * (hi - lo) / (n - p)));
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Replaces the knot vector; too few points (or a negative degree) only clear it,
// an unknown style changes nothing.
void curve_make_knots(Curve* curve, int type) {
  const int n = curve->point_count;
  const int p = curve->degree;
  if (n <= p || p < 0) {
    curve->knot_count = 0;
    return;
  }
  // An unknown style would leave stale knots counted as valid: change nothing.
  if (type != KNOT_UNIFORM && type != KNOT_CLAMPED && type != KNOT_CLOSED) return;
  const double lo = curve->knot_min;
  const double hi = curve->knot_max;
  curve->knot_type = type;
  curve->wrapped = 0;
  int m = n + p + 1;
  // A closed curve is evaluated through its wrapped copy of n + p points.
  if (type == KNOT_CLOSED) {
    curve->wrapped = 1;
    m = n + 2 * p + 1;
  }
  curve->knot_count = m;
  curve_grow_knots(curve, m);
  switch (type) {
    case KNOT_UNIFORM: make_even(curve, m, hi - lo, true); break;
    case KNOT_CLAMPED: make_clamped(curve, n, p, m, lo, hi); break;
    default: make_even(curve, m, hi - lo, false); break;
  }
}
