#!/usr/bin/env bash
# Makes the Debian package of the build and has lintian check it: no errors
# allowed. Its warnings are printed for whoever reads the log.
# Usage: PackageTest.sh BUILD_DIR WITH_WINDOW(ON|OFF)
set -euo pipefail
build=$1
needed=libc6
[ "$2" = ON ] && needed=libqt6widgets6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log" >&2; exit 1; }
deb=$(find "$work" -maxdepth 1 -name 'veilnote_*.deb')
[ -n "$deb" ] || { echo "FAIL: no package written" >&2; exit 1; }
dpkg-deb --field "$deb" Depends | grep -q "$needed" ||
  { echo "FAIL: the dependencies were not computed" >&2; exit 1; }
# Both programs estimate passphrases with zxcvbn's shared library.
dpkg-deb --field "$deb" Depends | grep -q libzxcvbn ||
  { echo "FAIL: the package does not depend on the passphrase estimator's library" >&2; exit 1; }
lintian --fail-on error --tag-display-limit 0 "$deb"
