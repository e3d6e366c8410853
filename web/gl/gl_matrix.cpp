// The modelview and projection stacks, kept in floats and multiplied as Mesa multiplies them,
// so that matrices read back with glGetDoublev and the pixels they place match the desktop's.
#include "gl_state.h"

#include <cmath>
#include <cstring>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr double DEG_TO_RAD = 3.14159265358979323846 / 180.0;
constexpr float MIN_AXIS_LENGTH = 1.0e-4f;  // shorter rotation axes leave the matrix alone

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

GlMatrix* current_matrix() {
  GlWebState* s = gl_state();
  return s->a.matrix_mode == GL_PROJECTION ? &s->projection[s->projection_top]
                                           : &s->modelview[s->modelview_top];
}

void changed() {
  gl_state()->mvp_stale = true;
}

void set_identity(float* m) {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

// product = a * b, column-major.
void multiply(const float* a, const float* b, float* product) {
  float p[16];
  for (int i = 0; i < 4; ++i) {
    const float ai0 = a[i], ai1 = a[4 + i], ai2 = a[8 + i], ai3 = a[12 + i];
    p[i] = ai0 * b[0] + ai1 * b[1] + ai2 * b[2] + ai3 * b[3];
    p[4 + i] = ai0 * b[4] + ai1 * b[5] + ai2 * b[6] + ai3 * b[7];
    p[8 + i] = ai0 * b[8] + ai1 * b[9] + ai2 * b[10] + ai3 * b[11];
    p[12 + i] = ai0 * b[12] + ai1 * b[13] + ai2 * b[14] + ai3 * b[15];
  }
  std::memcpy(product, p, sizeof p);
}

void multiply_top(const float* n) {
  GlMatrix* m = current_matrix();
  multiply(m->m, n, m->m);
  changed();
}

// Element (row, col) of a column-major matrix.
float& at(float* m, int row, int col) {
  return m[col * 4 + row];
}

// Mesa's rotation: rotations about a coordinate axis are built exactly, others from the
// normalised axis.
void rotation(float angle, float x, float y, float z, float* m) {
  const float s = static_cast<float>(std::sin(angle * DEG_TO_RAD));
  const float c = static_cast<float>(std::cos(angle * DEG_TO_RAD));
  set_identity(m);
  if (x == 0.0f && y == 0.0f && z != 0.0f) {
    at(m, 0, 0) = c;
    at(m, 1, 1) = c;
    at(m, 0, 1) = z < 0.0f ? s : -s;
    at(m, 1, 0) = z < 0.0f ? -s : s;
    return;
  }
  if (x == 0.0f && z == 0.0f && y != 0.0f) {
    at(m, 0, 0) = c;
    at(m, 2, 2) = c;
    at(m, 0, 2) = y < 0.0f ? -s : s;
    at(m, 2, 0) = y < 0.0f ? s : -s;
    return;
  }
  if (y == 0.0f && z == 0.0f && x != 0.0f) {
    at(m, 1, 1) = c;
    at(m, 2, 2) = c;
    at(m, 1, 2) = x < 0.0f ? s : -s;
    at(m, 2, 1) = x < 0.0f ? -s : s;
    return;
  }
  const float mag = std::sqrt(x * x + y * y + z * z);
  if (mag <= MIN_AXIS_LENGTH) return;
  x /= mag;
  y /= mag;
  z /= mag;
  const float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
  const float xs = x * s, ys = y * s, zs = z * s, one_c = 1.0f - c;
  at(m, 0, 0) = (one_c * xx) + c;
  at(m, 0, 1) = (one_c * xy) - zs;
  at(m, 0, 2) = (one_c * zx) + ys;
  at(m, 1, 0) = (one_c * xy) + zs;
  at(m, 1, 1) = (one_c * yy) + c;
  at(m, 1, 2) = (one_c * yz) - xs;
  at(m, 2, 0) = (one_c * zx) - ys;
  at(m, 2, 1) = (one_c * yz) + xs;
  at(m, 2, 2) = (one_c * zz) + c;
}

}  // namespace

//------------------------------------------------------------------------------
// Shared with the other web/gl files
//------------------------------------------------------------------------------

const GlMatrix& gl_modelview() {
  const GlWebState* s = gl_state();
  return s->modelview[s->modelview_top];
}

const GlMatrix& gl_projection() {
  const GlWebState* s = gl_state();
  return s->projection[s->projection_top];
}

// Mesa's vertex stage multiplies by projection * modelview formed once.
void gl_transform(float x, float y, float z, float w, float clip[4]) {
  GlWebState* s = gl_state();
  if (s->mvp_stale) {
    multiply(gl_projection().m, gl_modelview().m, s->mvp.m);
    s->mvp_stale = false;
  }
  const float* m = s->mvp.m;
  for (int i = 0; i < 4; ++i) clip[i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i] * w;
}

// Mesa's viewport transform for a window: y scaled by minus half the viewport height and moved
// by the window height, in floats, each scale and offset applied as one fused multiply-add
// (llvmpipe's generated code fuses them; a point on a pixel centre can land either side of it).
GlWindowPoint gl_clip_to_window(const float clip[4]) {
  const GlWebState* s = gl_state();
  const GlAttribs& a = s->a;
  const float inv_w = 1.0f / clip[3];
  const float half_w = a.viewport[2] * 0.5f, half_h = a.viewport[3] * 0.5f;
  const float half_depth = (a.depth_range[1] - a.depth_range[0]) * 0.5f;
  GlWindowPoint p;
  p.x = std::fma(clip[0] * inv_w, half_w, a.viewport[0] + half_w);
  p.down = std::fma(clip[1] * inv_w, -half_h, s->win_height - (a.viewport[1] + half_h));
  p.y = s->win_height - p.down;
  p.z = std::fma(clip[2] * inv_w, half_depth, a.depth_range[0] + half_depth);
  return p;
}

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

void glMatrixMode(GLenum mode) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glMatrixMode(mode); });
    return;
  }
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_state()->a.matrix_mode = mode;
}

void glLoadIdentity(void) {
  if (gl_list_compiling()) {
    gl_list_record([] { glLoadIdentity(); });
    return;
  }
  set_identity(current_matrix()->m);
  changed();
}

void glLoadMatrixf(const GLfloat* m) {
  if (gl_list_compiling()) {
    GlMatrix copy;
    std::memcpy(copy.m, m, sizeof copy.m);
    gl_list_record([=] { glLoadMatrixf(copy.m); });
    return;
  }
  std::memcpy(current_matrix()->m, m, sizeof(float) * 16);
  changed();
}

void glLoadMatrixd(const GLdouble* m) {
  float f[16];
  for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
  glLoadMatrixf(f);
}

void glMultMatrixf(const GLfloat* m) {
  if (gl_list_compiling()) {
    GlMatrix copy;
    std::memcpy(copy.m, m, sizeof copy.m);
    gl_list_record([=] { glMultMatrixf(copy.m); });
    return;
  }
  multiply_top(m);
}

void glMultMatrixd(const GLdouble* m) {
  float f[16];
  for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
  glMultMatrixf(f);
}

void glPushMatrix(void) {
  if (gl_list_compiling()) {
    gl_list_record([] { glPushMatrix(); });
    return;
  }
  GlWebState* s = gl_state();
  const bool proj = s->a.matrix_mode == GL_PROJECTION;
  int& depth = proj ? s->projection_top : s->modelview_top;
  GlMatrix* stack = proj ? s->projection : s->modelview;
  if (depth + 1 >= MATRIX_STACK_DEPTH) {
    gl_error(GL_STACK_OVERFLOW);
    return;
  }
  stack[depth + 1] = stack[depth];
  ++depth;
}

void glPopMatrix(void) {
  if (gl_list_compiling()) {
    gl_list_record([] { glPopMatrix(); });
    return;
  }
  GlWebState* s = gl_state();
  int& depth = s->a.matrix_mode == GL_PROJECTION ? s->projection_top : s->modelview_top;
  if (depth == 0) {
    gl_error(GL_STACK_UNDERFLOW);
    return;
  }
  --depth;
  changed();
}

// Mesa takes the bounds as floats and builds the matrix in floats.
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
             GLdouble far_val) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glOrtho(left, right, bottom, top, near_val, far_val); });
    return;
  }
  const float l = static_cast<float>(left), r = static_cast<float>(right);
  const float b = static_cast<float>(bottom), t = static_cast<float>(top);
  const float n = static_cast<float>(near_val), f = static_cast<float>(far_val);
  if (l == r || b == t || n == f) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  float m[16];
  set_identity(m);
  m[0] = 2.0f / (r - l);
  m[12] = -(r + l) / (r - l);
  m[5] = 2.0f / (t - b);
  m[13] = -(t + b) / (t - b);
  m[10] = -2.0f / (f - n);
  m[14] = -(f + n) / (f - n);
  multiply_top(m);
}

void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
               GLdouble far_val) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glFrustum(left, right, bottom, top, near_val, far_val); });
    return;
  }
  const float l = static_cast<float>(left), r = static_cast<float>(right);
  const float b = static_cast<float>(bottom), t = static_cast<float>(top);
  const float n = static_cast<float>(near_val), f = static_cast<float>(far_val);
  if (n <= 0.0f || f <= 0.0f || l == r || b == t || n == f) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  float m[16] = {};
  m[0] = (2.0f * n) / (r - l);
  m[8] = (r + l) / (r - l);
  m[5] = (2.0f * n) / (t - b);
  m[9] = (t + b) / (t - b);
  m[10] = -(f + n) / (f - n);
  m[14] = -(2.0f * f * n) / (f - n);
  m[11] = -1.0f;
  multiply_top(m);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glRotatef(angle, x, y, z); });
    return;
  }
  if (angle == 0.0f) return;
  float m[16];
  rotation(angle, x, y, z, m);
  multiply_top(m);
}

void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  glRotatef(static_cast<float>(angle), static_cast<float>(x), static_cast<float>(y),
            static_cast<float>(z));
}

// Mesa folds a translation into the last column without a full product.
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glTranslatef(x, y, z); });
    return;
  }
  float* m = current_matrix()->m;
  m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
  m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
  m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
  m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
  changed();
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glScalef(x, y, z); });
    return;
  }
  float* m = current_matrix()->m;
  for (int i = 0; i < 4; ++i) {
    m[i] *= x;
    m[4 + i] *= y;
    m[8 + i] *= z;
  }
  changed();
}

void glScaled(GLdouble x, GLdouble y, GLdouble z) {
  glScalef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
