#!/bin/sh
# Runs both tools on the bundled examples. Argument: the build folder.
set -e
echo "(demo not ready yet)"
