#!/usr/bin/env bash
# The Ansible module against three display PCs on this machine: each inventory
# host its own settings folder, run-time folder and virtual board, driven by
# the real korvane16-ctl and ansible-playbook.
# Usage: ansible_test.sh MODULE_FOLDER CTL_FOLDER   (exit 77: no ansible-playbook)
set -uo pipefail
modules=$(cd "$1" && pwd) ctl_folder=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
command -v ansible-playbook >/dev/null || { echo "ansible-playbook is not installed"; exit 77; }
work=$(mktemp -d /tmp/korvane16-ansible.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

{
  echo "[room]"
  for n in 1 2 3; do
    mkdir -p "$work/pc$n/config" && mkdir -m 700 "$work/pc$n/runtime"
    echo "pc$n camera=$((n + 2)) panel_runs=$([ $n = 2 ] && echo True || echo False) config_home=$work/pc$n/config" \
      "journal=$work/pc$n/journal.txt"
  done
  echo "[room:vars]"
  echo "ansible_connection=local"
  echo "ansible_python_interpreter=$(command -v python3)"
  echo "host_environment={'XDG_CONFIG_HOME': '{{ config_home }}', 'XDG_RUNTIME_DIR': '{{ config_home | dirname }}/runtime', 'TAVRIND_JOURNAL': '{{ journal }}', 'PATH': '$ctl_folder:$PATH'}"
} >"$work/inventory"
export ANSIBLE_LIBRARY=$modules ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_HOME=$work/ansible ANSIBLE_NOCOLOR=1 \
  ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_DEPRECATION_WARNINGS=0

# PLAYBOOK: every host ends without a failure.
play() {
  ansible-playbook -i "$work/inventory" "$here/ansible/$1" >"$work/$1.log" 2>&1
  grep -qE '^pc[123] +: ok=[0-9]+ +changed=[0-9]+ +unreachable=0 +failed=0' "$work/$1.log" &&
    [ "$(grep -cE '^pc[123] +: .*failed=0' "$work/$1.log")" = 3 ] || { cat "$work/$1.log"; fail "$1"; }
}

play room.yml
for n in 1 2 3; do
  got=$(XDG_CONFIG_HOME=$work/pc$n/config "$ctl_folder/korvane16-ctl" --desktop get tile.1 camera.9)
  [ "$got" = $'tile.1 '$((n + 2))$'\ncamera.9 off' ] || fail "pc$n holds: $got"
done

# pc2's panel holds its session (this shell holds the panel's claim for it)
# while the failures are tried.
exec 9>"$work/pc2/runtime/korvane16-panel.lock"
flock -x 9
play refused.yml

[ "$failures" -eq 0 ] || exit 1
echo "the module sets three display PCs"
