#!/usr/bin/env bash
# The Windows builds' checks, one per CTest test (tests/windows/CMakeLists.txt):
#   artifacts  undecorated driver exports, no MinGW runtime libraries;
#   harness    the harness suite, run again on the Windows build's harness;
#   sessions   sessions on the Linux harness and on the Windows harness leave
#              byte-identical journals, the same output and the same settings key by key;
#   planted    the driver is never loaded from the current directory;
#   desktop    KORVANE16.exe, worked through its real controls by a small Windows
#              program and closed by a window message, leaves what the Linux harness
#              leaves for the same session;
#   keys       real key sequences (Tab, arrows, Space, Enter) on KORVANE16.exe leave
#              the driver calls and settings recorded beside them, which the Qt
#              window must leave too;
#   show       KORVANE16.exe --show opens the panel whatever the show-panel flag, and a
#              second start leaves the running panel alone, brings it to the front,
#              says so in a message box and exits 1;
#   search     the driver is found beside the program, in the system folder, in the
#              Windows folder and in an absolute PATH folder, in that order, and never
#              in the current folder or a relative or empty PATH entry;
#   proofs     the settings file: the Linux reader agrees with the system's integer read
#              on thousands of generated files, the Windows writer leaves byte for byte
#              what the system's own writer leaves, a file the Linux writer made reads
#              alike on both, and the Windows panel killed during its save leaves whole
#              files (the kill tool); at length when KORVANE16_PROOF_LONG=1;
#   sweep      a save removes a temporary copy no process holds open, and spares, and
#              is not held up by, one held as a live writer holds it (no sharing for
#              deletion) and one open to all sharing.
# Usage: windows_checks.sh CHECK ARCH, inside a Wine session (wine_session.sh run)
# but for artifacts. Environment: KORVANE16_SOURCE, KORVANE16_NATIVE_BUILD (the
# Linux build compared with), KORVANE16_WINDOWS_BUILDS (the folder of the
# windows-ARCH builds), KORVANE16_OPERATOR (the operator program), KORVANE16_WORK
# (a folder for this check's runs, made fresh).
set -euo pipefail
check=$1 arch=$2
root=$KORVANE16_SOURCE
native=$KORVANE16_NATIVE_BUILD
bin=$KORVANE16_WINDOWS_BUILDS/windows-$arch/bin
work=$KORVANE16_WORK/$check-$arch
rm -rf "$work" && mkdir -p "$work"
cd "$root"
linux_harness=$native/bin/korvane16-harness
failures=0

say() { printf '== %s\n' "$*"; }
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

# run FOLDER SESSION COMMAND...: runs COMMAND SESSION in the fresh folder FOLDER,
# with the session's settings file when it has one; leaves out, err, status,
# journal and KORVANE16.ini there.
run() {
  local folder=$1 session=$2
  shift 2
  mkdir -p "$folder"
  if [ -f "${session%.txt}.ini" ]; then cp "${session%.txt}.ini" "$folder/KORVANE16.ini"; fi
  : >"$folder/journal"
  local status=0
  (cd "$folder" && TAVRIND_JOURNAL=$folder/journal "$@" "$session" >out 2>err) || status=$?
  echo "$status" >"$folder/status"
  tr -d '\r' <"$folder/out" >"$folder/out.lf"
  if [ -f "$folder/KORVANE16.ini" ]; then
    python3 tests/windows/settings_keys.py "$folder/KORVANE16.ini" >"$folder/keys"
  else
    echo "(no settings file)" >"$folder/keys"
  fi
}

# same WHAT EXPECTED ACTUAL [OUTPUT]: the two runs left the same: exit status,
# output (the expected run's OUTPUT file, out.lf unless given), settings key by
# key, and the journal byte for byte.
same() {
  local what=$1 expected=$2 actual=$3 output=${4:-out.lf}
  cmp -s "$expected/status" "$actual/status" ||
    fail "$what: exit status $(cat "$actual/status") instead of $(cat "$expected/status"): $(head -3 "$actual/err")"
  cmp -s "$expected/$output" "$actual/out.lf" ||
    fail "$what: output differs: $(diff "$expected/$output" "$actual/out.lf" | head -6 | tr '\n' ' ')"
  cmp -s "$expected/keys" "$actual/keys" ||
    fail "$what: settings differ: $(diff "$expected/keys" "$actual/keys" | head -6 | tr '\n' ' ')"
  cmp -s "$expected/journal" "$actual/journal" ||
    fail "$what: journal differs: $(diff "$expected/journal" "$actual/journal" | head -6 | tr '\n' ' ')"
}

check_artifacts() {
  local entry_names program foreign exports
  entry_names=$(sed -n 's/^KORVANE16_DRIVER_ENTRY(\([A-Za-z0-9]*\),.*/\1/p' driver/driver_entries.inc | sort)
  for program in KORVANE16.exe korvane16-harness.exe TAVRIND.dll; do
    [ -f "$bin/$program" ] || { fail "$bin/$program was not built"; continue; }
    # Only libraries every Windows has: no MinGW runtime beside the programs.
    foreign=$(objdump -p "$bin/$program" | sed -n 's/^\tDLL Name: //p' |
      grep -viE '^(kernel32|user32|gdi32|comctl32|advapi32|msvcrt)\.dll$' || true)
    [ -z "$foreign" ] || fail "$bin/$program needs $(echo $foreign)"
  done
  exports=$(objdump -p "$bin/TAVRIND.dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] //p' | sort)
  [ "$exports" = "$entry_names" ] || fail "$bin/TAVRIND.dll does not export exactly the 53 undecorated entry points"
}

check_harness() {
  local partial=$KORVANE16_WINDOWS_BUILDS/windows-$arch/partial/TAVRIND.dll
  [ -f "$partial" ] || partial=""
  KORVANE16_HARNESS=$bin/korvane16-harness.exe KORVANE16_RUNNER=wine \
    KORVANE16_PARTIAL_DRIVER=$partial "$native/bin/harness_tests" --gtest_brief=1 || fail "harness suite on windows-$arch"
}

check_sessions() {
  local session name
  for session in "$root"/tests/windows/sessions/*.txt; do
    name=$(basename "$session" .txt)
    run "$work/$name/linux" "$session" "$linux_harness"
    run "$work/$name/$arch" "$session" wine "$bin/korvane16-harness.exe"
    same "$name on windows-$arch" "$work/$name/linux" "$work/$name/$arch"
  done
}

check_planted() {
  local folder=$work/planted
  printf 'show\nclose\n' >"$work/show-close.txt"
  mkdir -p "$folder/programs"
  cp "$bin/korvane16-harness.exe" "$folder/programs/"
  cp "$bin/TAVRIND.dll" "$folder/"
  run "$folder" "$work/show-close.txt" wine "$folder/programs/korvane16-harness.exe"
  [ ! -s "$folder/journal" ] || fail "windows-$arch loaded TAVRIND.dll from the current directory"
  [ "$(cat "$folder/keys")" = "(no settings file)" ] ||
    fail "windows-$arch without a driver wrote settings: $(cat "$folder/keys")"
}

check_desktop() {
  local session name
  for session in "$root"/tests/windows/sessions/desktop-*.txt; do
    name=$(basename "$session" .txt)
    run "$work/$name/linux" "$session" "$linux_harness"
    # The operator program prints no quit line (the panel's own quit shows in its
    # exit status instead), nor a message box's type, which its window does not tell.
    sed -e '/^quit /d' -e 's/^\(messagebox ".*"\) 0x[0-9a-f]*$/\1/' \
      "$work/$name/linux/out.lf" >"$work/$name/linux/out.desktop"
    run "$work/$name/desktop-$arch" "$session" wine "$KORVANE16_OPERATOR" "$bin/KORVANE16.exe"
    same "$name on KORVANE16.exe (windows-$arch)" "$work/$name/linux" "$work/$name/desktop-$arch" out.desktop
  done
}

check_keys() {
  # The records the Qt window is checked against (qt.KeySessions) are the native
  # dialog's: this keeps them so.
  python3 tests/windows/key_sessions.py check tests/windows/keys wine "$bin/KORVANE16.exe" ||
    fail "key sessions on KORVANE16.exe (windows-$arch)"
}

# expect FOLDER WHAT TEXT: the run in FOLDER printed the line TEXT.
expect() { grep -qxF -- "$3" "$1/out.lf" || fail "$2: no line '$3' in: $(tr '\n' '|' <"$1/out.lf")"; }

check_show() {
  local panel=$bin/KORVANE16.exe folder
  printf 'show --show\ndump\nclose\n' >"$work/show.txt"
  printf '[General]\r\nSetParameter=0\r\n' >"$work/show.ini"
  printf 'show\nsecond-start\nclose\n' >"$work/second.txt"
  folder=$work/show
  run "$folder" "$work/show.txt" wine "$KORVANE16_OPERATOR" "$panel"
  [ "$(cat "$folder/status")" = 0 ] || fail "--show on windows-$arch: exit status $(cat "$folder/status")"
  expect "$folder" "--show on windows-$arch" "1043 check 1"
  grep -qxF '[General] SetParameter=1' "$folder/keys" || fail "--show on windows-$arch: the close did not save the tick"
  [ "$(tail -1 "$folder/journal")" = unload ] || fail "--show on windows-$arch: the board was not shut down at the close"

  folder=$work/second
  run "$folder" "$work/second.txt" wine "$KORVANE16_OPERATOR" "$panel"
  [ "$(cat "$folder/status")" = 0 ] || fail "second start on windows-$arch: $(head -3 "$folder/err")"
  expect "$folder" "second start on windows-$arch" \
    'second-start messagebox "KORVANE16 is already running: its window has been brought to the front." "KORVANE16"'
  expect "$folder" "second start on windows-$arch" "second-start exit 1"
  expect "$folder" "second start on windows-$arch" "second-start minimised 0 foreground 1"
  [ "$(grep -c '^OvrSetup' "$folder/journal")" = 1 ] && [ "$(grep -c '^OvrStop$' "$folder/journal")" = 1 ] ||
    fail "second start on windows-$arch reached the board"
}

check_search() {
  local base=$work driver=$bin/TAVRIND.dll system_folder on_path i
  printf 'show\nclose\n' >"$work/show-close.txt"
  mkdir -p "$base/programs" "$base/work/relative" "$base/on-path"
  cp "$bin/korvane16-harness.exe" "$base/programs/"
  system_folder=$WINEPREFIX/drive_c/windows/system32
  [ "$arch" = x86_64 ] || system_folder=$WINEPREFIX/drive_c/windows/syswow64
  # Copies the search must never take: in the current folder and below it.
  cp "$driver" "$base/work/TAVRIND.dll"
  cp "$driver" "$base/work/relative/TAVRIND.dll"
  on_path=$(printf 'Z:%s' "$base/on-path" | tr / '\\')
  local places=("$base/programs" "$system_folder" "$WINEPREFIX/drive_c/windows" "$base/on-path")
  local loaded=("$(printf 'Z:%s' "$base/programs" | tr / '\\')" 'C:\windows\system32' 'C:\windows' "$on_path")
  for place in "${places[@]}"; do cp "$driver" "$place/"; done
  for i in "${!places[@]}"; do
    rm -f "$base/work/KORVANE16.ini"
    WINEPATH=".;relative;;$on_path" run "$base/work" "$work/show-close.txt" wine "$base/programs/korvane16-harness.exe"
    grep -qiF "KORVANE16: driver: loaded ${loaded[$i]}\TAVRIND.dll" "$base/work/err" ||
      fail "windows-$arch did not load the driver from ${loaded[$i]}: $(tr '\r\n' '  ' <"$base/work/err")"
    rm -f "${places[$i]}/TAVRIND.dll"
  done
  rm -f "$base/work/KORVANE16.ini"
  WINEPATH=".;relative;;$on_path" run "$base/work" "$work/show-close.txt" wine "$base/programs/korvane16-harness.exe"
  [ ! -s "$base/work/journal" ] || fail "windows-$arch loaded a driver from the current folder or a relative PATH entry"
  grep -qF "KORVANE16: driver: no TAVRIND.dll" "$base/work/err" || fail "windows-$arch did not say it found no driver"
}

# differing FILE FILE: how many lines differ between two files of one value a line.
differing() { paste "$1" "$2" | awk -F'\t' '$1 != $2' | wc -l; }

check_proofs() {
  # Generated files for the reader and the writer, kills and side-by-side rounds.
  local read_files=2000 write_files=200 kills=15 rounds=3
  if [ "${KORVANE16_PROOF_LONG:-0}" = 1 ]; then read_files=50000 write_files=5000 kills=1000 rounds=100; fi
  local seed=${KORVANE16_PROOF_SEED:-1}
  local linux_probe=$native/bin/profile_probe probe=$bin/profile_probe.exe cases=$work
  local values differences edits unlike after
  mkdir -p "$cases/reads" "$cases/generated"
  "$linux_probe" generate "$seed" "$read_files" "$cases/reads"
  (cd "$cases/reads" && wine "$probe" read queries.txt >../windows-reads && "$linux_probe" read queries.txt >../linux-reads)
  values=$(wc -l <"$cases/linux-reads")
  [ "$(wc -l <"$cases/windows-reads")" -eq "$values" ] || fail "windows-$arch: the system read fewer values"
  differences=$(differing "$cases/windows-reads" "$cases/linux-reads")
  [ "$differences" -eq 0 ] || fail "windows-$arch: $differences of $values values read differently on Linux"
  say "windows-$arch: $values values of $read_files generated files read, $differences differences"

  "$linux_probe" generate "$((seed + 1))" "$write_files" "$cases/generated"
  for writer in system panel linux; do cp -r "$cases/generated" "$cases/$writer"; done
  (cd "$cases/system" && wine "$probe" write-system edits.txt) || fail "windows-$arch: the system's writer failed"
  (cd "$cases/panel" && wine "$probe" write edits.txt) || fail "windows-$arch: the panel's writer failed"
  (cd "$cases/linux" && "$linux_probe" write edits.txt) || fail "windows-$arch: the Linux writer failed"
  edits=$(wc -l <"$cases/generated/edits.txt")
  unlike=$(diff -rq "$cases/system" "$cases/panel" | wc -l)
  [ "$unlike" -eq 0 ] || fail "windows-$arch: $unlike files differ from what the system's writer leaves"
  (cd "$cases/linux" && wine "$probe" read queries.txt >../windows-after && "$linux_probe" read queries.txt >../linux-after)
  after=$(differing "$cases/windows-after" "$cases/linux-after")
  [ "$after" -eq 0 ] || fail "windows-$arch: $after values of files the Linux writer made read differently"
  say "windows-$arch: $edits edits to $write_files files: $unlike files unlike the system's writer's," \
    "$after values read differently after the Linux writer's edits"

  "$native/bin/settings_kill" --kills "$kills" --rounds "$rounds" --seed "$seed" -- \
    wine "$bin/korvane16-harness.exe" || fail "windows-$arch: the kill tool found faults"
}

check_sweep() {
  local folder=$work/sweep held=.KORVANE16.ini.k16tmp-b2C3d4 open=.KORVANE16.ini.k16tmp-a1B2c3
  local stale=.KORVANE16.ini.k16tmp-c3D4e5 holder copy
  printf 'show\nclick 1021\nclose\n' >"$work/save.txt"
  printf '[General]\r\nDIV=4\r\n' >"$work/save.ini"
  mkdir -p "$folder" && for copy in "$held" "$open" "$stale"; do : >"$folder/$copy"; done
  mkfifo "$work/holder.in"
  # All its output to a file: Wine's services, started by this first Wine
  # program of the check, would hold the test's output open.
  (cd "$folder" && exec wine "$bin/profile_probe.exe" hold "$held" "$open" \
    <"$work/holder.in" >"$work/holder.out" 2>&1) &
  holder=$!
  exec 7>"$work/holder.in"  # the copies are held until this closes
  for _ in $(seq 100); do grep -q held "$work/holder.out" && break; sleep 0.1; done
  grep -q held "$work/holder.out" || fail "windows-$arch: the copies could not be held"
  run "$folder" "$work/save.txt" wine "$bin/korvane16-harness.exe" 7>&-
  exec 7>&-
  wait "$holder" || fail "windows-$arch: the holder failed"
  [ "$(cat "$folder/status")" = 0 ] || fail "save on windows-$arch beside a held copy: $(head -3 "$folder/err")"
  grep -qxF '[General] SetParameter=1' "$folder/keys" || fail "windows-$arch: the close did not save"
  [ -f "$folder/$held" ] || fail "windows-$arch removed a copy a live writer holds"
  [ -f "$folder/$open" ] || fail "windows-$arch removed a copy open to all sharing"
  [ ! -e "$folder/$stale" ] || fail "windows-$arch left a copy no writer holds"
}

case "$check" in
  artifacts | harness | sessions | planted | desktop | keys | show | search | proofs | sweep) "check_$check" ;;
  *) echo "windows_checks.sh: unknown check '$check'" >&2; exit 2 ;;
esac
if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s) in the $check check of windows-$arch" >&2
  exit 1
fi
