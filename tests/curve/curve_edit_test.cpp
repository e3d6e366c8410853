// Control point editing: where each insertion mode puts the point and which
// point becomes current, the all-or-nothing pad bound of a move, and joined
// neighbours following a move, tangent rule included.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "curve_builders.h"

namespace {

// Points A, B, C at x = 1, 2, 3 with the given current point.
CurvePtr abc(int current) {
  CurvePtr curve = make_curve({pad_point(1, 0), pad_point(2, 0), pad_point(3, 0)}, 2, KNOT_CLAMPED);
  curve->selected[0] = current;
  return curve;
}

std::vector<double> xs(const Curve* curve) {
  std::vector<double> out;
  for (int i = 0; i < curve->point_count; ++i) out.push_back(curve->points[i].x);
  return out;
}

constexpr double X = 9.0;  // x of the inserted point

}  // namespace

TEST(PointInsertion, EachModePlacesThePointAndMakesItCurrent) {
  using V = std::vector<double>;
  CurvePtr empty(curve_new(CURVE_KIND_RATIONAL));
  curve_add_point(empty.get(), pad_point(X, 0), ADD_BEFORE);
  EXPECT_EQ(xs(empty.get()), V{X});
  EXPECT_EQ(empty->selected[0], 0);

  CurvePtr after = abc(1);
  curve_add_point(after.get(), pad_point(X, 0), ADD_AFTER);
  EXPECT_EQ(xs(after.get()), (V{1, 2, X, 3}));
  EXPECT_EQ(after->selected[0], 2);

  CurvePtr before = abc(1);
  curve_add_point(before.get(), pad_point(X, 0), ADD_BEFORE);
  EXPECT_EQ(xs(before.get()), (V{1, X, 2, 3}));
  EXPECT_EQ(before->selected[0], 1);

  CurvePtr last = abc(2);
  curve_add_point(last.get(), pad_point(X, 0), ADD_AFTER);
  EXPECT_EQ(xs(last.get()), (V{1, 2, 3, X}));
  EXPECT_EQ(last->selected[0], 3);

  CurvePtr append = abc(0);
  curve_add_point(append.get(), pad_point(X, 0), ADD_APPEND);
  EXPECT_EQ(xs(append.get()), (V{1, 2, 3, X}));
  EXPECT_EQ(append->selected[0], 3);

  CurvePtr unknown = abc(0);
  curve_add_point(unknown.get(), pad_point(X, 0), ADD_BEFORE + 1);
  EXPECT_EQ(xs(unknown.get()), (V{1, 2, 3}));
  EXPECT_EQ(unknown->selected[0], 0);
}

TEST(PointInsertion, CurrentPointNamingNoPointMakesAnAppend) {
  for (int current : {-1, 3, 1000}) {
    SCOPED_TRACE(current);
    CurvePtr curve = abc(current);
    curve_add_point(curve.get(), pad_point(X, 0), ADD_AFTER);
    curve->selected[0] = curve->point_count;
    curve_add_point(curve.get(), pad_point(X + 1, 0), ADD_BEFORE);
    EXPECT_EQ(xs(curve.get()), (std::vector<double>{1, 2, 3, X, X + 1}));
    EXPECT_EQ(curve->selected[0], 4);
  }
}

TEST(PointInsertion, MarksStayWithTheirPointsAndArraysGrow) {
  CurvePtr curve = abc(1);
  curve->point_marks[2] = 1;
  curve_add_point(curve.get(), pad_point(X, 0), ADD_BEFORE);
  EXPECT_EQ(curve->point_marks[1], 0);
  EXPECT_EQ(curve->point_marks[3], 1);
  // Inserting after point 0 every time pushes the whole curve through growth.
  CurvePtr many = abc(0);
  for (int i = 0; i < 150; ++i) {
    many->selected[0] = 0;
    curve_add_point(many.get(), pad_point(i, 0), ADD_AFTER);
  }
  ASSERT_EQ(many->point_count, 153);
  EXPECT_EQ(many->point_blocks, 2);
  EXPECT_EQ(many->points[1].x, 149.0);
  EXPECT_EQ(many->points[150].x, 0.0);
  EXPECT_EQ(many->points[152].x, 3.0);
}

TEST(PointMove, MoveLeavingThePadIsRefusedWhole) {
  CurvePtr curve = make_curve({pad_point(2.75, 0.5, 0.25)}, 2, KNOT_CLAMPED);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  curve_move_point(curve.get(), 0, 0.5, 0.1, 0.0);   // x would be 3.25
  curve_move_point(curve.get(), 0, 0.0, -3.6, 0.0);  // y would be -3.1
  curve_move_point(curve.get(), 0, 0.0, 0.0, 3.01);  // z would be 3.01
  curve_move_point(curve.get(), 0, nan, 0.0, 0.0);   // no position at all
  curve_move_point(curve.get(), 1, 0.1, 0.0, 0.0);   // no such point
  curve_move_point(curve.get(), -1, 0.1, 0.0, 0.0);
  EXPECT_EQ(curve->points[0].x, 2.75);
  EXPECT_EQ(curve->points[0].y, 0.5);
  EXPECT_EQ(curve->points[0].z, 0.0);
  curve_move_point(curve.get(), 0, 0.25, -3.5, 0.0);  // lands on x = 3, y = -3
  EXPECT_EQ(curve->points[0].x, 3.0);
  EXPECT_EQ(curve->points[0].y, -3.0);
  EXPECT_EQ(curve->points[0].w, 0.25);
}

// Three curves joined end to start: prev's last point and this curve's point 0
// share the joint J = (0, 0, 0); this curve's last point is next's point 0.
class JoinedCurves : public testing::Test {
 protected:
  void SetUp() override {
    prev = make_curve({pad_point(-2.5, 0), pad_point(-2, -1), pad_point(0, 0)}, 2, KNOT_CLAMPED);
    curve = make_curve({pad_point(0, 0), pad_point(1, 0.5), pad_point(1, -1), pad_point(2, 0)}, 2,
                       KNOT_CLAMPED);
    next = make_curve({pad_point(2, 0), pad_point(2.5, 1), pad_point(2.5, 2)}, 2, KNOT_CLAMPED);
    curve->joined_prev = curve->joined_next = 1;
    curve->prev = prev.get();
    curve->next = next.get();
  }
  static void expect_at(const ControlPoint& p, double x, double y, double z) {
    EXPECT_DOUBLE_EQ(p.x, x);
    EXPECT_DOUBLE_EQ(p.y, y);
    EXPECT_DOUBLE_EQ(p.z, z);
  }
  CurvePtr prev, curve, next;
};

TEST_F(JoinedCurves, MovingAJointCarriesBothSides) {
  curve_move_point(curve.get(), 0, 0.5, 0.25, 0.0);
  expect_at(curve->points[0], 0.5, 0.25, 0);
  expect_at(curve->points[1], 1.5, 0.75, 0);
  expect_at(prev->points[2], 0.5, 0.25, 0);
  expect_at(prev->points[1], -1.5, -0.75, 0);
  curve_move_point(curve.get(), 3, -0.5, 0.5, 0.0);
  expect_at(curve->points[3], 1.5, 0.5, 0);
  expect_at(curve->points[2], 0.5, -0.5, 0);
  expect_at(next->points[0], 1.5, 0.5, 0);
  expect_at(next->points[1], 2.0, 1.5, 0);
  expect_at(next->points[2], 2.5, 2, 0);
}

TEST_F(JoinedCurves, TangentRuleKeepsTheNeighbourOppositeTheMovedPoint) {
  // Point 1 goes from (1, 0.5) to (2, 1): its offset from J doubles on both
  // axes, so prev's Q = (-2, -1) doubles its offset too; z offsets are zero.
  curve_move_point(curve.get(), 1, 1.0, 0.5, 0.0);
  expect_at(prev->points[1], -4, -2, 0);
  // Next side, J = (2, 0): point 2 from (1, -1) to (1, -0.5) keeps its x
  // offset -1 (Q.x = 2 - (-1)(2 - 2.5)/(-1) = 2.5), halves its y offset
  // (Q.y = 0 - (-0.5)(0 - 1)/(-1) = 0.5).
  curve_move_point(curve.get(), 2, 0.0, 0.5, 0.0);
  expect_at(next->points[1], 2.5, 0.5, 0);
}

TEST_F(JoinedCurves, TangentRuleTakesAZeroOffsetsProportionFromAnotherAxis) {
  // Point 1 at J's x: x takes the y proportion, Q.x = 0 - 1 * (0 - (-1)) / 2.
  curve->points[1] = pad_point(0, 1);
  prev->points[1] = pad_point(0.25, -1);
  curve_move_point(curve.get(), 1, 1.0, 1.0, 0.0);
  expect_at(prev->points[1], -0.5, -2, 0);
}

TEST_F(JoinedCurves, TangentRuleWithZeroDenominatorKeepsTheCoordinate) {
  // Point 1 moves onto the joint: x and z would divide by zero offsets.
  curve->points[1] = pad_point(0, 1);
  prev->points[1] = ControlPoint{0.25, -1, 0.5, 1};
  curve_move_point(curve.get(), 1, 0.0, -1.0, 0.0);
  const ControlPoint& q = prev->points[1];
  ASSERT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z));
  expect_at(q, 0.25, 0, 0.5);
}
