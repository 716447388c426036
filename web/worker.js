'use strict';
// The conversion runs here, off the page's thread, so typing never waits for it.
// The page compiles the module while this worker starts, and sends it over.
// Messages both ways carry named fields only; their shapes are written down in
// the notes on the worker's protocol. Every rule (settings, stops, limits, read
// back) is the core's: this file moves values and names across.

let wasmModule = null;
const utf8Decoder = new TextDecoder();
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

function put(text) {
  const at = core.vm_scratch(text.length);
  const units = new Uint16Array(core.memory.buffer, at, text.length);
  for (let i = 0; i < text.length; i++) units[i] = text.charCodeAt(i);
}

// The module's report on its last call, read after the call: the memory may have grown.
function report(length) {
  return JSON.parse(utf8Decoder.decode(new Uint8Array(core.memory.buffer, core.vm_json(), length)));
}

let text = '';
let textPut = false; // whether the instance holds `text`

function putText() {
  if (textPut) return;
  const room = text.length * 3;
  const at = core.vm_input_utf8(room);
  const { written } = utf8Encoder.encodeInto(text, new Uint8Array(core.memory.buffer, at, room));
  core.vm_take_input(written);
  textPut = true;
}

// Settings by name become the module's "name=value" lines; a value cannot hold a line break.
function applySettings(settings) {
  const lines = [];
  const problems = [];
  for (const [name, raw] of Object.entries(settings)) {
    const value = String(raw);
    if (/[\r\n]/.test(value)) problems.push({ setting: name, problem: 'line-break', value: value.slice(0, 40) });
    else lines.push(`${name}=${value}`);
  }
  put(lines.join('\n'));
  return [...problems, ...report(core.vm_set()).problems];
}

const VIEW = { previewCharacters: 4000, codeShown: 10000, stripColours: 256 };

function convert(job) {
  putText();
  const view = { ...VIEW, ...job.view };
  const refused = applySettings(job.settings ?? {});
  const readBack = job.readBack ? report(core.vm_read_back()) : null;
  if (refused.length) {
    return { type: 'converted', id: job.id, ok: false, problems: refused, code: null, step: null,
      limits: null, fit: null, over: { length: false, tags: false }, missingStyles: [], preview: null,
      strip: new Int32Array(0), colours: null, readBack };
  }
  const r = report(core.vm_convert(view.previewCharacters, view.stripColours));
  const memory = core.memory.buffer;
  const strip = new Int32Array(memory, core.vm_strip_colours(), r.strip).slice();
  let code = null;
  let preview = null;
  if (r.ok) {
    // The code goes over as its bytes, moved rather than copied; the page decodes it
    // whole only to copy it, and the box's share of it here.
    const bytes = new Uint8Array(memory, core.vm_code(), r.code.bytes).slice();
    const head = new TextDecoder().decode(bytes.subarray(0, view.codeShown * 3), { stream: true });
    const shown = head.slice(0, view.codeShown);
    const cut = shown.length < head.length || bytes.length > view.codeShown * 3;
    code = { bytes, shown, cut, length: r.code.length, tags: r.code.tags };
    const units = new Int32Array(memory, core.vm_preview_units(), r.preview.units * 3).slice();
    preview = { units, stride: 3, layout: ['offset', 'length', 'rgb'], points: r.preview.points };
  }
  return { type: 'converted', id: job.id, ok: r.ok, problems: r.problems, code, step: r.step, limits: r.limits,
    fit: r.fit, over: r.over, missingStyles: r.missingStyles, unshown: r.unshown, preview, strip, colours: r.colours, readBack,
    contrast: r.contrast ?? null };
}

// --- the page before its rewrite: the old message shape, answered in its shape ---------

// The old page sends its fields by the settings' names, the format as `dialect`
// and flags as booleans, beside the view's two sizes.
function fromOld(data) {
  const { previewCharacters, codeShown, dialect, ...fields } = data.settings;
  const settings = { format: dialect };
  for (const [name, value] of Object.entries(fields)) settings[name] = typeof value === 'boolean' ? (value ? '1' : '0') : value;
  // The old page read start and end only for the pickers while it had colours.
  if (fields.colours.trim() !== '') {
    delete settings.start;
    delete settings.end;
  }
  return { id: data.id, settings, view: { previewCharacters, codeShown }, readBack: data.detect, old: data.settings };
}

function toOld(r, s) {
  const packed = (hex) => (hex ? parseInt(hex.slice(1), 16) : -1);
  const pickers = r.colours ? [packed(r.colours.start), packed(r.colours.end)] : [];
  const back = r.readBack;
  const decoded = back?.ok ? { text: back.text, colours: back.stops.map((stop) => packed(stop.rgb)), format: back.format } : null;
  const problem = r.problems.find((p) => !p.problem.startsWith('over-'));
  if (!r.ok && problem) {
    const field = problem.setting;
    const error = {
      'not-colour': { field, notColour: problem.value },
      'not-stop': { field, notColour: problem.value },
      'too-many-stops': { field, notColour: problem.value },
      'one-colour': { field, twoColours: true },
      'not-blend': { field, notBlend: problem.value },
      'text-too-long': { field, tooLong: true },
      'not-number': { field, notNumber: problem.value },
      'no-fit': { field, noFit: s.fit, shortest: problem.length, atStep: problem.shortestStep,
        ...(problem.maxTags !== null && { maxTags: s['max-tags'], tags: problem.tags }) },
      fault: { fault: problem.value },
    }[problem.problem] ?? { field, notColour: problem.value };
    return { id: r.id, error, pickers, decoded, took: r.took };
  }
  return { id: r.id, ...r.code, maxTags: r.limits.maxTags ?? -1, missing: r.missingStyles, step: r.step,
    units: r.preview.units, strip: r.strip, points: r.preview.points ?? NaN, pickers, decoded, took: r.took };
}

// --- messages ---------------------------------------------------------------------------

let latest = null;
const wake = new MessageChannel();

// Messages that queued up while a conversion ran are all read before the next
// one starts: only the newest settings are converted.
wake.port1.onmessage = () => {
  const data = latest;
  latest = null;
  if (!data) return;
  const job = data.type === 'convert' ? data : fromOld(data);
  let reply;
  try {
    reply = convert(job);
  } catch (error) {
    // A trap (out of memory, a fault in the core): start over with a new
    // instance, which gets the text again with the next job.
    load();
    textPut = false;
    reply = { type: 'converted', id: job.id, ok: false, code: null, preview: null, colours: null, readBack: null,
      strip: new Int32Array(0), problems: [{ setting: null, problem: 'fault', value: String(error && error.message) }] };
  }
  if (job.old) reply = toOld(reply, job.old);
  const moved = [reply.strip?.buffer, reply.code?.bytes.buffer ?? reply.bytes?.buffer,
    reply.preview?.units.buffer ?? reply.units?.buffer].filter(Boolean);
  postMessage(reply, moved);
};

onmessage = ({ data }) => {
  if (data.type === 'module' || data.module) {
    wasmModule = data.module;
    load();
    // The one description of settings, formats, start-up values, fonts and sizes.
    const description = report(core.vm_description());
    postMessage({ type: 'ready', description });
    postMessage({ ready: description }); // the old page's shape
    return;
  }
  if (data.type === 'stops') {
    const colours = String(data.colours ?? '');
    put(colours.trim() ? colours : `${data.start ?? ''}, ${data.end ?? ''}`);
    postMessage({ type: 'stops', id: data.id, ...report(core.vm_stops()) });
    return;
  }
  if (data.text !== undefined) {
    text = data.text;
    textPut = false;
  }
  // A paste's reading back outlives the settings after it.
  if (latest?.detect || latest?.readBack) data.readBack = data.detect = true;
  latest = data;
  wake.port2.postMessage(0);
};
