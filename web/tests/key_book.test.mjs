// The page's key bookkeeping against event sequences as engines send them:
// what reaches the module, as "key CODE SHIFT" for a key release and "commit"
// for a change of text that stands for one.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';

const source = readFileSync(new URL('../key_book.js', import.meta.url), 'utf8');
const createKeyBook = new Function(`${source}\nreturn createKeyBook;`)();

// Steps separated by ";": down CODE KEYCODE [composing] | up CODE KEYCODE |
// input TEXT [composing] | compositionend TEXT | write TEXT | blur.
function play(steps) {
    const keys = createKeyBook(229, [1, 2, 4]);
    const box = { value: '' };
    const seen = [];
    for (const step of steps.split(';')) {
        const words = step.trim().split(' ');
        const [verb, arg, keyCode] = words;
        const event = { code: arg, keyCode: Number(keyCode), isComposing: words.includes('composing') };
        if (verb === 'down') keys.pressed(event);
        if (verb === 'up') {
            keys.released(event); // the window's capturing listener runs first
            const key = keys.keyUp(event);
            if (key) seen.push(`key ${key.code} ${key.shift}`);
        }
        if (['input', 'compositionend', 'write'].includes(verb)) box.value = arg;
        if (verb === 'input' && keys.changed(box, event)) seen.push('commit');
        if (verb === 'compositionend' && keys.changed(box)) seen.push('commit');
        if (verb === 'write') keys.written(box);
        if (verb === 'blur') keys.left();
    }
    return seen.join('; ');
}

const rows = [
    ['typed_digit_is_its_release', 'down Digit1 49; input 1; up Digit1 49', 'key 49 0'],
    ['firefox_minus_as_windows_codes_it', 'down Minus 173; input -; up Minus 173', 'key 189 0'],
    ['commit_then_input', 'down Digit1 229; compositionend 1; input 1; up Digit1 229', 'commit'],
    ['input_then_commit', 'down Digit1 229; input 1; compositionend 1; up Digit1 229', 'commit'],
    ['composing_counts_at_its_end', 'input あ composing; compositionend 1', 'commit'],
    ['android_keys_each_count', 'down X 229; input 1; up X 229; down X 229; input 12', 'commit; commit'],
    ['menu_paste_counts', 'input 123', 'commit'],
    ['key_held_when_the_window_was_left', 'down Digit1 49; blur; input 5', 'commit'],
    ['program_write_forgets_the_count', 'compositionend 5; write 5; compositionend 5', 'commit; commit'],
    ['release_delivered_twice_is_taken_once', 'down Enter 13; up Enter 13; up Enter 13', 'key 13 0'],
    ['key_pressed_in_another_window_counts', 'down Enter 13; up Enter 13; blur; up Enter 13', 'key 13 0; key 13 0'],
];

for (const [name, steps, seen] of rows) {
    test(name, () => assert.equal(play(steps), seen));
}
