// End-to-end driver: the real ternival binary on this process's private Xvfb,
// found, driven and looked at only through the X server (window titles, XTest
// input, XGetImage pictures). Positions are pixels from the top-left corner,
// y down, of the screen unless said otherwise: without a window manager every
// top-level window sits exactly where the program puts it.
#pragma once

#include "gl_app.h"

#include <functional>
#include <vector>

struct Win {
  unsigned long id = 0;            // 0: no such window
  int x = 0, y = 0, w = 0, h = 0;  // position in the parent window, size
  bool shown = false;              // viewable
};

class E2e {
 public:
  ~E2e() { stop(); }
  // Starts Xvfb and TERNIVAL_BINARY; true once its main and projection windows show.
  bool start();
  // Waits up to `ms` for the program to end: its exit status (128 + signal
  // when a signal ended it), or -1 while it still runs.
  int status(int ms = 0);
  int stop();  // kills the program if it still runs; its status()

  Win find(const char* title);  // top-level window of exactly this title
  std::vector<Win> children(const Win& parent);

  // Moves the pointer to (x, y), then presses or releases button b (X
  // numbers: 1 left, 3 right; 0 = only move).
  void mouse(int x, int y, int b = 0, bool down = false);
  void drag(int x0, int y0, int x1, int y1);  // left button, in small steps
  void shift(bool down);
  void close(const char* title);  // asks the window to close, as a window manager does

  // A rectangle of the screen (1400 x 1000, see xserver.h) as shown now, rows from the bottom.
  Pixels grab(int x = 0, int y = 0, int w = 1400, int h = 1000);
  // The windows' part of the screen once it stops changing (a bounded wait that
  // fails the test when it gives up).
  Pixels still();
  // Polls the windows' part of the screen until `shows` holds; false if it never does (bounded).
  bool until(const std::function<bool(const Pixels&)>& shows);

 private:
  int pid_ = -1, status_ = -1;
  struct _XDisplay* display_ = nullptr;  // Xlib's Display
};
