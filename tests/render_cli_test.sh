#!/usr/bin/env bash
# testcard-render as a user runs it: exit codes, messages on stderr, and the
# files it leaves (or, on failure, does not leave) behind.
set -u
render=$(realpath "${1:?usage: render_cli_test.sh path/to/testcard-render}")
work=$(mktemp -d)
scratch=$(mktemp -d)
trap 'rm -rf "$work" "$scratch"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The width and height stored in a PNG's header, as "WxH".
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }

# expect_refused EXIT_CODE MESSAGE_PART ARGUMENTS...: the run fails with that
# code, says MESSAGE_PART on stderr, and leaves the work folder empty.
expect_refused() {
  local code=$1 part=$2
  shift 2
  (cd "$work" && "$render" "$@" >"$scratch/stdout" 2>"$scratch/stderr")
  local got=$?
  local err
  err=$(cat "$scratch/stderr")

  [ "$got" = "$code" ] || fail "$* exited $got, expected $code"
  [[ "$err" == *"$part"* ]] || fail "$*: stderr lacks '$part': $err"
  if [ "$code" = 2 ]; then
    [[ "$err" == *"Usage: testcard-render"* ]] || fail "$*: no usage on stderr"
  fi
  [ -z "$(ls -A "$work")" ] || { fail "$* left files: $(ls -A "$work")"; rm -rf "${work:?}"/*; }
}

# Bad arguments: exit 2, a reason and the usage, no file.
expect_refused 2 "not WIDTHxHEIGHT" --pattern grid --size 640 --output o.png
expect_refused 2 "1 to 32767" --pattern grid --size 0x480 --output o.png
expect_refused 2 "not WIDTHxHEIGHT" --pattern grid --size -640x480 --output o.png
expect_refused 2 "1 to 32767" --pattern grid --size 32768x10 --output o.png
expect_refused 2 "1 to 32767" --pattern grid --size 10x40000 --output o.png
expect_refused 2 "unknown pattern" --pattern plaid --size 64x48 --output o.png
expect_refused 2 "unknown option" --pattern grid --size 64x48 --output o.png --fast
expect_refused 2 "needs a value" --pattern grid --size 64x48 --output
expect_refused 2 "missing --size" --pattern grid --output o.png
expect_refused 2 "missing --pattern"

# Failures while writing: exit 1, a message, no file (not even a temporary).
expect_refused 1 "cannot create a file in" --pattern grid --size 64x48 --output missing/o.png
# A file name's control characters are shown escaped: the message stays one line.
expect_refused 1 'cannot create a file in missing\x0a\x1b[2J' --pattern grid --size 64x48 \
  --output "missing"$'\n\e'"[2J/o.png"
[ "$(wc -l <"$scratch/stderr")" = 1 ] || fail "a control character broke the message: $(cat -A "$scratch/stderr")"
# A read-only folder. Root writes anywhere, so as root the run is made as
# nobody (the folder and the program must then be reachable by everyone).
ro=$(mktemp -d /tmp/testcard-ro.XXXXXX) && chmod 555 "$ro"
as_user=()
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
err=$("${as_user[@]}" "$render" --pattern grid --size 64x48 --output "$ro/o.png" 2>&1)
code=$?
if [ $code = 126 ] || [ $code = 127 ]; then
  echo "note: cannot run as another user here; read-only folder not tested"
else
  [ $code = 1 ] || fail "a read-only folder gave exit $code: $err"
  [[ "$err" == *"cannot create a file in $ro"* ]] || fail "a read-only folder said: $err"
fi
[ -z "$(ls -A "$ro")" ] || fail "the read-only folder got a file: $(ls -A "$ro")"
rmdir "$ro"
err=$("$render" --pattern grid --size 640x480 --output - 2>&1 >/dev/full)
code=$?
[ $code = 1 ] || fail "--output - to /dev/full exited $code"
[[ "$err" == *"No space left"* ]] || fail "--output - to /dev/full said: $err"

# Success: exit 0, exactly the asked size (odd sizes too), nothing on stderr.
for case in "grid 1024x768" "cross 1024x768" "colour 1024x768" "color 641x479" "grid 1x1"; do
  set -- $case
  err=$("$render" --pattern "$1" --size "$2" --output "$work/p.png" 2>&1)
  code=$?
  [ $code = 0 ] || fail "$case exited $code: $err"
  [ -z "$err" ] || fail "$case printed: $err"
  [ "$(png_size "$work/p.png")" = "$2" ] || fail "$case wrote $(png_size "$work/p.png")"
  [ "$(ls -A "$work")" = "p.png" ] || fail "$case left $(ls -A "$work")"
  rm -f "$work/p.png"
done
"$render" --pattern cross --size 320x200 --output - >"$work/s.png" || fail "--output - failed"
[ "$(png_size "$work/s.png")" = "320x200" ] || fail "--output - wrote the wrong size"
"$render" --help | grep -q "Usage: testcard-render" || fail "--help shows no usage"

[ $failures = 0 ] && echo "all exporter checks passed"
exit $((failures > 0))
