"""Reads the accessibility tree of the running panel as a screen reader does and
fails on any control shown without a name or a description, on any control of
an unexpected role and on a label tied to nothing.
Usage: accessibility_tree.py KORVANE16 (on an X display, with a session bus)."""
import os
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

# The roles the window's controls may have, with how many of each it shows.
SHOWN = {
    "radio button": 9,  # NTSC, PAL and the seven visible "Apply" radios
    "check box": 17,
    "push button": 4,
    "slider": 4,
    "text": 55,  # the channel box and the tile boxes of seven layouts
    "label": 5,
}
# What a screen reader says for a few controls: (name, description) or a name
# alone when the description is left to the rows above.
SAID = [
    ("NTSC", "Video format: NTSC or PAL"),
    ("Apply DIV 4", "Shows the DIV 4 layout on the board, with the cameras its tile boxes name"),
    ("DIV 4, tile 1: camera", "The camera, 1 to 16, that tile 1 of the DIV 4 layout shows"),
    ("DIV 16, tile 16: camera", None),
    ("Brightness", "Brightness of the channel in Channel"),
    ("Channel", "The channel whose Brightness, Contrast, HUE and Saturation the sliders set, 1 to 16"),
    ("Cam1", "Cam1, in Video enable"),
]


def panel_window(deadline):
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            for window in app or []:
                if window is not None and window.name == "KORVANE16" and window.childCount > 80:
                    return window
        time.sleep(0.2)
    sys.exit("the panel's window never reached the accessibility tree")


def main(program):
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        runtime = os.path.join(folder, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_RUNTIME_DIR=runtime, TAVRIND_JOURNAL=os.path.join(folder, "journal"))
        panel = subprocess.Popen([program, "--show"], cwd=folder, env=env)
        try:
            window = panel_window(time.monotonic() + 30)
            shown = [c for c in window if c.getState().contains(pyatspi.STATE_VISIBLE)]
            counts = {}
            named = {}
            for control in shown:
                role = control.getRoleName()
                if role in ("grouping", "panel", "filler"):
                    continue
                counts[role] = counts.get(role, 0) + 1
                if not control.name:
                    failures.append(f"a {role} has no name")
                if role != "label" and not control.description:
                    failures.append(f"{role} '{control.name}' has no description")
                if control.name in named and role != "label":
                    failures.append(f"two controls are called '{control.name}'")
                named[control.name] = control
                relation = pyatspi.RELATION_LABEL_FOR if role == "label" else pyatspi.RELATION_LABELLED_BY
                tied = [r for r in control.getRelationSet() if r.getRelationType() == relation]
                if role == "label" and not tied:
                    failures.append(f"label '{control.name}' is tied to no control")
            if counts != SHOWN:
                failures.append(f"roles shown {sorted(counts.items())}, not {sorted(SHOWN.items())}")
            for name, description in SAID:
                if name not in named:
                    failures.append(f"no control is called '{name}'")
                elif description is not None and named[name].description != description:
                    failures.append(f"'{name}' is described as '{named[name].description}'")
        finally:
            panel.send_signal(signal.SIGTERM)
            panel.wait(30)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
