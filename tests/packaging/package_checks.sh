#!/usr/bin/env bash
# The Debian package, made from the release build and proven as a user meets it,
# one check per CTest test (tests/packaging/CMakeLists.txt):
#   build      (setup) the release build and its package;
#   contents   the files it installs, stripped binaries, the dependencies computed
#              from the binaries and the fonts the dialog is laid out in, and
#              lintian without an error or a warning;
#   install    (setup) installed with apt-get;
#   session    a harness session of the installed panel, run from another folder,
#              and the tool's manual page where man looks;
#   harness    the harness suite against the installed harness;
#   tool       the tool suite against the installed tool;
#   completion the installed shell completion;
#   ansible    the installed Ansible module;
#   panel      the installed desktop panel programming the board as the harness does,
#              and the installed tool reading what it saved;
#   remove     (cleanup) removed again: nothing of it is left.
# Installing needs root (or sudo) and apt-get; without them, or where a
# korvane16 package is installed already, the install checks are skipped.
# Usage: package_checks.sh CHECK. Environment: KORVANE16_SOURCE,
# KORVANE16_NATIVE_BUILD (the build whose test programs drive the installed
# programs), KORVANE16_WORK (a folder the checks share).
set -euo pipefail
check=$1
root=$KORVANE16_SOURCE
native=$KORVANE16_NATIVE_BUILD
shared=$KORVANE16_WORK
work=$shared/$check
rm -rf "$work" && mkdir -p "$work"
cd "$root"
failures=0
sudo=""
[ "$EUID" -eq 0 ] || sudo="sudo"

say() { printf '== %s\n' "$*"; }
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

check_build() {
  rm -f "$shared/deb" "$shared/files" "$shared/installed-here" "$shared/left-out"
  cmake --preset release >/dev/null
  cmake --build --preset release
  rm -f build/release/korvane16_*.deb
  (cd build/release && cpack -G DEB >/dev/null)
  ls "$root"/build/release/korvane16_*.deb >"$shared/deb"
  dpkg-deb -c "$(cat "$shared/deb")" | awk '{print $NF}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$shared/files"
  cat "$shared/deb"
}

check_contents() {
  local deb file depends needed path
  deb=$(cat "$shared/deb")
  for file in /usr/bin/korvane16 /usr/bin/korvane16-ctl /usr/bin/korvane16-harness /usr/lib/korvane16/TAVRIND.dll \
    /usr/share/applications/korvane16.desktop /usr/share/korvane16/korvane16-autostart.desktop \
    /usr/share/metainfo/org.korvane16.panel.metainfo.xml \
    /usr/share/icons/hicolor/48x48/apps/korvane16.png /usr/share/icons/hicolor/256x256/apps/korvane16.png \
    /usr/share/man/man1/korvane16.1.gz /usr/share/man/man1/korvane16-ctl.1.gz /usr/share/man/man1/korvane16-harness.1.gz \
    /usr/share/bash-completion/completions/korvane16-ctl /usr/share/ansible/plugins/modules/korvane16_settings.py \
    /usr/share/doc/korvane16/copyright /usr/share/doc/korvane16/changelog.Debian.gz; do
    grep -qx "$file" "$shared/files" || fail "the package lacks $file"
  done
  if [ -f build/release/bin/korvane16-monitor ]; then
    for file in /usr/bin/korvane16-monitor /usr/share/man/man1/korvane16-monitor.1.gz; do
      grep -qx "$file" "$shared/files" || fail "the package lacks $file"
    done
  fi
  depends=$(dpkg-deb -f "$deb" Depends)
  for needed in "fonts-liberation2 | fonts-liberation" libc6 libstdc++6 libqt6widgets6; do
    [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
  done
  mkdir "$work/unpacked"
  dpkg-deb -x "$deb" "$work/unpacked"
  while read -r file; do
    path=$work/unpacked$file
    [ "$(head -c 4 "$path" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    if readelf -S --wide "$path" | grep -qE '\.(symtab|debug_info) '; then fail "$file is not stripped"; fi
  done <"$shared/files"
  lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$work/lintian.txt" 2>&1 ||
    fail "lintian finds errors or warnings: $(cat "$work/lintian.txt")"
}

check_install() {
  if dpkg-query -W -f='${Status}' korvane16 2>/dev/null | grep -q "install ok installed"; then
    echo "a korvane16 package is installed on this machine already: it is left alone, and the install checks with it" |
      tee "$shared/left-out"
    return
  fi
  if ! command -v apt-get >/dev/null 2>&1 || { [ -n "$sudo" ] && ! command -v sudo >/dev/null 2>&1; }; then
    echo "installing needs apt-get and root or sudo: the install checks are left out" | tee "$shared/left-out"
    return
  fi
  touch "$shared/installed-here"
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq "$(cat "$shared/deb")" >/dev/null
}

check_session() {
  [ "$(command -v korvane16-harness)" = /usr/bin/korvane16-harness ] || fail "korvane16-harness is not on the PATH"
  printf 'show\nclick 1021\nclose\n' | TAVRIND_JOURNAL=$PWD/journal.txt korvane16-harness >harness.out 2>harness.err ||
    fail "the installed harness session failed: $(cat harness.out harness.err)"
  grep -qx "KORVANE16: driver: loaded /usr/lib/korvane16/TAVRIND.dll" harness.err ||
    fail "the installed harness did not load the installed stand-in: $(cat harness.err)"
  [ "$(head -n 1 journal.txt)" = load ] && [ "$(tail -n 1 journal.txt)" = unload ] &&
    grep -qx "OvrEnableChannel 4 0" journal.txt || fail "the installed harness did not work the installed stand-in board"
  grep -qx "Camera5=0" KORVANE16.ini || fail "the installed harness session did not save Cam5 off"
  man -w korvane16-ctl >/dev/null 2>&1 || [ -f /usr/share/man/man1/korvane16-ctl.1.gz ] ||
    fail "the tool's manual page is not where man looks"
}

check_harness() {
  KORVANE16_HARNESS=/usr/bin/korvane16-harness KORVANE16_STAND_IN=/usr/lib/korvane16/TAVRIND.dll \
    "$native/bin/harness_tests" --gtest_brief=1 || fail "the harness suite on the installed harness"
}

check_tool() {
  KORVANE16_CTL=/usr/bin/korvane16-ctl KORVANE16_HARNESS=/usr/bin/korvane16-harness KORVANE16_PANEL=/usr/bin/korvane16 \
    "$native/bin/ctl_tests" --gtest_brief=1 || fail "the tool suite on the installed tool"
}

check_completion() {
  "$root/tests/packaging/completion_test.sh" /usr/share/bash-completion/completions/korvane16-ctl \
    /usr/bin/korvane16-ctl || fail "the installed completion"
}

check_ansible() {
  "$root/tests/ctl/ansible_test.sh" /usr/share/ansible/plugins/modules /usr/bin ||
    fail "the installed Ansible module, on three hosts of this machine"
}

check_panel() {
  # The desktop panel with the show-panel flag at 0 programs the board and quits:
  # the board must see what the installed harness's start shows it.
  local program
  for program in harness desktop; do
    mkdir "$work/$program" && cd "$work/$program"
    printf '[General]\nSetParameter=0\n[Format]\nPAL=1\n' >KORVANE16.ini
    if [ "$program" = harness ]; then
      echo show | TAVRIND_JOURNAL=$PWD/journal.txt korvane16-harness >/dev/null
    else
      QT_QPA_PLATFORM=offscreen TAVRIND_JOURNAL=$PWD/journal.txt korvane16 2>err.txt ||
        fail "the installed panel failed: $(cat err.txt)"
    fi
  done
  cmp -s "$work/harness/journal.txt" "$work/desktop/journal.txt" ||
    fail "the installed panel's board calls differ from the harness's: $(diff "$work/harness/journal.txt" \
      "$work/desktop/journal.txt" | head -4 | tr '\n' ' ')"
  cd "$work"
  korvane16-ctl --file "$work/desktop/KORVANE16.ini" get standard show-panel >ctl.out
  [ "$(cat ctl.out)" = $'standard pal\nshow-panel off' ] || fail "the installed tool read: $(cat ctl.out)"
}

check_remove() {
  [ -f "$shared/installed-here" ] || exit 77
  $sudo apt-get -o DPkg::Lock::Timeout=600 remove --purge -y -qq korvane16 >/dev/null
  rm -f "$shared/installed-here"
  if dpkg-query -W -f='${Status}' korvane16 2>/dev/null | grep -q "installed"; then fail "the package is still installed"; fi
  while read -r file; do
    [ ! -e "$file" ] || fail "$file is left after the removal"
  done <"$shared/files"
  [ ! -e /usr/lib/korvane16 ] || fail "/usr/lib/korvane16 is left after the removal"
}

case "$check" in
  build | contents | install | remove) "check_$check" ;;
  session | harness | tool | completion | ansible | panel)
    # Skipped (77) where the install was left out; run from a folder of their own.
    [ ! -f "$shared/left-out" ] || { cat "$shared/left-out"; exit 77; }
    [ -f "$shared/installed-here" ] || { echo "the package is not installed: run package.Install first" >&2; exit 1; }
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR=$work/runtime
    cd "$work"
    "check_$check"
    ;;
  *) echo "package_checks.sh: unknown check '$check'" >&2; exit 2 ;;
esac
if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s) in the package's $check check" >&2
  exit 1
fi
