#!/bin/sh
# Makes sure that the Debian packages of the named groups of
# tools/debian_packages.txt are installed: installs the missing ones with
# apt-get when run as root or where sudo needs no password, else stops with
# the one command that installs them. Does nothing where dpkg is not the
# package manager.
#
# Usage: need_packages.sh GROUP...
set -eu
list="$(dirname "$0")/debian_packages.txt"
command -v dpkg-query > /dev/null || exit 0

missing=""
for group in "$@"; do
  packages=$(sed -n "s/^$group://p" "$list")
  if [ -z "$packages" ]; then
    echo "need_packages.sh: no group \"$group\" in $list" >&2
    exit 2
  fi
  for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'install ok installed' ||
      missing="$missing $package"
  done
done
[ -n "$missing" ] || exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo > /dev/null && sudo -n true 2> /dev/null; then
  as_root="sudo"
else
  echo "Debian packages are missing; install them with: sudo apt-get install$missing" >&2
  exit 1
fi
echo "Installing the missing Debian packages:$missing"
$as_root apt-get update -qq
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0$missing
