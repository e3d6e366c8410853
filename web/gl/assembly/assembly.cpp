// Primitive assembly as Mesa does it: polygons, quads and strips split into the triangles
// Mesa splits them into, rasterised on the CPU when they need no clipping; line segments clipped to
// the view volume, then stippled and rasterised on the CPU; points dropped when their centre is
// outside the view volume.
#include "gl/assembly/assembly.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

//------------------------------------------------------------------------------
// Constants and types
//------------------------------------------------------------------------------

constexpr int CLIP_PLANES = 6;  // x, y and z against -w and +w

// Everything one primitive is drawn with.
struct Primitive {
  Assembly* assembly;
  Batch* batch;
  const DrawState& draw;
};

// Colours of the fragments between two colours: bytes worked out once when they agree.
struct FragmentColour {
  float c0[4], c1[4];
  bool flat;
  unsigned char bytes[4];
};

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

// Within the near and far planes, in front of the eye: what a triangle needs to be mapped to
// the window without clipping.
bool inside_depth(const float* c) {
  return c[3] > 0.0f && c[2] >= -c[3] && c[2] <= c[3];
}

// Whether the three corners lie outside one clip plane, so that GL's clipping leaves nothing.
bool triangle_outside(const GlVertex& a, const GlVertex& b, const GlVertex& c) {
  for (int i = 0; i < CLIP_PLANES; ++i)
    if (plane_distance(a.clip, i) < 0.0f && plane_distance(b.clip, i) < 0.0f &&
        plane_distance(c.clip, i) < 0.0f)
      return true;
  return false;
}

bool colour_equal(const float* a, const float* b) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

void lerp(const float* a, const float* b, float t, int n, float* out) {
  for (int i = 0; i < n; ++i) out[i] = a[i] + (b[i] - a[i]) * t;
}

void fragment_colour_init(const Primitive& p, FragmentColour* fc, const float* c0,
                          const float* c1) {
  std::memcpy(fc->c0, c0, sizeof fc->c0);
  std::memcpy(fc->c1, c1, sizeof fc->c1);
  fc->flat = colour_equal(c0, c1);
  batch_colour(p.draw.batch, c0, fc->bytes);
}

void fragment_colour_at(const Primitive& p, const FragmentColour& fc, float t,
                        unsigned char out[4]) {
  if (fc.flat) {
    std::memcpy(out, fc.bytes, 4);
    return;
  }
  float c[4];
  lerp(fc.c0, fc.c1, t, 4, c);
  batch_colour(p.draw.batch, c, out);
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

// Sends the fragments gathered. In one colour they go out as the batch merges them; with the
// colour varying along the segment (a gradient), column by column as runs of one colour, so
// that a wide horizontal gradient is one rectangle per column.
void fragments_emit(const Primitive& p, const DepthPlane& plane, const FragmentColour& fc) {
  std::vector<PixelFragment>& fragments = p.assembly->fragments;
  const BatchDraw& draw = p.draw.batch;
  if (fc.flat) {
    batch_fragments(p.batch, draw, fragments, plane, fc.bytes);
    return;
  }
  std::sort(fragments.begin(), fragments.end(), [](const PixelFragment& a, const PixelFragment& b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
  });
  unsigned char run_rgba[4] = {0, 0, 0, 0}, rgba[4];
  int run_x = 0, run_y0 = 0, run_y1 = 0;
  bool open = false;
  for (const PixelFragment& f : fragments) {
    fragment_colour_at(p, fc, f.t, rgba);
    if (open && f.x == run_x && f.y == run_y1 + 1 && std::memcmp(rgba, run_rgba, 4) == 0) {
      run_y1 = f.y;
      continue;
    }
    if (open) batch_rect(p.batch, draw, run_x, run_y0, run_x, run_y1, plane, run_rgba);
    run_x = f.x;
    run_y0 = run_y1 = f.y;
    std::memcpy(run_rgba, rgba, 4);
    open = true;
  }
  if (open) batch_rect(p.batch, draw, run_x, run_y0, run_x, run_y1, plane, run_rgba);
}

// Mesa's viewport transform for a window: y scaled by minus half the viewport height and moved
// by the window height, in floats. Its generated vertex code fuses each scale and offset into one
// multiply-add (a point on a pixel centre can land either side of it); its draw stage maps a
// vertex it made by clipping in C, each product rounded on its own.
GlWindowPoint window_map(const DrawState& draw, const float clip[4], bool fused) {
  const auto map = [fused](float a, float scale, float offset) {
    return fused ? std::fma(a, scale, offset) : a * scale + offset;
  };
  const int* viewport = draw.batch.viewport;
  const float inv_w = 1.0f / clip[3];
  const float half_w = viewport[2] * 0.5f, half_h = viewport[3] * 0.5f;
  const float half_depth = (draw.depth_range[1] - draw.depth_range[0]) * 0.5f;
  const int height = draw.batch.win_height;
  GlWindowPoint p;
  p.x = map(clip[0] * inv_w, half_w, viewport[0] + half_w);
  p.down = map(clip[1] * inv_w, -half_h, height - (viewport[1] + half_h));
  p.y = height - p.down;
  p.z = map(clip[2] * inv_w, half_depth, draw.depth_range[0] + half_depth);
  return p;
}

// One end of a clipped line in the window, and its colour: moved to from + t * (other - from)
// when it was outside, mapped as GL's vertex code maps it when it was not.
GlWindowPoint segment_end(const DrawState& d, const GlVertex& from, const GlVertex& other, bool out,
                          float t, float colour[4]) {
  if (!out) {
    std::memcpy(colour, from.colour, 4 * sizeof(float));
    return assembly_clip_to_window(d, from.clip);
  }
  float clip[4];
  lerp(from.clip, other.clip, t, 4, clip);
  lerp(from.colour, other.colour, t, 4, colour);
  return window_map(d, clip, false);
}

// Mesa's clip of a line: each end's own t, measured from that end, against every plane either
// end is outside of; an end that was outside is moved to from + t * (other - from).
void segment_draw(const Primitive& p, const GlVertex& a, const GlVertex& b, bool reset) {
  PixelStipple& stipple = p.assembly->stipple;
  if (reset) stipple.counter = 0.0f;
  float t0 = 0.0f, t1 = 0.0f;
  bool out0 = false, out1 = false;
  for (int i = 0; i < CLIP_PLANES; ++i) {
    const float d0 = plane_distance(a.clip, i), d1 = plane_distance(b.clip, i);
    if (!(d0 < 0.0f) && !(d1 < 0.0f)) continue;
    if (d0 < 0.0f && d1 < 0.0f) return;
    if (!std::isfinite(d0) || !std::isfinite(d1)) return;
    out0 = out0 || d0 < 0.0f;
    out1 = out1 || d1 < 0.0f;
    if (d1 < 0.0f) t1 = std::max(t1, d1 / (d1 - d0));
    if (d0 < 0.0f) t0 = std::max(t0, d0 / (d0 - d1));
    if (t0 + t1 >= 1.0f) return;
  }
  const DrawState& d = p.draw;
  float col0[4], col1[4];
  const GlWindowPoint p0 = segment_end(d, a, b, out0, t0, col0);
  const GlWindowPoint p1 = segment_end(d, b, a, out1, t1, col1);
  const float w0[3] = {p0.x, p0.y, p0.z}, w1[3] = {p1.x, p1.y, p1.z};

  std::vector<PixelFragment>& fragments = p.assembly->fragments;
  fragments.clear();
  const int height = d.batch.win_height;
  if (d.line_stipple) {
    stipple.factor = d.stipple_factor;
    stipple.pattern = d.stipple_pattern;
    raster_stippled_line(p0.x, p0.down, p1.x, p1.down, d.line_width, height, false, &stipple,
                         &fragments);
  } else {
    raster_line(p0.x, p0.down, p1.x, p1.down, d.line_width, height, &fragments);
  }
  FragmentColour fc;
  fragment_colour_init(p, &fc, col0, col1);
  fragments_emit(p, segment_plane(w0, w1), fc);
}

void point_draw(const Primitive& p, const GlVertex& v) {
  if (!inside_volume(v.clip)) return;
  const GlWindowPoint w = assembly_clip_to_window(p.draw, v.clip);
  p.assembly->fragments.clear();
  raster_point(w.x, w.y, p.draw.point_size, &p.assembly->fragments);
  FragmentColour fc;
  fragment_colour_init(p, &fc, v.colour, v.colour);
  fragments_emit(p, DepthPlane{w.z, 0.0f, 0.0f}, fc);
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
bool triangle_culled(const DrawState& d, float area) {
  if (!d.cull) return false;
  const bool front = (area > 0.0f) == (d.front_face == GL_CCW);
  return d.cull_mode == GL_FRONT_AND_BACK || (d.cull_mode == GL_BACK) != front;
}

// A triangle in one colour that needs no clipping is rasterised here as Mesa rasterises it,
// kept to the viewport; any other goes to WebGL.
bool triangle_on_cpu(const Primitive& p, const GlVertex& a, const GlVertex& b, const GlVertex& c) {
  if (!colour_equal(a.colour, b.colour) || !colour_equal(a.colour, c.colour)) return false;
  for (const GlVertex* v : {&a, &b, &c})
    if (!(v->clip[3] > 0.0f) || v->clip[2] < -v->clip[3] || v->clip[2] > v->clip[3]) return false;
  const DrawState& d = p.draw;
  const GlWindowPoint pa = assembly_clip_to_window(d, a.clip),
                      pb = assembly_clip_to_window(d, b.clip),
                      pc = assembly_clip_to_window(d, c.clip);
  const float wa[3] = {pa.x, pa.y, pa.z}, wb[3] = {pb.x, pb.y, pb.z}, wc[3] = {pc.x, pc.y, pc.z};
  const float da[2] = {pa.x, pa.down}, db[2] = {pb.x, pb.down}, dc[2] = {pc.x, pc.down};
  const float area = (wb[0] - wa[0]) * (wc[1] - wa[1]) - (wc[0] - wa[0]) * (wb[1] - wa[1]);
  if (triangle_culled(d, area)) return true;
  const int* vp = d.batch.viewport;
  const int box[4] = {std::max(0, vp[0]), std::max(0, vp[1]),
                      std::min(d.batch.win_width, vp[0] + vp[2]) - 1,
                      std::min(d.batch.win_height, vp[1] + vp[3]) - 1};
  if (box[0] > box[2] || box[1] > box[3]) return true;
  p.assembly->fragments.clear();
  raster_triangle(da, db, dc, d.batch.win_height, box, &p.assembly->fragments);
  FragmentColour fc;
  fragment_colour_init(p, &fc, a.colour, a.colour);
  fragments_emit(p, triangle_plane(wa, wb, wc), fc);
  return true;
}

// Any other triangle goes to WebGL, mapped to the window here when it needs no clipping.
void triangle_to_webgl(const Primitive& p, const GlVertex& a, const GlVertex& b,
                       const GlVertex& c) {
  const GlVertex* const v[3] = {&a, &b, &c};
  if (!inside_depth(a.clip) || !inside_depth(b.clip) || !inside_depth(c.clip)) {
    batch_triangle(p.batch, p.draw.batch, v, nullptr);
    return;
  }
  float window[3][3];
  for (int i = 0; i < 3; ++i) {
    const GlWindowPoint w = assembly_clip_to_window(p.draw, v[i]->clip);
    window[i][0] = w.x;
    window[i][1] = w.y;
    window[i][2] = w.z;
  }
  batch_triangle(p.batch, p.draw.batch, v, window);
}

// A triangle with GL_FLAT shading takes the last vertex's colour everywhere.
void triangle_draw(const Primitive& p, const GlVertex& a, const GlVertex& b, const GlVertex& c) {
  GlVertex fa = a, fb = b;
  if (p.draw.flat) {
    std::memcpy(fa.colour, c.colour, sizeof fa.colour);
    std::memcpy(fb.colour, c.colour, sizeof fb.colour);
  }
  if (triangle_outside(fa, fb, c)) return;
  if (!triangle_on_cpu(p, fa, fb, c)) triangle_to_webgl(p, fa, fb, c);
}

// The triangles of a filled primitive, in Mesa's order and vertex order (the last vertex
// of each triangle provoking).
void filled_draw(const Primitive& p, GLenum mode, const std::vector<GlVertex>& v) {
  if (!p.draw.fill) return;
  const int n = static_cast<int>(v.size());
  switch (mode) {
    case GL_TRIANGLES:
      for (int i = 0; i + 2 < n; i += 3) triangle_draw(p, v[i], v[i + 1], v[i + 2]);
      break;
    case GL_TRIANGLE_STRIP:
      for (int i = 0; i + 2 < n; ++i) {
        if (i % 2 == 0)
          triangle_draw(p, v[i], v[i + 1], v[i + 2]);
        else
          triangle_draw(p, v[i + 1], v[i], v[i + 2]);
      }
      break;
    case GL_TRIANGLE_FAN:
    case GL_POLYGON:
      for (int i = 1; i + 1 < n; ++i) triangle_draw(p, v[0], v[i], v[i + 1]);
      break;
    case GL_QUADS:
      for (int i = 0; i + 3 < n; i += 4) {
        triangle_draw(p, v[i], v[i + 1], v[i + 3]);
        triangle_draw(p, v[i + 1], v[i + 2], v[i + 3]);
      }
      break;
    case GL_QUAD_STRIP:
      for (int i = 0; i + 3 < n; i += 2) {
        triangle_draw(p, v[i + 2], v[i], v[i + 3]);
        triangle_draw(p, v[i], v[i + 1], v[i + 3]);
      }
      break;
    default: break;
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// The window point of a vertex GL's vertex code transformed (see window_map).
GlWindowPoint assembly_clip_to_window(const DrawState& draw, const float clip[4]) {
  return window_map(draw, clip, true);
}

void assembly_draw(Assembly* assembly, Batch* batch, const DrawState& draw, GLenum mode,
                   const std::vector<GlVertex>& v) {
  const Primitive p{assembly, batch, draw};
  const size_t n = v.size();
  switch (mode) {
    case GL_POINTS:
      for (const GlVertex& point : v) point_draw(p, point);
      break;
    case GL_LINES:
      for (size_t i = 0; i + 1 < n; i += 2) segment_draw(p, v[i], v[i + 1], true);
      break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
      for (size_t i = 0; i + 1 < n; ++i) segment_draw(p, v[i], v[i + 1], i == 0);
      if (mode == GL_LINE_LOOP && n >= 2) segment_draw(p, v[n - 1], v[0], false);
      break;
    default: filled_draw(p, mode, v); break;
  }
}
