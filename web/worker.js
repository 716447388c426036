'use strict';
// The conversion runs here, off the page's thread, so typing never waits for it.
// The page compiles the module while this worker starts, and sends it over.

let wasmModule = null;
const decoder = new TextDecoder('utf-16le');
const utf8Encoder = new TextEncoder();
let core = null;

// A fresh instance; after a trap the old one's memory may be torn, so it is dropped.
function load() {
  // The C library asks for a few system calls it never needs here: each answers
  // "not supported" (52).
  const imports = {};
  for (const { module, name } of WebAssembly.Module.imports(wasmModule)) {
    imports[module] ??= {};
    imports[module][name] = () => 52;
  }
  const instance = new WebAssembly.Instance(wasmModule, imports);
  instance.exports._initialize();
  core = instance.exports;
}

function put(area, text) {
  const at = area(text.length);
  const units = new Uint16Array(core.memory.buffer, at, text.length);
  for (let i = 0; i < text.length; i++) units[i] = text.charCodeAt(i);
}

function result(units) {
  return decoder.decode(new Uint16Array(core.memory.buffer, core.vm_result(), units));
}

const FIELDS = ['open', 'middle', 'close', 'step', 'size', 'font'];
const FLAGS = ['merge', 'bold', 'italic', 'underline', 'strike'];
const STRIP = 256; // the strip's colours, stretched to its width

// A fault in a setting the user can see and fix: no code, a message beside it.
class SettingError extends Error {
  constructor(field, detail) {
    super(field);
    this.detail = { field, ...detail };
  }
}

function applySettings(s) {
  core.vm_reset();
  // The format first: it brings its own template, which the texts then replace.
  put(core.vm_scratch, s.dialect);
  core.vm_set_format();
  const set = (name, value) => {
    put(core.vm_scratch, `${name}=${value}`);
    core.vm_set();
  };
  for (const name of FIELDS) set(name, s[name]);
  for (const name of FLAGS) set(name, s[name] ? '1' : '0');
  const colour = (text) => {
    put(core.vm_scratch, text);
    return core.vm_colour();
  };
  pickers = [colour(s.start), colour(s.end)];
  if (s.colours.trim() !== '') {
    // Stops as CSS writes them, read by the core; a refusal names the first stop it cannot read.
    if (!cssStops(s.colours)) {
      const bad = s.colours.split(/,(?![^(]*\))/).find((stop) => !cssStops(`${stop},${stop}`));
      throw new SettingError('colours', { notColour: (bad ?? s.colours).trim().slice(0, 40) });
    }
  } else {
    [s.start, s.end].forEach((stop, i) => {
      if (pickers[i] < 0) throw new SettingError(i === 0 ? 'start' : 'end', { notColour: stop });
      core.vm_add_stop(pickers[i]);
    });
    core.vm_use_stops();
  }
  put(core.vm_scratch, s.blend);
  if (!core.vm_set_blend_css()) throw new SettingError('blend', { notBlend: s.blend.slice(0, 40) });
}

function cssStops(text) {
  put(core.vm_scratch, text);
  return core.vm_set_stops_css();
}

let text = '';
let pickers = []; // the start and end colours as read, for the colour pickers
let textPut = false; // whether the instance holds `text`

function putText() {
  if (textPut) return;
  const room = text.length * 3;
  const at = core.vm_input_utf8(room);
  const { written } = utf8Encoder.encodeInto(text, new Uint8Array(core.memory.buffer, at, room));
  core.vm_take_input(written);
  textPut = true;
}

// The text read back as a code in whichever format reads it: its text, colours
// and format, or nothing when it holds no colour.
function decoded() {
  putText();
  const length = core.vm_decode(1);
  const count = core.vm_decoded_count();
  if (count === 0) return null;
  const decodedText = result(length);
  const colours = [...new Int32Array(core.memory.buffer, core.vm_decoded_colours(), count)];
  return { text: decodedText, colours, format: result(core.vm_decoded_format()) };
}

function convert(s) {
  putText();
  applySettings(s);
  // The core throws, which here traps, for what the check names: ask first.
  const problem = core.vm_check();
  if (problem === 1) throw new SettingError('text', { tooLong: true });
  if (problem === 2) throw new SettingError('colours', { twoColours: true });
  const missing = JSON.parse(result(core.vm_missing_styles()));
  // The CLI's limits, up to 2^64 - 1. No code is near 2^53 characters, so a
  // limit beyond it is as good as 2^53, which a double holds exactly.
  const limit = (id) => {
    if (s[id] === '') return -1;
    if (!/^[0-9]+$/.test(s[id]) || BigInt(s[id]) >= 2n ** 64n) throw new SettingError(id, { notNumber: s[id].slice(0, 40) });
    return Math.min(Number(s[id]), Number.MAX_SAFE_INTEGER);
  };
  const maxTags = limit('max-tags');
  let step = 0;
  if (s.fit !== '') {
    step = core.vm_fit_within(limit('fit'), maxTags);
    if (step === 0) {
      throw new SettingError('fit', {
        noFit: s.fit, shortest: core.vm_fit_length(), atStep: core.vm_fit_shortest_step(),
        ...(maxTags >= 0 && { maxTags: s['max-tags'], tags: core.vm_fit_tags() }),
      });
    }
  }
  // The code goes over as its bytes, moved rather than copied; the page decodes it
  // whole only to copy it, and the box's share of it here.
  const size = core.vm_convert(step); // may grow the memory: views come after
  const bytes = new Uint8Array(core.memory.buffer, core.vm_code(), size).slice();
  const head = new TextDecoder().decode(bytes.subarray(0, s.codeShown * 3), { stream: true });
  const shown = head.slice(0, s.codeShown);
  const cut = shown.length < head.length || bytes.length > s.codeShown * 3;
  const length = core.vm_code_points();
  const tags = core.vm_code_tags();
  const colours = core.vm_strip(STRIP); // before its pointer: it fills the vector
  const strip = new Int32Array(core.memory.buffer, core.vm_strip_colours(), colours).slice();
  const count = core.vm_preview(step, s.previewCharacters);
  const units = new Int32Array(core.memory.buffer, core.vm_preview_units(), count * 3).slice();
  return { bytes, shown, cut, length, tags, maxTags, missing, step, units, strip, points: core.vm_preview_points() };
}

let latest = null;
const wake = new MessageChannel();

// Messages that queued up while a conversion ran are all read before the next
// one starts: only the newest settings are converted.
wake.port1.onmessage = () => {
  const job = latest;
  latest = null;
  if (!job) return;
  let reply;
  let read = null;
  try {
    if (job.detect) read = decoded();
    reply = { id: job.id, ...convert(job.settings), pickers, decoded: read };
  } catch (error) {
    if (error instanceof SettingError) {
      reply = { id: job.id, error: error.detail, pickers, decoded: read };
    } else {
      // A trap (out of memory, a fault in the core): start over with a new
      // instance, which gets the text again with the next job.
      load();
      textPut = false;
      reply = { id: job.id, error: { fault: String(error && error.message) } };
    }
  }
  postMessage(reply, reply.units ? [reply.units.buffer, reply.bytes.buffer, reply.strip.buffer] : []);
};

onmessage = ({ data }) => {
  if (data.module) {
    wasmModule = data.module;
    load();
    // The one description of formats, start-up values, fonts and sizes.
    postMessage({ ready: JSON.parse(result(core.vm_description())) });
    return;
  }
  if (data.text !== undefined) {
    text = data.text;
    textPut = false;
  }
  if (latest?.detect) data.detect = true; // a paste's reading back outlives the settings after it
  latest = data;
  wake.port2.postMessage(0);
};

