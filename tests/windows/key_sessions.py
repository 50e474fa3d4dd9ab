#!/usr/bin/env python3
"""Works the panel's window by real key events and checks what the operator's
keys did: the driver calls after the start-up and the settings file the close
left, against the record NAME.expected beside each session NAME.keys.

Usage: key_sessions.py check|record SESSIONS_FOLDER PROGRAM [ARGUMENT...]
PROGRAM runs with --show in a fresh folder (holding NAME.ini, when there is
one) on the X display of DISPLAY. "record" writes the records instead.

A session file holds xdotool key names, "KEY*N" for N presses; "#" starts a
comment. The panel is closed with Escape after the session's keys unless they
closed it already. Sessions must not make the panel show a message box."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PATIENCE = 30


def keys_of(path):
    keys = []
    for line in open(path):
        for word in line.split("#", 1)[0].split():
            key, _, count = word.partition("*")
            keys += [key] * int(count or 1)
    return keys


def settle(journal, quiet=0.3):
    """Waits until the journal has not grown for QUIET seconds; returns its lines."""
    size, since = -1, time.monotonic()
    while time.monotonic() - since < quiet:
        now = os.path.getsize(journal) if os.path.exists(journal) else 0
        if now != size:
            size, since = now, time.monotonic()
        time.sleep(0.05)
    return open(journal, encoding="latin-1").read().splitlines() if os.path.exists(journal) else []


def run(session, command):
    name = os.path.splitext(session)[0]
    with tempfile.TemporaryDirectory() as folder:
        runtime = os.path.join(folder, "runtime")
        os.mkdir(runtime, 0o700)
        if os.path.exists(name + ".ini"):
            shutil.copy(name + ".ini", os.path.join(folder, "KORVANE16.ini"))
        journal = os.path.join(folder, "journal")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime, TAVRIND_JOURNAL=journal)
        panel = subprocess.Popen(command + ["--show"], cwd=folder, env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^KORVANE16$"],
                                    capture_output=True, text=True, timeout=PATIENCE).stdout.split()[-1]
            subprocess.run(["xdotool", "windowfocus", "--sync", window], timeout=PATIENCE, check=True)
            started = len(settle(journal))
            subprocess.run(["xdotool", "key", "--delay", "2"] + keys_of(session), timeout=PATIENCE, check=True)
            settle(journal)
            if panel.poll() is None:
                subprocess.run(["xdotool", "key", "Escape"], timeout=PATIENCE, check=True)
            panel.wait(PATIENCE)
        finally:
            if panel.poll() is None:
                panel.kill()
        lines = settle(journal, 0.1)[started:]
        ini = os.path.join(folder, "KORVANE16.ini")
        keys = subprocess.run([sys.executable, os.path.join(HERE, "settings_keys.py"), ini], capture_output=True,
                              text=True).stdout if os.path.exists(ini) else "(no settings file)\n"
        return "journal:\n" + "".join(line + "\n" for line in lines) + "settings:\n" + keys


def main(mode, folder, command):
    failures = 0
    for session in sorted(f for f in os.listdir(folder) if f.endswith(".keys")):
        path = os.path.join(folder, session)
        record = os.path.splitext(path)[0] + ".expected"
        left = run(path, command)
        if mode == "record":
            open(record, "w").write(left)
            continue
        expected = open(record).read()
        if left != expected:
            failures += 1
            print(f"FAIL: {session}: the keys left, not what the native dialog leaves:")
            sys.stdout.writelines(__import__("difflib").unified_diff(
                expected.splitlines(True), left.splitlines(True), "native", "this run", n=1))
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] not in ("check", "record"):
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
