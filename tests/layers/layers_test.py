#!/usr/bin/env python3
"""The panel's layers depend on each other one way only:

    platform <- settings <- driver <- layout, channels <- sequences <- app <- frontends
                             dialog <- layout, channels

Checked two ways, so that neither a header nor the build can reach up a layer:
  1. every '#include "FOLDER/..."' in a layer's files names its own layer or one below;
  2. the include folders each layer's sources are compiled with (from the build's
     compile_commands.json) reach the headers of exactly those layers.
Usage: layers_test.py SOURCE_DIR BUILD_DIR
"""
import json
import os
import re
import shlex
import sys

BELOW = {
    "platform": [],
    "dialog": [],
    "settings": ["platform"],
    "driver": ["settings"],
    "layout": ["driver", "dialog"],
    "channels": ["driver", "dialog"],
    "sequences": ["layout", "channels"],
    "app": ["sequences"],
}


def visible(layer):
    seen = {layer}
    for below in BELOW[layer]:
        seen |= visible(below)
    return seen


def include_problems(source_dir):
    problems = []
    pattern = re.compile(r'^\s*#\s*include\s+"([^"/]+)/')
    for layer in BELOW:
        allowed = visible(layer)
        for root, _, files in os.walk(os.path.join(source_dir, layer)):
            for name in files:
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as text:
                    for number, line in enumerate(text, 1):
                        match = pattern.match(line)
                        if match and match.group(1) in BELOW and match.group(1) not in allowed:
                            problems.append(f"{os.path.relpath(path, source_dir)}:{number}: {layer} includes "
                                            f"{match.group(1)}/, a layer above or beside it")
    return problems


def include_folders(command):
    words = shlex.split(command)
    folders = []
    for i, word in enumerate(words):
        if word in ("-I", "-isystem") and i + 1 < len(words):
            folders.append(words[i + 1])
        elif word.startswith("-I"):
            folders.append(word[2:])
    return folders


def build_problems(source_dir, build_dir):
    with open(os.path.join(build_dir, "compile_commands.json")) as commands_file:
        commands = json.load(commands_file)
    problems, checked = [], set()
    for entry in commands:
        source = os.path.relpath(entry["file"], source_dir)
        layer = source.split(os.sep)[0]
        if layer not in BELOW:
            continue
        checked.add(layer)
        folders = include_folders(entry.get("command") or " ".join(entry["arguments"]))
        for folder in BELOW:
            reachable = any(os.path.isdir(os.path.join(d, folder)) and
                            os.path.samefile(os.path.join(d, folder), os.path.join(source_dir, folder))
                            for d in folders)
            if reachable != (folder in visible(layer)):
                problems.append(f"{source}: compiled so that {folder}/ is "
                                f"{'reachable' if reachable else 'out of reach'}")
    missing = set(BELOW) - checked
    if missing:
        problems.append(f"no compile commands for the layers {sorted(missing)}")
    return problems


def main():
    source_dir, build_dir = (os.path.realpath(p) for p in sys.argv[1:3])
    problems = include_problems(source_dir) + build_problems(source_dir, build_dir)
    for problem in problems:
        print(problem)
    print(f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
