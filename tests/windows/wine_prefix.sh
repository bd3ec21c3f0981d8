#!/bin/sh
# Makes the Wine prefix $WINEPREFIX ready for the end-to-end cases: boots it
# once (the first start is slow) and maps drive W: to the cases' folder.
# Arguments: the Wine loader, the folder drive W: stands for.
set -e
wine=$1
drive=$2
mkdir -p "$drive"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  $wine wineboot --init >/dev/null 2>&1
  # Wait for the prefix to be written out before the cases start.
  wineserver=$(dirname "$(command -v "$wine" || echo "$wine")")/wineserver
  [ -x "$wineserver" ] && "$wineserver" --wait || true
fi
ln -sfn "$drive" "$WINEPREFIX/dosdevices/w:"
