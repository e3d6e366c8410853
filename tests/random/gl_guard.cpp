// Wrapped GL, GLU and GLUT entry points of the random-event test: each checks
// its numbers and passes the call on unchanged. The linker routes the program's
// calls here through -Wl,--wrap (tests/CMakeLists.txt); calls made inside the
// GL libraries themselves are not seen.
#include "gl_guard.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

long gl_guard_faults = 0;
const char* gl_guard_first_fault = nullptr;
int gl_guard_modifiers = -1;
const char* gl_guard_exit_context = nullptr;

namespace {

// Floats per control point of a GL_MAP1_VERTEX_4 NURBS curve.
constexpr int HOMOGENEOUS_FLOATS = 4;

// Counts a fault when any of the numbers is NaN or infinite.
void guard_check(const char* name, std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) {
      if (gl_guard_first_fault == nullptr) gl_guard_first_fault = name;
      gl_guard_faults++;
      return;
    }
  }
}

// Checks count floats of an array.
void guard_check_array(const char* name, const float* values, long count) {
  for (long i = 0; i < count; i++) {
    if (!std::isfinite(values[i])) {
      guard_check(name, {values[i]});
      return;
    }
  }
}

}  // namespace

// Clears the fault record before a run.
void gl_guard_reset() {
  gl_guard_faults = 0;
  gl_guard_first_fault = nullptr;
}

extern "C" {

void __real_glVertex2f(GLfloat x, GLfloat y);
void __real_glVertex2d(GLdouble x, GLdouble y);
void __real_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void __real_glVertex3d(GLdouble x, GLdouble y, GLdouble z);
void __real_glVertex3dv(const GLdouble* v);
void __real_glVertex3fv(const GLfloat* v);
void __real_glRasterPos2f(GLfloat x, GLfloat y);
void __real_glRasterPos3f(GLfloat x, GLfloat y, GLfloat z);
void __real_glRasterPos3d(GLdouble x, GLdouble y, GLdouble z);
void __real_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void __real_glTranslated(GLdouble x, GLdouble y, GLdouble z);
void __real_glScalef(GLfloat x, GLfloat y, GLfloat z);
void __real_glScaled(GLdouble x, GLdouble y, GLdouble z);
void __real_glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void __real_glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z);
void __real_glMultMatrixd(const GLdouble* m);
void __real_glLoadMatrixd(const GLdouble* m);
void __real_glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f);
void __real_glLineWidth(GLfloat width);
void __real_glPointSize(GLfloat size);
void __real_gluOrtho2D(GLdouble l, GLdouble r, GLdouble b, GLdouble t);
void __real_gluSphere(GLUquadric* q, GLdouble radius, GLint slices, GLint stacks);
void __real_gluCylinder(GLUquadric* q, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                        GLint stacks);
void __real_gluNurbsCurve(GLUnurbs* nurb, GLint knot_count, GLfloat* knots, GLint stride,
                          GLfloat* control, GLint order, GLenum type);
int __real_glutGetModifiers();
[[noreturn]] void __real_exit(int status);

// glVertex2f, checked.
void __wrap_glVertex2f(GLfloat x, GLfloat y) {
  guard_check("glVertex2f", {x, y});
  __real_glVertex2f(x, y);
}

// glVertex2d, checked.
void __wrap_glVertex2d(GLdouble x, GLdouble y) {
  guard_check("glVertex2d", {x, y});
  __real_glVertex2d(x, y);
}

// glVertex3f, checked.
void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  guard_check("glVertex3f", {x, y, z});
  __real_glVertex3f(x, y, z);
}

// glVertex3d, checked.
void __wrap_glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  guard_check("glVertex3d", {x, y, z});
  __real_glVertex3d(x, y, z);
}

// glVertex3dv, checked.
void __wrap_glVertex3dv(const GLdouble* v) {
  guard_check("glVertex3dv", {v[0], v[1], v[2]});
  __real_glVertex3dv(v);
}

// glVertex3fv, checked.
void __wrap_glVertex3fv(const GLfloat* v) {
  guard_check("glVertex3fv", {v[0], v[1], v[2]});
  __real_glVertex3fv(v);
}

// glRasterPos2f, checked.
void __wrap_glRasterPos2f(GLfloat x, GLfloat y) {
  guard_check("glRasterPos2f", {x, y});
  __real_glRasterPos2f(x, y);
}

// glRasterPos3f, checked.
void __wrap_glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
  guard_check("glRasterPos3f", {x, y, z});
  __real_glRasterPos3f(x, y, z);
}

// glRasterPos3d, checked.
void __wrap_glRasterPos3d(GLdouble x, GLdouble y, GLdouble z) {
  guard_check("glRasterPos3d", {x, y, z});
  __real_glRasterPos3d(x, y, z);
}

// glTranslatef, checked.
void __wrap_glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  guard_check("glTranslatef", {x, y, z});
  __real_glTranslatef(x, y, z);
}

// glTranslated, checked.
void __wrap_glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  guard_check("glTranslated", {x, y, z});
  __real_glTranslated(x, y, z);
}

// glScalef, checked.
void __wrap_glScalef(GLfloat x, GLfloat y, GLfloat z) {
  guard_check("glScalef", {x, y, z});
  __real_glScalef(x, y, z);
}

// glScaled, checked.
void __wrap_glScaled(GLdouble x, GLdouble y, GLdouble z) {
  guard_check("glScaled", {x, y, z});
  __real_glScaled(x, y, z);
}

// glRotatef, checked: the angle and the axis.
void __wrap_glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  guard_check("glRotatef", {angle, x, y, z});
  __real_glRotatef(angle, x, y, z);
}

// glRotated, checked: the angle and the axis.
void __wrap_glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  guard_check("glRotated", {angle, x, y, z});
  __real_glRotated(angle, x, y, z);
}

// glMultMatrixd, checked: all sixteen entries.
void __wrap_glMultMatrixd(const GLdouble* m) {
  for (int i = 0; i < 16; i++) guard_check("glMultMatrixd", {m[i]});
  __real_glMultMatrixd(m);
}

// glLoadMatrixd, checked: all sixteen entries.
void __wrap_glLoadMatrixd(const GLdouble* m) {
  for (int i = 0; i < 16; i++) guard_check("glLoadMatrixd", {m[i]});
  __real_glLoadMatrixd(m);
}

// glOrtho, checked.
void __wrap_glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  guard_check("glOrtho", {l, r, b, t, n, f});
  __real_glOrtho(l, r, b, t, n, f);
}

// glLineWidth, checked.
void __wrap_glLineWidth(GLfloat width) {
  guard_check("glLineWidth", {width});
  __real_glLineWidth(width);
}

// glPointSize, checked.
void __wrap_glPointSize(GLfloat size) {
  guard_check("glPointSize", {size});
  __real_glPointSize(size);
}

// gluOrtho2D, checked.
void __wrap_gluOrtho2D(GLdouble l, GLdouble r, GLdouble b, GLdouble t) {
  guard_check("gluOrtho2D", {l, r, b, t});
  __real_gluOrtho2D(l, r, b, t);
}

// gluSphere, checked: the radius (its position comes from a checked translation).
void __wrap_gluSphere(GLUquadric* q, GLdouble radius, GLint slices, GLint stacks) {
  guard_check("gluSphere", {radius});
  __real_gluSphere(q, radius, slices, stacks);
}

// gluCylinder, checked: radii and height.
void __wrap_gluCylinder(GLUquadric* q, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                        GLint stacks) {
  guard_check("gluCylinder", {base, top, height});
  __real_gluCylinder(q, base, top, height, slices, stacks);
}

// gluNurbsCurve, checked: every knot and every homogeneous control point.
void __wrap_gluNurbsCurve(GLUnurbs* nurb, GLint knot_count, GLfloat* knots, GLint stride,
                          GLfloat* control, GLint order, GLenum type) {
  guard_check_array("gluNurbsCurve knots", knots, knot_count);
  const long points = knot_count - order;
  if (points > 0) {
    for (long i = 0; i < points; i++) {
      guard_check_array("gluNurbsCurve control points", control + i * stride, HOMOGENEOUS_FLOATS);
    }
  }
  __real_gluNurbsCurve(nurb, knot_count, knots, stride, control, order, type);
}

// glutGetModifiers: the injected state during a random run, GLUT's otherwise.
int __wrap_glutGetModifiers() {
  if (gl_guard_modifiers >= 0) return gl_guard_modifiers;
  return __real_glutGetModifiers();
}

// exit: refused while a random run delivers events, passed on otherwise.
[[noreturn]] void __wrap_exit(int status) {
  if (gl_guard_exit_context != nullptr) {
    std::fprintf(stderr, "exit(%d) called from an event: %s\n", status, gl_guard_exit_context);
    std::abort();
  }
  __real_exit(status);
}

}  // extern "C"
