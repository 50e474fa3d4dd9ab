#!/usr/bin/env python3
"""Presses each session's keys as real key events on the panel's window and
checks what they did: the driver calls after the start-up and the settings the
close left must be the record NAME.expected beside the session NAME.keys.
Usage: key_sessions.py check|record SESSIONS_FOLDER PROGRAM [ARGUMENT...]
PROGRAM runs with --show on DISPLAY in a fresh folder holding NAME.ini, if
any; "record" writes the records. A session holds xdotool key names, KEY*N
for N presses, "#" comments; Escape closes the panel after them unless they
closed it. No session may make the panel show a message box."""
import difflib, os, shutil, subprocess, sys, tempfile, time

PATIENCE = 30


def settle(journal):
    """The journal's lines once it has stopped growing for 0.3 s."""
    size, since = -1, time.monotonic()
    while time.monotonic() - since < 0.3:
        if os.path.exists(journal) and os.path.getsize(journal) != size:
            size, since = os.path.getsize(journal), time.monotonic()
        time.sleep(0.05)
    return open(journal, encoding="latin-1").read().splitlines() if os.path.exists(journal) else []


def xdotool(*words, check=True):
    return subprocess.run(["xdotool", *words], capture_output=True, text=True, timeout=PATIENCE, check=check).stdout


def panel_window():
    for _ in range(PATIENCE * 20):
        found = xdotool("search", "--onlyvisible", "--name", "^KORVANE16$", check=False).split()
        if found:
            return found[-1]
        time.sleep(0.05)
    raise TimeoutError("the panel's window never showed")


def run(session, command):
    keys = []
    for word in (w for line in open(session) for w in line.split("#")[0].split()):
        key, _, presses = word.partition("*")
        keys += [key] * int(presses or 1)
    with tempfile.TemporaryDirectory() as folder:
        os.mkdir(os.path.join(folder, "runtime"), 0o700)
        if os.path.exists(session[:-5] + ".ini"):
            shutil.copy(session[:-5] + ".ini", os.path.join(folder, "KORVANE16.ini"))
        journal = os.path.join(folder, "journal")
        panel = subprocess.Popen(command + ["--show"], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                 env=dict(os.environ, QT_QPA_PLATFORM="xcb", TAVRIND_JOURNAL=journal,
                                          XDG_RUNTIME_DIR=os.path.join(folder, "runtime")))
        try:
            xdotool("windowfocus", "--sync", panel_window())
            started = len(settle(journal))
            xdotool("key", "--delay", "2", *keys)
            settle(journal)
            if panel.poll() is None:
                xdotool("key", "Escape")
            panel.wait(PATIENCE)
        finally:
            if panel.poll() is None:
                panel.kill()
        ini = os.path.join(folder, "KORVANE16.ini")
        settings = subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__), "settings_keys.py"), ini],
                                  capture_output=True, text=True).stdout if os.path.exists(ini) else "(none)\n"
        return "journal:\n" + "".join(line + "\n" for line in settle(journal)[started:]) + "settings:\n" + settings


def main(mode, folder, command):
    failures = 0
    for session in sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".keys")):
        left, record = run(session, command), session[:-5] + ".expected"
        if mode == "record":
            open(record, "w").write(left)
        elif left != open(record).read():
            failures += 1
            print(f"FAIL: {os.path.basename(session)} left, not what the native dialog leaves:")
            sys.stdout.writelines(difflib.unified_diff(open(record).readlines(), left.splitlines(True),
                                                       "native", "this run", n=1))
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] not in ("check", "record"):
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
