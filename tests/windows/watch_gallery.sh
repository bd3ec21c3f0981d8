#!/bin/sh
# The watching gallery on Windows, under Wine: pagesim-gallery.exe --watch
# writes the example shop's gallery, writes it anew after a save of the
# template, and ends on Ctrl-C (SIGINT, which Wine hands to the program as
# the console's Ctrl-C event) with Ctrl-C's status, every page there and no
# temporary file left.
# Usage: watch_gallery.sh WINE PAGESIM_GALLERY_EXE EXAMPLES_DIR WORK_DIR
wine=$1 gallery=$2 examples=$3 work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
cp "$examples"/template.html "$examples"/parameters "$examples"/*.css "$examples"/*.png . || exit 1

$wine "$gallery" --watch template.html gallery > watch.txt &
pid=$!
fail() {
  echo "FAILED: $1"
  kill -TERM "$pid" 2> /dev/null
  exit 1
}
# Waits until the watch has written $1 lines, for a minute at most.
wait_lines() {
  tries=0
  while [ "$( (cat watch.txt 2> /dev/null) | wc -l)" -lt "$1" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 300 ] || fail "the watch wrote no line $1 within a minute"
    sleep 0.2
  done
}

wait_lines 1
sed 's/<h2>Example Coffee Shop/<h2>Example Coffee Roasters/' template.html > saved.html && mv saved.html template.html
wait_lines 2
grep -q 'Example Coffee Roasters' gallery/menu.en.html || fail "the gallery does not show the saved template"
kill -INT "$pid"
status=0
wait "$pid" || status=$?
cat watch.txt
# 0xC000013A, the status of a console program ended by Ctrl-C, as Wine gives it.
[ "$status" -eq 58 ] || fail "exit status $status after Ctrl-C, expected 58"
[ -z "$(ls gallery | grep '\.tmp$')" ] || fail "temporary files left: $(ls gallery | grep '\.tmp$')"
[ "$(ls gallery | grep -c '\.html$')" -eq 33 ] || fail "the gallery is not whole: $(ls gallery)"
[ -f gallery/VISA.gif ] && [ -f gallery/logo.png ] || fail "the stand-ins or the copies are missing"
echo "the watch followed the save and ended whole on Ctrl-C"
