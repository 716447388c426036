
// The tests' build only, after the worker's script: {trap: true} runs the newest
// job again with a trap in the core, and each reply carries the worker's time.
let trapNext = false;
let newest = null;
const convertPlain = convert;
convert = (job) => {
  if (trapNext) {
    trapNext = false;
    core.vm_trap();
  }
  const began = performance.now();
  const reply = convertPlain(job);
  reply.took = performance.now() - began;
  return reply;
};
const onmessagePlain = onmessage;
onmessage = (event) => {
  if (!event.data.trap) {
    if (event.data.settings) newest = event.data;
    onmessagePlain(event);
    return;
  }
  trapNext = true;
  latest = newest;
  wake.port2.postMessage(0);
};
