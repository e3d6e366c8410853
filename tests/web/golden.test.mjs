// The golden scenes of tests/golden/scenes.txt played in the page with real input, each in a fresh
// page, and every shown window compared with the desktop's reference picture of that scene,
// tests/golden/<scene>.<window>.png. Usage: node golden.test.mjs [scene ...] (all by default).
import { existsSync, readFileSync } from 'node:fs';
import { browser_start, drag_path, gesture, page_open, require_tools, web_serve }
  from './harness.mjs';
import { page_picture, window_compare } from './compare.mjs';
import { centre, visible_rect, windows } from './layout.mjs';

const GOLDEN = new URL('../golden/', import.meta.url).pathname;
const BUTTONS = ['left', 'middle', 'right'];
const DRAG_STEPS = 8;

// The scenes: [{name, gestures}], each line of a scene one gesture.
function scenes_read() {
  const scenes = [];
  for (const text of readFileSync(`${GOLDEN}scenes.txt`, 'utf8').split('\n')) {
    const words = text.replace(/#.*/, '').trim().split(/\s+/).filter(Boolean);
    if (words[0] === 'scene') scenes.push({ name: words[1], gestures: [] });
    if (!words.length || words[0] === 'scene') continue;
    const [verb, win, ...rest] = words, path = [];
    while (path.length < (verb === 'drag' ? 2 : 1)) {
      const at = rest.shift(), widget = at.match(/^@(\w+)([+-]\d+)?([+-]\d+)?$/);
      if (!widget) path.push([Number(at), Number(rest.shift())]);
      else path.push(centre(widget[1]).map((v, i) => v + Number(widget[i + 2] || 0)));
    }
    const steps = /^\d+$/.test(rest[0]) ? Number(rest.shift()) : DRAG_STEPS;
    scenes.at(-1).gestures.push({ win, shift: rest.includes('shift'),
      button: BUTTONS.find(b => rest.includes(b)) || 'left',
      path: verb === 'drag' ? drag_path(...path, steps) : path,
      down: ['click', 'press', 'drag'].includes(verb),
      up: ['click', 'release', 'drag'].includes(verb) });
  }
  return scenes;
}

// A reference picture as RGB of desktop pixels, or null when there is none.
function reference(scene, win, PNG) {
  const file = `${GOLDEN}${scene}.${win}.png`;
  if (!existsSync(file)) return null;
  const png = PNG.sync.read(readFileSync(file)), r = visible_rect(win);
  return (x, y) => {
    const i = ((y - r.y) * png.width + x - r.x) * 4;
    return [png.data[i], png.data[i + 1], png.data[i + 2]];
  };
}

await require_tools();
const { PNG } = await import('pngjs');
const chosen = process.argv.slice(2);
const scenes = scenes_read().filter(s => !chosen.length || chosen.includes(s.name));
const { url, server } = await web_serve();
const results = [];
// Compares the page's windows with the scene's references: the worst window's count of differing
// pixels, and FAIL if one fails.
function scene_compare(scene, picture, PNG) {
  let worst = 0, failed = false;
  for (const win of Object.keys(windows).filter(w => w !== 'main')) {
    const want = reference(scene, win, PNG), shown = picture.shown.includes(win);
    if (want && shown) {
      const { differ, ok } = window_compare(scene, win, (x, y) => picture.rgb(win, x, y), want,
        (x, y) => picture.covered(win, x, y, false));
      worst = Math.max(worst, differ), failed ||= !ok;
    } else if (want || shown) {
      console.log(`FAIL ${scene}: ${win} is ${shown ? '' : 'not '}shown in the page and has ` +
        `${want ? 'a' : 'no'} reference`);
      failed = true;
    }
  }
  return `${worst}${failed ? ' FAIL' : ''}`;
}
// The page's three ways of drawing, each redrawing every canvas: WebGL rectangles merged and
// each primitive's own must give the same bytes; windows drawn on the CPU and sent as images
// may differ from them only where the images hold the desktop's colour (the CPU takes a depth
// at each pixel centre, as the desktop does, where WebGL interpolates a rectangle's corners).
async function ways_check(io, scene) {
  const redrawn = async (frame, merge) => {
    await io.page.evaluate((f, m) => {
      window.ternival.frame(f), window.ternival.merge(m), window.ternival.redrawAll();
    }, frame, merge);
    return io.windows();
  };
  const merged = await redrawn(false, true), own = await redrawn(false, false);
  const images = await redrawn(true, true);
  const failed = own.filter((c, i) => !c.rgba.equals(merged[i].rgba))
    .map(c => `, with each primitive's own rectangles ${c.title} FAIL`);
  const cpu = page_picture(images), gl = page_picture(merged);
  for (const win of cpu.shown) {
    const want = reference(scene, win, PNG), r = visible_rect(win);
    for (let y = r.y, wrong = 0; y < r.y + r.h && !wrong; ++y)
      for (let x = r.x; x < r.x + r.w && !wrong; ++x) {
        const a = cpu.rgb(win, x, y), b = gl.rgb(win, x, y);
        if (cpu.covered(win, x, y, false) || a.every((v, k) => v === b[k])) continue;
        wrong = !want || !a.every((v, k) => v === want(x, y)[k]);
        if (wrong) failed.push(`, as images ${win} (${x},${y}) ${a} not ${b} FAIL`);
      }
  }
  return failed.join('');
}
// WORKERS pages take the scenes in turn, each scene from a reload; each page has a browser of its
// own, as a page behind another draws no frames.
const WORKERS = 2;
const browsers = await Promise.all(Array.from({ length: WORKERS }, browser_start));
try {
  let next = 0;
  await Promise.all(browsers.map(async browser => {
    for (let io = null; next < scenes.length;) {
      const k = next++, scene = scenes[k];
      io = await page_open(browser, url, 'mouse', io && io.page);
      for (const g of scene.gestures) await gesture(io, g);
      await io.settle();
      const picture = page_picture(await io.windows());
      results[k] = `${scene.name} ${scene_compare(scene.name, picture, PNG)}${await ways_check(io, scene.name)}`;
    }
  }));
} finally {
  await Promise.all(browsers.map(b => b.close()));
  server.close();
}
console.log(`worst window of each scene, in differing pixels: ${results.join(', ')}`);
process.exit(results.some(r => r.endsWith('FAIL')) || !results.length ? 1 : 0);
