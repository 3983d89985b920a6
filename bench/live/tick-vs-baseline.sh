#!/usr/bin/env bash
# The home tick and the idle panel, this build beside a baseline revision in
# the same run: bench_hometick of both, alternating (medians of RUNS), then
# both panels at once against one simulator for SECONDS, each one's CPU (share
# of one core) and resident memory at the end. The baseline is exported from
# git and built once into BUILD_DIR/bench/baseline-SHA, with this tree's copy
# of bench_hometick.cpp so that both sides are measured by the same code.
# Not part of CTest.
#   bench/live/tick-vs-baseline.sh [BUILD_DIR] [BASELINE_REVISION] [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
revision="${2:-main}"
seconds="${3:-60}"
runs="${HOMETICK_RUNS:-5}"
ticks="${HOMETICK_TICKS:-2000}"
sha="$(git -C "$repo" rev-parse --short "$revision")"
base="$build/bench/baseline-$sha"
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

if [ ! -x "$base/build/bin/marlomax" ]; then
  echo "== building the baseline $sha (once) =="
  rm -rf "$base"
  mkdir -p "$base/src"
  git -C "$repo" archive "$sha" | tar -x -C "$base/src"
  cmake -S "$base/src" -B "$base/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMARLOMAX_BUILD_TESTS=OFF >"$base/configure.log"
fi
cp "$here/bench_hometick.cpp" "$base/src/bench/live/bench_hometick.cpp"
cmake --build "$base/build" -j2 --target bench_hometick marlomax >"$base/build.log"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "-") }'; }
field() { sed -n "s/^$1: \([0-9.]*\) ms CPU.*/\1/p"; }

echo "== home tick, ms CPU, medians of $runs runs of $ticks ticks (load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
for side in baseline this; do : >"$work/$side.tick"; : >"$work/$side.paint"; done
for _ in $(seq 1 "$runs"); do
  for side in baseline this; do
    bin="$build/bench/bin/bench_hometick"
    [ "$side" = baseline ] && bin="$base/build/bench/bin/bench_hometick"
    QT_QPA_PLATFORM=offscreen HOME="$work" "$bin" "$ticks" >"$work/out" 2>/dev/null
    field 'tick (encode, decode, route, update)' <"$work/out" >>"$work/$side.tick"
    field 'tick with repaint' <"$work/out" >>"$work/$side.paint"
  done
done
printf 'tick, no paint:    this build %s   baseline %s: %s\n' "$(median <"$work/this.tick")" "$sha" "$(median <"$work/baseline.tick")"
printf 'tick with repaint: this build %s   baseline %s: %s\n' "$(median <"$work/this.paint")" "$sha" "$(median <"$work/baseline.paint")"

echo "== both panels against one simulator for ${seconds} s =="
"$build/bin/vireo-sim" --port 0 --state "$work/state" --backfill-days 1 >"$work/sim.out" &
pids+=($!)
for _ in $(seq 1 600); do
  grep -qs '^LISTENING port=' "$work/sim.out" && break
  sleep 0.1
done
port="$(sed -n 's/^LISTENING port=\([0-9]*\).*/\1/p' "$work/sim.out" | head -1)"
[ -n "$port" ] || { echo "the simulator did not start"; exit 1; }
declare -A panel
for side in baseline this; do
  bin="$build/bin/marlomax"
  [ "$side" = baseline ] && bin="$base/build/bin/marlomax"
  mkdir -p "$work/$side/home" "$work/$side/storage"
  HOME="$work/$side/home" QT_QPA_PLATFORM="${PANEL_PLATFORM:-offscreen}" "$bin" 127.0.0.1 "$port" "$work/$side/storage" >/dev/null 2>&1 &
  panel[$side]=$!
  pids+=($!)
done
sleep 5 # start-up done; the measured time is the steady loop
# CPU time in nanoseconds from the scheduler: the 10 ms ticks of
# /proc/PID/stat are too coarse for a panel that idles at a tenth of a percent.
cpu_ns() { awk '{ s += $1 } END { print s }' /proc/"$1"/task/*/schedstat; }
declare -A start
for side in baseline this; do start[$side]="$(cpu_ns "${panel[$side]}")"; done
sleep "$seconds"
echo "load during the run: $(cut -d' ' -f1-3 /proc/loadavg)"
for side in baseline this; do
  pid="${panel[$side]}"
  end="$(cpu_ns "$pid")"
  rss="$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")"
  label="this build"
  [ "$side" = baseline ] && label="baseline $sha"
  awk -v a="${start[$side]}" -v b="$end" -v s="$seconds" -v kb="$rss" -v l="$label" \
    'BEGIN { printf "%-18s panel CPU %.3f %% of one core over %d s; resident %.1f MB\n", l ":", (b - a) / 1e9 / s * 100, s, kb / 1024 }'
done
