// GLU's NURBS curve renderer for rational (GL_MAP1_VERTEX_4) and plain (GL_MAP1_VERTEX_3)
// curves, drawn as GLU draws them: the spline cut into Bezier spans at its distinct knots,
// each span sampled at evenly spaced parameters, as many as keep the chords within the
// sampling tolerance in pixels (GLU's path-length rule), evaluated as GL's evaluators do and
// sent as one line strip per piece (a span whose step is too small is halved first).
//
// Tolerances: the sampling tolerance is in window pixels (GLU's default 50); a piece of a span
// gets 1 + floor(range / step) segments, step = tolerance / ((order - 1) * (longest edge of its
// control polygon in pixels) / range). A piece whose step is under range / U step (GLU's
// default 100) is halved and each half sampled on its own, as GLU does, six levels deep.
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

struct GLUnurbs {
  float sampling_tolerance;  // pixels
  float u_step;              // most samples per span
  bool in_curve;             // between gluBeginCurve and gluEndCurve
  // The curve given by gluNurbsCurve inside the current gluBeginCurve.
  std::vector<float> knots;
  std::vector<float> control;  // `coords` floats per point
  int coords;                  // 3 or 4
  int order;
};

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr float SAMPLING_TOLERANCE_DEFAULT = 50.0f;  // GLU's default, pixels
constexpr float U_STEP_DEFAULT = 100.0f;             // GLU's default
constexpr int MAX_ORDER = 24;                        // GLU's largest order
constexpr int HOMOGENEOUS = 4;
constexpr int SUBDIVISIONS = 6;  // GLU's deepest halving of a span for sampling

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// The Bezier control points of the span [t[k], t[k + 1]] as blossoms of the spline: point
// j is the blossom at (a, .., a, b, .., b) with j b's. Each blossom runs de Boor's triangle
// on the order control points d[k - p .. k], level r using its own argument.
void span_bezier(const GLUnurbs* n, int k, double out[MAX_ORDER][HOMOGENEOUS]) {
  const int p = n->order - 1;
  const std::vector<float>& t = n->knots;
  const double a = t[k], b = t[k + 1];
  for (int j = 0; j <= p; ++j) {
    double d[MAX_ORDER][HOMOGENEOUS];
    for (int i = 0; i <= p; ++i) {
      const float* c = &n->control[static_cast<size_t>(k - p + i) * n->coords];
      for (int e = 0; e < HOMOGENEOUS; ++e) d[i][e] = e < n->coords ? c[e] : 1.0;
    }
    // 1. Level r combines neighbours with weights from the knots around the span.
    for (int r = 1; r <= p; ++r) {
      const double u = r <= p - j ? a : b;
      // 2. Downwards, so that d[i - 1] is still of the level below.
      for (int i = p; i >= r; --i) {
        const int ki = k - p + i;  // knot index of d[i]
        const double lo = t[ki], hi = t[ki + p + 1 - r];
        const double alpha = hi > lo ? (u - lo) / (hi - lo) : 0.0;
        for (int e = 0; e < HOMOGENEOUS; ++e) d[i][e] = (1 - alpha) * d[i - 1][e] + alpha * d[i][e];
      }
    }
    // 3. The blossom is the last entry of the top level.
    for (int e = 0; e < HOMOGENEOUS; ++e) out[j][e] = d[p][e];
  }
}

// GLU's sampling matrix: projection * modelview with x and y scaled to half the viewport,
// so that projected distances are pixels.
void sampling_matrix(float m[16]) {
  GLfloat mv[16], pr[16];
  GLint vp[4];
  glGetFloatv(GL_MODELVIEW_MATRIX, mv);
  glGetFloatv(GL_PROJECTION_MATRIX, pr);
  glGetIntegerv(GL_VIEWPORT, vp);
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += pr[k * 4 + r] * mv[c * 4 + k];
      m[c * 4 + r] = sum;
    }
  const float xsize = 0.5f * vp[2], ysize = 0.5f * vp[3];
  for (int c = 0; c < 4; ++c) {
    m[c * 4 + 0] *= xsize;
    m[c * 4 + 1] *= ysize;
    m[c * 4 + 2] = 0.0f;
  }
}

// A piece of a span as GLU samples it: its Bezier points through the sampling matrix and the
// parameters it covers.
struct SamplingPiece {
  float pts[MAX_ORDER][HOMOGENEOUS];
  float lo, hi, range;
};

// GLU's sign: 0 is a sign of its own, so a point at infinity sits on neither side.
int sign_of(float x) {
  return x < 0.0f ? -1 : (x > 0.0f ? 1 : 0);
}

// The parameter step GLU takes over the piece and the least it allows (`min_step`): the
// steepest control polygon edge, in pixels, times the degree bounds the curve's speed; one
// step per tolerance of path length. A step under the least is clamped to nothing, which asks
// for the piece to be halved.
float piece_step(const GLUnurbs* n, const SamplingPiece& piece, int order, float* min_step) {
  float proj[MAX_ORDER][3];
  const int sign = sign_of(piece.pts[0][3]);
  for (int j = 0; j < order; ++j) {
    // Control points on both sides of infinity: GLU falls back to its fixed step.
    if (sign_of(piece.pts[j][3]) != sign) {
      *min_step = n->u_step >= 1.0f ? piece.range / n->u_step : piece.range;
      return *min_step;
    }
    for (int e = 0; e < 3; ++e) proj[j][e] = piece.pts[j][e] / piece.pts[j][3];
  }
  float longest = 0.0f;
  for (int j = 0; j + 1 < order; ++j) {
    float sq = 0.0f;
    for (int e = 0; e < 3; ++e) {
      const float d = proj[j + 1][e] - proj[j][e];
      sq += d * d;
    }
    longest = std::max(longest, std::sqrt(sq));
  }
  const float speed = (order - 1) * (1.0f / piece.range) * longest;
  const float step = speed > 0.0f ? n->sampling_tolerance / speed : piece.range;
  *min_step = n->u_step > 0.0f ? piece.range / n->u_step : 0.0f;
  return step < *min_step ? 0.0f : step;
}

// GLU's split of the piece at parameter fraction v, de Casteljau in floats: `upper` keeps the
// upper part, `lower` gets the lower.
void piece_split(SamplingPiece* upper, SamplingPiece* lower, int order) {
  const float mid = (upper->lo + upper->hi) * 0.5f;
  const float v = (mid - upper->lo) / upper->range, mv = 1.0f - v;
  for (int k = 0; k < order; ++k) {
    for (int e = 0; e < HOMOGENEOUS; ++e) lower->pts[k][e] = upper->pts[0][e];
    for (int i = 0; i + 1 < order - k; ++i)
      for (int e = 0; e < HOMOGENEOUS; ++e)
        upper->pts[i][e] = upper->pts[i][e] * mv + upper->pts[i + 1][e] * v;
  }
  lower->lo = upper->lo;
  lower->hi = mid;
  lower->range = mid - upper->lo;
  upper->lo = mid;
  upper->range = upper->hi - mid;
}

// Mesa's evaluator: Horner's scheme on the Bernstein form, in floats.
void bezier_eval(const float cp[MAX_ORDER][HOMOGENEOUS], int order, float t, float out[4]) {
  if (order < 2) {
    for (int e = 0; e < 4; ++e) out[e] = cp[0][e];
    return;
  }
  float bincoeff = static_cast<float>(order - 1);
  const float s = 1.0f - t;
  for (int e = 0; e < 4; ++e) out[e] = s * cp[0][e] + bincoeff * t * cp[1][e];
  float powert = t * t;
  for (int i = 2; i < order; ++i, powert *= t) {
    bincoeff *= static_cast<float>(order - i);
    bincoeff *= 1.0f / static_cast<float>(i);
    for (int e = 0; e < 4; ++e) out[e] = s * out[e] + bincoeff * powert * cp[i][e];
  }
}

// One piece as GL's glMapGrid1f(segments, lo, hi) and glEvalMesh1(GL_LINE, 0, segments) draw it
// under the span's map over [a, b]: the parameter stepped by a float increment.
void piece_draw(const float bez[MAX_ORDER][HOMOGENEOUS], int order, float a, float b, float lo,
                float hi, long segments) {
  const float du = (hi - lo) / segments;
  const float inv_range = 1.0f / (b - a);
  float u = lo;
  glBegin(GL_LINE_STRIP);
  for (long i = 0; i <= segments; ++i, u += du) {
    float p[4];
    bezier_eval(bez, order, (u - a) * inv_range, p);
    glVertex4f(p[0], p[1], p[2], p[3]);
  }
  glEnd();
}

// GLU's sampling: a piece whose step is too small is halved, up to SUBDIVISIONS times, each
// half sampled on its own, lower first; a piece gets 1 + range / step segments. A step clamped
// to nothing at the last level gives a count GL takes as one segment.
void piece_sample(const GLUnurbs* n, const float bez[MAX_ORDER][HOMOGENEOUS], float a, float b,
                  SamplingPiece* piece, int subdivisions) {
  const int order = n->order;
  float min_step = 0.0f;
  const float step = std::min(piece->range, piece_step(n, *piece, order, &min_step));
  if (step < min_step && subdivisions > 0) {
    SamplingPiece lower;
    piece_split(piece, &lower, order);
    piece_sample(n, bez, a, b, &lower, subdivisions - 1);
    piece_sample(n, bez, a, b, piece, subdivisions - 1);
    return;
  }
  const float ratio = piece->range / step;
  const long segments = std::isfinite(ratio) ? 1 + static_cast<long>(ratio) : 1;
  piece_draw(bez, order, a, b, piece->lo, piece->hi, segments);
}

void curve_draw(const GLUnurbs* n) {
  const int order = n->order;
  const int points = static_cast<int>(n->knots.size()) - order;
  if (order < 2 || order > MAX_ORDER || points < order) return;
  if (static_cast<int>(n->control.size()) < points * n->coords) return;
  float smat[16];
  sampling_matrix(smat);
  // The spans of the valid range t[p] .. t[points], each between two distinct knots.
  for (int k = order - 1; k < points; ++k) {
    const float a = n->knots[k], b = n->knots[k + 1];
    if (!(b > a)) continue;
    double exact[MAX_ORDER][HOMOGENEOUS];
    span_bezier(n, k, exact);
    float bez[MAX_ORDER][HOMOGENEOUS];
    SamplingPiece piece;
    for (int j = 0; j < order; ++j) {
      for (int e = 0; e < HOMOGENEOUS; ++e) bez[j][e] = static_cast<float>(exact[j][e]);
      for (int r = 0; r < HOMOGENEOUS; ++r)
        piece.pts[j][r] = smat[r] * bez[j][0] + smat[4 + r] * bez[j][1] + smat[8 + r] * bez[j][2] +
                          smat[12 + r] * bez[j][3];
    }
    piece.lo = a;
    piece.hi = b;
    piece.range = b - a;
    piece_sample(n, bez, a, b, &piece, SUBDIVISIONS);
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

GLUnurbs* gluNewNurbsRenderer(void) {
  GLUnurbs* n = new GLUnurbs;
  n->sampling_tolerance = SAMPLING_TOLERANCE_DEFAULT;
  n->u_step = U_STEP_DEFAULT;
  n->in_curve = false;
  n->coords = HOMOGENEOUS;
  n->order = 0;
  return n;
}

void gluDeleteNurbsRenderer(GLUnurbs* nurb) {
  delete nurb;
}

void gluNurbsProperty(GLUnurbs* nurb, GLenum property, GLfloat value) {
  if (nurb == nullptr) return;
  if (property == GLU_SAMPLING_TOLERANCE && value > 0.0f) nurb->sampling_tolerance = value;
  if (property == GLU_U_STEP && value > 0.0f) nurb->u_step = value;
}

void gluBeginCurve(GLUnurbs* nurb) {
  if (nurb == nullptr) return;
  nurb->in_curve = true;
  nurb->order = 0;
}

// Copies the curve: GLU keeps it until gluEndCurve.
void gluNurbsCurve(GLUnurbs* nurb, GLint knot_count, GLfloat* knots, GLint stride, GLfloat* control,
                   GLint order, GLenum type) {
  if (nurb == nullptr || !nurb->in_curve || knots == nullptr || control == nullptr) return;
  const int coords = type == GL_MAP1_VERTEX_4 ? 4 : type == GL_MAP1_VERTEX_3 ? 3 : 0;
  if (coords == 0 || order < 1 || knot_count < 2 * order || stride < coords) return;
  for (int i = 1; i < knot_count; ++i)
    if (knots[i] < knots[i - 1]) return;
  const int points = knot_count - order;
  nurb->knots.assign(knots, knots + knot_count);
  nurb->control.resize(static_cast<size_t>(points) * coords);
  for (int i = 0; i < points; ++i)
    for (int e = 0; e < coords; ++e)
      nurb->control[static_cast<size_t>(i) * coords + e] = control[i * stride + e];
  nurb->coords = coords;
  nurb->order = order;
}

void gluEndCurve(GLUnurbs* nurb) {
  if (nurb == nullptr || !nurb->in_curve) return;
  nurb->in_curve = false;
  if (nurb->order > 0) curve_draw(nurb);
}
