// Writes the page as one HTML file: the window drawn from the module's layout
// table, style, module glue, the module itself (gzipped, base64) and the page
// script inlined, so that it works opened from disk, where a separate file
// cannot be fetched, and asks for nothing over the network. The window is in
// the HTML, so that it shows at once; the page script binds its handlers once
// the module is ready. Served over http it can be installed: beside it go the
// web app manifest, its icons and the service worker that keeps it working
// offline.
// usage: node inline_page.mjs --template T --style S --fit F --compile C --key-book K
//        --page P --glue G --wasm W --icon I --touch-icon PNG --app-icon PNG... --worker K
//        --out DIR
// The PNG icons are files in DIR already, named there by the page and the
// manifest.
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { parseArgs } from 'node:util';
import { gzipSync } from 'node:zlib';

const scripts = ['fit', 'compile', 'key-book', 'page', 'glue'];
const paths = ['template', 'style', ...scripts, 'wasm', 'icon', 'worker', 'out'];
const { values: args } = parseArgs({
    options: {
        ...Object.fromEntries(paths.map((name) => [name, { type: 'string' }])),
        'touch-icon': { type: 'string' },
        'app-icon': { type: 'string', multiple: true },
    },
});

const text = (name) => readFileSync(args[name], 'utf8');

// An inline script ends at the first "</script", wherever it stands.
function inlineScript(file) {
    const source = readFileSync(file, 'utf8');
    if (/<\/script/i.test(source)) throw new Error(`${file} contains "</script"`);
    return source;
}

function fill(template, parts) {
    let out = template;
    for (const [name, value] of Object.entries(parts)) {
        const marker = `@${name}@`;
        if (!out.includes(marker)) throw new Error(`the template has no ${marker}`);
        out = out.split(marker).join(value);
    }
    return out;
}

// The page is ASCII alone, its Japanese written as escapes of the language
// it stands in. A browser holds a document of one-byte characters as such,
// and decodes and tokenizes it and compiles its scripts a good deal faster
// (a third of the parse here) than one that a single kana makes two bytes a
// character. HTML and CSS escape code points, JavaScript UTF-16 code units.
const nonAscii = /[^\x00-\x7f]/gu;
const hex = (c, digits) => c.codePointAt(0).toString(16).padStart(digits, '0');
const escape = (s) =>
    s
        .replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c])
        .replace(nonAscii, (c) => `&#x${hex(c, 4)};`);
// A CSS escape takes the space after it: one ends each, so that a space that
// follows stays the font name's.
const cssString = (s) => JSON.stringify(s).replace(nonAscii, (c) => `\\${hex(c, 1)} `);

// The window's layout as the module exports it, read here under node, and
// its start as the window shows it: the first input focused, and emptied by
// its own focus handler, run on the boxes' starting texts. Nothing else of
// the window exists here.
const fields = [];
let first = null;
const createManacalc = createRequire(import.meta.url)(path.resolve(args.glue));
const module = await createManacalc({
    wasmBinary: readFileSync(args.wasm),
    page: new Proxy(
        {
            text: (field) => fields[field],
            setText: (field, value) => (fields[field] = value),
            moveFocus: (field) => (first = field),
        },
        { get: (port, name) => port[name] ?? (() => {}) },
    ),
});
const layout = JSON.parse(module.UTF8ToString(module._manacalc_layout()));
for (const row of layout.controls) if (row.field >= 0) fields[row.field] = row.text;
module._manacalc_activated(-1);

// Numbers, not words: nothing fills them in or checks their spelling.
const kPlainText = 'autocomplete="off" spellcheck="false"';

// Every control's place and size, as rules of the page's style sheet: a style
// attribute is inline style the page's policy would refuse.
const geometry = [];
function place(name, { left = 0, top = 0, width, height }) {
    geometry.push(`#${name}{left:${left}px;top:${top}px;width:${width}px;height:${height}px}`);
}

function control(row, inner) {
    place(row.name, row);
    const at = (kind) => {
        const classes = [kind, row.bold ? 'bold' : ''].filter(Boolean).join(' ');
        return `id="${row.name}"${classes ? ` class="${classes}"` : ''}`;
    };
    switch (row.kind) {
        case 'frame':
            return `<div ${at('frame')}>${inner}</div>`;
        case 'label':
            // A caption that names a box is its label.
            return row.for
                ? `<label ${at('label')} for="${row.for}">${escape(row.text)}</label>`
                : `<div ${at('label')}>${escape(row.text)}</div>`;
        case 'button': {
            const untabbable = row.focus ? '' : ' tabindex="-1"';
            return `<button ${at('')} type="button"${untabbable}>${escape(row.text)}</button>`;
        }
        default: {
            const value = escape(fields[row.field]);
            const box = `<input ${at('')} type="text" value="${value}" ${kPlainText}`;
            // Results: read-only, out of the tab order, still selectable for copying.
            if (!row.input) return `${box} readonly tabindex="-1">`;
            // The limit holds for typing only: a program write is never cut.
            // An on-screen keyboard of digits and a point, whose action key
            // moves on as Enter does; a minus needs a full keyboard. Nothing
            // corrects or capitalises a number. The document's Tab order is
            // the cycle's, should a Tab ever get past the page's own.
            const hints =
                'inputmode="decimal" enterkeyhint="next" autocapitalize="off" autocorrect="off"';
            return `${box} maxlength="${row.limit}" ${hints} tabindex="0">`;
        }
    }
}

// A control's children as the layout makes them: a later element lies above.
function children(parent) {
    const made = layout.madeAbove.filter((i) => layout.controls[i].parent === parent);
    return made.map((i) => control(layout.controls[i], children(i))).join('');
}

place('Form1', layout);
const form = `<div id="Form1">${children(-1)}</div>`;
// The window's faces, in the order the layout gives them; none is downloaded.
const families = [...layout.fonts.map(cssString), 'sans-serif'];

const style = text('style');
const dataUrl = (type, file) => `data:${type};base64,${readFileSync(file).toString('base64')}`;
const page = fill(text('template'), {
    TITLE: escape(layout.title),
    WINDOW: form,
    // The start's input, focused by a script of its own and not by autofocus:
    // WebKit can still carry out an autofocus after the first frame, taking
    // the focus back from where the player has already typed on to.
    FIRST: layout.controls.find((row) => row.field === first).name,
    STYLE: `:root { --gothic: ${families.join(', ')}; }\n${style}\n${geometry.join('\n')}`,
    ICON: dataUrl('image/png', args.icon),
    TOUCH_ICON: path.basename(args['touch-icon']),
    // The rows the handlers bind to, as they drew the window. Asked of the
    // module when it is ready, they held the inputs back by its first call
    // (10-20 ms here). A "<" stays in the JSON as its escape, so that no
    // caption can end the script.
    LAYOUT: JSON.stringify(layout).replace(/[<\x80-\uffff]/g, (c) => `\\u${hex(c, 4)}`),
    // The window's size alone before the window: the rows come after it.
    SIZE: JSON.stringify({ width: layout.width, height: layout.height }),
    FIT: inlineScript(args.fit),
    COMPILE: inlineScript(args.compile),
    GLUE: inlineScript(args.glue),
    // Half the bytes of the module as it is: the page's every byte is decoded
    // before its first paint, and a script's are scanned again by the parser.
    MODULE: gzipSync(readFileSync(args.wasm), { level: 9 }).toString('base64'),
    // The page's scripts, each a function the template calls.
    KEY_BOOK: inlineScript(args['key-book']),
    PAGE: inlineScript(args.page),
});
const unescaped = page.match(/[^\x00-\x7f]/);
if (unescaped) throw new Error(`the page holds a character not escaped: ${unescaped[0]}`);

// The page's policy: nothing runs or loads but what the page holds. Its scripts
// and styles are allowed by their hashes, taken here from the page as written,
// so that no edit of them can leave the policy behind; the module is compiled
// from the page's own bytes; images are data: URLs, or the icons beside the
// page; over http the manifest and the worker come from the page's own origin.
// Nothing is fetched, posted or framed.
function hashes(tag) {
    const elements = page.matchAll(new RegExp(`<${tag}\\b([^>]*)>([\\s\\S]*?)</${tag}>`, 'g'));
    return [...elements]
        // A data block (a script of another type) never runs: no hash lets it.
        .filter(([, attributes]) => !/\b(src|type)=/.test(attributes))
        .map(([, , body]) => `'sha256-${createHash('sha256').update(body).digest('base64')}'`)
        .join(' ');
}
const policy = [
    "default-src 'none'",
    `script-src ${hashes('script')} 'wasm-unsafe-eval'`,
    `style-src ${hashes('style')}`,
    "img-src 'self' data:",
    "manifest-src 'self'",
    "worker-src 'self'",
    "base-uri 'none'",
    "form-action 'none'",
].join('; ');
const html = fill(page, { POLICY: policy });
const write = (name, contents) => writeFileSync(path.join(args.out, name), contents);
write('index.html', html);

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
    icons: args['app-icon'].map((file) => {
        const size = readFileSync(file).readUInt32BE(16); // the PNG's width, its height too
        return { src: path.basename(file), sizes: `${size}x${size}`, type: 'image/png' };
    }),
};
const manifestText = `${JSON.stringify(manifest, null, 2)}\n`;
write('manifest.webmanifest', manifestText);
// What the worker keeps, and its version: a new build of any of them is a new one.
const icons = [args['touch-icon'], ...args['app-icon']];
const version = createHash('sha256').update(html).update(manifestText);
for (const file of icons) version.update(readFileSync(file));
const files = ['./', 'index.html', 'manifest.webmanifest', ...icons.map((f) => path.basename(f))];
write(
    'sw.js',
    fill(text('worker'), {
        VERSION: version.digest('hex').slice(0, 16),
        FILES: files.join(' '),
    }),
);
