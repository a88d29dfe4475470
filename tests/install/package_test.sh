#!/usr/bin/env bash
# Builds the Debian package with cpack from the build folder and checks it:
# its name and version, dependencies read from the programs' shared
# libraries, and exactly the installed files under /usr, owned by root.
set -u
cpack=${1:?usage: package_test.sh CPACK BUILD VERSION ICON_SIZES...}
build=${2:?}
version=${3:?}
shift 3
source "$(dirname "$0")/installed_files.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack -G DEB failed"
  exit 1
fi
deb="$work/testcard_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"); cpack made: $(ls "$work")"; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = testcard ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', expected $version"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
[ "$(field Maintainer)" = "testcard developers" ] || fail "Maintainer is '$(field Maintainer)'"
# A summary line, then a longer text that does not just repeat it.
summary=$(field Description | head -n1)
[ -n "$summary" ] || fail "no Description"
[ "$(field Description | sed -n '2s/^ *//p')" != "$summary" ] || fail "the description repeats its summary"
[ "$(field Description | wc -l)" -gt 3 ] || fail "no long description: $(field Description)"
# Found by dpkg-shlibdeps, so the package installs wherever these libraries
# are to be had rather than only beside the build's own.
depends=$(field Depends)
for library in libsdl2-2.0-0 libpng16-16 libc6 libstdc++6; do
  [[ ", $depends" == *", $library "* || ", $depends," == *", $library,"* ]] ||
    fail "Depends lacks $library: $depends"
done

# The files: the same set a `cmake --install --prefix /usr` gives, each owned
# by root, the programs executable by everyone.
listing=$(dpkg-deb --contents "$deb")
files=$(awk '$1 ~ /^-/ { sub("^\\./usr/", "", $6); print $6 }' <<<"$listing" | LC_ALL=C sort)
expected=$(installed_files "$@")
[ "$files" = "$expected" ] ||
  fail "packaged files differ (< expected, > packaged):
$(diff <(echo "$expected") <(echo "$files") | grep '^[<>]')"
awk '$2 != "root/root" { exit 1 }' <<<"$listing" || fail "files not owned by root: $listing"
for program in testcard testcard-render; do
  grep -q "^-rwxr-xr-x .* \./usr/bin/$program\$" <<<"$listing" || fail "$program is not mode 755"
done

[ $failures = 0 ] && echo "testcard_${version} package checks out: Depends: $depends"
exit $((failures > 0))
