#!/usr/bin/env python3
"""Starts the program and reads its window over AT-SPI, as a screen reader does.

The application's first child must be a frame named by the window title, and
Label11 must be read as it is drawn.

    /usr/bin/python3 accessibility_check.py MANACALC

Everything it starts is its own: an X server, a session bus (from which the
accessibility bus and its registry start on demand) and the runtime folder
where the accessibility bus puts its socket, so that runs side by side do not
meet on one bus.
"""
import os
import subprocess
import sys
import tempfile
import time

TITLE = "マナ回復速度計算 Ver1.10(Korvale対応)"
LABEL11 = "ﾏﾅ回復+1= Focus+20  瞑想不可= int0&medi0"
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


def outer(program):
    server, display = start_x_server()
    try:
        with tempfile.TemporaryDirectory(prefix="manacalc-a11y-") as runtime:
            env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime)
            for name in ("AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY"):
                env.pop(name, None)
            return subprocess.run(
                ["dbus-run-session", "--", sys.executable, __file__, "--on-own-bus", program],
                env=env).returncode
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


def label_names(pyatspi, node):
    names = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child.getRole() == pyatspi.ROLE_LABEL:
            names.append(child.name)
        names.extend(label_names(pyatspi, child))
    return names


def inner(program):
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
        labels = label_names(pyatspi, window)
        if LABEL11 not in labels:
            failures.append(f"no label reads {LABEL11!r}; the labels read {labels!r}")
        for failure in failures:
            print("FAIL:", failure)
        if failures:
            return 1
        print(f"accessibility: {window.getRoleName()} {window.name!r}, {len(labels)} labels")
        return 0
    finally:
        process.terminate()
        process.wait(timeout=10)


if __name__ == "__main__":
    if sys.argv[1] == "--on-own-bus":
        sys.exit(inner(sys.argv[2]))
    sys.exit(outer(sys.argv[1]))
