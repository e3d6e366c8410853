// Builders shared by the curve model tests: curves from point lists with a
// given degree and knot style, freed automatically, and the Cartesian point
// of an evaluation. Units: pad units, parameter in [0, 1].
#pragma once

#include <initializer_list>
#include <memory>

#include "curve/curve.h"

struct CurveFree {
  void operator()(Curve* curve) const { curve_free(curve); }
};
using CurvePtr = std::unique_ptr<Curve, CurveFree>;

// Edited-kind curve holding the points in order, with its knot vector built.
inline CurvePtr make_curve(std::initializer_list<ControlPoint> points, int degree, int type) {
  CurvePtr curve(curve_new(CURVE_KIND_RATIONAL));
  curve->degree = degree;
  for (const ControlPoint& p : points) curve_add_point(curve.get(), p, ADD_APPEND);
  curve_make_knots(curve.get(), type);
  return curve;
}

// Point of a unit-weight curve in the pad plane.
inline ControlPoint pad_point(double x, double y, double w = 1.0) {
  return {x, y, 0.0, w};
}

// DeBoorTriangle[0] divided by its w: the Cartesian point of the last evaluation.
inline ControlPoint evaluated_point() {
  const ControlPoint& h = DeBoorTriangle[0];
  return {h.x / h.w, h.y / h.w, h.z / h.w, 1.0};
}
