#!/usr/bin/env python3
"""Starts the program and reads its window over AT-SPI, as a screen reader does.

The application's first child must be a frame named by the window title, and
Label11 must be read as it is drawn. On X11 the window manager draws the title
bar; on weston, which draws none, the frame holds our title strip's two buttons.
On X11 it also types into the window, through the registry as a screen reader
would, reads the boxes' texts before and after, and listens to what the window
tells: one summary once the typing pauses, a refused digit that is not echoed,
and the note of an error.

    /usr/bin/python3 accessibility_check.py [--wayland] MANACALC

Everything it starts is its own: an X server (or a headless weston), a session
bus (from which the accessibility bus and its registry start on demand) and the
runtime folder where the accessibility bus puts its socket, so that runs side
by side do not meet on one bus.
"""
import os
import subprocess
import sys
import tempfile
import time

TITLE = "マナ回復速度計算 Ver1.10(Korvale対応)"
LABEL11 = "ﾏﾅ回復+1= Focus+20  瞑想不可= int0&medi0"
STRIP_BUTTONS = {"最小化", "閉じる"}
WAIT_SECONDS = 30
SUMMARY_100 = "回復値 4、1mana 2.5 sec"  # INT 100, Medi 0, Focus 0
# The boxes by name, from INT to Next Focus: at the start (with no window
# manager the window is not active yet, and INT not entered), and once INT 100
# is typed.
BOXES = ["INT", "Medi", "Focus", "回復値", "FPoint", "Next FPoint", "1mana sec", "Next INT",
         "Next Medi", "Next Focus"]
TEXTS_START = ["0", "0", "0", "0", "0", "0", "0", "0", "0", "20"]
TEXTS_100 = ["100", "0", "0", "4", "50", "60", "2.5", "20", "6.7", "20"]
NO_RECOVERY = "回復値が 0 のため計算できません。"  # INT -80, Medi 0, Focus 0
BACKSPACE, TAB, END = 0xff08, 0xff09, 0xff57  # keysyms


def start_x_server():
    """Xvfb picks a free display itself and reports it once it takes clients.

    xvfb-run -a guesses a free number first, and two of them started together
    can guess the same one. Without -noreset the server resets whenever its
    last client leaves, as the accessibility bus's first short look at the
    display does, and a program connecting just then is turned away.
    """
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
         "-screen", "0", "320x400x24"],
        pass_fds=[write_end])
    os.close(write_end)
    with os.fdopen(read_end) as reported:
        number = reported.readline().strip()
    if not number:
        server.wait()
        raise RuntimeError(f"Xvfb exited with {server.returncode} before taking a display")
    return server, ":" + number


def outer(program, wayland):
    command = ["dbus-run-session", "--", sys.executable, __file__, "--on-own-bus"]
    command += ["--wayland", program] if wayland else [program]
    if wayland:
        # weston_run.sh gives weston and the bus a runtime folder of their own.
        env = dict(os.environ)
        for name in ("AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY"):
            env.pop(name, None)
        weston_run = os.path.join(os.path.dirname(os.path.abspath(__file__)), "weston_run.sh")
        return subprocess.run(["bash", weston_run] + command, env=env).returncode
    server, display = start_x_server()
    try:
        with tempfile.TemporaryDirectory(prefix="manacalc-a11y-") as runtime:
            env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime)
            for name in ("AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY"):
                env.pop(name, None)
            return subprocess.run(command, env=env).returncode
    finally:
        server.terminate()
        server.wait(timeout=10)


def find_application(pyatspi, pid):
    """By process: the application's name is whatever the program calls itself."""
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid and app.childCount > 0:
            return app
    return None


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        yield child
        yield from descendants(child)


def names(pyatspi, node, role):
    return [child.name for child in descendants(node) if child.getRole() == role]


def check_events(pyatspi, window):
    """Types into INT as a player would, and listens as a screen reader does."""
    from gi.repository import GLib
    heard = []  # read as each event comes: the summary's notification is renamed for the next

    def record(event):
        heard.append((event.type, event.source.getRoleName(), event.source.name, event.detail1,
                      str(event.any_data)))
    for kind in ("state-changed:showing", "text-changed:insert", "text-changed:delete"):
        pyatspi.Registry.registerEventListener(record, "object:" + kind)

    def told():
        return [name for kind, role, name, shown, _ in heard
                if kind.endswith(":showing") and role == "notification" and shown]

    def changed(change, box):
        return [text for kind, _, name, _, text in heard if kind.endswith(change) and name == box]

    def keys(*keysyms):  # together, so that no pause falls between them on a busy machine
        for key in keysyms:
            pyatspi.Registry.generateKeyboardEvent(key if isinstance(key, int) else ord(key), None,
                                                   pyatspi.KEY_SYM)

    def wait(done, seconds=WAIT_SECONDS):
        deadline = time.monotonic() + seconds
        while not done() and time.monotonic() < deadline:
            GLib.MainContext.default().iteration(False)
            time.sleep(0.01)

    boxes = {c.name: c for c in descendants(window) if c.getRole() == pyatspi.ROLE_TEXT}

    def texts():
        return [boxes[name].queryText().getText(0, -1) if name in boxes else None
                for name in BOXES]
    failures = []
    if texts() != TEXTS_START:
        failures.append(f"the boxes start as {texts()}, not {TEXTS_START}")
    box = boxes["INT"]
    # Without a window manager a click is what makes the window active.
    at = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(at.x + at.width // 2, at.y + at.height // 2, "b1c")
    keys("1", "0", "0")
    wait(told)
    wait(lambda: False, seconds=1.5)  # time for a summary of each key, were there any
    if told() != [SUMMARY_100]:
        failures.append(f"typing 100 told {told()}, not once {SUMMARY_100!r}")
    if texts() != TEXTS_100:
        failures.append(f"after INT 100 the boxes read {texts()}, not {TEXTS_100}")
    # The 4th digit is refused; the Backspace behind it ends the wait.
    heard.clear()
    keys("4", BACKSPACE)
    wait(lambda: changed(":delete", "INT"))
    if changed(":insert", "INT"):
        failures.append(f"a refused 4th INT digit was echoed: {changed(':insert', 'INT')}")
    heard.clear()
    keys(BACKSPACE, BACKSPACE, "-", "8", "0", END)  # End's release raises the same error again
    wait(lambda: NO_RECOVERY in told())
    wait(lambda: False, seconds=1)
    # The player in INT has just been told the note; INT is described by it
    # once the focus leaves, for a player who comes back to it.
    if told() != [NO_RECOVERY] or box.description:
        failures.append(f"the error told {told()}, and INT in it described as {box.description!r}")
    keys(TAB)
    wait(lambda: box.description == NO_RECOVERY)
    if box.description != NO_RECOVERY:
        failures.append(f"INT left behind is described as {box.description!r}")
    keys("0", "5")  # Medi 0 raises again there; Medi 5 calculates, and the note goes
    wait(lambda: False, seconds=1)
    if box.description:
        failures.append(f"INT keeps the description {box.description!r} after the note went")
    return failures


def inner(program, wayland):
    import pyatspi

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("QT_QPA_PLATFORM", None)
    process = subprocess.Popen([program], env=env)
    try:
        deadline = time.monotonic() + WAIT_SECONDS
        app = None
        while app is None:
            if process.poll() is not None:
                print(f"FAIL: the program exited with {process.returncode}")
                return 1
            try:
                app = find_application(pyatspi, process.pid)
            except Exception:  # the registry is still starting
                app = None
            if app is None:
                if time.monotonic() > deadline:
                    print(f"FAIL: no manacalc window on the AT-SPI bus after {WAIT_SECONDS} s")
                    return 1
                time.sleep(0.2)

        window = app.getChildAtIndex(0)
        failures = []
        if window.getRole() != pyatspi.ROLE_FRAME:
            failures.append(f"the window is a {window.getRoleName()!r}, not a 'frame'")
        if window.name != TITLE:
            failures.append(f"the window is named {window.name!r}, not {TITLE!r}")
        labels = names(pyatspi, window, pyatspi.ROLE_LABEL)
        if LABEL11 not in labels:
            failures.append(f"no label reads {LABEL11!r}; the labels read {labels!r}")
        buttons = set(names(pyatspi, window, pyatspi.ROLE_PUSH_BUTTON))
        if wayland and not STRIP_BUTTONS <= buttons:
            failures.append(f"no title strip in the frame on weston; its buttons: {sorted(buttons)}")
        if not wayland and STRIP_BUTTONS & buttons:
            failures.append(f"a title strip under a window manager's title bar: {sorted(buttons)}")
        if not wayland:
            failures += check_events(pyatspi, window)
        for failure in failures:
            print("FAIL:", failure)
        if failures:
            return 1
        print(f"accessibility: {window.getRoleName()} {window.name!r}, {len(labels)} labels, "
              f"buttons {sorted(buttons)}")
        return 0
    finally:
        process.terminate()
        process.wait(timeout=10)


if __name__ == "__main__":
    args = sys.argv[1:]
    on_own_bus = args[0] == "--on-own-bus"
    args = args[1:] if on_own_bus else args
    wayland = args[0] == "--wayland"
    args = args[1:] if wayland else args
    sys.exit(inner(args[0], wayland) if on_own_bus else outer(args[0], wayland))
