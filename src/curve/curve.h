// Curve model: the Curve record and its arrays, knot vectors, control point
// editing, evaluation by de Boor's algorithm and the lift into homogeneous 3D.
// Called by the shell, the windows and the renderer; needs no GL context.
// Units: pad units (-3..3) for edited points, parameter range [0, 1].
#pragma once

#include <GL/glu.h>

#include <vector>

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int CURVE_BLOCK = 100;   // arrays grow in blocks of this many entries
constexpr int SELECTION_MAX = 20;  // entries of Curve::selected
constexpr int DEBOOR_SIZE = 100;   // entries of DeBoorTriangle and deboor_marks
constexpr int DEGREE_MAX = 10;     // highest degree the system offers
constexpr double PAD_LIMIT = 3.0;  // control points stay inside [-PAD_LIMIT, PAD_LIMIT]
// Parameters closer than this match a knot; an eighth of the 0.001 step of
// truncated knots, so two distinct generated knots never both match one u.
constexpr double KNOT_EPS = 0.000125;
constexpr double WEIGHT_EPS = 0.0125;              // |w| below this marks a point at infinity
constexpr float NURBS_SAMPLING_TOLERANCE = 10.0f;  // pixels, GLU_SAMPLING_TOLERANCE

// Height s of the projection plane z = s; the lift scales by it.
constexpr float plane_height = 1.0f;

enum CurveKind {
  CURVE_KIND_1 = 1,         // never created here: no renderer, degree 0
  CURVE_KIND_LIFTED = 2,    // the lifted curve: 3D, non-rational
  CURVE_KIND_RATIONAL = 3,  // the edited 2D rational curve and the knot-list curve
  CURVE_KIND_4 = 4,         // never created here
};

enum KnotType {
  KNOT_UNIFORM = 301,
  KNOT_CLAMPED = 302,  // type of every new curve
  KNOT_CLOSED = 303,
};

enum AddMode {
  ADD_APPEND = 10,  // after the last point
  ADD_AFTER = 11,   // right after the current point
  ADD_BEFORE = 12,  // at the current point's index
};

//------------------------------------------------------------------------------
// Types
//------------------------------------------------------------------------------

// One control point. Edited curve: x, y in pad units, z = 0, w = weight (the
// coordinates are affine, not multiplied by w). Lifted curve: x, y, z the 3D
// point (w*x*s, w*y*s, w*s) and w = 1. Also the layout of a homogeneous
// de Boor point.
struct ControlPoint {
  double x, y, z, w;
};

// One curve. The vectors always hold their whole capacity (blocks * 100
// entries); entries past point_count / knot_count are scratch.
struct Curve {
  int kind;                          // CurveKind, fixed for the record's life
  int knot_type;                     // KnotType of the vector last built
  int point_count;                   // control points in use
  int point_blocks;                  // capacity of points and point_marks, in blocks of 100
  int selected[SELECTION_MAX];       // selection, -1 = empty; selected[0] is the current point
  std::vector<ControlPoint> points;  // control points 0 .. point_count-1
  std::vector<int> point_marks;      // 1 = point may lie at infinity; always 0 here
  int knot_count;                    // knots in use; 0 = no valid knot vector
  int knot_blocks;                   // capacity of knots, in blocks of 100
  int wrapped;                       // 1 for a closed vector or a wrapped copy
  std::vector<float> knots;          // t[0] .. t[knot_count-1], non-decreasing
  GLUnurbs* nurbs;                   // owned renderer; null for kind 1
  float knot_min;                    // start of the parameter range (0)
  float knot_max;                    // end of the parameter range (1)
  float trace_u;                     // tracing parameter u
  int degree;                        // degree p
  int joined_prev;                   // 1 = point 0 is shared with the last point of prev
  int joined_next;                   // 1 = the last point is shared with point 0 of next
  float colour[4];                   // RGBA of the curve line
  Curve* prev;                       // neighbour joined at the start, not owned
  Curve* next;                       // neighbour joined at the end, not owned
};

// Every level of the de Boor triangle at one parameter u, in homogeneous form
// (w*x, w*y, w*z, w). Level 0 holds the top + 1 control points k - p .. k -
// mult that act on the span; level r holds the top - r + 1 blends of level r -
// 1 in level[r][0 .. top - r]; level[top][0] is the curve point.
struct DeBoorNet {
  int span;  // k: the knot span [t[k], t[k+1]) that holds u
  int mult;  // multiplicity of u as the span search counted it
  int top;   // highest level, p - mult
  ControlPoint level[DEGREE_MAX + 1][DEGREE_MAX + 1];  // level[r][j]
};

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

// Scratch of the de Boor computation, written by curve_eval and the renderer.
// After a successful curve_eval entry 0 is the curve point in homogeneous form.
extern ControlPoint DeBoorTriangle[DEBOOR_SIZE];
// Marks of the control points copied into DeBoorTriangle, entry by entry.
extern int deboor_marks[DEBOOR_SIZE];

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Most points the drawing pad lets the user add to a curve of this kind.
int curve_point_limit(int kind);

// New curve with every field at its creation value; kinds 2..4 get a renderer.
Curve* curve_new(int kind);
// Releases the renderer, the arrays and the record. Null is ignored.
void curve_free(Curve* curve);
// Makes room for more than n points (capacity grows in blocks of 100).
void curve_grow_points(Curve* curve, int n);
// Makes room for more than m knots (capacity grows in blocks of 100).
void curve_grow_knots(Curve* curve, int m);
// New curve holding a closed curve's n points followed by its first p points
// again, with the same knots (an empty curve gives an empty copy); the caller
// frees it with curve_free.
Curve* curve_wrapped_copy(const Curve* src);

// Replaces the knot vector in the given style; with point_count <= degree it
// only sets knot_count to 0.
void curve_make_knots(Curve* curve, int type);

// Adds a point in the given AddMode; the new point becomes the current one.
// A current point that is not a valid index makes the addition an append.
void curve_add_point(Curve* curve, ControlPoint point, int mode);
// Moves point index by the delta, all or nothing: refused if any coordinate
// would leave [-3, 3]. Joined neighbours follow.
void curve_move_point(Curve* curve, int index, double dx, double dy, double dz);

// Evaluates the curve at u by de Boor's algorithm in homogeneous coordinates.
// Returns 1 with the point in DeBoorTriangle[0] as (w*x, w*y, w*z, w), or 0
// when u is outside the domain or the curve has no usable span there. With
// zero weights the returned w can be 0: callers must check before dividing.
int curve_eval(const Curve* curve, float u);
// Knot span search from t[start] on: returns k, the index before the first
// knot clearly above u (knot_count - 1 when there is none), and counts in
// *mult the knots from t[start] on that lie within KNOT_EPS of u. Evaluation
// starts at t[p], where the domain starts; the renderer's triangle starts at
// t[0], so that the end of a clamped vector reaches p + 1 there.
int curve_find_span(const Curve* curve, float u, int start, int* mult);
// Fills every level of the de Boor net at u for the span and multiplicity a
// span search found; the caller has checked that 0 <= mult <= p and that the
// points k - p .. k - mult exist. Returns 0 when a knot interval of the span
// is empty (knots out of order); the net is then filled all the same, with
// non-finite blends where the interval was empty.
int curve_deboor_net(const Curve* curve, float u, int span, int mult, DeBoorNet* net);
// Rebuilds the lifted curve from the edited curve: point (x, y, w) becomes
// (s*x*w, s*y*w, s*w, 1); knots, degree, range, trace_u and the current point
// are copied.
void curve_lift(const Curve* edited, Curve* lifted);
