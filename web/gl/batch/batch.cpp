// The vertex buffer of the current window: consecutive primitives of the same kind drawn
// under the same state share a run, and every run is one WebGL draw at flush time.
#include "gl/batch/batch.h"

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
// Helpers
//------------------------------------------------------------------------------

int colour_byte(float c) {
  const float clamped = std::min(1.0f, std::max(0.0f, c));
  return static_cast<int>(std::nearbyint(clamped * BYTE_MAX));
}

bool state_equal(const BackendState& a, const BackendState& b) {
  return a.blend == b.blend && a.blend_src == b.blend_src && a.blend_dst == b.blend_dst &&
         a.depth_test == b.depth_test && a.depth_func == b.depth_func &&
         a.depth_mask == b.depth_mask && a.cull == b.cull && a.cull_mode == b.cull_mode &&
         a.front_face == b.front_face &&
         std::equal(a.colour_mask, a.colour_mask + 4, b.colour_mask) &&
         std::equal(a.scissor, a.scissor + 4, b.scissor);
}

// Opens a run for count more vertices of the kind, or lengthens the last one when it was
// opened under the same state (the same draw state, or one equal to it).
void run_extend(Batch* batch, const BatchDraw& draw, BackendKind kind, int count) {
  const BackendState& st = kind == BACKEND_TRIANGLES ? draw.triangles : draw.pixels;
  if (!batch->runs.empty()) {
    BackendRun& last = batch->runs.back();
    if (last.kind == kind && (batch->run_serial == draw.serial || state_equal(last.state, st))) {
      last.count += count;
      batch->run_serial = draw.serial;
      return;
    }
  }
  BackendRun r{};
  r.kind = kind;
  r.state = st;
  r.first = static_cast<int>(batch->vertices.size());
  r.count = count;
  batch->runs.push_back(r);
  batch->run_serial = draw.serial;
}

// Canvas clip position of window point (x, y) at depth z.
void canvas_position(const Batch* batch, float x, float y, float z, float pos[4]) {
  pos[0] = (x + batch->target_x) * 2.0f / batch->canvas_width - 1.0f;
  pos[1] = (y + batch->target_y) * 2.0f / batch->canvas_height - 1.0f;
  pos[2] = z * 2.0f - 1.0f;
  pos[3] = 1.0f;
}

// A vertex WebGL clips itself: the window's viewport mapping folded into the clip
// coordinates, so that the canvas-wide WebGL viewport lands it where GL would.
void canvas_clip_position(const Batch* batch, const BatchDraw& draw, const float* c, float pos[4]) {
  const int* vp = draw.viewport;
  const int canvas_width = batch->canvas_width, canvas_height = batch->canvas_height;
  const float sx = static_cast<float>(vp[2]) / canvas_width;
  const float sy = static_cast<float>(vp[3]) / canvas_height;
  const float tx = (2.0f * (batch->target_x + vp[0]) + vp[2]) / canvas_width - 1.0f;
  const float ty = (2.0f * (batch->target_y + vp[1]) + vp[3]) / canvas_height - 1.0f;
  pos[0] = c[0] * sx + c[3] * tx;
  pos[1] = c[1] * sy + c[3] * ty;
  pos[2] = c[2];
  pos[3] = c[3];
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

void batch_target(Batch* batch, Backend* backend, long webgl, int win_x, int win_y) {
  batch->webgl = webgl;
  batch->target_x = win_x;
  batch->target_y = win_y;
  backend_use(backend, webgl, &batch->canvas_width, &batch->canvas_height);
  if (batch->canvas_width <= 0) batch->canvas_width = 1;
  if (batch->canvas_height <= 0) batch->canvas_height = 1;
}

// Mesa turns a colour into bytes by rounding c * 255 (a float) to nearest, ties to even;
// its blend multiplies bytes with rounding, so the source term is worked out here exactly
// and WebGL only adds.
void batch_colour(const BatchDraw& draw, const float colour[4], unsigned char rgba[4]) {
  int b[4];
  for (int i = 0; i < 4; ++i) {
    b[i] = colour_byte(colour[i]);
  }
  if (draw.premultiply)
    for (int i = 0; i < 3; ++i) b[i] = (b[i] * b[3] + 127) / 255;
  for (int i = 0; i < 4; ++i) rgba[i] = static_cast<unsigned char>(b[i]);
}

void batch_triangle(Batch* batch, const BatchDraw& draw, const GlVertex* const v[3],
                    const float (*window)[3]) {
  run_extend(batch, draw, BACKEND_TRIANGLES, 3);
  for (int i = 0; i < 3; ++i) {
    BackendVertex out{};
    if (window != nullptr)
      canvas_position(batch, window[i][0], window[i][1], window[i][2], out.pos);
    else
      canvas_clip_position(batch, draw, v[i]->clip, out.pos);
    batch_colour(draw, v[i]->colour, out.rgba);
    batch->vertices.push_back(out);
  }
}

// Two triangles with their edges on pixel boundaries light exactly the rectangle's pixels;
// a single pixel needs only one triangle, its right angle on the pixel's corner and its
// slanted edge well clear of every other pixel centre.
void batch_rect(Batch* batch, const BatchDraw& draw, int x0, int y0, int x1, int y1,
                const DepthPlane& depth, const unsigned char rgba[4]) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, draw.win_width - 1);
  y1 = std::min(y1, draw.win_height - 1);
  if (x0 > x1 || y0 > y1) return;
  static const float RECT_CORNERS[RECT_VERTICES][2] = {{0, 0}, {1, 0}, {1, 1},
                                                       {0, 0}, {1, 1}, {0, 1}};
  static const float PIXEL_CORNERS[PIXEL_VERTICES][2] = {
      {0, 0}, {PIXEL_TRIANGLE_LEG, 0}, {0, PIXEL_TRIANGLE_LEG}};
  const bool single = x0 == x1 && y0 == y1;
  const int count = single ? PIXEL_VERTICES : RECT_VERTICES;
  const float(*corners)[2] = single ? PIXEL_CORNERS : RECT_CORNERS;
  const float w = static_cast<float>(x1 + 1 - x0), h = static_cast<float>(y1 + 1 - y0);
  run_extend(batch, draw, BACKEND_RECTS, count);
  for (int i = 0; i < count; ++i) {
    const float x = x0 + corners[i][0] * w, y = y0 + corners[i][1] * h;
    BackendVertex out;
    canvas_position(batch, x, y, depth.at + depth.dx * x + depth.dy * y, out.pos);
    std::memcpy(out.rgba, rgba, 4);
    batch->vertices.push_back(out);
  }
}

// Runs of each row, stacked while the next row repeats the same columns (a thin vertical
// line is one rectangle, and so is a glyph's stem).
void batch_fragments(Batch* batch, const BatchDraw& draw,
                     const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
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
      if (open) batch_rect(batch, draw, rx0, ry0, rx1, ry1, depth, rgba);
      rx0 = x0;
      rx1 = x1;
      ry0 = ry1 = y;
      open = true;
    }
    i = j;
  }
  if (open) batch_rect(batch, draw, rx0, ry0, rx1, ry1, depth, rgba);
}

void batch_clear(Batch* batch, const BatchDraw& draw, bool colour, bool depth,
                 const float clear_colour[4], float clear_depth) {
  BackendRun r{};
  r.kind = BACKEND_CLEAR;
  r.state = draw.pixels;
  r.first = static_cast<int>(batch->vertices.size());
  r.clear_colour = colour;
  r.clear_depth = depth;
  for (int i = 0; i < 4; ++i) {
    r.clear_rgba[i] = static_cast<unsigned char>(colour_byte(clear_colour[i]));
  }
  r.clear_to_depth = clear_depth;
  batch->runs.push_back(r);
}

void batch_flush(Batch* batch, Backend* backend) {
  if (batch->runs.empty()) return;
  int w = 0, h = 0;
  backend_use(backend, batch->webgl, &w, &h);
  backend_draw(backend, batch->vertices.data(), static_cast<int>(batch->vertices.size()),
               batch->runs.data(), static_cast<int>(batch->runs.size()));
  batch->vertices.clear();
  batch->runs.clear();
}
