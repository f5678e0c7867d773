// Opens the page's lesson once per row in one browser and writes what it drew: for each row of
// ROWS.json ({name, query, and maybe seek: [second, fps] or drag: [dx, dy] done before the shot}),
// NAME.rgb (the view read back, bottom row first) and one line of
// NAME.json (width, height, second, crop, stretch). The site is served here on 127.0.0.1.
// usage: node lessonShots.js SITE_DIR ROWS.json OUT_DIR chromium|firefox
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream' };
const SHOT_TIMEOUT_MS = 120000;

function serve(site) {
  const server = http.createServer((request, response) => {
    const file = path.join(site, path.normalize(decodeURIComponent(request.url.split('?')[0])));
    if (!file.startsWith(path.resolve(site)) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function launch(browser) {
  if (browser === 'firefox')
    return puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
      headless: false });
  return puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: false,
    args: ['--use-angle=gl', '--ignore-gpu-blocklist', '--no-sandbox', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-gpu-vsync', '--disable-frame-rate-limit', '--window-size=900,1300'] });
}

async function main() {
  const [site, rowsFile, out, browserName] = process.argv.slice(2);
  const rows = JSON.parse(fs.readFileSync(rowsFile, 'utf8'));
  fs.mkdirSync(out, { recursive: true });
  const server = await serve(path.resolve(site));
  const base = `http://127.0.0.1:${server.address().port}/index.html`;
  const browser = await launch(browserName);
  let failed = 0;
  try {
    for (const row of rows) {
      const page = await browser.newPage();
      const problems = [];
      page.on('pageerror', (e) => problems.push(String(e)));
      if (process.env.LESSON_CONSOLE) page.on('console', (m) => console.log(m.text()));
      try {
        await page.goto(`${base}?lesson&${row.query}`);
        await page.waitForFunction('window.lessonShot && Module._lessonSeek', { timeout: SHOT_TIMEOUT_MS });
        // Then, before the shot: another seek, or a drag with the left button (trusted input).
        if (row.seek) {
          await page.evaluate(() => window.lessonShot());
          await page.evaluate((s) => Module._lessonSeek(s[0], s[1]), row.seek);
        }
        if (row.drag) {
          await page.evaluate(() => window.lessonShot());
          const box = await (await page.$('#canvas')).boundingBox();
          const x = box.x + box.width / 2, y = box.y + box.height / 2;
          await page.mouse.move(x, y);
          await page.mouse.down();
          for (let step = 1; step <= 10; step++)
            await page.mouse.move(x + step * row.drag[0] / 10, y + step * row.drag[1] / 10);
          await page.evaluate(() => window.lessonShot());
          await page.mouse.up();
        }
        const shot = await page.evaluate(() => window.lessonShot());
        fs.writeFileSync(path.join(out, `${row.name}.rgb`), Buffer.from(shot.rgb, 'base64'));
        delete shot.rgb;
        const message = await page.evaluate(() => document.getElementById('messageText').textContent);
        shot.problems = problems.concat(message ? [message] : []);
        shot.browser = await page.evaluate(() => navigator.userAgent);
        fs.writeFileSync(path.join(out, `${row.name}.json`), JSON.stringify(shot));
      } catch (e) {
        console.log(`${browserName} ${row.name}: no view (${e.message}) ${problems.join('; ')}`);
        failed++;
      }
      await page.close();
    }
  } finally {
    await browser.close();
    server.close();
  }
  process.exit(failed ? 1 : 0);
}

main().catch((e) => { console.log(String(e)); process.exit(1); });
