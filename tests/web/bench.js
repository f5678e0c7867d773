#!/usr/bin/env node
// The page's speed against the desktop's, both drawn by Mesa's llvmpipe: Chromium runs headful
// on the display given (Xvfb) with ANGLE over the desktop's GL, vsync and the frame-rate limit
// off. In alternating pairs it runs frameBench (the shadow program's line) and then the page: its
// bench mode (the same start view, window size and stages, a one-pixel read between stages), and
// its ordinary demo, whose animation frames a visitor gets: their interval, the main thread's time
// in each, and the bytes and draw calls the GL layer sent in each; and the page faults a frame of
// the browser's GPU process against frameBench's. Prints the medians and the web / desktop
// ratios of the medians; then the same for the page in a browser whose GPU process keeps freed
// memory. Fails when the page's WebGL is not drawn by llvmpipe, or
// the two windows differ in size.
// Usage: node tests/web/bench.js SITE_DIR FRAMEBENCH RUN_DIR [PAIRS]
'use strict';
const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const FLAGS = ['--use-angle=gl', '--ignore-gpu-blocklist', '--disable-gpu-vsync',
  '--disable-frame-rate-limit', '--no-sandbox', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-first-run',
  '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
  '--window-size=900,800'];
// Chromium's allocator in its GPU process hands llvmpipe's freed memory back to the kernel once
// 16 other spans have been emptied since; this feature of Chromium's keeps far more, as glibc does
// for frameBench. The page runs a second time with it, so the figures show the allocator's share.
const KEEPING_ALLOCATOR = '--enable-features=PartitionAllocLargeEmptySlotSpanRing';
const PICTURE = [640, 480]; // CSS pixels, the desktop window's size at a device pixel ratio of 1
const VISITOR_WARMUP_FRAMES = 20; // loading, the first frames that keep the scene's blocks
const VISITOR_FRAMES = 60;
const REPORT_SECONDS = 240; // for the bench mode and the visitor's frames
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream' };

// The page's animation frames, timed from inside: each callback's start, its main-thread time,
// and what the GL layer counted while it ran.
const TIME_FRAMES = `
  window.benchFrames = [];
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = function (callback) {
    return request(function (time) {
      const m = window.Module, counted = m && m._layerBytesUploaded;
      const bytes = counted ? m._layerBytesUploaded() : 0, draws = counted ? m._layerDrawCalls() : 0;
      const start = performance.now();
      callback(time);
      const end = performance.now();
      window.benchFrames.push({ start: start, busy: end - start,
        bytes: counted ? m._layerBytesUploaded() - bytes : NaN,
        draws: counted ? m._layerDrawCalls() - draws : NaN });
    });
  };`;

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  const n = sorted.length;
  return n % 2 ? sorted[(n - 1) / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

function fail(message) {
  console.error('bench: ' + message);
  process.exit(1);
}

// A static server for the site.
function serve(siteDir) {
  const site = path.resolve(siteDir);
  const server = http.createServer((request, response) => {
    const file = path.join(site, decodeURIComponent(new URL(request.url, 'http://x').pathname));
    if (!file.startsWith(site) || !fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'text/plain' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1',
    () => resolve({ server, port: server.address().port })));
}

// A process's /proc stat fields from its state on (the name before them may hold spaces).
function statFields(pid) {
  return fs.readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
}

// Page faults so far of this browser's GPU process (its threads together), where llvmpipe draws
// the page; null when it cannot be found. It is the child of a zygote, and the browser may run
// under Debian's wrapper script: any ancestor may be the process launched.
function gpuProcessFaults(launchedPid) {
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      if (!fs.readFileSync(`/proc/${entry}/cmdline`, 'utf8').includes('--type=gpu-process')) continue;
      const fields = statFields(entry);
      let ancestor = +fields[1];
      while (ancestor > 1 && ancestor !== launchedPid) ancestor = +statFields(ancestor)[1];
      if (ancestor === launchedPid) return +fields[7] + +fields[9]; // minflt and majflt
    } catch (e) {
      // a process that ended while it was read
    }
  }
  return null;
}

function desktopRun(frameBench, runDir) {
  const out = childProcess.execFileSync(frameBench, { cwd: runDir, encoding: 'utf8' });
  const line = out.split('\n').find((l) => l.startsWith('shadow program'));
  const window = /window (\d+) x (\d+)/.exec(out);
  const renderer = /^renderer: (.*)$/m.exec(out);
  if (!line || !window) fail('frameBench printed no shadow program line:\n' + out);
  const value = (name) => parseFloat(new RegExp(name + '\\s+([0-9.]+)').exec(line)[1]);
  return { frame: value('frame'), depth: value('depth'), lit: value('lit'),
    particles: value('particles'), faults: value('page faults'), width: +window[1], height: +window[2],
    renderer: renderer ? renderer[1] : '?' };
}

async function webRun(site, browserPath, extraFlags) {
  const { server, port } = await serve(site);
  const browser = await puppeteer.launch({ executablePath: browserPath, headless: false,
    args: FLAGS.concat(extraFlags), defaultViewport: null });
  try {
    const page = await browser.newPage();
    page.on('pageerror', (e) => console.error('page: ' + e.message));
    page.on('console', (m) => { if (/error|not supported|WebGL/i.test(m.text())) console.error('page: ' + m.text()); });
    const base = 'http://127.0.0.1:' + port + '/index.html';
    await page.goto(base + '?mode=bench');
    await page.waitForFunction(() => !!(window.pageReport && (window.pageReport.bench ||
      window.pageReport.status === 'failed')), { timeout: REPORT_SECONDS * 1000, polling: 500 });
    const found = await page.evaluate(() => window.pageReport);
    if (!found.bench) fail('the bench mode reported no figures: ' + found.statusText);
    const page2 = await browser.newPage();
    await page.close();
    await page2.evaluateOnNewDocument(TIME_FRAMES);
    // The show's picture follows the page; held at the desktop's window size from before the
    // demo starts (its shadow target is sized then), it draws as many pixels as frameBench's.
    await page2.evaluateOnNewDocument((width, height) => {
      document.addEventListener('DOMContentLoaded', () => {
        const style = document.createElement('style');
        style.textContent = '#canvas { width: ' + width + 'px !important; height: ' + height +
          'px !important; max-width: none !important; aspect-ratio: auto !important; }';
        document.head.appendChild(style);
      });
    }, PICTURE[0], PICTURE[1]);
    await page2.goto(base);
    const info = await page2.evaluate(() => {
      const canvas = document.createElement('canvas');
      const gl = canvas.getContext('webgl2');
      const debug = gl && gl.getExtension('WEBGL_debug_renderer_info');
      return { renderer: gl ? gl.getParameter(debug ? debug.UNMASKED_RENDERER_WEBGL :
        gl.RENDERER) : 'no WebGL 2' };
    });
    const framesSoFar = () => page2.evaluate(() => window.benchFrames.length);
    await page2.waitForFunction((n) => window.benchFrames.length >= n,
      { timeout: REPORT_SECONDS * 1000, polling: 50 }, VISITOR_WARMUP_FRAMES);
    const faultsFrom = [gpuProcessFaults(browser.process().pid), await framesSoFar()];
    await page2.waitForFunction((n) => window.benchFrames.length >= n,
      { timeout: REPORT_SECONDS * 1000, polling: 500 }, VISITOR_WARMUP_FRAMES + VISITOR_FRAMES + 1);
    const faultsTo = [gpuProcessFaults(browser.process().pid), await framesSoFar()];
    const faults = faultsFrom[0] === null || faultsTo[0] === null ? NaN :
      (faultsTo[0] - faultsFrom[0]) / (faultsTo[1] - faultsFrom[1]);
    const frames = await page2.evaluate(() => window.benchFrames);
    // Asked only now: a getContext before the page's own would make the context itself.
    info.desynchronized = await page2.evaluate(() =>
      document.getElementById('canvas').getContext('webgl2').getContextAttributes().desynchronized);
    const size = await page2.evaluate(() => [document.getElementById('canvas').width,
      document.getElementById('canvas').height]);
    const measured = frames.slice(VISITOR_WARMUP_FRAMES, VISITOR_WARMUP_FRAMES + VISITOR_FRAMES + 1);
    const intervals = measured.slice(1).map((f, i) => f.start - measured[i].start);
    return { frame: found.bench.total, depth: found.bench.depth, lit: found.bench.lit,
      particles: found.bench.particles, interval: median(intervals),
      busy: median(measured.map((f) => f.busy)), bytes: median(measured.map((f) => f.bytes)),
      draws: median(measured.map((f) => f.draws)), faults,
      mostBytes: Math.max(...frames.map((f) => f.bytes || 0)),
      renderer: info.renderer, desynchronized: info.desynchronized, width: size[0],
      height: size[1] };
  } finally {
    await browser.close();
    server.close();
  }
}

async function main() {
  const [site, benchArg, runDir, pairsText] = process.argv.slice(2);
  const frameBench = benchArg && path.resolve(benchArg);
  if (!site || !frameBench || !runDir) fail('usage: bench.js SITE_DIR FRAMEBENCH RUN_DIR [PAIRS]');
  if (!process.env.DISPLAY) fail('no DISPLAY: Chromium must run headful (start Xvfb first)');
  const pairs = parseInt(pairsText || '3', 10);
  const browserPath = ['/usr/bin/chromium', '/usr/bin/chromium-browser'].find(fs.existsSync);
  if (!browserPath) fail('no Chromium found');
  const load = () => fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ');
  console.log('load average before: ' + load());
  const desktop = [], web = [], keeping = [];
  for (let pair = 1; pair <= pairs; pair++) {
    desktop.push(desktopRun(frameBench, runDir));
    web.push(await webRun(site, browserPath, []));
    keeping.push(await webRun(site, browserPath, [KEEPING_ALLOCATOR]));
    const d = desktop[pair - 1], w = web[pair - 1], k = keeping[pair - 1];
    if (pair === 1) {
      console.log('desktop renderer: ' + d.renderer);
      console.log('page renderer:    ' + w.renderer + (w.desynchronized ?
        ', canvas desynchronized' : ', canvas composited with the page'));
      if (!/llvmpipe/.test(w.renderer)) fail('the page is not drawn by llvmpipe');
      if (d.width !== w.width || d.height !== w.height)
        fail('window ' + d.width + ' x ' + d.height + ' on the desktop, ' + w.width + ' x ' +
          w.height + ' on the page');
      console.log('window ' + d.width + ' x ' + d.height + ' both');
    }
    console.log(`pair ${pair}: web frame ${w.frame.toFixed(1)} (depth ${w.depth.toFixed(1)}, ` +
      `lit ${w.lit.toFixed(1)}, particles ${w.particles.toFixed(1)}), visitor interval ` +
      `${w.interval.toFixed(1)} ms; desktop frame ${d.frame.toFixed(1)} (depth ` +
      `${d.depth.toFixed(1)}, lit ${d.lit.toFixed(1)}, particles ${d.particles.toFixed(1)}) ms; ` +
      `web with the keeping allocator frame ${k.frame.toFixed(1)}, visitor interval ` +
      `${k.interval.toFixed(1)} ms`);
  }
  console.log('load average after: ' + load());
  const rows = [['frame', 'frame'], ['depth pass', 'depth'], ['lit pass', 'lit'],
    ['particles', 'particles']];
  const fmt = (list, key) => list.map((r) => r[key].toFixed(1)).join(' / ');
  const table = (runs) => {
    console.log('\n| | web (ms) | desktop (ms) | ratio of medians |\n|---|---|---|---|');
    const ratio = (w, d) => (median(runs.map((r) => r[w])) / median(desktop.map((r) => r[d])));
    for (const [label, key] of rows)
      console.log(`| ${label} | ${fmt(runs, key)} | ${fmt(desktop, key)} | ${ratio(key, key).toFixed(2)} |`);
    console.log(`| visitor's frame interval | ${fmt(runs, 'interval')} | ${fmt(desktop, 'frame')} ` +
      `| ${ratio('interval', 'frame').toFixed(2)} |`);
  };
  table(web);
  const browserWork = web.map((r) => (r.frame - r.depth - r.lit - r.particles).toFixed(1));
  console.log(`\nthe browser's own work between bench frames (frame less its passes): ` +
    `${browserWork.join(' / ')} ms; the desktop's swap is in its frame likewise`);
  console.log(`page's main-thread time per animation frame: ${fmt(web, 'busy')} ms`);
  console.log(`bytes uploaded per frame: ${web.map((r) => r.bytes).join(' / ')} ` +
    `(the most in one frame, the one that keeps the scene's blocks: ${web[0].mostBytes})`);
  console.log(`draw calls per frame: ${web.map((r) => r.draws).join(' / ')}`);
  console.log(`page faults per frame: the browser's GPU process ${fmt(web, 'faults')} over the ` +
    `visitor's frames, frameBench ${fmt(desktop, 'faults')} (its mean with the shadow program)`);
  console.log(`\nThe page again, Chromium keeping its GPU process's freed memory (${KEEPING_ALLOCATOR}), ` +
    `against the same desktop runs:`);
  table(keeping);
  console.log(`page faults per frame: the browser's GPU process ${fmt(keeping, 'faults')}`);
}

main().catch((e) => fail(e.stack || String(e)));
