// Prints what the page costs in headless Chromium: the bytes it loads, its
// first contentful paint and the time to its inputs taking typing, beside a
// blank page (one caption, one input) and beside its own window with its
// scripts taken out, loaded in turn with it, on this machine and on a phone's
// profile, and the time from a key release to the results written, measured
// in the page with performance.now().
// usage: node web/bench/page_timing.mjs [loads] [key releases]
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { gzipSync } from 'node:zlib';
import { launch, openPage, pagePath, pageUrl, webBuildDir } from '../tests/browser.mjs';
import { blankPage, kPhone, windowAlone } from './baseline.mjs';

const loads = Number(process.argv[2] ?? 20);
const releases = Number(process.argv[3] ?? 300);

function summary(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
    const mean = sorted.reduce((s, v) => s + v, 0) / sorted.length;
    const ms = (v) => v.toFixed(3);
    return `median ${ms(at(0.5))} ms, mean ${ms(mean)} ms, p95 ${ms(at(0.95))} ms, min ${ms(sorted[0])} ms, max ${ms(sorted.at(-1))} ms (${sorted.length} samples)`;
}

function ratios(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
    const x = (v) => `${v.toFixed(2)}x`;
    return `median ${x(at(0.5))}, quartiles ${x(at(0.25))}-${x(at(0.75))}, min ${x(sorted[0])}, max ${x(sorted.at(-1))}`;
}

// The page itself, then what an installed page adds beside it.
const kFiles = ['index.html', 'manifest.webmanifest', 'sw.js', 'icon-180.png', 'icon-192.png'];
for (const name of kFiles) {
    const file = readFileSync(path.join(webBuildDir, name));
    const gzip = gzipSync(file, { level: 9 }).length;
    console.log(`size: ${name}: ${file.length} bytes, ${gzip} bytes gzip -9`);
}

const blank = blankPage();
const drawn = windowAlone(pagePath);

// First contentful paint and inputs ready, in ms from navigation.
const timings = () =>
    new Promise((resolve) => {
        const ready = performance.getEntriesByName('inputs-ready')[0].startTime;
        new PerformanceObserver((list, observer) => {
            const paint = list.getEntriesByName('first-contentful-paint')[0];
            if (!paint) return;
            observer.disconnect();
            resolve([paint.startTime, ready]);
        }).observe({ type: 'paint', buffered: true });
    });

const browser = await launch();
try {
    for (const [profile, options] of [
        ['this machine', {}],
        ['a phone (4x slower CPU)', kPhone],
    ]) {
        const [paint, ready, blankPaint, blankReady, drawnPaint] = [[], [], [], [], []];
        const [paintRatio, readyRatio, drawnRatio] = [[], [], []];
        // In turn, so that the machine's other load weighs on all alike, and
        // each closed before the next opens: a page left open goes on with
        // its work (the module's optimised compilation) while the next loads.
        const load = async (url) => {
            const opened = await openPage(browser, { ...options, url });
            const figures = await opened.evaluate(timings);
            await opened.context().close();
            return figures;
        };
        for (let i = 0; i < loads; i++) {
            const [pagePaint, pageReady] = await load(pageUrl);
            const [bPaint, bReady] = await load(blank.url);
            const [wPaint] = await load(drawn.url);
            paint.push(pagePaint);
            ready.push(pageReady);
            blankPaint.push(bPaint);
            blankReady.push(bReady);
            drawnPaint.push(wPaint);
            paintRatio.push(pagePaint / bPaint);
            readyRatio.push(pageReady / bReady);
            drawnRatio.push(pagePaint / wPaint);
        }
        console.log(`first contentful paint, ${profile}: ${summary(paint)}`);
        console.log(`  blank page: ${summary(blankPaint)}`);
        console.log(`  page / blank, per load: ${ratios(paintRatio)}`);
        console.log(`  the window alone, no script: ${summary(drawnPaint)}`);
        console.log(`  page / the window alone, per load: ${ratios(drawnRatio)}`);
        console.log(`inputs ready, ${profile}: ${summary(ready)}`);
        console.log(`  blank page: ${summary(blankReady)}`);
        console.log(`  page / blank, per load: ${ratios(readyRatio)}`);
    }

    const p = await openPage(browser);
    // Capture phase on the window runs before the box's own handler, the
    // bubble phase after it has written the results.
    await p.evaluate(() => {
        window.keyUpTimes = [];
        let start = 0;
        window.addEventListener('keyup', () => (start = performance.now()), true);
        window.addEventListener('keyup', () => window.keyUpTimes.push(performance.now() - start));
    });
    const keys = ['1', '5', '0', 'Backspace', 'Backspace', 'Backspace'];
    for (let i = 0; i < releases; i++) await p.keyboard.press(keys[i % keys.length]);
    const written = await p.evaluate(() => document.getElementById('Text10').value);
    const times = await p.evaluate(() => window.keyUpTimes);
    console.log(`key release to results written (Text10 now ${written}): ${summary(times)}`);
    await p.context().close();
} finally {
    await browser.close();
    blank.remove();
    drawn.remove();
}
