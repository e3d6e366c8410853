// A private Xvfb server for one test process or one end-to-end run, so that
// tests never share a screen. Started with -displayfd on a free display.
#pragma once

#include <string>

// Starts Xvfb 1400x1000x24 if this process has none yet, sets DISPLAY to it
// and returns the display name (":N"). Fails the process if Xvfb cannot start.
std::string xserver_start();
// Stops the server started by xserver_start (also done at exit).
void xserver_stop();
