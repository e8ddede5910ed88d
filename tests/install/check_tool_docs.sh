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
# shellcheck disable=SC1090  # the completion file of this checkout
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
# Command lines as bash hands them over: it splits "--simulate=kb,ms" at the "=" into three
# words; without "=" among its word breaks the value stays in the option's word.
trace_dir=$(mktemp -d)
trap 'rm -rf "$trace_dir"' EXIT
touch "$trace_dir/trace.txt"
cases=(
  "on off status|orvanectl --simulate autostart ''"
  "ms mp|orvanectl slot m"
  "kb ms mp|orvanectl --simulate = kb1,ms2 info ''"
  "kb ms mp|orvanectl --simulate=kb1,ms2 info ''"
  "kb ms mp|orvanectl --trace = /tmp/t info ''"
  "kb ms mp|orvanectl --trace=/tmp/t --simulate = kb info ''"
  "kb ms mp|orvanectl --trace /tmp/t --simulate readback ''"
  "key led|orvanectl --simulate = mp profile select kb ''"
  "kb kb1 ms ms2 mp|orvanectl --simulate = ''"
  "kb,kb1 kb,ms kb,ms2 kb,mp|orvanectl --simulate = kb,"
  "ms,ms2 ms,mp|orvanectl --simulate = ms,m"
  "--simulate=kb --simulate=kb1|orvanectl --simulate=k"
  "--simulate=kb,ms --simulate=kb,ms2|orvanectl --simulate=kb,ms"
  "list link links lighting|orvanectl --simulate = kb,ms li"
  "$trace_dir/trace.txt|orvanectl --trace = $trace_dir/tr"
  "--trace=$trace_dir/trace.txt|orvanectl --trace=$trace_dir/tr"
  "--version|orvanectl --v"
  "add select export import|orvanectl --simulate = ms profile ''"
  "add show image upload|orvanectl macro ''"
)
words=()
for c in "${cases[@]}"; do
  eval "words=(${c#*|})"
  got=$(complete_words "${words[@]}")
  [ "$got" = "${c%%|*}" ] || fail "completion of '${c#*|}': '$got', expected '${c%%|*}'"
done

# Options of both programs, from their usage lines.
for program in orvanectl orvane; do
  exe=$orvanectl; [ $program = orvane ] && exe=$orvane
  for option in $("$exe" --help | head -1 | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "${option//-/\\\\-}" "$man/$program.1" || fail "$program.1 does not describe $option"
  done
done
echo "man pages and completion: ok"
