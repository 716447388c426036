// The page against a plain model of its state, in Chromium: seeded random
// sequences of what a user does (type, paste, swatch, Swap, stop keys and
// drags, palette, format, read back, undo, redo, reload, a link kept or
// dropped, Reset). After every step the fields show the model, the storage
// holds it, and the code copied (Ctrl+Enter) is velmorant-cli's for it. A
// failure prints the seed and the steps that led to it.
// Usage: node page_model_test.mjs PAGE CLI NODE_MODULES CHROMIUM FIRST_SEED SEEDS STEPS
import { spawnSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';
import { launch, settled } from './launch.mjs';

const [pagePath, cli, modules, chromium, firstText = '1', seedsText = '3', stepsText = '25'] = process.argv.slice(2);
const pageUrl = pathToFileURL(pagePath).href;
const cliRun = (args, input) => spawnSync(cli, args, { input, encoding: 'utf8', maxBuffer: 1 << 26 });
const description = JSON.parse(cliRun(['--list=description'], '').stdout);
const FLAGS = ['bold', 'italic', 'underline', 'strike', 'merge'];

// The model's settings, from what the page shows at start-up and then only from the model's own rules.
const split = (colours) => colours.split(',').map((p) => p.trim()).map((p) => {
  const m = /^(.*\S)\s+(-?[\d.]+)%$/.exec(p);
  return m ? { colour: m[1], position: m[2] } : { colour: p, position: null };
});
const join = (list) => list.map((s) => (s.position === null ? s.colour : `${s.colour} ${s.position}%`)).join(', ');
const template = (name) => {
  const f = description.formats.find((x) => x.name === name);
  return { open: f.open, middle: f.middle, close: f.close };
};
// As the page asks the core: with a colours list, start and end are its ends.
function argsOf(s) {
  const args = [];
  for (const [name, value] of Object.entries(s)) {
    if (s.colours.trim() ? name === 'start' || name === 'end' : name === 'colours') continue;
    if (FLAGS.includes(name)) {
      if (value === '1') args.push(`--${name}`);
    } else if (value !== '' || !['colours', 'fit', 'max-tags'].includes(name)) args.push(`--${name === 'format' ? 'dialect' : name}=${value}`);
  }
  return args;
}

let seed = 0;
const random = (n) => Math.floor(((seed = (seed * 1103515245 + 12345) % 2 ** 31) / 2 ** 31) * n);
const pick = (list) => list[random(list.length)];
const hexColour = () => `#${Array.from({ length: 3 }, () => pick(['00', '33', '80', 'cc', 'ff'])).join('')}`;
const WORDS = ['abc', ' ', '你好', '😀', 'x\ny', 'Hi!', '[b]', '<i>'];
const COLOURS = ['red, lime, blue', 'navy, orange 40%, teal', 'red, blue'];
const FIELDS = [['size', ['', '3', '7']], ['font', ['', 'Arial', '黑体']], ['step', ['1', '2', '3']],
  ['fit', ['', '400', '5000']], ['max-tags', ['', '50']], ['open', ['[color=', '<#']]];

const copies = (page) => page.$eval('#copy', (b) => Number(b.dataset.copies || 0));
async function copied(page) {
  const before = await copies(page);
  await page.focus('#copy');
  await page.keyboard.press('Control+Enter');
  const done = await page.waitForFunction((n) => Number(document.querySelector('#copy').dataset.copies || 0) > n, before, { timeout: 10000 })
    .then(() => true, () => false);
  return done ? page.evaluate(() => navigator.clipboard.readText()) : null;
}

const fields = (page, names) => page.evaluate((names) => Object.fromEntries(names.map((n) => {
  const el = document.getElementById(n);
  return [n, el.type === 'checkbox' ? (el.checked ? '1' : '0') : el.value];
})), names);

// What each field shows for the model: start and end show the ends of a colours list.
function expectedFields(m) {
  const s = { ...m.settings };
  if (s.colours.trim()) [s.start, s.end] = [split(s.colours)[0].colour, split(s.colours).at(-1).colour];
  return s;
}

let startText = null;
async function run(page, steps, log) {
  const m = { text: '', settings: null, own: null, fromLink: false, past: [], future: [], link: null };
  await page.goto(`${pageUrl}?model`);
  await page.evaluate(() => localStorage.clear());
  await page.reload();
  await settled(page);
  m.text = await page.inputValue('#text');
  startText = m.text;
  m.settings = await fields(page, ['start', 'end', 'colours', 'format', 'open', 'middle', 'close', 'step', 'fit', 'max-tags', 'size', 'font', ...FLAGS]);
  m.settings.blend = 'srgb';
  const startup = { ...m.settings };
  // Stored settings: what differs from start-up, a format without its own template.
  const ownOf = (stored) => Object.fromEntries(Object.keys(startup).map((n) =>
    [n, stored[n] ?? (stored.format ? template(stored.format) : {})[n] ?? startup[n]]));
  m.own = m.settings;
  const snapshot = () => ({ text: m.text, settings: m.settings, own: m.own, fromLink: m.fromLink });
  const step = (change) => { // an action that changes nothing is no step
    const before = snapshot();
    change();
    if (!m.fromLink) m.own = m.settings;
    if (JSON.stringify(before) !== JSON.stringify(snapshot())) [m.past, m.future] = [[...m.past, before], []];
  };
  const set = (values) => step(() => { m.settings = { ...m.settings, ...values }; });
  const stops = () => (m.settings.colours.trim() ? split(m.settings.colours) : [{ colour: m.settings.start, position: null }, { colour: m.settings.end, position: null }]);
  const setStops = (list) => (m.settings.colours.trim() === '' && list.length === 2 && list.every((x) => x.position === null)
    ? set({ start: list[0].colour, end: list[1].colour }) : set({ colours: join(list) }));
  const walk = (from, to) => {
    if (!from.length) return;
    to.push(snapshot());
    Object.assign(m, from.pop());
  };

  const ACTIONS = {
    type: async () => {
      const word = pick(WORDS);
      await page.focus('#text');
      await page.keyboard.press('Control+End');
      await page.keyboard.type(word);
      step(() => { m.text += word; });
    },
    paste: async (text = Array.from({ length: 1 + random(4) }, () => pick(WORDS)).join('')) => {
      await page.evaluate((t) => navigator.clipboard.writeText(t), text);
      await page.focus('#text');
      await page.keyboard.press('Control+A');
      await page.keyboard.press('Control+V');
      await settled(page);
      step(() => { m.text = text; });
    },
    swatch: async () => {
      const which = pick(['start', 'end']);
      const colour = hexColour();
      await page.fill(`#${which}-picker`, colour);
      const list = stops();
      list[which === 'start' ? 0 : list.length - 1].colour = colour;
      if (m.settings.colours.trim()) set({ colours: join(list) });
      else set({ [which]: colour });
    },
    swap: async () => {
      await page.click('#swap');
      const list = stops();
      [list[0].colour, list[list.length - 1].colour] = [list.at(-1).colour, list[0].colour];
      if (m.settings.colours.trim()) set({ colours: join(list) });
      else set({ start: list[0].colour, end: list[1].colour });
    },
    colours: async () => {
      const colours = pick(COLOURS);
      await page.fill('#colours', colours);
      set({ colours });
    },
    handleKey: async () => {
      const list = stops();
      const i = random(list.length);
      const at = Number(await page.getAttribute(`#stop-${i}-handle`, 'aria-valuenow'));
      const [key, by] = pick([['ArrowRight', 1], ['ArrowLeft', -1], ['PageUp', 10]]);
      await page.press(`#stop-${i}-handle`, key);
      list[i].position = String(Math.round(Math.min(100, Math.max(0, at + by)) * 10) / 10);
      setStops(list);
    },
    drag: async () => {
      const list = stops();
      const i = random(list.length);
      const box = await page.$eval('#handles', (h) => JSON.parse(JSON.stringify(h.getBoundingClientRect())));
      const handle = await page.$eval(`#stop-${i}-handle`, (h) => JSON.parse(JSON.stringify(h.getBoundingClientRect())));
      await page.mouse.move(handle.x + handle.width / 2, handle.y + handle.height / 2);
      await page.mouse.down();
      await page.mouse.move(box.x + box.width * (0.1 + random(80) / 100), handle.y + 5, { steps: 3 });
      await page.mouse.up();
      await settled(page);
      list[i].position = await page.inputValue(`#stop-${i}-position`); // where the pointer let go, if it took hold
      if (list[i].position !== '') setStops(list);
    },
    palette: async () => {
      const p = pick(description.palettes);
      await page.click(`#palette-${p.name}`);
      set({ colours: p.colours, blend: p.blend });
    },
    format: async () => {
      const f = pick(description.formats.filter((x) => x.name !== m.settings.format));
      await page.selectOption('#format', f.name);
      set({ format: f.name, ...template(f.name) });
    },
    field: async () => {
      const [name, values] = pick(FIELDS);
      const value = pick(values.filter((v) => v !== m.settings[name]));
      await page.fill(`#${name}`, value);
      set({ [name]: value });
    },
    flag: async () => {
      const name = pick(FLAGS);
      await page.click(`#${name}`);
      set({ [name]: m.settings[name] === '1' ? '0' : '1' });
    },
    readBack: async () => {
      if (m.fromLink) return; // reading back while a link's settings wait changes no stored settings
      const format = pick(['minecraft', 'html', 'span']);
      const code = cliRun(argsOf({ ...startup, format, ...template(format), colours: pick(COLOURS) }), 'Read me').stdout;
      await ACTIONS.paste(code);
      const offered = await page.waitForSelector('#read-back:visible', { timeout: 5000 }).then(() => true, () => false);
      if (!offered) throw new Error('no read-back offer for a code');
      await page.click('#read-back');
      await settled(page);
      const stored = await page.evaluate(() => JSON.parse(localStorage.getItem('velmorant.settings')));
      step(() => {
        m.text = 'Read me';
        m.settings = ownOf(stored);
      });
      if ((await copied(page)) !== code) throw new Error('read back does not convert to the same code');
    },
    undo: async () => {
      await page.press('#text', 'Control+Z');
      walk(m.past, m.future);
    },
    redo: async () => {
      await page.press('#text', 'Control+Shift+Z');
      walk(m.future, m.past);
    },
    reset: async () => {
      await page.click('#reset');
      set({ ...startup });
    },
    reload: async () => {
      await page.reload();
      m.past = [];
      m.future = [];
      if (m.fromLink) m.settings = m.link;
    },
    link: async () => {
      const given = { bold: pick(['0', '1']), size: pick(['2', '5']), format: pick(['qq', 'bbcode']) };
      await page.goto(`${pageUrl}?model#${new URLSearchParams(given)}`);
      await page.reload();
      m.link = { ...startup, ...template(given.format), ...given };
      m.fromLink = FLAGS.concat(Object.keys(startup)).some((n) => m.link[n] !== m.own[n]);
      m.settings = m.fromLink ? m.link : m.own;
      m.past = [];
      m.future = [];
    },
    keepOrDrop: async () => {
      if (!m.fromLink) return;
      const keep = random(2) === 0;
      await page.click(keep ? '#keep' : '#drop');
      step(() => {
        m.fromLink = false;
        if (!keep) m.settings = m.own;
      });
    },
  };
  const names = Object.keys(ACTIONS);
  let last = null;
  for (let i = 0; i < steps; i++) {
    let name = pick(names);
    while (name === last) name = pick(names); // two alike in a row would be one step for the page
    last = name;
    log.push(name);
    await ACTIONS[name]();
    await settled(page);
    const want = expectedFields(m);
    const shown = await fields(page, Object.keys(want).filter((n) => n !== 'blend' && n !== 'step'));
    const wrong = Object.keys(shown).filter((n) => shown[n] !== want[n]);
    if ((await page.inputValue('#text')) !== m.text) wrong.push('text shown');
    const stored = await page.evaluate(() => [JSON.parse(localStorage.getItem('velmorant.settings') || '{}'), localStorage.getItem('velmorant.text')]);
    const own = ownOf(stored[0]);
    wrong.push(...Object.keys(startup).filter((n) => own[n] !== m.own[n]).map((n) => `stored ${n}`));
    if ((stored[1] ?? startText) !== m.text) wrong.push('text stored');
    if ((await page.isVisible('#from-link')) !== m.fromLink) wrong.push('banner');
    const cliResult = cliRun(argsOf(m.settings), m.text);
    const code = cliResult.status === 0 ? await copied(page) : null;
    if (cliResult.status === 0 && code !== cliResult.stdout) wrong.push('code');
    if (wrong.length) {
      throw new Error(`${wrong.join(', ')}\n  model ${JSON.stringify(m.settings)}\n  shown ${JSON.stringify(shown)}\n  text ${JSON.stringify(m.text)}` +
        `${code !== null && code !== cliResult.stdout ? `\n  page ${JSON.stringify(code?.slice(0, 160))}\n  cli  ${JSON.stringify(cliResult.stdout.slice(0, 160))}` : ''}`);
    }
  }
}

const context = await launch(modules, chromium, { viewport: { width: 1280, height: 900 } });
await context.grantPermissions(['clipboard-read', 'clipboard-write']);
const page = await context.newPage();
const errors = [];
page.on('pageerror', (e) => errors.push(e.message));
let failures = 0;
for (let s = Number(firstText); s < Number(firstText) + Number(seedsText); s++) {
  seed = s;
  const log = [];
  try {
    await run(page, Number(stepsText), log);
    if (errors.length) throw new Error(errors.splice(0).join('; '));
  } catch (e) {
    failures++;
    console.log(`FAIL seed ${s} after ${log.join(' ')}\n  ${e.message}`);
  }
}
await context.close();
console.log(failures ? `${failures} seeds failed` : `all ${seedsText} seeds passed`);
process.exit(failures ? 1 : 0);
