// Evaluation of a curve by de Boor's algorithm in homogeneous coordinates, in
// place in the shared DeBoorTriangle, and the lift of the rational 2D curve to
// the non-rational 3D curve whose central projection onto z = s it is.
#include <algorithm>
#include <cstddef>

#include "curve/curve.h"

ControlPoint DeBoorTriangle[DEBOOR_SIZE];
int deboor_marks[DEBOOR_SIZE];

namespace {

// True when the counts fit the arrays and every span the scan can accept
// finds the knots and points de Boor reads: p + 1 points ending at most at
// n - 1 and knots up to k + p - mult <= n + p - 1 < m.
bool eval_record_sound(const Curve* curve) {
  const int p = curve->degree;
  const int n = curve->point_count;
  const int m = curve->knot_count;
  if (p < 1 || p > DEGREE_MAX || n < 0) return false;
  if (static_cast<size_t>(n) > curve->points.size()) return false;
  if (static_cast<size_t>(n) > curve->point_marks.size()) return false;
  if (static_cast<size_t>(m) > curve->knots.size()) return false;
  return m >= n + p + 1;
}

// Count of points a record can be said to hold: its count cut to its array.
int usable_points(const Curve* curve) {
  const size_t cap = std::min(curve->points.size(), curve->point_marks.size());
  return static_cast<int>(std::clamp<size_t>(std::max(curve->point_count, 0), 0, cap));
}

// Count of knots a record can be said to hold: its count cut to its array.
int usable_knots(const Curve* curve) {
  return static_cast<int>(
      std::clamp<size_t>(std::max(curve->knot_count, 0), 0, curve->knots.size()));
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Span search from t[start]: knots within KNOT_EPS of u count as u itself, so
// u snaps onto a knot the user sees on the knot bar and takes its multiplicity.
int curve_find_span(const Curve* curve, float u, int start, int* mult) {
  const int m = curve->knot_count;
  const float* t = curve->knots.data();
  const double v = u;
  int count = 0;
  int i = start;
  for (; i < m; ++i) {
    const double ti = t[i];
    if (ti - KNOT_EPS < v && v < ti + KNOT_EPS) {
      ++count;
      continue;
    }
    if (v < ti) break;
  }
  *mult = count;
  return i - 1;  // last knot at or below u: the span is [t[k], t[k+1])
}

// Fills the net level by level; 0 when an interval of the span is empty.
int curve_deboor_net(const Curve* curve, float u, int span, int mult, DeBoorNet* net) {
  const int p = curve->degree;
  const int k = span;
  const int top = p - mult;
  const float* t = curve->knots.data();
  const double v = u;
  net->span = k;
  net->mult = mult;
  net->top = top;

  // 1. Level 0: the p - mult + 1 points that act on the span, in homogeneous
  // form (w*x, w*y, w*z, w); a marked point of near-zero weight is a
  // direction, a point at infinity, and keeps its x, y, z with w = 0.
  for (int j = 0; j <= top; ++j) {
    ControlPoint e = curve->points[k - p + j];
    if (curve->point_marks[k - p + j] == 1 && -WEIGHT_EPS < e.w && e.w < WEIGHT_EPS) {
      e.w = 0.0;
    } else {
      e.x *= e.w;
      e.y *= e.w;
      e.z *= e.w;
    }
    net->level[0][j] = e;
  }

  // 2. Level r blends entries j and j + 1 of level r - 1 in the ratio of u
  // within [t[k-p+r+j], t[k+1+j]], an interval of p + 1 - r spans round u.
  int sound = 1;
  for (int r = 1; r <= top; ++r) {
    for (int j = 0; j <= top - r; ++j) {
      const double a = t[k - p + r + j];
      const double b = t[k + 1 + j];
      // Only knots out of order can make this interval empty.
      if (!(b > a)) sound = 0;
      const double alpha = (v - a) / (b - a);
      const ControlPoint& e = net->level[r - 1][j];
      const ControlPoint& f = net->level[r - 1][j + 1];
      net->level[r][j] =
          ControlPoint{alpha * f.x + (1.0 - alpha) * e.x, alpha * f.y + (1.0 - alpha) * e.y,
                       alpha * f.z + (1.0 - alpha) * e.z, alpha * f.w + (1.0 - alpha) * e.w};
    }
  }
  return sound;
}

// De Boor at u; 1 with the homogeneous point in DeBoorTriangle[0], 0 otherwise.
int curve_eval(const Curve* curve, float u) {
  if (curve == nullptr || !eval_record_sound(curve)) return 0;
  const int p = curve->degree;
  const int n = curve->point_count;
  const float* t = curve->knots.data();
  const double v = u;

  // 1. Domain [lo, hi]; written so that a NaN parameter is outside too.
  if (!(v >= curve->knot_min && v <= curve->knot_max)) return 0;

  // 2. Span and multiplicity. The scan starts at index p because the first p
  // knots only shape the leftmost basis functions: the domain starts at t[p].
  int mult = 0;
  const int k = curve_find_span(curve, u, p, &mult);

  // 3. Rejections, in this order: before the vector, before the domain, past
  // the last point, more coincident knots than a span can have.
  if (v < t[p - 1]) return 0;
  if (k < p) return 0;
  if (k - mult >= n) return 0;
  if (mult > p + 1) return 0;

  // 4. Full multiplicity: the curve passes through point k - mult (the end of
  // a clamped vector), in homogeneous form.
  if (mult == p + 1) {
    const ControlPoint& q = curve->points[k - mult];
    DeBoorTriangle[0] = ControlPoint{q.w * q.x, q.w * q.y, q.w * q.z, q.w};
    deboor_marks[0] = curve->point_marks[k - mult];
    return 1;
  }

  // 5. The whole triangle, then its right edge into the shared scratch: entry
  // j holds the last level that still has a point j, as if every level had
  // been worked out in place over the one before, so entry 0 is the point.
  DeBoorNet net;
  if (!curve_deboor_net(curve, u, k, mult, &net)) return 0;
  for (int j = 0; j <= net.top; ++j) {
    DeBoorTriangle[j] = net.level[net.top - j][j];
    deboor_marks[j] = curve->point_marks[k - p + j];
  }
  return 1;
}

// Lifts every weighted point onto its ray from the origin at height s * w and
// copies the knot data, so the lifted curve projects onto the edited one.
void curve_lift(const Curve* edited, Curve* lifted) {
  const double s = plane_height;
  const int n = usable_points(edited);
  const int m = usable_knots(edited);
  lifted->knot_type = edited->knot_type;
  curve_grow_points(lifted, n);
  for (int i = 0; i < n; ++i) {
    const ControlPoint& q = edited->points[i];
    lifted->points[i] = ControlPoint{s * q.x * q.w, s * q.y * q.w, s * q.w, 1.0};
  }
  lifted->point_count = n;
  curve_grow_knots(lifted, m);
  std::copy_n(edited->knots.begin(), m, lifted->knots.begin());
  lifted->degree = edited->degree;
  lifted->wrapped = edited->wrapped;
  lifted->knot_count = m;
  lifted->knot_min = edited->knot_min;
  lifted->knot_max = edited->knot_max;
  lifted->trace_u = edited->trace_u;
  lifted->selected[0] = edited->selected[0];
}
