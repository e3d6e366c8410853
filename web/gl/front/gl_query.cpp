// glGet*: every value is worked out once as doubles and converted to the type asked for, as
// GL converts (booleans are non-zero, integers round to nearest).
#include "gl/front/gl_state.h"

#include <cmath>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr int MAX_VALUES = 16;       // a matrix
constexpr int COLOUR_BITS = 8;       // red, green and blue bits of the desktop's visual
constexpr int DEPTH_BITS = 24;       // depth bits of the desktop's visual
constexpr int MAX_VIEWPORT = 16384;  // largest viewport, pixels
constexpr double LINE_WIDTH_MAX = 255.0;
constexpr double POINT_SIZE_MAX = 255.0;
constexpr GLenum SHADE_MODEL = 0x0B54;

// Copies the n entries of from into v and returns n.
template <typename T>
int values_copy(const T* from, int n, double* v) {
  for (int i = 0; i < n; ++i) v[i] = from[i];
  return n;
}

// The value of pname into v; returns how many entries it has, 0 for an unknown name.
int query(GLenum pname, double v[MAX_VALUES]) {
  const GlWebState* s = gl_state();
  const GlAttribs& a = s->a;
  switch (pname) {
    case GL_VIEWPORT: return values_copy(a.viewport.box, 4, v);
    case GL_SCISSOR_BOX: return values_copy(a.scissor.box, 4, v);
    case GL_MODELVIEW_MATRIX: return values_copy(gl_modelview().m, 16, v);
    case GL_PROJECTION_MATRIX: return values_copy(gl_projection().m, 16, v);
    case GL_CURRENT_COLOR: return values_copy(a.current.colour, 4, v);
    case GL_CURRENT_RASTER_COLOR: return values_copy(a.current.raster_colour, 4, v);
    case GL_CURRENT_RASTER_POSITION: return values_copy(a.current.raster_pos, 4, v);
    case GL_CURRENT_RASTER_POSITION_VALID: v[0] = a.current.raster_valid ? 1 : 0; return 1;
    case GL_CULL_FACE_MODE: v[0] = a.polygon.cull_mode; return 1;
    case GL_FRONT_FACE: v[0] = a.polygon.front_face; return 1;
    case GL_POLYGON_MODE:
      v[0] = a.polygon.mode[0];
      v[1] = a.polygon.mode[1];
      return 2;
    case GL_SAMPLE_BUFFERS:
    case GL_SAMPLES: v[0] = 0; return 1;
    case GL_LINE_WIDTH: v[0] = a.line.width; return 1;
    case GL_POINT_SIZE: v[0] = a.point.size; return 1;
    case GL_LINE_STIPPLE_PATTERN: v[0] = a.line.stipple_pattern; return 1;
    case GL_LINE_STIPPLE_REPEAT: v[0] = a.line.stipple_factor; return 1;
    case GL_MATRIX_MODE: v[0] = a.transform.matrix_mode; return 1;
    case SHADE_MODEL: v[0] = a.lighting.shade_model; return 1;
    case GL_DEPTH_FUNC: v[0] = a.depth.func; return 1;
    case GL_DEPTH_WRITEMASK: v[0] = a.depth.mask ? 1 : 0; return 1;
    case GL_DEPTH_CLEAR_VALUE: v[0] = a.depth.clear; return 1;
    case GL_DEPTH_RANGE:
      v[0] = a.viewport.depth_range[0];
      v[1] = a.viewport.depth_range[1];
      return 2;
    case GL_COLOR_CLEAR_VALUE: return values_copy(a.colour_buffer.clear_colour, 4, v);
    case GL_BLEND_SRC: v[0] = a.colour_buffer.blend_src; return 1;
    case GL_BLEND_DST: v[0] = a.colour_buffer.blend_dst; return 1;
    case GL_MODELVIEW_STACK_DEPTH: v[0] = s->modelview_top + 1; return 1;
    case GL_PROJECTION_STACK_DEPTH: v[0] = s->projection_top + 1; return 1;
    case GL_ATTRIB_STACK_DEPTH: v[0] = static_cast<double>(s->attrib_stack.size()); return 1;
    case GL_MAX_VIEWPORT_DIMS: v[0] = v[1] = MAX_VIEWPORT; return 2;
    case GL_LINE_WIDTH_RANGE:
      v[0] = 1.0;
      v[1] = LINE_WIDTH_MAX;
      return 2;
    case GL_POINT_SIZE_RANGE:
      v[0] = 1.0;
      v[1] = POINT_SIZE_MAX;
      return 2;
    case GL_DOUBLEBUFFER: v[0] = 1; return 1;
    case GL_RED_BITS:
    case GL_GREEN_BITS:
    case GL_BLUE_BITS: v[0] = COLOUR_BITS; return 1;
    case GL_ALPHA_BITS: v[0] = 0; return 1;
    case GL_DEPTH_BITS: v[0] = DEPTH_BITS; return 1;
    case GL_UNPACK_ALIGNMENT: v[0] = s->unpack_alignment; return 1;
    case GL_PACK_ALIGNMENT: v[0] = s->pack_alignment; return 1;
    case GL_LIST_INDEX: v[0] = s->compiling; return 1;
    case GL_LIST_MODE: v[0] = s->compiling != 0 ? GL_COMPILE : 0; return 1;
    default: break;
  }
  const int i = gl_switch_index(pname);
  if (i < 0) return 0;
  v[0] = a.switches[i] ? 1 : 0;
  return 1;
}

// Runs the query, reporting an unknown name as GL does.
int query_checked(GLenum pname, double v[MAX_VALUES]) {
  const int n = query(pname, v);
  if (n == 0) gl_error(GL_INVALID_ENUM);
  return n;
}

}  // namespace

//------------------------------------------------------------------------------
// Entry points
//------------------------------------------------------------------------------

void glGetBooleanv(GLenum pname, GLboolean* params) {
  double v[MAX_VALUES];
  const int n = query_checked(pname, v);
  for (int i = 0; i < n; ++i) params[i] = v[i] != 0.0 ? GL_TRUE : GL_FALSE;
}

void glGetIntegerv(GLenum pname, GLint* params) {
  double v[MAX_VALUES];
  const int n = query_checked(pname, v);
  for (int i = 0; i < n; ++i) params[i] = static_cast<GLint>(std::lround(v[i]));
}

void glGetFloatv(GLenum pname, GLfloat* params) {
  double v[MAX_VALUES];
  const int n = query_checked(pname, v);
  for (int i = 0; i < n; ++i) params[i] = static_cast<GLfloat>(v[i]);
}

void glGetDoublev(GLenum pname, GLdouble* params) {
  double v[MAX_VALUES];
  const int n = query_checked(pname, v);
  for (int i = 0; i < n; ++i) params[i] = v[i];
}
