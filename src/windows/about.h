// About window "About Ternival": the About text and a "Dismiss" button.
// Window pixels with y up. Callbacks registered at start-up.
#pragma once

#include "widgets/button.h"

extern Button btn_dismiss;

void about_reshape(int width, int height);
void about_display();
void about_mouse(int button, int state, int x, int y);
