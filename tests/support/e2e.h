// End-to-end helper: runs the real ternival binary on a private Xvfb, finds
// its windows by title, sends real X input through XTest and grabs pictures
// through the X server. Coordinates are a window's own pixels from its
// top-left corner (y down, as X and GLUT count), unless named screen_*.
#pragma once

#include "gl_app.h"

#include <string>
#include <vector>

struct E2eWindow {
  unsigned long id = 0;  // X window id, 0 = not found
  int x = 0, y = 0;      // absolute position of the top-left corner
  int width = 0, height = 0;
  bool mapped = false;  // Map State: IsViewable
};

// Known geometry of the main window's subwindows, in main-window pixels.
constexpr int E2E_PAD_X = 1, E2E_PAD_Y = 1;        // drawing pad
constexpr int E2E_KNOTS_X = 541, E2E_KNOTS_Y = 1;  // knot panel
constexpr int E2E_PANEL_X = 1, E2E_PANEL_Y = 541;  // control panel

class E2eApp {
 public:
  E2eApp() = default;
  E2eApp(const E2eApp&) = delete;
  E2eApp& operator=(const E2eApp&) = delete;
  ~E2eApp();  // stops the program if it still runs

  // Starts Xvfb and the binary (TERNIVAL_BINARY), waits until "2D NURBS Curve"
  // and "3D B-Spline Projection" are mapped. Returns false on failure.
  bool start();
  // Ends the program if it still runs (SIGTERM, then SIGKILL); returns its
  // exit status, 128 + signal when a signal ended it, or -1.
  int stop();
  // True while the process runs; `wait_exit` waits up to ms for it to end and
  // stores its exit status.
  bool running();
  bool wait_exit(int ms, int* status);

  // Finds a top-level window by exact title and reads its geometry and state.
  E2eWindow find(const char* title);
  // Children of a window, in stacking order, with their geometry.
  std::vector<E2eWindow> children(const E2eWindow& parent);

  // Real input at window-relative pixels (y down). button: 1 left, 2 middle, 3 right.
  void move(const E2eWindow& w, int x, int y);
  void press(const E2eWindow& w, int x, int y, int button);
  void release(const E2eWindow& w, int x, int y, int button);
  void click(const E2eWindow& w, int x, int y, int button);
  // Press at (x0, y0), move in `steps` steps to (x1, y1), release.
  void drag(const E2eWindow& w, int x0, int y0, int x1, int y1, int button, int steps = 10);
  void key_down_shift();
  void key_up_shift();
  // Gives the program time to handle events and redraw: waits `ms`, then
  // until the program has stopped using the CPU (at most a few seconds more).
  void settle(int ms = 150);

  // Picture of a window as on screen, rows from the bottom (same Pixels as
  // the GL fixture: at(x, y) with y up from the window's bottom edge).
  Pixels grab(const E2eWindow& w);
  // Picture of a window once it shows pure red (the axis letters of the pad
  // and the projection window), polling up to about 3 s: the program draws
  // its first frames a little after the windows map.
  Pixels grab_when_drawn(const E2eWindow& w);

 private:
  int pid_ = -1;             // the program's process, -1 once reaped
  bool exited_ = false;      // true once the process has been reaped
  int exit_status_ = -1;     // exit code, or 128 + signal when killed
  void* display_ = nullptr;  // Display*
};
