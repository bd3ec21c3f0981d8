#!/bin/sh
# Builds the Debian package from the build into a temporary folder, unpacks it
# with dpkg-deb -x and checks what a user would get: each program in /usr/bin
# answers --version with the project's version, has its gzipped manual page,
# and the README and copyright file are in /usr/share/doc/orba-tools.
# Exits 77 (skipped) without dpkg-deb and dpkg-shlibdeps (Debian's dpkg-dev).
# Usage: check_package.sh CPACK BUILD_DIR VERSION
set -u
cpack=$1 build=$2 version=$3
for tool in dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIPPED: $tool is missing (apt-get install dpkg-dev; bash .ci/run installs it)"
    exit 77
  fi
done
# shellcheck source=tests/support/checks.sh
. "$(dirname "$0")/../support/checks.sh"
private_folder

(cd "$build" && "$cpack" -G DEB -B "$work/package" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
set -- "$work"/package/orba-tools_"$version"_*.deb
[ -f "$1" ] || { echo "FAIL: no orba-tools_${version}_<arch>.deb in $(ls "$work/package")"; exit 1; }
deb=$1
dpkg-deb -x "$deb" "$work/root" || { echo "FAIL: dpkg-deb -x $deb"; exit 1; }

root="$work/root"
programs=$(ls "$root/usr/bin")
[ -n "$programs" ] || fail "no program in /usr/bin"
for program in $programs; do
  out=$("$root/usr/bin/$program" --version)
  status=$?
  [ "$status" -eq 0 ] && [ "$out" = "$program $version" ] || fail "$program --version: \"$out\", status $status"
  [ -f "$root/usr/share/man/man1/$program.1.gz" ] || fail "/usr/share/man/man1/$program.1.gz is missing"
  if command -v file > /dev/null; then
    file "$root/usr/bin/$program" | grep -q "not stripped" && fail "$program is not stripped"
  fi
done
for doc in README.md copyright changelog.gz; do
  [ -f "$root/usr/share/doc/orba-tools/$doc" ] || fail "/usr/share/doc/orba-tools/$doc is missing"
done
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "the package declares no dependency on libc6"

finish "$(basename "$deb"): $(echo $programs | wc -w) programs answer --version $version"
