// Window-by-window comparison of the page's pictures with pictures of the desktop build (a screen
// read or a reference PNG). A window passes with at most MAX_DIFFERING differing pixels, none of
// them where either picture has a colour that must come out exactly: texts, control points, edges.
import { top_level, visible_rect, windows as LAYOUT } from './layout.mjs';

export const MAX_DIFFERING = 10;  // measured: the page and the desktop differ by 0 to 3 pixels
const PRINTED = 60;               // differing pixels printed for a failing window at most

// Colours that must come out exactly: texts, control points, widget bevels and frames.
const TEXT = ['0,0,0', '0,0,255', '255,0,0', '0,128,255'];
const POINTS = ['36,36,143', '0,255,0'];
const BEVELS = ['255,255,255', '84,84,84'];
// The pad's pure blue is its curve line, not text: its texts are the index labels and the
// axis letters, and its dark ball is the tracing point.
const EXACT = { pad: ['0,0,0', '255,0,0', '0,128,255', ...POINTS], proj: POINTS };
const exact = win => EXACT[win] || [...TEXT, ...BEVELS];
// The subwindows of a window from the bottom up: the pad, made last, covers a column of the knot
// panel and a row of the control panel, which covers a row of the knot panel.
const SUBWINDOWS = { main: ['knots', 'panel', 'pad'] };
const holds = (r, x, y) => x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;

// The page's windows (harness page_windows) as a picture: the layout windows shown, from the
// bottom of the stack up, and the RGB of a desktop pixel in the canvas of a window.
export function page_picture(list) {
  const tops = list.map(c => ({ ...c, name: Object.keys(LAYOUT).find(n => ['x', 'y', 'w', 'h']
    .every(k => LAYOUT[n][k] === c[k])) }));
  const shown = tops.flatMap(t => SUBWINDOWS[t.name] || [t.name]);
  const canvas = {}, above = {}, sibling_above = {};
  for (const win of shown) {
    const siblings = SUBWINDOWS[top_level(win)] || [];
    canvas[win] = tops.find(t => t.name === top_level(win));
    sibling_above[win] = siblings.slice(siblings.indexOf(win) + 1).map(visible_rect);
    above[win] = tops.slice(tops.indexOf(canvas[win]) + 1);
  }
  const rgb = (win, x, y) => {
    const c = canvas[win], i = ((y - c.y) * c.w + x - c.x) * 4;
    return [c.rgba[i], c.rgba[i + 1], c.rgba[i + 2]];
  };
  // Whether a window above win covers desktop pixel (x, y): a later subwindow of the same window
  // or, with others, a window higher in the stack.
  const covered = (win, x, y, others = true) => sibling_above[win].some(r => holds(r, x, y)) ||
    (others && above[win].some(t => holds(t, x, y)));
  return { shown, rgb, covered };
}

// Compares window win's visible part: got(x, y) and want(x, y) give the RGB of desktop pixel
// (x, y), skip(x, y) leaves out a pixel. Prints a line and returns the number of differing pixels,
// and whether the window passes: {differ, ok}.
export function window_compare(label, win, got, want, skip = () => false) {
  const r = visible_rect(win), colours = exact(win), differing = [];
  let critical = 0;
  for (let y = r.y; y < r.y + r.h; ++y)
    for (let x = r.x; x < r.x + r.w; ++x) {
      if (skip(x, y)) continue;
      const a = got(x, y), b = want(x, y);
      if (a[0] === b[0] && a[1] === b[1] && a[2] === b[2]) continue;
      const on = colours.includes(a.join(',')) || colours.includes(b.join(','));
      critical += on;
      differing.push(`(${x},${y}) page ${a} want ${b}${on ? ' EXACT' : ''}`);
    }
  const ok = differing.length <= MAX_DIFFERING && critical === 0;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${label}: ${win}: ${differing.length} pixels differ, ` +
    `${critical} of them on a text, point or edge`);
  if (!ok) console.log(differing.slice(0, PRINTED).map(d => `     ${d}`).join('\n'));
  return { differ: differing.length, ok };
}
