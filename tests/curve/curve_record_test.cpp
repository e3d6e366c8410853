// The Curve record: creation defaults per kind, growth in blocks that keeps
// contents, and the wrapped copy through which closed curves are drawn.
#include <gtest/gtest.h>

#include "curve_builders.h"

TEST(CurveRecord, NewCurveHasTheCreationValuesOfItsKind) {
  for (int kind = CURVE_KIND_1; kind <= CURVE_KIND_4; ++kind) {
    SCOPED_TRACE(kind);
    CurvePtr curve(curve_new(kind));
    EXPECT_EQ(curve->kind, kind);
    EXPECT_EQ(curve->nurbs != nullptr, kind != CURVE_KIND_1);
    EXPECT_EQ(curve->degree, kind == CURVE_KIND_1 ? 0 : 2);
    EXPECT_EQ(curve->knot_type, KNOT_CLAMPED);
    EXPECT_EQ(curve->point_count, 0);
    EXPECT_EQ(curve->knot_count, 0);
    EXPECT_EQ(curve->point_blocks, 1);
    EXPECT_EQ(curve->knot_blocks, 1);
    EXPECT_EQ(curve->points.size(), 100u);
    EXPECT_EQ(curve->point_marks.size(), 100u);
    EXPECT_EQ(curve->knots.size(), 100u);
    EXPECT_EQ(curve->wrapped, 0);
    EXPECT_EQ(curve->knot_min, 0.0f);
    EXPECT_EQ(curve->knot_max, 1.0f);
    EXPECT_EQ(curve->trace_u, 0.0f);
    for (int s : curve->selected) EXPECT_EQ(s, -1);
    for (float c : curve->colour) EXPECT_EQ(c, 0.0f);
    EXPECT_EQ(curve->joined_prev + curve->joined_next, 0);
    EXPECT_EQ(curve->prev, nullptr);
    EXPECT_EQ(curve->next, nullptr);
  }
  EXPECT_EQ(curve_point_limit(CURVE_KIND_1), 30);
  EXPECT_EQ(curve_point_limit(CURVE_KIND_LIFTED), 100);
  EXPECT_EQ(curve_point_limit(CURVE_KIND_RATIONAL), 100);
  EXPECT_EQ(curve_point_limit(CURVE_KIND_4), 24);
  curve_free(nullptr);
}

TEST(CurveRecord, GrowthAddsWholeBlocksAndKeepsContents) {
  CurvePtr curve(curve_new(CURVE_KIND_RATIONAL));
  for (int i = 0; i < 100; ++i) {
    curve->points[i] = ControlPoint{i * 0.01, -i * 0.01, 0.0, 1.0 + i};
    curve->point_marks[i] = i % 2;
    curve->knots[i] = i * 0.5f;
  }
  curve->point_count = 100;
  curve_grow_points(curve.get(), 99);
  EXPECT_EQ(curve->point_blocks, 1);
  EXPECT_EQ(curve->points.size(), 100u);
  curve_grow_points(curve.get(), 100);
  EXPECT_EQ(curve->point_blocks, 2);
  ASSERT_EQ(curve->points.size(), 200u);
  ASSERT_EQ(curve->point_marks.size(), 200u);
  curve_grow_knots(curve.get(), 250);
  EXPECT_EQ(curve->knot_blocks, 3);
  ASSERT_EQ(curve->knots.size(), 300u);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(curve->points[i].w, 1.0 + i);
    EXPECT_EQ(curve->points[i].x, i * 0.01);
    EXPECT_EQ(curve->point_marks[i], i % 2);
    EXPECT_EQ(curve->knots[i], i * 0.5f);
  }
  for (int i = 100; i < 200; ++i) EXPECT_EQ(curve->points[i].w, 0.0);
  for (int i = 100; i < 300; ++i) EXPECT_EQ(curve->knots[i], 0.0f);
  EXPECT_EQ(curve->point_count, 100);
}

TEST(CurveRecord, WrappedCopyRepeatsTheFirstDegreePoints) {
  CurvePtr closed =
      make_curve({pad_point(0, 0, 1), pad_point(1, 0, 2), pad_point(1, 1, 3), pad_point(0, 1, 4)},
                 2, KNOT_CLOSED);
  closed->point_marks[1] = 1;
  closed->colour[0] = 0.5f;
  closed->selected[3] = 2;
  CurvePtr copy(curve_wrapped_copy(closed.get()));
  ASSERT_EQ(copy->point_count, 6);
  const int order[] = {0, 1, 2, 3, 0, 1};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(copy->points[i].x, closed->points[order[i]].x);
    EXPECT_EQ(copy->points[i].y, closed->points[order[i]].y);
    EXPECT_EQ(copy->points[i].w, closed->points[order[i]].w);
    EXPECT_EQ(copy->point_marks[i], order[i] == 1 ? 1 : 0);
  }
  ASSERT_EQ(copy->knot_count, 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(copy->knots[i], closed->knots[i]);
  EXPECT_EQ(copy->wrapped, 1);
  EXPECT_EQ(copy->knot_type, KNOT_CLAMPED);
  EXPECT_EQ(copy->degree, 2);
  EXPECT_EQ(copy->colour[0], 0.5f);
  EXPECT_EQ(copy->selected[3], 2);
  EXPECT_NE(copy->nurbs, nullptr);

  // Nothing to repeat: no phantom points; counts past the arrays are cut.
  CurvePtr empty(curve_new(CURVE_KIND_RATIONAL));
  empty->wrapped = 1;
  empty->knot_count = 500;
  CurvePtr empty_copy(curve_wrapped_copy(empty.get()));
  EXPECT_EQ(empty_copy->point_count, 0);
  EXPECT_EQ(empty_copy->knot_count, 100);
}
