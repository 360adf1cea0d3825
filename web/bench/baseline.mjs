// What the page's figures are measured against: the least a page with a
// caption and an input costs, as the page marks it; the page's own window
// with nothing to run, the least its first paint can cost; and the phone's
// profile.
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

// A page written to a folder of its own: its url, and remove() for when it is
// done with.
function page(name, html) {
    const dir = mkdtempSync(path.join(os.tmpdir(), 'manacalc-baseline-'));
    const file = path.join(dir, `${name}.html`);
    writeFileSync(file, html);
    return { url: pathToFileURL(file).href, remove: () => rmSync(dir, { recursive: true }) };
}

export function blankPage() {
    return page(
        'blank',
        `<!DOCTYPE html><html lang="ja"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1"><title>blank</title></head>
<body><label for="i">INT</label><input id="i"><script>
document.getElementById('i').focus(); performance.mark('inputs-ready');
</script></body></html>`,
    );
}

// The page at `file` with every script taken out, its policy with them: its
// head, style and drawn window, and one script that marks it loaded.
export function windowAlone(file) {
    const html = readFileSync(file, 'utf8')
        .replace(/<meta http-equiv="Content-Security-Policy"[^>]*>/, '')
        .replace(/<script\b[\s\S]*?<\/script>/g, '')
        .replace('</body>', "<script>performance.mark('inputs-ready');</script></body>");
    return page('window', html);
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
