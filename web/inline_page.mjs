// Writes the page as one HTML file: style, module glue, the module itself
// (base64) and the page script inlined, so that it works opened from disk,
// where a separate file cannot be fetched, and asks for nothing over the network.
// usage: node inline_page.mjs --template T --style S --script P --glue G --wasm W --icon I --out O
import { readFileSync, writeFileSync } from 'node:fs';
import { parseArgs } from 'node:util';

const { values: args } = parseArgs({
    options: Object.fromEntries(
        ['template', 'style', 'script', 'glue', 'wasm', 'icon', 'out'].map((name) => [
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

const parts = {
    STYLE: text('style'),
    ICON: `data:image/svg+xml;base64,${readFileSync(args.icon).toString('base64')}`,
    GLUE: inlineScript('glue'),
    WASM: readFileSync(args.wasm).toString('base64'),
    SCRIPT: inlineScript('script'),
};

let page = text('template');
for (const [name, value] of Object.entries(parts)) {
    const marker = `@${name}@`;
    if (!page.includes(marker)) throw new Error(`the template has no ${marker}`);
    page = page.replace(marker, () => value);
}
writeFileSync(args.out, page);
