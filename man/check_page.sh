#!/bin/sh
# Formats a manual page with every warning turned on and fails on any message:
# with groff (Debian's groff-base) and with mandoc's linter, each one that is
# installed. Exits 77 (skipped) when neither is.
# Usage: check_page.sh PAGE
page=$1
checked=""
if command -v groff > /dev/null; then
  messages=$(groff -ww -man -Tutf8 -z "$page" 2>&1) && [ -z "$messages" ] || { echo "$page (groff):"; echo "$messages"; exit 1; }
  checked="groff"
fi
if command -v mandoc > /dev/null; then
  messages=$(mandoc -T lint -W warning "$page" 2>&1) && [ -z "$messages" ] || { echo "$page (mandoc):"; echo "$messages"; exit 1; }
  checked="$checked${checked:+ and }mandoc"
fi
if [ -z "$checked" ]; then
  echo "SKIPPED: neither groff nor mandoc is installed (bash .ci/run installs both)"
  exit 77
fi
echo "$page formats without warnings ($checked)"
