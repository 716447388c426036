// Puts the page in one file: style, script, worker and module inline, since a
// page opened from a file may load nothing else. The policy names the inline
// script and style by their hashes.
// The tests' build adds hooks: a script that runs before the page's, and one
// that follows the worker's.
// The footer's version and source link come from VELMORANT_VERSION and
// VELMORANT_SOURCE_URL.
// Usage: node bundle.mjs SOURCE_DIR MODULE.wasm OUT.html [PAGE_HOOKS.js WORKER_HOOKS.js]
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [source, wasm, out, pageHooks, workerHooks] = process.argv.slice(2);
const read = (name) => readFileSync(join(source, name), 'utf8');
const hash = (text) => `sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}`;

const style = read('page.css');
// The page's parts, each using only those before it; page.js wires them up.
// The app install comes last and touches nothing of theirs.
const parts = ['words.js', 'settings.js', 'store.js', 'client.js', 'stops.js', 'view.js', 'page.js', 'install/register.js'];
const script = parts.map(read).join('');
const hooks = pageHooks ? readFileSync(pageHooks, 'utf8') : '';
const worker = read('worker.js') + (workerHooks ? readFileSync(workerHooks, 'utf8') : '');
for (const [name, text] of [['the page\'s script', script], ['worker.js', worker], ['page.css', style], ['hooks', hooks]]) {
  if (/<\/(script|style)/i.test(text)) throw new Error(`${name} would end its element early`);
}
const page = read('page.html')
  .replace('@SCRIPT_HASH@', hooks ? `${hash(hooks)}' '${hash(script)}` : hash(script))
  .replace('@STYLE_HASH@', hash(style))
  .replaceAll('@VERSION@', () => process.env.VELMORANT_VERSION ?? 'dev')
  .replaceAll('@SOURCE_URL@', () => process.env.VELMORANT_SOURCE_URL ?? '')
  .replace('@STYLE@', () => style)
  .replace('@MODULE@', () => readFileSync(wasm).toString('base64'))
  .replace('@WORKER@', () => worker)
  .replace('<script>@SCRIPT@', () => (hooks ? `<script>${hooks}</script>\n` : '') + `<script>${script}`);
writeFileSync(out, page);
