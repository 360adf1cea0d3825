// What the page's figures are measured against: the least a page with a
// caption and an input costs, as the page marks it, and the phone's profile.
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

// Its url, and remove() for when it is done with.
export function blankPage() {
    const dir = mkdtempSync(path.join(os.tmpdir(), 'manacalc-blank-'));
    const file = path.join(dir, 'blank.html');
    writeFileSync(
        file,
        `<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1"><title>blank</title></head>
<body><label for="i">INT</label><input id="i"><script>
document.getElementById('i').focus(); performance.mark('inputs-ready');
</script></body></html>`,
    );
    return { url: pathToFileURL(file).href, remove: () => rmSync(dir, { recursive: true }) };
}

// A mid-range phone as page tests measure one: its screen, touch, and a CPU
// four times slower than this machine's (openPage's options).
export const kPhone = {
    device: {
        viewport: { width: 393, height: 851 },
        deviceScaleFactor: 2.75,
        isMobile: true,
        hasTouch: true,
    },
    cpuSlowdown: 4,
};
