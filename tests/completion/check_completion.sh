#!/usr/bin/env bash
# Loads the bash completion of every program and asks it what a user's Tab
# would: each file registers a completion for the program it is named after,
# pagesim offers the page types (every page that pagesim-gallery writes) after
# a template, file names where a file is expected, options where one is,
# those a program's --help lists.
# Usage: check_completion.sh COMPLETION_DIR PAGESIM_GALLERY
# (the programs beside PAGESIM_GALLERY are those whose --help is read)
set -u
completions=$1 gallery=$2
PATH=$(cd "$(dirname "$gallery")" && pwd):$PATH
# shellcheck source=tests/support/checks.sh
. "$(dirname "$0")/../support/checks.sh"
private_folder

for file in "$completions"/*; do
  name=$(basename "$file")
  [ "$name" = CMakeLists.txt ] && continue
  # shellcheck source=/dev/null
  source "$file"
  complete -p "$name" > /dev/null 2>&1 || fail "$file completes no program named $name"
done

# The answers to a command line of the words $@ as bash cuts them, the
# cursor at the end of the last one: one a line, sorted.
answers() {
  local function
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  function=$(complete -p "$1" | sed -n 's/.*-F \([^ ]*\).*/\1/p')
  COMPREPLY=()
  "$function"
  [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort
}

# Holds the answers to the words after $1 against the lines of $1.
expect() {
  local expected=$1 got
  shift
  got=$(answers "$@")
  [ "$got" = "$expected" ] || fail "\"$*\" completes to [$(echo $got)], not [$(echo $expected)]"
}

cd "$work" || exit 1
mkdir shop "shop batches"
touch shop.html req.txt "shop batches/Request 12.txt"
printf '#\n' > parameters
printf '<body>\n[ORBA]\n' > template.html

"$gallery" template.html gallery > /dev/null || fail "pagesim-gallery wrote no gallery"
page_types=$(cd gallery && ls ./*.en.html | sed 's|^\./||; s|\.en\.html$||' | tr '[:lower:]' '[:upper:]' | sort)
[ "$(echo "$page_types" | wc -l)" -eq 16 ] || fail "pagesim-gallery wrote no 16 pages: $page_types"
expect "$page_types" pagesim shop.html ""
expect "$(printf 'UPDATE_CARD_ACCEPTED\nUPDATE_CARD_CAPTURE\nUPDATE_CARD_REFUSED')" pagesim shop.html UPDATE_C
expect "$(printf 'shop\nshop batches\nshop.html')" pagesim sh
expect "--version" pagesim --v
expect "" pagesim shop.html MENU ""

expect "" batchcheck SH
expect "req.txt" batchcheck SHOP1 FR re
expect "shop batches/Request 12.txt" batchcheck SHOP1 FR 'shop\ batches/R'
expect "shop batches/Request 12.txt" batchcheck SHOP1 FR '"shop batches/R'
expect "" batchcheck SHOP1 FR req.txt resp 1

expect "$(printf -- '--as\n--findings\n--help\n--json\n--junit\n--records\n--request\n--version')" batchcheck-describe --
expect "$(printf -- '--as\n--findings\n--json\n--junit\n--records\n--request')" batchcheck-describe --json --
expect "$(printf 'request\nresponse')" batchcheck-describe --as ""
expect "req.txt" batchcheck-describe --request re
expect "" batchcheck-describe --records ""
expect "req.txt" batchcheck-describe --records = 3-5 --findings re
expect "" batchcheck-describe req.txt ""
expect "$(printf -- '--file-number\n--footer-rest')" batchcheck-make --f
expect "$(printf 'crlf\nlf')" batchcheck-make --line-end ""
expect "" batchcheck-make --country ""
expect "req.txt" batchcheck-make --country = FR --json re
expect "" batchcheck-make --json req.txt out.txt ""

expect "$(printf 'shop\nshop batches')" pagesim-gallery template.html sh
expect "--watch" pagesim-gallery template.html --w
expect "$(printf 'shop\nshop batches')" pagesim-gallery --watch template.html sh

finish "bash completes every program's options, file names and pagesim's page types"
