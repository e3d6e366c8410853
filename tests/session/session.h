// Shared by the files of the session test: the model that the events drive, the
// program's windows as the session sees them, the checks run after each event
// (state.cpp) and the delivery of one event (session_test.cpp), which the golden
// scenes also use.
#pragma once

#include "session/model.h"
#include "support/gl_app.h"

#include "app/shell.h"

#include <string>

namespace session {

using namespace model;

struct Window {
  WindowEntry* entry;
  void (*mouse)(int, int, int, int);
  void (*motion)(int, int);
  void (*display)();
};
extern Window windows[WINDOWS];
extern const char* const NAMES[WINDOWS];

extern Model m;
extern std::string failure;  // the first check that failed, with its event
extern long events;          // events delivered so far
extern int modifiers;        // what glutGetModifiers tells the program

// Keeps the first failure only: later ones follow from it.
void fail(const std::string& why);
void compare_state();
void check_pad(const Pixels& p);

// One GLUT event to window w and to the model (state -1: a motion), then every check.
void send(Win w, int button, int state, int x, int y, int mods = 0);
// GLUT's y (rows from the top) of window row y_up.
int glut_y(Win w, int y_up);

}  // namespace session
