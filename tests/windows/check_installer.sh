#!/bin/sh
# Installs the Windows installer under Wine as a merchant's administrator
# would, in a fresh Wine prefix of its own. Each program then answers
# --version from a new command prompt, by its name alone. A newer version of
# the same installer (built here from the same folder) must replace it, and
# its uninstall must leave the prefix as it found it: no file, no PATH entry,
# no entry among the installed programs.
#
# Wine's uninstall leaves the PATH's separator behind (";;"), and Wine's cmd
# stops looking along the PATH at an empty entry: the programs are run by
# name before the upgrade, and the PATH is compared entry by entry.
# Usage: check_installer.sh WINE CMAKE INSTALLER_SCRIPT MSI FOLDER VERSION
# (FOLDER: the staged folder the .msi was made of).
set -u
wine=$1 cmake=$2 script=$3 msi=$4 root=$5 version=$6
[ -f "$msi" ] || { echo "FAIL: $msi is missing (make windows)"; exit 1; }
work=$(mktemp -d)
WINEPREFIX="$work/prefix" WINEDEBUG=-all
export WINEPREFIX WINEDEBUG
wineserver=$(dirname "$(command -v "$wine" || echo "$wine")")/wineserver
trap '"$wineserver" -k 2> /dev/null; rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The entries of the system's PATH, one a line (an empty entry is none).
path_entries() {
  "$wine" reg query "$environment" /v PATH | tr -d '\r' | sed -n 's/^ *PATH *REG_[A-Z_]* *//p' | tr ';' '\n' |
    grep -v '^$'
}
# The installed programs' names and versions, as Windows lists them.
installed() {
  "$wine" reg query "$uninstall" /s | tr -d '\r' | sed -n 's/^ *Display\(Name\|Version\) *REG_SZ *//p'
}
# Installs (/i) or uninstalls (/x) the .msi $2, silently.
msiexec() {
  "$wine" msiexec "$1" "$("$wine" winepath -w "$2" | tr -d '\r')" /qn || fail "msiexec $1 $(basename "$2")"
  "$wineserver" -w
}

"$wine" wineboot --init > /dev/null 2>&1
"$wineserver" -w
(cd "$WINEPREFIX/drive_c" && find . -type f | sort) > "$work/files.before"
path_entries > "$work/path.before"
installed > "$work/installed.before"

msiexec /i "$msi"
folder="$WINEPREFIX/drive_c/Program Files/orba-tools"
[ "$(path_entries | grep -cx 'C:\\Program Files\\orba-tools\\')" -eq 1 ] ||
  fail "the folder is not once on the PATH: $(path_entries | tr '\n' ';')"
for file in README.txt man/batchcheck.html; do
  [ -f "$folder/$file" ] || fail "$file is not installed"
done
for exe in "$root"/*.exe; do
  program=$(basename "$exe" .exe)
  out=$("$wine" cmd /c "$program --version" | tr -d '\r')
  [ "$out" = "$program $version" ] || fail "$program --version from a new prompt: \"$out\""
done

newer=$(echo "$version" | awk -F. '{ print $1 + 1 ".0.0" }')
"$cmake" -DROOT="$root" -DVERSION="$newer" -DWXS="$work/newer.wxs" -DMSI="$work/newer.msi" -P "$script" > /dev/null ||
  { echo "FAIL: cannot build a newer installer"; exit 1; }
msiexec /i "$work/newer.msi"
[ "$(installed | grep -c '^orba-tools$')" -eq 1 ] && installed | grep -qx "$newer" ||
  fail "not one orba-tools $newer among the installed programs: $(installed | tr '\n' ' ')"
[ "$(path_entries | grep -cx 'C:\\Program Files\\orba-tools\\')" -eq 1 ] ||
  fail "after the upgrade, the folder is not once on the PATH: $(path_entries | tr '\n' ';')"

msiexec /x "$work/newer.msi"
[ ! -e "$folder" ] || fail "the uninstall left $(cd "$folder" && find . | tr '\n' ' ')"
(cd "$WINEPREFIX/drive_c" && find . -type f | sort) > "$work/files.after"
diff "$work/files.before" "$work/files.after" > /dev/null || fail "the uninstall left files or took some:
$(diff "$work/files.before" "$work/files.after")"
path_entries | diff "$work/path.before" - > /dev/null || fail "the PATH is not as it was: $(path_entries | tr '\n' ';')"
installed | diff "$work/installed.before" - > /dev/null || fail "orba-tools is still among the installed programs"

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$msi"): puts every program on the PATH, a newer one replaces it, its uninstall leaves nothing"
