// GLU quadrics: spheres and cylinders sent as GLU sends them for a filled quadric facing
// outwards (fans at the poles, quad strips between; slices around z, stacks along it), every
// cache entry computed in the same float and double steps so the vertices are GLU's own.
#include <GL/glu.h>

#include <cmath>

struct GLUquadric {
  GLenum draw_style;  // only GLU_FILL is drawn differently from nothing
  GLenum normals;
  GLenum orientation;  // GLU_OUTSIDE or GLU_INSIDE
};

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr int CACHE_SIZE = 240;  // GLU caps slices and stacks below this

// sin and cos of 2 pi i / slices for i = 0 .. slices, the last repeating the first; the angle
// is a float and its sine and cosine are taken in double.
void slice_cache(int slices, GLfloat* sin_a, GLfloat* cos_a) {
  for (int i = 0; i < slices; ++i) {
    const GLfloat angle = static_cast<GLfloat>(2 * PI * i / slices);
    sin_a[i] = static_cast<GLfloat>(std::sin(static_cast<double>(angle)));
    cos_a[i] = static_cast<GLfloat>(std::cos(static_cast<double>(angle)));
  }
  // cppcheck-suppress uninitvar ; callers pass slices >= 2
  sin_a[slices] = sin_a[0];
  cos_a[slices] = cos_a[0];
}

}  // namespace

GLUquadric* gluNewQuadric(void) {
  return new GLUquadric{GLU_FILL, GLU_SMOOTH, GLU_OUTSIDE};
}

void gluDeleteQuadric(GLUquadric* quad) {
  delete quad;
}

void gluQuadricDrawStyle(GLUquadric* quad, GLenum draw) {
  if (quad != nullptr) quad->draw_style = draw;
}

void gluQuadricNormals(GLUquadric* quad, GLenum normal) {
  if (quad != nullptr) quad->normals = normal;
}

void gluQuadricOrientation(GLUquadric* quad, GLenum orientation) {
  if (quad != nullptr) quad->orientation = orientation;
}

void gluSphere(GLUquadric* quad, GLdouble radius, GLint slices, GLint stacks) {
  if (quad == nullptr || quad->draw_style != GLU_FILL) return;
  if (slices >= CACHE_SIZE) slices = CACHE_SIZE - 1;
  if (stacks >= CACHE_SIZE) stacks = CACHE_SIZE - 1;
  if (slices < 2 || stacks < 1 || radius < 0.0) return;
  GLfloat sin_a[CACHE_SIZE], cos_a[CACHE_SIZE], sin_b[CACHE_SIZE], cos_b[CACHE_SIZE];
  slice_cache(slices, sin_a, cos_a);
  for (int j = 0; j <= stacks; ++j) {
    const GLfloat angle = static_cast<GLfloat>(PI * j / stacks);
    sin_b[j] = static_cast<GLfloat>(radius * std::sin(static_cast<double>(angle)));
    cos_b[j] = static_cast<GLfloat>(radius * std::cos(static_cast<double>(angle)));
  }
  // The poles come to a point.
  sin_b[0] = 0.0f;
  // cppcheck-suppress arrayIndexOutOfBoundsCond ; stacks is below CACHE_SIZE here
  sin_b[stacks] = 0.0f;
  const bool outside = quad->orientation == GLU_OUTSIDE;
  const GLfloat r = static_cast<GLfloat>(radius);

  // The fans round the poles: the stacks next to them.
  GLfloat s = sin_b[1], z = cos_b[1];
  glBegin(GL_TRIANGLE_FAN);
  glVertex3f(0.0f, 0.0f, r);
  for (int k = 0; k <= slices; ++k) {
    const int i = outside ? slices - k : k;
    glVertex3f(s * sin_a[i], s * cos_a[i], z);
  }
  glEnd();
  s = sin_b[stacks - 1];
  z = cos_b[stacks - 1];
  glBegin(GL_TRIANGLE_FAN);
  glVertex3f(0.0f, 0.0f, -r);
  for (int k = 0; k <= slices; ++k) {
    const int i = outside ? k : slices - k;
    glVertex3f(s * sin_a[i], s * cos_a[i], z);
  }
  glEnd();

  for (int j = 1; j < stacks - 1; ++j) {
    const GLfloat z_low = cos_b[j], z_high = cos_b[j + 1];
    const GLfloat s_low = sin_b[j], s_high = sin_b[j + 1];
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= slices; ++i) {
      if (outside) {
        glVertex3f(s_high * sin_a[i], s_high * cos_a[i], z_high);
        glVertex3f(s_low * sin_a[i], s_low * cos_a[i], z_low);
      } else {
        glVertex3f(s_low * sin_a[i], s_low * cos_a[i], z_low);
        glVertex3f(s_high * sin_a[i], s_high * cos_a[i], z_high);
      }
    }
    glEnd();
  }
}

void gluCylinder(GLUquadric* quad, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                 GLint stacks) {
  if (quad == nullptr || quad->draw_style != GLU_FILL) return;
  if (slices >= CACHE_SIZE) slices = CACHE_SIZE - 1;
  if (slices < 2 || stacks < 1 || base < 0.0 || top < 0.0 || height < 0.0) return;
  const GLfloat delta = static_cast<GLfloat>(base - top);
  const GLfloat length = static_cast<GLfloat>(std::sqrt(delta * delta + height * height));
  if (length == 0.0f) return;
  GLfloat sin_a[CACHE_SIZE], cos_a[CACHE_SIZE];
  slice_cache(slices, sin_a, cos_a);
  const bool outside = quad->orientation == GLU_OUTSIDE;
  for (int j = 0; j < stacks; ++j) {
    const GLfloat z_low = static_cast<GLfloat>(j * height / stacks);
    const GLfloat z_high = static_cast<GLfloat>((j + 1) * height / stacks);
    const GLfloat r_low = static_cast<GLfloat>(base - delta * (static_cast<float>(j) / stacks));
    const GLfloat r_high =
        static_cast<GLfloat>(base - delta * (static_cast<float>(j + 1) / stacks));
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= slices; ++i) {
      if (outside) {
        glVertex3f(r_low * sin_a[i], r_low * cos_a[i], z_low);
        glVertex3f(r_high * sin_a[i], r_high * cos_a[i], z_high);
      } else {
        glVertex3f(r_high * sin_a[i], r_high * cos_a[i], z_high);
        glVertex3f(r_low * sin_a[i], r_low * cos_a[i], z_low);
      }
    }
    glEnd();
  }
}
