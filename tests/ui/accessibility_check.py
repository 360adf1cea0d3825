#!/usr/bin/env python3
"""Starts the program and reads its window over AT-SPI, as a screen reader does.

The application's first child must be a frame named by the window title, and
Label11 must be read as it is drawn. On X11 the window manager draws the title
bar; on weston, which draws none, the frame holds our title strip's two buttons.

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


def names(pyatspi, node, role):
    found = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child.getRole() == role:
            found.append(child.name)
        found.extend(names(pyatspi, child, role))
    return found


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
