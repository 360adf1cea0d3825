// The page's module and the native companion agree, text for text, over
// 100 000 generated lines: the module under node answers each line through
// the same exported handlers the page calls, and manacalc-cli --batch answers
// the same lines natively (its digits from another source than the module's).
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { test } from 'node:test';
import { sourceDir, webBuildDir } from './browser.mjs';

const nativeCli =
    process.env.MANACALC_NATIVE_CLI ?? path.join(sourceDir, 'build/release/cli/manacalc-cli');
const kLines = 100_000;

// Field numbers (calc::index): Text1 is 0, Text10 is 9.
const [kText1, kText2, kText3, kText4, kText5, kText6, kText7, kText8, kText10] = [
    0, 1, 2, 3, 4, 5, 6, 7, 9,
];
const kStatus = ['ok', 'skipped', 'overflow', 'floating-point'];

async function loadModule(fields) {
    const createManacalc = createRequire(import.meta.url)(
        path.join(webBuildDir, 'web/manacalc.js'),
    );
    // Node's fetch cannot load a file path: the module gets its bytes directly.
    const wasmBinary = readFileSync(path.join(webBuildDir, 'web/manacalc.wasm'));
    // The fields alone: the window's other primitives do nothing here.
    const fieldsOnly = {
        text: (field) => fields[field],
        setText: (field, text) => {
            fields[field] = text;
        },
    };
    const page = new Proxy(fieldsOnly, { get: (port, name) => port[name] ?? (() => {}) });
    return createManacalc({ wasmBinary, page });
}

// Deterministic, so that a failure can be run again.
function random(seed) {
    let state = seed >>> 0;
    return () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = state;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

// Mostly lines like a player's, as the throughput bench makes them, then
// errors and lines that test the reading: signs, spaces, exponents, full-width
// digits, texts that are not numbers, and wrong field counts.
function generateLines(count) {
    const r = random(20261208);
    const int = (n) => Math.floor(r() * n);
    const pick = (items) => items[int(items.length)];
    const odd = (
        '|abc|-|.|1.|.5|+5| 7 |1e3|9E9|1e400|1d2|0x10|１００|９９．５|－３|1,5|12 3|-0|' +
        '32767|32768|-32769|99.5|2.5'
    ).split('|');
    const oddChars = '0123456789.+-eE ';
    const lines = [];
    for (let i = 0; i < count; i++) {
        const k = r();
        if (k < 0.6) {
            lines.push(`${int(200)}\t${(r() * 130).toFixed(1)}\t${int(130)}`);
        } else if (k < 0.7) {
            lines.push(`${int(40) + 1}`);
        } else if (k < 0.75) {
            lines.push('-80\t0\t0');
        } else if (k < 0.8) {
            // Large and negative values: overflow in the 16-bit steps, a
            // recovery value of 0 or below.
            lines.push(`${int(2000) - 1000}\t${int(60000) - 20000}\t${int(2000) - 1000}`);
        } else if (k < 0.85) {
            lines.push(`${(r() * 1e6).toExponential(int(10))}`);
        } else if (k < 0.93) {
            lines.push([pick(odd), pick(odd), pick(odd)].join('\t'));
        } else if (k < 0.97) {
            const length = int(8);
            let text = '';
            for (let j = 0; j < length; j++) text += oddChars[int(oddChars.length)];
            lines.push(r() < 0.5 ? text : `${text}\t${int(100)}\t${text}`);
        } else {
            lines.push(pick(['1\t2', '1\t2\t3\t4', '\t', '\t\t', '\t\t\t', pick(odd)]));
        }
    }
    return lines;
}

// One line as the batch contract answers it, from a fresh window state.
function answer(manacalc, fields, line) {
    const parts = line.split('\t');
    fields.splice(0, fields.length, '0', '0', '0', '0', '0', '0', '0', '0', '20', '0');
    if (parts.length === 1) {
        fields[kText10] = line;
        // A key release that is not Enter: the recovery-value entry alone.
        const status = manacalc._manacalc_key_up(kText10, 0, 0);
        return `${fields[kText5]}\t${kStatus[status]}`;
    }
    if (parts.length !== 3) return 'bad-line';
    [fields[kText1], fields[kText2], fields[kText3]] = parts;
    const status = manacalc._manacalc_click();
    const results = [kText10, kText5, kText6, kText4, kText7, kText8].map((f) => fields[f]);
    return `${results.join('\t')}\t${kStatus[status]}`;
}

test('the module answers 100 000 lines as manacalc-cli --batch does', async (t) => {
    if (!existsSync(nativeCli)) {
        assert.fail(`${nativeCli} is missing: build the release preset first`);
    }
    const fields = [];
    const manacalc = await loadModule(fields);
    const lines = generateLines(kLines);

    const native = spawnSync(nativeCli, ['--batch'], {
        input: `${lines.join('\n')}\n`,
        maxBuffer: 1 << 28,
        encoding: 'utf8',
    });
    assert.ok(
        native.status === 0 || native.status === 1,
        `exit ${native.status}: ${native.stderr}`,
    );
    const expected = native.stdout.split('\n');
    assert.equal(expected.pop(), '');
    assert.equal(expected.length, lines.length);

    const mismatches = [];
    const seen = new Set();
    for (let i = 0; i < lines.length; i++) {
        const got = answer(manacalc, fields, lines[i]);
        seen.add(got.slice(got.lastIndexOf('\t') + 1));
        if (got !== expected[i] && mismatches.length < 10) {
            const [line, native] = [lines[i], expected[i]].map((t) => JSON.stringify(t));
            mismatches.push(
                `line ${i + 1} ${line}: module ${JSON.stringify(got)}, native ${native}`,
            );
        }
    }
    assert.deepEqual(mismatches, []);
    // The lines reach every outcome, or the comparison would prove less than it claims.
    assert.deepEqual([...seen].sort(), ['bad-line', 'floating-point', 'ok', 'overflow', 'skipped']);
    t.diagnostic(`${lines.length} lines compared`);
});
