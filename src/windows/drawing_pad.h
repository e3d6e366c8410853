// Drawing pad: the square subwindow where the user adds, picks and drags the
// edited curve's control points. Pad units run from -3 to 3 on both axes;
// mouse positions are window pixels. Callbacks registered at start-up.
#pragma once

constexpr int PICK_RADIUS = 8;  // pixels from a point's projection that still pick it

extern int pad_mode;      // 11 after a right press, 3 after a left pick, 2 after a middle pick
extern int picked_point;  // index hit by the last left or middle press, -1 = none
extern int drag_last_x;   // window x of the last press or drag step
extern int drag_last_y;   // window y (up) of the same

void pad_reshape(int width, int height);
void pad_display();
void pad_mouse(int button, int state, int x, int y);
void pad_motion(int x, int y);
