// Debian's Chromium, headless, driven by Playwright; the page from disk, or
// served over http.
import { createHash } from 'node:crypto';
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
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
// until the test calls window.releaseModule(), and openPage does not wait;
// the module is then window.manacalc, for the test to call too.
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
                        window.releaseModule = () =>
                            resolve(create(options).then((m) => (window.manacalc = m)));
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
    const ready = held ? null : await watchReady(page);
    await page.goto(url);
    await ready?.();
    return page;
}

// For a page about to be loaded: a function that waits until the page has
// marked its inputs ready, as it tells on the console. Asked instead
// (Playwright's waitForFunction, or any evaluation over CDP), the page would
// first compile the driver's or the debugger's scripts on its main thread
// while it gets ready: 24 to 50 ms of CPU in traces on a phone's profile,
// which no player's browser spends.
export async function watchReady(page) {
    await page.addInitScript(() => {
        new PerformanceObserver((list, observer) => {
            if (list.getEntriesByName('inputs-ready').length === 0) return;
            observer.disconnect();
            console.debug('inputs-ready');
        }).observe({ type: 'mark', buffered: true });
    });
    const told = page.waitForEvent('console', (message) => message.text() === 'inputs-ready');
    return () => told;
}

// A first script of the test's own, allowed by its hash beside the page's:
// the page's policy violations, from its first element on, in window.violations.
const kWatch =
    'window.violations = []; document.addEventListener("securitypolicyviolation", ' +
    '(event) => window.violations.push(event.effectiveDirective));';
function watched(html) {
    const hash = createHash('sha256').update(kWatch).digest('base64');
    const policy = /<meta http-equiv="Content-Security-Policy"[^>]*>/;
    return String(html)
        .replace("script-src 'sha", `script-src 'sha256-${hash}' 'sha`)
        .replace(policy, `$&<script>${kWatch}</script>`);
}

// build/web over http on 127.0.0.1, as `make web` serves it; close the server after.
export async function servePage({ watch = false } = {}) {
    const types = { html: 'text/html', js: 'text/javascript', png: 'image/png' };
    const server = createServer((request, response) => {
        const name = new URL(request.url, 'http://x').pathname.slice(1) || 'index.html';
        try {
            const body = readFileSync(path.join(webBuildDir, path.basename(name)));
            const type = types[name.split('.').pop()] ?? 'application/manifest+json';
            const served = watch && type === 'text/html' ? watched(body) : body;
            response.writeHead(200, { 'content-type': type }).end(served);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    server.url = `http://127.0.0.1:${server.address().port}/index.html`;
    return server;
}
