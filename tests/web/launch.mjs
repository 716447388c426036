// Debian's Chromium, headless, with nothing of its own reaching for the network,
// through playwright-core from the build tree.
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

export async function launch(modules, executablePath, options = {}) {
  const { chromium } = createRequire(resolve(modules, '..', 'package.json'))('playwright-core');
  const profile = mkdtempSync(join(tmpdir(), 'velmorant-web-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
    ...options,
  });
  const close = context.close.bind(context);
  context.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return context;
}

// Resolves once the code answers what the controls hold.
export const settled = (page) => page.waitForSelector('#code:not([data-state="pending"])', { state: 'attached' });
