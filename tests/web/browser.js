// What the page test and the browser benchmark share: headless Chromium (Debian's,
// driven by playwright-core), a local server for the served variant, and reading
// the canvas back.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
let chromium;
try {
  ({ chromium } = require('playwright-core'));
} catch (e) {
  throw new Error(`playwright-core is missing: run npm ci in ${__dirname} (${e.message})`);
}

// Root in a fresh profile (launch() makes one per browser) that never reaches
// for the network: the machine has none, and every refused call is noise.
function launch(executablePath = '/usr/bin/chromium') {
  return chromium.launch({
    executablePath,
    headless: true,
    args: ['--disable-background-networking', '--disable-component-update', '--no-first-run',
           '--disable-sync', '--disable-quic'],
  });
}

// Serves `dir` on 127.0.0.1 at a free port; resolves to the server (its address()
// has the port).
function serve(dir) {
  const root = path.resolve(dir);
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    let file = path.join(root, path.normalize(new URL(request.url, 'http://127.0.0.1').pathname));
    if (file === root || file.endsWith(path.sep)) file = path.join(file, 'index.html');
    fs.readFile(file, (error, body) => {
      if (error) return response.writeHead(404).end();
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'text/plain' });
      response.end(body);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The canvas read back: its size, how many pixels are not black, their mean
// brightness ((R + G + B) / 3), and their colours, each once, as 0xRRGGBB.
function canvasState(page) {
  return page.evaluate(() => {
    const c = document.getElementById('canvas');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const colours = new Set();
    let lit = 0, sum = 0;
    for (let i = 0; i < d.length; i += 4) {
      if (!(d[i] | d[i + 1] | d[i + 2])) continue;
      ++lit;
      sum += (d[i] + d[i + 1] + d[i + 2]) / 3;
      colours.add((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]);
    }
    return { width: c.width, height: c.height, lit, brightness: lit ? sum / lit : 0,
             colours: [...colours] };
  });
}

module.exports = { launch, serve, canvasState };
