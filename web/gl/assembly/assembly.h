// Stage 2, primitive assembly: the vertices of one glBegin .. glEnd (or glRect) turned into
// what is drawn, as Mesa turns them: triangles clipped and culled, then rasterised (stage 3) or
// left to WebGL; lines clipped and stippled; points dropped outside the view volume. Called by
// the front end (stage 1), which hands it the draw state; sends the result to the batch (stage 4).
// Vertices arrive in clip coordinates with the colour each was given.
#ifndef TERNIVAL_WEB_GL_ASSEMBLY_H
#define TERNIVAL_WEB_GL_ASSEMBLY_H

#include <GL/gl.h>

#include "gl/batch/batch.h"
#include "gl/raster/raster.h"

#include <vector>

// What assembly needs of the GL state, kept current by the front end as the state changes.
struct DrawState {
  BatchDraw batch;
  float depth_range[2];
  float line_width;    // pixels as asked; the rasteriser rounds
  bool line_stipple;   // GL_LINE_STIPPLE is on
  int stipple_factor;  // 1 .. 256
  GLushort stipple_pattern;
  float point_size;  // pixels
  bool cull;         // GL_CULL_FACE is on
  GLenum cull_mode, front_face;
  bool flat;  // GL_FLAT shading: a triangle takes its last vertex's colour
  bool fill;  // the front or the back face is filled
};

// Assembly's scratch, valid during one primitive.
struct Assembly {
  std::vector<PixelFragment> fragments;  // pixels of one segment, point or triangle
  PixelStipple stipple;                  // pattern position along the current strip
};

// Where a clip point lands in the window: x, y (up) and depth as GL reports them, and the
// position counted down from the window's top edge as Mesa's rasteriser computes it (its
// viewport transform runs upside down, so `down` is not exactly height - y in floats).
struct GlWindowPoint {
  float x, y, z;
  float down;
};
GlWindowPoint assembly_clip_to_window(const DrawState& draw, const float clip[4]);

// Draws the primitive of `mode` from its vertices.
void assembly_draw(Assembly* assembly, Batch* batch, const DrawState& draw, GLenum mode,
                   const std::vector<GlVertex>& v);

#endif
