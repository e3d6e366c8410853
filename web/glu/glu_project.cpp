// GLU's projection helpers: gluOrtho2D and gluPerspective multiply the current matrix;
// gluProject maps an object point to window coordinates in doubles, as GLU does.
#include <GL/glu.h>

#include <cmath>

namespace {

constexpr double DEG_TO_RAD = 3.14159265358979323846 / 180.0;
constexpr double ORTHO_2D_NEAR = -1.0;
constexpr double ORTHO_2D_FAR = 1.0;

// out = m * in, m column-major.
void matrix_apply(const GLdouble m[16], const double in[4], double out[4]) {
  for (int i = 0; i < 4; ++i)
    out[i] = in[0] * m[i] + in[1] * m[4 + i] + in[2] * m[8 + i] + in[3] * m[12 + i];
}

}  // namespace

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
  glOrtho(left, right, bottom, top, ORTHO_2D_NEAR, ORTHO_2D_FAR);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble z_near, GLdouble z_far) {
  const double radians = fovy / 2 * DEG_TO_RAD;
  const double dz = z_far - z_near;
  const double sine = std::sin(radians);
  if (dz == 0 || sine == 0 || aspect == 0) return;
  const double cotangent = std::cos(radians) / sine;
  GLdouble m[16] = {};
  m[0] = cotangent / aspect;
  m[5] = cotangent;
  m[10] = -(z_far + z_near) / dz;
  m[11] = -1;
  m[14] = -2 * z_near * z_far / dz;
  glMultMatrixd(m);
}

GLint gluProject(GLdouble obj_x, GLdouble obj_y, GLdouble obj_z, const GLdouble model[16],
                 const GLdouble proj[16], const GLint viewport[4], GLdouble* win_x, GLdouble* win_y,
                 GLdouble* win_z) {
  const double object[4] = {obj_x, obj_y, obj_z, 1.0};
  double eye[4], clip[4];
  matrix_apply(model, object, eye);
  matrix_apply(proj, eye, clip);
  if (clip[3] == 0.0) return GL_FALSE;
  for (int i = 0; i < 3; ++i) clip[i] = clip[i] / clip[3] * 0.5 + 0.5;
  *win_x = clip[0] * viewport[2] + viewport[0];
  *win_y = clip[1] * viewport[3] + viewport[1];
  *win_z = clip[2];
  return GL_TRUE;
}
