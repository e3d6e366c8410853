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
// The page's pixels merged into few rectangles against each primitive's own rectangles: every
// canvas redrawn both ways must hold the same bytes.
async function merge_check(io) {
  const redrawn = async on => {
    await io.page.evaluate(m => { window.ternival.merge(m), window.ternival.redrawAll(); }, on);
    return io.windows();
  };
  const merged = await redrawn(true), own = await redrawn(false);
  await io.page.evaluate(() => window.ternival.merge(true));
  const differ = own.filter((c, i) => !c.rgba.equals(merged[i].rgba)).map(c => c.title);
  return differ.length ? `, with each primitive's own rectangles ${differ.join(', ')} FAIL` : '';
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
      results[k] = `${scene.name} ${scene_compare(scene.name, picture, PNG)}${await merge_check(io)}`;
    }
  }));
} finally {
  await Promise.all(browsers.map(b => b.close()));
  server.close();
}
console.log(`worst window of each scene, in differing pixels: ${results.join(', ')}`);
process.exit(results.some(r => r.endsWith('FAIL')) || !results.length ? 1 : 0);
