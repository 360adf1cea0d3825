// The page in the three browser engines its players use, each behind the same
// few steps: Chromium through Playwright, Firefox over WebDriver BiDi
// (puppeteer-core), WebKitGTK's MiniBrowser through its WebDriver
// (selenium-webdriver) on an X server of its own. Debian's browsers all: none
// is downloaded.
//
// An engine opens sessions: a fresh load of the page, its inputs ready and
// its browser window holding the focus, with
//   type(text), press('Shift+Tab'), click(id), insert(text) (no key events),
//   doubled(key) (one press of the key whose release the page gets twice),
//   away() (the player switches to another window and comes back),
//   run(fn, arg) (fn runs in the page; its result, awaited, comes back).
import { execFileSync, spawn } from 'node:child_process';
import { once } from 'node:events';
import { createServer } from 'node:net';
import puppeteer from 'puppeteer-core';
import { Builder, By, Key } from 'selenium-webdriver';
import input from 'selenium-webdriver/lib/input.js';
import { launch, openPage, pageUrl } from './browser.mjs';

const ready = () => performance.getEntriesByName('inputs-ready').length > 0;
const execInsert = (text) => document.execCommand('insertText', false, text);

// 'Control+Shift+z': the modifiers held around the last key.
const chord = (keys) => {
    const parts = keys.split('+');
    return [parts.slice(0, -1), parts.at(-1)];
};

// A WebDriver releases only a key one of its keyboards holds: two of them
// press the key in turn and release it in turn, so that the page sees it go
// down twice and up twice. As WebDriver's input sources.
function doubledRelease(value) {
    const [down, up] = [{ type: 'keyDown', value }, { type: 'keyUp', value }];
    const [pause, keyboard] = [{ type: 'pause' }, (id, actions) => ({ type: 'key', id, actions })];
    return [keyboard('a', [down, pause, up, pause]), keyboard('b', [pause, down, pause, up])];
}

const hasFocus = () => document.hasFocus();
const lostFocus = () => !document.hasFocus();

export function playwrightSession(page) {
    return {
        page,
        type: (text) => page.keyboard.type(text),
        press: (keys) => page.keyboard.press(keys),
        // The second release alone, as the engine's own input event.
        doubled: (key) => page.keyboard.press(key).then(() => page.keyboard.up(key)),
        click: (id) => page.click(`#${id}`),
        insert: (text) => page.keyboard.insertText(text),
        run: (fn, arg) => page.evaluate(fn, arg),
        // Headless, Chromium's pages all hold the focus until told to tell
        // the truth; then another page brought to the front takes it.
        async away() {
            const cdp = await page.context().newCDPSession(page);
            await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
            const game = await page.context().newPage();
            await game.bringToFront();
            await page.waitForFunction(lostFocus);
            await page.bringToFront();
            await page.waitForFunction(hasFocus);
            await game.close();
        },
    };
}

// An X server of its own for a browser with a window: Xvfb picks a free
// display and says which.
async function xServer() {
    const xvfbArgs = ['-displayfd', '3', '-screen', '0', '1280x720x24', '-nolisten', 'tcp'];
    const xvfb = spawn('Xvfb', xvfbArgs, { stdio: ['ignore', 'ignore', 'inherit', 'pipe'] });
    const [display] = await once(xvfb.stdio[3], 'data');
    const env = { ...process.env, DISPLAY: `:${String(display).trim()}` };
    return { env, stop: () => xvfb.kill() };
}

// Another X window takes the focus and gives it back, as the game's would: no
// synthetic blur and focus, whose order is not an engine's own. Without a
// window manager the browser's window has the focus only once given it.
// waitFor(fn) waits until fn, run in the page, comes true.
function xFocus(env, waitFor) {
    const xdotool = (...args) => execFileSync('xdotool', args, { env, encoding: 'utf8' }).trim();
    let browser = null;
    return {
        async take() {
            // Its server holds no other window until the game's.
            browser ??= xdotool('search', '--sync', '--onlyvisible', '--name', '.').split('\n')[0];
            xdotool('windowfocus', '--sync', browser);
            await waitFor(hasFocus);
        },
        async away() {
            const game = spawn('xmessage', ['-geometry', '+300+300', 'game'], {
                env,
                stdio: 'ignore',
            });
            try {
                const window = xdotool('search', '--sync', '--classname', 'xmessage');
                xdotool('windowfocus', '--sync', window);
                await waitFor(lostFocus);
                await this.take();
            } finally {
                game.kill();
            }
        },
    };
}

async function chromium() {
    const browser = await launch();
    return {
        async open(url) {
            const page = await openPage(browser, { url });
            await page.waitForFunction(hasFocus);
            return playwrightSession(page);
        },
        close: () => browser.close(),
    };
}

// With a window of its own on an X server of its own, so that another
// window can take the focus from it.
async function firefox() {
    const x = await xServer();
    const browser = await puppeteer
        .launch({
            browser: 'firefox',
            executablePath: process.env.MANACALC_FIREFOX ?? '/usr/bin/firefox-esr',
            headless: false,
            env: x.env,
            // The focus as the X server gives it, not held for good.
            extraPrefsFirefox: { 'focusmanager.testmode': false },
        })
        .catch((error) => {
            x.stop();
            throw error;
        });
    const page = await browser.newPage();
    const focus = xFocus(x.env, (fn) => page.waitForFunction(fn));
    const session = {
        type: (text) => page.keyboard.type(text),
        async press(keys) {
            const [modifiers, key] = chord(keys);
            for (const m of modifiers) await page.keyboard.down(m);
            await page.keyboard.press(key);
            for (const m of modifiers.reverse()) await page.keyboard.up(m);
        },
        // puppeteer's keyboard is one key source; its WebDriver BiDi session takes two.
        doubled: (key) =>
            page.mainFrame().browsingContext.performActions(doubledRelease(Key[key.toUpperCase()])),
        click: (id) => page.click(`#${id}`),
        insert: (text) => page.evaluate(execInsert, text),
        away: () => focus.away(),
        run: (fn, arg) => page.evaluate(fn, arg),
    };
    return {
        async open(url = pageUrl) {
            await page.goto(url);
            await page.waitForFunction(ready);
            await focus.take();
            return session;
        },
        async close() {
            await browser.close();
            x.stop();
        },
    };
}

async function freePort() {
    const server = createServer().listen(0, '127.0.0.1');
    await once(server, 'listening');
    const { port } = server.address();
    server.close();
    return port;
}

async function webkit() {
    const x = await xServer();
    const port = await freePort();
    const server = spawn('WebKitWebDriver', [`--port=${port}`], { env: x.env, stdio: 'ignore' });
    const stop = () => {
        server.kill();
        x.stop();
    };
    let driver;
    try {
        // The driver takes a moment to listen; a session asked for too early is refused.
        for (let tries = 0; !driver; tries++) {
            try {
                driver = await new Builder()
                    .usingServer(`http://127.0.0.1:${port}`)
                    .withCapabilities({
                        browserName: 'MiniBrowser',
                        'webkitgtk:browserOptions': {
                            binary:
                                process.env.MANACALC_MINIBROWSER ??
                                '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                            args: ['--automation'],
                        },
                    })
                    .build();
            } catch (error) {
                if (tries === 50) throw error;
                await new Promise((resolve) => setTimeout(resolve, 100));
            }
        }
    } catch (error) {
        stop();
        throw error;
    }
    const keyOf = (name) =>
        ({ Enter: Key.RETURN, Backspace: Key.BACK_SPACE })[name] ?? Key[name.toUpperCase()] ?? name;
    const run = (fn, arg) => driver.executeScript(`return (${fn})(arguments[0]);`, arg);
    const waitFor = (fn, arg) => driver.wait(() => run(fn, arg), 10_000);
    const focus = xFocus(x.env, waitFor);
    // WebKitGTK binds no key to undo and redo (Ctrl+Z changes nothing, sent
    // as a real X key event too): its players use the context menu's, which
    // are the editor's commands.
    const commands = { 'Control+z': 'undo', 'Control+Shift+z': 'redo' };
    // The driver can answer before the page has seen the last key release,
    // which is where the results are written: a step goes on only once the
    // page has counted every release it sent.
    const countReleases = () => {
        window.keyReleases = 0;
        window.addEventListener('keyup', () => window.keyReleases++, true);
    };
    const released = (n) => window.keyReleases >= n;
    async function perform(actions, releases) {
        const before = await run(() => window.keyReleases);
        await actions.perform();
        await waitFor(released, before + releases);
    }
    const session = {
        type: (text) => perform(driver.actions().sendKeys(text), text.length),
        async press(keys) {
            if (commands[keys]) return run((c) => document.execCommand(c), commands[keys]);
            const [modifiers, key] = chord(keys);
            let actions = driver.actions();
            for (const m of modifiers) actions = actions.keyDown(keyOf(m));
            actions = actions.sendKeys(keyOf(key));
            for (const m of modifiers.reverse()) actions = actions.keyUp(keyOf(m));
            await perform(actions, modifiers.length + 1);
        },
        async doubled(key) {
            const actions = driver.actions({ async: true });
            for (const source of doubledRelease(keyOf(key))) {
                actions.insert(new input.Keyboard(source.id), ...source.actions);
            }
            await perform(actions, 2);
        },
        click: async (id) => (await driver.findElement(By.id(id))).click(),
        insert: (text) => run(execInsert, text),
        away: () => focus.away(),
        run,
    };
    return {
        async open(url = pageUrl) {
            await driver.get(url);
            await waitFor(ready);
            await run(countReleases);
            await focus.take();
            return session;
        },
        async close() {
            await driver.quit();
            stop();
        },
    };
}

export const kEngines = { Chromium: chromium, Firefox: firefox, WebKitGTK: webkit };
