// The per-window GL states and which one is current; glClear, glReadPixels, errors and
// strings, which act on the current window as a whole.
#include "gl/gl_web.h"

#include "gl/front/gl_state.h"

#include <cstring>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int RGBA_BYTES = 4;
constexpr int RGB_BYTES = 3;

const char* const VENDOR = "Ternival";
const char* const RENDERER = "Ternival GL 1.x on WebGL";
const char* const VERSION = "1.4";
const char* const EXTENSIONS = "";

void window_clear(GLbitfield mask) {
  GlLayer& layer = gl_layer();
  if (layer.current == nullptr) return;
  const GlAttribs& a = layer.current->a;
  batch_clear(&layer.batch, gl_draw_state().batch, (mask & GL_COLOR_BUFFER_BIT) != 0,
              (mask & GL_DEPTH_BUFFER_BIT) != 0 && a.depth.mask, a.colour_buffer.clear_colour,
              static_cast<float>(a.depth.clear));
}

}  // namespace

//------------------------------------------------------------------------------
// Window states
//------------------------------------------------------------------------------

GlWebState* gl_web_state_new(long webgl) {
  GlWebState* s = new GlWebState;
  gl_state_init(s, webgl);
  return s;
}

void gl_web_state_target(GlWebState* state, long webgl) {
  state->webgl = webgl;
}

void gl_web_merge(int on) {
  GlLayer& layer = gl_layer();
  batch_flush(&layer.batch, &layer.backend);
  layer.batch.no_merge = on == 0;
}

// Taken up by each window the next time it is made current.
void gl_web_frame(int on) {
  GlLayer& layer = gl_layer();
  batch_flush(&layer.batch, &layer.backend);
  layer.batch.no_frame = on == 0;
}

int gl_web_redo(void) {
  return batch_redo(&gl_layer().batch) ? 1 : 0;
}

void gl_web_state_free(GlWebState* state) {
  if (state == nullptr) return;
  GlLayer& layer = gl_layer();
  if (state == layer.current) {
    batch_flush(&layer.batch, &layer.backend);
    batch_untarget(&layer.batch);
    layer.current = nullptr;
  }
  delete state;
}

// The viewport and scissor box start as the whole window the first time it is current,
// as a desktop context's do.
void gl_web_make_current(GlWebState* state, int x, int y, int width, int height) {
  GlLayer& layer = gl_layer();
  batch_flush(&layer.batch, &layer.backend);
  layer.current = state;
  if (state == nullptr) {
    batch_untarget(&layer.batch);
    return;
  }
  state->win_x = x;
  state->win_y = y;
  state->win_width = width;
  state->win_height = height;
  state->draw_stale = true;
  GlAttribs& a = state->a;
  if (a.viewport.box[2] < 0) {
    const int box[4] = {0, 0, width, height};
    std::memcpy(a.viewport.box, box, sizeof box);
    std::memcpy(a.scissor.box, box, sizeof box);
  }
  batch_target(&layer.batch, &layer.backend, state->webgl, x, y, &state->frame);
}

void gl_web_flush(void) {
  GlLayer& layer = gl_layer();
  batch_flush(&layer.batch, &layer.backend);
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
  gl_call(window_clear, mask);
}

// Only what Ternival's tests read: bytes, RGBA or RGB, rows padded to the pack alignment.
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels) {
  GlLayer& layer = gl_layer();
  const GlWebState* current = layer.current;
  if (current == nullptr || width <= 0 || height <= 0) return;
  if (type != GL_UNSIGNED_BYTE || (format != GL_RGBA && format != GL_RGB)) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  batch_flush(&layer.batch, &layer.backend);
  // Another window's context may be the one WebGL has current.
  int canvas_width = 0, canvas_height = 0;
  backend_use(&layer.backend, current->webgl, &canvas_width, &canvas_height);
  std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * RGBA_BYTES);
  backend_read(&layer.backend, current->win_x + x, current->win_y + y, width, height, rgba.data());
  const int bytes = format == GL_RGBA ? RGBA_BYTES : RGB_BYTES;
  const int align = current->pack_alignment;
  const int row = (width * bytes + align - 1) / align * align;
  unsigned char* out = static_cast<unsigned char*>(pixels);
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i)
      std::memcpy(out + j * row + i * bytes, &rgba[(static_cast<size_t>(j) * width + i) * 4],
                  bytes);
}
