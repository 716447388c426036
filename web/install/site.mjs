// Lays out the page for the web: the page as index.html, the manifest, and the
// service worker with a cache name that changes whenever any of the files does.
// The icons are already in OUT_DIR.
// Usage: node site.mjs INSTALL_DIR PAGE.html OUT_DIR
import { createHash } from 'node:crypto';
import { copyFileSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [source, pagePath, out] = process.argv.slice(2);
copyFileSync(pagePath, join(out, 'index.html'));
copyFileSync(join(source, 'manifest.webmanifest'), join(out, 'manifest.webmanifest'));
const digest = createHash('sha256');
for (const name of ['index.html', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png']) {
  digest.update(readFileSync(join(out, name)));
}
const worker = readFileSync(join(source, 'sw.js'), 'utf8')
  .replace('@CACHE@', `velmorant-${digest.digest('hex').slice(0, 16)}`);
writeFileSync(join(out, 'sw.js'), worker);
