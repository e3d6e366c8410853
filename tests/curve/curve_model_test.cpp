// Curve model: de Boor evaluation and the lift against a rational Cox-de Boor sum
// over random curves with dragged (repeated) knots, knot vectors against integer
// formulas, the exact conic, refused records, point editing and wrapped copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "curve/curve.h"

using CurvePtr = std::unique_ptr<Curve, decltype(&curve_free)>;
using V = std::vector<double>;

// Edited curve holding the points in order, with degree p and a knot vector of the style.
static CurvePtr make(const std::vector<ControlPoint>& points, int p, int type) {
  CurvePtr curve(curve_new(CURVE_KIND_RATIONAL), curve_free);
  curve->degree = p;
  for (const ControlPoint& q : points) curve_add_point(curve.get(), q, ADD_AFTER);
  curve_make_knots(curve.get(), type);
  return curve;
}

// Sum of N_i(u) w_i P_i over sum of N_i(u) w_i, N by the Cox-de Boor recursion.
// Degree-0 functions are 1 on (t_i, t_i+1], so at a knot of multiplicity p + 1 the
// piece before it ends; at the domain start t_p they are 1 on [t_i, t_i+1).
static V reference(const std::vector<ControlPoint>& P, const V& t, int p, double u) {
  const int m = t.size();
  // (u - t_a) / (t_b - t_a); an empty interval carries a zero function, so any finite value.
  auto ramp = [&](int a, int b) { return t[b] > t[a] ? (u - t[a]) / (t[b] - t[a]) : 0.0; };
  V N(m);
  for (int i = 0; i + 1 < m; ++i)
    N[i] = u > t[p] ? t[i] < u && u <= t[i + 1] : t[i] <= u && u < t[i + 1];
  for (int d = 1; d <= p; ++d)
    for (int i = 0; i + d + 1 < m; ++i)
      N[i] = ramp(i, i + d) * N[i] + (1 - ramp(i + 1, i + d + 1)) * N[i + 1];
  double x = 0, y = 0, w = 0;
  for (size_t i = 0; i < P.size(); ++i)
    x += N[i] * P[i].w * P[i].x, y += N[i] * P[i].w * P[i].y, w += N[i] * P[i].w;
  return {x / w, y / w};
}

TEST(CurveEval, DeBoorAndTheLiftedCurveMatchTheRationalBasisSum) {
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> pad(-PAD_LIMIT, PAD_LIMIT), frac(0.1, 0.9);
  const ControlPoint& h = DeBoorTriangle[0];
  for (int index = 0; index < 180; ++index) {
    const int p = 1 + index % DEGREE_MAX, type = KNOT_UNIFORM + index / DEGREE_MAX % 3;
    const int n = std::uniform_int_distribution<int>(2 * p + 2, 130)(rng);
    const int count = type == KNOT_CLOSED ? n + p : n;  // points of the evaluated record
    // Weights 0.1 .. 10; z = 2 must not reach the lift. A closed curve is evaluated
    // through n + p points, its first p again at the end.
    std::vector<ControlPoint> P;
    P.reserve(count);
    for (int i = 0; i < n; ++i) P.push_back({pad(rng), pad(rng), 2, std::pow(10, pad(rng) / 3)});
    CurvePtr e = make(P, p, type);
    for (int i = n; i < count; ++i) P.push_back(P[i - n]);
    // A knot dragged onto its right neighbours: a run of s = p + 1, p or 1 .. p - 1 knots.
    const int s = index < 60 ? p + 1 - index / 30 : 1 + index % std::max(1, p - 1);
    const int j = std::uniform_int_distribution<int>(p + 1, count - s)(rng);
    std::fill_n(e->knots.begin() + j, s, e->knots[j]);
    const V t(e->knots.begin(), e->knots.begin() + count + p + 1);
    if (type == KNOT_CLOSED) e.reset(curve_wrapped_copy(e.get()));
    e->trace_u = frac(rng), e->selected[1] = 0;
    CurvePtr l(curve_new(CURVE_KIND_LIFTED), curve_free);
    curve_lift(e.get(), l.get());
    EXPECT_TRUE(l->knot_type == e->knot_type && l->wrapped == e->wrapped &&
                l->trace_u == e->trace_u && l->selected[0] == n - 1 && l->selected[1] == -1);
    // Both records at u, the lifted one seen from the origin on z = 1, against the sum at
    // `at`; refused outside [t_p, t_count] unless within KNOT_EPS of its ends. The curve
    // lies in the pad, so PAD_LIMIT is its size.
    auto check = [&](float u, double at) {
      const bool inside = u >= 0 && u <= 1 && u > t[p] - KNOT_EPS && u < t[count] + KNOT_EPS;
      const V want = reference(P, t, p, at);
      for (Curve* c : {e.get(), l.get()}) {
        ASSERT_EQ(curve_eval(c, u), inside) << "curve " << index << " u " << u;
        const double d = c == l.get() ? h.z : h.w;
        EXPECT_LE(inside ? std::hypot(h.x / d - want[0], h.y / d - want[1]) : 0, 1e-9 * PAD_LIMIT)
            << "curve " << index << " run of " << s << " at " << j << " u " << u;
      }
    };
    for (int i = p; i <= count; ++i) {
      const double T = t[i], next = t[std::min(i + 1, count)];
      // On the knot, clear of it on either side, and inside the span that follows.
      for (float u : {T, T - 2 * KNOT_EPS, T + 2 * KNOT_EPS, T + frac(rng) * (next - T)})
        check(u, u);
      // Snapped onto a knot of multiplicity p or more the curve is at a control point.
      if (std::count(t.begin() + p, t.end(), T) >= p)
        for (double u : {T - KNOT_EPS / 2, T + KNOT_EPS / 2}) check(u, T);
    }
  }
}

TEST(CurveEval, ExactConicMarkedPointsWrappedCopiesAndRefusedRecords) {
  const ControlPoint& h = DeBoorTriangle[0];
  CurvePtr arc = make({{1, 0, 0, 1}, {1, 1, 0, M_SQRT1_2}, {0, 1, 0, 1}}, 2, KNOT_CLAMPED);
  for (int k = 0; k <= 1024; ++k)
    EXPECT_TRUE(curve_eval(arc.get(), k / 1024.0f) &&
                std::fabs(std::hypot(h.x, h.y) / h.w - 1) < 1e-12)
        << k;
  // No operation of the program marks a point; the record carries marks along all the same.
  CurvePtr c = make({{0, 0, 0, 1}, {1, 2, 0, -0.01}, {2, 0, 0, 2}}, 2, KNOT_CLAMPED);
  c->point_marks[1] = c->point_marks[2] = 1;
  // Bernstein 1/4, 1/2, 1/4 on (0, 0, 1), the direction (1, 2, 0) and (4, 0, 2).
  EXPECT_EQ((V{1.0 * curve_eval(c.get(), 0.5f), h.x, h.y, h.w, 1.0 * deboor_marks[1]}),
            (V{1, 1.5, 1, 0.75, 1}));
  EXPECT_EQ((V{1.0 * curve_eval(c.get(), 1.0f), h.x, h.w, 1.0 * deboor_marks[0]}), (V{1, 4, 2, 1}));
  c->selected[19] = 1, c->colour[3] = 0.5f;
  CurvePtr copy(curve_wrapped_copy(c.get()), curve_free);
  EXPECT_TRUE(copy->selected[0] == 2 && copy->selected[19] == 1 && copy->colour[3] == 0.5f &&
              copy->wrapped == 1 && copy->knot_type == KNOT_CLAMPED);
  EXPECT_EQ(V(copy->point_marks.begin(), copy->point_marks.begin() + 5), (V{0, 1, 1, 0, 1}));
  curve_add_point(c.get(), {0, 0, 0, 1}, ADD_BEFORE);
  EXPECT_EQ(V(c->point_marks.begin(), c->point_marks.begin() + 4), (V{0, 1, 0, 1}));
  // Evaluation at u of a curve of degree r[0] with r[1] (scratch) points and their clamped
  // vector, its knot count then set to r[2] and, if given, knot 6 to r[3].
  auto eval = [](V r, float u) {
    CurvePtr c = make({}, r[0], KNOT_CLAMPED);
    c->point_count = r[1];
    curve_make_knots(c.get(), KNOT_CLAMPED);
    c->knot_count = r[2];
    if (r.size() > 3) c->knots[6] = r[3];
    return curve_eval(c.get(), u);
  };
  EXPECT_EQ(eval({3, 5, 9}, 0.5f) + eval({3, 5, 20}, 0.5f), 2) << "spare knots are readable";
  for (float u : {NAN, -0.0001f, 1.0001f}) EXPECT_EQ(eval({3, 5, 9}, u), 0) << u;
  for (V r : {V{0, 5, 9}, V{-3, 5, 9}, V{11, 12, 24}, V{3, 5, 8}, V{3, 5, 101}, V{3, 101, 105},
              V{3, -1, 9}, V{3, 5, 9, 0}})
    for (float u : {0.5f, 1.0f}) EXPECT_EQ(eval(r, u), 0) << r[0] << " " << r[1] << " " << r[2];
  EXPECT_EQ(curve_eval(nullptr, 0.5f), 0);
  curve_free(nullptr);
  // Arrays grow in blocks of 100 to more than asked for, keeping points, marks and knots.
  curve_grow_points(c.get(), 100), curve_grow_knots(c.get(), 250);
  EXPECT_TRUE(c->points.size() == 200 && c->point_marks.size() == 200 && c->knots.size() == 300 &&
              c->points[3].x == 2 && c->point_marks[3] == 1 && c->knots[5] == 1);
  c->point_count = 0, c->knot_count = 500;  // a count past the array is cut to it
  CurvePtr empty(curve_wrapped_copy(c.get()), curve_free);
  EXPECT_TRUE(empty->point_count == 0 && empty->knot_count == 300) << "an empty curve's copy";
}

TEST(CurveKnots, VectorsFollowTheirIntegerFormulasAndRefusalsChangeNothing) {
  for (int p = 1; p <= DEGREE_MAX; ++p) {
    CurvePtr c = make({}, p, KNOT_CLAMPED);
    for (int n = p + 1; n <= 100; ++n)
      for (int type : {KNOT_UNIFORM, KNOT_CLAMPED, KNOT_CLOSED}) {
        c->point_count = n;
        curve_make_knots(c.get(), type);
        const int m = type == KNOT_CLOSED ? n + 2 * p + 1 : n + p + 1;
        ASSERT_TRUE(c->knot_count == m && c->wrapped == (type == KNOT_CLOSED)) << n << " " << p;
        for (int i = 0; i < m; ++i) {
          // floor(1000 a / b) / 1000 in integers: the knot cut to three decimals.
          const int a = type == KNOT_UNIFORM ? i : std::clamp(i - p, 0, n - p);
          const int thousandths = 1000 * a / (type == KNOT_UNIFORM ? m - 1 : n - p);
          const float cut = thousandths / 1000.0;
          ASSERT_EQ(c->knots[i], type == KNOT_CLOSED ? static_cast<float>(i / (m - 1.0)) : cut)
              << "n " << n << " p " << p << " type " << type << " i " << i;
        }
      }
    // The closed vector of 100 points stays through an unknown style and through too few points.
    const std::vector<float> before = c->knots;
    for (int n : {100, p}) {
      c->point_count = n;
      curve_make_knots(c.get(), n > p ? KNOT_CLOSED + 1 : KNOT_UNIFORM);
      EXPECT_EQ(c->knot_count, n > p ? 101 + 2 * p : 0) << p;
      EXPECT_TRUE(c->knot_type == KNOT_CLOSED && c->wrapped == 1 && c->knots == before) << p;
    }
  }
}

TEST(CurveEdit, AddingByModeAndMovingWithinThePad) {
  // The current point after adding x = 9 to points x = 1 .. n with the given current
  // point, followed by the x of every point.
  auto add = [](int n, int current, int mode) {
    CurvePtr c = make({}, 2, KNOT_CLAMPED);
    for (int i = 1; i <= n; ++i) curve_add_point(c.get(), {1.0 * i, 0, 0, 1}, ADD_APPEND);
    c->selected[0] = current;
    curve_add_point(c.get(), {9, 0, 0, 1}, mode);
    V out = {1.0 * c->selected[0]};
    for (int i = 0; i < c->point_count; ++i) out.push_back(c->points[i].x);
    return out;
  };
  EXPECT_EQ(add(0, -1, ADD_BEFORE), (V{0, 9}));
  EXPECT_EQ(add(3, 1, ADD_AFTER), (V{2, 1, 2, 9, 3}));
  EXPECT_EQ(add(3, 1, ADD_BEFORE), (V{1, 1, 9, 2, 3}));
  EXPECT_EQ(add(3, 0, ADD_BEFORE + 1), (V{0, 1, 2, 3}));
  for (int current : {-1, 3, 1000})
    for (int mode : {ADD_AFTER, ADD_BEFORE, ADD_APPEND})
      EXPECT_EQ(add(3, current, mode), (V{3, 1, 2, 3, 9})) << current << " " << mode;
  // Refused: x to 3.25, y to -3.1, z to 3.01, x to NaN, no such point; then onto the corner.
  CurvePtr c = make({{2.75, 0.5, 0, 0.25}}, 2, KNOT_CLAMPED);
  for (V d : {V{0.5, 0.1, 0}, V{0, -3.6, 0}, V{0, 0, 3.01}, V{NAN, 0, 0}, V{0.25, -3.5, 0}})
    for (int a : {-1, 1, 0}) curve_move_point(c.get(), a, d[0], d[1], d[2]);
  const ControlPoint& q = c->points[0];
  EXPECT_EQ((V{q.x, q.y, q.z, q.w, c->points[1].x}), (V{3, -3, 0, 0.25, 0}));
}
