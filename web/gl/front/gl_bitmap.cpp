// The raster position (glRasterPos, glWindowPos) and the bitmaps drawn at it (glBitmap and
// GLUT's glyphs through gl_web_bitmap), lit pixel by pixel where Mesa lights them.
#include "gl/gl_web.h"

#include "gl/front/gl_state.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

// Mesa nudges the raster position up by this much before flooring it to the bitmap's
// corner, so that positions computed a hair below a whole pixel land on it.
constexpr float BITMAP_EPSILON = 0.0001f;
constexpr int BITS_PER_BYTE = 8;
constexpr unsigned LEFTMOST_BIT = 0x80;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

void raster_set(float x, float y, float z, float w, bool valid) {
  GlCurrentAttribs& a = gl_state()->a.current;
  a.raster_pos[0] = x;
  a.raster_pos[1] = y;
  a.raster_pos[2] = z;
  a.raster_pos[3] = w;
  a.raster_valid = valid;
  std::memcpy(a.raster_colour, a.colour, sizeof a.raster_colour);
}

// The object point goes through the same transformation as a vertex; outside the view
// volume the raster position becomes invalid.
void raster_pos(float x, float y, float z) {
  float clip[4];
  gl_transform(x, y, z, 1.0f, clip);
  const float w = clip[3];
  const bool inside = w > 0.0f && clip[0] >= -w && clip[0] <= w && clip[1] >= -w && clip[1] <= w &&
                      clip[2] >= -w && clip[2] <= w;
  if (!inside) {
    raster_set(0.0f, 0.0f, 0.0f, 1.0f, false);
    return;
  }
  const GlWindowPoint p = assembly_clip_to_window(gl_draw_state(), clip);
  raster_set(p.x, p.y, p.z, w, true);
}

void window_pos(float x, float y, float z) {
  const float* range = gl_state()->a.viewport.depth_range;
  const float depth = range[0] + (range[1] - range[0]) * std::fmin(1.0f, std::fmax(0.0f, z));
  raster_set(x, y, depth, 1.0f, true);
}

// Draws a bitmap whose rows are row_bytes apart, then moves the raster position on.
void bitmap_draw(int width, int height, float xorig, float yorig, float xmove, float ymove,
                 const unsigned char* bits, int row_bytes) {
  GlCurrentAttribs& a = gl_state()->a.current;
  if (a.raster_valid && bits != nullptr) {
    const int x0 = static_cast<int>(std::floor(a.raster_pos[0] + BITMAP_EPSILON - xorig));
    const int y0 = static_cast<int>(std::floor(a.raster_pos[1] + BITMAP_EPSILON - yorig));
    GlLayer& layer = gl_layer();
    const BatchDraw& draw = gl_draw_state().batch;
    unsigned char rgba[4];
    batch_colour(draw, a.raster_colour, rgba);
    std::vector<PixelFragment>& glyph_pixels = layer.bitmap_pixels;
    glyph_pixels.clear();
    for (int j = 0; j < height; ++j) {
      const unsigned char* row = bits + static_cast<size_t>(j) * row_bytes;
      for (int i = 0; i < width; ++i)
        if (row[i / BITS_PER_BYTE] & (LEFTMOST_BIT >> (i % BITS_PER_BYTE)))
          glyph_pixels.push_back(PixelFragment{x0 + i, y0 + j, 0.0f});
    }
    batch_fragments(&layer.batch, draw, glyph_pixels, DepthPlane{a.raster_pos[2], 0.0f, 0.0f},
                    rgba);
  }
  a.raster_pos[0] += xmove;
  a.raster_pos[1] += ymove;
}

// A list keeps its own copy of the bits.
void bitmap_kept(int width, int height, float xorig, float yorig, float xmove, float ymove,
                 const std::shared_ptr<const std::vector<unsigned char>>& bits, int row_bytes) {
  bitmap_draw(width, height, xorig, yorig, xmove, ymove, bits->empty() ? nullptr : bits->data(),
              row_bytes);
}

// Bitmaps are the one call whose argument points into the caller's memory: while a list is
// being compiled, the bits are copied before gl_call records the call.
void bitmap_call(int width, int height, float xorig, float yorig, float xmove, float ymove,
                 const unsigned char* bits, int row_bytes) {
  if (gl_state()->compiling == 0) {
    bitmap_draw(width, height, xorig, yorig, xmove, ymove, bits, row_bytes);
    return;
  }
  const size_t size = bits != nullptr ? static_cast<size_t>(row_bytes) * height : 0;
  gl_call(bitmap_kept, width, height, xorig, yorig, xmove, ymove,
          std::make_shared<const std::vector<unsigned char>>(bits, bits + size), row_bytes);
}

}  // namespace

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

void glRasterPos2i(GLint x, GLint y) {
  gl_call(raster_pos, static_cast<float>(x), static_cast<float>(y), 0.0f);
}
void glRasterPos2f(GLfloat x, GLfloat y) {
  gl_call(raster_pos, x, y, 0.0f);
}
void glRasterPos2d(GLdouble x, GLdouble y) {
  gl_call(raster_pos, static_cast<float>(x), static_cast<float>(y), 0.0f);
}
void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
  gl_call(raster_pos, x, y, z);
}
void glRasterPos3d(GLdouble x, GLdouble y, GLdouble z) {
  gl_call(raster_pos, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
void glWindowPos2i(GLint x, GLint y) {
  gl_call(window_pos, static_cast<float>(x), static_cast<float>(y), 0.0f);
}
void glWindowPos2f(GLfloat x, GLfloat y) {
  gl_call(window_pos, x, y, 0.0f);
}
void glWindowPos3f(GLfloat x, GLfloat y, GLfloat z) {
  gl_call(window_pos, x, y, z);
}

// Rows are padded to the unpack alignment, as GL reads client memory.
void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
              GLfloat ymove, const GLubyte* bitmap) {
  const int align = gl_state()->unpack_alignment;
  const int bytes = (width + BITS_PER_BYTE - 1) / BITS_PER_BYTE;
  bitmap_call(width, height, xorig, yorig, xmove, ymove, bitmap,
              (bytes + align - 1) / align * align);
}

void gl_web_bitmap(int width, int height, float xorig, float yorig, float xmove, float ymove,
                   const unsigned char* bits) {
  bitmap_call(width, height, xorig, yorig, xmove, ymove, bits,
              (width + BITS_PER_BYTE - 1) / BITS_PER_BYTE);
}

// Only the row alignments change what the layer reads or writes; the rest are kept by GLUT
// at GL's defaults.
void glPixelStorei(GLenum pname, GLint param) {
  GlWebState* s = gl_state();
  const bool valid_alignment = param == 1 || param == 2 || param == 4 || param == 8;
  if ((pname == GL_UNPACK_ALIGNMENT || pname == GL_PACK_ALIGNMENT) && !valid_alignment) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  if (pname == GL_UNPACK_ALIGNMENT) s->unpack_alignment = param;
  if (pname == GL_PACK_ALIGNMENT) s->pack_alignment = param;
}

void glGetPixelStoreiv(GLenum pname, GLint* params) {
  const GlWebState* s = gl_state();
  if (pname == GL_UNPACK_ALIGNMENT)
    *params = s->unpack_alignment;
  else if (pname == GL_PACK_ALIGNMENT)
    *params = s->pack_alignment;
  else
    *params = 0;
}
