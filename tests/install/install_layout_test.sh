#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks testcard as installed under the prefix /usr in a staging folder:
# exactly the expected files, programs that answer without a display, a
# desktop entry that starts the installed program with the installed icon,
# release files that carry the version, icons of their sizes, and man pages
# that render cleanly and cover the programs' options.
set -u
[ $# -ge 3 ] || { echo "usage: install_layout_test.sh STAGE VERSION APP_ID ICON_SIZES..."; exit 2; }
stage=$1 version=$2 app_id=$3 sizes=("${@:4}")
source "$(dirname "$0")/installed_files.sh"
usr="$stage/usr"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Exactly these files, nothing missing and nothing extra.
expected=$(installed_files "$app_id" "${sizes[@]}")
actual=$(cd "$usr" 2>/dev/null && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] ||
  fail "installed files differ (< expected, > installed):
$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"

# The installed programs, run without a display: each ARGS, the exit status
# and what the output must start with (stdout for 0, stderr otherwise).
for program in testcard testcard-render; do
  while IFS='|' read -r args status start; do
    env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/$program" $args >"$scratch/out" 2>"$scratch/err"
    code=$?
    [ $status = 0 ] && output=out || output=err
    [ $code = "$status" ] || fail "$program $args exited $code, expected $status"
    [[ "$(cat "$scratch/$output")" == "$start"* ]] ||
      fail "$program $args: std$output is '$(head -c 200 "$scratch/$output")', expected '$start...'"
  done <<EOT
--help|0|Usage: $program 
--version|0|$program $version
--bogus|2|$program: unknown option '--bogus'
EOT
  cp "$scratch/out" "$scratch/$program.usage"
done

# The desktop entry: valid without so much as a hint, starting an installed
# program with an installed icon.
desktop="$usr/share/applications/$app_id.desktop"
report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] || fail "desktop-file-validate: $report"
value() { sed -n "s/^$1=//p" "$desktop"; }
[ -x "$usr/bin/$(value Exec)" ] || fail "Exec '$(value Exec)' is no installed program"
[ -f "$usr/share/icons/hicolor/48x48/apps/$(value Icon).png" ] || fail "Icon '$(value Icon)' is not installed"

# The release files name this version (their formats are lintian's and
# appstreamcli's to check).
[ "$(zcat "$usr/share/doc/testcard/changelog.gz" | head -n1)" = "testcard ($version) unstable; urgency=medium" ] ||
  fail "changelog.gz does not start with version $version"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "the AppStream metadata has no release $version"

# Icons: RGBA PNGs (for the transparent bands) of their sizes.
for size in "${sizes[@]}"; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/testcard.png"
  [[ "$(file -b "$icon")" == "PNG image data, $size x $size, 8-bit/color RGBA,"* ]] ||
    fail "$icon is $(file -b "$icon"), expected an RGBA PNG of $size x $size"
done

# Man pages: render without a warning, carry the version, and mention every
# option the program's --help lists.
for program in testcard testcard-render; do
  zcat "$usr/share/man/man1/$program.1.gz" >"$scratch/page.1" || { fail "no $program.1.gz"; continue; }
  warnings=$(groff -man -ww -z "$scratch/page.1" 2>&1)
  [ -z "$warnings" ] || fail "$program.1: $warnings"
  # Plain text on long lines, so that no option is broken across lines.
  text=$(groff -man -Tascii -P-cbou -rLL=500n "$scratch/page.1" 2>/dev/null)
  [[ "$text" == *"testcard $version"* ]] || fail "$program.1 does not carry version $version"
  for option in $(grep -o -- '--[a-z][a-z-]*' "$scratch/$program.usage" | sort -u); do
    [[ "$text" == *"$option"* ]] || fail "$program.1 does not describe $option"
  done
done

[ $failures = 0 ] && echo "installed files, programs, desktop entry, release files, icons and man pages check out"
exit $((failures > 0))
