// The per-window GL states and which one is current; glClear, glReadPixels, errors and
// strings, which act on the current window as a whole.
#include "gl_web.h"

#include "gl_backend.h"
#include "gl_batch.h"
#include "gl_state.h"

#include <cstring>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr GLushort STIPPLE_SOLID = 0xFFFF;
constexpr int DEFAULT_ALIGNMENT = 4;  // GL's pack and unpack row alignment
constexpr int RGBA_BYTES = 4;
constexpr int RGB_BYTES = 3;

const char* const VENDOR = "Ternival";
const char* const RENDERER = "Ternival GL 1.x on WebGL";
const char* const VERSION = "1.4";
const char* const EXTENSIONS = "";

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

GlWebState* current = nullptr;
GlWebState* fallback = nullptr;  // acts before any window is current

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

void identity(GlMatrix* m) {
  for (int i = 0; i < 16; ++i) m->m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

// GL's initial state, as a desktop context starts.
void state_init(GlWebState* s, long webgl) {
  s->webgl = webgl;
  s->win_x = s->win_y = 0;
  s->win_width = s->win_height = 0;
  GlAttribs& a = s->a;
  std::memset(&a, 0, sizeof a);
  for (int i = 0; i < 4; ++i) {
    a.colour[i] = 1.0f;
    a.raster_colour[i] = 1.0f;
    a.colour_mask[i] = true;
  }
  gl_caps_init(a.caps);
  a.raster_pos[3] = 1.0f;
  a.raster_valid = true;
  a.blend_src = GL_ONE;
  a.blend_dst = GL_ZERO;
  a.depth_func = GL_LESS;
  a.depth_mask = true;
  a.clear_depth = 1.0;
  a.cull_mode = GL_BACK;
  a.front_face = GL_CCW;
  a.polygon_mode[0] = a.polygon_mode[1] = GL_FILL;
  a.line_width = 1.0f;
  a.stipple_factor = 1;
  a.stipple_pattern = STIPPLE_SOLID;
  a.point_size = 1.0f;
  a.viewport[2] = a.viewport[3] = -1;  // set to the window's size when first made current
  a.depth_range[1] = 1.0f;
  a.matrix_mode = GL_MODELVIEW;
  a.shade_model = GL_SMOOTH;
  identity(&s->modelview[0]);
  identity(&s->projection[0]);
  s->modelview_top = s->projection_top = 0;
  s->mvp_stale = true;
  s->in_begin = false;
  s->begin_mode = GL_POINTS;
  s->stipple = PixelStipple{1, STIPPLE_SOLID, 0.0f};
  s->lists.assign(1, GlList{});
  s->compiling = 0;
  s->unpack_alignment = s->pack_alignment = DEFAULT_ALIGNMENT;
  s->error = GL_NO_ERROR;
}

}  // namespace

//------------------------------------------------------------------------------
// Window states
//------------------------------------------------------------------------------

GlWebState* gl_web_state_new(long webgl) {
  GlWebState* s = new GlWebState;
  state_init(s, webgl);
  return s;
}

void gl_web_state_free(GlWebState* state) {
  if (state == nullptr) return;
  if (state == current) {
    batch_flush();
    current = nullptr;
  }
  delete state;
}

// The viewport and scissor box start as the whole window the first time it is current,
// as a desktop context's do.
void gl_web_make_current(GlWebState* state, int x, int y, int width, int height) {
  batch_flush();
  current = state;
  if (state == nullptr) return;
  state->win_x = x;
  state->win_y = y;
  state->win_width = width;
  state->win_height = height;
  if (state->a.viewport[2] < 0) {
    const int box[4] = {0, 0, width, height};
    std::memcpy(state->a.viewport, box, sizeof box);
    std::memcpy(state->a.scissor, box, sizeof box);
  }
  batch_target(state->webgl, x, y);
}

void gl_web_flush(void) {
  batch_flush();
}

GlWebState* gl_state() {
  if (current != nullptr) return current;
  if (fallback == nullptr) {
    fallback = new GlWebState;
    state_init(fallback, 0);
  }
  return fallback;
}

void gl_error(GLenum error) {
  GlWebState* s = gl_state();
  if (s->error == GL_NO_ERROR) s->error = error;
}

//------------------------------------------------------------------------------
// Whole-window entry points
//------------------------------------------------------------------------------

GLenum glGetError(void) {
  GlWebState* s = gl_state();
  const GLenum e = s->error;
  s->error = GL_NO_ERROR;
  return e;
}

const GLubyte* glGetString(GLenum name) {
  const char* text = nullptr;
  switch (name) {
    case GL_VENDOR: text = VENDOR; break;
    case GL_RENDERER: text = RENDERER; break;
    case GL_VERSION: text = VERSION; break;
    case GL_EXTENSIONS: text = EXTENSIONS; break;
    default: gl_error(GL_INVALID_ENUM); return nullptr;
  }
  return reinterpret_cast<const GLubyte*>(text);
}

void glFlush(void) {}
void glFinish(void) {}

void glClear(GLbitfield mask) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glClear(mask); });
    return;
  }
  if (current == nullptr) return;
  batch_clear(mask);
}

// Only what Ternival's tests read: bytes, RGBA or RGB, rows padded to the pack alignment.
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels) {
  if (current == nullptr || width <= 0 || height <= 0) return;
  if (type != GL_UNSIGNED_BYTE || (format != GL_RGBA && format != GL_RGB)) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  batch_flush();
  // Another window's context may be the one WebGL has current.
  int canvas_width = 0, canvas_height = 0;
  backend_use(current->webgl, &canvas_width, &canvas_height);
  std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * RGBA_BYTES);
  int ox = 0, oy = 0;
  batch_window_origin(&ox, &oy);
  backend_read(ox + x, oy + y, width, height, rgba.data());
  const int bytes = format == GL_RGBA ? RGBA_BYTES : RGB_BYTES;
  const int align = current->pack_alignment;
  const int row = (width * bytes + align - 1) / align * align;
  unsigned char* out = static_cast<unsigned char*>(pixels);
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i)
      std::memcpy(out + j * row + i * bytes, &rgba[(static_cast<size_t>(j) * width + i) * 4],
                  bytes);
}
