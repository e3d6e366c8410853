// glEnable and the fixed-function settings that only change state: blending, depth, culling,
// line and point sizes, stipple, viewport and scissor boxes, clear values and masks.
#include "gl_state.h"

#include <algorithm>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

// Every switch the layer keeps, in the order of GlAttribs::caps.
constexpr GLenum CAPS[] = {
    GL_BLEND,          GL_DEPTH_TEST,  GL_CULL_FACE,    GL_SCISSOR_TEST,  GL_LINE_STIPPLE,
    GL_LIGHTING,       GL_NORMALIZE,   GL_AUTO_NORMAL,  GL_MAP1_VERTEX_3, GL_MAP1_VERTEX_4,
    GL_POLYGON_SMOOTH, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_TEXTURE_2D,    GL_DITHER,
    GL_COLOR_MATERIAL, GL_ALPHA_TEST,  GL_FOG,          GL_MULTISAMPLE,   GL_LIGHT0,
    GL_POLYGON_STIPPLE};
constexpr int CAPS_USED = sizeof CAPS / sizeof CAPS[0];
static_assert(CAPS_USED <= CAP_COUNT, "GlAttribs::caps holds every switch");

constexpr int STIPPLE_FACTOR_MAX = 256;

int cap_index(GLenum cap) {
  for (int i = 0; i < CAPS_USED; ++i)
    if (CAPS[i] == cap) return i;
  return -1;
}

void cap_set(GLenum cap, bool on) {
  bool* flag = gl_cap(cap);
  if (flag == nullptr) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  *flag = on;
}

}  // namespace

//------------------------------------------------------------------------------
// Shared with the other web/gl files
//------------------------------------------------------------------------------

bool* gl_cap(GLenum cap) {
  const int i = cap_index(cap);
  return i < 0 ? nullptr : &gl_state()->a.caps[i];
}

bool gl_cap_on(GLenum cap) {
  const bool* flag = gl_cap(cap);
  return flag != nullptr && *flag;
}

void gl_caps_init(bool caps[CAP_COUNT]) {
  std::fill(caps, caps + CAP_COUNT, false);
  caps[cap_index(GL_DITHER)] = true;
  caps[cap_index(GL_MULTISAMPLE)] = true;
}

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

void glEnable(GLenum cap) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glEnable(cap); });
    return;
  }
  cap_set(cap, true);
}

void glDisable(GLenum cap) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glDisable(cap); });
    return;
  }
  cap_set(cap, false);
}

GLboolean glIsEnabled(GLenum cap) {
  return gl_cap_on(cap) ? GL_TRUE : GL_FALSE;
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glBlendFunc(sfactor, dfactor); });
    return;
  }
  gl_state()->a.blend_src = sfactor;
  gl_state()->a.blend_dst = dfactor;
}

void glDepthFunc(GLenum func) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glDepthFunc(func); });
    return;
  }
  if (func < GL_NEVER || func > GL_ALWAYS) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_state()->a.depth_func = func;
}

void glDepthMask(GLboolean flag) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glDepthMask(flag); });
    return;
  }
  gl_state()->a.depth_mask = flag != GL_FALSE;
}

void glCullFace(GLenum mode) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glCullFace(mode); });
    return;
  }
  if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_state()->a.cull_mode = mode;
}

void glFrontFace(GLenum mode) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glFrontFace(mode); });
    return;
  }
  if (mode != GL_CW && mode != GL_CCW) {
    gl_error(GL_INVALID_ENUM);
    return;
  }
  gl_state()->a.front_face = mode;
}

void glPolygonMode(GLenum face, GLenum mode) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glPolygonMode(face, mode); });
    return;
  }
  GlAttribs& a = gl_state()->a;
  if (face == GL_FRONT || face == GL_FRONT_AND_BACK) a.polygon_mode[0] = mode;
  if (face == GL_BACK || face == GL_FRONT_AND_BACK) a.polygon_mode[1] = mode;
}

void glShadeModel(GLenum mode) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glShadeModel(mode); });
    return;
  }
  gl_state()->a.shade_model = mode;
}

// Hints change nothing Mesa's llvmpipe draws.
void glHint(GLenum target, GLenum mode) {}

void glLineWidth(GLfloat width) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glLineWidth(width); });
    return;
  }
  if (!(width > 0.0f)) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  gl_state()->a.line_width = width;
}

void glLineStipple(GLint factor, GLushort pattern) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glLineStipple(factor, pattern); });
    return;
  }
  GlAttribs& a = gl_state()->a;
  a.stipple_factor = std::min(STIPPLE_FACTOR_MAX, std::max(1, static_cast<int>(factor)));
  a.stipple_pattern = pattern;
}

void glPointSize(GLfloat size) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glPointSize(size); });
    return;
  }
  if (!(size > 0.0f)) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  gl_state()->a.point_size = size;
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glViewport(x, y, width, height); });
    return;
  }
  if (width < 0 || height < 0) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  int* v = gl_state()->a.viewport;
  v[0] = x;
  v[1] = y;
  v[2] = width;
  v[3] = height;
}

void glDepthRange(GLclampd near_val, GLclampd far_val) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glDepthRange(near_val, far_val); });
    return;
  }
  GlAttribs& a = gl_state()->a;
  a.depth_range[0] = static_cast<float>(std::min(1.0, std::max(0.0, near_val)));
  a.depth_range[1] = static_cast<float>(std::min(1.0, std::max(0.0, far_val)));
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glScissor(x, y, width, height); });
    return;
  }
  if (width < 0 || height < 0) {
    gl_error(GL_INVALID_VALUE);
    return;
  }
  int* b = gl_state()->a.scissor;
  b[0] = x;
  b[1] = y;
  b[2] = width;
  b[3] = height;
}

void glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glColorMask(r, g, b, a); });
    return;
  }
  bool* m = gl_state()->a.colour_mask;
  m[0] = r != GL_FALSE;
  m[1] = g != GL_FALSE;
  m[2] = b != GL_FALSE;
  m[3] = a != GL_FALSE;
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glClearColor(r, g, b, a); });
    return;
  }
  float* c = gl_state()->a.clear_colour;
  c[0] = r;
  c[1] = g;
  c[2] = b;
  c[3] = a;
}

void glClearDepth(GLclampd depth) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glClearDepth(depth); });
    return;
  }
  gl_state()->a.clear_depth = std::min(1.0, std::max(0.0, depth));
}
