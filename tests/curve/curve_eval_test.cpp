// Evaluation and lifting: hand-computed points of small curves, the rejected
// parameters and records, the snap onto a nearby knot, exact conics, and the
// projection of the lifted curve onto the edited one.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "curve_builders.h"

namespace {

// Clamped cubic whose Bezier midpoint is hand-computed below.
CurvePtr bezier_cubic() {
  return make_curve({pad_point(-2, -1), pad_point(-1, 2), pad_point(1, 2.5), pad_point(2, -1)}, 3,
                    KNOT_CLAMPED);
}

void expect_point(double x, double y, double tolerance = 1e-12) {
  const ControlPoint c = evaluated_point();
  EXPECT_NEAR(c.x, x, tolerance);
  EXPECT_NEAR(c.y, y, tolerance);
}

}  // namespace

TEST(Evaluation, ClampedCubicMeetsItsEndsAndTheBezierMidpoint) {
  CurvePtr curve = bezier_cubic();
  curve->point_marks[3] = 1;  // weight 1: marked but finite
  ASSERT_EQ(curve_eval(curve.get(), 0.0f), 1);
  expect_point(-2, -1);
  ASSERT_EQ(curve_eval(curve.get(), 1.0f), 1);
  expect_point(2, -1);
  EXPECT_EQ(deboor_marks[0], 1);
  // (P0 + 3 P1 + 3 P2 + P3) / 8
  ASSERT_EQ(curve_eval(curve.get(), 0.5f), 1);
  expect_point((-2 - 3 + 3 + 2) / 8.0, (-1 + 6 + 7.5 - 1) / 8.0);
  EXPECT_NEAR(DeBoorTriangle[0].w, 1.0, 1e-15);
}

TEST(Evaluation, WeightsScaleThePullOfAPoint) {
  CurvePtr curve =
      make_curve({pad_point(0, 0, 1), pad_point(1, 2, 2), pad_point(2, 0, 1)}, 2, KNOT_CLAMPED);
  ASSERT_EQ(curve_eval(curve.get(), 0.5f), 1);
  EXPECT_NEAR(DeBoorTriangle[0].w, 0.25 + 2 * 0.5 + 0.25, 1e-15);
  expect_point((0 + 4 * 1 + 2) / 6.0, (0 + 4 * 2 + 0) / 6.0);  // (P0 + 4 P1 + P2) / 6
}

TEST(Evaluation, MarkedPointOfNearZeroWeightActsAsADirection) {
  CurvePtr curve =
      make_curve({pad_point(0, 0, 1), pad_point(1, 2, 0.01), pad_point(2, 0, 1)}, 2, KNOT_CLAMPED);
  curve->point_marks[1] = 1;
  // Bernstein weights 1/4, 1/2, 1/4 on (0,0,0,1), (1,2,0,0), (2,0,0,1).
  ASSERT_EQ(curve_eval(curve.get(), 0.5f), 1);
  EXPECT_NEAR(DeBoorTriangle[0].x, 1.0, 1e-15);
  EXPECT_NEAR(DeBoorTriangle[0].y, 1.0, 1e-15);
  EXPECT_NEAR(DeBoorTriangle[0].w, 0.5, 1e-15);
  EXPECT_EQ(deboor_marks[1], 1);
}

TEST(Evaluation, ZeroWeightsGiveAPointWithZeroW) {
  CurvePtr curve =
      make_curve({pad_point(0, 0, 0), pad_point(1, 2, 0), pad_point(2, 0, 0)}, 2, KNOT_CLAMPED);
  ASSERT_EQ(curve_eval(curve.get(), 0.3f), 1);
  EXPECT_EQ(DeBoorTriangle[0].w, 0.0);
  ASSERT_EQ(curve_eval(curve.get(), 1.0f), 1);
  EXPECT_EQ(DeBoorTriangle[0].w, 0.0);
}

TEST(Evaluation, ParametersOutsideTheDomainAreRejected) {
  CurvePtr clamped = bezier_cubic();
  EXPECT_EQ(curve_eval(clamped.get(), 1.0001f), 0);
  EXPECT_EQ(curve_eval(clamped.get(), -0.0001f), 0);
  EXPECT_EQ(curve_eval(clamped.get(), std::numeric_limits<float>::quiet_NaN()), 0);
  // Uniform, 4 points, degree 2: the domain is [t2, t4] = [0.333, 0.666].
  CurvePtr uniform = make_curve(
      {pad_point(-2, -1), pad_point(-1, 2), pad_point(1, 2.5), pad_point(2, -1)}, 2, KNOT_UNIFORM);
  EXPECT_EQ(curve_eval(uniform.get(), 0.1f), 0);
  EXPECT_EQ(curve_eval(uniform.get(), 0.3f), 0);
  EXPECT_EQ(curve_eval(uniform.get(), 0.4f), 1);
  EXPECT_EQ(curve_eval(uniform.get(), 0.666f), 1);
  EXPECT_EQ(curve_eval(uniform.get(), 0.7f), 0);
  uniform->point_count = 2;
  curve_make_knots(uniform.get(), KNOT_UNIFORM);
  EXPECT_EQ(curve_eval(uniform.get(), 0.5f), 0);
}

TEST(Evaluation, MalformedRecordsAreRejectedBeforeAnyRead) {
  CurvePtr good = make_curve(
      {pad_point(-2, -1), pad_point(-1, 2), pad_point(1, 2.5), pad_point(2, -1), pad_point(2.5, 1)},
      3, KNOT_CLAMPED);
  ASSERT_EQ(curve_eval(good.get(), 0.5f), 1);
  auto rejects = [&](auto&& spoil) {
    CurvePtr bad(curve_wrapped_copy(good.get()));
    bad->point_count = good->point_count;
    spoil(bad.get());
    return curve_eval(bad.get(), 0.5f) == 0 && curve_eval(bad.get(), 1.0f) == 0;
  };
  EXPECT_TRUE(rejects([](Curve* c) { c->degree = 0; }));
  EXPECT_TRUE(rejects([](Curve* c) { c->degree = -3; }));
  EXPECT_TRUE(rejects([](Curve* c) { c->degree = DEGREE_MAX + 1; }));
  EXPECT_TRUE(rejects([](Curve* c) { c->knot_count = 8; }));
  EXPECT_TRUE(rejects([](Curve* c) { c->knot_count = 101; }));
  EXPECT_TRUE(rejects([](Curve* c) { c->point_count = 101; }));
  EXPECT_TRUE(rejects([](Curve* c) { c->point_count = -1; }));
  EXPECT_TRUE(rejects([](Curve* c) { c->knot_count = -1; }));
  // Knots out of order leave an empty interval for one blend.
  EXPECT_TRUE(rejects([](Curve* c) { c->knots[6] = 0.0f; }));
  CurvePtr spare(curve_wrapped_copy(good.get()));
  spare->point_count = good->point_count;
  spare->knot_count = 20;  // more knots than needed are still readable
  EXPECT_EQ(curve_eval(spare.get(), 0.5f), 1);
  EXPECT_EQ(curve_eval(nullptr, 0.5f), 0);
}

TEST(Evaluation, ParameterWithinKnotEpsSnapsOntoTheKnot) {
  // Clamped cubic, 7 points: knots 0 0 0 0 .25 .5 .75 1 1 1 1. Clear of the
  // knot, u in [.25, .5) needs points 1..4; snapped onto .25 it needs 1..3.
  CurvePtr curve =
      make_curve({pad_point(-2, -1), pad_point(-1, 2), pad_point(1, 2.5), pad_point(2, -1),
                  pad_point(2.5, 1), pad_point(1, -2), pad_point(0, 0)},
                 3, KNOT_CLAMPED);
  const float snapped = 0.25f + 0.0001f;
  const float clear = 0.25f + 0.0002f;
  ASSERT_EQ(curve_eval(curve.get(), snapped), 1);
  const ControlPoint near_before = DeBoorTriangle[0];
  ASSERT_EQ(curve_eval(curve.get(), clear), 1);
  const ControlPoint clear_before = DeBoorTriangle[0];
  curve->points[4] = pad_point(-3, 3, 5);
  ASSERT_EQ(curve_eval(curve.get(), snapped), 1);
  EXPECT_EQ(DeBoorTriangle[0].x, near_before.x);
  EXPECT_EQ(DeBoorTriangle[0].w, near_before.w);
  ASSERT_EQ(curve_eval(curve.get(), clear), 1);
  EXPECT_NE(DeBoorTriangle[0].x, clear_before.x);
}

TEST(Evaluation, ConicWeightsGiveAnExactQuarterCircle) {
  const double w = std::sqrt(2.0) / 2.0;
  CurvePtr arc =
      make_curve({pad_point(1, 0, 1), pad_point(1, 1, w), pad_point(0, 1, 1)}, 2, KNOT_CLAMPED);
  for (int i = 0; i <= 1000; ++i) {
    const float u = i / 1000.0f;
    ASSERT_EQ(curve_eval(arc.get(), u), 1);
    const ControlPoint c = evaluated_point();
    ASSERT_NEAR(std::hypot(c.x, c.y), 1.0, 1e-12) << "u " << u;
  }
}

TEST(Lift, WeightedPointsGoOntoTheirRaysAndKnotDataIsCopied) {
  CurvePtr edited =
      make_curve({pad_point(0.5, -1, 2), pad_point(1, 1, 0.5), {-1, 2, 0.7, 1}}, 2, KNOT_CLOSED);
  edited->point_marks[0] = 1;
  edited->trace_u = 0.3f;
  edited->selected[0] = 1;
  edited->selected[1] = 2;
  CurvePtr lifted(curve_new(CURVE_KIND_LIFTED));
  lifted->colour[0] = 1.0f;
  curve_lift(edited.get(), lifted.get());
  ASSERT_EQ(lifted->point_count, 3);
  const ControlPoint expected[] = {{1, -2, 2, 1}, {0.5, 0.5, 0.5, 1}, {-1, 2, 1, 1}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lifted->points[i].x, expected[i].x);
    EXPECT_EQ(lifted->points[i].y, expected[i].y);
    EXPECT_EQ(lifted->points[i].z, expected[i].z);
    EXPECT_EQ(lifted->points[i].w, 1.0);
  }
  EXPECT_EQ(lifted->point_marks[0], 0);
  ASSERT_EQ(lifted->knot_count, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(lifted->knots[i], edited->knots[i]);
  EXPECT_EQ(lifted->knot_type, KNOT_CLOSED);
  EXPECT_EQ(lifted->wrapped, 1);
  EXPECT_EQ(lifted->degree, 2);
  EXPECT_EQ(lifted->trace_u, 0.3f);
  EXPECT_EQ(lifted->selected[0], 1);
  EXPECT_EQ(lifted->selected[1], -1);
  EXPECT_EQ(lifted->colour[0], 1.0f);
  EXPECT_EQ(lifted->kind, CURVE_KIND_LIFTED);
}

TEST(Lift, LiftedCurveProjectsOntoTheEditedCurve) {
  for (int type : {KNOT_UNIFORM, KNOT_CLAMPED, KNOT_CLOSED}) {
    SCOPED_TRACE(type);
    CurvePtr edited(curve_new(CURVE_KIND_RATIONAL));
    edited->degree = 3;
    for (int i = 0; i < 150; ++i)
      curve_add_point(edited.get(),
                      pad_point(2.5 * std::cos(i * 0.7), 2 * std::sin(i * 1.3), 0.2 + (i % 7)),
                      ADD_APPEND);
    curve_make_knots(edited.get(), type);
    CurvePtr lifted(curve_new(CURVE_KIND_LIFTED));
    curve_lift(edited.get(), lifted.get());
    ASSERT_EQ(lifted->point_count, 150);
    // Closed curves are evaluated through their wrapped copies.
    CurvePtr e(type == KNOT_CLOSED ? curve_wrapped_copy(edited.get()) : nullptr);
    CurvePtr l(type == KNOT_CLOSED ? curve_wrapped_copy(lifted.get()) : nullptr);
    const Curve* ec = e ? e.get() : edited.get();
    const Curve* lc = l ? l.get() : lifted.get();
    int evaluated = 0;
    for (int i = 0; i <= 2000; ++i) {
      const float u = i / 2000.0f;
      const int ok = curve_eval(ec, u);
      const ControlPoint c = evaluated_point();
      ASSERT_EQ(curve_eval(lc, u), ok);
      if (!ok) continue;
      ++evaluated;
      const ControlPoint& h = DeBoorTriangle[0];
      EXPECT_NEAR(h.x / h.z, c.x, 1e-12);
      EXPECT_NEAR(h.y / h.z, c.y, 1e-12);
    }
    EXPECT_GT(evaluated, 1000);
  }
}
