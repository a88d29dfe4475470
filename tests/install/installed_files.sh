# Sourced by the install tests: every file testcard installs, relative to the
# prefix /usr, one per line and sorted, for the icon sizes given.
installed_files() {
  {
    echo bin/testcard
    echo bin/testcard-render
    echo share/applications/testcard.desktop
    echo share/man/man1/testcard.1.gz
    echo share/man/man1/testcard-render.1.gz
    for size in "$@"; do echo "share/icons/hicolor/${size}x${size}/apps/testcard.png"; done
  } | LC_ALL=C sort
}
