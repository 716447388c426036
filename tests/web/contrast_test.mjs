// The contrast figures on random colour pairs against independent ones: WCAG 2's
// ratio as its text defines relative luminance, and APCA's Lc from the apca-w3 package.
// Usage: node contrast_test.mjs PAIRS_TOOL NODE_MODULES [SEED]
import { spawnSync } from 'node:child_process';
import path from 'node:path';

const [tool, modules, seed = Date.now() % 1e6] = process.argv.slice(2);
console.log(`seed ${seed}`);
const { APCAcontrast, sRGBtoY } = await import(path.join(modules, 'apca-w3/src/apca-w3.js'));

let state = Number(seed) >>> 0; // mulberry32
const random = () => {
  state = (state + 0x6d2b79f5) >>> 0;
  let t = Math.imul(state ^ (state >>> 15), 1 | state);
  t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
};
const channel = () => (random() < 0.2 ? [0, 1, 10, 11, 254, 255][Math.floor(random() * 6)] : Math.floor(random() * 256));
const colour = () => [channel(), channel(), channel()];
// Near-equal pairs reach APCA's early zero and its low clip; the ends, its black clamp.
const pairs = [[[0, 0, 0], [255, 255, 255]], [[255, 255, 255], [0, 0, 0]], [[9, 9, 9], [9, 9, 9]], [[0, 0, 0], [20, 20, 20]]];
for (let i = 0; i < 4000; ++i) {
  const a = colour();
  pairs.push([a, i % 4 ? colour() : a.map((c) => Math.min(255, c + Math.floor(random() * 12)))]);
}

// Relative luminance, word for word: sRGB = 8-bit / 255; <= 0.04045 divides by 12.92, else ((c+0.055)/1.055)^2.4.
const luminance = (rgb) => {
  const [r, g, b] = rgb.map((v) => v / 255).map((c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
};
const ratio = (a, b) => {
  const [l1, l2] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (l1 + 0.05) / (l2 + 0.05);
};

const hex = (rgb) => rgb.map((c) => c.toString(16).padStart(2, '0')).join('');
const run = spawnSync(tool, { input: pairs.map(([t, b]) => `${hex(t)} ${hex(b)}\n`).join(''), encoding: 'utf8' });
const lines = run.stdout.trim().split('\n');
let failures = 0;
pairs.forEach(([text, background], i) => {
  const [ours, lc] = (lines[i] ?? '').split(' ').map(Number);
  const wanted = [ratio(text, background), APCAcontrast(sRGBtoY(text), sRGBtoY(background))];
  if (!(Math.abs(ours - wanted[0]) <= 1e-12 * wanted[0] && Math.abs(lc - wanted[1]) <= 1e-9)) {
    if (++failures <= 20) console.log(`FAIL #${hex(text)} on #${hex(background)}: ${ours} ${lc}, wanted ${wanted}`);
  }
});
console.log(`${pairs.length} pairs, ${failures} disagreements`);
process.exitCode = failures || lines.length !== pairs.length ? 1 : 0;
