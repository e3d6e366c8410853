// Immediate mode: glBegin gathers vertices, each transformed to clip coordinates with the
// colour current when it was given, and glEnd hands the primitive and the draw state to
// assembly.
#include "gl/front/gl_state.h"

namespace {

constexpr float BYTE_MAX = 255.0f;

void colour_set(float r, float g, float b, float a) {
  float* c = gl_state()->a.current.colour;
  c[0] = r;
  c[1] = g;
  c[2] = b;
  c[3] = a;
}

void begin(GLenum mode) {
  GlWebState* s = gl_state();
  if (s->in_begin || mode > GL_POLYGON) {
    gl_error(s->in_begin ? GL_INVALID_OPERATION : GL_INVALID_ENUM);
    return;
  }
  s->in_begin = true;
  s->begin_mode = mode;
  s->vertices.clear();
}

void end() {
  GlWebState* s = gl_state();
  if (!s->in_begin) {
    gl_error(GL_INVALID_OPERATION);
    return;
  }
  s->in_begin = false;
  GlLayer& layer = gl_layer();
  assembly_draw(&layer.assembly, &layer.batch, gl_draw_state(), s->begin_mode, s->vertices);
}

void vertex(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
  GlWebState* s = gl_state();
  if (!s->in_begin) return;
  GlVertex v;
  gl_transform(x, y, z, w, v.clip);
  for (int i = 0; i < 4; ++i) v.colour[i] = s->a.current.colour[i];
  s->vertices.push_back(v);
}

}  // namespace

//------------------------------------------------------------------------------
// Primitives
//------------------------------------------------------------------------------

void glBegin(GLenum mode) {
  gl_call(begin, mode);
}

void glEnd(void) {
  gl_call(end);
}

void glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
  gl_call(vertex, x, y, z, w);
}

void glVertex2i(GLint x, GLint y) {
  glVertex4f(static_cast<float>(x), static_cast<float>(y), 0.0f, 1.0f);
}
void glVertex2f(GLfloat x, GLfloat y) {
  glVertex4f(x, y, 0.0f, 1.0f);
}
void glVertex2d(GLdouble x, GLdouble y) {
  glVertex4f(static_cast<float>(x), static_cast<float>(y), 0.0f, 1.0f);
}
void glVertex3i(GLint x, GLint y, GLint z) {
  glVertex4f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), 1.0f);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  glVertex4f(x, y, z, 1.0f);
}
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  glVertex4f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), 1.0f);
}
void glVertex2fv(const GLfloat* v) {
  glVertex4f(v[0], v[1], 0.0f, 1.0f);
}
void glVertex2iv(const GLint* v) {
  glVertex2i(v[0], v[1]);
}
void glVertex3fv(const GLfloat* v) {
  glVertex4f(v[0], v[1], v[2], 1.0f);
}
void glVertex3dv(const GLdouble* v) {
  glVertex3d(v[0], v[1], v[2]);
}

// glRect is a polygon with its corners in counter-clockwise order from (x1, y1).
void glRectf(GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2) {
  glBegin(GL_POLYGON);
  glVertex2f(x1, y1);
  glVertex2f(x2, y1);
  glVertex2f(x2, y2);
  glVertex2f(x1, y2);
  glEnd();
}

void glRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
  glRectf(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
          static_cast<float>(y2));
}

//------------------------------------------------------------------------------
// Colour and normal
//------------------------------------------------------------------------------

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  gl_call(colour_set, r, g, b, a);
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
  glColor4f(r, g, b, 1.0f);
}
void glColor3fv(const GLfloat* v) {
  glColor4f(v[0], v[1], v[2], 1.0f);
}
void glColor4fv(const GLfloat* v) {
  glColor4f(v[0], v[1], v[2], v[3]);
}
void glColor3d(GLdouble r, GLdouble g, GLdouble b) {
  glColor4f(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), 1.0f);
}
void glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a) {
  glColor4f(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b),
            static_cast<float>(a));
}
void glColor3ub(GLubyte r, GLubyte g, GLubyte b) {
  glColor4f(r / BYTE_MAX, g / BYTE_MAX, b / BYTE_MAX, 1.0f);
}
void glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
  glColor4f(r / BYTE_MAX, g / BYTE_MAX, b / BYTE_MAX, a / BYTE_MAX);
}

// Lighting is never on in Ternival's pictures, so normals are not kept.
void glNormal3f(GLfloat /*x*/, GLfloat /*y*/, GLfloat /*z*/) {}
void glNormal3d(GLdouble /*x*/, GLdouble /*y*/, GLdouble /*z*/) {}
