// The pieces every browser check of the page needs, in Chromium and in Firefox ESR alike: a
// static server for the built site (with refused files on request), the browser started on the
// display the caller set up (Xvfb: both engines draw WebGL 2 on Mesa only headful), the page
// opened with its console and errors kept, waiting, and shots of the canvas read inside a frame.
//
//   const page = require('./lib/page');
//   const server = await page.serve('build-web/site');
//   const browser = await page.launch('firefox');
//   const tab = await page.open(browser, server.url + 'index.html', {width: 1024, height: 768});
//   await page.waitUntil(tab.page, () => window.pageReport.status === 'running', 60);
//   const shot = await page.canvasShot(tab.page); // {width, height, rgb: Buffer, top row first}
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const ENGINES = {
    chromium: {
        browser: 'chrome',
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        // ANGLE on GL reaches Mesa's llvmpipe, the desktop's rasteriser; vsync off so that
        // requestAnimationFrame is not rounded to the display.
        args: ['--no-sandbox', '--use-angle=gl', '--ignore-gpu-blocklist', '--disable-gpu-sandbox',
            '--disable-gpu-vsync', '--disable-frame-rate-limit', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
            '--disable-backgrounding-occluded-windows', '--window-size=1400,1000'],
    },
    firefox: {
        browser: 'firefox',
        executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
        args: ['--width=1400', '--height=1000'],
        extraPrefsFirefox: {
            'webgl.force-enabled': true,
            'dom.min_background_timeout_value': 4,
            'browser.shell.checkDefaultBrowser': false,
        },
    },
};

const TYPES = {
    '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
    '.data': 'application/octet-stream', '.png': 'image/png',
};

// Serves `siteDir` on 127.0.0.1 at a free port. A file named in server.refuse answers 404, as a
// failed download would; one in server.replace answers the bytes given there (a damaged file);
// one in server.slow comes in ten parts over that many milliseconds (a slow line).
function serve(siteDir) {
    const server = {refuse: new Set(), replace: new Map(), slow: new Map(), url: ''};
    const httpServer = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '');
        const file = path.join(siteDir, name || 'index.html');
        if (server.refuse.has(path.basename(file)) || !file.startsWith(path.resolve(siteDir)) ||
            !fs.existsSync(file) || !fs.statSync(file).isFile()) {
            response.writeHead(404, {'Content-Type': 'text/plain'});
            response.end('not found');
            return;
        }
        const body = server.replace.get(path.basename(file)) || fs.readFileSync(file);
        response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
            'Cache-Control': 'no-store', 'Content-Length': body.length});
        const slow = server.slow.get(path.basename(file));
        if (!slow) {
            response.end(body);
            return;
        }
        let part = 0;
        const step = Math.ceil(body.length / 10);
        const timer = setInterval(() => {
            response.write(body.subarray(part * step, (part + 1) * step));
            if (++part >= 10) {
                clearInterval(timer);
                response.end();
            }
        }, slow / 10);
    });
    siteDir = path.resolve(siteDir);
    return new Promise((resolve) => {
        httpServer.listen(0, '127.0.0.1', () => {
            server.url = 'http://127.0.0.1:' + httpServer.address().port + '/';
            server.close = () => new Promise((done) => httpServer.close(done));
            resolve(server);
        });
    });
}

// `engine`: 'chromium' or 'firefox'. Extra Chromium flags (e.g. to turn WebGL off) in extraArgs.
async function launch(engine, extraArgs = []) {
    const e = ENGINES[engine];
    if (!e)
        throw new Error('no engine named ' + engine + ' (' + Object.keys(ENGINES).join(', ') + ')');
    if (!process.env.DISPLAY)
        throw new Error('no DISPLAY: both engines draw WebGL 2 headful only; start Xvfb first');
    return puppeteer.launch({browser: e.browser, executablePath: e.executablePath, headless: false,
        args: e.args.concat(extraArgs), extraPrefsFirefox: e.extraPrefsFirefox,
        defaultViewport: null, protocolTimeout: 600000});
}

// Opens `url` in a new tab of `browser`. options: width, height (CSS pixels), deviceScaleFactor,
// hasTouch. Returns {page, log}: log holds the console lines and uncaught errors as they come.
async function open(browser, url, options = {}) {
    const page = await browser.newPage();
    const log = [];
    page.on('console', (message) => log.push(message.text()));
    page.on('pageerror', (error) => log.push('uncaught: ' + error.message));
    await page.setViewport({width: options.width || 1024, height: options.height || 768,
        deviceScaleFactor: options.deviceScaleFactor || 1, hasTouch: !!options.hasTouch,
        isMobile: !!options.isMobile});
    await page.goto(url, {waitUntil: 'load', timeout: 60000});
    return {page, log};
}

// Waits until `predicate` (run in the page, with `arg`) returns a true value, at most `seconds`;
// returns that value, or throws with `what` in the message.
async function waitUntil(page, predicate, seconds, arg, what) {
    const end = Date.now() + seconds * 1000;
    for (;;) {
        const value = await page.evaluate(predicate, arg);
        if (value)
            return value;
        if (Date.now() > end)
            throw new Error('waited ' + seconds + ' s for ' + (what || predicate.toString()));
        await new Promise((r) => setTimeout(r, 100));
    }
}

// The canvas as the next frame drew it: read in a requestAnimationFrame callback queued after
// the program's own, before the browser shows the canvas and discards its contents. With
// `pause`, the program's frames stop right after it (Module.resumeMainLoop() goes on); with
// `afterEvent`, the frame after that event on the canvas.
async function canvasShot(page, pause = false, afterEvent = '') {
    const shot = await page.evaluate((pause, afterEvent) => new Promise((resolve) => {
        const next = (read) => requestAnimationFrame(read);
        const go = () => next(() => {
            const gl = Module.ctx, canvas = Module.canvas;
            const w = canvas.width, h = canvas.height;
            const bound = gl.getParameter(gl.FRAMEBUFFER_BINDING);
            gl.bindFramebuffer(gl.FRAMEBUFFER, null);
            const rgba = new Uint8Array(w * h * 4);
            gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
            gl.bindFramebuffer(gl.FRAMEBUFFER, bound);
            if (pause)
                Module.pauseMainLoop();
            let text = '';
            for (let i = 0; i < rgba.length; i += 0x8000)
                text += String.fromCharCode.apply(null, rgba.subarray(i, i + 0x8000));
            resolve({width: w, height: h, rgba: btoa(text)});
        });
        if (afterEvent)
            Module.canvas.addEventListener(afterEvent, go, {once: true});
        else
            go();
    }), pause, afterEvent);
    return flipRgba(shot.width, shot.height, Buffer.from(shot.rgba, 'base64'));
}

// RGBA bottom row first (as WebGL reads) to RGB top row first.
function flipRgba(width, height, rgba) {
    const rgb = Buffer.alloc(width * height * 3);
    for (let y = 0; y < height; y++)
        for (let x = 0; x < width; x++) {
            const from = ((height - 1 - y) * width + x) * 4, to = (y * width + x) * 3;
            rgb[to] = rgba[from];
            rgb[to + 1] = rgba[from + 1];
            rgb[to + 2] = rgba[from + 2];
        }
    return {width, height, rgb};
}

// Binary PPM, which the native shot check reads.
function writePpm(file, shot) {
    fs.writeFileSync(file, Buffer.concat([Buffer.from('P6\n' + shot.width + ' ' + shot.height +
        '\n255\n'), shot.rgb]));
}

module.exports = {ENGINES, serve, launch, open, waitUntil, canvasShot, writePpm};
