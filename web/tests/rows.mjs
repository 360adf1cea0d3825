// The page's behaviour as a player types it: one table, run alike in every
// engine (engines.test.mjs) and in Chromium's own tests where those look
// further (page.test.mjs). Expected texts are literal: the window's numbers,
// not values rebuilt from the code under test. A row is a list of steps:
//   type TEXT | press KEY+KEY | click ID | insert TEXT (no key events)
//   doubled KEY                 one press whose release the engine delivers twice
//   away                        to another window and back, for real
//   set ID TEXT                 a text written by script, not typed
//   expect ID ID = TEXT TEXT    the boxes' texts, "_" for the empty text
//   focus ID                    the focused box
//   entered ID                  focused by the keyboard: an input emptied,
//                               回復値 keeping its text, all of it selected
//   note TEXT | note none       the error note
//   attr ID NAME VALUE|none     an attribute of a box
//   pause                       longer than the player's pause before the
//                               results are spoken; or, once held, the
//                               page's timers run out now
//   hold                        from here on the page's timers wait for the
//                               next pause: a loaded machine may type slower
//                               than a player pauses
//   spoken TEXT | spoken none   the live region's text
//   watch note                  from here on, count the note's writes
//   note-writes N               the writes counted
//   watch policy                from here on (or from the load, where the page
//                               was served watched), the policy's violations
//   load URL                    an image from URL, until the policy refuses it
//   violations none | LIST      the directives violated, in order
import assert from 'node:assert/strict';

export const kResults = 'Text10 Text5 Text6 Text4 Text7 Text8';
const kOverflowNote = 'オーバーフローしました。';
const kZeroNote = '回復値が 0 のため計算できません。';

// INT, Enter, Medi, Enter, Focus; then on through 回復値 back to INT.
const calculation = (inputs, results) => {
    const [int, medi, focus] = inputs.split(' ');
    return [
        ...[`type ${int}`, 'press Enter', `type ${medi}`, 'press Enter', `type ${focus}`],
        `expect ${kResults} = ${results}`,
        `expect Text1 Text2 Text3 Text9 = ${inputs} 20`,
        ...['press Enter', 'press Enter', 'entered Text1'],
    ];
};

// From the start (or a click on a result box), a digit then the key, again and again.
const cycle = (start, key, order) => [
    ...(start ? [`click ${start}`] : []),
    ...order.split(' ').flatMap((next) => ['type 7', `press ${key}`, `entered ${next}`]),
];

// Its own key release computes from the text it selects; 'old': kept.
const recovery = (typed, seconds) => [
    ...['click Text10', 'press Control+a', 'set Text5 old', `type ${typed}`],
    `expect Text10 Text5 Text4 Text6 Text7 Text8 = ${typed} ${seconds} 0 0 0 0`,
];

// Typed over the selected text; an input method commits full-width digits
// one at a time, without key events.
const limit = (field, keys, kept, how = 'type') => [
    ...[`click ${field}`, 'press Control+a'],
    ...[...keys].map((key) => `${how} ${key}`),
    `expect ${field} = ${kept}`,
];

// The overflow writes 1679 into 回復値, two typed characters long; the player
// types 1 over it and brings 1679 back with an undo. No more characters go in
// after that, and the undo itself is not cut. "20" is on the clipboard,
// copied from Next Focus.
const undo = (keys, kept) => [
    ...['type 999', 'press Tab', 'type 20000', 'expect Text10 = 1679', `note ${kOverflowNote}`],
    ...['click Text9', 'press Control+a', 'press Control+c', 'press Tab', 'entered Text10'],
    ...['type 1', 'expect Text10 = 1'],
    ...keys.split(' ').map((key) => `press ${key}`),
    `expect Text10 = ${kept}`,
];

export const kRows = [
    [
        'start: INT focused and emptied',
        ['focus Text1', `expect Text1 Text2 Text3 ${kResults} Text9 = _ 0 0 0 0 0 0 0 0 20`],
    ],
    ['calculation: starting texts', calculation('0 0 0', '2 5 20 0 40 13.4')],
    ['calculation: INT 1', calculation('1 0 0', '2 5 20 0.5 39 13')],
    ['calculation: Focus 20', calculation('100 50 20', '9 1.11111111111111 160 145 30 10')],
    ['calculation: Medi 99', calculation('100 99 0', '11 0.909090909090909 200 198.5 3 1')],
    ['calculation: Medi 98.5', calculation('100 98.5 0', '11 0.909090909090909 200 197.75 5 1.5')],
    ['calculation: Medi 99.5', calculation('100 99.5 0', '12 0.833333333333333 220 219.175 2 0.5')],
    ['calculation: Medi 100 Focus 100', calculation('100 100 100', '18 0.555555555555556 340 320 37 12.2')],
    ['calculation: Medi fraction', calculation('100 85.3 20', '11 0.909090909090909 200 197.95 5 1.4')],
    ['calculation: Medi 123', calculation('0 123 0', '12 0.833333333333333 220 202.95 32 10.4')],
    ['calculation: all high', calculation('150 120 120', '22 0.454545454545455 420 400.5 36 11.9')],
    [
        'spoken: the results, once the typing pauses',
        [
            ...['hold', 'type 100', 'press Enter', 'type 99.5', 'press Enter', 'type 0'],
            'spoken none',
            ...['pause', 'spoken 回復値 12、1mana 0.833 sec'],
        ],
    ],
    ['spoken: a recovery value, its seconds', [...recovery('5', '2'), 'pause', 'spoken 1mana 2 sec']],
    [
        'return: every text kept, in every input',
        [
            ...['type 123', 'away', 'press Enter', 'type 45', 'away', 'press Enter', 'type 6'],
            ...['away', 'away', 'expect Text1 Text2 Text3 = 123 45 6', 'focus Text3'],
        ],
    ],
    [
        'doubled: one Enter released twice moves on once',
        ['type 100', 'doubled Enter', 'entered Text2', 'expect Text3 Text10 = 0 4'],
    ],
    ['cycle: Tab', cycle(null, 'Tab', 'Text2 Text3 Text10 Text1')],
    ['cycle: Enter', cycle(null, 'Enter', 'Text2 Text3 Text10 Text1')],
    ['cycle: Shift+Tab', cycle(null, 'Shift+Tab', 'Text10 Text3 Text2 Text1')],
    ['cycle: Tab from a result', cycle('Text6', 'Tab', 'Text10 Text1 Text2 Text3')],
    ['cycle: Shift+Tab from a result', cycle('Text6', 'Shift+Tab', 'Text3 Text2 Text1 Text10')],
    ['回復値: 5', recovery('5', '2')],
    ['回復値: 3', recovery('3', '3.33333333333333')],
    ['回復値: -3', recovery('-3', '3.33333333333333')],
    ['回復値: .6', recovery('.6', '16.6666666666667')],
    ['回復値: 0 keeps', recovery('0', 'old')],
    ['回復値: .4 keeps', recovery('.4', 'old')],
    ['回復値: a letter keeps', recovery('a', 'old')],
    [
        'INT -80: a note, partial writes kept, Enter stays',
        [
            ...['press Tab', 'type 0', 'press Tab', 'type 0', 'click Text1', 'type -80'],
            // "-8" wrote every result; "-80" wrote 回復値 0, then failed on
            // its seconds per mana.
            ...[`expect ${kResults} = 0 5 20 -4 48 16`, `note ${kZeroNote}`, 'focus Text1'],
            // The field in error is marked invalid, and described by the note
            // only once the player, just told it, has left; the error drops
            // the summary of the results "-8" wrote.
            ...['attr Text1 aria-invalid true', 'attr Text1 aria-describedby none'],
            ...['attr Text2 aria-invalid none', 'pause', 'spoken none'],
            // The error ended the handler before its Enter test: no Tab. The
            // keys under the same error leave the note as it was written.
            ...['watch note', 'press Enter', 'press End', 'focus Text1', `note ${kZeroNote}`],
            'note-writes 0',
            // A correction computes and clears the note, and its marks with it.
            ...['press Backspace', `expect ${kResults} = 2 5 20 -4 48 16`, 'note none'],
            ...['attr Text1 aria-invalid none', 'attr Text1 aria-describedby none'],
        ],
    ],
    ['limit: INT 3', limit('Text1', '12345', '123')],
    ['limit: Medi 5', limit('Text2', '100.55', '100.5')],
    ['limit: Focus 3', limit('Text3', '1000', '100')],
    ['limit: 回復値 2', limit('Text10', '123', '12')],
    ['limit: full-width INT 3', limit('Text1', '１２３４', '１２３', 'insert')],
    ['limit: undo, type', undo('Control+z End 9 9 9', '1679')],
    ['limit: undo, redo, undo, type', undo('Control+z Control+Shift+z Control+z End 9', '1679')],
    ['limit: undo, paste', undo('Control+z End Control+v', '1679')],
    ['limit: undo, shorten, type', undo('Control+z End Backspace 5', '167')],
    ['limit: undo, paste over all', undo('Control+z Control+a Control+v', '20')],
    [
        'policy: a calculation breaks none of it; the network is refused',
        [
            'watch policy',
            ...calculation('100 99.5 0', '12 0.833333333333333 220 219.175 2 0.5'),
            ...['violations none', 'load http://127.0.0.1:9/probe.png', 'violations img-src'],
        ],
    ],
];

export const row = (name) => kRows.find(([n]) => n === name)[1];

// What the checks read, once the page has handled what is queued.
function readPage(ids) {
    return new Promise((resolve) =>
        setTimeout(() => {
            const box = document.activeElement;
            const note = document.getElementById('note');
            const spoken = document.querySelector('[role="status"]').textContent;
            resolve({
                texts: ids.map((id) => document.getElementById(id).value),
                focus: box.id,
                selection: [box.value, box.selectionStart, box.selectionEnd],
                note: note.hidden ? 'none' : note.textContent,
                spoken: spoken || 'none',
                noteWrites: window.noteWrites,
                violations: window.violations,
            });
        }),
    );
}

const cells = (text) => text.split(' ').map((cell) => (cell === '_' ? '' : cell));

export async function play(session, steps, name) {
    for (const [i, step] of steps.entries()) {
        const [verb, ...rest] = step.split(' ');
        const arg = rest.join(' ');
        const at = `${name}, step ${i + 1}: ${step}`;
        if (['type', 'press', 'doubled', 'click', 'insert', 'away'].includes(verb)) {
            await session[verb](arg);
        } else if (verb === 'set') {
            await session.run(([id, text]) => {
                document.getElementById(id).value = text;
            }, rest);
        } else if (verb === 'expect') {
            const [ids, expected] = arg.split(' = ');
            const { texts } = await session.run(readPage, ids.split(' '));
            assert.deepEqual(texts, cells(expected), at);
        } else if (verb === 'focus' || verb === 'note' || verb === 'spoken') {
            assert.equal((await session.run(readPage, []))[verb], arg, at);
        } else if (verb === 'note-writes') {
            assert.equal((await session.run(readPage, [])).noteWrites, Number(arg), at);
        } else if (verb === 'attr') {
            const [id, attribute, value] = rest;
            const actual = await session.run(
                ([i, a]) => document.getElementById(i).getAttribute(a) ?? 'none',
                [id, attribute],
            );
            assert.equal(actual, value, at);
        } else if (verb === 'pause') {
            await session.run(() => {
                if (!window.heldTimers) return new Promise((resolve) => setTimeout(resolve, 700));
                const runs = [...window.heldTimers.values()];
                window.heldTimers.clear();
                runs.forEach((run) => run());
            });
        } else if (verb === 'hold') {
            // The page's pause waits; readPage's timers (no delay) and a
            // WebDriver's script timeout (seconds, in WebKitGTK) run as set.
            await session.run(() => {
                const [set, clear] = [window.setTimeout, window.clearTimeout];
                let last = 0;
                window.heldTimers = new Map();
                window.setTimeout = (run, ms) =>
                    ms > 0 && ms < 5000 ? (window.heldTimers.set(--last, run), last) : set(run, ms);
                window.clearTimeout = (id) => (id < 0 ? window.heldTimers.delete(id) : clear(id));
            });
        } else if (step === 'watch policy') {
            await session.run(() => {
                if (window.violations) return; // watched since the page loaded
                window.violations = [];
                document.addEventListener('securitypolicyviolation', (event) =>
                    window.violations.push(event.effectiveDirective),
                );
            });
        } else if (verb === 'load') {
            await session.run(
                (url) =>
                    new Promise((resolve) => {
                        const done = () => resolve(null);
                        document.addEventListener('securitypolicyviolation', done, { once: true });
                        setTimeout(done, 2000);
                        new Image().src = url;
                    }),
                arg,
            );
        } else if (verb === 'violations') {
            const { violations } = await session.run(readPage, []);
            assert.equal(violations.join(' ') || 'none', arg, at);
        } else if (verb === 'watch') {
            await session.run((id) => {
                window.noteWrites = 0;
                new MutationObserver((records) => (window.noteWrites += records.length)).observe(
                    document.getElementById(id),
                    { childList: true, characterData: true, subtree: true },
                );
            }, arg);
        } else if (verb === 'entered') {
            const { focus, selection } = await session.run(readPage, []);
            const [value, start, end] = selection;
            const all = value !== '' && start === 0 && end === value.length;
            const entered = arg === 'Text10' ? all : value === '';
            assert.ok(focus === arg && entered, `${at}: ${focus} "${value}" ${start}-${end}`);
        } else {
            throw new Error(`${at}: no such step`);
        }
    }
}
