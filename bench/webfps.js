// The browser rows of scripts/bench.sh, in headless Chromium:
//   node bench/webfps.js FPS_PAGE PAGE SECONDS OUT_DIR [CLK_TCK [SEED]]
// For letters a and e, FPS_PAGE (tessaline-fps.html, which quits after its
// seconds and prints its frames line to the console) at ?delay=0: the frames line
// and the presents the page counted, into OUT_DIR/fps-web-LETTER.txt. Then PAGE
// (tessaline.html) at the default pace, with the feathered look and at ?delay=0,
// and beside them an empty page that only asks for animation frames (what any
// page that draws costs the browser): the share of a core all of Chromium's
// processes take over SECONDS after a second's start, and the picture's lit
// pixels and their mean brightness then, into OUT_DIR/cpu-web.txt. Every page
// starts from SEED (default 1), as the other rows of the bench do.
'use strict';
const fs = require('fs');
const path = require('path');
const { launch, canvasState } = require('../tests/web/browser');

const [fpsPage, page, seconds, out] = process.argv.slice(2);
const ticks = Number(process.argv[6] || 100); // CPU time units in /proc (getconf CLK_TCK)
const seed = process.argv[7] || '1';

// The pids of every process below `rootPid` (the browser and all it started), from /proc.
function browserProcesses(rootPid) {
  const children = new Map();
  for (const pid of fs.readdirSync('/proc').filter(p => /^\d+$/.test(p))) {
    try {
      const ppid = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ')[1];
      children.set(pid, ppid);
    } catch (e) { /* gone meanwhile */ }
  }
  const ours = pid => children.get(pid) === String(rootPid) || (children.has(pid) && ours(children.get(pid)));
  return [...children.keys()].filter(ours);
}

// CPU time of `pids` so far; a process gone meanwhile counts nothing.
function cpuTicks(pids) {
  return pids.reduce((sum, pid) => {
    try {
      const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
      return sum + Number(fields[11]) + Number(fields[12]); // utime, stime
    } catch (e) {
      return sum;
    }
  }, 0);
}

// A page that draws nothing, awake at every animation frame.
const emptyPage = 'data:text/html,<canvas id=canvas></canvas><script>' +
                  'window.Module={presents:0};(function f(){requestAnimationFrame(f)})()</script>';

async function main(browser) {
  for (const letter of ['a', 'e']) {
    const tab = await browser.newPage({ viewport: { width: 1280, height: 1024 } });
    const line = tab.waitForEvent('console', { predicate: m => /^frames \d+/.test(m.text()),
                                               timeout: (Number(seconds) + 30) * 1000 });
    await tab.goto(`file://${path.resolve(fpsPage)}?res=${letter}&delay=0&seed=${seed}`);
    const frames = (await line).text();
    const presents = await tab.evaluate(() => Module.presents);
    fs.writeFileSync(path.join(out, `fps-web-${letter}.txt`), `${frames} presents ${presents}\n`);
    await tab.close();
  }
  const rows = [];
  const file = `file://${path.resolve(page)}`;
  for (const [name, url] of [['default', `${file}?seed=${seed}`], ['feathered', `${file}?seed=${seed}&feathered=1`],
                             ['delay0', `${file}?seed=${seed}&delay=0`], ['empty', emptyPage]]) {
    const tab = await browser.newPage({ viewport: { width: 1280, height: 1024 } });
    await tab.goto(url);
    await tab.waitForTimeout(1000);
    const pids = browserProcesses(process.pid); // the browser is a child of this process
    const [c0, t0, p0] = [cpuTicks(pids), Date.now(), await tab.evaluate(() => Module.presents)];
    await tab.waitForTimeout(Number(seconds) * 1000);
    const [c1, t1, p1] = [cpuTicks(pids), Date.now(), await tab.evaluate(() => Module.presents)];
    const span = (t1 - t0) / 1000;
    const shown = await canvasState(tab);
    rows.push(`${name} cpu ${(100 * (c1 - c0) / ticks / span).toFixed(1)} presents ` +
              `${((p1 - p0) / span).toFixed(1)} lit ${shown.lit} brightness ${shown.brightness.toFixed(1)}`);
    await tab.close();
  }
  fs.writeFileSync(path.join(out, 'cpu-web.txt'), rows.join('\n') + '\n');
}

// A failed run closes the browser too: left open, it would keep this process alive.
launch().then(browser => main(browser).finally(() => browser.close())).catch(e => {
  console.error(e);
  process.exitCode = 1;
});
