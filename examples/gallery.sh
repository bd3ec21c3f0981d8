#!/bin/sh
# Renders every pagesim page type, in English and in French, inside the bundled
# template, and writes an index.html that links them all.
#
# Usage: gallery.sh PAGESIM OUT_DIR [OPTION_LINE]
# Writes OUT_DIR/<page_type>.<en|fr>.html (the page type in lower case) and
# OUT_DIR/index.html. pagesim reads ./parameters, so each language is rendered
# from a folder of its own: OUT_DIR/en/ and OUT_DIR/fr/ hold the Parameters
# files used. OPTION_LINE, when given (for example NO_COPYRIGHT), is added to
# both Parameters files.
set -e
if [ $# -ne 2 ] && [ $# -ne 3 ]; then
  echo "usage: $0 PAGESIM OUT_DIR [OPTION_LINE]" >&2
  exit 2
fi
pagesim=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

page_types="RECORD_CAPTURE RECORD_ACCEPTED RECORD_REFUSED MENU LOGIN_REFUSED
VIEW_INFO UPDATE_INFO UPDATE_INFO_CONFIRM UPDATE_CARD_CAPTURE UPDATE_CARD_ACCEPTED
UPDATE_CARD_REFUSED DELETE_SUBSCRIPTION DELETE_SUBSCRIPTION_CONFIRM
UPDATE_PWD_CAPTURE_CARD UPDATE_PWD_CAPTURE_PWD UPDATE_PWD_CONFIRM"

cp "$here/template.html" "$out/template.html"
mkdir -p "$out/en" "$out/fr"
cp "$here/parameters" "$out/en/parameters"
cp "$here/parameters.fr" "$out/fr/parameters"
if [ -n "$3" ]; then
  for lang in en fr; do printf '%s\n' "$3" >> "$out/$lang/parameters"; done
fi

rows=""
count=0
for type in $page_types; do
  name=$(echo "$type" | tr 'A-Z' 'a-z')
  for lang in en fr; do
    # A page that pagesim refuses stops the gallery: set -e sees the status.
    (cd "$out/$lang" && "$pagesim" ../template.html "$type" > "../$name.$lang.html")
  done
  count=$((count + 2))
  rows="$rows<tr><td>$type</td><td><a href=\"$name.en.html\">English</a></td><td><a href=\"$name.fr.html\">Fran&ccedil;ais</a></td></tr>
"
done

cat > "$out/index.html" <<HTML
<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>pagesim page gallery</title>
<style>body{font-family:sans-serif;margin:2em}td{padding:.2em 1em}</style></head>
<body>
<h1>pagesim page gallery</h1>
<p>Every subscription page, rendered by pagesim inside examples/template.html
with examples/parameters (English) and examples/parameters.fr (French).</p>
<table>
<tr><th>Page type</th><th colspan="2">Preview</th></tr>
$rows</table>
</body></html>
HTML
echo "$count pages and index.html written into $out"
