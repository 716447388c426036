// The CLI's colours against Chromium's color-mix() over a few hundred random gradients,
// and its reading of a few hundred colour texts against CSS's.
// Usage: node colour_oracle_test.mjs CLI NODE_MODULES CHROMIUM [SEED]: each run draws new gradients
// from the clock, unless SEED or VELMORANT_ORACLE_SEED names the seed it prints.
import { spawnSync } from 'node:child_process';
import { check, checkTexts, randomColourTexts, randomGradients, stopsArgument, withoutTies } from './colour_oracle.mjs';
import { launch } from './launch.mjs';

const [cli, modules, chromium, seed = process.env.VELMORANT_ORACLE_SEED ?? Date.now() % 1e6] = process.argv.slice(2);
console.log(`seed ${seed} (again: VELMORANT_ORACLE_SEED=${seed})`);

function cliColours(gradient) {
  const args = ['--blend', gradient.blend, '--colours', stopsArgument(gradient), '--open', '<', '--middle', '>',
    '--close', '', '--size=', '--font='];
  const run = spawnSync(cli, args, { input: 'x'.repeat(gradient.units), encoding: 'utf8' });
  if (run.status !== 0) return null;
  return [...run.stdout.matchAll(/<([0-9A-F]{6})>/g)].map(([, hex]) =>
    [0, 2, 4].map((at) => parseInt(hex.slice(at, at + 2), 16)));
}

// The colour of a text given as both ends, or the message that refuses it.
function cliReading(text) {
  const run = spawnSync(cli, ['--start', text, '--end', text, '--open', '<', '--middle', '>', '--close', '', '--size=',
    '--font='], { input: 'x', encoding: 'utf8' });
  const hex = run.status === 0 && run.stdout.match(/<([0-9A-F]{6})>/)?.[1];
  return hex ? { rgb: [0, 2, 4].map((at) => parseInt(hex.slice(at, at + 2), 16)) } : { message: run.stderr ?? String(run.error) };
}

const context = await launch(modules, chromium);
try {
  const page = await context.newPage();
  const problems = [...await check(page, await withoutTies(page, randomGradients(Number(seed), 300)), cliColours),
    ...await checkTexts(page, randomColourTexts(Number(seed), 400), cliReading)];
  for (const problem of problems.slice(0, 40)) console.log(`FAIL ${problem}`);
  console.log(`${problems.length} disagreements`);
  process.exitCode = problems.length ? 1 : 0;
} finally {
  await context.close();
}
