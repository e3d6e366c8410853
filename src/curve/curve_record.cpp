// The Curve record: creation with defaults, release, growth of the arrays in
// blocks of 100, and the wrapped copy through which closed curves are drawn.
#include "curve/curve.h"

#include <algorithm>

namespace {

constexpr int NO_SELECTION = -1;
constexpr int KIND_1_LIMIT = 30;
constexpr int KIND_4_LIMIT = 24;
constexpr int DEFAULT_DEGREE = 2;

// Kinds 2..4 own a GLU NURBS renderer; kind 1 draws nothing through GLU.
bool kind_has_renderer(int kind) {
  return kind >= CURVE_KIND_LIFTED && kind <= CURVE_KIND_4;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Most points the drawing pad lets the user add to a curve of this kind.
int curve_point_limit(int kind) {
  switch (kind) {
    case CURVE_KIND_1: return KIND_1_LIMIT;
    case CURVE_KIND_4: return KIND_4_LIMIT;
    default: return CURVE_BLOCK;
  }
}

// New record with the creation values of its kind.
Curve* curve_new(int kind) {
  Curve* curve = new Curve();
  curve->kind = kind;
  curve->knot_type = KNOT_CLAMPED;
  curve->point_count = 0;
  curve->point_blocks = 1;
  std::fill(std::begin(curve->selected), std::end(curve->selected), NO_SELECTION);
  curve->points.assign(CURVE_BLOCK, ControlPoint{0.0, 0.0, 0.0, 0.0});
  curve->point_marks.assign(CURVE_BLOCK, 0);
  curve->knot_count = 0;
  curve->knot_blocks = 1;
  curve->wrapped = 0;
  curve->knots.assign(CURVE_BLOCK, 0.0f);
  curve->nurbs = nullptr;
  if (kind_has_renderer(kind)) {
    curve->nurbs = gluNewNurbsRenderer();
    if (curve->nurbs != nullptr)
      gluNurbsProperty(curve->nurbs, GLU_SAMPLING_TOLERANCE, NURBS_SAMPLING_TOLERANCE);
  }
  curve->knot_min = 0.0f;
  curve->knot_max = 1.0f;
  curve->trace_u = 0.0f;
  curve->degree = kind_has_renderer(kind) ? DEFAULT_DEGREE : 0;
  curve->joined_prev = 0;
  curve->joined_next = 0;
  std::fill(std::begin(curve->colour), std::end(curve->colour), 0.0f);
  curve->prev = nullptr;
  curve->next = nullptr;
  return curve;
}

// Releases the renderer, the arrays and the record.
void curve_free(Curve* curve) {
  if (curve == nullptr) return;
  if (curve->nurbs != nullptr) gluDeleteNurbsRenderer(curve->nurbs);
  delete curve;
}

// Grows the point and mark arrays in whole blocks until they exceed n.
void curve_grow_points(Curve* curve, int n) {
  if (n < curve->point_blocks * CURVE_BLOCK) return;
  curve->point_blocks = n / CURVE_BLOCK + 1;
  // resize keeps every existing entry and zeroes the new ones.
  curve->points.resize(static_cast<size_t>(curve->point_blocks) * CURVE_BLOCK,
                       ControlPoint{0.0, 0.0, 0.0, 0.0});
  curve->point_marks.resize(static_cast<size_t>(curve->point_blocks) * CURVE_BLOCK, 0);
}

// Grows the knot array in whole blocks until it exceeds m.
void curve_grow_knots(Curve* curve, int m) {
  if (m < curve->knot_blocks * CURVE_BLOCK) return;
  curve->knot_blocks = m / CURVE_BLOCK + 1;
  curve->knots.resize(static_cast<size_t>(curve->knot_blocks) * CURVE_BLOCK, 0.0f);
}

// Copy of a closed curve with its first p points repeated at the end.
Curve* curve_wrapped_copy(const Curve* src) {
  // Counts cut to the source's arrays, so a malformed record is never read past
  // its end; an empty curve has nothing to repeat and gives an empty copy.
  const int n = std::clamp(src->point_count, 0, static_cast<int>(src->points.size()));
  const int p = std::max(src->degree, 0);
  const int m = std::clamp(src->knot_count, 0, static_cast<int>(src->knots.size()));
  const int count = n > 0 ? n + p : 0;
  Curve* copy = curve_new(src->kind);
  curve_grow_points(copy, count);
  copy->point_count = count;
  curve_grow_knots(copy, m);
  copy->knot_count = m;
  copy->degree = src->degree;
  copy->wrapped = 1;
  std::copy(std::begin(src->colour), std::end(src->colour), std::begin(copy->colour));
  // The n points followed by the first p again, so the copy closes on itself.
  for (int i = 0; i < count; ++i) {
    copy->points[i] = src->points[(n + i) % n];
    copy->point_marks[i] = src->point_marks[(n + i) % n];
  }
  std::copy_n(src->knots.begin(), m, copy->knots.begin());
  std::copy(std::begin(src->selected), std::end(src->selected), std::begin(copy->selected));
  return copy;
}
