#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The man pages and the bash completion name every command and option the programs have.
#   tests/install/check_tool_docs.sh ORVANECTL ORVANE SOURCE_DIR
set -euo pipefail
orvanectl="$1" orvane="$2" source="$3"
fail() { echo "FAIL: $*" >&2; exit 1; }
man="$source/data/man" completion="$source/data/completion/orvanectl"

# Commands: the lines of the help that name one, after "commands:".
commands=$("$orvanectl" --help | sed -n '/^commands:/,$p' | sed -n 's/^  \([a-z][a-z-]*\)\b.*/\1/p')
[ -n "$commands" ] || fail "no commands in orvanectl --help"
source "$completion"
complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _orvanectl; echo "${COMPREPLY[*]}"; }
offered=" $(complete_words orvanectl "") "
for c in $commands; do
  grep -q "^\.B $c\b" "$man/orvanectl.1" || fail "orvanectl.1 does not describe the command $c"
  [[ $offered == *" $c "* ]] || fail "the completion does not offer the command $c"
done
for word in $offered; do
  grep -qx "$word" <<<"$commands" || fail "the completion offers $word, which is no command"
done
[ "$(complete_words orvanectl --simulate autostart "")" = "on off status" ] || fail "completion of autostart"
[ "$(complete_words orvanectl slot m)" = "ms mp" ] || fail "completion of slot"

# Options of both programs, from their usage lines.
for program in orvanectl orvane; do
  exe=$orvanectl; [ $program = orvane ] && exe=$orvane
  for option in $("$exe" --help | head -1 | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "${option//-/\\\\-}" "$man/$program.1" || fail "$program.1 does not describe $option"
  done
done
echo "man pages and completion: ok"
