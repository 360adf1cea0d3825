// The table of the page's behaviour, row by row, in Chromium, Firefox and
// WebKitGTK: the key codes, focus moves and editing of three engines.
import { test } from 'node:test';
import { kEngines } from './engines.mjs';
import { kRows, play } from './rows.mjs';

for (const [engine, start] of Object.entries(kEngines)) {
    test(`the page's behaviour in ${engine}`, async (t) => {
        const browser = await start();
        try {
            for (const [name, steps] of kRows) {
                await t.test(name, async () => play(await browser.open(), steps, name));
            }
        } finally {
            await browser.close();
        }
    });
}
