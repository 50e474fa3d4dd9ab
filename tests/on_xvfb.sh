#!/bin/sh
# Runs a command on a private virtual X display of its own. Xvfb picks a free
# display number itself (-displayfd) and says it once it accepts connections,
# so tests started at the same moment never race for one number, as
# xvfb-run -a does, and never find their display gone when another test ends.
# Usage: tests/on_xvfb.sh COMMAND [ARGS...]; the command's status is returned.
set -eu
folder=$(mktemp -d)
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$folder"' EXIT
mkfifo "$folder/ready"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/ready" 2>"$folder/server.log" &
server=$!
read -r display <"$folder/ready" || true
if [ -z "${display:-}" ]; then
  echo "on_xvfb.sh: Xvfb did not start: $(cat "$folder/server.log")" >&2
  exit 1
fi
# The X11 platform plugin keeps its desktop-bus connection until the process
# ends: not the panel's memory, so a sanitizer build does not report it.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan_platform.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
status=0
DISPLAY=":$display" "$@" || status=$?
exit "$status"
