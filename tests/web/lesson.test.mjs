// The lesson of tests/e2e/lesson_e2e.cpp given twice with real input, to the page (DevTools
// protocol input) and to the desktop build (X input on a private Xvfb), at the same desktop
// pixels; at four moments every shown window's picture in the page is compared with the
// desktop's. Usage: node lesson.test.mjs [desktop ternival binary]
import { browser_start, page_open, require_tools, web_serve } from './harness.mjs';
import { desktop_start } from './desktop.mjs';

const BINARY = process.argv[2] || process.env.TERNIVAL_BINARY ||
  new URL('../../build/test/ternival', import.meta.url).pathname;
const MAX_DIFFERING = 0.005;  // share of a window's visible pixels that may differ
const DRAG_STEPS = 12;

// Colours that must come out exactly: texts, control points, widget bevels and frames.
const TEXT = ['0,0,0', '0,0,255', '255,0,0', '0,128,255'];
const POINTS = ['36,36,143', '0,255,0'];
const BEVELS = ['255,255,255', '84,84,84'];
// The kind of picture at a desktop pixel of a window, and the colours that matter there:
// the main window holds the pad (1..541 square), the knot panel right of it, the control
// panel below.
function part(title, x, y) {
  if (title === '3D B-Spline Projection') return ['3D view', POINTS];
  if (title !== '2D NURBS Curve') return [title, [...TEXT, ...BEVELS]];
  if (y >= 541) return ['control panel', [...TEXT, ...BEVELS]];
  if (x >= 541) return ['knot panel', [...TEXT, ...BEVELS]];
  return ['pad', [...TEXT, ...POINTS]];
}

const panel = (x, yUp) => [1 + x, 541 + 614 - yUp];  // control panel widgets, y up

async function drag(io, x0, y0, x1, y1) {
  await io.press(x0, y0);
  for (let i = 1; i <= DRAG_STEPS; ++i)
    await io.move(x0 + Math.trunc((x1 - x0) * i / DRAG_STEPS),
      y0 + Math.trunc((y1 - y0) * i / DRAG_STEPS));
  await io.release(x1, y1);
}

// The lesson; snap(label) is called where the pictures are compared.
async function lesson(io, snap) {
  for (const [x, y] of [[101, 401], [221, 101], [401, 131], [481, 381]])
    await io.tap(x, y, 'right');
  await drag(io, 221, 101, 221, 161);
  await io.shift(true), await io.tap(401, 131), await io.shift(false);
  for (let i = 0; i < 10; ++i) await io.tap(...panel(205, 572));  // weight up to 2
  await io.tap(...panel(255, 599));                               // Show DeBoor
  await io.tap(598, 47);                                          // knot panel "Up"
  await drag(io, 599, 477, 599, 372);                             // thumb to u = 0.25
  await snap('de Boor at u = 0.25');
  await io.tap(...panel(425, 589));
  await snap('About shown');
  await io.tap(800, 672), await io.settle();                      // Dismiss
  await io.tap(...panel(360, 589));
  await snap('new-curve window');
  for (const [x, y] of [[309, 276], [372, 228], [227, 334]]) await io.tap(x, y);  // 3, Closed, OK
  await io.settle();
  for (const [x, y] of [[443, 218], [274, 91], [101, 213], [163, 415], [375, 418]])
    await io.tap(x, y, 'right');
  // Each redraw during a drag turns the view by the last motion's step: one redraw, then let go.
  await io.press(900, 400), await io.move(915, 405), await io.settle(), await io.release(915, 405);
  await snap('closed cubic, 3D view turned');
}

// Compares each window of the page with the same rectangle of the desktop's screen, leaving
// out what windows above it cover; prints a line per window and returns whether all passed.
function compare(label, windows, screen, desktop) {
  const covers = (w, x, y) => x >= w.x && y >= w.y && x < w.x + w.w && y < w.y + w.h;
  return windows.map((win, k) => {
    let shown = 0, differ = 0, box = [Infinity, Infinity, -1, -1];
    const parts = {}, critical = [];
    for (let y = win.y; y < win.y + win.h; ++y)
      for (let x = win.x; x < win.x + win.w; ++x) {
        if (windows.slice(k + 1).some(above => covers(above, x, y))) continue;
        ++shown;
        const i = ((y - win.y) * win.w + (x - win.x)) * 4;
        const want = desktop.rgb(screen, x, y), got = [...win.rgba.subarray(i, i + 3)];
        if (want.every((v, c) => v === got[c])) continue;
        ++differ;
        box = [Math.min(box[0], x), Math.min(box[1], y), Math.max(box[2], x), Math.max(box[3], y)];
        const [name, colours] = part(win.title, x, y);
        parts[name] = (parts[name] || 0) + 1;
        if (colours.includes(want.join(','))) critical.push(`(${x},${y}) ${want} -> ${got}`);
      }
    const ok = differ <= MAX_DIFFERING * shown && critical.length === 0;
    const where = differ ?
      ` in x ${box[0]}..${box[2]}, y ${box[1]}..${box[3]} ${JSON.stringify(parts)}` : '';
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${label}: ${win.title}: ${differ} of ${shown} pixels ` +
      `(${(100 * differ / shown).toFixed(3)} %) differ${where}; ${critical.length} on a text, ` +
      `point or edge ${critical.slice(0, 5).join(' ')}`);
    return ok;
  }).every(Boolean);
}

await require_tools(['/usr/bin/Xvfb', '/usr/bin/xdotool', '/usr/bin/import']);
const { url, server } = await web_serve();
const browser = await browser_start();
const desktop = await desktop_start(BINARY);
let passed = true;
try {
  const page = await page_open(browser, url);
  const shots = [];
  await lesson(desktop, async () => shots.push(await desktop.settle()));
  let n = 0;
  await lesson(page, async label => {
    await page.settle();
    passed = compare(label, await page.windows(), shots[n++], desktop) && passed;
  });
} finally {
  desktop.stop();
  await browser.close();
  server.close();
}
process.exit(passed ? 0 : 1);
