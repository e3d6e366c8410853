// Random-event session: seeded random gestures delivered straight to every
// window's mouse and motion callbacks, the display callbacks of every window
// run every few dozen events, and the program's invariants checked after each
// event. Positions are GLUT's: window pixels from the top-left corner.
#pragma once

#include <cstdint>
#include <string>

// Relative weights of the gestures a session draws from; 0 leaves one out.
struct EventMix {
  int pad;         // presses, drags and releases of every button on the drawing pad
  int bulk_add;    // runs of right presses that grow the curve, up to 100 points and past
  int panel;       // presses and releases on and around the control panel's widgets
  int weights;     // weight slider dragged to -3, near 0, 10 or anywhere; "  Reset"
  int knots;       // knot marks, thumb and step boxes of the knot bar
  int new_curve;   // "   New", a degree, a knot type, then "OK" or "Cancel"
  int about;       // " About", presses in the About window, "Dismiss"
  int projection;  // rotation drags and other buttons in the projection window
  int stray;       // lone motions and releases anywhere, outside every window too
};

struct SessionResult {
  long events = 0;        // callbacks delivered
  long displays = 0;      // rounds of every window's display callback
  int largest_curve = 0;  // most control points the edited curve had
  long new_curves = 0;    // "OK" actions completed
  std::string failure;    // empty when every invariant held; else seed, event and reason
};

// Runs `events` events from `seed` with the given mix on the real windows
// (gl_app_start must have run). Stops at the first broken invariant.
SessionResult random_session_run(uint64_t seed, long events, const EventMix& mix);

// Every invariant of the program's state; empty when all hold, else the first
// broken one. Also usable from hand-written scenarios.
std::string random_session_check();

// Runs the display callback of every window, each made current first.
void random_session_display_all();
