// The page in Debian's Chromium, opened from disk and typed into as a player
// types. Expected texts are literal: the window's numbers and layout, not
// values rebuilt from the table the page is built from.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { gunzipSync, gzipSync } from 'node:zlib';
import {
    launch,
    launchWithProfile,
    openPage,
    pagePath,
    pageUrl,
    servePage,
    sourceDir,
    webBuildDir,
} from './browser.mjs';
import { playwrightSession } from './engines.mjs';
import { kRows, play, row } from './rows.mjs';

const kResults = ['Text10', 'Text5', 'Text6', 'Text4', 'Text7', 'Text8'];
const shotDir = path.join(sourceDir, 'build');

let browser;
before(async () => {
    browser = await launch();
});
after(async () => {
    await browser?.close();
});

// axe-core's findings with every rule but target-size: the window's measures
// are the product.
// Run as the test's own script: the page's policy refuses any script tag it did
// not hash.
const axePath = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const axeScript = readFileSync(axePath, 'utf8');
async function axeViolations(page) {
    await page.evaluate(axeScript);
    return page.evaluate(async () => {
        const rules = Object.fromEntries(
            axe.getRules().map(({ ruleId }) => [ruleId, { enabled: ruleId !== 'target-size' }]),
        );
        const { violations } = await axe.run(document, { rules });
        return violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`);
    });
}

// Table cells: texts without spaces, "_" for the empty text.
const words = (cells) => cells.split(' ').map((w) => (w === '_' ? '' : w));
const texts = (page, names) =>
    page.evaluate((ids) => ids.map((id) => document.getElementById(id).value), names);
const focused = (page) => page.evaluate(() => document.activeElement.id);
const selection = (page) =>
    page.evaluate(() => {
        const box = document.activeElement;
        return [box.value, box.selectionStart, box.selectionEnd];
    });
const noteText = (page) =>
    page.evaluate(() => {
        const note = document.querySelector('[role="alert"]');
        return note.hidden ? null : note.textContent;
    });

test('typing the table rows gives the window results, offline', async () => {
    const requests = [];
    const page = await openPage(browser, { requests });
    const errors = [];
    page.on('pageerror', (error) => errors.push(String(error)));
    page.on('console', (message) => errors.push(message.text()));
    // One after the other in one page: each row ends where the next starts.
    for (const [name, steps] of kRows) {
        if (/^(start|calculation)/.test(name)) await play(playwrightSession(page), steps, name);
    }
    assert.equal(await noteText(page), null);
    assert.deepEqual(await axeViolations(page), [], 'after a calculation');
    assert.deepEqual(errors, []);
    // Everything came from the page's one file: no script, font or module fetched.
    assert.deepEqual([...new Set(requests)], [pageUrl]);
});

test('results are read-only and out of the tab order', async () => {
    const page = await openPage(browser);
    const results = ['Text4', 'Text5', 'Text6', 'Text7', 'Text8', 'Text9'];
    for (const id of results) {
        await page.click(`#${id}`);
        await page.keyboard.type('5');
        await page.keyboard.press('Backspace');
    }
    assert.deepEqual(await texts(page, results), ['0', '0', '0', '0', '0', '20']);
    const tabbable = await page.evaluate(() =>
        [...document.querySelectorAll('#Form1 [tabindex]')]
            .filter((e) => e.tabIndex >= 0)
            .map((e) => e.id),
    );
    assert.deepEqual(tabbable.sort(), ['Text1', 'Text10', 'Text2', 'Text3']);

    // A result written while the player has it focused, scrolled to its end
    // for copying, shows from its first digit again.
    await page.click('#Text1');
    await page.keyboard.type('999');
    await page.click('#Text2');
    await page.keyboard.type('20000');
    await page.click('#Text5');
    await page.keyboard.press('End');
    // INT changed without a key of its own: the click writes new results.
    await page.$eval('#Text1', (box) => (box.value = '100'));
    await page.click('#Command1', { position: { x: 30, y: 0 } });
    assert.deepEqual(await selection(page), ['6.0459492140266E-03', 0, 0]);
});

test('a click empties an input; coming back to the browser window does not', async () => {
    const page = await openPage(browser);
    await page.keyboard.type('100');
    assert.deepEqual(await texts(page, ['Text10']), ['4']);
    // The player switches to the game and back: the browser window loses the
    // focus and gets it again.
    await playwrightSession(page).away();
    assert.equal(await focused(page), 'Text1');
    assert.deepEqual(await texts(page, ['Text1']), ['100']);

    await page.click('#Text2');
    assert.deepEqual(await texts(page, ['Text2']), ['']);
    // Every release now stops at validation: Medi is empty.
    await page.click('#Text1');
    await page.keyboard.type('7');
    assert.deepEqual(await texts(page, ['Text1', 'Text10']), ['7', '4']);
    // 回復値 does not empty on entry.
    await page.click('#Text10');
    assert.deepEqual(await texts(page, ['Text10']), ['4']);
});

test('INT -80: the note stands below the field', async () => {
    const page = await openPage(browser);
    const name = 'INT -80: a note, partial writes kept, Enter stays';
    const steps = row(name);
    // Up to the note, as the player sees it.
    await play(playwrightSession(page), steps.slice(0, steps.indexOf('focus Text1') + 1), name);
    const [note, box] = await page.evaluate(() =>
        ['note', 'Text1'].map((id) => {
            const r = document.getElementById(id).getBoundingClientRect();
            return [r.left, r.top, r.bottom];
        }),
    );
    assert.deepEqual([note[0], note[1]], [box[0], box[2]], 'the note starts below the field');
    assert.deepEqual(await axeViolations(page), [], 'with the note showing');
    await page.screenshot({
        path: path.join(shotDir, 'web-page-note.png'),
        clip: { x: 0, y: 0, width: 240, height: 120 },
    });
});

// The page reports no deactivation of its own: the module is told of one
// and of the return, and the page's note comes back with its text.
test('after a deactivation and return the note shows its text again', async () => {
    const page = await openPage(browser, { held: true });
    await page.evaluate(() => window.releaseModule());
    await page.waitForFunction(() => performance.getEntriesByName('inputs-ready').length > 0);
    const name = 'INT -80: a note, partial writes kept, Enter stays';
    const steps = row(name);
    await play(playwrightSession(page), steps.slice(0, steps.indexOf('focus Text1') + 1), name);
    await page.evaluate(() => window.manacalc._manacalc_deactivated());
    assert.equal(await noteText(page), null);
    await page.evaluate(() => window.manacalc._manacalc_activated(-1));
    assert.equal(await noteText(page), '回復値が 0 のため計算できません。');
    assert.equal(await focused(page), 'Text1');
});

// Every change of an input's text recalculates once: through its own key
// release, or, where no handled key release covers it, as one release with
// the input-method code. Counted by FPoint's writes, which only a
// recalculation makes.
test('an input method or an on-screen keyboard commit recalculates once', async () => {
    const compose = (cdp, text) =>
        cdp.send('Input.imeSetComposition', {
            text,
            selectionStart: text.length,
            selectionEnd: text.length,
        });
    const composeWord = async (cdp) => {
        await compose(cdp, 'ｉ');
        await compose(cdp, '１００');
        await cdp.send('Input.insertText', { text: '１００' });
    };
    // Chrome on Android: every key its keyboard sends comes as a press and
    // release with code 229, around a committed character or a step of the
    // word it composes.
    const key229 = (cdp, type) =>
        cdp.send('Input.dispatchKeyEvent', {
            type,
            windowsVirtualKeyCode: 229,
            key: 'Unidentified',
        });
    const androidKeyboard = async (cdp, text, composing) => {
        for (let i = 1; i <= text.length; i++) {
            await key229(cdp, 'rawKeyDown');
            if (composing) {
                await compose(cdp, text.slice(0, i));
            } else {
                await cdp.send('Input.insertText', { text: text[i - 1] });
            }
            await key229(cdp, 'keyUp');
        }
        if (composing) await cdp.send('Input.insertText', { text });
    };
    const insert = (cdp) => cdp.send('Input.insertText', { text: '１００' });
    const fullWidth = '１００ 4 2.5 60 50 20 6.7';
    const ascii = '100 4 2.5 60 50 20 6.7';
    // Typed while the window shows but the module is not ready yet: the text
    // counts once when the handlers bind.
    const typedBeforeReady = async (cdp, page) => {
        await page.keyboard.type('100');
        assert.deepEqual(await texts(page, ['Text1', 'Text10']), ['100', '0']);
        await page.evaluate(() => window.releaseModule());
        await page.waitForFunction(() => performance.getEntriesByName('inputs-ready').length > 0);
    };
    // name, replay (null: typed keys), Text1 and the results, recalculations
    const rows = [
        ['typed_before_ready', typedBeforeReady, ascii, 1],
        ['composed_word', composeWord, fullWidth, 1],
        ['text_without_key_events', insert, fullWidth, 1],
        ['android_commit_per_character', (cdp) => androidKeyboard(cdp, '100', false), ascii, 3],
        ['android_composed_word', (cdp) => androidKeyboard(cdp, '１００', true), fullWidth, 1],
        ['typed_keys', null, ascii, 3],
    ];
    for (const [name, replay, expected, recalculations] of rows) {
        const held = replay === typedBeforeReady;
        const page = await openPage(browser, { countWrites: 'Text4', held });
        const cdp = await page.context().newCDPSession(page);
        await (replay ? replay(cdp, page) : page.keyboard.type('100'));
        await page.waitForFunction(() => document.getElementById('Text10').value !== '0');
        // A commit is queued: give a second, wrong one the time to run too.
        await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 50)));
        assert.deepEqual(await texts(page, ['Text1', ...kResults]), words(expected), name);
        assert.equal(await page.evaluate(() => window.writes), recalculations, name);
        await page.context().close();
    }
});

test('the layout: the window geometry, fonts, captions and names', async () => {
    const page = await openPage(browser);
    assert.deepEqual(await axeViolations(page), [], 'at load');
    assert.equal(await page.title(), 'マナ回復速度計算 Ver1.10(Korvale対応)');
    // In the window's client area, in CSS pixels: left, top, width, height.
    const expected = {
        Form1: [0, 0, 82, 306],
        Frame1: [0, 0, 81, 97],
        Label1: [8, 8, 25, 17],
        Text1: [40, 8, 33, 18],
        Label3: [8, 32, 33, 17],
        Text2: [40, 32, 33, 18],
        Label2: [8, 56, 41, 17],
        Text3: [40, 56, 33, 18],
        Label12: [8, 76, 41, 17],
        Text10: [48, 76, 25, 18],
        Command1: [8, 96, 65, 25],
        Label11: [8, 98, 65, 49],
        Frame2: [0, 144, 81, 161],
        Label4: [8, 152, 33, 17],
        Text4: [40, 152, 33, 18],
        Label5: [8, 168, 33, 25],
        Text6: [40, 176, 33, 18],
        Label6: [8, 192, 49, 17],
        Text5: [8, 208, 46, 19],
        Label10: [56, 208, 17, 17],
        Label7: [8, 224, 41, 33],
        Text7: [40, 232, 33, 18],
        Label8: [8, 248, 33, 25],
        Text8: [40, 256, 33, 18],
        Label9: [8, 272, 41, 25],
        Text9: [40, 280, 33, 18],
    };
    const rects = await page.evaluate((ids) => {
        const origin = document.getElementById('Form1').getBoundingClientRect();
        return Object.fromEntries(
            ids.map((id) => {
                const r = document.getElementById(id).getBoundingClientRect();
                return [id, [r.left - origin.left, r.top - origin.top, r.width, r.height]];
            }),
        );
    }, Object.keys(expected));
    assert.deepEqual(rects, expected);

    // Command1 takes clicks only on its sliver.
    const hit = await page.evaluate(() =>
        [
            [40, 96],
            [40, 100],
        ].map(([x, y]) => document.elementFromPoint(x, y).id),
    );
    assert.deepEqual(hit, ['Command1', 'Label11']);
    // Labels lie beneath the frame and the box that overlap them: even a
    // red label changes no pixel there.
    const beneath = [
        ['Label11', { x: 8, y: 144, width: 65, height: 3 }],
        ['Label12', { x: 48, y: 76, width: 1, height: 17 }],
    ];
    for (const [label, clip] of beneath) {
        const shown = await page.screenshot({ clip });
        await page.evaluate((id) => {
            document.getElementById(id).style.background = '#f00';
        }, label);
        const red = await page.screenshot({ clip });
        await page.evaluate((id) => {
            document.getElementById(id).style.background = '';
        }, label);
        assert.ok(shown.equals(red), label);
    }

    const captions = await page.evaluate(() =>
        [...document.querySelectorAll('#Form1 .label, #Form1 button')].map((e) => e.textContent),
    );
    const label11 = 'ﾏﾅ回復+1= Focus+20  瞑想不可= int0&medi0';
    assert.ok(captions.includes(label11), captions.join('|'));
    assert.ok(captions.includes('計算'));

    // The accessible names are the captions of the boxes' labels.
    const names = {
        INT: 'Text1',
        Medi: 'Text2',
        Focus: 'Text3',
        回復値: 'Text10',
        FPoint: 'Text4',
        'Next FPoint': 'Text6',
        '1mana sec': 'Text5',
        'Next INT': 'Text7',
        'Next Medi': 'Text8',
        'Next Focus': 'Text9',
    };
    for (const [name, id] of Object.entries(names)) {
        const box = page.getByRole('textbox', { name, exact: true });
        assert.equal(await box.getAttribute('id'), id, name);
    }

    // 9 pt (12 px), the bold ones 11.25 pt (15 px); a Japanese Gothic face
    // actually draws them, not a fallback without kana.
    const fonts = await page.evaluate(() =>
        ['Label12', 'Text1', 'Label6', 'Text5'].map((id) => {
            const style = getComputedStyle(document.getElementById(id));
            return [style.fontSize, style.fontWeight, style.fontFamily.split(',')[0]];
        }),
    );
    assert.deepEqual(fonts, [
        ['12px', '400', '"ＭＳ Ｐゴシック"'],
        ['12px', '400', '"ＭＳ Ｐゴシック"'],
        ['15px', '700', '"ＭＳ Ｐゴシック"'],
        ['15px', '700', '"ＭＳ Ｐゴシック"'],
    ]);
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('DOM.enable');
    await cdp.send('CSS.enable');
    const { root } = await cdp.send('DOM.getDocument');
    const { nodeId } = await cdp.send('DOM.querySelector', {
        nodeId: root.nodeId,
        selector: '#Label12',
    });
    const { fonts: used } = await cdp.send('CSS.getPlatformFontsForNode', { nodeId });
    assert.match(used.map((f) => f.familyName).join(','), /^(MS PGothic|IPAPGothic)$/);

    await page.screenshot({
        path: path.join(shotDir, 'web-page-100.png'),
        clip: { x: 0, y: 0, width: 82, height: 306 },
    });
});

test('at 200 % zoom the window draws and wraps as at 100 %, and works', async () => {
    const wrapping = (page) =>
        page.evaluate(() =>
            [...document.querySelectorAll('#Form1 .label')].map(
                (e) => `${e.id} ${e.scrollWidth}x${e.scrollHeight}`,
            ),
        );
    const normal = await openPage(browser);
    const lines = await wrapping(normal);
    await normal.context().close();

    const page = await openPage(browser, { zoom: 2 });
    assert.equal(await page.evaluate(() => devicePixelRatio), 2);
    assert.deepEqual(await wrapping(page), lines);
    await page.keyboard.type('100');
    await page.keyboard.press('Enter');
    await page.keyboard.type('99.5');
    await page.click('#Text3');
    await page.keyboard.type('0');
    const expected = words('12 0.833333333333333 220 219.175 2 0.5');
    assert.deepEqual(await texts(page, kResults), expected);
    const shot = await page.screenshot({
        path: path.join(shotDir, 'web-page-200.png'),
        clip: { x: 0, y: 0, width: 82, height: 306 },
    });
    // PNG width and height, in device pixels.
    assert.deepEqual([shot.readUInt32BE(16), shot.readUInt32BE(20)], [164, 612]);
});

test('on a touch screen the window fits the screen, beside its note, and works', async () => {
    const phone = (width, height) => ({
        viewport: { width, height },
        deviceScaleFactor: 2.75,
        isMobile: true,
        hasTouch: true,
        userAgent:
            'Mozilla/5.0 (Linux; Android 14; Pixel 7) AppleWebKit/537.36 ' +
            '(KHTML, like Gecko) Chrome/131.0 Mobile Safari/537.36',
    });
    const measure = (page) =>
        page.evaluate(() => {
            const rect = (id) => {
                const r = document.getElementById(id).getBoundingClientRect();
                return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
            };
            const { width, height } = window.visualViewport;
            const scroll = document.documentElement.scrollWidth - window.innerWidth;
            const [form, int, note] = ['Form1', 'Text1', 'note'].map(rect);
            return { form, int, note, width, height, scroll };
        });
    // name, screen, turned to (null: not turned), least INT box height
    const rows = [
        ['upright_393x851', [393, 851], null, 44],
        ['upright_375x667', [375, 667], null, 38],
        ['on_its_side', [851, 393], null, 20],
        ['turned_on_its_side', [393, 851], [851, 393], 20],
    ];
    for (const [name, [width, height], turned, intHeight] of rows) {
        const page = await openPage(browser, { device: phone(width, height) });
        if (turned) await page.setViewportSize({ width: turned[0], height: turned[1] });
        await page.tap('#Text2');
        await page.keyboard.type('0');
        await page.tap('#Text3');
        await page.keyboard.type('0');
        await page.tap('#Text1');
        await page.keyboard.type('-80');
        await page.waitForFunction(() => !document.getElementById('note').hidden);
        const m = await measure(page);
        const shown = `${name}: ${JSON.stringify(m)}`;
        // Within the visible viewport, filling it one way to within a
        // hundredth of the scale, with the note below INT and no sideways scroll.
        assert.ok(m.form.left >= 0 && m.form.right <= m.width && m.form.bottom <= m.height, shown);
        assert.ok(
            m.height - m.form.bottom < m.height / 100 || m.width - m.form.right < m.width / 100,
            shown,
        );
        assert.ok(m.int.bottom - m.int.top >= intHeight, shown);
        assert.equal(m.scroll, 0, shown);
        assert.ok(Math.abs(m.note.left - m.int.left) < 1, shown);
        assert.ok(Math.abs(m.note.top - m.int.bottom) < 1, shown);
        assert.ok(m.note.right <= m.width, shown);
        await page.screenshot({ path: path.join(shotDir, `web-phone-${name}.png`) });
        // The keyboard's action key is Enter: a good input moves on.
        await page.keyboard.press('Backspace');
        await page.keyboard.press('Enter');
        assert.equal(await focused(page), 'Text2', name);
        assert.deepEqual(await texts(page, ['Text1', 'Text10']), ['-8', '2'], name);
        await page.context().close();
    }
});

test('served over http the page installs, and calculates after an offline reload', async () => {
    const server = await servePage({ watch: true });
    const profile = mkdtempSync(path.join(os.tmpdir(), 'manacalc-profile-'));
    const context = await launchWithProfile(profile);
    try {
        const page = context.pages()[0] ?? (await context.newPage());
        // The manifest, the worker and the cached copy, all under the page's policy.
        const violations = () => page.evaluate(() => window.violations);
        await page.goto(server.url);
        // The worker has taken the page over, with the files in its cache.
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        const cdp = await context.newCDPSession(page);
        const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
        assert.deepEqual(installabilityErrors, []);
        const { errors } = await cdp.send('Page.getAppManifest');
        assert.deepEqual(errors, []);
        assert.deepEqual(await violations(), []);

        // The network off: nothing answers on that port any more.
        await new Promise((resolve) => server.close(resolve));
        await page.reload();
        await page.waitForFunction(() => performance.getEntriesByName('inputs-ready').length > 0);
        await page.keyboard.type('100');
        const expected = words('100 4 2.5 60 50 20 6.7');
        assert.deepEqual(await texts(page, ['Text1', ...kResults]), expected);
        assert.deepEqual(await violations(), []);
    } finally {
        await context.close();
        server.close();
        rmSync(profile, { recursive: true, force: true });
    }
});

test('the page loads at most 100 KB gzip, with the module the batch tests check', () => {
    const page = readFileSync(pagePath);
    const gzip = gzipSync(page, { level: 9 }).length;
    assert.ok(gzip <= 100 * 1024, `${gzip} bytes gzip`);
    const packed = String(page).match(/id="manacalc-module">([^<]*)</)[1];
    const module = readFileSync(path.join(webBuildDir, 'web/manacalc.wasm'));
    assert.ok(gunzipSync(Buffer.from(packed, 'base64')).equals(module));
});
