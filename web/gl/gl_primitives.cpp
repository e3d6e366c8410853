// Primitive assembly as Mesa does it: polygons, quads and strips split into the triangles
// Mesa splits them into, rasterised on the CPU when they need no clipping; line segments clipped to
// the view volume, then stippled and rasterised on the CPU; points dropped when their centre is
// outside the view volume.
#include "gl_primitives.h"

#include "gl_batch.h"
#include "gl_pixels.h"

#include <algorithm>
#include <cstring>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int CLIP_PLANES = 6;  // x, y and z against -w and +w

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

std::vector<PixelFragment> fragments;  // scratch: pixels of one segment or point

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// Signed distance of a clip point inside plane i (>= 0 inside).
float plane_distance(const float* c, int i) {
  const float coord = c[i / 2];
  return (i % 2 == 0) ? c[3] + coord : c[3] - coord;
}

bool inside_volume(const float* c) {
  for (int i = 0; i < CLIP_PLANES; ++i)
    if (plane_distance(c, i) < 0.0f) return false;
  return true;
}

void lerp(const float* a, const float* b, float t, int n, float* out) {
  for (int i = 0; i < n; ++i) out[i] = a[i] + (b[i] - a[i]) * t;
}

// Colours of the fragments between two colours: bytes worked out once when they agree.
struct FragmentColour {
  float c0[4], c1[4];
  bool flat;
  unsigned char bytes[4];
};

void fragment_colour_init(FragmentColour* fc, const float* c0, const float* c1) {
  std::memcpy(fc->c0, c0, sizeof fc->c0);
  std::memcpy(fc->c1, c1, sizeof fc->c1);
  fc->flat = std::memcmp(c0, c1, sizeof fc->c0) == 0;
  batch_colour(c0, fc->bytes);
}

void fragment_colour_at(const FragmentColour& fc, float t, unsigned char out[4]) {
  if (fc.flat) {
    std::memcpy(out, fc.bytes, 4);
    return;
  }
  float c[4];
  lerp(fc.c0, fc.c1, t, 4, c);
  batch_colour(c, out);
}

// Depth along the window segment (x0, y0, z0)-(x1, y1, z1), as a plane over the window: the
// depth at a pixel is that of its centre's projection onto the segment.
DepthPlane segment_plane(const float* w0, const float* w1) {
  const float dx = w1[0] - w0[0], dy = w1[1] - w0[1], dz = w1[2] - w0[2];
  const float len2 = dx * dx + dy * dy;
  if (!(len2 > 0.0f)) return DepthPlane{w0[2], 0.0f, 0.0f};
  const DepthPlane p{0.0f, dz * dx / len2, dz * dy / len2};
  return DepthPlane{w0[2] - p.dx * w0[0] - p.dy * w0[1], p.dx, p.dy};
}

// Sends the fragments gathered. In one colour they go out as gl_batch merges them; with the
// colour varying along the segment (a gradient), column by column as runs of one colour, so
// that a wide horizontal gradient is one rectangle per column.
void fragments_emit(const DepthPlane& plane, const FragmentColour& fc) {
  if (fc.flat) {
    batch_fragments(fragments, plane, fc.bytes);
    return;
  }
  std::sort(fragments.begin(), fragments.end(), [](const PixelFragment& a, const PixelFragment& b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
  });
  unsigned char run_rgba[4] = {0, 0, 0, 0}, rgba[4];
  int run_x = 0, run_y0 = 0, run_y1 = 0;
  bool open = false;
  for (const PixelFragment& f : fragments) {
    fragment_colour_at(fc, f.t, rgba);
    if (open && f.x == run_x && f.y == run_y1 + 1 && std::memcmp(rgba, run_rgba, 4) == 0) {
      run_y1 = f.y;
      continue;
    }
    if (open) batch_rect(run_x, run_y0, run_x, run_y1, plane, run_rgba);
    run_x = f.x;
    run_y0 = run_y1 = f.y;
    std::memcpy(run_rgba, rgba, 4);
    open = true;
  }
  if (open) batch_rect(run_x, run_y0, run_x, run_y1, plane, run_rgba);
}

// One line segment: clipped to the view volume, then rasterised in window space.
void segment_draw(const GlVertex& a, const GlVertex& b, bool reset) {
  GlWebState* s = gl_state();
  if (reset) s->stipple.counter = 0.0f;
  float t0 = 0.0f, t1 = 1.0f;
  for (int i = 0; i < CLIP_PLANES; ++i) {
    const float d0 = plane_distance(a.clip, i), d1 = plane_distance(b.clip, i);
    if (d0 < 0.0f && d1 < 0.0f) return;
    if (d0 < 0.0f) {
      const float t = d0 / (d0 - d1);
      if (t > t0) t0 = t;
    } else if (d1 < 0.0f) {
      const float t = d0 / (d0 - d1);
      if (t < t1) t1 = t;
    }
  }
  if (t0 > t1) return;
  float c0[4], c1[4], col0[4], col1[4];
  lerp(a.clip, b.clip, t0, 4, c0);
  lerp(a.clip, b.clip, t1, 4, c1);
  if (t0 == 0.0f) std::memcpy(c0, a.clip, sizeof c0);
  if (t1 == 1.0f) std::memcpy(c1, b.clip, sizeof c1);
  lerp(a.colour, b.colour, t0, 4, col0);
  lerp(a.colour, b.colour, t1, 4, col1);
  const GlWindowPoint p0 = gl_clip_to_window(c0), p1 = gl_clip_to_window(c1);
  const float w0[3] = {p0.x, p0.y, p0.z}, w1[3] = {p1.x, p1.y, p1.z};

  const GlAttribs& at = s->a;
  fragments.clear();
  if (gl_cap_on(GL_LINE_STIPPLE)) {
    s->stipple.factor = at.stipple_factor;
    s->stipple.pattern = at.stipple_pattern;
    pixels_stippled_line(p0.x, p0.down, p1.x, p1.down, at.line_width, s->win_height, false,
                         &s->stipple, &fragments);
  } else {
    pixels_line(p0.x, p0.down, p1.x, p1.down, at.line_width, s->win_height, &fragments);
  }
  FragmentColour fc;
  fragment_colour_init(&fc, col0, col1);
  fragments_emit(segment_plane(w0, w1), fc);
}

void point_draw(const GlVertex& v) {
  if (!inside_volume(v.clip)) return;
  const GlWindowPoint w = gl_clip_to_window(v.clip);
  fragments.clear();
  pixels_point(w.x, w.y, gl_state()->a.point_size, &fragments);
  FragmentColour fc;
  fragment_colour_init(&fc, v.colour, v.colour);
  fragments_emit(DepthPlane{w.z, 0.0f, 0.0f}, fc);
}

// Depth over the window of the triangle's plane through its three window corners.
DepthPlane triangle_plane(const float* a, const float* b, const float* c) {
  const float ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
  const float vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
  const float det = ux * vy - uy * vx;
  if (det == 0.0f) return DepthPlane{a[2], 0.0f, 0.0f};
  const float dx = (uz * vy - vz * uy) / det, dy = (vz * ux - uz * vx) / det;
  return DepthPlane{a[2] - dx * a[0] - dy * a[1], dx, dy};
}

// Whether GL culls a triangle of this signed window area (counter-clockwise positive).
bool triangle_culled(float area) {
  if (!gl_cap_on(GL_CULL_FACE)) return false;
  const GlAttribs& a = gl_state()->a;
  const bool front = (area > 0.0f) == (a.front_face == GL_CCW);
  return a.cull_mode == GL_FRONT_AND_BACK || (a.cull_mode == GL_BACK) != front;
}

// A triangle in one colour that needs no clipping is rasterised here as Mesa rasterises it,
// kept to the viewport; any other goes to WebGL.
bool triangle_on_cpu(const GlVertex& a, const GlVertex& b, const GlVertex& c) {
  if (std::memcmp(a.colour, b.colour, sizeof a.colour) != 0 ||
      std::memcmp(a.colour, c.colour, sizeof a.colour) != 0)
    return false;
  for (const GlVertex* v : {&a, &b, &c})
    if (!(v->clip[3] > 0.0f) || v->clip[2] < -v->clip[3] || v->clip[2] > v->clip[3]) return false;
  const GlWindowPoint pa = gl_clip_to_window(a.clip), pb = gl_clip_to_window(b.clip),
                      pc = gl_clip_to_window(c.clip);
  const float wa[3] = {pa.x, pa.y, pa.z}, wb[3] = {pb.x, pb.y, pb.z}, wc[3] = {pc.x, pc.y, pc.z};
  const float da[2] = {pa.x, pa.down}, db[2] = {pb.x, pb.down}, dc[2] = {pc.x, pc.down};
  const float area = (wb[0] - wa[0]) * (wc[1] - wa[1]) - (wc[0] - wa[0]) * (wb[1] - wa[1]);
  if (triangle_culled(area)) return true;
  const GlWebState* s = gl_state();
  const int* vp = s->a.viewport;
  const int box[4] = {std::max(0, vp[0]), std::max(0, vp[1]),
                      std::min(s->win_width, vp[0] + vp[2]) - 1,
                      std::min(s->win_height, vp[1] + vp[3]) - 1};
  if (box[0] > box[2] || box[1] > box[3]) return true;
  fragments.clear();
  pixels_triangle(da, db, dc, s->win_height, box, &fragments);
  FragmentColour fc;
  fragment_colour_init(&fc, a.colour, a.colour);
  fragments_emit(triangle_plane(wa, wb, wc), fc);
  return true;
}

// A triangle with GL_FLAT shading takes the last vertex's colour everywhere.
void triangle_draw(const GlVertex& a, const GlVertex& b, const GlVertex& c) {
  GlVertex fa = a, fb = b;
  if (gl_state()->a.shade_model == GL_FLAT) {
    std::memcpy(fa.colour, c.colour, sizeof fa.colour);
    std::memcpy(fb.colour, c.colour, sizeof fb.colour);
  }
  if (!triangle_on_cpu(fa, fb, c)) batch_triangle(&fa, &fb, &c);
}

// The triangles of a filled primitive, in Mesa's order and vertex order (the last vertex
// of each triangle provoking).
void filled_draw(GLenum mode, const std::vector<GlVertex>& v) {
  const GlAttribs& a = gl_state()->a;
  if (a.polygon_mode[0] != GL_FILL && a.polygon_mode[1] != GL_FILL) return;
  const int n = static_cast<int>(v.size());
  switch (mode) {
    case GL_TRIANGLES:
      for (int i = 0; i + 2 < n; i += 3) triangle_draw(v[i], v[i + 1], v[i + 2]);
      break;
    case GL_TRIANGLE_STRIP:
      for (int i = 0; i + 2 < n; ++i) {
        if (i % 2 == 0)
          triangle_draw(v[i], v[i + 1], v[i + 2]);
        else
          triangle_draw(v[i + 1], v[i], v[i + 2]);
      }
      break;
    case GL_TRIANGLE_FAN:
    case GL_POLYGON:
      for (int i = 1; i + 1 < n; ++i) triangle_draw(v[0], v[i], v[i + 1]);
      break;
    case GL_QUADS:
      for (int i = 0; i + 3 < n; i += 4) {
        triangle_draw(v[i], v[i + 1], v[i + 3]);
        triangle_draw(v[i + 1], v[i + 2], v[i + 3]);
      }
      break;
    case GL_QUAD_STRIP:
      for (int i = 0; i + 3 < n; i += 2) {
        triangle_draw(v[i + 2], v[i], v[i + 3]);
        triangle_draw(v[i], v[i + 1], v[i + 3]);
      }
      break;
    default: break;
  }
}

}  // namespace

void primitives_draw(GLenum mode, const std::vector<GlVertex>& v) {
  const size_t n = v.size();
  switch (mode) {
    case GL_POINTS:
      for (const GlVertex& p : v) point_draw(p);
      break;
    case GL_LINES:
      for (size_t i = 0; i + 1 < n; i += 2) segment_draw(v[i], v[i + 1], true);
      break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
      for (size_t i = 0; i + 1 < n; ++i) segment_draw(v[i], v[i + 1], i == 0);
      if (mode == GL_LINE_LOOP && n >= 2) segment_draw(v[n - 1], v[0], false);
      break;
    default: filled_draw(mode, v); break;
  }
}
