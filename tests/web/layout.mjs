// tests/layout.txt read once for the browser tests: where each window stands on the screen, the
// part of it a user sees, and the named widgets, turned into desktop pixels (y down).
import { readFileSync } from 'node:fs';

const TEXT = readFileSync(new URL('../layout.txt', import.meta.url), 'utf8');
// Windows whose GLUT y of window row y_up is H - 1 - y_up; the others use H - y_up.
const ROW_FROM_TOP = ['panel', 'new'];

export const windows = {};
export const widgets = {};
for (const line of TEXT.split('\n')) {
  const [kind, name, ...rest] = line.replace(/#.*/, '').trim().split(/\s+/);
  const n = rest.map(Number);
  if (kind === 'window') windows[name] = { name, x: n[0], y: n[1], w: n[2], h: n[3] };
  if (kind === 'visible') windows[name].visible = { x: n[0], y: n[1], w: n[2], h: n[3] };
  if (kind === 'widget') widgets[name] = { win: rest[0], x1: n[1], y1: n[2], x2: n[3], y2: n[4] };
}
for (const w of Object.values(windows)) w.visible ||= { x: 0, y: 0, w: w.w, h: w.h };

// The window's GLUT y of window row y_up.
export const glut_y = (win, y_up) =>
  windows[win].h - (ROW_FROM_TOP.includes(win) ? 1 : 0) - y_up;
// The desktop pixel of window pixel (x, y_up).
export const screen = (win, x, y_up) => [windows[win].x + x, windows[win].y + glut_y(win, y_up)];
// The centre of a widget in its window's pixels, y up.
export const centre = name => {
  const r = widgets[name];
  return [Math.trunc((r.x1 + r.x2) / 2), Math.trunc((r.y1 + r.y2) / 2)];
};
// The visible part of a window as a desktop rectangle {x, y, w, h}, y down, within its top-level
// window (the control panel is a pixel wider than the main window).
export function visible_rect(win) {
  const { x, y, h, visible: v } = windows[win], top = windows[top_level(win)];
  const x0 = x + v.x, y0 = y + h - v.y - v.h;
  return { x: x0, y: y0, w: Math.min(v.w, top.x + top.w - x0),
    h: Math.min(v.h, top.y + top.h - y0) };
}
// The top-level window a window is drawn in: the main window holds the pad and both panels.
export const top_level = win => (['pad', 'knots', 'panel'].includes(win) ? 'main' : win);
