// The contrast figures on random colour pairs against independent ones: WCAG 2's
// ratio as its text defines relative luminance, and APCA's Lc from the apca-w3 package.
// Usage: node contrast_test.mjs PAIRS_TOOL NODE_MODULES [SEED]
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [tool, modules, seed = Date.now() % 1e6] = process.argv.slice(2);
console.log(`seed ${seed}`);
const { APCAcontrast, sRGBtoY } = await import(pathToFileURL(path.resolve(modules, 'apca-w3/src/apca-w3.js')));

let state = Number(seed) >>> 0; // mulberry32
const random = (n) => {
  state = (state + 0x6d2b79f5) >>> 0;
  let t = Math.imul(state ^ (state >>> 15), 1 | state);
  t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
  return Math.floor((((t ^ (t >>> 14)) >>> 0) / 4294967296) * n);
};
// Channels near the ends reach APCA's black clamp; near-equal pairs its early zero and low clip.
const channel = () => (random(5) ? random(256) : [0, 1, 10, 11, 254, 255][random(6)]);
const colour = () => [channel(), channel(), channel()];
const pairs = [[[0, 0, 0], [255, 255, 255]], [[255, 255, 255], [0, 0, 0]]];
for (let i = 0; i < 4000; ++i) {
  const a = colour();
  pairs.push([a, i % 4 ? colour() : a.map((c) => Math.min(255, c + random(12)))]);
}

// Relative luminance, word for word: sRGB = 8-bit / 255; <= 0.04045 divides by 12.92, else ((c+0.055)/1.055)^2.4.
const luminance = (rgb) => {
  const [r, g, b] = rgb.map((v) => v / 255).map((c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
};
const ratio = (a, b) => (Math.max(luminance(a), luminance(b)) + 0.05) / (Math.min(luminance(a), luminance(b)) + 0.05);

const hex = (rgb) => rgb.map((c) => c.toString(16).padStart(2, '0')).join('');
const run = spawnSync(tool, { input: pairs.map(([t, b]) => `${hex(t)} ${hex(b)}\n`).join(''), encoding: 'utf8' });
const lines = run.stdout.trim().split('\n');
const failures = pairs.filter(([text, background], i) => {
  const [ours, lc] = (lines[i] ?? '').split(' ').map(Number);
  const wanted = [ratio(text, background), APCAcontrast(sRGBtoY(text), sRGBtoY(background))];
  const bad = !(Math.abs(ours - wanted[0]) <= 1e-12 * wanted[0] && Math.abs(lc - wanted[1]) <= 1e-9);
  if (bad) console.log(`FAIL #${hex(text)} on #${hex(background)}: ${ours} ${lc}, wanted ${wanted}`);
  return bad;
});
console.log(`${pairs.length} pairs, ${failures.length} disagreements`);
process.exitCode = failures.length || lines.length !== pairs.length ? 1 : 0;
