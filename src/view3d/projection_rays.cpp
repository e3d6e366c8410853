// The projection rays: a stippled line from the origin to each point and a cone
// with its tip on the point; all lines as one primitive while fast_paths is on.
#include "view3d/fast_shapes.h"

#include "app/shell.h"
#include "view3d/projection.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr float RAY_LINE_WIDTH = 1.5f;    // pixels
constexpr GLushort RAY_STIPPLE = 0x0F0F;  // 4 on, 4 off
constexpr GLint RAY_STIPPLE_FACTOR = 1;
constexpr double RAY_CONE_LENGTH = 0.25;   // cone height, its tip on the point
constexpr double RAY_CONE_RADIUS = 0.067;  // radius of the cone's base
constexpr int RAY_CONE_SLICES = 10;
constexpr int RAY_CONE_STACKS = 10;

// The rays' width and stipple, on until GL_LINE_STIPPLE is disabled.
void ray_stipple_on() {
  glLineWidth(RAY_LINE_WIDTH);
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(RAY_STIPPLE_FACTOR, RAY_STIPPLE);
}

}  // namespace

// Cone along the ray from the origin through q, its tip on q. A point at the
// origin has no ray and gets no cone.
void draw_ray_cone(const double q[3]) {
  const double x = q[0], y = q[1], z = q[2];
  const double d = std::sqrt(x * x + y * y + z * z);
  if (!(d > 0.0) || !std::isfinite(d)) return;
  const float f = static_cast<float>(1.0 - RAY_CONE_LENGTH / d);
  // gluCylinder runs along +z: tilting by the polar angle beta about y and
  // then turning by the azimuth alpha about z brings +z onto the ray.
  const double rxy = std::sqrt(x * x + y * y);
  double alpha = rxy > 0.0 ? std::acos(x / rxy) : 0.0;
  if (y < 0.0) alpha = -alpha;
  const double beta = std::acos(z / d);
  glPushMatrix();
  glTranslated(f * x, f * y, f * z);
  glRotated(alpha * DEG_PER_RAD, 0.0, 0.0, 1.0);
  glRotated(beta * DEG_PER_RAD, 0.0, 1.0, 0.0);
  draw_cached_cylinder(cone_quadric, RAY_CONE_RADIUS, 0.0, RAY_CONE_LENGTH, RAY_CONE_SLICES,
                       RAY_CONE_STACKS);
  glPopMatrix();
}

// Stippled segment from the origin to q in the current colour.
void draw_ray_line(const double q[3]) {
  ray_stipple_on();
  glBegin(GL_LINES);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glVertex3f(static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2]));
  glEnd();
  glDisable(GL_LINE_STIPPLE);
}

// All lines as one primitive then all cones while fast_paths is on, line and
// cone point by point otherwise.
void draw_rays(const ControlPoint* points, int n, const float* colour) {
  glColor4fv(colour);
  if (fast_paths == 0) {
    for (int i = 0; i < n; ++i) {
      const double q[3] = {points[i].x, points[i].y, points[i].z};
      draw_ray_line(q);
      draw_ray_cone(q);
    }
    return;
  }
  // Lines and cones share one translucent colour, so where they overlap the
  // pixel depends only on how many are drawn over it, not in which order: all
  // the lines can go out as one primitive, the stipple starting afresh on each
  // segment as it does on each line of its own.
  ray_stipple_on();
  glBegin(GL_LINES);
  for (int i = 0; i < n; ++i) {
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(static_cast<float>(points[i].x), static_cast<float>(points[i].y),
               static_cast<float>(points[i].z));
  }
  glEnd();
  glDisable(GL_LINE_STIPPLE);
  for (int i = 0; i < n; ++i) {
    const double q[3] = {points[i].x, points[i].y, points[i].z};
    draw_ray_cone(q);
  }
}
