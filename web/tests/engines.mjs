// The page in the three browser engines its players use, each behind the same
// few steps: Chromium through Playwright, Firefox over WebDriver BiDi
// (puppeteer-core), WebKitGTK's MiniBrowser through its WebDriver
// (selenium-webdriver) on an X server of its own. Debian's browsers all: none
// is downloaded.
//
// An engine opens sessions: a fresh load of the page, its inputs ready, with
//   type(text), press('Shift+Tab'), click(id), insert(text) (no key events),
//   run(fn, arg) (fn runs in the page; its result, awaited, comes back).
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { createServer } from 'node:net';
import puppeteer from 'puppeteer-core';
import { Builder, By, Key } from 'selenium-webdriver';
import { launch, openPage, pageUrl } from './browser.mjs';

const ready = () => performance.getEntriesByName('inputs-ready').length > 0;
const execInsert = (text) => document.execCommand('insertText', false, text);

// 'Control+Shift+z': the modifiers held around the last key.
const chord = (keys) => {
    const parts = keys.split('+');
    return [parts.slice(0, -1), parts.at(-1)];
};

export function playwrightSession(page) {
    return {
        page,
        type: (text) => page.keyboard.type(text),
        press: (keys) => page.keyboard.press(keys),
        click: (id) => page.click(`#${id}`),
        insert: (text) => page.keyboard.insertText(text),
        run: (fn, arg) => page.evaluate(fn, arg),
    };
}

async function chromium() {
    const browser = await launch();
    return {
        async open(url) {
            return playwrightSession(await openPage(browser, { url }));
        },
        close: () => browser.close(),
    };
}

async function firefox() {
    const browser = await puppeteer.launch({
        browser: 'firefox',
        executablePath: process.env.MANACALC_FIREFOX ?? '/usr/bin/firefox-esr',
        headless: true,
    });
    const page = await browser.newPage();
    const session = {
        type: (text) => page.keyboard.type(text),
        async press(keys) {
            const [modifiers, key] = chord(keys);
            for (const m of modifiers) await page.keyboard.down(m);
            await page.keyboard.press(key);
            for (const m of modifiers.reverse()) await page.keyboard.up(m);
        },
        click: (id) => page.click(`#${id}`),
        insert: (text) => page.evaluate(execInsert, text),
        run: (fn, arg) => page.evaluate(fn, arg),
    };
    return {
        async open(url = pageUrl) {
            await page.goto(url);
            await page.waitForFunction(ready);
            return session;
        },
        close: () => browser.close(),
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
    const xvfbArgs = ['-displayfd', '3', '-screen', '0', '1280x720x24', '-nolisten', 'tcp'];
    const xvfb = spawn('Xvfb', xvfbArgs, { stdio: ['ignore', 'ignore', 'inherit', 'pipe'] });
    const [display] = await once(xvfb.stdio[3], 'data');
    const port = await freePort();
    const env = { ...process.env, DISPLAY: `:${String(display).trim()}` };
    const server = spawn('WebKitWebDriver', [`--port=${port}`], { env, stdio: 'ignore' });
    const stop = () => {
        server.kill();
        xvfb.kill();
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
    // WebKitGTK binds no key to undo and redo (Ctrl+Z changes nothing, sent
    // as a real X key event too): its players use the context menu's, which
    // are the editor's commands.
    const commands = { 'Control+z': 'undo', 'Control+Shift+z': 'redo' };
    const session = {
        type: (text) => driver.actions().sendKeys(text).perform(),
        async press(keys) {
            if (commands[keys]) return run((c) => document.execCommand(c), commands[keys]);
            const [modifiers, key] = chord(keys);
            let actions = driver.actions();
            for (const m of modifiers) actions = actions.keyDown(keyOf(m));
            actions = actions.sendKeys(keyOf(key));
            for (const m of modifiers.reverse()) actions = actions.keyUp(keyOf(m));
            await actions.perform();
        },
        click: async (id) => (await driver.findElement(By.id(id))).click(),
        insert: (text) => run(execInsert, text),
        run,
    };
    return {
        async open(url = pageUrl) {
            await driver.get(url);
            await driver.wait(() => run(ready), 10_000);
            return session;
        },
        async close() {
            await driver.quit();
            stop();
        },
    };
}

export const kEngines = { Chromium: chromium, Firefox: firefox, WebKitGTK: webkit };
