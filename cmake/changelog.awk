# SPDX-License-Identifier: MIT
# Reads CHANGELOG.md ("Keep a Changelog" form) and writes its dated entries
# as what = "debian" (the package's changelog, in Debian's format) or
# what = "appstream" (the <release> lines of the AppStream metadata).
# "Unreleased" is left out of both: they describe versions as released.
# Fails unless the newest dated entry is version, so that the version set in
# CMake and the changelog cannot drift apart.
#
#   awk -v what=debian -v version=0.1.0 -v package=testcard \
#       -v maintainer='Name <address>' -f changelog.awk CHANGELOG.md

# The RFC 5322 date Debian's changelog wants, at midnight UTC of YYYY-MM-DD.
function debian_date(ymd,    part, y, m, d, offsets, weekday) {
  split(ymd, part, "-")
  y = part[1] + 0; m = part[2] + 0; d = part[3] + 0
  split("0 3 2 5 0 3 5 1 4 6 2 4", offsets, " ")
  if (m < 3) y--
  weekday = (y + int(y / 4) - int(y / 100) + int(y / 400) + offsets[m] + d) % 7
  return substr("SunMonTueWedThuFriSat", weekday * 3 + 1, 3) ", " part[3] " " \
         substr("JanFebMarAprMayJunJulAugSepOctNovDec", m * 3 - 2, 3) " " part[1] \
         " 00:00:00 +0000"
}

function close_entry() {
  if (what == "debian" && entries > 0)
    printf "\n -- %s  %s\n", maintainer, debian_date(date)
}

/^## / {
  close_entry()
  dated = match($0, /^## \[?[^] ]+\]? - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$/)
  if (!dated) { in_release = 0; next }
  in_release = 1
  release = $2; gsub(/[][]/, "", release)
  date = $4
  if (++entries == 1 && release != version) {
    printf "CHANGELOG.md: the newest dated entry is %s, but CMakeLists.txt says %s; " \
           "add \"## [%s] - YYYY-MM-DD\" above it or correct project(VERSION)\n",
           release, version, version > "/dev/stderr"
    failed = 1
    exit 1
  }
  if (entries > 1 && what == "debian") print ""
  if (what == "debian")
    printf "%s (%s) unstable; urgency=medium\n", package, release
  else
    printf "    <release version=\"%s\" date=\"%s\"/>\n", release, date
  next
}

!in_release || what != "debian" { next }

/^### / { printf "\n  * %s:\n", substr($0, 5); next }
/^- / { line = substr($0, 3); gsub(/`/, "", line); print "    - " line; next }
/^  [^ ]/ { line = substr($0, 3); gsub(/`/, "", line); print "      " line; next }

END {
  if (failed) exit 1
  if (entries == 0) {
    print "CHANGELOG.md has no dated entry (\"## [" version "] - YYYY-MM-DD\")" > "/dev/stderr"
    exit 1
  }
  close_entry()
}
