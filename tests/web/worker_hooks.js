
// The tests' build only, after the worker's script: {trap: n} runs the newest
// job again with a trap in the core, n times over, and each reply carries the worker's time.
let trapNext = 0;
let newest = null;
const convertPlain = convert;
convert = (job) => {
  if (trapNext > 0) {
    trapNext--;
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
  trapNext = event.data.trap;
  latest = newest;
  wake.port2.postMessage(0);
};
