// The vertex buffer of the current window: consecutive primitives of the same kind drawn
// under the same state share a run, and every run is one WebGL draw at flush time.
#include "gl_batch.h"

#include "gl_backend.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr float BYTE_MAX = 255.0f;
constexpr int RECT_VERTICES = 6;   // two triangles
constexpr int PIXEL_VERTICES = 3;  // one triangle
// Legs of a single pixel's triangle, pixels: its slanted edge passes 0.53 px beyond the
// pixel's centre and 0.18 px short of its neighbours' centres.
constexpr float PIXEL_TRIANGLE_LEG = 1.75f;

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

std::vector<BackendVertex> vertices;
std::vector<BackendRun> runs;
long target_webgl = 0;
int target_x = 0, target_y = 0;           // window corner in the canvas
int canvas_width = 1, canvas_height = 1;  // drawing buffer size, pixels

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// Intersection of two rectangles (x, y, width, height), kept in a.
void rect_clip(int a[4], int x, int y, int w, int h) {
  const int x0 = std::max(a[0], x), y0 = std::max(a[1], y);
  const int x1 = std::min(a[0] + a[2], x + w), y1 = std::min(a[1] + a[3], y + h);
  a[0] = x0;
  a[1] = y0;
  a[2] = std::max(0, x1 - x0);
  a[3] = std::max(0, y1 - y0);
}

int colour_byte(float c) {
  const float clamped = std::min(1.0f, std::max(0.0f, c));
  return static_cast<int>(std::nearbyint(clamped * BYTE_MAX));
}

bool blend_premultiplied(const GlAttribs& a) {
  return gl_cap_on(GL_BLEND) && a.blend_src == GL_SRC_ALPHA &&
         a.blend_dst == GL_ONE_MINUS_SRC_ALPHA;
}

// WebGL state for a draw of the kind in the current GL state. Triangles keep to the
// viewport as GL's clipping keeps them; pixel rectangles were cut by the rasteriser already.
BackendState state_now(BackendKind kind) {
  const GlWebState* s = gl_state();
  const GlAttribs& a = s->a;
  BackendState b{};
  b.blend = gl_cap_on(GL_BLEND);
  b.blend_src = blend_premultiplied(a) ? GL_ONE : a.blend_src;
  b.blend_dst = a.blend_dst;
  b.depth_test = gl_cap_on(GL_DEPTH_TEST);
  b.depth_func = a.depth_func;
  b.depth_mask = a.depth_mask;
  b.cull = kind == BACKEND_TRIANGLES && gl_cap_on(GL_CULL_FACE);
  b.cull_mode = a.cull_mode;
  b.front_face = a.front_face;
  for (int i = 0; i < 4; ++i) b.colour_mask[i] = a.colour_mask[i];
  b.scissor[0] = target_x;
  b.scissor[1] = target_y;
  b.scissor[2] = s->win_width;
  b.scissor[3] = s->win_height;
  if (gl_cap_on(GL_SCISSOR_TEST))
    rect_clip(b.scissor, target_x + a.scissor[0], target_y + a.scissor[1], a.scissor[2],
              a.scissor[3]);
  if (kind == BACKEND_TRIANGLES)
    rect_clip(b.scissor, target_x + a.viewport[0], target_y + a.viewport[1], a.viewport[2],
              a.viewport[3]);
  return b;
}

// Opens a run for count more vertices of the kind, or lengthens the last one.
void run_extend(BackendKind kind, int count) {
  const BackendState st = state_now(kind);
  if (!runs.empty()) {
    BackendRun& last = runs.back();
    if (last.kind == kind && std::memcmp(&last.state, &st, sizeof st) == 0) {
      last.count += count;
      return;
    }
  }
  BackendRun r{};
  r.kind = kind;
  r.state = st;
  r.first = static_cast<int>(vertices.size());
  r.count = count;
  runs.push_back(r);
}

// Canvas clip position of window point (x, y) at depth z.
void canvas_position(float x, float y, float z, float pos[4]) {
  pos[0] = (x + target_x) * 2.0f / canvas_width - 1.0f;
  pos[1] = (y + target_y) * 2.0f / canvas_height - 1.0f;
  pos[2] = z * 2.0f - 1.0f;
  pos[3] = 1.0f;
}

bool inside_volume(const float* c) {
  return c[3] > 0.0f && c[2] >= -c[3] && c[2] <= c[3];
}

// A vertex WebGL clips itself: the window's viewport mapping folded into the clip
// coordinates, so that the canvas-wide WebGL viewport lands it where GL would.
void canvas_clip_position(const float* c, float pos[4]) {
  const int* vp = gl_state()->a.viewport;
  const float sx = static_cast<float>(vp[2]) / canvas_width;
  const float sy = static_cast<float>(vp[3]) / canvas_height;
  const float tx = (2.0f * (target_x + vp[0]) + vp[2]) / canvas_width - 1.0f;
  const float ty = (2.0f * (target_y + vp[1]) + vp[3]) / canvas_height - 1.0f;
  pos[0] = c[0] * sx + c[3] * tx;
  pos[1] = c[1] * sy + c[3] * ty;
  pos[2] = c[2];
  pos[3] = c[3];
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

void batch_target(long webgl, int win_x, int win_y) {
  target_webgl = webgl;
  target_x = win_x;
  target_y = win_y;
  backend_use(webgl, &canvas_width, &canvas_height);
  if (canvas_width <= 0) canvas_width = 1;
  if (canvas_height <= 0) canvas_height = 1;
}

void batch_window_origin(int* x, int* y) {
  *x = target_x;
  *y = target_y;
}

// Mesa turns a colour into bytes by rounding c * 255 (a float) to nearest, ties to even;
// its blend multiplies bytes with rounding, so the source term is worked out here exactly
// and WebGL only adds.
void batch_colour(const float colour[4], unsigned char rgba[4]) {
  int b[4];
  for (int i = 0; i < 4; ++i) {
    b[i] = colour_byte(colour[i]);
  }
  if (blend_premultiplied(gl_state()->a))
    for (int i = 0; i < 3; ++i) b[i] = (b[i] * b[3] + 127) / 255;
  for (int i = 0; i < 4; ++i) rgba[i] = static_cast<unsigned char>(b[i]);
}

void batch_triangle(const GlVertex* a, const GlVertex* b, const GlVertex* c) {
  const GlVertex* v[3] = {a, b, c};
  const bool simple = inside_volume(a->clip) && inside_volume(b->clip) && inside_volume(c->clip);
  run_extend(BACKEND_TRIANGLES, 3);
  for (const GlVertex* p : v) {
    BackendVertex out;
    if (simple) {
      const GlWindowPoint w = gl_clip_to_window(p->clip);
      canvas_position(w.x, w.y, w.z, out.pos);
    } else {
      canvas_clip_position(p->clip, out.pos);
    }
    batch_colour(p->colour, out.rgba);
    vertices.push_back(out);
  }
}

// Two triangles with their edges on pixel boundaries light exactly the rectangle's pixels;
// a single pixel needs only one triangle, its right angle on the pixel's corner and its
// slanted edge well clear of every other pixel centre.
void batch_rect(int x0, int y0, int x1, int y1, const DepthPlane& depth,
                const unsigned char rgba[4]) {
  const GlWebState* s = gl_state();
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, s->win_width - 1);
  y1 = std::min(y1, s->win_height - 1);
  if (x0 > x1 || y0 > y1) return;
  static const float RECT_CORNERS[RECT_VERTICES][2] = {{0, 0}, {1, 0}, {1, 1},
                                                       {0, 0}, {1, 1}, {0, 1}};
  static const float PIXEL_CORNERS[PIXEL_VERTICES][2] = {
      {0, 0}, {PIXEL_TRIANGLE_LEG, 0}, {0, PIXEL_TRIANGLE_LEG}};
  const bool single = x0 == x1 && y0 == y1;
  const int count = single ? PIXEL_VERTICES : RECT_VERTICES;
  const float(*corners)[2] = single ? PIXEL_CORNERS : RECT_CORNERS;
  const float w = static_cast<float>(x1 + 1 - x0), h = static_cast<float>(y1 + 1 - y0);
  run_extend(BACKEND_RECTS, count);
  for (int i = 0; i < count; ++i) {
    const float x = x0 + corners[i][0] * w, y = y0 + corners[i][1] * h;
    BackendVertex out;
    canvas_position(x, y, depth.at + depth.dx * x + depth.dy * y, out.pos);
    std::memcpy(out.rgba, rgba, 4);
    vertices.push_back(out);
  }
}

// Runs of each row, stacked while the next row repeats the same columns (a thin vertical
// line is one rectangle, and so is a glyph's stem).
void batch_fragments(const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
                     const unsigned char rgba[4]) {
  const size_t n = fragments.size();
  bool open = false;
  int rx0 = 0, rx1 = 0, ry0 = 0, ry1 = 0;
  for (size_t i = 0; i < n;) {
    const int y = fragments[i].y, x0 = fragments[i].x;
    int x1 = x0;
    size_t j = i + 1;
    while (j < n && fragments[j].y == y && fragments[j].x == x1 + 1) {
      ++x1;
      ++j;
    }
    if (open && x0 == rx0 && x1 == rx1 && (y == ry1 + 1 || y == ry0 - 1)) {
      ry0 = std::min(ry0, y);
      ry1 = std::max(ry1, y);
    } else {
      if (open) batch_rect(rx0, ry0, rx1, ry1, depth, rgba);
      rx0 = x0;
      rx1 = x1;
      ry0 = ry1 = y;
      open = true;
    }
    i = j;
  }
  if (open) batch_rect(rx0, ry0, rx1, ry1, depth, rgba);
}

void batch_clear(GLbitfield mask) {
  const GlAttribs& a = gl_state()->a;
  BackendRun r{};
  r.kind = BACKEND_CLEAR;
  r.state = state_now(BACKEND_CLEAR);
  r.first = static_cast<int>(vertices.size());
  r.clear_colour = (mask & GL_COLOR_BUFFER_BIT) != 0;
  r.clear_depth = (mask & GL_DEPTH_BUFFER_BIT) != 0 && a.depth_mask;
  for (int i = 0; i < 4; ++i) {
    r.clear_rgba[i] = static_cast<unsigned char>(colour_byte(a.clear_colour[i]));
  }
  r.clear_to_depth = static_cast<float>(a.clear_depth);
  runs.push_back(r);
}

void batch_flush() {
  if (runs.empty()) return;
  int w = 0, h = 0;
  backend_use(target_webgl, &w, &h);
  backend_draw(vertices.data(), static_cast<int>(vertices.size()), runs.data(),
               static_cast<int>(runs.size()));
  vertices.clear();
  runs.clear();
}
