// glEnable and the fixed-function settings that only change state: blending, depth, culling,
// line and point sizes, stipple, viewport and scissor boxes, clear values and masks. Each
// entry point records itself or acts through gl_call; each act changes the attributes through
// gl_attribs_changing, so that the draw state follows.
#include "gl/front/gl_state.h"

#include <algorithm>

namespace {

constexpr int STIPPLE_FACTOR_MAX = 256;

void rect_set(int box[4], GLint x, GLint y, GLsizei width, GLsizei height) {
  box[0] = x;
  box[1] = y;
  box[2] = width;
  box[3] = height;
}

void switch_set(GLenum cap, bool on) {
  const int i = gl_switch_index(cap);
  if (i < 0) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_attribs_changing().switches[i] = on;
}

void enable(GLenum cap) {
  switch_set(cap, true);
}

void disable(GLenum cap) {
  switch_set(cap, false);
}

void blend_func(GLenum sfactor, GLenum dfactor) {
  GlColourBufferAttribs& cb = gl_attribs_changing().colour_buffer;
  cb.blend_src = sfactor;
  cb.blend_dst = dfactor;
}

void depth_func(GLenum func) {
  if (func < GL_NEVER || func > GL_ALWAYS) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_attribs_changing().depth.func = func;
}

void depth_mask(GLboolean flag) {
  gl_attribs_changing().depth.mask = flag != GL_FALSE;
}

void cull_face(GLenum mode) {
  if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_attribs_changing().polygon.cull_mode = mode;
}

void front_face(GLenum mode) {
  if (mode != GL_CW && mode != GL_CCW) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_attribs_changing().polygon.front_face = mode;
}

void polygon_mode(GLenum face, GLenum mode) {
  GlPolygonAttribs& p = gl_attribs_changing().polygon;
  if (face == GL_FRONT || face == GL_FRONT_AND_BACK) p.mode[0] = mode;
  if (face == GL_BACK || face == GL_FRONT_AND_BACK) p.mode[1] = mode;
}

void shade_model(GLenum mode) {
  gl_attribs_changing().lighting.shade_model = mode;
}

void line_width(GLfloat width) {
  if (!(width > 0.0f)) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  gl_attribs_changing().line.width = width;
}

void line_stipple(GLint factor, GLushort pattern) {
  GlLineAttribs& l = gl_attribs_changing().line;
  l.stipple_factor = std::min(STIPPLE_FACTOR_MAX, std::max(1, static_cast<int>(factor)));
  l.stipple_pattern = pattern;
}

void point_size(GLfloat size) {
  if (!(size > 0.0f)) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  gl_attribs_changing().point.size = size;
}

void viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (width < 0 || height < 0) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  rect_set(gl_attribs_changing().viewport.box, x, y, width, height);
}

void depth_range(GLclampd near_val, GLclampd far_val) {
  float* range = gl_attribs_changing().viewport.depth_range;
  range[0] = static_cast<float>(std::min(1.0, std::max(0.0, near_val)));
  range[1] = static_cast<float>(std::min(1.0, std::max(0.0, far_val)));
}

void scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (width < 0 || height < 0) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  rect_set(gl_attribs_changing().scissor.box, x, y, width, height);
}

void colour_mask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
  bool* m = gl_attribs_changing().colour_buffer.mask;
  m[0] = r != GL_FALSE;
  m[1] = g != GL_FALSE;
  m[2] = b != GL_FALSE;
  m[3] = a != GL_FALSE;
}

void clear_colour(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  float* c = gl_attribs_changing().colour_buffer.clear_colour;
  c[0] = r;
  c[1] = g;
  c[2] = b;
  c[3] = a;
}

void clear_depth(GLclampd depth) {
  gl_attribs_changing().depth.clear = std::min(1.0, std::max(0.0, depth));
}

}  // namespace

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

void glEnable(GLenum cap) {
  gl_call(enable, cap);
}
void glDisable(GLenum cap) {
  gl_call(disable, cap);
}
GLboolean glIsEnabled(GLenum cap) {
  const int i = gl_switch_index(cap);
  return i >= 0 && gl_state()->a.switches[i] ? GL_TRUE : GL_FALSE;
}
void glBlendFunc(GLenum sfactor, GLenum dfactor) {
  gl_call(blend_func, sfactor, dfactor);
}
void glDepthFunc(GLenum func) {
  gl_call(depth_func, func);
}
void glDepthMask(GLboolean flag) {
  gl_call(depth_mask, flag);
}
void glCullFace(GLenum mode) {
  gl_call(cull_face, mode);
}
void glFrontFace(GLenum mode) {
  gl_call(front_face, mode);
}
void glPolygonMode(GLenum face, GLenum mode) {
  gl_call(polygon_mode, face, mode);
}
void glShadeModel(GLenum mode) {
  gl_call(shade_model, mode);
}
// Hints change nothing Mesa's llvmpipe draws.
void glHint(GLenum /*target*/, GLenum /*mode*/) {}
void glLineWidth(GLfloat width) {
  gl_call(line_width, width);
}
void glLineStipple(GLint factor, GLushort pattern) {
  gl_call(line_stipple, factor, pattern);
}
void glPointSize(GLfloat size) {
  gl_call(point_size, size);
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  gl_call(viewport, x, y, width, height);
}
void glDepthRange(GLclampd near_val, GLclampd far_val) {
  gl_call(depth_range, near_val, far_val);
}
void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  gl_call(scissor, x, y, width, height);
}
void glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
  gl_call(colour_mask, r, g, b, a);
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  gl_call(clear_colour, r, g, b, a);
}
void glClearDepth(GLclampd depth) {
  gl_call(clear_depth, depth);
}
