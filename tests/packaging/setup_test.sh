#!/usr/bin/env bash
# scripts/setup on a machine whose tools are all there but that has no package
# manager: it must not call one, and must name in one line what is missing.
# Usage: setup_test.sh SOURCE_DIR
set -uo pipefail
setup=$1/scripts/setup
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# A PATH with stand-ins for the native need's commands, and no apt-get.
mkdir "$work/bin"
for tool in cmake ninja g++ python3 strace; do
  printf '#!/bin/sh\nexit 0\n' >"$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done
# The native need's headers are files of this machine; without them the case
# says nothing about the package manager.
for header in gtest/gtest.h gmock/gmock.h benchmark/benchmark.h; do
  [ -f "/usr/include/$header" ] || { echo "skipped: /usr/include/$header is missing"; exit 0; }
done

output=$(PATH=$work/bin "$BASH" "$setup" native 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "with every tool present: status $status: $output"
[ -z "$output" ] || fail "with every tool present it said: $output"

rm "$work/bin/ninja"
output=$(PATH=$work/bin "$BASH" "$setup" native 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "with ninja missing: status $status"
[ "$(printf '%s\n' "$output" | wc -l)" -eq 1 ] || fail "with ninja missing it said more than one line: $output"
[[ $output == *ninja-build* ]] || fail "the line does not name ninja-build: $output"
[[ $output != *cmake* ]] || fail "the line names cmake, which is there: $output"

output=$(PATH=$work/bin "$BASH" "$setup" nonsense 2>&1)
[ $? -eq 2 ] || fail "an unknown need is not a usage error: $output"

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "setup leaves the package manager alone when nothing is missing"
