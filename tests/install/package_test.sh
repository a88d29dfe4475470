#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package with cpack from the build folder and checks it:
# its file name (the package's name, version and architecture), dependencies read from the programs' shared
# libraries, exactly the installed files under /usr, and lintian's verdict
# (no error and no warning).
set -u
[ $# -ge 4 ] || { echo "usage: package_test.sh CPACK BUILD VERSION APP_ID ICON_SIZES..."; exit 2; }
cpack=$1 build=$2 version=$3
shift 3
source "$(dirname "$0")/installed_files.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack -G DEB failed"; exit 1; }
deb="$work/testcard_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"); cpack made: $(ls "$work")"; exit 1; }

# Dependencies found by dpkg-shlibdeps, so the package installs wherever
# these libraries are to be had rather than only beside the build's own.
depends=$(dpkg-deb --field "$deb" Depends)
for library in libsdl2-2.0-0 libpng16-16 libc6 libstdc++6; do
  [[ ", $depends," =~ ", $library"[\ ,] ]] || fail "Depends lacks $library: $depends"
done

# The same set of files a `cmake --install --prefix /usr` gives.
files=$(dpkg-deb --contents "$deb" | awk '$1 ~ /^-/ { sub("^\\./usr/", "", $6); print $6 }' | LC_ALL=C sort)
expected=$(installed_files "$@")
[ "$files" = "$expected" ] ||
  fail "packaged files differ (< expected, > packaged):
$(diff <(echo "$expected") <(echo "$files") | grep '^[<>]')"

# lintian knows Debian's rules (owners, modes, copyright and changelog
# formats, the Maintainer's address, descriptions) better than a list here.
if ! command -v lintian >/dev/null; then
  fail "lintian is not installed (scripts/install-deps installs it)"
elif ! report=$(lintian --fail-on error,warning "$deb" 2>&1); then
  fail "lintian found errors or warnings:
$report"
fi

[ $failures = 0 ] && echo "testcard_${version} package checks out: Depends: $depends"
exit $((failures > 0))
