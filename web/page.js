// The calculator page: binds the shared handlers to the page's events, as the
// desktop window binds them to its own. The window itself is in the page
// already, drawn at build time from the same layout table (inline_page.mjs),
// so that it shows before the module is ready.
'use strict';
(() => {
    // The code the original platform reports for keys an input method processed.
    const kInputMethodKeyCode = 229;
    // Firefox gives a few punctuation keys codes of its own; the handlers see
    // the virtual-key codes of the original platform.
    const kVirtualKeyCodes = { 59: 186, 61: 187, 173: 189 };
    const kStatusWritten = 0;
    const kStatusSkipped = 1;

    const form = document.getElementById('Form1');
    const note = document.getElementById('note');
    const summary = document.getElementById('summary');
    const boxes = []; // by field number
    const rows = new Map(); // element -> its layout row
    let cycle = []; // the controls that take the focus, by tab index
    let manacalc = null;

    // Keys held down now whose release the handlers see. A change of an
    // input's text while none is held has no key release of its own to
    // recalculate on: an input method's commit, an on-screen keyboard's
    // character (Android's keyboards send each inside a key press with code
    // 229), a paste from a touch menu, a dropped text.
    const keysDown = new Set();
    // Keys whose press an input method took: their release is part of the
    // composition or the commit, whose change of text counts instead.
    const imeKeys = new Set();
    // The text a box held when a change without a key release of its own was
    // counted: a commit's compositionend and input events, in whichever order
    // an engine sends them, are one change. Any other change forgets it.
    const counted = new Map();
    // The box that had the focus when the browser window or tab was left; its
    // focus coming back is no entry and empties nothing.
    let returning = null;

    // The field set and the Tab keystroke, as the module asks for them.
    const page = {
        text: (field) => boxes[field].value,
        setText(field, text) {
            const box = boxes[field];
            box.value = text;
            counted.delete(box);
            // A written number shows from its first digit, as in the window:
            // "219.17" in a narrow box, not ".175". Only a box with the focus
            // would show its end.
            if (box === document.activeElement) box.setSelectionRange(0, 0);
        },
        sendTab: () => moveFocus(document.activeElement, false),
    };

    // The next control in tab order after `from` (or before it), wrapping
    // around; from outside the window, the first (or last).
    function moveFocus(from, backward) {
        const at = rows.has(from) ? rows.get(from).tabIndex : backward ? Infinity : -Infinity;
        const ordered = backward ? [...cycle].reverse() : cycle;
        const next =
            ordered.find((row) => (backward ? row.tabIndex < at : row.tabIndex > at)) ?? ordered[0];
        const box = boxes[next.field];
        box.focus();
        // Entered by Tab or Enter: its text is selected, as in the window.
        box.select();
    }

    // On a touch screen the window at its own size is a stamp, with boxes far
    // below a fingertip: there it scales, as browser zoom scales it, to the
    // largest size the visible viewport holds, and again when the phone
    // turns. A fine pointer keeps the window's own size.
    const touchScreen = window.matchMedia('(pointer: coarse)');
    let scale = 1;
    let fittedWidth = 0;
    let noteOrigin = null;

    // The visible viewport as it is without the player's own pinch zoom.
    function viewportSize() {
        const viewport = window.visualViewport;
        if (!viewport) return [window.innerWidth, window.innerHeight];
        return [viewport.width * viewport.scale, viewport.height * viewport.scale];
    }

    function fit(force) {
        // Measured on a touch screen only: the viewport's size takes a layout,
        // which a desktop then does before its first paint rather than here.
        const [width, height] = touchScreen.matches ? viewportSize() : [0, 0];
        // Only a turn changes the width. An on-screen keyboard takes height
        // alone, and the window must not shrink under the player's finger.
        if (!force && width === fittedWidth) return;
        fittedWidth = width;
        const fitting = Math.min(width / manacalcLayout.width, height / manacalcLayout.height);
        // In hundredths, down: a rounded-up size would scroll by a pixel.
        scale = touchScreen.matches ? Math.floor(fitting * 100) / 100 : 1;
        document.body.style.zoom = scale === 1 ? '' : String(scale);
        if (!note.hidden) placeNote();
    }

    // Below the field it is about, in the zoomed page's own pixels; on a
    // touch screen it wraps where the screen ends.
    function placeNote() {
        const at = noteOrigin.getBoundingClientRect();
        const left = (at.left + window.scrollX) / scale;
        note.style.left = `${left}px`;
        note.style.top = `${(at.bottom + window.scrollY) / scale}px`;
        note.style.maxWidth = touchScreen.matches ? `${viewportSize()[0] / scale - left}px` : '';
    }

    // The note is an alert: a screen reader speaks each write. It is written
    // only when its text changes, not again by every key under one error, and
    // the input that raised it is marked as described by it while it stands.
    function showNote(origin, status) {
        const text = manacalc.UTF8ToString(manacalc._manacalc_note(status));
        if (note.textContent !== text) note.textContent = text;
        if (noteOrigin !== origin) {
            noteOrigin?.removeAttribute('aria-invalid');
            noteOrigin?.removeAttribute('aria-describedby');
            noteOrigin = origin;
            if (origin.tagName === 'INPUT') {
                origin.setAttribute('aria-invalid', 'true');
                origin.setAttribute('aria-describedby', 'note');
            }
        }
        note.hidden = false;
        placeNote();
    }

    function dismissNote() {
        if (note.hidden) return;
        note.hidden = true;
        note.textContent = '';
        noteOrigin.removeAttribute('aria-invalid');
        noteOrigin.removeAttribute('aria-describedby');
        noteOrigin = null;
    }

    // A screen reader speaks only the focused box's own changes: once the
    // player pauses, the live region tells the results a calculation wrote,
    // in the window's words. Every key release holds it back; an error drops
    // it, since the note says what happened instead.
    let summaryPauseMs = 0; // the window's, from the layout
    let summaryField = null;
    let summaryTimer = 0;

    function announce(status, origin) {
        if (status === kStatusWritten) {
            summaryField = rows.get(origin)?.field ?? -1;
        } else if (status !== kStatusSkipped) {
            summaryField = null;
        }
        clearTimeout(summaryTimer);
        if (summaryField === null) return;
        summaryTimer = setTimeout(() => {
            summary.textContent = manacalc.UTF8ToString(manacalc._manacalc_summary(summaryField));
            summaryField = null;
        }, summaryPauseMs);
    }

    // Runs a handler; an error shows at the field, and the next calculation
    // that writes its results clears it.
    function run(origin, handler) {
        const status = handler();
        if (status === kStatusWritten) {
            dismissNote();
        } else if (status !== kStatusSkipped) {
            showNote(origin, status);
        }
        announce(status, origin);
    }

    function keyUp(box, row, keyCode, shift) {
        run(box, () => manacalc._manacalc_key_up(row.field, keyCode, shift));
    }

    // A change of text no handled key release covers counts as one release
    // with the input-method code, at once: the next character of an on-screen
    // keyboard may follow before anything queued would run.
    function commitKeyUp(box, row) {
        if (counted.get(box) === box.value) return;
        counted.set(box, box.value);
        keyUp(box, row, kInputMethodKeyCode, 0);
    }

    function bindInput(box, row) {
        box.addEventListener('focus', () => {
            if (box === returning) {
                returning = null;
                return;
            }
            returning = null;
            manacalc._manacalc_got_focus(row.field);
        });
        box.addEventListener('keyup', (event) => {
            const composed = imeKeys.delete(event.code) || event.isComposing;
            if (composed || event.keyCode === kInputMethodKeyCode) return;
            const code = kVirtualKeyCodes[event.keyCode] ?? event.keyCode;
            const shift =
                (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
            keyUp(box, row, code, shift);
        });
        box.addEventListener('compositionend', () => commitKeyUp(box, row));
        box.addEventListener('input', (event) => {
            if (!event.isComposing && keysDown.size === 0) {
                commitKeyUp(box, row);
            } else {
                counted.delete(box);
            }
        });
    }

    // The window's controls as the build drew them, bound to the handlers.
    function bind(layout) {
        summaryPauseMs = layout.summaryPauseMs;
        for (const row of layout.controls) {
            const element = document.getElementById(row.name);
            rows.set(element, row);
            if (row.field >= 0) boxes[row.field] = element;
            if (row.kind === 'textbox' && row.limit > 0) {
                bindInput(element, row);
            } else if (row.kind === 'button') {
                // Only a one-pixel sliver shows; a focus there would be
                // invisible and would swallow the player's typing.
                element.addEventListener('mousedown', (event) => event.preventDefault());
                element.addEventListener('click', () =>
                    run(element, () => manacalc._manacalc_click()),
                );
            }
        }
        cycle = layout.controls
            .filter((row) => row.kind === 'textbox' && row.limit > 0)
            .sort((a, b) => a.tabIndex - b.tabIndex);
        // What was typed before now went into the boxes without a handler:
        // it counts once, as an input method's commit does.
        for (const row of cycle) {
            const box = boxes[row.field];
            if (box.value !== box.defaultValue) commitKeyUp(box, row);
        }
    }

    // A caption that names a box is its label for assistive technology only:
    // a click on it does nothing, as in the window.
    for (const label of form.querySelectorAll('label')) {
        label.addEventListener('click', (event) => event.preventDefault());
    }

    // Window-wide: the keys held, Tab through the cycle only, and the focus
    // leaving with the browser window or tab.
    window.addEventListener(
        'keydown',
        (event) => {
            const ime = event.isComposing || event.keyCode === kInputMethodKeyCode;
            (ime ? imeKeys : keysDown).add(event.code);
        },
        true,
    );
    window.addEventListener('keyup', (event) => keysDown.delete(event.code), true);
    document.addEventListener('keydown', (event) => {
        // WebKitGTK names Shift+Tab "Unidentified"; its code is Tab's.
        const tab = event.key === 'Tab' || event.keyCode === 9;
        if (!tab || event.isComposing || event.ctrlKey || event.altKey) return;
        event.preventDefault();
        moveFocus(document.activeElement, event.shiftKey);
    });
    window.addEventListener('blur', (event) => {
        if (event.target !== window) return;
        returning = document.activeElement;
        keysDown.clear();
        imeKeys.clear();
    });
    window.addEventListener('focus', (event) => {
        // The box's own focus event follows in the same task, if it comes at all.
        if (event.target === window) setTimeout(() => (returning = null));
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

    // Fitted before the first paint, so that a phone never shows the stamp.
    fit(true);
    window.visualViewport?.addEventListener('resize', () => fit(false));
    window.addEventListener('resize', () => fit(false));
    touchScreen.addEventListener('change', () => fit(true));

    // Base64 to bytes natively where the browser can, a few times faster.
    function decode(base64) {
        if (Uint8Array.fromBase64) return Uint8Array.fromBase64(base64);
        const text = atob(base64);
        const bytes = new Uint8Array(text.length);
        for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
        return bytes;
    }

    // Compiled while the window is drawn: the compilation runs in the
    // background, and the window needs nothing of the module to show.
    createManacalc({ wasmBinary: decode(manacalcWasm), page })
        .then((module) => {
            manacalc = module;
            bind(manacalcLayout);
            // The build drew the start: the first input focused and emptied
            // by its focus handler. A player who has since gone elsewhere stays.
            if (document.activeElement === document.body) boxes[cycle[0].field].focus();
            performance.mark('inputs-ready');
            installable();
        })
        .catch((error) => {
            form.textContent = `manacalc: ${error}`;
        });
})();
