// Window creation: the one place that knows every window and registers its
// callbacks. Called by main, and by tests that build the real windows without
// entering the main loop.
#pragma once

// Creates the seven windows in their fixed order with their callbacks and the
// three quadrics. GLUT must be initialised and the curves created first.
void create_windows();

// GLUT display mode of every window.
unsigned int startup_display_mode();
