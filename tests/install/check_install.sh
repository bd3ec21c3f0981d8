#!/bin/sh
# Installs the build into a temporary prefix, then runs the installed programs
# the way a user would, from PATH, and looks for their manual pages.
# Usage: check_install.sh CMAKE BUILD_DIR BINDIR MANDIR EXAMPLES_DIR
# (BINDIR and MANDIR relative to the prefix, as GNUInstallDirs names them).
set -u
cmake=$1 build=$2 bindir=$3 mandir=$4 examples=$5
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" || { echo "FAIL: cmake --install"; exit 1; }
PATH="$prefix/$bindir:$PATH"
export PATH

for program in batchcheck batchcheck-describe pagesim; do
  [ -x "$prefix/$bindir/$program" ] || fail "$bindir/$program is not installed"
  [ -f "$prefix/$mandir/man1/$program.1" ] || [ -f "$prefix/$mandir/man1/$program.1.gz" ] || fail "$mandir/man1/$program.1 is not installed"
done

out=$(batchcheck)
status=$?
[ "$status" -eq 1 ] || fail "batchcheck without arguments exits $status, not 1"
expected="Error  : usage is batchcheck <merchant_id> <merchant_country> <request_file> <response_file> <file_number>"
[ "$out" = "$expected" ] || fail "batchcheck usage line: $out"

out=$(pagesim)
status=$?
[ "$status" -eq 1 ] || fail "pagesim without arguments exits $status, not 1"
case "$out" in
  "usage is: "*"pagesim merchant_template RECORD_CAPTURE > test.html"*) ;;
  *) fail "pagesim usage text: $out" ;;
esac

# The installed programs do real work, run from the user's own folder.
work="$prefix/work"
mkdir "$work" && cp "$examples/request.txt" "$examples/parameters" "$examples/template.html" "$work/"
(cd "$work" && batchcheck SHOP1 FR request.txt response.txt 12 > /dev/null) || fail "batchcheck on the example batch"
[ "$(wc -c < "$work/response.txt")" -gt 400 ] || fail "batchcheck wrote no full response for the example batch"
(cd "$work" && batchcheck-describe --findings request.txt 12 > /dev/null) || fail "batchcheck-describe on the example batch"
(cd "$work" && pagesim template.html MENU > menu.html) || fail "pagesim on the example template"
grep -q '</body></html>' "$work/menu.html" || fail "pagesim wrote no whole page"

[ "$failures" -eq 0 ] || exit 1
echo "installed into $prefix: the programs run, their manual pages present"
