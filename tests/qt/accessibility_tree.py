"""Reads the running panel's accessibility tree as a screen reader does; fails on
a shown control without a name or description, of an unexpected role or count,
named alike with another, or a label tied to nothing.
Usage: accessibility_tree.py KORVANE16 (on an X display, with a session bus)."""
import os, signal, subprocess, sys, tempfile, time
import pyatspi

# Role: how many the window shows (the radios: NTSC, PAL and seven "Apply").
SHOWN = {"radio button": 9, "check box": 17, "push button": 4, "slider": 4, "text": 55, "label": 5}
# What a few controls are called and described as.
SAID = {
    "NTSC": "Video format: NTSC or PAL",
    "Apply DIV 4": "Shows the DIV 4 layout on the board, with the cameras its tile boxes name",
    "DIV 4, tile 1: camera": "The camera, 1 to 16, that tile 1 of the DIV 4 layout shows",
    "Brightness": "Brightness of the channel in Channel",
    "Channel": "The channel whose Brightness, Contrast, HUE and Saturation the sliders set, 1 to 16",
    "Cam1": "Cam1, in Video enable",
}


def shown_controls(deadline):
    while time.monotonic() < deadline:
        for window in (w for app in pyatspi.Registry.getDesktop(0) for w in app or [] if w is not None):
            if window.name == "KORVANE16" and window.childCount > 80:
                return [c for c in window if c.getState().contains(pyatspi.STATE_VISIBLE)
                        and c.getRoleName() not in ("panel", "filler")]
        time.sleep(0.2)
    sys.exit("the panel's window never reached the accessibility tree")


def main(program):
    with tempfile.TemporaryDirectory() as folder:
        os.mkdir(os.path.join(folder, "runtime"), 0o700)
        panel = subprocess.Popen([program, "--show"], cwd=folder, env=dict(
            os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            XDG_RUNTIME_DIR=os.path.join(folder, "runtime")))
        try:
            controls = shown_controls(time.monotonic() + 30)
            roles = [c.getRoleName() for c in controls]
            named = {c.name: c for c in controls}
            failures = [f"{r} '{c.name}' has no name or description" for c, r in zip(controls, roles)
                        if not c.name or (r != "label" and not c.description)]
            failures += [f"label '{c.name}' is tied to no control" for c, r in zip(controls, roles) if r == "label"
                         and not any(x.getRelationType() == pyatspi.RELATION_LABEL_FOR for x in c.getRelationSet())]
            if len(named) != len(controls):
                failures.append(f"{len(controls) - len(named)} controls are named like another")
            counts = {role: roles.count(role) for role in set(roles)}
            if counts != SHOWN:
                failures.append(f"roles shown {sorted(counts.items())}, not {sorted(SHOWN.items())}")
            checked = sorted(c.name for c, r in zip(controls, roles)
                             if r == "radio button" and c.getState().contains(pyatspi.STATE_CHECKED))
            if checked != ["Apply DIV 16", "NTSC"]:
                failures.append(f"the radios shown selected are {checked}")
            failures += [f"'{name}' is described as '{named[name].description if name in named else None}'"
                         for name, said in SAID.items() if name not in named or named[name].description != said]
        finally:
            panel.send_signal(signal.SIGTERM)
            panel.wait(30)
    print("".join(f"FAIL: {failure}\n" for failure in failures), end="")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
