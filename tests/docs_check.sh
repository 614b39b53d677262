#!/usr/bin/env bash
# The man pages render without warnings; the bash completion script parses and completes
# commands, options, variants and ports.
set -euo pipefail
packaging=$1
for page in "$packaging"/man/*.1; do
    out=$(groff -ww -man -z "$page" 2>&1)
    [ -z "$out" ] || { echo "$page: $out"; exit 1; }
done
script=$packaging/qm416x.bash-completion
bash -n "$script"
source "$script"
complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); "$fn"; echo "${COMPREPLY[*]}"; }
expect() { local got; got=$(complete_words "${@:2}"); [ "$got" = "$1" ] || { echo "'${*:2}': '$got', not '$1'"; exit 1; }; }
fn=_qm416x_cli
expect "stats settings sweep" qm416x-cli s
expect "62 64 68 69" qm416x-cli stats --variant ""
expect "Com1 Com2 Com3 Com4" qm416x-cli regs --port C
expect "sim" qm416x-cli board --port s
expect "text csv json" qm416x-cli hist a.dat --format ""
expect "--channels" qm416x-cli acquire --chan
expect "--channel" qm416x-cli stats a.dat --chan
expect "read-all read" qm416x-cli regs --port sim rea
expect "show" qm416x-cli history sh
expect "--settings" qm416x-cli report a.dat --se
fn=_qm416x
expect "62 64 68 69" qm416x TEST 6
expect "--simulate" qm416x --si
fn=_qm416x_boardsim
expect "--fast --fault" qm416x-boardsim --fa
expect "drop-third" qm416x-boardsim --fault dr
echo ok
