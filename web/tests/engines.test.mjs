// The table of the page's behaviour, row by row, in Chromium, Firefox and
// WebKitGTK: the key codes, focus moves and editing of three engines.
import { test } from 'node:test';
import { servePage } from './browser.mjs';
import { kEngines } from './engines.mjs';
import { kRows, play } from './rows.mjs';

for (const [engine, start] of Object.entries(kEngines)) {
    test(`the page's behaviour in ${engine}`, async (t) => {
        const browser = await start();
        try {
            for (const [name, steps] of kRows) {
                await t.test(name, async () => play(await browser.open(), steps, name));
            }
            // Over http the page also offers its manifest and registers its
            // worker: the policy's rows again, watched from the page's load.
            const server = await servePage({ watch: true });
            for (const [name, steps] of kRows.filter(([n]) => n.startsWith('policy'))) {
                const open = () => browser.open(server.url);
                await t.test(`${name} (http)`, async () => play(await open(), steps, name));
            }
            server.close();
        } finally {
            await browser.close();
        }
    });
}
