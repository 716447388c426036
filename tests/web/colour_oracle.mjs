// Chromium as the judge of colour: for random gradients in every CSS space and hue
// method, with stops in many syntaxes and positions, the colour color-mix() paints
// on a 1x1 canvas at each unit's position. A front end passes its own colours for
// the same gradients; they must agree within 1 per channel.

export const SPACES = ['srgb', 'srgb-linear', 'display-p3', 'a98-rgb', 'prophoto-rgb', 'rec2020', 'lab', 'oklab', 'xyz',
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
  // Missing hues and channels, powerless hues from the named greys, and Oklab greys and
  // near greys: in hsl or hwb their hue comes from Chromium's float rounding.
  const none = (text) => (r() < 0.08 ? 'none' : text);
  const grey = r() < 0.4;
  const okA = () => (grey ? pick(['0', num(-5e-4, 5e-4, 5)]) : num(-0.3, 0.3, 3));
  const chroma = () => (grey ? pick(['0', 'none', num(0, 5e-4, 5), num(0, 0.05, 3)]) : num(0.05, 0.3, 3));
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
    case 9: return `oklab(${num(0, 1, 3)} ${okA()} ${okA()})`;
    case 10: return `oklch(${num(0, 100)}% ${chroma()} ${none(num(-180, 360))})`;
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

// Colour texts, valid and near-valid: each function with its components as numbers,
// percentages, angles or odd numbers, separated by blanks, commas, comments, CR or FF,
// with or without alpha, brackets left open, blanks before the bracket; hex of every
// length, names, relative colours and calc().
export function randomColourTexts(seed, count) {
  const r = random(seed);
  const pick = (list) => list[Math.floor(r() * list.length)];
  const chance = (p) => r() < p;
  const num = (lo, hi, digits = 2) => Number((lo + (hi - lo) * r()).toFixed(digits)).toString();
  const ODD = ['1e309', '-1e309', 'NaN', 'nan', 'inf', 'calc(NaN)', 'calc(infinity)', 'calc(-infinity)', '-0', '5.',
    '.5', '+5', '1e2', '1E-1', 'none', 'calc(1 + 2)', 'calc(1+2)', 'calc(50% * 2)', 'calc(10% + 5)', 'min(10, 200)',
    'clamp(0, 300, 255)', 'calc(e * pi)', 'calc((2 + 3) * 10)'];
  const UNITS = ['', '', 'deg', 'grad', 'rad', 'turn', 'DEG', '%', 'px'];
  const GAPS = [' ', ' ', ',', ', ', '  ', '\t', '\r', '\f', '\n', '/**/', ' /* x */ ', ''];
  const ALPHAS = ['1', '100%', '0.5', '50%', '0', 'none', '2', '1e309', 'calc(NaN)', '-0', '.999'];
  const FUNCTIONS = {
    rgb: [() => (chance(0.5) ? `${Math.floor(r() * 300 - 20)}` : `${num(-10, 110)}%`)],
    hsl: [() => `${num(-400, 800, 1)}${pick(UNITS)}`, () => `${num(-10, 100)}%`, () => `${num(0, 100)}%`],
    hwb: [() => `${num(0, 360)}${pick(UNITS)}`, () => `${num(0, 60)}%`, () => `${num(0, 60)}`],
    lab: [() => `${num(-5, 105)}${pick(['', '%'])}`, () => num(-130, 130), () => `${num(-100, 100)}${pick(['', '%'])}`],
    lch: [() => `${num(-5, 105)}`, () => `${num(0, 150)}${pick(['', '%'])}`, () => `${num(-360, 720)}${pick(UNITS)}`],
    oklab: [() => pick([num(0, 1, 3), `${num(0, 100)}%`]), () => num(-0.4, 0.4, 3), () => `${num(-100, 100)}%`],
    oklch: [() => pick([num(0, 1, 3), `${num(0, 100)}%`]), () => num(0, 0.4, 3), () => `${num(0, 360)}${pick(UNITS)}`],
    color: [() => pick([num(-0.1, 1.1, 3), `${num(0, 100)}%`])],
  };
  const SPACES_OF_COLOR = [...COLOR_SPACES, 'display-p3-linear', 'cmyk'];
  const hex = (n) => Array.from({ length: n }, () => '0123456789abcdefABCDEFg'[Math.floor(r() * (chance(0.97) ? 22 : 23))]).join('');
  const texts = [];
  // An origin outside sRGB turned into HSL or HWB is a tie: its hue and whiteness come
  // from where Chromium's float conversions and ours part.
  const one = (depth, sRgbOnly = false) => {
    switch (sRgbOnly ? Math.floor(r() * 2) : Math.floor(r() * 10)) {
      case 0: return pick([...NAMES, 'transparent', 'Red', 'BLUE', 'bleu']);
      case 1: return `#${hex(pick([3, 4, 6, 8, 8, 5, 7]))}`;
      default: break;
    }
    const family = pick(Object.keys(FUNCTIONS));
    let name = family === 'rgb' ? pick(['rgb', 'rgba']) : family === 'hsl' ? pick(['hsl', 'hsla']) : family;
    if (chance(0.1)) name = name.toUpperCase();
    const make = FUNCTIONS[family];
    const legacy = (family === 'rgb' || family === 'hsl') && chance(0.35);
    let components = [0, 1, 2].map((k) => make[Math.min(k, make.length - 1)]());
    if (legacy && family === 'rgb' && chance(0.7)) {
      const percent = components[0].endsWith('%');
      components = components.map((c) => (percent ? `${parseFloat(c)}%` : `${Math.round(parseFloat(c) * (c.endsWith('%') ? 2.55 : 1))}`));
    }
    // Not in an origin, nor an infinite or float-sized number in a channel without an upper
    // bound: Chromium's float matrices overflow there, painting white where ours clip.
    const unbounded = (k) => family === 'color' || (k > 0 && family !== 'rgb' && !(k === 2 && family.endsWith('lch')));
    components = components.map((c, k) => (depth === 0 && chance(0.12)
      ? pick(ODD.filter((o) => !unbounded(k) || !/infinity|e309|e2/.test(o))) : c));
    const relative = depth === 0 && family !== 'color' && chance(0.12);
    if (relative) {
      const names = { rgb: 'rgb', hsl: 'hsl', hwb: 'hwb', lab: 'lab', lch: 'lch', oklab: 'lab', oklch: 'lch' }[family];
      components = [...names].map((c) => pick([c, c, `calc(${c} / 2)`, `calc(${c} + 10)`, 'none', num(0, 1)]));
    }
    const gap = () => (chance(0.15) ? pick(GAPS) : legacy ? pick([',', ', ', ' ,']) : ' ');
    let inside = components[0] + gap() + components[1] + gap() + components[2];
    if (chance(0.3)) {
      const alpha = pick(ALPHAS);
      inside += legacy ? (chance(0.8) ? `, ${alpha}` : ` / ${alpha}`) : (chance(0.8) ? ` / ${alpha}` : ` ${alpha}`);
    }
    if (chance(0.04)) inside += pick([',', ' /', ' , ']);
    if (chance(0.04)) inside = pick([',', ' ,']) + inside;
    if (family === 'color') inside = `${pick(SPACES_OF_COLOR)} ${inside}`;
    if (relative) inside = `from ${one(1, family === 'hsl' || family === 'hwb')} ${inside}`;
    return `${name}${chance(0.04) ? ' ' : ''}(${inside}${chance(0.06) ? '' : ')'}`;
  };
  for (let t = 0; t < count; t++) {
    let text = one(0);
    if (chance(0.05)) text = ` ${text}\t`;
    texts.push(text);
  }
  return texts;
}

// What Chromium makes of each colour text: whether CSS takes it as a colour, and if so
// its alpha and the [r, g, b] it paints (from its computed value, drawn on a canvas; of
// use only where alpha is 1).
export async function judge(page, texts) {
  const read = await page.evaluate((list) => list.map((css) => {
    if (!CSS.supports('color', css)) return { taken: false };
    document.body.style.color = '';
    document.body.style.color = css;
    const computed = getComputedStyle(document.body).color;
    const alpha = computed.match(/(?:rgba\(.*,|\/) *([-+\d.e]+|none)\)$/);
    return { taken: true, alpha: alpha ? Number(alpha[1].replace('none', '0')) : 1, computed };
  }), texts);
  const taken = read.filter((e) => e.taken);
  const rgb = await paint(page, taken.map((e) => e.computed));
  taken.forEach((e, i) => {
    // paint() reads back only its own placeholder #010203 as no colour.
    e.rgb = rgb[i] ?? [1, 2, 3];
    delete e.computed;
  });
  return read;
}

// Each text's reading by readOf (null: refused, else { rgb, message }) against Chromium's;
// a text with alpha under 1 must be refused with a word about opacity.
export async function checkTexts(page, texts, readOf) {
  const problems = [];
  const judged = await judge(page, texts);
  for (let t = 0; t < texts.length; t++) {
    const e = judged[t], a = readOf(texts[t]);
    const name = JSON.stringify(texts[t]);
    if (!e.taken || e.alpha < 1) {
      if (a.rgb) problems.push(`${name}: taken as ${JSON.stringify(a.rgb)}, Chromium ${e.taken ? `alpha ${e.alpha}` : 'refuses it'}`);
      else if (e.taken && !/opaque/.test(a.message)) problems.push(`${name}: alpha ${e.alpha}, refused as ${a.message}`);
    } else if (!a.rgb) {
      problems.push(`${name}: refused (${a.message.trim()}), Chromium paints ${JSON.stringify(e.rgb)}`);
    } else if (a.rgb.some((v, c) => Math.abs(v - e.rgb[c]) > 1)) {
      problems.push(`${name}: ${JSON.stringify(a.rgb)}, Chromium ${JSON.stringify(e.rgb)}`);
    }
  }
  return problems;
}
