// The modelview and projection stacks, kept in floats and multiplied as Mesa multiplies them,
// so that matrices read back with glGetDoublev and the pixels they place match the desktop's.
#include "gl/front/gl_state.h"

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
  return s->a.transform.matrix_mode == GL_PROJECTION ? &s->projection[s->projection_top]
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

// The rotation about a coordinate axis that turns axis i towards axis j by the angle whose
// cosine and sine are c and s (on an identity matrix).
void plane_rotation(float* m, int i, int j, float c, float s) {
  at(m, i, i) = c;
  at(m, j, j) = c;
  at(m, i, j) = -s;
  at(m, j, i) = s;
}

// Mesa's rotation: rotations about a coordinate axis are built exactly, others from the
// normalised axis.
void rotation(float angle, float x, float y, float z, float* m) {
  const float s = static_cast<float>(std::sin(angle * DEG_TO_RAD));
  const float c = static_cast<float>(std::cos(angle * DEG_TO_RAD));
  set_identity(m);
  if (x == 0.0f && y == 0.0f && z != 0.0f) {
    plane_rotation(m, 0, 1, c, z < 0.0f ? -s : s);
    return;
  }
  if (x == 0.0f && z == 0.0f && y != 0.0f) {
    plane_rotation(m, 2, 0, c, y < 0.0f ? -s : s);
    return;
  }
  if (y == 0.0f && z == 0.0f && x != 0.0f) {
    plane_rotation(m, 1, 2, c, x < 0.0f ? -s : s);
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

void matrix_mode(GLenum mode) {
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_state()->a.transform.matrix_mode = mode;
}

void load_identity() {
  set_identity(current_matrix()->m);
  changed();
}

void load_matrix(const GlMatrix& m) {
  *current_matrix() = m;
  changed();
}

void mult_matrix(const GlMatrix& m) {
  multiply_top(m.m);
}

void push_matrix() {
  GlWebState* s = gl_state();
  const bool proj = s->a.transform.matrix_mode == GL_PROJECTION;
  int& depth = proj ? s->projection_top : s->modelview_top;
  GlMatrix* stack = proj ? s->projection : s->modelview;
  if (depth + 1 >= MATRIX_STACK_DEPTH) {
    gl_error(GL_STACK_OVERFLOW);
    return;
  }
  stack[depth + 1] = stack[depth];
  ++depth;
}

void pop_matrix() {
  GlWebState* s = gl_state();
  int& depth = s->a.transform.matrix_mode == GL_PROJECTION ? s->projection_top : s->modelview_top;
  if (depth == 0) {
    gl_error(GL_STACK_UNDERFLOW);
    return;
  }
  --depth;
  changed();
}

// Mesa takes the bounds as floats and builds the matrix in floats.
void ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
           GLdouble far_val) {
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

void frustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
             GLdouble far_val) {
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

void rotate(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  if (angle == 0.0f) return;
  float m[16];
  rotation(angle, x, y, z, m);
  multiply_top(m);
}

// Mesa folds a translation into the last column without a full product.
void translate(GLfloat x, GLfloat y, GLfloat z) {
  float* m = current_matrix()->m;
  m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
  m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
  m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
  m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
  changed();
}

void scale(GLfloat x, GLfloat y, GLfloat z) {
  float* m = current_matrix()->m;
  for (int i = 0; i < 4; ++i) {
    m[i] *= x;
    m[4 + i] *= y;
    m[8 + i] *= z;
  }
  changed();
}

GlMatrix matrix_of(const GLfloat* m) {
  GlMatrix copy;
  std::memcpy(copy.m, m, sizeof copy.m);
  return copy;
}

GlMatrix matrix_of(const GLdouble* m) {
  GlMatrix copy;
  for (int i = 0; i < 16; ++i) copy.m[i] = static_cast<float>(m[i]);
  return copy;
}

}  // namespace

//------------------------------------------------------------------------------
// Shared with the other front end files
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

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

void glMatrixMode(GLenum mode) {
  gl_call(matrix_mode, mode);
}
void glLoadIdentity(void) {
  gl_call(load_identity);
}
void glLoadMatrixf(const GLfloat* m) {
  gl_call(load_matrix, matrix_of(m));
}
void glLoadMatrixd(const GLdouble* m) {
  gl_call(load_matrix, matrix_of(m));
}
void glMultMatrixf(const GLfloat* m) {
  gl_call(mult_matrix, matrix_of(m));
}
void glMultMatrixd(const GLdouble* m) {
  gl_call(mult_matrix, matrix_of(m));
}
void glPushMatrix(void) {
  gl_call(push_matrix);
}
void glPopMatrix(void) {
  gl_call(pop_matrix);
}
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
             GLdouble far_val) {
  gl_call(ortho, left, right, bottom, top, near_val, far_val);
}
void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
               GLdouble far_val) {
  gl_call(frustum, left, right, bottom, top, near_val, far_val);
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  gl_call(rotate, angle, x, y, z);
}
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  gl_call(rotate, static_cast<float>(angle), static_cast<float>(x), static_cast<float>(y),
          static_cast<float>(z));
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  gl_call(translate, x, y, z);
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  gl_call(translate, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  gl_call(scale, x, y, z);
}
void glScaled(GLdouble x, GLdouble y, GLdouble z) {
  gl_call(scale, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
