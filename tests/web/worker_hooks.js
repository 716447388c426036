
// The tests' build only, after the worker's script: {trap: true} runs the newest
// job again with a trap in the core, and each reply carries the worker's time.
let trapNext = false;
let newest = null;
const convertPlain = convert;
convert = (settings) => {
  if (trapNext) {
    trapNext = false;
    core.vm_trap();
  }
  const began = performance.now();
  const reply = convertPlain(settings);
  reply.took = performance.now() - began;
  return reply;
};
const onmessagePlain = onmessage;
onmessage = (event) => {
  if (!event.data.trap) {
    if (event.data.settings) newest = { id: event.data.id, settings: event.data.settings };
    onmessagePlain(event);
    return;
  }
  trapNext = true;
  latest = newest;
  wake.port2.postMessage(0);
};
