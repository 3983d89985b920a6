#!/usr/bin/env bash
# The panel against the simulator: the time from process start to the first
# concentration, today's start-up beside an earlier one in the same run, then
# the panel's average CPU (share of one core) and peak resident memory over a
# while. Run by hand after a build; not part of CTest.
#   bench/live/panel-vs-sim.sh [BUILD_DIR] [SECONDS] [BASELINE_REVISION | none]
# The baseline is the start-up as it was before its widgets were made under
# their final parents (the revision below). It is exported from git and built
# once into BUILD_DIR/bench/baseline-REVISION, with this tree's copy of
# bench_firstconc.cpp so that both sides are measured by the same code.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
seconds="${2:-60}"
baseline="${3:-a09b01ddf398a37f3b5642f8097ce3b99cd8f866}"
runs="${FIRSTCONC_RUNS:-5}"
bin="$build/bin"
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

baseline_bench=""
if [ "$baseline" != none ]; then
  base_dir="$build/bench/baseline-$baseline"
  baseline_bench="$base_dir/build/bench/bin/bench_firstconc"
  if [ ! -x "$baseline_bench" ]; then
    echo "== building the baseline $baseline (once) =="
    rm -rf "$base_dir"
    mkdir -p "$base_dir/src"
    git -C "$repo" archive "$baseline" | tar -x -C "$base_dir/src"
    cp "$here/bench_firstconc.cpp" "$base_dir/src/bench/live/bench_firstconc.cpp"
    cmake -S "$base_dir/src" -B "$base_dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DMARLOMAX_BUILD_TESTS=OFF >"$base_dir/configure.log"
    cmake --build "$base_dir/build" -j2 --target bench_firstconc >"$base_dir/build.log"
  fi
fi

"$bin/vireo-sim" --port 0 --state "$work/state" --backfill-days 1 >"$work/sim.out" &
pids+=($!)
for _ in $(seq 1 600); do
  grep -qs '^LISTENING port=' "$work/sim.out" && break
  sleep 0.1
done
port="$(sed -n 's/^LISTENING port=\([0-9]*\).*/\1/p' "$work/sim.out" | head -1)"
[ -n "$port" ] || { echo "the simulator did not start"; exit 1; }
mkdir -p "$work/storage" "$work/home"

# One figure in ms: from just before the exec to the first concentration, by
# the wall clock (the kernel's process start time counts in 10 ms ticks).
first_conc() {
  local started line
  started="$(date +%s%3N)"
  line="$(HOME="$work/home" QT_QPA_PLATFORM=offscreen "$1" 127.0.0.1 "$port" "$work/storage")"
  awk -v a="$started" -v b="$(sed -n 's/.*wall clock \([0-9]*\) ms.*/\1/p' <<<"$line")" \
    'BEGIN { print b - a }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "-") }'; }

echo "== time to first concentration, ms after process start ($runs runs each, alternating) =="
: >"$work/today" ; : >"$work/baseline"
for _ in $(seq 1 "$runs"); do
  [ -z "$baseline_bench" ] || first_conc "$baseline_bench" >>"$work/baseline"
  first_conc "$build/bench/bin/bench_firstconc" >>"$work/today"
done
if [ -n "$baseline_bench" ]; then
  printf 'baseline %s: %s  (median %s)\n' "${baseline:0:7}" "$(tr '\n' ' ' <"$work/baseline")" \
    "$(median <"$work/baseline")"
fi
printf 'this build:       %s  (median %s)\n' "$(tr '\n' ' ' <"$work/today")" "$(median <"$work/today")"

echo "== panel against the simulator for ${seconds} s =="
HOME="$work/home" QT_QPA_PLATFORM=offscreen "$bin/marlomax" 127.0.0.1 "$port" "$work/storage" &
panel=$!
pids+=($panel)
ticks="$(getconf CLK_TCK)"
sleep 5 # let start-up finish; the measured minute is the steady loop
cpu_start="$(awk '{print $14 + $15}' "/proc/$panel/stat")"
sleep "$seconds"
cpu_end="$(awk '{print $14 + $15}' "/proc/$panel/stat")"
peak_kb="$(awk '/^VmHWM/ {print $2}' "/proc/$panel/status")"
awk -v a="$cpu_start" -v b="$cpu_end" -v t="$ticks" -v s="$seconds" -v kb="$peak_kb" \
  'BEGIN { printf "panel CPU: %.2f %% of one core over %d s; peak resident memory: %.1f MB\n", (b - a) / t / s * 100, s, kb / 1024 }'
