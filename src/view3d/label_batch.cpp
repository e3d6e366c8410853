// Index labels of control points: one raster position and bitmap text per
// label, or the same labels gathered into bands GL draws at once.
// Before any GL header: glWindowPos3f (OpenGL 1.4) is declared only with it.
#define GL_GLEXT_PROTOTYPES
#include "view3d/label_batch.h"

#include "view3d/fast_shapes.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

//------------------------------------------------------------------------------
// Constants
//------------------------------------------------------------------------------

constexpr double LABEL_OFFSET = 0.07;      // scene units from a point to its label, on each axis
constexpr int LABEL_SIZE = 16;             // "%d" of any int, with the terminator
constexpr float LABEL_BATCH_ROWS = 16.0f;  // rows of raster positions one bitmap batch takes
// A 9x15 glyph's bitmap is 16 rows high and starts 4 rows below its raster
// position, at the column of its raster position. A band's scissor box holds
// exactly those rows and columns of its labels, one pixel wider on every side
// for the rounding of the raster position: llvmpipe runs its fragment code for
// every pixel of the box, set or not.
constexpr int LABEL_GLYPH_ROWS = 16;
constexpr int LABEL_GLYPH_BELOW = 4;
constexpr int LABEL_BOX_MARGIN = 1;

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// Window position of one label, as its raster position put it.
struct LabelSpot {
  GLfloat x, y, z;  // window pixels and depth
  int index;        // control point
};

std::vector<LabelSpot> label_spots;

// The label of point i: its index.
struct LabelText {
  char text[LABEL_SIZE];
};

LabelText label_of(int i) {
  LabelText label;
  std::snprintf(label.text, sizeof label.text, "%d", i);
  return label;
}

// Draws the index of point i at the current raster position.
void label_text(int i) {
  const LabelText label = label_of(i);
  for (const char* c = label.text; *c != '\0'; ++c) glutBitmapCharacter(GLUT_BITMAP_9_BY_15, *c);
}

// Pixels the label of point i advances the raster position by.
int label_advance(int i) {
  const LabelText label = label_of(i);
  return glutBitmapLength(GLUT_BITMAP_9_BY_15, reinterpret_cast<const unsigned char*>(label.text));
}

// Sends the bitmaps GL holds back to draw together: a draw of a triangle with
// no area, which makes no fragment.
void bitmap_batch_flush() {
  glBegin(GL_TRIANGLES);
  for (int k = 0; k < 3; ++k) glVertex2i(0, 0);
  glEnd();
}

// Sets the raster position of the label of point q.
void label_raster_pos(const ControlPoint& q) {
  glRasterPos3d(q.x + LABEL_OFFSET, q.y + LABEL_OFFSET, q.z + LABEL_OFFSET);
}

// Labels in one opaque colour, drawn in bands of rows so that GL gathers the
// bitmaps of a band into one draw. GL batches bitmaps lying in a strip of
// rows around the first one it gets; each band therefore opens with a blank
// glyph (a space) in its middle row and left of its labels. The picture is the
// same in any order: each pixel ends in the one colour when any label reaches
// it, and with the depth test on the depth left is the least of theirs. The
// raster positions are GL's own, so every label lands on the same pixels;
// without the depth test a label's depth is never used, and one shared depth
// keeps GL from splitting a batch. GL fills the whole width of its strip of
// rows with the batch's quad: a scissor box round the band's labels, set
// while the band goes out, keeps that quad to the labels' own pixels (a
// scissor box of the caller's is left alone).
void draw_labels_batched(const Curve* curve) {
  label_spots.clear();
  for (int i = 0; i < curve->point_count; ++i) {
    label_raster_pos(curve->points[i]);
    GLint valid = GL_FALSE;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (valid != GL_TRUE) continue;
    GLfloat pos[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
    label_spots.push_back(LabelSpot{pos[0], pos[1], pos[2], i});
  }
  if (label_spots.empty()) return;
  if (glIsEnabled(GL_DEPTH_TEST) != GL_TRUE)
    for (LabelSpot& s : label_spots) s.z = label_spots.front().z;
  std::sort(label_spots.begin(), label_spots.end(), [](const LabelSpot& a, const LabelSpot& b) {
    return a.z != b.z ? a.z < b.z : a.y < b.y;
  });
  const bool clip = glIsEnabled(GL_SCISSOR_TEST) != GL_TRUE;
  GLint box[4] = {0, 0, 0, 0};
  if (clip) {
    bitmap_batch_flush();  // bitmaps of the caller's go out unclipped
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glEnable(GL_SCISSOR_TEST);
  }
  auto band = label_spots.begin();
  while (band != label_spots.end()) {
    const GLfloat z = band->z, y0 = band->y;
    const auto end = std::find_if(band, label_spots.end(), [z, y0](const LabelSpot& s) {
      return s.z != z || s.y >= y0 + LABEL_BATCH_ROWS;
    });
    std::sort(band, end, [](const LabelSpot& a, const LabelSpot& b) { return a.x < b.x; });
    if (clip) {
      // Set before the band's first bitmap, so that any batch GL sends out
      // of this band goes under this box, and the band is sent before the
      // next box is set.
      float right = band->x, top = y0;
      for (auto s = band; s != end; ++s) {
        right = std::max(right, s->x + static_cast<float>(label_advance(s->index)));
        top = std::max(top, s->y);
      }
      const GLint x = static_cast<GLint>(std::floor(band->x)) - LABEL_BOX_MARGIN;
      const GLint y = static_cast<GLint>(std::floor(y0)) - LABEL_GLYPH_BELOW - LABEL_BOX_MARGIN;
      glScissor(x, y, static_cast<GLint>(std::ceil(right)) + LABEL_BOX_MARGIN - x,
                static_cast<GLint>(std::ceil(top)) - LABEL_GLYPH_BELOW + LABEL_GLYPH_ROWS +
                    LABEL_BOX_MARGIN - y);
    }
    glWindowPos3f(band->x, y0 + LABEL_BATCH_ROWS / 2, z);
    glutBitmapCharacter(GLUT_BITMAP_9_BY_15, ' ');
    for (auto s = band; s != end; ++s) {
      glWindowPos3f(s->x, s->y, s->z);
      label_text(s->index);
    }
    if (clip) bitmap_batch_flush();
    band = end;
  }
  if (clip) {
    glScissor(box[0], box[1], box[2], box[3]);
    glDisable(GL_SCISSOR_TEST);
  }
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Batched while fast_paths is on and the colour is opaque, label by label
// otherwise.
void draw_index_labels(const Curve* curve, const float* colour) {
  glColor4fv(colour);
  if (fast_paths != 0 && colour[3] >= 1.0f) {
    draw_labels_batched(curve);
    return;
  }
  for (int i = 0; i < curve->point_count; ++i) {
    label_raster_pos(curve->points[i]);
    label_text(i);
  }
}
