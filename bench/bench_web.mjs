// The browser build's speed beside the desktop's, run by scripts/bench-web: the redraw of
// every shown window for bench_frames' typical and worst scenes, the gzipped download and the
// time to the first picture. The scenes are built in the page with real input (the points of
// bench_frames' ring, all of weight 1); the desktop figures are bench_frames' and
// bench_startup's medians, read from their JSON output.
// The page's time is ternival.redrawAll() and a pixel read back from every canvas.
// Usage: node bench/bench_web.mjs <bench_frames.json> <bench_startup.json>
import { existsSync, readFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { join } from 'node:path';
import { browser_start, page_open, require_tools, web_serve, WEB_DIR }
  from '../tests/web/harness.mjs';

const REDRAWS = 40;  // timed redraws per scene; the median is shown
const LOADS = 5;     // page loads timed to their first picture
const WINDOWS = ['pad', 'projection', 'knot_panel', 'control_panel'];
const SCENES = {
  typical: { points: 8, degree: [309, 276], knots: null, u: 0.37, selected: 1 },
  worst: { points: 100, degree: [372, 301], knots: [372, 228], u: 0.503, selected: 6 },
};
const RING_RADIUS = 2.4, RING_WAVES = 5;  // pad units, as bench_frames' ring
const PAD_PIXELS = 541, PAD_UNITS = 6;
const THUMB = [599, 477], THUMB_PIXELS_PER_U = 420;  // knot bar thumb at u = 0, its travel
const panel = (x, yUp) => [1 + x, 541 + 614 - yUp];  // control panel widgets, y up
const NEW_BUTTON = panel(360, 589), OK = [227, 334];
const SHOW_DEBOOR = panel(255, 599), SHOW_POINTS = panel(255, 576);

const UNITS_PER_MS = { ns: 1e6, us: 1e3, ms: 1, s: 1e-3 };  // Google Benchmark's time units
const median = list => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];

// Where a click on the pad puts the pad point (x, y).
function pad_spot(x, y) {
  const scale = PAD_PIXELS / PAD_UNITS, centre = (PAD_PIXELS - 1) / 2;
  return [1 + Math.floor(centre + 0.5 + x * scale),
    PAD_PIXELS - Math.floor(centre + 0.5 + y * scale)];
}

// A new curve of the scene's degree and knots, its ring of points, u, de Boor and its points
// shown, and the scene's points selected.
async function scene_build(io, scene) {
  await io.tap(...NEW_BUTTON), await io.settle();
  await io.tap(...scene.degree);
  if (scene.knots) await io.tap(...scene.knots);
  await io.tap(...OK), await io.settle();
  const spots = [];
  for (let i = 0; i < scene.points; ++i) {
    const a = 2 * Math.PI * i / scene.points;
    const r = RING_RADIUS * (0.75 + 0.25 * Math.sin(RING_WAVES * a));
    spots.push(pad_spot(r * Math.cos(a), r * Math.sin(a)));
    await io.tap(...spots[i], 'right');
  }
  await io.press(...THUMB);
  await io.move(THUMB[0], THUMB[1] - 10);
  await io.release(THUMB[0], Math.round(THUMB[1] - scene.u * THUMB_PIXELS_PER_U));
  await io.tap(...SHOW_DEBOOR), await io.tap(...SHOW_POINTS);
  await io.tap(...spots[0]);
  await io.shift(true);
  const gap = Math.floor(scene.points / scene.selected);
  for (let e = 1; e < scene.selected; ++e) await io.tap(...spots[e * gap]);
  await io.shift(false);
  await io.settle();
}

// The desktop's median of each named benchmark, in ms.
function desktop_medians(file) {
  const medians = {};
  if (!existsSync(file)) return medians;
  for (const b of JSON.parse(String(readFileSync(file)).replace(/\bNaN\b/g, 'null')).benchmarks)
    if (b.aggregate_name === 'median')
      medians[b.run_name] = b.real_time / UNITS_PER_MS[b.time_unit];
  return medians;
}

await require_tools();
const frames = desktop_medians(process.argv[2]), startup = desktop_medians(process.argv[3]);
const { url, server } = await web_serve();
const browser = await browser_start();
const rows = [];
try {
  for (const [name, scene] of Object.entries(SCENES)) {
    const io = await page_open(browser, url);
    await scene_build(io, scene);
    const times = await io.page.evaluate(n => Array.from({ length: n }, () => {
      // As the desktop's glFinish: a pixel read from each canvas waits for WebGL's drawing.
      const start = performance.now(), pixel = new Uint8Array(4);
      const issued = window.ternival.redrawAll();
      // Hidden windows have no WebGL context until first shown: asking for one would make one.
      for (const canvas of document.querySelectorAll('canvas[data-window]')) {
        if (canvas.parentElement.style.display === 'none') continue;
        const gl = canvas.getContext('webgl');
        gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
      }
      return [issued, performance.now() - start];
    }), REDRAWS);
    const desktop = WINDOWS.reduce((sum, w) => sum + frames[`frame/${w}/${name}`], 0);
    rows.push([`${name} scene: redraw of every window, until drawn`, median(times.map(t => t[1])),
      desktop, 'ms']);
    rows.push([`${name} scene: of which callbacks and flush`, median(times.map(t => t[0])),
      undefined, 'ms']);
    await io.page.close();
  }
  const firsts = [];
  for (let i = 0; i < LOADS; ++i) {
    const io = await page_open(browser, url);
    firsts.push(await io.page.evaluate(() => window.ternival.firstFrameMs));
    await io.page.close();
  }
  rows.push(['first picture: page load (warm) / program launch', median(firsts),
    Object.entries(startup).find(([name]) => name.startsWith('startup/'))?.[1], 'ms']);
  const gzipped = ['ternival.wasm', 'ternival.js'].reduce((sum, f) =>
    sum + gzipSync(readFileSync(join(WEB_DIR, f)), { level: 9 }).length, 0);
  rows.push(['ternival.wasm + ternival.js, gzipped', gzipped / 1024, undefined, 'KB']);
} finally {
  await browser.close();
  server.close();
}
const cell = v => (v === undefined ? '-' : v.toFixed(v < 10 ? 2 : 1)).padStart(9);
console.log(`${'measure'.padEnd(56)}${'browser'.padStart(9)}${'desktop'.padStart(9)}  ratio`);
for (const [label, web, desk, unit] of rows)
  console.log(`${label} (${unit})`.padEnd(56) + cell(web) + cell(desk) +
    (desk ? `  ${(web / desk).toFixed(1)}x` : ''));
