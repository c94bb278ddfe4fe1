// The browser page in headless Chromium: the single file over file:// and the
// served files over http://127.0.0.1. Prints one line per check and then
// "N passed, N failed"; exits 1 on any failure.
//   node page.test.js BUILD_WEB_DIR [CHROMIUM]
'use strict';
const path = require('path');
const { launch, serve, canvasState } = require('./browser');

const build = path.resolve(process.argv[2] || 'build-web');
let passed = 0, failed = 0;
function check(name, ok, detail) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${name}${detail ? ` (${detail})` : ''}`);
  ok ? ++passed : ++failed;
}

// Pixels a single chain colour paints from black are all steps of one fade, each
// channel rising with the number of steps: any two are ordered channel by
// channel. Sorted, the colours whose successor is not at least as bright in
// every channel are the breaks in that order: none for one colour, many once
// the colour changes frame after frame.
function breaks(colours) {
  const sorted = [...colours].sort((a, b) => a - b); // by red, then green, then blue
  let n = 0;
  for (let i = 1; i < sorted.length; ++i) {
    const a = sorted[i - 1], b = sorted[i];
    if (((a >> 8) & 255) > ((b >> 8) & 255) || (a & 255) > (b & 255)) ++n;
  }
  return n;
}

async function open(browser, url, errors) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 720 } });
  page.on('console', m => m.type() === 'error' && errors.push(`${url}: ${m.text()}`));
  page.on('pageerror', e => errors.push(`${url}: ${e.message}`));
  await page.goto(url);
  await page.waitForFunction(() => window.Module && Module.presents > 0, null, { timeout: 10000 });
  return page;
}

const seconds = s => new Promise(resolve => setTimeout(resolve, s * 1000));

// The canvas half a second into the run and 2 s later. A frozen clock lights
// nothing new (it fades the same hundred pixels, at most); only a moving chain
// lights more.
async function growing(page, name) {
  await seconds(0.5);
  const start = await canvasState(page);
  await seconds(2);
  const later = await canvasState(page);
  check(`${name}: the lit area grows over 2 s`, later.lit > start.lit * 1.05,
        `${start.lit} -> ${later.lit} pixels`);
  return [start, later];
}

async function main() {
  const browser = await launch(process.argv[3]);
  const server = await serve(path.join(build, 'site'));
  const errors = [];
  try {
    // The single file from disk, seeded, at the default letter (800x600).
    const file = await open(browser, `file://${build}/tessaline.html?seed=7`, errors);
    const [start, later] = await growing(file, 'file://');
    check('file://: an 800x600 canvas', start.width === 800 && start.height === 600,
          `${start.width}x${start.height}`);
    // Far below the 6 s a chain needs to turn far enough to change colour by itself.
    check('file://: one colour before Enter', breaks(later.colours) === 0,
          `${breaks(later.colours)} breaks`);
    // The program's picture: every pixel it passed at rest, far brighter than the
    // feathered threads the same chain draws with one fade a frame.
    const thin = await open(browser, `file://${build}/tessaline.html?seed=7&feathered=1`, errors);
    await seconds(2.5);
    const feathered = await canvasState(thin);
    await thin.close();
    check('file://: brighter than the feathered look',
          later.brightness > 2 * feathered.brightness && feathered.lit > 0,
          `${later.brightness.toFixed(1)} against ${feathered.brightness.toFixed(1)}`);
    // A new colour each frame while held: a hundred at the default pace, fewer on
    // a loaded machine, but never the none of one colour.
    await file.keyboard.down('Enter');
    await seconds(1);
    await file.keyboard.up('Enter');
    const held = await canvasState(file);
    check('file://: Enter recolours while held', breaks(held.colours) >= 10,
          `${breaks(held.colours)} breaks`);

    await file.keyboard.press('Escape');
    await file.waitForFunction(() => /exit code 0/.test(document.getElementById('status').textContent),
                               null, { timeout: 5000 }).catch(() => {});
    const said = await file.evaluate(() => document.getElementById('status').textContent);
    const [presents, stopped] = [await file.evaluate(() => Module.presents), await canvasState(file)];
    await seconds(1);
    const after = await canvasState(file);
    check('file://: Esc ends the program, the page says so', /exit code 0/.test(said), said);
    check('file://: no frames after Esc',
          after.lit === stopped.lit && await file.evaluate(() => Module.presents) === presents,
          `${stopped.lit} -> ${after.lit} pixels`);

    // The served files, at letter a, with the same seed.
    const port = server.address().port;
    const served = await open(browser, `http://127.0.0.1:${port}/?res=a&seed=7`, errors);
    const [first, second] = await growing(served, 'http');
    const box = await served.evaluate(() => document.getElementById('canvas').getBoundingClientRect().toJSON());
    check('http: ?res=a gives a 320x240 canvas', first.width === 320 && first.height === 240,
          `${first.width}x${first.height}`);
    check('http: shown 4:3, the viewport\'s height, centred',
          Math.abs(box.height - 720) < 1 && Math.abs(box.width - 960) < 1 && Math.abs(box.x - 160) < 1,
          `${box.width}x${box.height} at ${box.x},${box.y}`);
    // Same seed, same first colour: both pages' pixels are steps of one fade, most
    // of them the very same steps (pages of two colours share next to none).
    const both = later.colours.filter(c => second.colours.includes(c)).length;
    const fewer = Math.min(later.colours.length, second.colours.length);
    check('?seed=7 twice: the same colour',
          fewer > 0 && both >= fewer / 2 && breaks([...later.colours, ...second.colours]) === 0,
          `${both} of ${fewer} colours shared, ${breaks([...later.colours, ...second.colours])} breaks`);
  } finally {
    check('no console errors', errors.length === 0, errors.join('; '));
    server.close();
    await browser.close();
  }
}

main()
  .catch(e => check('the run', false, e.stack || String(e)))
  .finally(() => {
    console.log(`${passed} passed, ${failed} failed`);
    process.exitCode = failed ? 1 : 0;
  });
