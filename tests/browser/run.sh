#!/bin/sh
# Renders the pagesim gallery, once as bundled and once with NO_COPYRIGHT, then
# opens every page in headless Chromium (pages.test.mjs).
# Exits 77 (skipped) when node, Chromium or playwright-core is missing.
#
# Usage: run.sh PAGESIM WORK_DIR SCREENSHOT_DIR
set -e
here=$(cd "$(dirname "$0")" && pwd)
examples="$here/../../examples"
chromium=${CHROMIUM:-/usr/bin/chromium}

skip() {
  echo "SKIPPED: $1"
  exit 77
}
command -v node > /dev/null || skip "node is not installed"
[ -x "$chromium" ] || skip "$chromium is missing (apt-get install chromium)"
[ -d "$here/node_modules/playwright-core" ] || skip "playwright-core is missing (run npm ci in tests/browser)"

rm -rf "$2"
sh "$examples/gallery.sh" "$1" "$2/gallery"
sh "$examples/gallery.sh" "$1" "$2/no_copyright" NO_COPYRIGHT
CHROMIUM="$chromium" exec node "$here/pages.test.mjs" "$2/gallery" "$2/no_copyright" "$examples/template.html" "$3"
