// The calculator page: hands the page's events to the window's rules in the
// module, and carries out what the rules ask of it in the page's terms, as
// the desktop windows do with theirs. The window itself is in the page
// already, drawn at build time from the same layout table (inline_page.mjs),
// so that it shows before the module is ready.
// Given by the page: the window's rows as the build drew them, the window's
// fitting (window_fit.js), the module as it compiles (module_compile.js), the
// key book (key_book.js) and the glue's factory of the module.
'use strict';
function startPage({ layout, windowFit, compiledModule, keys, createManacalc }) {
    const form = document.getElementById('Form1');
    const note = document.getElementById('note');
    const summary = document.getElementById('summary');
    // The controls by their row in the layout, the text boxes by field number.
    const controls = layout.controls.map((row) => document.getElementById(row.name));
    const rows = new Map(controls.map((element, i) => [element, layout.controls[i]]));
    const boxes = [];
    for (const [element, row] of rows) if (row.field >= 0) boxes[row.field] = element;
    let manacalc = null;

    let noteOrigin = null;
    let pauseTimer = 0;

    // The field set and the window's primitives, as the module's rules ask
    // for them.
    const page = {
        text: (field) => boxes[field].value,
        setText(field, text) {
            const box = boxes[field];
            box.value = text;
            keys.written(box);
            // A written number shows from its first digit, as in the window:
            // "219.17" in a narrow box, not ".175". Only a box with the focus
            // would show its end.
            if (box === document.activeElement) box.setSelectionRange(0, 0);
        },
        moveFocus(field) {
            const box = boxes[field];
            box.focus();
            // Entered by Tab or Enter: its text is selected, as in the window.
            box.select();
        },
        // The player came back to the page: the focus is where it was.
        returnFocus: (field) => boxes[field].focus(),
        // The input that raised the note is marked invalid while it stands.
        showNote(control, text) {
            mark(controls[control]);
            note.textContent = text;
            note.hidden = false;
            placeNote();
        },
        moveNote(left, top) {
            note.style.left = `${left}px`;
            note.style.top = `${top}px`;
        },
        hideNote() {
            note.hidden = true;
            note.textContent = '';
            mark(null);
        },
        describe(control, text) {
            const element = controls[control];
            if (text) element.setAttribute('aria-describedby', 'note');
            else element.removeAttribute('aria-describedby');
        },
        // The note is an alert, which a screen reader speaks as it shows
        // with its text: the rules tell it once for each error, just after
        // showing it. The page tells the rules of no deactivation, so no note
        // ever shows again untold. The results go to the live region, spoken
        // after whatever a screen reader is saying.
        announceNote() {},
        announceResults(_, text) {
            summary.textContent = text;
        },
        startPause(ms) {
            clearTimeout(pauseTimer);
            pauseTimer = setTimeout(() => manacalc._manacalc_pause_ended(), ms);
        },
        stopPause: () => clearTimeout(pauseTimer),
    };

    function mark(origin) {
        noteOrigin?.removeAttribute('aria-invalid');
        noteOrigin = origin;
        if (origin?.tagName === 'INPUT') origin.setAttribute('aria-invalid', 'true');
    }

    // The window as window_fit.js scales it on a touch screen, the note with it.
    const { touchScreen, viewportSize } = windowFit;
    function fit(force) {
        if (windowFit.fit(force) && !note.hidden) placeNote();
    }

    // Where the rules place it, in the zoomed page's own pixels, within the
    // part of the page the screen shows; on a touch screen it wraps where
    // the screen ends.
    function placeNote() {
        const scale = windowFit.scale();
        const inPage = (x, y) => [(x + window.scrollX) / scale, (y + window.scrollY) / scale];
        const field = noteOrigin.getBoundingClientRect();
        const [width, height] = viewportSize();
        const [left, top] = inPage(field.left, field.top);
        note.style.maxWidth = touchScreen.matches ? `${width / scale - left}px` : '';
        manacalc._manacalc_place_note(
            ...[left, top, ...inPage(field.right, field.bottom)],
            ...[note.offsetWidth, note.offsetHeight, ...inPage(0, 0), ...inPage(width, height)],
        );
    }

    // A change of text no handled key release covers counts as one release
    // with the input-method code.
    function changed(box, row, event) {
        if (keys.changed(box, event)) manacalc._manacalc_commit(row.field);
    }

    function bindInput(box, row) {
        box.addEventListener('keyup', (event) => {
            const key = keys.keyUp(event);
            if (key) manacalc._manacalc_key_up(row.field, key.code, key.shift);
        });
        box.addEventListener('compositionend', () => changed(box, row));
        box.addEventListener('input', (event) => changed(box, row, event));
    }

    // The window's controls as the build drew them, their events handed to
    // the rules. A focus arriving counts for every text box, a result the
    // player clicked into too: the rules tell an entry from a return.
    function bind() {
        for (const [element, row] of rows) {
            if (row.kind === 'textbox') {
                element.addEventListener('focus', () => manacalc._manacalc_focus(row.field));
            }
            if (row.input) {
                bindInput(element, row);
            } else if (row.kind === 'button') {
                if (!row.focus) element.addEventListener('mousedown', (e) => e.preventDefault());
                element.addEventListener('click', () => manacalc._manacalc_click());
            }
        }
        // What was typed before now went into the boxes without a handler:
        // it counts once, as an input method's commit does.
        for (const [box, row] of rows) {
            if (row.input && box.value !== box.defaultValue) changed(box, row);
        }
        // The build drew the start: the first input focused and emptied by
        // its focus handler. A player who has since gone elsewhere stays.
        manacalc._manacalc_activated(rows.get(document.activeElement)?.field ?? -1);
    }

    // A caption that names a box is its label for assistive technology only:
    // a click on it does nothing, as in the window.
    for (const label of form.querySelectorAll('label')) {
        label.addEventListener('click', (event) => event.preventDefault());
    }

    // Window-wide: the keys held, forgotten when the browser window or tab
    // loses the focus, and Tab.
    window.addEventListener('keydown', (event) => keys.pressed(event), true);
    window.addEventListener('keyup', (event) => keys.released(event), true);
    // Tab goes round the inputs only, as the rules take it; before they are
    // ready, nowhere rather than out of the window.
    const isFocusKey = ({ code, shift }) =>
        layout.focusKeys.some((k) => k[0] === code && k[1] === shift);
    document.addEventListener('keydown', (event) => {
        const key = keys.keyDown(event);
        if (!key || !isFocusKey(key)) return;
        event.preventDefault();
        manacalc?._manacalc_key_down(key.code, key.shift);
    });
    window.addEventListener('blur', (event) => {
        if (event.target === window) keys.left();
    });

    // Served over http the page can be installed and then works offline; from
    // disk it is the one file, and asks for nothing beside it.
    function installable() {
        if (location.protocol === 'file:') return;
        const manifest = document.createElement('link');
        manifest.rel = 'manifest';
        manifest.href = 'manifest.webmanifest';
        document.head.append(manifest);
        // Not offered on an insecure origin (http other than this machine's).
        navigator.serviceWorker?.register('sw.js').catch(() => {});
    }

    window.visualViewport?.addEventListener('resize', () => fit(false));
    window.addEventListener('resize', () => fit(false));
    touchScreen.addEventListener('change', () => fit(true));

    const failed = (error) => {
        form.textContent = `manacalc: ${error}`;
    };
    createManacalc({
        page,
        // The glue's instantiation, of the module module_compile.js compiles.
        instantiateWasm(imports, receive) {
            compiledModule
                .then((module) => WebAssembly.instantiate(module, imports))
                .then((instance) => receive(instance), failed);
            return {};
        },
    })
        .then((module) => {
            manacalc = module;
            bind();
            performance.mark('inputs-ready');
            installable();
        })
        .catch(failed);
}
