// The vertex buffer of the current window: consecutive primitives of the same kind drawn
// under the same state share a run, and every run is one WebGL draw at flush time. A window
// drawing into its frame passes everything to frame.cpp instead.
#include "gl/batch/batch.h"

#include "gl/batch/frame.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr float BYTE_MAX = 255.0f;
constexpr unsigned char ALPHA_WHOLE = 255;
constexpr int RECT_VERTICES = 6;   // two triangles
constexpr int PIXEL_VERTICES = 3;  // one triangle
// Legs of a single pixel's triangle, pixels: its slanted edge passes 0.53 px beyond the
// pixel's centre and 0.18 px short of its neighbours' centres.
constexpr float PIXEL_TRIANGLE_LEG = 1.75f;
// Depth given to merged pixels when no depth test is on: WebGL then writes no depth, and any
// depth within the near and far planes lights the same pixels.
constexpr float DEPTH_UNUSED = 0.5f;
// How far within the near and far planes the depth at every rectangle corner must be for the
// depth not to matter: well above a float's rounding there.
constexpr float DEPTH_MARGIN = 1e-3f;

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

// Two triangles with their edges on pixel boundaries light exactly the rectangle's pixels;
// a single pixel needs only one triangle, its right angle on the pixel's corner and its
// slanted edge well clear of every other pixel centre.
void rect_add(Batch* batch, const BatchDraw& draw, int x0, int y0, int x1, int y1,
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
void fragments_add(Batch* batch, const BatchDraw& draw, const std::vector<PixelFragment>& fragments,
                   const DepthPlane& depth, const unsigned char rgba[4]) {
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
      if (open) rect_add(batch, draw, rx0, ry0, rx1, ry1, depth, rgba);
      rx0 = x0;
      rx1 = x1;
      ry0 = ry1 = y;
      open = true;
    }
    i = j;
  }
  if (open) rect_add(batch, draw, rx0, ry0, rx1, ry1, depth, rgba);
}

// Each run of row y, pixels run .. end - 1 of `sorted` (a pixel given twice counts once),
// lengthens the rectangle that ended on the row below with the same columns, or opens one;
// the rectangles it does not lengthen are sent (all of them for an empty row).
void row_cover(Batch* batch, int y, size_t run, size_t end) {
  const std::vector<PixelFragment>& p = batch->sorted;
  const BatchDraw& draw = batch->pending_draw;
  const DepthPlane depth{batch->pending_depth, 0.0f, 0.0f};
  size_t j = 0;
  batch->grown.clear();
  for (size_t f = run; f < end;) {
    const int x0 = p[f].x;
    int x1 = x0;
    for (++f; f < end && (p[f].x == x1 + 1 || p[f].x == x1); ++f) x1 = p[f].x;
    for (; j < batch->open.size() && batch->open[j].x0 < x0; ++j) {
      const BatchRect& r = batch->open[j];
      rect_add(batch, draw, r.x0, r.y0, r.x1, r.y1, depth, batch->pending_rgba);
    }
    BatchRect grown{x0, x1, y, y};
    if (j < batch->open.size() && batch->open[j].x0 == x0 && batch->open[j].x1 == x1 &&
        batch->open[j].y1 == y - 1)
      grown.y0 = batch->open[j++].y0;
    batch->grown.push_back(grown);
  }
  for (; j < batch->open.size(); ++j) {
    const BatchRect& r = batch->open[j];
    rect_add(batch, draw, r.x0, r.y0, r.x1, r.y1, depth, batch->pending_rgba);
  }
  batch->open.swap(batch->grown);
}

// The smallest rectangle holding every pixel of a list that is not empty.
BatchRect pixels_bounds(const std::vector<PixelFragment>& pixels) {
  BatchRect r{pixels[0].x, pixels[0].x, pixels[0].y, pixels[0].y};
  for (const PixelFragment& f : pixels) {
    r.x0 = std::min(r.x0, f.x);
    r.x1 = std::max(r.x1, f.x);
    r.y0 = std::min(r.y0, f.y);
    r.y1 = std::max(r.y1, f.y);
  }
  return r;
}

// Stably moves the pixels of from into to in order of key(pixel), whose values lie in
// lo .. hi, by counting them.
template <typename Key>
void pixels_count_sort(const std::vector<PixelFragment>& from, std::vector<PixelFragment>* to,
                       std::vector<int>* starts, int lo, int hi, Key key) {
  starts->assign(static_cast<size_t>(hi - lo) + 2, 0);
  for (const PixelFragment& f : from) ++(*starts)[key(f) - lo + 1];
  for (size_t r = 1; r < starts->size(); ++r) (*starts)[r] += (*starts)[r - 1];
  to->resize(from.size());
  for (const PixelFragment& f : from) (*to)[(*starts)[key(f) - lo]++] = f;
}

// Puts the pixels merged in rows up, each row's pixels left to right, in `sorted`: counted
// into columns, then stably into rows.
void pending_sort(Batch* batch) {
  std::vector<PixelFragment>& p = batch->pending;
  const BatchRect box = pixels_bounds(p);
  pixels_count_sort(p, &batch->sorted, &batch->counts, box.x0, box.x1,
                    [](const PixelFragment& f) { return f.x; });
  pixels_count_sort(batch->sorted, &p, &batch->counts, box.y0, box.y1,
                    [](const PixelFragment& f) { return f.y; });
  p.swap(batch->sorted);
}

// A pixel drawn twice in one opaque colour at one depth ends as if drawn once, and pixels
// each drawn once in one colour at one depth may go out in any order: the pixels merged are
// sent once each, rows up, as few rectangles as cover them. One primitive alone goes out as
// it was given.
void pending_send(Batch* batch) {
  if (++batch->group == 0) {
    std::fill(batch->marks.begin(), batch->marks.end(), 0);
    batch->group = 1;
  }
  if (batch->pending.empty()) return;
  if (batch->pending_parts == 1) {
    fragments_add(batch, batch->pending_draw, batch->pending, batch->pending_plane,
                  batch->pending_rgba);
    batch->pending.clear();
    return;
  }
  pending_sort(batch);
  batch->pending.clear();
  const std::vector<PixelFragment>& p = batch->sorted;
  batch->open.clear();
  for (size_t i = 0; i < p.size();) {
    size_t j = i + 1;
    while (j < p.size() && p[j].y == p[i].y) ++j;
    row_cover(batch, p[i].y, i, j);
    i = j;
  }
  row_cover(batch, 0, 0, 0);
}

// Whether a colour covers what lies under it: not blended, or blended over by its own alpha
// when that is whole (the destination then counts for exactly nothing).
bool colour_opaque(const BatchDraw& draw, const unsigned char rgba[4]) {
  const BackendState& st = draw.pixels;
  return !st.blend || (rgba[3] == ALPHA_WHOLE && st.blend_dst == GL_ONE_MINUS_SRC_ALPHA &&
                       (st.blend_src == GL_ONE || st.blend_src == GL_SRC_ALPHA));
}

// The one depth a primitive's pixels may be merged at, when there is one: its own when it is
// the same over the window, or DEPTH_UNUSED when no depth test is on and none of the
// primitive's rectangles reaches the near or far plane (which would cut it).
bool merge_depth(const BatchDraw& draw, const std::vector<PixelFragment>& fragments,
                 const DepthPlane& depth, float* at) {
  *at = depth.at;
  if (depth.dx == 0.0f && depth.dy == 0.0f) return true;
  if (draw.pixels.depth_test) return false;
  const BatchRect box = pixels_bounds(fragments);
  for (const float x : {static_cast<float>(box.x0), box.x1 + PIXEL_TRIANGLE_LEG})
    for (const float y : {static_cast<float>(box.y0), box.y1 + PIXEL_TRIANGLE_LEG}) {
      const float z = depth.at + depth.dx * x + depth.dy * y;
      if (!(z > DEPTH_MARGIN && z < 1.0f - DEPTH_MARGIN)) return false;
    }
  *at = DEPTH_UNUSED;
  return true;
}

// Whether any of the fragments within the window is merged already, when look_only; else
// marks them as merged, and says whether one was marked before (by these very fragments).
bool pixels_marked(Batch* batch, const std::vector<PixelFragment>& fragments, bool look_only) {
  const int w = batch->pending_draw.win_width, h = batch->pending_draw.win_height;
  if (batch->marks.size() < static_cast<size_t>(w) * h)
    batch->marks.resize(static_cast<size_t>(w) * h, 0);
  for (const PixelFragment& f : fragments) {
    if (f.x < 0 || f.y < 0 || f.x >= w || f.y >= h) continue;
    unsigned& mark = batch->marks[static_cast<size_t>(f.y) * w + f.x];
    if (mark == batch->group) return true;
    if (!look_only) mark = batch->group;
  }
  return false;
}

// Whether pixels drawn under draw in colour rgba at depth may join those merged.
bool pending_joins(const Batch* batch, const BatchDraw& draw, float depth,
                   const unsigned char rgba[4]) {
  const BatchDraw& last = batch->pending_draw;
  return !batch->pending.empty() && std::memcmp(rgba, batch->pending_rgba, 4) == 0 &&
         depth == batch->pending_depth && draw.win_width == last.win_width &&
         draw.win_height == last.win_height &&
         (draw.serial == last.serial || state_equal(draw.pixels, last.pixels));
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// A window drawn through WebGL goes back to its frame after a time it drew nothing that
// needed WebGL; its frame then knows nothing until a whole clear.
void batch_target(Batch* batch, Backend* backend, long webgl, int win_x, int win_y,
                  BatchFrame* frame) {
  pending_send(batch);
  if (batch->frame != nullptr && batch->frame->webgl && batch->drew && !batch->drew_webgl)
    batch->frame->webgl = false;
  batch->frame = frame;
  batch->frame_on = !batch->no_frame && frame != nullptr && !frame->webgl;
  batch->refused = batch->drew = batch->drew_webgl = false;
  if (frame != nullptr && !batch->frame_on) frame->colour_known = frame->depth_known = false;
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

void batch_untarget(Batch* batch) {
  batch->frame = nullptr;
  batch->frame_on = false;
}

bool batch_redo(Batch* batch) {
  const bool redo = batch->redo;
  batch->redo = false;
  return redo;
}

void batch_triangle(Batch* batch, const BatchDraw& draw, const GlVertex* const v[3],
                    const float (*window)[3]) {
  if (batch->frame_on) {
    if (!batch->refused) frame_refuse(batch);
    return;
  }
  batch->drew = batch->drew_webgl = true;
  pending_send(batch);
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

void batch_rect(Batch* batch, const BatchDraw& draw, int x0, int y0, int x1, int y1,
                const DepthPlane& depth, const unsigned char rgba[4]) {
  if (batch->frame_on) {
    frame_draw_rect(batch, draw, x0, y0, x1, y1, depth, rgba);
    return;
  }
  batch->drew = true;
  pending_send(batch);
  rect_add(batch, draw, x0, y0, x1, y1, depth, rgba);
}

void batch_fragments(Batch* batch, const BatchDraw& draw,
                     const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
                     const unsigned char rgba[4]) {
  if (fragments.empty()) return;
  if (batch->frame_on) {
    frame_draw_fragments(batch, draw, fragments, depth, rgba);
    return;
  }
  batch->drew = true;
  float at = 0.0f;
  if (batch->no_merge || !merge_depth(draw, fragments, depth, &at)) {
    pending_send(batch);
    fragments_add(batch, draw, fragments, depth, rgba);
    return;
  }
  // A blended pixel must be drawn as often as it is given: fragments that meet those merged
  // start afresh, and fragments that meet themselves go as they are.
  const bool opaque = colour_opaque(draw, rgba);
  if (!pending_joins(batch, draw, at, rgba) || (!opaque && pixels_marked(batch, fragments, true))) {
    pending_send(batch);
    batch->pending_draw = draw;
    std::memcpy(batch->pending_rgba, rgba, 4);
    batch->pending_depth = at;
    batch->pending_plane = depth;
    batch->pending_parts = 0;
  }
  if (!opaque && pixels_marked(batch, fragments, false)) {
    pending_send(batch);
    fragments_add(batch, draw, fragments, depth, rgba);
    return;
  }
  batch->pending.insert(batch->pending.end(), fragments.begin(), fragments.end());
  ++batch->pending_parts;
}

void batch_clear(Batch* batch, const BatchDraw& draw, bool colour, bool depth,
                 const float clear_colour[4], float clear_depth) {
  unsigned char rgba[4];
  for (int i = 0; i < 4; ++i) rgba[i] = static_cast<unsigned char>(colour_byte(clear_colour[i]));
  if (batch->frame_on) {
    frame_draw_clear(batch, draw, colour, depth, rgba, clear_depth);
    return;
  }
  batch->drew = true;
  pending_send(batch);
  BackendRun r{};
  r.kind = BACKEND_CLEAR;
  r.state = draw.pixels;
  r.first = static_cast<int>(batch->vertices.size());
  r.clear_colour = colour;
  r.clear_depth = depth;
  std::memcpy(r.clear_rgba, rgba, 4);
  r.clear_to_depth = clear_depth;
  batch->runs.push_back(r);
}

void batch_flush(Batch* batch, Backend* backend) {
  pending_send(batch);
  if (batch->frame_on) frame_send(batch, backend);
  if (batch->runs.empty()) return;
  int w = 0, h = 0;
  backend_use(backend, batch->webgl, &w, &h);
  backend_draw(backend, batch->vertices.data(), static_cast<int>(batch->vertices.size()),
               batch->runs.data(), static_cast<int>(batch->runs.size()));
  batch->vertices.clear();
  batch->runs.clear();
}
