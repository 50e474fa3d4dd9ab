#!/usr/bin/env bash
# The bash completion of korvane16-ctl offers exactly the tool's own setting
# names, and every value it offers is one the tool takes.
# Usage: completion_test.sh COMPLETION_SCRIPT KORVANE16_CTL
set -uo pipefail
completion=$1 ctl=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

source /usr/share/bash-completion/bash_completion
source "$completion"
compopt() { :; }  # only a real completion can set its options

# complete WORD...: what the completion offers for the last word.
complete_words() {
  COMP_WORDS=(korvane16-ctl "$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _korvane16_ctl
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

commands="apply export get import list set "
[ "$(complete_words "" | tr '\n' ' ')" = "$commands" ] || fail "commands: $(complete_words "" | tr '\n' ' ')"
[ "$(complete_words --file x.ini "" | tr '\n' ' ')" = "$commands" ] || fail "commands after --file"
# Every option offered is one the tool takes with its command.
for command in "" list get set import apply; do
  for option in $(complete_words $command -); do
    [ "$option" = --help ] || [ "$option" = --version ] || [ "$option" = --file ] && continue
    args=(list)
    case $command in get) args=(get layout) ;; set) args=(set layout=4) ;; import) args=(import /dev/null) ;;
      apply) args=(apply) ;; esac
    [ "$option" = --desktop ] && args=(get layout)
    (cd "$work" && XDG_CONFIG_HOME=$work/config "$ctl" "$option" "${args[@]}" >/dev/null 2>&1)
    [ $? -ne 2 ] || fail "the tool does not take $option with ${args[*]}"
  done
done

names=$(cd "$work" && "$ctl" list 2>/dev/null | cut -d' ' -f1 | sort)
[ "$(complete_words get "")" = "$names" ] || fail "get offers other names than list prints"
[ "$(complete_words set "" | sed 's/=$//' | sort)" = "$names" ] || fail "set offers other names than list prints"

# One setting of each kind, the first and last of a numbered row.
: >"$work/try.ini"
for name in standard layout tile.1 tile.16 camera.1 camera.16 show-panel; do
  offered=$(complete_words set "$name=")
  [ -n "$offered" ] || fail "no values offered for $name"
  for value in $offered; do
    "$ctl" --file "$work/try.ini" set "$value" >/dev/null 2>&1 || fail "the tool refuses $value"
  done
done

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "completion offers the tool's names and values"
