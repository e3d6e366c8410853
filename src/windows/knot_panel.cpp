// Knot panel: loads the knot bar from the edited curve, forwards mouse and
// motion events to it, and re-lifts the curve when the bar moved something.
#include "windows/knot_panel.h"

#include "app/shell.h"
#include "widgets/button.h"
#include "widgets/knot_bar.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <vector>

//------------------------------------------------------------------------------
// Defines
//------------------------------------------------------------------------------

namespace {

constexpr int VISIBLE_WIDTH = 100;  // columns of the subwindow the main window shows

//------------------------------------------------------------------------------
// Helpers
//------------------------------------------------------------------------------

// True when the curve takes part in a knot merge: edited or lifted curves.
bool merge_counts(const Curve* member, const Curve* curve) {
  return member != curve &&
         (member->kind == CURVE_KIND_LIFTED || member->kind == CURVE_KIND_RATIONAL);
}

// The curves joined to `curve`, first to last. Join links are followed only
// to curves not yet seen, so inconsistent links cannot loop forever.
std::vector<Curve*> joined_chain(Curve* curve) {
  std::vector<Curve*> seen = {curve};
  Curve* first = curve;
  while (first->joined_prev == 1 && first->prev != nullptr &&
         std::find(seen.begin(), seen.end(), first->prev) == seen.end()) {
    first = first->prev;
    seen.push_back(first);
  }
  std::vector<Curve*> chain = {first};
  for (Curve* c = first; c->joined_next == 1 && c->next != nullptr;) {
    c = c->next;
    if (std::find(chain.begin(), chain.end(), c) != chain.end()) break;
    chain.push_back(c);
  }
  return chain;
}

// Lower and upper end of the knots a closed vector lets the user grab: the
// first p and last p spans only repeat the wrap, so their knots stay fixed.
// The offset puts each end between two values of the bar's step grid.
void closed_valid_range(const Curve* curve, float* lo, float* hi) {
  const int n = curve->knot_count;
  const int p = curve->degree;
  const int lo_index = 2 * p - 1;
  const int hi_index = n - 2 * p;
  *lo = (2 * p > n || lo_index < 0) ? 1.0f : curve->knots[lo_index] + CLOSED_RANGE_OFFSET;
  *hi = (hi_index < 0 || hi_index >= n) ? 0.0f : curve->knots[hi_index] - CLOSED_RANGE_OFFSET;
}

// Points the bar at the current edited curve's arrays, ranges and knot type. Runs before
// every draw and every event: the curve's knot array moves when it grows and
// is freed with the curve, so no pointer may be kept from an earlier call.
void knot_panel_load_bar() {
  Curve* curve = edited_curve;
  const float* rgb = palette.colours[PAL_CURRENT_CURVE];
  std::copy(rgb, rgb + 3, knot_bar.range_colour);
  knot_bar.range_lo = curve->knot_min;
  knot_bar.range_hi = curve->knot_max;

  knot_bar.knot_type = curve->knot_type;
  knot_bar.knot_count = std::min(curve->knot_count, static_cast<int>(curve->knots.size()));
  knot_bar.knots = curve->knots.data();
  knot_bar.merged_count = std::max(0, merge_joined_knots(curve));
  knot_bar.merged_knots = knot_list_curve->knots.data();

  if (curve->wrapped != 0) {
    closed_valid_range(curve, &knot_bar.lo, &knot_bar.hi);
  } else {
    knot_bar.lo = curve->knot_min;
    knot_bar.hi = curve->knot_max;
  }

  // A knot group held across a change of the vector may no longer exist.
  if (knot_bar.drag_mode == KNOT_BAR_KNOT &&
      (knot_bar.drag_index < 0 || knot_bar.drag_index + knot_bar.drag_mult > knot_bar.knot_count))
    knot_bar.drag_mode = KNOT_BAR_NONE;
}

// Hands the bar's value to the curves, so that both views trace the same u.
void knot_panel_relift() {
  edited_curve->trace_u = knot_bar.value;
  curve_lift(edited_curve, lifted_curve);
}

}  // namespace

//------------------------------------------------------------------------------
// Functions
//------------------------------------------------------------------------------

// Concatenates, in chain order, the knots of the curves joined to `curve`.
int merge_joined_knots(Curve* curve) {
  const std::vector<Curve*> chain = joined_chain(curve);
  int total = 0;
  for (const Curve* member : chain)
    if (merge_counts(member, curve)) total += member->knot_count;
  if (total <= 0) return total;

  curve_grow_knots(knot_list_curve, total);
  knot_list_curve->knot_count = total;
  int at = 0;
  for (const Curve* member : chain) {
    if (!merge_counts(member, curve)) continue;
    std::copy(member->knots.begin(), member->knots.begin() + member->knot_count,
              knot_list_curve->knots.begin() + at);
    at += member->knot_count;
  }
  return total;
}

//------------------------------------------------------------------------------
// Callbacks
//------------------------------------------------------------------------------

// Records the panel's size and sets up pixel coordinates with y up.
void knot_panel_reshape(int width, int height) {
  window_reshape(&window_table.win_knots, width, height);
}

// Reloads the bar from the edited curve and draws it in a bevelled pane.
void knot_panel_display() {
  set_clear_colour(COLOUR_PANEL_GREY);
  glClear(GL_COLOR_BUFFER_BIT);
  draw_raised_box(0, 1, VISIBLE_WIDTH - 1, window_table.win_knots.height - 1);
  knot_panel_load_bar();
  knot_bar_draw(&knot_bar, 1);
  glutSwapBuffers();
}

// Passes a button event to the bar; a changed u is handed to both curves.
void knot_panel_mouse(int button, int state, int x, int y) {
  knot_panel_load_bar();
  const float value_before = knot_bar.value;
  knot_bar.changed = 1;
  knot_bar_mouse(&knot_bar, button, state, x, window_y_up(window_table.win_knots.height, y));
  if (knot_bar.value != value_before) knot_panel_relift();
  redisplay("12S");
}

// Passes a drag to the bar; whatever it moved is lifted and shown in all views.
void knot_panel_motion(int x, int y) {
  knot_panel_load_bar();
  knot_bar.changed = 1;
  knot_bar_drag(&knot_bar, x, window_y_up(window_table.win_knots.height, y));
  if (knot_bar.changed == 1) {
    knot_panel_relift();
    redisplay("S12");
  } else {
    redisplay("1");
  }
}
