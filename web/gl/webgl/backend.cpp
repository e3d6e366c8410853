// WebGL side of the layer: one tiny shader program and vertex buffer per context, the state
// each draw asks for set only when it changes, and one drawArrays per run.
#include "gl/webgl/backend.h"

#include <emscripten/html5.h>
#include <webgl/webgl1.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr GLuint ATTRIB_POS = 0;
constexpr GLuint ATTRIB_COLOUR = 1;

// Positions arrive in clip space already.
const char* const VERTEX_SHADER =
    "attribute vec4 pos;\n"
    "attribute vec4 colour;\n"
    "varying vec4 v_colour;\n"
    "void main() {\n"
    "  gl_Position = pos;\n"
    "  v_colour = colour;\n"
    "}\n";
const char* const FRAGMENT_SHADER =
    "precision highp float;\n"
    "varying vec4 v_colour;\n"
    "void main() { gl_FragColor = v_colour; }\n";

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

GLuint shader_compile(GLenum kind, const char* source) {
  const GLuint shader = emscripten_glCreateShader(kind);
  emscripten_glShaderSource(shader, 1, &source, nullptr);
  emscripten_glCompileShader(shader);
  return shader;
}

void context_setup(BackendContext* c) {
  c->program = emscripten_glCreateProgram();
  emscripten_glAttachShader(c->program, shader_compile(GL_VERTEX_SHADER, VERTEX_SHADER));
  emscripten_glAttachShader(c->program, shader_compile(GL_FRAGMENT_SHADER, FRAGMENT_SHADER));
  emscripten_glBindAttribLocation(c->program, ATTRIB_POS, "pos");
  emscripten_glBindAttribLocation(c->program, ATTRIB_COLOUR, "colour");
  emscripten_glLinkProgram(c->program);
  emscripten_glUseProgram(c->program);
  emscripten_glGenBuffers(1, &c->buffer);
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, c->buffer);
  c->buffer_bytes = 0;
  emscripten_glEnableVertexAttribArray(ATTRIB_POS);
  emscripten_glEnableVertexAttribArray(ATTRIB_COLOUR);
  emscripten_glEnable(GL_SCISSOR_TEST);
  emscripten_glDisable(GL_DITHER);
  emscripten_glPixelStorei(GL_PACK_ALIGNMENT, 1);
  c->known = false;
  c->viewport_w = c->viewport_h = -1;
}

// WebGL takes an offset into the bound buffer as a pointer.
const void* buffer_offset(size_t offset) {
  return reinterpret_cast<const void*>(offset);  // NOLINT(performance-no-int-to-ptr)
}

void switch_set(GLenum cap, bool on) {
  if (on)
    emscripten_glEnable(cap);
  else
    emscripten_glDisable(cap);
}

// Sends the parts of s that differ from what the context holds.
void state_apply(BackendContext* current, const BackendState& s) {
  BackendState& o = current->state;
  const bool all = !current->known;
  if (all || s.blend != o.blend) switch_set(GL_BLEND, s.blend);
  if (all || s.blend_src != o.blend_src || s.blend_dst != o.blend_dst)
    emscripten_glBlendFunc(s.blend_src, s.blend_dst);
  if (all || s.depth_test != o.depth_test) switch_set(GL_DEPTH_TEST, s.depth_test);
  if (all || s.depth_func != o.depth_func) emscripten_glDepthFunc(s.depth_func);
  if (all || s.depth_mask != o.depth_mask) emscripten_glDepthMask(s.depth_mask);
  if (all || s.cull != o.cull) switch_set(GL_CULL_FACE, s.cull);
  if (all || s.cull_mode != o.cull_mode) emscripten_glCullFace(s.cull_mode);
  if (all || s.front_face != o.front_face) emscripten_glFrontFace(s.front_face);
  if (all || std::memcmp(s.colour_mask, o.colour_mask, sizeof s.colour_mask) != 0)
    emscripten_glColorMask(s.colour_mask[0], s.colour_mask[1], s.colour_mask[2], s.colour_mask[3]);
  if (all || std::memcmp(s.scissor, o.scissor, sizeof s.scissor) != 0)
    emscripten_glScissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
  o = s;
  current->known = true;
}

void run_clear(BackendContext* current, const BackendRun& r) {
  BackendState s = r.state;
  s.depth_mask = r.clear_depth;
  state_apply(current, s);
  GLbitfield mask = 0;
  if (r.clear_colour) {
    emscripten_glClearColor(r.clear_rgba[0] / 255.0f, r.clear_rgba[1] / 255.0f,
                            r.clear_rgba[2] / 255.0f, r.clear_rgba[3] / 255.0f);
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (r.clear_depth) {
    emscripten_glClearDepthf(r.clear_to_depth);
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (mask != 0) emscripten_glClear(mask);
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

void backend_use(Backend* backend, long webgl, int* canvas_width, int* canvas_height) {
  BackendContext*& current = backend->current;
  if (webgl == 0) {  // a window that has no context yet: nothing is drawn or read
    current = nullptr;
    *canvas_width = *canvas_height = 0;
    return;
  }
  if (current == nullptr || current->webgl != webgl) {
    emscripten_webgl_make_context_current(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(webgl));
    current = nullptr;
    for (BackendContext& c : backend->contexts)
      if (c.webgl == webgl) current = &c;
    if (current == nullptr) {
      backend->contexts.reserve(backend->contexts.size() + 1);
      backend->contexts.push_back(BackendContext{});
      current = &backend->contexts.back();
      current->webgl = webgl;
      context_setup(current);
    }
  }
  int w = 0, h = 0;
  emscripten_webgl_get_drawing_buffer_size(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(webgl), &w,
                                           &h);
  if (w != current->viewport_w || h != current->viewport_h) {
    emscripten_glViewport(0, 0, w, h);
    current->viewport_w = w;
    current->viewport_h = h;
  }
  *canvas_width = w;
  *canvas_height = h;
}

// Each run is one drawArrays (or one clear) over the vertices uploaded once.
void backend_draw(Backend* backend, const BackendVertex* vertices, int vertex_count,
                  const BackendRun* runs, int run_count) {
  BackendContext* current = backend->current;
  if (current == nullptr) return;
  if (vertex_count > 0) {
    const size_t bytes = sizeof(BackendVertex) * static_cast<size_t>(vertex_count);
    if (bytes > current->buffer_bytes) {
      emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes * 2), nullptr,
                              GL_STREAM_DRAW);
      current->buffer_bytes = bytes * 2;
    }
    emscripten_glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), vertices);
    emscripten_glVertexAttribPointer(ATTRIB_POS, 4, GL_FLOAT, GL_FALSE, sizeof(BackendVertex),
                                     buffer_offset(offsetof(BackendVertex, pos)));
    emscripten_glVertexAttribPointer(ATTRIB_COLOUR, 4, GL_UNSIGNED_BYTE, GL_TRUE,
                                     sizeof(BackendVertex),
                                     buffer_offset(offsetof(BackendVertex, rgba)));
  }
  for (int i = 0; i < run_count; ++i) {
    const BackendRun& r = runs[i];
    if (r.kind == BACKEND_CLEAR) {
      run_clear(current, r);
      continue;
    }
    state_apply(current, r.state);
    emscripten_glDrawArrays(GL_TRIANGLES, r.first, r.count);
  }
}

void backend_read(Backend* backend, int x, int y, int width, int height, unsigned char* rgba) {
  if (backend->current == nullptr) return;
  emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}
