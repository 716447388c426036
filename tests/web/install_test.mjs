// The release's site on http://localhost: Chromium finds nothing between it and
// an install (manifest, icons of 192 and 512 pixels, a worker), and after one
// visit the page still converts, as velmorant-cli does, with the server stopped.
// Usage: node install_test.mjs SITE_DIR CLI NODE_MODULES CHROMIUM
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { serve } from '../../scripts/serve.mjs';
import { launch, settled } from './launch.mjs';

const [site, cli, modules, chromium] = process.argv.slice(2);
let failures = 0;
function check(what, ok, detail = '') {
  if (!ok) {
    failures++;
    console.log(`FAIL ${what}${detail ? `\n  ${detail}` : ''}`);
  }
}

// Chromium reads an icon's size from the file, not from the manifest's word for it.
for (const size of [192, 512]) {
  const png = readFileSync(join(site, `icon-${size}.png`));
  check(`icon-${size}.png is ${size} pixels square`, png.readUInt32BE(16) === size && png.readUInt32BE(20) === size,
    `${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`);
}

const server = await serve(site);
const url = `http://localhost:${server.address().port}/`;
const context = await launch(modules, chromium);
const page = await context.newPage();
const problems = [];
page.on('pageerror', (e) => problems.push(e.message));
page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
await page.goto(url);
await settled(page);
await page.evaluate(() => navigator.serviceWorker.ready);
await page.waitForSelector('link[rel="manifest"]', { state: 'attached' });

const cdp = await context.newCDPSession(page);
const manifest = await cdp.send('Page.getAppManifest');
check('the manifest parses', manifest.url.endsWith('/manifest.webmanifest') && manifest.errors.length === 0,
  JSON.stringify(manifest.errors));
const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
check('installable', installabilityErrors.length === 0, JSON.stringify(installabilityErrors));

// Offline: the server and its connections gone, a new visit comes from the cache.
server.closeAllConnections();
await new Promise((resolve) => server.close(resolve));
const offline = await context.newPage();
offline.on('pageerror', (e) => problems.push(e.message));
await offline.goto(url);
await settled(offline);
check('offline, the worker answers', await offline.evaluate(() => navigator.serviceWorker.controller !== null));
const text = 'Velmorant 离线';
await offline.fill('#text', text);
await settled(offline);
const expected = spawnSync(cli, [], { input: text, encoding: 'utf8' }).stdout;
const code = await offline.inputValue('#code');
check('offline, the page converts as the CLI does', code === expected,
  `page ${JSON.stringify(code.slice(0, 120))}\n  cli  ${JSON.stringify(expected.slice(0, 120))}`);

check('no script error', problems.length === 0, problems.join('\n  '));
await context.close();
console.log(failures ? `${failures} failed` : 'all passed');
process.exit(failures ? 1 : 0);
