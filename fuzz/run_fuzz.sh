#!/bin/sh
# Runs each libFuzzer target for SECONDS from its seed corpus fuzz/corpus/<target>/
# (one folder per target, named after it). New inputs go to
# BUILD_DIR/corpus/<target>/, the seeds stay as they are; paths are absolute
# as each target works in a folder of its own. A crash, leak, hang or
# sanitizer report stops with an error and leaves the input in
# BUILD_DIR/findings/.
#
# Usage: fuzz/run_fuzz.sh BUILD_DIR [SECONDS]   (BUILD_DIR: the fuzz preset's
#        build, build/fuzz; SECONDS defaults to 60)
set -eu
build=$(cd "${1:?usage: run_fuzz.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-60}
seeds=$(cd "$(dirname "$0")/corpus" && pwd)

mkdir -p "$build/findings"
for corpus in "$seeds"/*/; do
  target=$(basename "$corpus")
  program="$build/fuzz/fuzz_$target"
  if [ ! -x "$program" ]; then
    echo "run_fuzz.sh: $program is not built (cmake --build --preset fuzz)" >&2
    exit 1
  fi
  echo "fuzzing $target for $seconds s"
  mkdir -p "$build/corpus/$target"
  log="$build/$target.log"
  if ! "$program" -max_total_time="$seconds" -max_len=65536 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$target-" "$build/corpus/$target" "$seeds/$target" 2> "$log"; then
    tail -n 60 "$log"
    exit 1
  fi
  grep -E '^(stat::number_of_executed_units|cov:|#[0-9]+.*DONE)' "$log" | tail -n 2
done
