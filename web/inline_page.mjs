// Writes the page as one HTML file: style, module glue, the module itself
// (base64) and the page script inlined, so that it works opened from disk,
// where a separate file cannot be fetched, and asks for nothing over the
// network. Served over http it can be installed: beside it go the web app
// manifest and the service worker that keeps it working offline.
// usage: node inline_page.mjs --template T --style S --script P --glue G --wasm W --icon I
//        --worker K --out DIR
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { parseArgs } from 'node:util';

const { values: args } = parseArgs({
    options: Object.fromEntries(
        ['template', 'style', 'script', 'glue', 'wasm', 'icon', 'worker', 'out'].map((name) => [
            name,
            { type: 'string' },
        ]),
    ),
});

const text = (name) => readFileSync(args[name], 'utf8');

// An inline script ends at the first "</script", wherever it stands.
function inlineScript(name) {
    const source = text(name);
    if (/<\/script/i.test(source)) throw new Error(`${args[name]} contains "</script"`);
    return source;
}

function fill(template, parts) {
    let out = template;
    for (const [name, value] of Object.entries(parts)) {
        const marker = `@${name}@`;
        if (!out.includes(marker)) throw new Error(`the template has no ${marker}`);
        out = out.replace(marker, () => value);
    }
    return out;
}

// The window's layout as the module exports it, read once here under node.
const createManacalc = createRequire(import.meta.url)(path.resolve(args.glue));
const module = await createManacalc({ wasmBinary: readFileSync(args.wasm), page: {} });
const layout = JSON.parse(module.UTF8ToString(module._manacalc_layout()));

const style = text('style');
const page = fill(text('template'), {
    STYLE: style,
    ICON: `data:image/svg+xml;base64,${readFileSync(args.icon).toString('base64')}`,
    GLUE: inlineScript('glue'),
    WASM: readFileSync(args.wasm).toString('base64'),
    SCRIPT: inlineScript('script'),
});
const write = (name, contents) => writeFileSync(path.join(args.out, name), contents);
write('index.html', page);

const face = style.match(/--face:\s*(#[0-9a-f]+)/i)[1];
const manifest = {
    name: layout.title,
    short_name: 'manacalc',
    description: layout.title,
    lang: 'ja',
    start_url: 'index.html',
    scope: './',
    display: 'standalone',
    theme_color: face,
    background_color: face,
    icons: [192, 512].map((size) => ({
        src: `icon-${size}.png`,
        sizes: `${size}x${size}`,
        type: 'image/png',
    })),
};
const manifestText = `${JSON.stringify(manifest, null, 2)}\n`;
write('manifest.webmanifest', manifestText);
const version = createHash('sha256').update(page).update(manifestText).digest('hex');
write('sw.js', fill(text('worker'), { VERSION: version.slice(0, 16) }));
