#!/usr/bin/env bash
# One virtual display and one Wine prefix shared by every Wine test of a run.
# Usage: wine_session.sh start SESSION   makes SESSION: Xvfb, a fresh prefix, a persistent wineserver
#        wine_session.sh stop SESSION    stops them and removes SESSION
#        wine_session.sh run SESSION COMMAND...   runs COMMAND inside the session
# Wine runs quiet and unattended; where this machine cannot run 32-bit programs
# (no 32-bit loader, or a kernel that refuses them), "wine" in the session is
# Wine's 64-bit loader alone.
set -euo pipefail
action=$1 session=$2
shift 2

enter() {
  export PATH=$session/bin:$PATH
  export DISPLAY=:$(cat "$session/display")
  export WINEPREFIX=$session/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # The Linux harness takes its settings lock in a folder of the session's own,
  # so no other panel on this machine can hold it up.
  export XDG_RUNTIME_DIR=$session/runtime
}

case "$action" in
  start)
    [ ! -d "$session" ] || "$0" stop "$session"
    mkdir -p "$session/bin"
    mkdir -m 700 "$session/runtime"
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
      for shim in wine wine-stable; do
        printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$session/bin/$shim"
        chmod +x "$session/bin/$shim"
      done
    fi
    # Detached, its output in files: the test that starts it ends at once.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
      3>"$session/display" </dev/null >"$session/xvfb.log" 2>&1 &
    echo $! >"$session/xvfb.pid"
    for _ in $(seq 100); do [ -s "$session/display" ] && break; sleep 0.1; done
    [ -s "$session/display" ] || { cat "$session/xvfb.log" >&2; exit 1; }
    enter
    wineboot -i </dev/null >"$session/wineboot.log" 2>&1 || { cat "$session/wineboot.log" >&2; exit 1; }
    # Without a window manager a closing window waits for one unless Wine manages none.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    wineserver -w
    wineserver -p </dev/null >"$session/wineserver.log" 2>&1
    ;;
  stop)
    if [ -d "$session/prefix" ]; then WINEPREFIX=$session/prefix wineserver -k 2>/dev/null || true; fi
    if [ -s "$session/xvfb.pid" ]; then kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true; fi
    rm -rf "$session"
    ;;
  run)
    [ -s "$session/display" ] || { echo "no Wine session in $session: run the wine.SessionStart test first" >&2; exit 1; }
    enter
    exec "$@"
    ;;
  *) echo "usage: wine_session.sh start|stop|run SESSION [COMMAND...]" >&2; exit 2 ;;
esac
