#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# testcard-render's output paths as a user meets them: each case runs one
# command in a fresh folder and checks the exit status, exactly which files
# are there afterwards, and what the target holds. Argument refusals are in
# render_options_test.cpp.
set -u
render=$(realpath "${1:?usage: render_cli_test.sh path/to/testcard-render path/to/testcard}")
app=$(realpath "${2:?usage: render_cli_test.sh path/to/testcard-render path/to/testcard}")
work=$(mktemp -d /tmp/testcard-render.XXXXXX)
scratch=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work" "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# R runs the exporter, A testcard, and U the exporter as an unprivileged
# user, from a copy that user can reach wherever the build is: root may
# write anything, so the permission cases need someone who may not, and the
# cases that name a system file (/dev/stdout, /dev/full) run as U so that a
# regression can never replace that file on the machine running the tests.
# Each ends within 20 s, so that one caught in a loop leaves nothing running.
R() { timeout 20 "$render" "$@"; }
A() { timeout 20 "$app" "$@"; }
as_user=()
[ "$(id -u)" = 0 ] && as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
chmod 755 "$scratch" && cp "$render" "$scratch/render"
U() { "${as_user[@]}" timeout 20 "$scratch/render" "$@"; }
U --version >/dev/null || fail "cannot run the exporter as an unprivileged user (setpriv)"

# Checks on the target, run in the work folder after the command.
png() { [ "$(head -c4 <"$1" | tail -c3)" = PNG ] &&
  [ "$(od -An -tu1 -j16 -N8 <"$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }')" = "$2" ]; }
holds() { [ "$(cat "$1")" = "$2" ]; }
said() { [ "$(wc -l <"$scratch/err")" = 1 ] && grep -qF -- "$1" "$scratch/err"; }
refused() { [ "$(cat "$scratch/err")" = "$1
Try '${1%%:*} --help' for more information." ]; }
mode() { [ "$(stat -c %a "$1")" = "$2" ]; }

# Starts a large export, sends SIGNAL once the PNG is being written (the
# first byte is out), and returns the exporter's exit status.
signal_while_writing() {
  env --default-signal "$render" --pattern colour --size 16000x16000 --output s.png &
  while grep -qx 'wchar: 0' /proc/$!/io 2>/dev/null; do sleep 0.05; done
  kill -s "$1" $! && wait $!
}

# check STATUS FILES TARGET SETUP COMMAND: FILES is every path in the work
# folder afterwards (a link as name>target), TARGET a command that must pass.
check() {
  chmod -R u+w "$work" && rm -rf "$work" && mkdir -m 777 "$work"
  (cd "$work" && eval "$4" && eval "$5" >"$scratch/out" 2>"$scratch/err")
  local got=$? files
  files=$(find "$work" -mindepth 1 -printf '%P>%l\n' | sed 's/>$//' | LC_ALL=C sort | paste -sd' ')
  [ "$got" = "$1" ] || fail "$5: exit $got, expected $1: $(cat "$scratch/err")"
  [ "$files" = "$2" ] || fail "$5: left '$files', expected '$2'"
  (cd "$work" && eval "$3") || fail "$5: target check '$3' failed: $(cat "$scratch/err")"
}

long=$(printf 'n%.0s' {1..251}).png
cases=(
  # status | files afterwards | target check | setup | command
  "0|o.png|png o.png 641x479 && mode o.png 644|umask 022|R --pattern grid --size 641x479 --output o.png"
  "0||png $scratch/out 320x200|:|R --pattern cross --size 320x200 --output -"
  "0|$long|png $long 64x48|:|R --pattern grid --size 64x48 --output $long"
  "0|-h|png -h 9x9|:|R --pattern grid --size 9x9 --output -h"
  "0|p.png|png p.png 8x8 && mode p.png 600|echo old >p.png && chmod 600 p.png|R --pattern grid --size 8x8 --output p.png"
  "1|p.png|holds p.png old && said 'cannot write p.png: Permission denied'|echo old >p.png && chmod 444 p.png|U --pattern grid --size 8x8 --output p.png"
  "1||said \"cannot write $work/o.png: Permission denied\"|chmod 555 .|U --pattern grid --size 8x8 --output $work/o.png"
  "0|d d/t.png link>d/t.png|png d/t.png 8x8|mkdir d && ln -s d/t.png link|R --pattern grid --size 8x8 --output link"
  # Relative links in other folders, each read from its own folder.
  "0|d d/l>../e/n e e/n>t.png e/t.png|png e/t.png 8x8|mkdir d e && ln -s ../e/n d/l && ln -s t.png e/n|R --pattern grid --size 8x8 --output d/l"
  "1|d|said 'cannot write d: it is a folder'|mkdir d|R --pattern grid --size 8x8 --output d"
  "1|a>b b>a|said 'cannot write a: Too many levels of symbolic links'|ln -s a b && ln -s b a|R --pattern grid --size 8x8 --output a"
  "0|c.txt|[ \"\$(head -c7 c.txt)\" = before ] && [ \"\$(tail -c6 c.txt)\" = after ] && tail -c+8 c.txt >$scratch/p && png $scratch/p 8x8|:|{ echo before; U --pattern grid --size 8x8 --output /dev/stdout; echo after; } >c.txt"
  "1||[ -L /dev/stdout ] && said 'cannot write /dev/stdout: Bad file descriptor'|:|U --pattern grid --size 8x8 --output /dev/stdout >&-"
  "0|f got|[ -p f ] && png got 8x8|mkfifo f && { timeout 20 cat f >got & }|R --pattern grid --size 8x8 --output f; wait"
  "1||said 'cannot write /dev/full: No space left on device'|:|U --pattern grid --size 1x1 --output /dev/full"
  "1||said 'cannot write standard output: No space left'|:|R --pattern grid --size 1x1 --output - >/dev/full"
  "1||said 'cannot write m\\x0a\\x1b[2J\\x7f/o.png: No such file'|:|R --pattern grid --size 8x8 --output m$'\\n\\e'[2J$'\\x7f'/o.png"
  "2||refused \"testcard-render: --size '640' is not WIDTHxHEIGHT (for example 1920x1080)\"|:|R --size 640 --output -h"
  "2||refused \"testcard: unexpected argument 'a\\x0a\\x7f'\"|:|A a$'\\n\\x7f'"
  "1||said 'testcard-render: cannot write to standard output: No space left'|:|R --help >/dev/full"
  "1||said 'testcard: cannot write to standard output: No space left'|:|A --version >/dev/full"
  "130|s.png|holds s.png old|echo old >s.png|signal_while_writing INT"
  "143|s.png|holds s.png old|echo old >s.png|signal_while_writing TERM"
  "129|s.png|holds s.png old|echo old >s.png|signal_while_writing HUP"
  "1|s.png|holds s.png old && said 'cannot write s.png: File too large'|echo old >s.png|ulimit -f 64; R --pattern colour --size 4000x4000 --output s.png"
)
for row in "${cases[@]}"; do
  IFS='|' read -r status files target setup command <<<"$row"
  check "$status" "$files" "$target" "$setup" "$command"
done

[ $failures = 0 ] && echo "all exporter checks passed"
exit $((failures > 0))
