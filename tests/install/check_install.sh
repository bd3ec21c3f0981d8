#!/bin/sh
# Installs the build into a temporary prefix, then runs the installed programs
# the way a user would, from PATH, and looks for their manual pages.
# Usage: check_install.sh CMAKE BUILD_DIR BINDIR MANDIR DATAROOTDIR EXAMPLES_DIR VERSION
# (BINDIR, MANDIR and DATAROOTDIR relative to the prefix, as GNUInstallDirs
# names them).
set -u
cmake=$1 build=$2 bindir=$3 mandir=$4 datarootdir=$5 examples=$6 version=$7
# shellcheck source=tests/support/checks.sh
. "$(dirname "$0")/../support/checks.sh"
private_folder
prefix=$work

"$cmake" --install "$build" --prefix "$prefix" || { echo "FAIL: cmake --install"; exit 1; }
PATH="$prefix/$bindir:$PATH"
export PATH

for program in batchcheck batchcheck-describe batchcheck-make pagesim pagesim-gallery; do
  [ -x "$prefix/$bindir/$program" ] || fail "$bindir/$program is not installed"
  [ -f "$prefix/$datarootdir/bash-completion/completions/$program" ] ||
    fail "$datarootdir/bash-completion/completions/$program is not installed"
done
# Every installed program has its manual page and answers --help and
# --version alone, on standard output with status 0.
for program in $(ls "$prefix/$bindir"); do
  [ -f "$prefix/$mandir/man1/$program.1.gz" ] || [ -f "$prefix/$mandir/man1/$program.1" ] ||
    fail "$mandir/man1/$program.1 is not installed"
  out=$("$program" --version)
  status=$?
  [ "$status" -eq 0 ] && [ "$out" = "$program $version" ] || fail "$program --version: \"$out\", status $status"
  out=$("$program" --help)
  status=$?
  [ "$status" -eq 0 ] || fail "$program --help exits $status"
  case "$out" in
    *"$program"*"man $program"*) ;;
    *) fail "$program --help does not show its command line and manual: $out" ;;
  esac
done

out=$(batchcheck)
status=$?
[ "$status" -eq 1 ] || fail "batchcheck without arguments exits $status, not 1"
expected="Error  : usage is batchcheck <merchant_id> <merchant_country> <request_file> <response_file> <file_number>"
[ "$out" = "$expected" ] || fail "batchcheck usage line: $out"
# Any other single argument is a wrong command line, as it always was.
out=$(batchcheck -help)
status=$?
[ "$status" -eq 1 ] && [ "$out" = "$expected" ] || fail "batchcheck -help: \"$out\", status $status"

out=$(pagesim)
status=$?
[ "$status" -eq 1 ] || fail "pagesim without arguments exits $status, not 1"
case "$out" in
  "usage is: "*"pagesim merchant_template RECORD_CAPTURE > test.html"*) ;;
  *) fail "pagesim usage text: $out" ;;
esac
usage=$out
out=$(pagesim --versions)
status=$?
[ "$status" -eq 1 ] && [ "$out" = "$usage" ] || fail "pagesim --versions: \"$out\", status $status"

# The installed programs do real work, run from the user's own folder.
home="$prefix/home"
mkdir "$home" && cp "$examples/request.txt" "$examples/parameters" "$examples/template.html" "$home/"
(cd "$home" && batchcheck SHOP1 FR request.txt response.txt 12 > /dev/null) || fail "batchcheck on the example batch"
[ "$(wc -c < "$home/response.txt")" -gt 400 ] || fail "batchcheck wrote no full response for the example batch"
(cd "$home" && batchcheck-describe --findings request.txt 12 > /dev/null) || fail "batchcheck-describe on the example batch"
(cd "$home" && batchcheck-describe --json request.txt | batchcheck-make --json - copy.txt) &&
  cmp -s "$home/request.txt" "$home/copy.txt" || fail "batchcheck-make does not write back the example batch describe shows"
(cd "$home" && pagesim template.html MENU > menu.html) || fail "pagesim on the example template"
grep -q '</body></html>' "$home/menu.html" || fail "pagesim wrote no whole page"
(cd "$home" && pagesim-gallery template.html gallery > /dev/null) || fail "pagesim-gallery on the example template"
cmp -s "$home/menu.html" "$home/gallery/menu.en.html" || fail "pagesim-gallery's English MENU is not pagesim's"

finish "installed into $prefix: every program runs and has its manual page"
