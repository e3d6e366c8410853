// glPushAttrib / glPopAttrib: a level saves every value and remembers which groups to put
// back, so a pop restores exactly the groups its push named.
#include "gl_state.h"

#include <cstring>

namespace {

// Puts back the switch cap from the saved values.
void cap_restore(const GlAttribs& saved, GLenum cap) {
  bool* now = gl_cap(cap);
  if (now == nullptr) return;
  GlWebState* s = gl_state();
  const size_t index = static_cast<size_t>(now - s->a.caps);
  *now = saved.caps[index];
}

void restore(const GlAttribs& v, GLbitfield mask) {
  GlAttribs& a = gl_state()->a;
  if (mask & GL_CURRENT_BIT) {
    std::memcpy(a.colour, v.colour, sizeof a.colour);
    std::memcpy(a.raster_pos, v.raster_pos, sizeof a.raster_pos);
    a.raster_valid = v.raster_valid;
    std::memcpy(a.raster_colour, v.raster_colour, sizeof a.raster_colour);
  }
  if (mask & GL_ENABLE_BIT) std::memcpy(a.caps, v.caps, sizeof a.caps);
  if (mask & GL_COLOR_BUFFER_BIT) {
    cap_restore(v, GL_BLEND);
    cap_restore(v, GL_DITHER);
    cap_restore(v, GL_ALPHA_TEST);
    a.blend_src = v.blend_src;
    a.blend_dst = v.blend_dst;
    std::memcpy(a.clear_colour, v.clear_colour, sizeof a.clear_colour);
    std::memcpy(a.colour_mask, v.colour_mask, sizeof a.colour_mask);
  }
  if (mask & GL_DEPTH_BUFFER_BIT) {
    cap_restore(v, GL_DEPTH_TEST);
    a.depth_func = v.depth_func;
    a.depth_mask = v.depth_mask;
    a.clear_depth = v.clear_depth;
  }
  if (mask & GL_POLYGON_BIT) {
    cap_restore(v, GL_CULL_FACE);
    cap_restore(v, GL_POLYGON_SMOOTH);
    a.cull_mode = v.cull_mode;
    a.front_face = v.front_face;
    a.polygon_mode[0] = v.polygon_mode[0];
    a.polygon_mode[1] = v.polygon_mode[1];
  }
  if (mask & GL_LINE_BIT) {
    cap_restore(v, GL_LINE_STIPPLE);
    cap_restore(v, GL_LINE_SMOOTH);
    a.line_width = v.line_width;
    a.stipple_factor = v.stipple_factor;
    a.stipple_pattern = v.stipple_pattern;
  }
  if (mask & GL_POINT_BIT) {
    cap_restore(v, GL_POINT_SMOOTH);
    a.point_size = v.point_size;
  }
  if (mask & GL_VIEWPORT_BIT) {
    std::memcpy(a.viewport, v.viewport, sizeof a.viewport);
    std::memcpy(a.depth_range, v.depth_range, sizeof a.depth_range);
  }
  if (mask & GL_SCISSOR_BIT) {
    cap_restore(v, GL_SCISSOR_TEST);
    std::memcpy(a.scissor, v.scissor, sizeof a.scissor);
  }
  if (mask & GL_TRANSFORM_BIT) {
    cap_restore(v, GL_NORMALIZE);
    a.matrix_mode = v.matrix_mode;
  }
  if (mask & GL_LIGHTING_BIT) {
    cap_restore(v, GL_LIGHTING);
    cap_restore(v, GL_LIGHT0);
    cap_restore(v, GL_COLOR_MATERIAL);
    a.shade_model = v.shade_model;
  }
  if (mask & GL_EVAL_BIT) {
    cap_restore(v, GL_MAP1_VERTEX_3);
    cap_restore(v, GL_MAP1_VERTEX_4);
    cap_restore(v, GL_AUTO_NORMAL);
  }
}

}  // namespace

void glPushAttrib(GLbitfield mask) {
  if (gl_list_compiling()) {
    gl_list_record([=] { glPushAttrib(mask); });
    return;
  }
  GlWebState* s = gl_state();
  if (static_cast<int>(s->attrib_stack.size()) >= ATTRIB_STACK_DEPTH) {
    gl_error(GL_STACK_OVERFLOW);
    return;
  }
  s->attrib_stack.push_back(GlSavedAttribs{mask, s->a});
}

void glPopAttrib(void) {
  if (gl_list_compiling()) {
    gl_list_record([] { glPopAttrib(); });
    return;
  }
  GlWebState* s = gl_state();
  if (s->attrib_stack.empty()) {
    gl_error(GL_STACK_UNDERFLOW);
    return;
  }
  const GlSavedAttribs level = s->attrib_stack.back();
  s->attrib_stack.pop_back();
  restore(level.values, level.mask);
}
