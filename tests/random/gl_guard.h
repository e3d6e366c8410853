// Guard around the GL entry points the program calls with coordinates: the
// random-event test links with -Wl,--wrap for each of them, so every call from
// the program passes through a check of its numbers before it reaches GL.
// Also the seam for the modifier keys and for exit() during a random run.
#pragma once

// Number of guarded calls that carried a non-finite number, and the name of
// the first such call (null while there is none).
extern long gl_guard_faults;
extern const char* gl_guard_first_fault;

// Modifier state (GLUT_ACTIVE_* bits) that glutGetModifiers reports while it is
// 0 or more; -1 passes the call on to GLUT, which knows modifiers only inside
// real input callbacks.
extern int gl_guard_modifiers;

// While set, a call of exit() from the program is a failure: the message is
// printed and the process aborts instead of ending with a success status.
extern const char* gl_guard_exit_context;

// Clears the fault count and the first fault.
void gl_guard_reset();
