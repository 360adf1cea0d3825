#!/usr/bin/env python3
"""usage: /usr/bin/python3 orca_session.py MANACALC [KEEP_LOG_AS]
A blind player's session: Orca listens while the keys of orca_steps.txt go in through the X
keyboard, and what it spoke (its debug log's SPEECH OUTPUT lines) is held against each step.
The X server, window manager, buses, speech server and Orca are its own."""
import os, re, shutil, subprocess, sys, tempfile, time
from accessibility_check import start_x_server

STEPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "orca_steps.txt")
PACE_MS = {"careful": 250, "quick": 20, "on": 20}  # both under the window's 500 ms pause
SPOKEN = re.compile(r" - SPEECH OUTPUT: '(.*?)'(?:$| voice=| ?\{)")
START_S, WAIT_S, QUIET_S = 90, 15, 2.0
# Orca's own start but for two things: its debug log goes out line by line (in
# Python's blocks, a step's last lines would come seconds late), and another
# Orca of this user, a run beside this one, does not stop it.
ORCA = ("import builtins, sys; orca = {'__name__': 'orca_session'}; exec(open('/usr/bin/orca').read(), orca)\n"
        "orca['open'] = lambda *args, **kwargs: builtins.open(*args, buffering=1, **kwargs)\n"
        "orca['otherOrcas'] = orca['other_orcas'] = list; sys.exit(orca['main']())")

class Log:
    def __init__(self, path):
        self.path, self.offset, self.rest, self.said = path, 0, b"", []
    def read(self):  # all that Orca has spoken so far
        with open(self.path, "ab+") as log:
            log.seek(self.offset)
            data = log.read()
        self.offset += len(data)
        *lines, self.rest = (self.rest + data).split(b"\n")
        self.said += [m[1] for m in (SPOKEN.search(l.decode(errors="replace")) for l in lines) if m]
        return self.said

def wait_for(done, seconds):
    deadline = time.monotonic() + seconds
    while not done() and time.monotonic() < deadline:
        time.sleep(0.05)
    return done()

def says(line, text):  # Orca's role word may stand beside it: 'INT テキスト.', '通知 回復値 4、….'
    return re.fullmatch(rf"(?:[^\s\d]+ )?{re.escape(text)}(?: [^\s\d]+)?\.?", line) is not None

def start(tmp, program, procs):
    x_server, display = start_x_server()
    procs.append(x_server)
    home, run = tmp + "/home", tmp + "/run"
    os.makedirs(home + "/.config/speech-dispatcher")
    os.mkdir(run, 0o700)
    with open(home + "/.config/speech-dispatcher/speechd.conf", "w") as conf:  # ALSA's null device
        conf.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDefaultModule espeak-ng\n'
                   'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n')
    env = {k: v for k, v in os.environ.items() if not k.startswith(("LC_", "AT_SPI", "QT_QPA", "WAYLAND"))}
    env.update(DISPLAY=display, HOME=home, XDG_RUNTIME_DIR=run, XDG_CONFIG_HOME=home + "/.config",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env, text=True)
    procs.append(bus)
    env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
    for command in (["matchbox-window-manager"], ["speech-dispatcher", "-s", "-t", "0"]):
        procs.append(subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    # Orca would start a speech server of its own were this one not listening yet.
    if not wait_for(lambda: os.path.exists(run + "/speech-dispatcher/speechd.sock"), START_S):
        raise RuntimeError("speech-dispatcher did not start")
    log = Log(tmp + "/orca.log")
    # Braille and the echo of every key are Orca's own, not the window's.
    procs.append(subprocess.Popen([sys.executable, "-c", ORCA, "--debug-file", log.path, "-u",
                                   tmp + "/prefs", "-d", "braille,key-echo"], env=env))
    if not wait_for(log.read, START_S):  # its greeting: it listens
        raise RuntimeError(f"Orca said nothing in {START_S} s")
    procs.append(subprocess.Popen([program], env=env))
    return env, log

# Orca may name a clicked box again from its own handling of the press, which on
# Xvfb AT-SPI reports where it first saw the pointer: as its echo of keys, not the window's.
def check(said, expected, news, clicked):
    faults, at = [], -1
    for text in expected:
        hits = [i for i, line in enumerate(said) if says(line, text)]
        counted = bool(hits) and (len(hits) == 1 or clicked)
        if not counted or hits[0] < at:
            faults.append(f"{text!r} too late" if counted else f"{text!r} heard {len(hits)} times")
        at = max(hits or [at])
    return faults + [f"also heard {line!r}" for line in said if not any(says(line, t) for t in expected)
                     and (any(says(line, t) for t in news) or "1mana" in line)]

def main(program, keep_log=None):
    rows = [[cell.strip() for cell in line.split("|")] for line in open(STEPS, encoding="utf-8")
            if line.strip() and not line.startswith("#")]
    news = {text for *_, heard in rows for text in heard.split(" / ") if text != "-"}
    procs, faults = [], 0
    with tempfile.TemporaryDirectory(prefix="manacalc-orca-") as tmp:
        try:
            env, log = start(tmp, program, procs)
            for n, (pace, keys, heard) in enumerate(rows, 1):
                expected, begin = [] if heard == "-" else heard.split(" / "), len(log.read())
                for key in keys.split() if keys != "-" else []:
                    at = key.removeprefix("click@").split(",")
                    # The pointer rests before it clicks: AT-SPI may tell of the press where it
                    # last saw the pointer, and Orca would name the box there.
                    click = ["getactivewindow", "mousemove", "--window", "%1", *at, "sleep", "0.3", "click", "1"]
                    subprocess.run(["xdotool", *(click if len(at) == 2 else ["key", key])], env=env, check=True)
                    time.sleep(PACE_MS[pace] / 1000)
                wait_for(lambda: all(any(says(l, t) for l in log.read()[begin:]) for t in expected), WAIT_S)
                # Silence ends a step, but a player who types on does not wait for it.
                while pace != "on" and wait_for(lambda s=len(log.said): len(log.read()) > s, QUIET_S):
                    pass
                for fault in check(log.said[begin:], expected, news, "click@" in keys):
                    faults += 1
                    print(f"FAIL: step {n} ({pace} {keys}): {fault}; Orca said {log.said[begin:]}")
                print(f"step {n} ({pace} {keys}): {log.said[begin:]}", file=sys.stderr)
        finally:
            for process in reversed(procs):
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:  # Orca can hang as it shuts down
                    process.kill()
            if keep_log and os.path.exists(tmp + "/orca.log"):  # why Orca kept silent, if it did
                shutil.copyfile(tmp + "/orca.log", keep_log)
    print(f"orca session: {len(rows)} steps, {faults} faults")
    return 1 if faults else 0

if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
