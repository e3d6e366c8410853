// Knot vectors: the listed vectors of each style, three-decimal truncation
// toward zero for every size the system offers, and the too-few-points case.
#include <gtest/gtest.h>

#include <vector>

#include "curve_builders.h"

namespace {

// Curve of n zero points and degree p with a vector of the given style.
CurvePtr knot_curve(int n, int p, int type) {
  CurvePtr curve(curve_new(CURVE_KIND_RATIONAL));
  curve->degree = p;
  curve_grow_points(curve.get(), n);
  curve->point_count = n;
  curve_make_knots(curve.get(), type);
  return curve;
}

std::vector<float> knots_of(const Curve* curve) {
  return std::vector<float>(curve->knots.begin(), curve->knots.begin() + curve->knot_count);
}

// floor(1000 * num / den) / 1000 by integer division, as a stored knot.
float thousandths(int num, int den) {
  return static_cast<float>((1000 * num / den) / 1000.0);
}

}  // namespace

TEST(KnotVectors, EachStyleGivesTheListedVector) {
  using V = std::vector<float>;
  EXPECT_EQ(knots_of(knot_curve(4, 2, KNOT_UNIFORM).get()),
            (V{0.0f, 0.166f, 0.333f, 0.5f, 0.666f, 0.833f, 1.0f}));
  EXPECT_EQ(knots_of(knot_curve(4, 2, KNOT_CLAMPED).get()),
            (V{0.0f, 0.0f, 0.0f, 0.5f, 1.0f, 1.0f, 1.0f}));
  EXPECT_EQ(knots_of(knot_curve(4, 2, KNOT_CLOSED).get()),
            (V{0.0f, 0.125f, 0.25f, 0.375f, 0.5f, 0.625f, 0.75f, 0.875f, 1.0f}));
  EXPECT_EQ(knots_of(knot_curve(7, 3, KNOT_CLAMPED).get()),
            (V{0, 0, 0, 0, 0.25f, 0.5f, 0.75f, 1, 1, 1, 1}));
  EXPECT_EQ(knots_of(knot_curve(3, 2, KNOT_CLAMPED).get()), (V{0, 0, 0, 1, 1, 1}));
  CurvePtr closed = knot_curve(3, 2, KNOT_CLOSED);
  ASSERT_EQ(closed->knot_count, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(closed->knots[i], static_cast<float>(i / 7.0));
  EXPECT_EQ(closed->wrapped, 1);
  EXPECT_EQ(closed->knot_type, KNOT_CLOSED);
}

TEST(KnotVectors, OpenVectorsAreTruncatedToThousandthsForEverySize) {
  for (int p = 1; p <= DEGREE_MAX; ++p) {
    for (int n = p + 1; n <= 100; ++n) {
      SCOPED_TRACE(testing::Message() << "n " << n << " p " << p);
      CurvePtr uniform = knot_curve(n, p, KNOT_UNIFORM);
      const int m = n + p + 1;
      ASSERT_EQ(uniform->knot_count, m);
      for (int i = 0; i < m; ++i) ASSERT_EQ(uniform->knots[i], thousandths(i, m - 1));
      CurvePtr clamped = knot_curve(n, p, KNOT_CLAMPED);
      ASSERT_EQ(clamped->knot_count, m);
      for (int i = 0; i < m; ++i) {
        const float expected = i <= p ? 0.0f : i >= n ? 1.0f : thousandths(i - p, n - p);
        ASSERT_EQ(clamped->knots[i], expected);
      }
      CurvePtr closed = knot_curve(n, p, KNOT_CLOSED);
      ASSERT_EQ(closed->knot_count, n + 2 * p + 1);
      ASSERT_GE(closed->knots.size(), static_cast<size_t>(n + 2 * p + 1));
      ASSERT_EQ(closed->knots[n + 2 * p], 1.0f);
    }
  }
}

TEST(KnotVectors, TooFewPointsOnlyClearTheCount) {
  CurvePtr curve = knot_curve(4, 2, KNOT_CLOSED);
  const std::vector<float> before(curve->knots);
  curve->point_count = 2;
  curve_make_knots(curve.get(), KNOT_CLAMPED);
  EXPECT_EQ(curve->knot_count, 0);
  EXPECT_EQ(curve->knot_type, KNOT_CLOSED);
  EXPECT_EQ(curve->wrapped, 1);
  EXPECT_EQ(curve->knots, before);
  curve->point_count = 4;
  curve_make_knots(curve.get(), KNOT_CLAMPED);
  EXPECT_EQ(curve->wrapped, 0);
  EXPECT_EQ(curve->knot_count, 7);
  // A style the system does not know leaves the vector as it was.
  curve_make_knots(curve.get(), KNOT_CLOSED + 1);
  EXPECT_EQ(curve->knot_type, KNOT_CLAMPED);
  EXPECT_EQ(curve->knot_count, 7);
  EXPECT_EQ(curve->knots[3], 0.5f);
}
