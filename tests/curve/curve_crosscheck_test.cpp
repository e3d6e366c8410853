// Cross-check of de Boor evaluation against the rational sum of B-spline
// basis functions from the Cox-de Boor recursion on the same float knots, over
// seeded random curves of every degree and knot style.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>
#include <vector>

#include "curve_builders.h"

namespace {

constexpr unsigned CROSSCHECK_SEED = 20240611;
constexpr int CURVE_SAMPLES = 300;
constexpr int CLEAR_PARAMETERS = 60;   // random parameters per curve away from knots
constexpr int NEAR_KNOT_SAMPLES = 12;  // parameters within KNOT_EPS of a knot, per curve
constexpr double AGREEMENT = 1e-9;     // relative to the curve's size
constexpr double CLEARANCE = 1.01 * KNOT_EPS;
constexpr double SNAP_MARGIN = 3.0;  // times KNOT_EPS times the local speed
constexpr double SPEED_STEP = 1e-6;  // finite-difference step of the speed estimate

struct Point2 {
  double x, y;
};

// A random curve and the record that is evaluated (its wrapped copy if closed).
struct Sample {
  CurvePtr curve;
  CurvePtr wrapped;
  const Curve* eval() const { return wrapped ? wrapped.get() : curve.get(); }
};

// Cox-de Boor, bottom up over every basis function; 0/0 counts as 0. Span s
// carries the degree-0 function, so the domain end can use its left span.
Point2 reference_point(const Curve* c, int s, double u) {
  const int p = c->degree;
  const int n = c->point_count;
  const int m = c->knot_count;
  std::vector<double> t(c->knots.begin(), c->knots.begin() + m);
  std::vector<double> N(m - 1, 0.0);
  N[s] = 1.0;
  for (int d = 1; d <= p; ++d) {
    for (int i = 0; i + d + 1 < m; ++i) {
      double value = 0.0;
      if (t[i + d] != t[i]) value += (u - t[i]) / (t[i + d] - t[i]) * N[i];
      if (t[i + d + 1] != t[i + 1])
        value += (t[i + d + 1] - u) / (t[i + d + 1] - t[i + 1]) * N[i + 1];
      N[i] = value;
    }
  }
  double x = 0.0, y = 0.0, w = 0.0;
  for (int i = 0; i < n; ++i) {
    const ControlPoint& q = c->points[i];
    x += N[i] * q.w * q.x;
    y += N[i] * q.w * q.y;
    w += N[i] * q.w;
  }
  return {x / w, y / w};
}

// The curve's point at u by the reference, u inside [t[p], t[n]].
Point2 reference_at(const Curve* c, double u) {
  int s = c->degree;
  for (int i = c->degree; i < c->point_count; ++i)
    if (c->knots[i] <= u) s = i;
  while (s > c->degree && c->knots[s] == c->knots[s + 1]) --s;
  return reference_point(c, s, u);
}

double distance(Point2 a, ControlPoint b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

double nearest_knot_distance(const Curve* c, double u) {
  double best = 1e300;
  for (int i = 0; i < c->knot_count; ++i) best = std::min(best, std::fabs(u - c->knots[i]));
  return best;
}

class CurveCrossCheck : public testing::Test {
 protected:
  Sample random_curve(int index) {
    const int p = 1 + index % DEGREE_MAX;
    const int types[] = {KNOT_UNIFORM, KNOT_CLAMPED, KNOT_CLOSED};
    const int type = types[(index / DEGREE_MAX) % 3];
    std::uniform_int_distribution<int> count(std::max(3, p + 1), 100);
    std::uniform_real_distribution<double> coord(-PAD_LIMIT, PAD_LIMIT);
    std::uniform_real_distribution<double> log_weight(std::log(0.1), std::log(10.0));
    Sample s;
    s.curve.reset(curve_new(CURVE_KIND_RATIONAL));
    s.curve->degree = p;
    const int n = count(rng);
    for (int i = 0; i < n; ++i) {
      const double x = coord(rng), y = coord(rng);
      curve_add_point(s.curve.get(), pad_point(x, y, std::exp(log_weight(rng))), ADD_AFTER);
    }
    curve_make_knots(s.curve.get(), type);
    if (type == KNOT_CLOSED) s.wrapped.reset(curve_wrapped_copy(s.curve.get()));
    return s;
  }

  // Largest |P| of the control points: the scale of the agreement bound.
  static double size_of(const Curve* c) {
    double size = 0.0;
    for (int i = 0; i < c->point_count; ++i)
      size = std::max(size, std::hypot(c->points[i].x, c->points[i].y));
    return size;
  }

  // Largest one-sided finite-difference speed of the reference around knot t.
  static double speed_at(const Curve* c, double t, double lo, double hi) {
    const Point2 mid = reference_at(c, t);
    double speed = 0.0;
    for (double h : {-SPEED_STEP, SPEED_STEP}) {
      if (t + h < lo || t + h > hi) continue;
      const Point2 side = reference_at(c, t + h);
      speed = std::max(speed, std::hypot(side.x - mid.x, side.y - mid.y) / SPEED_STEP);
    }
    return speed;
  }

  std::mt19937_64 rng{CROSSCHECK_SEED};
};

}  // namespace

TEST_F(CurveCrossCheck, DeBoorMatchesTheBasisFunctionSum) {
  double worst = 0.0;       // largest deviation / size on and clear of knots
  double worst_snap = 0.0;  // largest deviation / (KNOT_EPS * speed) near knots
  long evaluations = 0;
  for (int index = 0; index < CURVE_SAMPLES; ++index) {
    const Sample sample = random_curve(index);
    const Curve* c = sample.eval();
    SCOPED_TRACE(testing::Message() << "curve " << index << " degree " << c->degree << " points "
                                    << c->point_count << " type " << sample.curve->knot_type);
    const int p = c->degree;
    const double lo = c->knots[p];
    const double hi = c->knots[c->point_count];
    const double tolerance = AGREEMENT * size_of(c);
    auto check = [&](float u, double bound) {
      EXPECT_EQ(curve_eval(c, u), 1) << "u " << u;
      const double error = distance(reference_at(c, u), evaluated_point());
      EXPECT_LE(error, bound) << "u " << u;
      ++evaluations;
      return error;
    };

    for (int i = p; i <= c->point_count; ++i)
      worst = std::max(worst, check(c->knots[i], tolerance) / size_of(c));

    std::uniform_real_distribution<double> inside(lo, hi);
    for (int k = 0; k < CLEAR_PARAMETERS; ++k) {
      float u;
      do u = static_cast<float>(inside(rng));
      while (u < lo || u > hi || nearest_knot_distance(c, u) <= CLEARANCE);
      worst = std::max(worst, check(u, tolerance) / size_of(c));
    }

    std::uniform_int_distribution<int> knot(p, c->point_count);
    std::uniform_real_distribution<double> offset(0.05 * KNOT_EPS, 0.95 * KNOT_EPS);
    for (int k = 0; k < NEAR_KNOT_SAMPLES; ++k) {
      const double t = c->knots[knot(rng)];
      const float u = static_cast<float>(k % 2 ? t + offset(rng) : t - offset(rng));
      if (u < lo || u > hi || u == static_cast<float>(t)) continue;
      const double speed = speed_at(c, t, lo, hi);
      const double error = check(u, SNAP_MARGIN * KNOT_EPS * speed + tolerance);
      if (speed > 0.0) worst_snap = std::max(worst_snap, error / (KNOT_EPS * speed));
    }

    // Clear of the domain on either side nothing is evaluated.
    const float before = static_cast<float>(lo - 2 * KNOT_EPS);
    const float after = static_cast<float>(hi + 2 * KNOT_EPS);
    if (before >= 0.0f) {
      EXPECT_EQ(curve_eval(c, before), 0);
    }
    if (after <= 1.0f) {
      EXPECT_EQ(curve_eval(c, after), 0);
    }
  }
  std::cout << "[ cross-check ] " << evaluations << " evaluations; largest deviation " << worst
            << " of the curve's size on and clear of knots; near knots " << worst_snap
            << " x KNOT_EPS x speed\n";
  RecordProperty("largest_relative_deviation", testing::PrintToString(worst));
  RecordProperty("largest_snap_ratio", testing::PrintToString(worst_snap));
  EXPECT_GT(evaluations, CURVE_SAMPLES * CLEAR_PARAMETERS);
}
