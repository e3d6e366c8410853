// The layer's one record (GlLayer), the current window state, GL's initial state, errors, and
// the draw state rebuilt from the attributes after they change.
#include "gl/front/gl_state.h"

#include <algorithm>
#include <cstring>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr GLushort STIPPLE_SOLID = 0xFFFF;
constexpr int DEFAULT_ALIGNMENT = 4;  // GL's pack and unpack row alignment

#define GL_SWITCH_NAME(id, name, on, group) name,
constexpr GLenum SWITCH_NAMES[] = {GL_SWITCHES(GL_SWITCH_NAME)};
#undef GL_SWITCH_NAME
#define GL_SWITCH_INITIAL(id, name, on, group) on,
constexpr bool SWITCH_INITIAL[] = {GL_SWITCHES(GL_SWITCH_INITIAL)};
#undef GL_SWITCH_INITIAL

//------------------------------------------------------------------------------
// Globals
//------------------------------------------------------------------------------

GlLayer layer;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

void identity(GlMatrix* m) {
  for (int i = 0; i < 16; ++i) m->m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

// Intersection of two rectangles (x, y, width, height), kept in a.
void rect_clip(int a[4], int x, int y, int w, int h) {
  const int x0 = std::max(a[0], x), y0 = std::max(a[1], y);
  const int x1 = std::min(a[0] + a[2], x + w), y1 = std::min(a[1] + a[3], y + h);
  a[0] = x0;
  a[1] = y0;
  a[2] = std::max(0, x1 - x0);
  a[3] = std::max(0, y1 - y0);
}

// WebGL state of the draws: triangles keep to the viewport as GL's clipping keeps them;
// pixel rectangles were cut by the rasteriser already. Both keep to the window.
void batch_draw_build(const GlWebState* s, BatchDraw* b) {
  const GlAttribs& a = s->a;
  const GlColourBufferAttribs& cb = a.colour_buffer;
  b->premultiply = a.switches[SWITCH_BLEND] && cb.blend_src == GL_SRC_ALPHA &&
                   cb.blend_dst == GL_ONE_MINUS_SRC_ALPHA;
  BackendState st{};
  st.blend = a.switches[SWITCH_BLEND];
  st.blend_src = b->premultiply ? GL_ONE : cb.blend_src;
  st.blend_dst = cb.blend_dst;
  st.depth_test = a.switches[SWITCH_DEPTH_TEST];
  st.depth_func = a.depth.func;
  st.depth_mask = a.depth.mask;
  st.cull = false;
  st.cull_mode = a.polygon.cull_mode;
  st.front_face = a.polygon.front_face;
  for (int i = 0; i < 4; ++i) st.colour_mask[i] = cb.mask[i];
  st.scissor[0] = s->win_x;
  st.scissor[1] = s->win_y;
  st.scissor[2] = s->win_width;
  st.scissor[3] = s->win_height;
  const int* box = a.scissor.box;
  if (a.switches[SWITCH_SCISSOR_TEST])
    rect_clip(st.scissor, s->win_x + box[0], s->win_y + box[1], box[2], box[3]);
  b->pixels = st;
  const int* vp = a.viewport.box;
  st.cull = a.switches[SWITCH_CULL_FACE];
  rect_clip(st.scissor, s->win_x + vp[0], s->win_y + vp[1], vp[2], vp[3]);
  b->triangles = st;
  std::memcpy(b->viewport, vp, sizeof b->viewport);
  b->win_width = s->win_width;
  b->win_height = s->win_height;
  b->serial = ++layer.draw_serial;
}

void draw_build(GlWebState* s) {
  const GlAttribs& a = s->a;
  DrawState& d = s->draw;
  batch_draw_build(s, &d.batch);
  std::memcpy(d.depth_range, a.viewport.depth_range, sizeof d.depth_range);
  d.line_width = a.line.width;
  d.line_stipple = a.switches[SWITCH_LINE_STIPPLE];
  d.stipple_factor = a.line.stipple_factor;
  d.stipple_pattern = a.line.stipple_pattern;
  d.point_size = a.point.size;
  d.cull = a.switches[SWITCH_CULL_FACE];
  d.cull_mode = a.polygon.cull_mode;
  d.front_face = a.polygon.front_face;
  d.flat = a.lighting.shade_model == GL_FLAT;
  d.fill = a.polygon.mode[0] == GL_FILL || a.polygon.mode[1] == GL_FILL;
  s->draw_stale = false;
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

GlLayer& gl_layer() {
  return layer;
}

GlWebState* gl_state() {
  if (layer.current != nullptr) return layer.current;
  if (layer.fallback == nullptr) {
    layer.fallback = new GlWebState;
    gl_state_init(layer.fallback, 0);
  }
  return layer.fallback;
}

void gl_state_init(GlWebState* s, long webgl) {
  s->webgl = webgl;
  s->win_x = s->win_y = 0;
  s->win_width = s->win_height = 0;
  GlAttribs& a = s->a;
  a = GlAttribs{};
  for (int i = 0; i < 4; ++i) {
    a.current.colour[i] = 1.0f;
    a.current.raster_colour[i] = 1.0f;
    a.colour_buffer.mask[i] = true;
  }
  std::copy(SWITCH_INITIAL, SWITCH_INITIAL + SWITCH_COUNT, a.switches);
  a.current.raster_pos[3] = 1.0f;
  a.current.raster_valid = true;
  a.colour_buffer.blend_src = GL_ONE;
  a.colour_buffer.blend_dst = GL_ZERO;
  a.depth.func = GL_LESS;
  a.depth.mask = true;
  a.depth.clear = 1.0;
  a.polygon.cull_mode = GL_BACK;
  a.polygon.front_face = GL_CCW;
  a.polygon.mode[0] = a.polygon.mode[1] = GL_FILL;
  a.line.width = 1.0f;
  a.line.stipple_factor = 1;
  a.line.stipple_pattern = STIPPLE_SOLID;
  a.point.size = 1.0f;
  a.viewport.box[2] = a.viewport.box[3] = -1;  // set to the window's size when first made current
  a.viewport.depth_range[1] = 1.0f;
  a.transform.matrix_mode = GL_MODELVIEW;
  a.lighting.shade_model = GL_SMOOTH;
  identity(&s->modelview[0]);
  identity(&s->projection[0]);
  s->modelview_top = s->projection_top = 0;
  s->mvp_stale = true;
  s->draw = DrawState{};
  s->draw_stale = true;
  s->in_begin = false;
  s->begin_mode = GL_POINTS;
  s->lists.assign(1, GlList{});
  s->compiling = 0;
  s->unpack_alignment = s->pack_alignment = DEFAULT_ALIGNMENT;
  s->error = GL_NO_ERROR;
}

GlAttribs& gl_attribs_changing() {
  GlWebState* s = gl_state();
  s->draw_stale = true;
  return s->a;
}

const DrawState& gl_draw_state() {
  GlWebState* s = gl_state();
  if (s->draw_stale) draw_build(s);
  return s->draw;
}

void gl_error(GLenum error) {
  GlWebState* s = gl_state();
  if (s->error == GL_NO_ERROR) s->error = error;
}

int gl_switch_index(GLenum cap) {
  for (int i = 0; i < SWITCH_COUNT; ++i)
    if (SWITCH_NAMES[i] == cap) return i;
  return -1;
}
