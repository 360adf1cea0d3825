// Where the page's time goes before its first contentful paint and before its
// inputs take typing, beside the blank page's, from Chromium's performance
// trace: the renderer main thread's CPU time by kind of work, and the
// module's compilation off it. CPU time rather than wall time, so that other
// load on the machine weighs little; medians of several loads. With "phone",
// on the phone's profile, whose main thread runs four times slower.
// usage: node web/bench/page_trace.mjs [loads] [phone]
import { launch, pageUrl, watchReady } from '../tests/browser.mjs';
import { blankPage, kPhone } from './baseline.mjs';

const loads = Number(process.argv[2] ?? 9);
const phone = process.argv[3] === 'phone';

// A piece of work counts for the innermost event that names its kind: the
// font look-ups inside a layout count as fonts, a function compiled lazily
// while a script runs as compilation.
const kKinds = [
    ['parse', /^(ParseHTML|TextResourceDecoder::Decode|CSSParserImpl::parseStyleSheet)$/],
    ['compile', /^(v8\.compile|V8\.(Compile|Parse|PreParse)\w*)$/],
    ['scripts', /^(EvaluateScript|v8\.run|v8\.callFunction|FunctionCall|EventDispatch|TimerFire)$/],
    // The module inflated, compiled and instantiated.
    ['module', /^((wasm|v8\.wasm)\.|DecompressionStream)/],
    ['style', /^(UpdateLayoutTree|Document::(updateStyle|recalcStyle))$/],
    ['layout', /^(Layout|LocalFrameView::layout)$/],
    ['fonts', /^(FontCache|FontDataServiceImpl|FontDataManager|WebSandboxSupportLinux)::/],
    ['paint', /^(PrePaint|Paint|Commit|UpdateLayer|Layerize)$/],
];
const kCategories = [
    'devtools.timeline',
    'disabled-by-default-devtools.timeline',
    'blink',
    'blink.user_timing',
    'loading',
    'fonts',
    'v8',
    'disabled-by-default-v8.compile',
    'v8.wasm',
    'disabled-by-default-v8.wasm.detailed',
];

const kindOf = (name) => kKinds.find(([, pattern]) => pattern.test(name))?.[0];

// CPU milliseconds by kind, on the main thread from `start` to `end`, and the
// module's on the page's other threads.
function breakdown(events, main, start, end) {
    const ms = Object.fromEntries([...kKinds.map(([kind]) => [kind, 0]), ['other', 0]]);
    ms['module, off the main thread'] = 0;
    const timed = events
        .filter((e) => e.ph === 'X' && e.pid === main.pid && e.tdur > 0)
        .filter((e) => e.ts >= start && e.ts < end)
        .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
    const stack = [];
    for (const e of timed) {
        if (e.tid !== main.tid) continue;
        while (stack.length && stack.at(-1).ts + stack.at(-1).dur <= e.ts) stack.pop();
        const parent = stack.at(-1);
        const kind = kindOf(e.name) ?? parent?.kind ?? 'other';
        ms[kind] += e.tdur / 1000;
        if (parent) ms[parent.kind] -= e.tdur / 1000;
        stack.push({ ts: e.ts, dur: e.dur, kind });
    }
    // Off the main thread only the outermost of the module's events count.
    const threads = new Map();
    for (const e of timed.filter((e) => e.tid !== main.tid && kindOf(e.name) === 'module')) {
        if (e.ts < (threads.get(e.tid) ?? 0)) continue;
        threads.set(e.tid, e.ts + e.dur);
        ms['module, off the main thread'] += e.tdur / 1000;
    }
    ms['main thread, all'] = Object.entries(ms)
        .filter(([kind]) => !kind.includes('off'))
        .reduce((sum, [, v]) => sum + v, 0);
    return ms;
}

async function trace(browser, url) {
    const context = await browser.newContext(phone ? kPhone.device : {});
    const page = await context.newPage();
    if (phone) {
        const cdp = await context.newCDPSession(page);
        await cdp.send('Emulation.setCPUThrottlingRate', { rate: kPhone.cpuSlowdown });
    }
    const untilReady = await watchReady(page);
    await browser.startTracing(page, { categories: kCategories });
    await page.goto(url);
    await untilReady();
    // The paint is recorded once it is presented.
    await page.evaluate(
        () =>
            new Promise((resolve) =>
                new PerformanceObserver(resolve).observe({ type: 'paint', buffered: true }),
            ),
    );
    const { traceEvents: events } = JSON.parse(await browser.stopTracing());
    await context.close();
    const navigation = events.find(
        (e) => e.name === 'navigationStart' && e.args?.data?.documentLoaderURL === url,
    );
    const mark = (name) =>
        events.find((e) => e.name === name && e.pid === navigation.pid && e.ts >= navigation.ts).ts;
    const paint = mark('firstContentfulPaint');
    const ready = mark('inputs-ready');
    return {
        paint: (paint - navigation.ts) / 1000,
        ready: (ready - navigation.ts) / 1000,
        beforePaint: breakdown(events, navigation, navigation.ts, paint),
        beforeReady: breakdown(events, navigation, navigation.ts, ready),
    };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const blank = blankPage();
const browser = await launch();
try {
    const runs = { page: [], blank: [] };
    for (let i = 0; i < loads; i++) {
        runs.page.push(await trace(browser, pageUrl));
        runs.blank.push(await trace(browser, blank.url));
    }
    // The median of each figure over the loads, as "page / blank page".
    const ms = (pick) =>
        ['page', 'blank']
            .map((name) => median(runs[name].map(pick)).toFixed(1).padStart(6))
            .join(' ');
    for (const [title, part] of [
        ['before the first contentful paint', 'beforePaint'],
        ['before the inputs take typing', 'beforeReady'],
    ]) {
        console.log(`CPU ms ${title}, median of ${loads} loads: page / blank page`);
        for (const kind of Object.keys(runs.page[0][part])) {
            console.log(`  ${kind.padEnd(28)} ${ms((r) => r[part][kind])}`);
        }
    }
    console.log(`wall ms, first contentful paint: ${ms((r) => r.paint)}`);
    console.log(`wall ms, inputs ready:           ${ms((r) => r.ready)}`);
} finally {
    await browser.close();
    blank.remove();
}
