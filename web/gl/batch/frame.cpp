// Pixels of the frame path: the depth test, blending and colour mask worked out per pixel in
// the integers WebGL's bytes come to, so that the image sent is what WebGL would have drawn.
#include "gl/batch/frame.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int BYTE_WHOLE = 255;
constexpr int BYTE_HALF = 127;  // added before dividing by 255: a byte product rounded
constexpr float PIXEL_CENTRE = 0.5f;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

bool factor_known(unsigned f) {
  switch (f) {
    case GL_ZERO:
    case GL_ONE:
    case GL_SRC_COLOR:
    case GL_ONE_MINUS_SRC_COLOR:
    case GL_SRC_ALPHA:
    case GL_ONE_MINUS_SRC_ALPHA:
    case GL_DST_COLOR:
    case GL_ONE_MINUS_DST_COLOR:
    case GL_DST_ALPHA:
    case GL_ONE_MINUS_DST_ALPHA: return true;
    default: return false;
  }
}

// A blend factor of channel i as a byte, 255 standing for 1.
int factor_byte(unsigned f, const unsigned char* src, const unsigned char* dst, int i) {
  switch (f) {
    case GL_ONE: return BYTE_WHOLE;
    case GL_SRC_COLOR: return src[i];
    case GL_ONE_MINUS_SRC_COLOR: return BYTE_WHOLE - src[i];
    case GL_SRC_ALPHA: return src[3];
    case GL_ONE_MINUS_SRC_ALPHA: return BYTE_WHOLE - src[3];
    case GL_DST_COLOR: return dst[i];
    case GL_ONE_MINUS_DST_COLOR: return BYTE_WHOLE - dst[i];
    case GL_DST_ALPHA: return dst[3];
    case GL_ONE_MINUS_DST_ALPHA: return BYTE_WHOLE - dst[3];
    default: return 0;
  }
}

bool depth_passes(unsigned func, float z, float stored) {
  switch (func) {
    case GL_NEVER: return false;
    case GL_LESS: return z < stored;
    case GL_EQUAL: return z == stored;
    case GL_LEQUAL: return z <= stored;
    case GL_GREATER: return z > stored;
    case GL_NOTEQUAL: return z != stored;
    case GL_GEQUAL: return z >= stored;
    default: return true;
  }
}

// One pixel: kept to the near and far planes as WebGL clips the rectangle, then the depth
// test, then the colour blended (WebGL's float blend of bytes rounds to nearest, which for a
// sum of byte products over 255 is never a tie) and masked.
void pixel_put(BatchFrame* f, const BackendState& st, int x, int y, float z,
               const unsigned char rgba[4]) {
  if (!(z >= 0.0f && z <= 1.0f)) return;
  const size_t at = static_cast<size_t>(y) * f->width + x;
  if (st.depth_test) {
    float& stored = f->depth[at];
    if (!depth_passes(st.depth_func, z, stored)) return;
    if (st.depth_mask) stored = z;
  }
  unsigned char* dst = &f->rgba[at * 4];
  unsigned char out[4];
  for (int i = 0; i < 4; ++i) {
    if (!st.blend) {
      out[i] = rgba[i];
      continue;
    }
    const int sum = rgba[i] * factor_byte(st.blend_src, rgba, dst, i) +
                    dst[i] * factor_byte(st.blend_dst, rgba, dst, i);
    out[i] = static_cast<unsigned char>(std::min(BYTE_WHOLE, (sum + BYTE_HALF) / BYTE_WHOLE));
  }
  for (int i = 0; i < 4; ++i)
    if (st.colour_mask[i]) dst[i] = out[i];
}

// Marks the tiles of columns x0 .. x1 and rows y0 .. y1 (within the frame) to be sent.
void tiles_mark(BatchFrame* f, int x0, int y0, int x1, int y1) {
  f->drawn = true;
  for (int ty = y0 / FRAME_TILE; ty <= y1 / FRAME_TILE; ++ty)
    std::fill_n(&f->tiles[static_cast<size_t>(ty) * f->tiles_x + x0 / FRAME_TILE],
                x1 / FRAME_TILE - x0 / FRAME_TILE + 1, 1);
}

// Repeats the first `unit` bytes at p until count units are filled, copying what is filled
// already, so that a row costs a few block copies.
void units_repeat(unsigned char* p, size_t unit, size_t count) {
  for (size_t done = 1; done < count;) {
    const size_t more = std::min(done, count - done);
    std::memcpy(p + done * unit, p, more * unit);
    done += more;
  }
}

// Depth of the plane at the centre of pixel (x, y).
float depth_at(const DepthPlane& depth, int x, int y) {
  return depth.at + depth.dx * (x + PIXEL_CENTRE) + depth.dy * (y + PIXEL_CENTRE);
}

// Whether a scissor box (window pixels, inclusive) holds the whole frame.
bool box_whole(const BatchFrame& frame, const int box[4]) {
  return box[0] <= 0 && box[1] <= 0 && box[2] >= frame.width - 1 && box[3] >= frame.height - 1;
}

bool all_colours(const BackendState& st) {
  return st.colour_mask[0] && st.colour_mask[1] && st.colour_mask[2] && st.colour_mask[3];
}

// Whether the frame can take pixels drawn under this state: its blend factors are among those
// it knows, and it holds the window's colour (and depth, with the depth test on) already.
bool frame_accepts(const BatchFrame& frame, const BackendState& st) {
  if (!frame.colour_known || (st.depth_test && !frame.depth_known)) return false;
  return !st.blend || (factor_known(st.blend_src) && factor_known(st.blend_dst));
}

// Sizes the frame to the window; a new size forgets what it held.
void frame_fit(BatchFrame* frame, int width, int height) {
  if (frame->width == width && frame->height == height) return;
  frame->width = width;
  frame->height = height;
  const size_t pixels = static_cast<size_t>(width) * height;
  frame->rgba.assign(pixels * 4, 0);
  frame->depth.assign(pixels, 1.0f);
  frame->colour_known = frame->depth_known = false;
  frame->tiles_x = (width + FRAME_TILE - 1) / FRAME_TILE;
  frame->tiles_y = (height + FRAME_TILE - 1) / FRAME_TILE;
  frame->tiles.assign(static_cast<size_t>(frame->tiles_x) * frame->tiles_y, 0);
  frame->cleared = false;
}

// Columns x0 .. x1 and rows y0 .. y1 (window pixels, inclusive) in one colour, the depth of
// each pixel that of the plane at its centre; scissor is the state's box in window pixels.
void frame_rect(BatchFrame* frame, const BackendState& st, const int scissor[4], int x0, int y0,
                int x1, int y1, const DepthPlane& depth, const unsigned char rgba[4]) {
  x0 = std::max(x0, scissor[0]);
  y0 = std::max(y0, scissor[1]);
  x1 = std::min(x1, scissor[2]);
  y1 = std::min(y1, scissor[3]);
  if (x0 > x1 || y0 > y1) return;
  tiles_mark(frame, x0, y0, x1, y1);
  const bool flat = depth.dx == 0.0f && depth.dy == 0.0f;
  if (flat && !st.depth_test && !st.blend && all_colours(st) && depth.at >= 0.0f &&
      depth.at <= 1.0f) {
    for (int y = y0; y <= y1; ++y) {
      unsigned char* row = &frame->rgba[(static_cast<size_t>(y) * frame->width + x0) * 4];
      std::memcpy(row, rgba, 4);
      units_repeat(row, 4, static_cast<size_t>(x1) - x0 + 1);
    }
    return;
  }
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) pixel_put(frame, st, x, y, depth_at(depth, x, y), rgba);
}

// Each fragment, in order, as a pixel of frame_rect.
void frame_fragments(BatchFrame* frame, const BackendState& st, const int scissor[4],
                     const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
                     const unsigned char rgba[4]) {
  const bool plain = !st.depth_test && !st.blend && all_colours(st);
  for (const PixelFragment& f : fragments) {
    if (f.x < scissor[0] || f.x > scissor[2] || f.y < scissor[1] || f.y > scissor[3]) continue;
    frame->drawn = true;
    frame->tiles[static_cast<size_t>(f.y / FRAME_TILE) * frame->tiles_x + f.x / FRAME_TILE] = 1;
    const float z = depth_at(depth, f.x, f.y);
    if (!plain) {
      pixel_put(frame, st, f.x, f.y, z, rgba);
    } else if (z >= 0.0f && z <= 1.0f) {
      std::memcpy(&frame->rgba[(static_cast<size_t>(f.y) * frame->width + f.x) * 4], rgba, 4);
    }
  }
}

// glClear within the scissor box; a clear of the whole window makes the frame hold its colour
// or depth from then on, and a whole colour clear is sent as a clear.
void frame_clear(BatchFrame* frame, const BackendState& st, const int scissor[4], bool colour,
                 bool depth, const unsigned char rgba[4], float clear_depth) {
  const int x0 = std::max(0, scissor[0]), y0 = std::max(0, scissor[1]);
  const int x1 = std::min(frame->width - 1, scissor[2]),
            y1 = std::min(frame->height - 1, scissor[3]);
  if (x0 > x1 || y0 > y1) return;
  const bool whole = box_whole(*frame, scissor);
  if (depth && whole) frame->depth_known = true;
  if (colour && whole && all_colours(st)) {
    frame->colour_known = frame->cleared = frame->drawn = true;
    std::memcpy(frame->clear_rgba, rgba, 4);
    std::fill(frame->tiles.begin(), frame->tiles.end(), 0);
  } else if (colour) {
    tiles_mark(frame, x0, y0, x1, y1);
  }
  const float z = std::min(1.0f, std::max(0.0f, clear_depth));
  const size_t n = static_cast<size_t>(x1) - x0 + 1;
  for (int y = y0; y <= y1; ++y) {
    const size_t at = static_cast<size_t>(y) * frame->width + x0;
    if (depth) {
      frame->depth[at] = z;
      units_repeat(reinterpret_cast<unsigned char*>(&frame->depth[at]), sizeof(float), n);
    }
    if (!colour) continue;
    unsigned char* p = &frame->rgba[at * 4];
    if (all_colours(st)) {
      std::memcpy(p, rgba, 4);
      units_repeat(p, 4, n);
      continue;
    }
    for (size_t k = 0; k < n; ++k, p += 4)
      for (int i = 0; i < 4; ++i)
        if (st.colour_mask[i]) p[i] = rgba[i];
  }
}

// What changed since the frame was last sent: whether it was cleared whole first, then the
// parts to send (x, y, width, height each: each row of tiles its runs of marked tiles) and the
// rows they take (row1 excluded). Afterwards the frame has nothing to send.
bool frame_changes(BatchFrame* frame, std::vector<int>* parts, int* row0, int* row1) {
  parts->clear();
  *row0 = frame->height;
  *row1 = 0;
  for (int ty = 0; ty < frame->tiles_y; ++ty) {
    const unsigned char* row = &frame->tiles[static_cast<size_t>(ty) * frame->tiles_x];
    for (int tx = 0; tx < frame->tiles_x;) {
      if (row[tx] == 0) {
        ++tx;
        continue;
      }
      const int first = tx;
      while (tx < frame->tiles_x && row[tx] != 0) ++tx;
      const int x = first * FRAME_TILE, y = ty * FRAME_TILE;
      const int w = std::min(frame->width, tx * FRAME_TILE) - x;
      const int h = std::min(frame->height, y + FRAME_TILE) - y;
      parts->insert(parts->end(), {x, y, w, h});
      *row0 = std::min(*row0, y);
      *row1 = std::max(*row1, y + h);
    }
  }
  const bool cleared = frame->cleared;
  std::fill(frame->tiles.begin(), frame->tiles.end(), 0);
  frame->cleared = frame->drawn = false;
  return cleared;
}

// The state's scissor box in the current window's pixels: first and last column and row.
void frame_scissor(const Batch* batch, const BackendState& st, int box[4]) {
  box[0] = st.scissor[0] - batch->target_x;
  box[1] = st.scissor[1] - batch->target_y;
  box[2] = box[0] + st.scissor[2] - 1;
  box[3] = box[1] + st.scissor[3] - 1;
}

// Whether the frame draws pixels under this state now; when it cannot, it refuses them.
bool frame_ready(Batch* batch, const BatchDraw& draw) {
  if (batch->refused) return false;
  frame_fit(batch->frame, draw.win_width, draw.win_height);
  if (frame_accepts(*batch->frame, draw.pixels)) return true;
  frame_refuse(batch);
  return false;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

void frame_refuse(Batch* batch) {
  BatchFrame* f = batch->frame;
  batch->refused = batch->redo = true;
  f->webgl = true;
  f->colour_known = f->depth_known = f->drawn = false;
}

void frame_draw_rect(Batch* batch, const BatchDraw& draw, int x0, int y0, int x1, int y1,
                     const DepthPlane& depth, const unsigned char rgba[4]) {
  int box[4];
  frame_scissor(batch, draw.pixels, box);
  if (frame_ready(batch, draw))
    frame_rect(batch->frame, draw.pixels, box, x0, y0, x1, y1, depth, rgba);
}

void frame_draw_fragments(Batch* batch, const BatchDraw& draw,
                          const std::vector<PixelFragment>& fragments, const DepthPlane& depth,
                          const unsigned char rgba[4]) {
  int box[4];
  frame_scissor(batch, draw.pixels, box);
  if (frame_ready(batch, draw))
    frame_fragments(batch->frame, draw.pixels, box, fragments, depth, rgba);
}

// A clear of part of the window needs the frame to know the rest already.
void frame_draw_clear(Batch* batch, const BatchDraw& draw, bool colour, bool depth,
                      const unsigned char rgba[4], float clear_depth) {
  if (batch->refused) return;
  BatchFrame* f = batch->frame;
  frame_fit(f, draw.win_width, draw.win_height);
  int box[4];
  frame_scissor(batch, draw.pixels, box);
  const bool whole = box_whole(*f, box);
  if ((colour && !f->colour_known && !whole) || (depth && !f->depth_known && !whole))
    frame_refuse(batch);
  else
    frame_clear(f, draw.pixels, box, colour, depth, rgba, clear_depth);
}

void frame_send(Batch* batch, Backend* backend) {
  BatchFrame* f = batch->frame;
  if (batch->refused || !f->drawn) return;
  if (!f->colour_known) {
    frame_refuse(batch);
    return;
  }
  int w = 0, h = 0;
  backend_use(backend, batch->webgl, &w, &h);
  BackendImage image{batch->target_x, batch->target_y, f->width, f->height, f->rgba.data(),
                     false,           {0, 0, 0, 0},    0,        0,         &batch->parts};
  image.clear = frame_changes(f, &batch->parts, &image.row0, &image.row1);
  std::memcpy(image.clear_rgba, f->clear_rgba, 4);
  backend_image(backend, image);
}
