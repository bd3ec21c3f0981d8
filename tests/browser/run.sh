#!/bin/sh
# Renders the gallery of the bundled example shop with pagesim-gallery, once
# as bundled and once with NO_COPYRIGHT added to its Parameters file, then
# opens every page in headless Chromium (pages.test.mjs), and runs a
# watching gallery of its own.
# Exits 77 (skipped) when node, Chromium or playwright-core is missing.
#
# Usage: run.sh PAGESIM_GALLERY WORK_DIR SCREENSHOT_DIR
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

# Each gallery from a shop folder of its own, as a merchant runs it; the
# watch test writes its own from watch.shop.
rm -rf "$2"
for shop in gallery no_copyright watch; do
  mkdir -p "$2/$shop.shop"
  cp "$examples"/template.html "$examples"/parameters "$examples"/*.css "$examples"/*.png "$2/$shop.shop/"
done
echo NO_COPYRIGHT >> "$2/no_copyright.shop/parameters"
for shop in gallery no_copyright; do
  (cd "$2/$shop.shop" && "$1" template.html "../$shop")
done
CHROMIUM="$chromium" exec node "$here/pages.test.mjs" "$2/gallery" "$2/no_copyright" "$examples/template.html" "$3" \
  "$1" "$2/watch.shop"
