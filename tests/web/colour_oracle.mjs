// Chromium as the judge of colour: for random gradients in every CSS space and hue
// method, with stops in many syntaxes and positions, the colour color-mix() paints
// on a 1x1 canvas at each unit's position. A front end passes its own colours for
// the same gradients; they must agree within 1 per channel.

const SPACES = ['srgb', 'srgb-linear', 'display-p3', 'a98-rgb', 'prophoto-rgb', 'rec2020', 'lab', 'oklab', 'xyz',
  'xyz-d50', 'xyz-d65', 'hsl', 'hwb', 'lch', 'oklch'];
const POLAR = new Set(['hsl', 'hwb', 'lch', 'oklch']);
const HUES = ['shorter', 'longer', 'increasing', 'decreasing'];
const COLOR_SPACES = ['srgb', 'srgb-linear', 'display-p3', 'a98-rgb', 'prophoto-rgb', 'rec2020', 'xyz', 'xyz-d50',
  'xyz-d65'];
const NAMES = ['red', 'white', 'black', 'grey', 'gold', 'teal', 'rebeccapurple', 'lime', 'navy', 'orange', 'silver'];

// A small seeded generator, so that a failure can be run again.
function random(seed) {
  let s = seed >>> 0;
  return () => {
    s = (s + 0x6D2B79F5) >>> 0;
    let t = s;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

function stopText(r) {
  const pick = (list) => list[Math.floor(r() * list.length)];
  const num = (lo, hi, digits = 2) => (lo + (hi - lo) * r()).toFixed(digits);
  const byte = () => Math.floor(r() * 256);
  const hex = (v) => v.toString(16).padStart(2, '0');
  // Missing hues and channels, and powerless hues from the named greys. Not a missing
  // or zero chroma: in HSL it would take a hue from the rounding noise of a near
  // grey, which no two implementations share. For the same reason an OkLCh chroma of at
  // least 0.05: in hsl or hwb a near grey's hue comes from the 4th decimal of its sRGB,
  // where Chromium's Oklab matrices and ours part.
  const none = (text) => (r() < 0.08 ? 'none' : text);
  switch (Math.floor(r() * 12)) {
    case 0: return pick(NAMES);
    case 1: return `#${hex(byte())}${hex(byte())}${hex(byte())}`;
    case 2: return `#${byte().toString(16)[0]}${byte().toString(16)[0]}${byte().toString(16)[0]}`;
    case 3: return `#${hex(byte())}${hex(byte())}${hex(byte())}ff`;
    case 4: return r() < 0.5 ? `rgb(${byte()}, ${byte()}, ${byte()})` : `rgb(${none(byte())} ${byte()} ${num(0, 100)}%)`;
    case 5: return `hsl(${none(num(0, 720, 1))} ${num(0, 100)}% ${num(0, 100)}%)`;
    case 6: return `hwb(${num(0, 360)}deg ${num(0, 60)}% ${num(0, 60)}%)`;
    case 7: return `lab(${num(0, 100)} ${num(-100, 100)} ${none(num(-100, 100))})`;
    case 8: return `lch(${num(0, 100)}% ${num(0, 120)} ${none(num(0, 360))})`;
    case 9: return `oklab(${num(0, 1, 3)} ${num(-0.3, 0.3, 3)} ${num(-0.3, 0.3, 3)})`;
    case 10: return `oklch(${num(0, 100)}% ${num(0.05, 0.3, 3)} ${none(num(-180, 360))})`;
    default: return `color(${pick(COLOR_SPACES)} ${num(-0.1, 1.1, 3)} ${num(0, 1, 3)} ${none(num(0, 1, 3))})`;
  }
}

// count gradients: 2 to 4 stops, some with positions, and a unit count.
export function randomGradients(seed, count) {
  const r = random(seed);
  const gradients = [];
  for (let g = 0; g < count; g++) {
    const space = SPACES[g % SPACES.length];
    const blend = POLAR.has(space) && r() < 0.75 ? `${space} ${HUES[Math.floor(r() * 4)]} hue` : space;
    const stops = [];
    const total = 2 + Math.floor(r() * 3);
    for (let s = 0; s < total; s++) {
      const position = r() < 0.3 ? `${(r() * 110 - 5).toFixed(1)}%` : null;
      stops.push({ colour: stopText(r), position });
    }
    gradients.push({ blend, stops, units: 2 + Math.floor(r() * 9) });
  }
  return gradients;
}

// CSS's fix-up of stop positions, as fractions.
function positions(stops) {
  const at = stops.map((s) => (s.position === null ? null : parseFloat(s.position) / 100));
  if (at[0] === null) at[0] = 0;
  if (at[at.length - 1] === null) at[at.length - 1] = 1;
  let highest = at[0];
  for (let j = 0; j < at.length; j++) if (at[j] !== null) highest = at[j] = Math.max(at[j], highest);
  for (let j = 0; j < at.length;) {
    let next = j + 1;
    while (next < at.length && at[next] === null) next++;
    for (let u = j + 1; u < next && next < at.length; u++) at[u] = at[j] + (at[next] - at[j]) * (u - j) / (next - j);
    j = next;
  }
  return at;
}

// Drops gradients where Chromium's colour turns on the 4th decimal of a stop's sRGB, where
// its float Skia matrices and CSS's part: in hsl, a colour outside sRGB whose lightness l is
// near 0 or 1 (its saturation (max - l) / min(l, 1 - l) magnifies that decimal thousands of
// times); in oklch, a chroma near 0.02 (on one side Chromium takes its hue as powerless).
export async function withoutTies(page, gradients) {
  const key = (g, s) => `${g.blend.split(' ')[0]}|${s.colour}`;
  const keys = [...new Set(gradients.flatMap((g) => g.stops.map((s) => key(g, s))))]
    .filter((k) => /^(hsl|oklch)\|/.test(k));
  const values = await page.evaluate((list) => list.map((k) => {
    const [space, css] = k.split('|');
    document.body.style.color = `color-mix(in ${space === 'hsl' ? 'srgb' : space}, ${css} 100%, ${css})`;
    return getComputedStyle(document.body).color.replace(/^[^(]*\((srgb )?|\)$/g, '').split(' ').map(Number);
  }), keys);
  const edge = (v) => v.some((x) => x < 0 || x > 1) &&
    Math.abs(Math.abs(Math.max(...v) + Math.min(...v) - 1) - 1) < 0.04;
  const tie = new Set(keys.filter((k, i) => (k.startsWith('oklch') ? Math.abs(values[i][1] - 0.02) < 5e-4
    : edge(values[i]))));
  return gradients.filter((g) => !g.stops.some((s) => tie.has(key(g, s))));
}

// For unit i of n: color-mix() of its two neighbouring stops.
export function mixes(gradient) {
  const at = positions(gradient.stops);
  const n = gradient.units;
  const m = at.length - 1;
  const out = [];
  for (let i = 1; i <= n; i++) {
    const p = i / n;
    let j = 0;
    for (let s = 0; s < m; s++) if (at[s] <= p) j = s;
    const span = at[j + 1] - at[j];
    const t = span > 0 ? Math.min(1, Math.max(0, (p - at[j]) / span)) : (p >= at[j + 1] ? 1 : 0);
    const a = gradient.stops[j].colour, b = gradient.stops[j + 1].colour;
    out.push(`color-mix(in ${gradient.blend}, ${a} ${((1 - t) * 100).toFixed(10)}%, ${b})`);
  }
  return out;
}

export function stopsArgument(gradient) {
  return gradient.stops.map((s) => (s.position === null ? s.colour : `${s.colour} ${s.position}`)).join(', ');
}

// What Chromium paints for each CSS colour, [r, g, b]; null where it takes no such colour.
export async function paint(page, colours) {
  return page.evaluate((list) => {
    const canvas = document.createElement('canvas');
    canvas.width = canvas.height = 1;
    const context = canvas.getContext('2d', { willReadFrequently: true });
    return list.map((css) => {
      context.clearRect(0, 0, 1, 1);
      context.fillStyle = '#010203';
      context.fillStyle = css;
      if (context.fillStyle === '#010203') return null;
      context.fillRect(0, 0, 1, 1);
      return Array.from(context.getImageData(0, 0, 1, 1).data.slice(0, 3));
    });
  }, colours);
}

// Each gradient's colours from coloursOf (a list of [r, g, b] per unit) against
// Chromium's; the disagreements, described.
export async function check(page, gradients, coloursOf) {
  const problems = [];
  for (const gradient of gradients) {
    const css = mixes(gradient);
    const expected = await paint(page, css);
    const actual = await coloursOf(gradient);
    for (let i = 0; i < css.length; i++) {
      const e = expected[i], a = actual?.[i];
      if (e === null) {
        problems.push(`Chromium takes no ${css[i]}`);
      } else if (!a || a.some((v, c) => Math.abs(v - e[c]) > 1)) {
        problems.push(`--blend '${gradient.blend}' --colours '${stopsArgument(gradient)}' unit ${i + 1} of ` +
          `${gradient.units}: ${JSON.stringify(a)}, Chromium ${JSON.stringify(e)} for ${css[i]}`);
      }
    }
  }
  return problems;
}
