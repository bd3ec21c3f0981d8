#!/bin/sh
# Runs both tools on the bundled examples. Argument: the build folder.
set -e
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out="$build/demo"
mkdir -p "$out"
# The shop's logo, stylesheet and background stand beside its template, as
# the server requires.
cp "$here/request.txt" "$here/parameters" "$here/template.html" "$here/shop.css" "$here/logo.png" \
  "$here/beans.png" "$out/"
cd "$out"

echo "== batchcheck SHOP1 FR request.txt response.txt 12"
"$build/bin/batchcheck" SHOP1 FR request.txt response.txt 12
echo
echo "== pagesim template.html RECORD_CAPTURE > record_capture.html"
"$build/bin/pagesim" template.html RECORD_CAPTURE > record_capture.html
echo
echo "== pagesim-gallery template.html gallery"
"$build/bin/pagesim-gallery" template.html gallery
echo
echo "Response file: $out/response.txt"
echo "Page preview:  $out/record_capture.html"
echo "Page gallery:  $out/gallery/index.html (open it in a browser)"
