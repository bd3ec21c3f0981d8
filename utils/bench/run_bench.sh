#!/usr/bin/env bash
# Times batchcheck, batchcheck-describe, batchcheck-make and pagesim on big
# generated inputs, each beside a baseline measured in the same run: reading
# the Request file and writing a copy with dd for the batch tools (for
# batchcheck-make, a copy of the batch it writes), cat of the template for
# pagesim. Then times the watching gallery of the example shop after a save.
# Prints medians of several runs as a Markdown table, then the targets.
#
# Usage: utils/bench/run_bench.sh BUILD_DIR   (a Release build holding batchcheck,
#        batchcheck-describe, batchcheck-make, pagesim, pagesim-gallery and gen_request). BENCH_RUNS sets the
#        runs per row (5).
set -euo pipefail

build=$(cd "${1:?usage: run_bench.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${BENCH_RUNS:-5}
work="$build/bench-data"
mkdir -p "$work"
cd "$work"

# The peak memory readings come from GNU time; the benchmark installs nothing
# itself, it says what is missing and stops.
if [ ! -x /usr/bin/time ]; then
  echo "run_bench.sh: /usr/bin/time is missing, which gives the peak memory readings (apt-get install time)" >&2
  exit 1
fi
use_perf=false
if command -v perf >/dev/null && perf stat -x, -e task-clock -o /dev/null true 2>/dev/null; then use_perf=true; fi

# Median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# run_once OUT CMD...: one run of CMD with standard output into OUT; prints
# its wall time (ms), process time (user + system, ms: perf's task clock when
# perf works here, else /usr/bin/time's 10 ms ticks) and peak memory (MiB).
run_once() {
  local out=$1; shift
  local start end e u s m cpu
  start=$EPOCHREALTIME
  if $use_perf; then
    perf stat -x, -e task-clock -o perf.txt /usr/bin/time -f "%e %U %S %M" -o time.txt "$@" >"$out" 2>/dev/null || true
  else
    /usr/bin/time -f "%e %U %S %M" -o time.txt "$@" >"$out" 2>/dev/null || true
  fi
  end=$EPOCHREALTIME
  read -r e u s m < <(tail -n 1 time.txt)
  if $use_perf; then
    cpu=$(awk -F, '/task-clock/ { printf "%.1f", $1 }' perf.txt)
  else
    cpu=$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.0f", (u + s) * 1000 }')
  fi
  awk -v a="$start" -v b="$end" -v c="$cpu" -v m="$m" 'BEGIN { printf "%.1f %s %.1f\n", (b - a) * 1000, c, m / 1024 }'
}

# compare BASE_OUT BASE... -- TOOL_OUT TOOL...: runs the baseline and the tool
# in turn, `runs` times each, so both meet the same load; sets BASE_WALL,
# BASE_CPU, BASE_RSS, WALL_MS, CPU_MS and RSS_MB to the medians.
compare() {
  local base_out=$1; shift
  local base=()
  while [ "$1" != "--" ]; do base+=("$1"); shift; done
  shift
  local tool_out=$1; shift
  : >base.txt
  : >tool.txt
  for ((i = 0; i < runs; i++)); do
    run_once "$base_out" "${base[@]}" >>base.txt
    run_once "$tool_out" "$@" >>tool.txt
  done
  BASE_WALL=$(cut -d' ' -f1 base.txt | median)
  BASE_CPU=$(cut -d' ' -f2 base.txt | median)
  BASE_RSS=$(cut -d' ' -f3 base.txt | median)
  WALL_MS=$(cut -d' ' -f1 tool.txt | median)
  CPU_MS=$(cut -d' ' -f2 tool.txt | median)
  RSS_MB=$(cut -d' ' -f3 tool.txt | median)
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
declare -A wall cpu peak base_wall
# row NAME BYTES TOOL_OUT BASE_NAME BASE_OUT BASE... -- TOOL...
row() {
  local name=$1 bytes=$2 tool_out=$3 base_name=$4 base_out=$5; shift 5
  local base=()
  while [ "$1" != "--" ]; do base+=("$1"); shift; done
  shift
  compare "$base_out" "${base[@]}" -- "$tool_out" "$@"
  wall[$name]=$WALL_MS
  cpu[$name]=$CPU_MS
  peak[$name]=$RSS_MB
  base_wall[$name]=$BASE_WALL
  rows+=("| $name | $bytes | $WALL_MS | $CPU_MS | $RSS_MB | $base_name | $BASE_WALL | $BASE_CPU | $(ratio "$WALL_MS" "$BASE_WALL") | $(ratio "$CPU_MS" "$BASE_CPU") |")
}

gen="$build/bin/gen_request"
batchcheck="$build/bin/batchcheck"
describe="$build/bin/batchcheck-describe"
make="$build/bin/batchcheck-make"
pagesim="$build/bin/pagesim"
gallery="$build/bin/pagesim-gallery"

echo "Generating the inputs in $work"
for n in 10000 100000 999999; do [ -s "req_$n" ] || "$gen" "$n" "req_$n"; done
[ -s req_foreign ] || "$gen" --foreign-bodies 999999 req_foreign
# The Response batchcheck writes for the biggest batch, as describe reads it.
[ -s resp_999999 ] || "$batchcheck" SHOP1 FR req_999999 resp_999999 12 >/dev/null
# A table of 999,999 subscriptions as a merchant's export would have them.
[ -s table_999999.csv ] || awk 'BEGIN {
  print "transaction_id,body_zone_2,body_zone_3,body_zone_4,body_zone_5,answer"
  for (i = 1; i <= 999999; i++)
    printf "T%05d,CUST%08d,EUR,\"subscriber %d, monthly plan\",ref-%05d,%02d\n", i % 100000, i, i, i * 31 % 100000, i % 100 }' \
  >table_999999.csv
[ -s made_999999 ] || "$make" --merchant-id SHOP1 --country FR --file-number 12 table_999999.csv made_999999
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
row "batchcheck-describe 999999, --json --findings" "$(size req_999999)" console.txt "dd bs=64k" /dev/null \
  dd if=req_999999 of=copy bs=64k status=none -- "$describe" --json --findings req_999999 12
row "batchcheck-describe 999999 Response, --json --findings" "$(size resp_999999)" console.txt "dd bs=64k" /dev/null \
  dd if=resp_999999 of=copy bs=64k status=none -- "$describe" --json --findings resp_999999
row "batchcheck-make 999999 rows from CSV" "$(size table_999999.csv)" console.txt "dd bs=64k of the batch" /dev/null \
  dd if=made_999999 of=copy bs=64k status=none -- "$make" --merchant-id SHOP1 --country FR --file-number 12 \
  table_999999.csv made_copy
row "batchcheck-describe --json | batchcheck-make --json, 999999" "$(size req_999999)" console.txt "dd bs=64k" \
  /dev/null dd if=req_999999 of=copy bs=64k status=none -- \
  bash -c "'$describe' --json req_999999 | '$make' --json - round_trip"
cmp -s req_999999 round_trip || { echo "run_bench.sh: the JSON round trip did not give the batch back" >&2; exit 1; }
row "pagesim 16 KB" "$(size template_16k.html)" page.html "cat" copy cat template_16k.html -- \
  "$pagesim" template_16k.html RECORD_CAPTURE
row "pagesim 10 MB" "$(size template_10m.html)" page.html "cat" copy cat template_10m.html -- \
  "$pagesim" template_10m.html RECORD_CAPTURE
if $use_perf; then
  small_cpu=$(process_ms "$pagesim" template_16k.html RECORD_CAPTURE)
  small_source="perf stat task-clock"
else
  small_cpu=${cpu[pagesim 16 KB]}
  small_source="user + system time, 10 ms resolution"
fi

# The watching gallery of the example shop: after each of `runs` saves of the
# template, the process time the watch spends writing the whole gallery anew
# (perf attached to it for all the saves, else its clock ticks), and the wall
# time from the save to its line (which includes the watch's look every 50 ms
# and its wait for the file to hold still). Beside it, one plain run of
# pagesim-gallery on the same shop, from start to exit.
shop="$work/watch_shop"
rm -rf "$shop"
mkdir -p "$shop"
cp "$root/examples/template.html" "$root/examples/parameters" "$root/examples"/*.css "$root/examples"/*.png "$shop/"
cd "$shop"
: >base.txt
for ((i = 0; i < runs; i++)); do run_once /dev/null "$gallery" template.html plain >>base.txt; done
one_shot_wall=$(cut -d' ' -f1 base.txt | median)
one_shot_cpu=$(cut -d' ' -f2 base.txt | median)
"$gallery" --watch template.html gallery >watch.txt 2>/dev/null &
watch_pid=$!
cd "$work"
# Waits until the watch has written `1` lines; gives up after 10 s.
watch_lines() {
  for ((w = 0; w < 1000; w++)); do
    [ -s "$shop/watch.txt" ] && [ "$(wc -l <"$shop/watch.txt")" -ge "$1" ] && return 0
    sleep 0.01
  done
  echo "run_bench.sh: the watching gallery wrote no line $1" >&2
  return 1
}
ticks() { awk '{ print $14 + $15 }' "/proc/$watch_pid/stat"; }
watch_lines 1
if $use_perf; then
  perf stat -x, -e task-clock -p "$watch_pid" -o perf_watch.txt &
  perf_pid=$!
  sleep 0.5
fi
ticks_before=$(ticks)
: >save_wall.txt
for ((i = 1; i <= runs; i++)); do
  start=$EPOCHREALTIME
  echo "<!-- save $i -->" >>"$shop/template.html"
  watch_lines $((i + 1))
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }' >>save_wall.txt
done
ticks_after=$(ticks)
watch_peak=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$watch_pid/status")
if $use_perf; then
  kill -INT "$perf_pid"
  wait "$perf_pid" || true
  save_cpu=$(awk -F, -v n="$runs" '/task-clock/ { printf "%.1f", $1 / n }' perf_watch.txt)
  save_source="perf stat task-clock"
else
  save_cpu=$(awk -v t=$((ticks_after - ticks_before)) -v hz="$(getconf CLK_TCK)" -v n="$runs" \
    'BEGIN { printf "%.1f", t * 1000 / hz / n }')
  save_source="clock ticks of /proc, averaged"
fi
kill -TERM "$watch_pid"
wait "$watch_pid" || true
save_wall=$(median <save_wall.txt)
rows+=("| pagesim-gallery --watch, a save of the example shop | $(size "$shop/template.html") | $save_wall | $save_cpu | $watch_peak | pagesim-gallery, one run | $one_shot_wall | $one_shot_cpu | $(ratio "$save_wall" "$one_shot_wall") | $(ratio "$save_cpu" "$one_shot_cpu") |")
rm -f copy resp page.html console.txt time.txt perf.txt perf_watch.txt save_wall.txt base.txt tool.txt made_copy \
  round_trip "$shop"/*.txt

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
  "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo); load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "Process time: $($use_perf && echo "perf stat task-clock" || echo "user + system from /usr/bin/time")"
echo
echo "| run | input bytes | wall ms | process ms | peak MiB | baseline | baseline wall ms | baseline process ms | wall / baseline | process / baseline |"
echo "|---|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
big=${wall[batchcheck 999999]}
check() { if awk -v v="$2" -v l="$3" 'BEGIN { exit !(v <= l) }'; then echo "  met     $1: $2 (limit $3)"; else echo "  MISSED  $1: $2 (limit $3)"; fi; }
echo "Targets (medians of this run):"
check "batchcheck 999999 / dd" "$(ratio "$big" "${base_wall[batchcheck 999999]}")" 2.5
check "batchcheck 999999 / batchcheck 10000" "$(ratio "$big" "${wall[batchcheck 10000]}")" 120
check "batchcheck, a message per body / dd" \
  "$(ratio "${wall[batchcheck 999999, a message per body]}" "${base_wall[batchcheck 999999, a message per body]}")" 8
check "batchcheck-describe --json --findings 999999 / dd" \
  "$(ratio "${wall[batchcheck-describe 999999, --json --findings]}" "${base_wall[batchcheck-describe 999999, --json --findings]}")" 3
check "batchcheck-describe --json --findings 999999 Response / dd" \
  "$(ratio "${wall[batchcheck-describe 999999 Response, --json --findings]}" "${base_wall[batchcheck-describe 999999 Response, --json --findings]}")" 3
check "batchcheck-make 999999 rows from CSV / dd of the batch" \
  "$(ratio "${wall[batchcheck-make 999999 rows from CSV]}" "${base_wall[batchcheck-make 999999 rows from CSV]}")" 3
check "describe then make, 999999 records / dd" \
  "$(ratio "${wall[batchcheck-describe --json | batchcheck-make --json, 999999]}" \
    "${base_wall[batchcheck-describe --json | batchcheck-make --json, 999999]}")" 5
check "pagesim 10 MB / cat" "$(ratio "${wall[pagesim 10 MB]}" "${base_wall[pagesim 10 MB]}")" 3
check "pagesim 16 KB process time, ms ($small_source)" "$small_cpu" 5
check "batchcheck 999999 peak memory, MiB" "${peak[batchcheck 999999]}" 24
check "batchcheck-describe 999999 Response peak memory, MiB" \
  "${peak[batchcheck-describe 999999 Response, --json --findings]}" 24
check "pagesim-gallery --watch, process time of a writing after a save, ms ($save_source)" "$save_cpu" 50
