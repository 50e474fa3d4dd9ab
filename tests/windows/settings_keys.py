#!/usr/bin/env python3
"""Prints a settings file key by key, one "[section] key=value" line each, in
file order, with blanks around names and values left out. Line ends, blank
lines and lines without "=" are not keys and are left out too: the Windows
profile functions rewrite a file's layout, and place a new key after a section's
last non-blank line rather than its last key line."""
import sys


def main(path):
    section = ""
    with open(path, "rb") as settings:
        for raw in settings.read().decode("latin-1").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].strip()
                continue
            key, equals, value = line.partition("=")
            if equals:
                print(f"[{section}] {key.strip()}={value.strip()}")


if __name__ == "__main__":
    main(sys.argv[1])
