// Which key releases the handlers see, and which changes of an input's text
// stand for a release that never comes. The page hands it every key event
// and text change; it answers what reaches the module.
'use strict';
function createKeyBook(inputMethodKeyCode, shiftBits) {
    // Firefox gives a few punctuation keys codes of its own; the handlers see
    // the virtual-key codes of the original platform.
    const kVirtualKeyCodes = { 59: 186, 61: 187, 173: 189 };
    const byInputMethod = (event) => event.isComposing || event.keyCode === inputMethodKeyCode;
    // The key code and Shift state the handlers see.
    const key = (event) => ({
        code: kVirtualKeyCodes[event.keyCode] ?? event.keyCode,
        shift: [event.shiftKey, event.ctrlKey, event.altKey].reduce(
            (shift, held, i) => (held ? shift | shiftBits[i] : shift),
            0,
        ),
    });

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
    // Keys whose release a box has handled, until they are pressed again. An
    // engine under load can deliver one release twice (WebKitGTK did): a
    // second Enter would move the focus on once more and empty an input the
    // player has not reached. A release with no press seen at all still
    // counts: the key went down in another window, as the player came back.
    const handledReleases = new Set();

    return {
        // Window-wide, before any box sees them.
        pressed(event) {
            (byInputMethod(event) ? imeKeys : keysDown).add(event.code);
            handledReleases.delete(event.code);
        },
        released: (event) => keysDown.delete(event.code),
        // The browser window or tab lost the focus: no key is held any more.
        left() {
            keysDown.clear();
            imeKeys.clear();
            handledReleases.clear();
        },

        // A key press or release in a box: the key code and Shift state the
        // rules see, or null for one that belongs to an input method or whose
        // release was handled already.
        keyDown: (event) => (byInputMethod(event) ? null : key(event)),
        keyUp(event) {
            if (handledReleases.has(event.code)) return null;
            handledReleases.add(event.code);
            const composed = imeKeys.delete(event.code);
            return composed || byInputMethod(event) ? null : key(event);
        },
        // A box's text changed by an input event (event) or the end of a
        // composition (no event): whether the change counts as one release,
        // with the input-method code, at once. The next character of an
        // on-screen keyboard may follow before anything queued would run.
        changed(box, event) {
            if (event && (event.isComposing || keysDown.size > 0)) {
                counted.delete(box);
                return false;
            }
            if (counted.get(box) === box.value) return false;
            counted.set(box, box.value);
            return true;
        },
        // The program wrote the box: no change of the player's is pending.
        written: (box) => counted.delete(box),
    };
}
