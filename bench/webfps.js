// The browser rows of scripts/bench.sh, in headless Chromium:
//   node bench/webfps.js FPS_PAGE PAGE SECONDS OUT_DIR [CLK_TCK [SEED]]
// For letters a and e, FPS_PAGE (tessaline-fps.html, which quits after its
// seconds and prints its frames line to the console) at ?delay=0: the frames line
// and the presents the page counted, into OUT_DIR/fps-web-LETTER.txt. Then PAGE
// (tessaline.html) at the default pace and at ?delay=0: the renderer process's
// share of a core over SECONDS after a second's start, into OUT_DIR/cpu-web.txt.
// Every page starts from SEED (default 1), as the other rows of the bench do.
'use strict';
const fs = require('fs');
const path = require('path');
const { launch } = require('../tests/web/browser');

const [fpsPage, page, seconds, out] = process.argv.slice(2);
const ticks = Number(process.argv[6] || 100); // CPU time units in /proc (getconf CLK_TCK)
const seed = process.argv[7] || '1';

// The pids of the renderer processes below `rootPid`, from /proc.
function renderers(rootPid) {
  const children = new Map();
  for (const pid of fs.readdirSync('/proc').filter(p => /^\d+$/.test(p))) {
    try {
      const ppid = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ')[1];
      children.set(pid, ppid);
    } catch (e) { /* gone meanwhile */ }
  }
  const ours = pid => pid === String(rootPid) || (children.has(pid) && ours(children.get(pid)));
  return [...children.keys()].filter(pid => ours(pid) &&
      fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=renderer'));
}

function cpuTicks(pids) {
  return pids.reduce((sum, pid) => {
    const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
    return sum + Number(fields[11]) + Number(fields[12]); // utime, stime
  }, 0);
}

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
  for (const [name, query] of [['default', `?seed=${seed}`], ['delay0', `?delay=0&seed=${seed}`]]) {
    const tab = await browser.newPage({ viewport: { width: 1280, height: 1024 } });
    await tab.goto(`file://${path.resolve(page)}${query}`);
    await tab.waitForTimeout(1000);
    const pids = renderers(process.pid); // the browser is a child of this process
    const [c0, t0, p0] = [cpuTicks(pids), Date.now(), await tab.evaluate(() => Module.presents)];
    await tab.waitForTimeout(Number(seconds) * 1000);
    const [c1, t1, p1] = [cpuTicks(pids), Date.now(), await tab.evaluate(() => Module.presents)];
    const span = (t1 - t0) / 1000;
    rows.push(`${name} cpu ${(100 * (c1 - c0) / ticks / span).toFixed(1)} presents ${((p1 - p0) / span).toFixed(1)}`);
    await tab.close();
  }
  fs.writeFileSync(path.join(out, 'cpu-web.txt'), rows.join('\n') + '\n');
}

// A failed run closes the browser too: left open, it would keep this process alive.
launch().then(browser => main(browser).finally(() => browser.close())).catch(e => {
  console.error(e);
  process.exitCode = 1;
});
