#!/usr/bin/env python3
"""No program or library the build makes, nor any it installs, carries a run path
entry that the dynamic loader would take from the current folder: an empty
entry, a relative one or ".". Entries must be absolute or start at $ORIGIN.
Usage: run_paths_test.py BUILD_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

ELF_MAGIC = b"\x7fELF"


def elf_binaries(folder):
    """Programs and shared libraries under FOLDER (object files left out)."""
    for root, dirs, files in os.walk(folder):
        dirs[:] = [d for d in dirs if d != "CMakeFiles"]
        for name in files:
            path = os.path.join(root, name)
            if os.path.islink(path) or not os.path.isfile(path):
                continue
            with open(path, "rb") as f:
                header = f.read(18)
            # e_type 2 (program) or 3 (shared object), little-endian.
            if header[:4] == ELF_MAGIC and len(header) == 18 and header[16] in (2, 3):
                yield path


def run_path_entries(path):
    dynamic = subprocess.run(["readelf", "-d", path], capture_output=True, text=True, check=True).stdout
    for kind, value in re.findall(r"\((RUNPATH|RPATH)\)\s+Library r(?:un)?path: \[(.*)\]", dynamic):
        for entry in value.split(":"):
            yield kind, entry


def problems(folder):
    found = []
    count = 0
    for path in elf_binaries(folder):
        count += 1
        bad = sorted({f"{kind} {entry!r}" for kind, entry in run_path_entries(path)
                      if not (entry.startswith("/") or re.match(r"^\$(ORIGIN|\{ORIGIN\})(/|$)", entry))})
        if bad:
            found.append(f"{path}: run path entries that are not absolute: {', '.join(bad)}")
    return count, found


def main():
    build = sys.argv[1]
    count, found = problems(build)
    if count < 3:
        found.append(f"only {count} programs and libraries found under {build}")
    with tempfile.TemporaryDirectory() as prefix:
        install = subprocess.run(["cmake", "--install", build, "--prefix", prefix], capture_output=True, text=True)
        if install.returncode != 0:
            found.append("cmake --install failed: " + install.stderr)
        installed, installed_found = problems(prefix)
        found += installed_found
        if installed < 2:
            found.append(f"only {installed} programs and libraries installed")
    for problem in found:
        print(problem)
    print(f"{count} built and {installed} installed programs and libraries checked")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
