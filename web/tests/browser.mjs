// Debian's Chromium, headless, driven by Playwright; the page from disk.
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

export const sourceDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const webBuildDir = process.env.MANACALC_WEB_BUILD ?? path.join(sourceDir, 'build/web');
export const pagePath = path.join(webBuildDir, 'index.html');
export const pageUrl = pathToFileURL(pagePath).href;

// As root and on a closed network: no sandbox, and none of Chromium's own
// connections, which this machine refuses. Playwright gives every launch a
// fresh profile of its own.
const kArgs = [
    '--headless',
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
];

const kOptions = {
    executablePath: process.env.MANACALC_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: kArgs,
};

export function launch() {
    return chromium.launch(kOptions);
}

// A browser that keeps a profile in `dir`, as a player's does: what installs
// and what works offline depends on one.
export function launchWithProfile(dir) {
    return chromium.launchPersistentContext(dir, kOptions);
}

// The page, opened from disk in a context of its own, once its inputs take
// typing. Browser zoom is a device pixel ratio to the page: CSS pixels grow by
// the factor, and the window holds fewer of them. Close page.context() after.
// countWrites: the id of a box whose writes by the page are counted in
// window.writes; device: the context's options for another screen (a phone);
// cpuSlowdown: how many times slower than this machine's the CPU runs; url:
// another page, that marks inputs-ready too; held: the module is not ready
// until the test calls window.releaseModule(), and openPage does not wait.
export async function openPage(browser, options = {}) {
    const { zoom = 1, requests = null, countWrites = null, device = {} } = options;
    const { cpuSlowdown = 1, url = pageUrl, held = false } = options;
    const context = await browser.newContext({
        viewport: { width: Math.round(1280 / zoom), height: Math.round(720 / zoom) },
        deviceScaleFactor: zoom,
        ...device,
    });
    if (countWrites) {
        await context.addInitScript((id) => {
            const value = Object.getOwnPropertyDescriptor(HTMLInputElement.prototype, 'value');
            window.writes = 0;
            Object.defineProperty(HTMLInputElement.prototype, 'value', {
                ...value,
                set(text) {
                    if (this.id === id) window.writes++;
                    value.set.call(this, text);
                },
            });
        }, countWrites);
    }
    if (held) {
        // The glue's createManacalc, as the page gets it, answers only once released.
        await context.addInitScript(() => {
            let create;
            Object.defineProperty(window, 'createManacalc', {
                configurable: true,
                set: (f) => (create = f),
                get: () => (options) =>
                    new Promise((resolve) => {
                        window.releaseModule = () => resolve(create(options));
                    }),
            });
        });
    }
    const page = await context.newPage();
    if (cpuSlowdown > 1) {
        const cdp = await context.newCDPSession(page);
        await cdp.send('Emulation.setCPUThrottlingRate', { rate: cpuSlowdown });
    }
    if (requests) page.on('request', (request) => requests.push(request.url()));
    await page.goto(url);
    if (held) return page;
    await page.waitForFunction(() => performance.getEntriesByName('inputs-ready').length > 0);
    return page;
}
