#!/usr/bin/env bash
# Times batchcheck and pagesim on big generated inputs, each beside a baseline
# measured in the same run on the same file: reading the Request file and
# writing a copy with dd for batchcheck, cat of the template for pagesim.
# Prints medians of several runs as a Markdown table, then the targets.
#
# Usage: bench/run_bench.sh BUILD_DIR   (a Release build holding batchcheck,
#        pagesim and gen_request). BENCH_RUNS sets the runs per row (5).
set -euo pipefail

build=$(cd "${1:?usage: run_bench.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-5}
work="$build/bench-data"
mkdir -p "$work"
cd "$work"

if [ ! -x /usr/bin/time ]; then
  echo "Installing Debian's time package for peak memory readings"
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time
fi
use_perf=false
if command -v perf >/dev/null && perf stat -x, -e task-clock -o /dev/null true 2>/dev/null; then use_perf=true; fi

# Median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# measure OUT CMD...: runs CMD `runs` times with standard output into OUT and
# sets WALL_MS, CPU_MS (user + system) and RSS_MB to the medians.
measure() {
  local out=$1; shift
  local walls=() cpus=() rss=() start end e u s m
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    /usr/bin/time -f "%e %U %S %M" -o time.txt "$@" >"$out" 2>/dev/null || true
    end=$EPOCHREALTIME
    read -r e u s m < <(tail -n 1 time.txt)
    walls+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) * 1000 }')")
    cpus+=("$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.0f", (u + s) * 1000 }')")
    rss+=("$(awk -v m="$m" 'BEGIN { printf "%.1f", m / 1024 }')")
  done
  WALL_MS=$(printf '%s\n' "${walls[@]}" | median)
  CPU_MS=$(printf '%s\n' "${cpus[@]}" | median)
  RSS_MB=$(printf '%s\n' "${rss[@]}" | median)
}

# Median process time (user + system, ms, to 0.01 ms) from perf's task clock.
process_ms() {
  local values=()
  for ((i = 0; i < runs; i++)); do
    perf stat -x, -e task-clock -o perf.txt "$@" >/dev/null 2>&1 || true
    values+=("$(awk -F, '/task-clock/ { printf "%.2f", $1 }' perf.txt)")
  done
  printf '%s\n' "${values[@]}" | median
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

rows=()
declare -A wall peak
# row NAME BYTES TOOL_OUT BASE_NAME BASE_OUT BASE... -- TOOL...
row() {
  local name=$1 bytes=$2 tool_out=$3 base_name=$4 base_out=$5; shift 5
  local base=()
  while [ "$1" != "--" ]; do base+=("$1"); shift; done
  shift
  measure "$base_out" "${base[@]}"
  local base_wall=$WALL_MS base_rss=$RSS_MB
  measure "$tool_out" "$@"
  wall[$name]=$WALL_MS
  peak[$name]=$RSS_MB
  wall[$name.base]=$base_wall
  rows+=("| $name | $bytes | $WALL_MS | $CPU_MS | $RSS_MB | $base_name | $base_wall | $base_rss | $(ratio "$WALL_MS" "$base_wall") |")
}

gen="$build/tools/gen_request"
batchcheck="$build/batchcheck/batchcheck"
pagesim="$build/pagesim/pagesim"

echo "Generating the inputs in $work"
for n in 10000 100000 999999; do [ -s "req_$n" ] || "$gen" "$n" "req_$n"; done
[ -s req_foreign ] || "$gen" --foreign-bodies 999999 req_foreign
cp "$root/examples/parameters" parameters
make_template() {
  awk -v size="$1" 'BEGIN {
    line = "<p class=\"offer\">Fresh coffee every month, <img src=\"cup.gif\"> roasted in Paris</p>"
    print "<body bgcolor=\"#ffffff\">"; n = 25
    while (n < size / 2) { print line; n += length(line) + 1 }
    print "[ORBA]"; n += 7
    while (n < size) { print line; n += length(line) + 1 } }' >"$2"
}
[ -s template_16k.html ] || make_template 16384 template_16k.html
[ -s template_10m.html ] || make_template 10485760 template_10m.html

size() { stat -c %s "$1"; }
echo "Timing, $runs runs per row"
for n in 10000 100000 999999; do
  row "batchcheck $n" "$(size "req_$n")" console.txt "dd bs=64k" /dev/null dd if="req_$n" of=copy bs=64k status=none \
    -- "$batchcheck" SHOP1 FR "req_$n" resp 12
done
row "batchcheck 999999, a message per body" "$(size req_foreign)" console.txt "dd bs=64k" /dev/null \
  dd if=req_foreign of=copy bs=64k status=none -- "$batchcheck" SHOP1 FR req_foreign resp 12
row "batchcheck 999999, a warning per record" "$(size req_999999)" console.txt "dd bs=64k" /dev/null \
  dd if=req_999999 of=copy bs=64k status=none -- "$batchcheck" SHOP2 FR req_999999 resp 12
row "pagesim 16 KB" "$(size template_16k.html)" page.html "cat" copy cat template_16k.html -- \
  "$pagesim" template_16k.html RECORD_CAPTURE
row "pagesim 10 MB" "$(size template_10m.html)" page.html "cat" copy cat template_10m.html -- \
  "$pagesim" template_10m.html RECORD_CAPTURE
if $use_perf; then
  small_cpu=$(process_ms "$pagesim" template_16k.html RECORD_CAPTURE)
  small_source="perf stat task-clock"
else
  small_cpu=$(measure page.html "$pagesim" template_16k.html RECORD_CAPTURE; echo "$CPU_MS")
  small_source="user + system time, 10 ms resolution"
fi
rm -f copy resp page.html console.txt time.txt perf.txt

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
  "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo); load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| run | input bytes | wall ms | cpu ms | peak MiB | baseline | baseline wall ms | baseline peak MiB | wall / baseline |"
echo "|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
big=${wall[batchcheck 999999]}
check() { if awk -v v="$2" -v l="$3" 'BEGIN { exit !(v <= l) }'; then echo "  met     $1: $2 (limit $3)"; else echo "  MISSED  $1: $2 (limit $3)"; fi; }
echo "Targets (medians of this run):"
check "batchcheck 999999 / dd" "$(ratio "$big" "${wall[batchcheck 999999.base]}")" 4
check "batchcheck 999999 / batchcheck 10000" "$(ratio "$big" "${wall[batchcheck 10000]}")" 120
check "batchcheck, a message per body / dd" \
  "$(ratio "${wall[batchcheck 999999, a message per body]}" "${wall[batchcheck 999999, a message per body.base]}")" 8
check "pagesim 10 MB / cat" "$(ratio "${wall[pagesim 10 MB]}" "${wall[pagesim 10 MB.base]}")" 3
check "pagesim 16 KB process time, ms ($small_source)" "$small_cpu" 5
check "batchcheck 999999 peak memory, MiB" "${peak[batchcheck 999999]}" 64
