// WebGL side of the layer: one tiny shader program and vertex buffer per context for runs, and
// one with a texture for images, the state each draw asks for set only when it changes, and one
// drawArrays per run or image.
#include "gl/webgl/backend.h"

#include <emscripten/html5.h>
#include <webgl/webgl1.h>

#include <algorithm>
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

// Images: a quad in clip space, each pixel sampled at its own texel.
const char* const IMAGE_VERTEX_SHADER =
    "attribute vec4 pos;\n"
    "varying vec2 v_texel;\n"
    "void main() {\n"
    "  gl_Position = vec4(pos.xy, 0.0, 1.0);\n"
    "  v_texel = pos.zw;\n"
    "}\n";
const char* const IMAGE_FRAGMENT_SHADER =
    "precision highp float;\n"
    "uniform sampler2D image;\n"
    "varying vec2 v_texel;\n"
    "void main() { gl_FragColor = texture2D(image, v_texel); }\n";

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

GLuint shader_compile(GLenum kind, const char* source) {
  const GLuint shader = emscripten_glCreateShader(kind);
  emscripten_glShaderSource(shader, 1, &source, nullptr);
  emscripten_glCompileShader(shader);
  return shader;
}

GLuint program_link(const char* vertex, const char* fragment) {
  const GLuint program = emscripten_glCreateProgram();
  emscripten_glAttachShader(program, shader_compile(GL_VERTEX_SHADER, vertex));
  emscripten_glAttachShader(program, shader_compile(GL_FRAGMENT_SHADER, fragment));
  emscripten_glBindAttribLocation(program, ATTRIB_POS, "pos");
  emscripten_glBindAttribLocation(program, ATTRIB_COLOUR, "colour");
  emscripten_glLinkProgram(program);
  return program;
}

void context_setup(BackendContext* c) {
  c->program = program_link(VERTEX_SHADER, FRAGMENT_SHADER);
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
  c->image_program = 0;
  c->image_bound = false;
}

// The image program, its quad buffer and texture, made the first time and bound.
void image_bind(BackendContext* c) {
  if (c->image_program == 0) {
    c->image_program = program_link(IMAGE_VERTEX_SHADER, IMAGE_FRAGMENT_SHADER);
    emscripten_glGenBuffers(1, &c->image_buffer);
    emscripten_glGenTextures(1, &c->texture);
    emscripten_glBindTexture(GL_TEXTURE_2D, c->texture);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    c->texture_w = c->texture_h = 0;
  }
  if (c->image_bound) return;
  emscripten_glUseProgram(c->image_program);
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, c->image_buffer);
  emscripten_glVertexAttribPointer(ATTRIB_POS, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
  emscripten_glDisableVertexAttribArray(ATTRIB_COLOUR);
  c->image_bound = true;
}

// Back to the program and buffer of runs after an image.
void runs_bind(BackendContext* c) {
  if (!c->image_bound) return;
  emscripten_glUseProgram(c->program);
  emscripten_glBindBuffer(GL_ARRAY_BUFFER, c->buffer);
  emscripten_glEnableVertexAttribArray(ATTRIB_COLOUR);
  c->image_bound = false;
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
  runs_bind(current);
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

// The texture grows to hold the image; each part is a rectangle of two triangles, each texel
// sampled at its centre, with nothing blended, tested or masked.
void backend_image(Backend* backend, const BackendImage& image) {
  BackendContext* c = backend->current;
  if (c == nullptr || image.width <= 0 || image.height <= 0) return;
  BackendState st{};
  st.colour_mask[0] = st.colour_mask[1] = st.colour_mask[2] = st.colour_mask[3] = true;
  st.blend_src = GL_ONE;
  st.blend_dst = GL_ZERO;
  st.depth_func = GL_LESS;
  st.cull_mode = GL_BACK;
  st.front_face = GL_CCW;
  st.scissor[0] = image.x;
  st.scissor[1] = image.y;
  st.scissor[2] = image.width;
  st.scissor[3] = image.height;
  state_apply(c, st);
  if (image.clear) {
    const unsigned char* b = image.clear_rgba;
    emscripten_glClearColor(b[0] / 255.0f, b[1] / 255.0f, b[2] / 255.0f, b[3] / 255.0f);
    emscripten_glClear(GL_COLOR_BUFFER_BIT);
  }
  if (image.parts->empty()) return;
  image_bind(c);
  if (image.width > c->texture_w || image.height > c->texture_h) {
    c->texture_w = std::max(image.width, c->texture_w);
    c->texture_h = std::max(image.height, c->texture_h);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, c->texture_w, c->texture_h, 0, GL_RGBA,
                            GL_UNSIGNED_BYTE, nullptr);
  }
  const size_t row_bytes = static_cast<size_t>(image.width) * 4;
  emscripten_glTexSubImage2D(GL_TEXTURE_2D, 0, 0, image.row0, image.width, image.row1 - image.row0,
                             GL_RGBA, GL_UNSIGNED_BYTE, image.rgba + row_bytes * image.row0);
  std::vector<float>& q = c->quads;
  q.clear();
  const std::vector<int>& parts = *image.parts;
  for (size_t p = 0; p + 3 < parts.size(); p += 4) {
    const int px[2] = {parts[p], parts[p] + parts[p + 2]};
    const int py[2] = {parts[p + 1], parts[p + 1] + parts[p + 3]};
    for (const int k : {0, 1, 3, 0, 3, 2}) {
      const int x = px[k & 1], y = py[k >> 1];
      q.insert(
          q.end(),
          {2.0f * (image.x + x) / c->viewport_w - 1.0f, 2.0f * (image.y + y) / c->viewport_h - 1.0f,
           static_cast<float>(x) / c->texture_w, static_cast<float>(y) / c->texture_h});
    }
  }
  emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(q.size() * sizeof(float)),
                          q.data(), GL_STREAM_DRAW);
  emscripten_glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(q.size() / 4));
}

void backend_read(Backend* backend, int x, int y, int width, int height, unsigned char* rgba) {
  if (backend->current == nullptr) return;
  emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}
