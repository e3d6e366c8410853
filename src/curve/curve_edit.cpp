// Control point editing: insertion relative to the current point and moves
// kept inside the pad square, with joined neighbour curves following a move.
// Units: pad units, -PAD_LIMIT .. PAD_LIMIT on every axis.
#include <cmath>

#include "curve/curve.h"

namespace {

// True when i names a point in use.
bool point_valid(const Curve* curve, int i) {
  return i >= 0 && i < curve->point_count;
}

// Moves point i by the delta when it exists; neighbours are not range-checked.
void shift_point(Curve* curve, int i, double dx, double dy, double dz) {
  if (!point_valid(curve, i)) return;
  ControlPoint& q = curve->points[i];
  q.x += dx;
  q.y += dy;
  q.z += dz;
}

// Places point i at (x, y, z) when it exists; the weight stays.
void place_point(Curve* curve, int i, double x, double y, double z) {
  if (!point_valid(curve, i)) return;
  ControlPoint& q = curve->points[i];
  q.x = x;
  q.y = y;
  q.z = z;
}

// One step of the tangent rule: J - scale * num / den, or the old value when
// that would not be a finite number (a zero denominator).
double tangent_step(double old_value, double j, double scale, double num, double den) {
  const double value = j - scale * num / den;
  return std::isfinite(value) ? value : old_value;
}

// Keeps the neighbour's tangent point Q on the far side of the joint J from
// the moved point, scaling each component of J - Q by the change of the moved
// point's offset from J (or, where that offset was zero, by another axis's).
// J is taken by value: Q and J may be one entry of a curve joined to itself.
// cppcheck-suppress passedByValue
void tangent_rule(ControlPoint& q, const ControlPoint j, const ControlPoint& o,
                  const ControlPoint& n) {
  if (o.x != j.x)
    q.x = tangent_step(q.x, j.x, n.x - j.x, j.x - q.x, o.x - j.x);
  else
    q.x = tangent_step(q.x, j.x, n.x - j.x, j.y - q.y, n.y - j.y);
  if (o.y != j.y)
    q.y = tangent_step(q.y, j.y, n.y - j.y, j.y - q.y, o.y - j.y);
  else
    q.y = tangent_step(q.y, j.y, n.y - j.y, j.x - q.x, n.x - j.x);
  if (o.z != j.z)
    q.z = tangent_step(q.z, j.z, n.z - j.z, j.z - q.z, o.z - j.z);
  else
    q.z = tangent_step(q.z, j.z, n.z - j.z, j.x - q.x, n.x - j.x);
}

// True when v lies in the pad square, bounds included; NaN is outside.
bool inside_pad(double v) {
  return v >= -PAD_LIMIT && v <= PAD_LIMIT;
}

// The curve joined at the start follows a move of point 0 or 1.
void follow_prev(Curve* curve, int a, const ControlPoint& o, const ControlPoint& nw, double dx,
                 double dy, double dz) {
  Curve* prev = curve->prev;
  const int last = prev->point_count - 1;
  if (a == 0) {
    shift_point(curve, 1, dx, dy, dz);
    place_point(prev, last, nw.x, nw.y, nw.z);
    shift_point(prev, last - 1, dx, dy, dz);
  } else if (a == 1 && point_valid(prev, last - 1) && point_valid(curve, 0)) {
    tangent_rule(prev->points[last - 1], curve->points[0], o, nw);
  }
}

// The curve joined at the end follows a move of the last or second-to-last point.
void follow_next(Curve* curve, int a, const ControlPoint& o, const ControlPoint& nw, double dx,
                 double dy, double dz) {
  Curve* next = curve->next;
  const int n = curve->point_count;
  if (a == n - 1) {
    shift_point(curve, a - 1, dx, dy, dz);
    place_point(next, 0, nw.x, nw.y, nw.z);
    shift_point(next, 1, dx, dy, dz);
  } else if (a == n - 2 && point_valid(next, 1)) {
    tangent_rule(next->points[1], next->points[0], o, nw);
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Inserts a point by mode and makes it current; an empty curve or a current
// point that names no point turns the insertion into an append.
// cppcheck-suppress passedByValue ; the point is a value the caller builds in place
void curve_add_point(Curve* curve, ControlPoint point, int mode) {
  const int n = curve->point_count;
  int c = curve->selected[0];
  curve_grow_points(curve, n + 1);
  if (mode != ADD_APPEND && mode != ADD_AFTER && mode != ADD_BEFORE) return;
  if (n == 0 || c < 0 || c >= n) mode = ADD_APPEND;
  int at = n;
  if (mode == ADD_AFTER) at = c + 1;
  if (mode == ADD_BEFORE) at = c;
  // Marks move with their points so that entry i stays point i's mark.
  for (int i = n; i > at; --i) {
    curve->points[i] = curve->points[i - 1];
    curve->point_marks[i] = curve->point_marks[i - 1];
  }
  curve->points[at] = point;
  curve->point_marks[at] = 0;
  curve->selected[0] = at;
  curve->point_count = n + 1;
}

// Moves point a by the delta unless any coordinate would leave the pad square.
void curve_move_point(Curve* curve, int a, double dx, double dy, double dz) {
  if (!point_valid(curve, a)) return;
  const ControlPoint old = curve->points[a];
  ControlPoint moved = old;
  moved.x += dx;
  moved.y += dy;
  moved.z += dz;
  if (!inside_pad(moved.x) || !inside_pad(moved.y) || !inside_pad(moved.z)) return;
  curve->points[a] = moved;
  if (curve->joined_prev == 1 && curve->prev != nullptr)
    follow_prev(curve, a, old, moved, dx, dy, dz);
  if (curve->joined_next == 1 && curve->next != nullptr)
    follow_next(curve, a, old, moved, dx, dy, dz);
}
