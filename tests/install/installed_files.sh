# SPDX-License-Identifier: MIT
# Sourced by the install tests: every file testcard installs, relative to the
# prefix /usr, one per line and sorted, for the application ID and the icon
# sizes given.
installed_files() {
  local app_id=$1 size
  shift
  {
    printf '%s\n' bin/testcard bin/testcard-render share/doc/testcard/changelog.gz \
      share/doc/testcard/copyright share/man/man1/testcard.1.gz share/man/man1/testcard-render.1.gz \
      "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml"
    for size in "$@"; do echo "share/icons/hicolor/${size}x${size}/apps/testcard.png"; done
  } | LC_ALL=C sort
}
