#!/bin/sh
# Formats a manual page with every warning turned on and fails on any message.
# Uses groff (Debian's groff-base) or, without it, mandoc's linter; exits 77
# (skipped) when neither is installed.
# Usage: check_page.sh PAGE
page=$1
if command -v groff > /dev/null; then
  messages=$(groff -ww -man -Tutf8 -z "$page" 2>&1) || { echo "$messages"; exit 1; }
elif command -v mandoc > /dev/null; then
  messages=$(mandoc -T lint -W warning "$page" 2>&1) || { echo "$messages"; exit 1; }
else
  echo "SKIPPED: neither groff nor mandoc is installed (apt-get install groff-base)"
  exit 77
fi
if [ -n "$messages" ]; then
  echo "$page:"
  echo "$messages"
  exit 1
fi
echo "$page formats without warnings"
