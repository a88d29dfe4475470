#!/usr/bin/env bash
# Checks testcard as installed under the prefix /usr in a staging folder:
# exactly the expected files, programs that answer --help, --version and bad
# arguments without a display, a valid desktop entry, icons of their sizes,
# and man pages that render cleanly and cover the programs' options.
set -u
stage=${1:?usage: install_layout_test.sh STAGE VERSION ICON_SIZES...}
version=${2:?}
shift 2
sizes=("$@")
source "$(dirname "$0")/installed_files.sh"
usr="$stage/usr"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Exactly these files, nothing missing and nothing extra.
expected=$(installed_files "${sizes[@]}")
actual=$(cd "$usr" 2>/dev/null && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] ||
  fail "installed files differ (< expected, > installed):
$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"

# The programs, run as a user would without a display: run PROGRAM ARGS...
# leaves the exit status in $code and the output in $scratch/out and err.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY "$@" >"$scratch/out" 2>"$scratch/err"
  code=$?
}
for program in testcard testcard-render; do
  binary="$usr/bin/$program"
  [ -x "$binary" ] || { fail "$program is not installed executable"; continue; }

  for help in --help -h; do
    run "$binary" "$help"
    [ $code = 0 ] || fail "$program $help exited $code"
    head -n1 "$scratch/out" | grep -q "^Usage: $program " || fail "$program $help: no usage on stdout"
    [ -s "$scratch/err" ] && fail "$program $help wrote to stderr: $(cat "$scratch/err")"
  done
  cp "$scratch/out" "$scratch/$program.usage"

  run "$binary" --version
  [ $code = 0 ] || fail "$program --version exited $code"
  [ "$(cat "$scratch/out")" = "$program $version" ] ||
    fail "$program --version said '$(cat "$scratch/out")', expected '$program $version'"
  [ -s "$scratch/err" ] && fail "$program --version wrote to stderr: $(cat "$scratch/err")"

  for bad in --bogus -x; do
    run "$binary" "$bad"
    [ $code = 2 ] || fail "$program $bad exited $code, expected 2"
    [ -s "$scratch/out" ] && fail "$program $bad wrote to stdout"
    grep -q "unknown option '$bad'" "$scratch/err" || fail "$program $bad: no reason on stderr"
    grep -qx "Try '$program --help' for more information." "$scratch/err" ||
      fail "$program $bad: no pointer to --help on stderr"
  done
done
# testcard takes no arguments at all, so a stray word is refused too.
run "$usr/bin/testcard" grid
[ $code = 2 ] || fail "testcard grid exited $code, expected 2"

# The desktop entry: valid without so much as a hint, starting the installed
# program with the installed icon, and found by the words users search for.
desktop="$usr/share/applications/testcard.desktop"
if [ -f "$desktop" ]; then
  report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate refused it: $report"
  [ -z "$report" ] || fail "desktop-file-validate: $report"
  value() { sed -n "s/^$1=//p" "$desktop"; }
  [ "$(value Exec)" = testcard ] || fail "Exec is '$(value Exec)'"
  [ "$(value Icon)" = testcard ] || fail "Icon is '$(value Icon)'"
  [ "$(value Terminal)" = false ] || fail "Terminal is '$(value Terminal)'"
  for word in monitor "test pattern" calibration; do
    value Keywords | tr ';' '\n' | grep -qx "$word" || fail "Keywords lack '$word'"
  done
fi

# Icons: RGBA PNGs (colour type 6, for the transparent bands) of their sizes.
png_header() { od -An -tu1 -j16 -N10 "$1" | awk '{ printf "%dx%d type %d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8, $10 }'; }
for size in "${sizes[@]}"; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/testcard.png"
  [ -f "$icon" ] || continue  # already reported as missing
  [ "$(png_header "$icon")" = "${size}x${size} type 6" ] ||
    fail "$icon is $(png_header "$icon"), expected ${size}x${size} type 6"
done

# Man pages: render without a warning, carry the version, have the sections
# a user looks for, and mention every option the program's --help lists.
for program in testcard testcard-render; do
  page="$usr/share/man/man1/$program.1.gz"
  [ -f "$page" ] || continue
  zcat "$page" >"$scratch/page.1"
  warnings=$(groff -man -ww -z "$scratch/page.1" 2>&1)
  [ -z "$warnings" ] || fail "$program.1: $warnings"
  # Plain text on long lines, so that no option is broken across lines.
  text=$(groff -man -Tascii -P-cbou -rLL=500n "$scratch/page.1" 2>/dev/null)
  [[ "$text" == *"$program - "* ]] || fail "$program.1 has no NAME line"
  [[ "$text" == *"testcard $version"* ]] || fail "$program.1 does not carry version $version"
  for section in SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES "SEE ALSO"; do
    grep -q "^$section\$" <<<"$text" || fail "$program.1 has no $section section"
  done
  [ "$program" = testcard ] && { grep -q "^KEYS\$" <<<"$text" || fail "testcard.1 has no KEYS section"; }
  if [ -f "$scratch/$program.usage" ]; then
    for option in $(grep -o -- '--[a-z][a-z-]*' "$scratch/$program.usage" | sort -u); do
      [[ "$text" == *"$option"* ]] || fail "$program.1 does not describe $option"
    done
  fi
done

[ $failures = 0 ] && echo "installed layout, programs, desktop entry, icons and man pages check out"
exit $((failures > 0))
