#!/bin/sh
# Lists the tests that the last ctest run in BUILD_DIR skipped, one line each
# with the reason the test printed ("SKIPPED: reason", the convention of every
# test that can be skipped), e.g.
#   browser.pages skipped: /usr/bin/chromium is missing (apt-get install chromium)
# Usage: report_skips.sh BUILD_DIR
log="$1/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
awk '
  /^[0-9]+\/[0-9]+ Test: / { name = $3 }
  /^SKIPPED: / && name != "" { sub(/^SKIPPED: /, ""); print name " skipped: " $0; name = "" }
' "$log"
