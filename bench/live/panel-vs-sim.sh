#!/usr/bin/env bash
# The panel against the simulator for a while: average CPU of the panel (share
# of one core) and its peak resident memory, plus the time to the first
# concentration. Run by hand after a build; not part of CTest.
#   bench/live/panel-vs-sim.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
seconds="${2:-60}"
bin="$build/bin"
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/vireo-sim" --port 0 --state "$work/state" --backfill-days 1 >"$work/sim.out" &
pids+=($!)
for _ in $(seq 1 600); do
  grep -q '^LISTENING port=' "$work/sim.out" && break
  sleep 0.1
done
port="$(sed -n 's/^LISTENING port=\([0-9]*\).*/\1/p' "$work/sim.out" | head -1)"
[ -n "$port" ] || { echo "the simulator did not start"; exit 1; }
mkdir -p "$work/storage" "$work/home"

echo "== time to first concentration (3 runs) =="
for _ in 1 2 3; do
  HOME="$work/home" QT_QPA_PLATFORM=offscreen "$build/bench/bin/bench_firstconc" 127.0.0.1 "$port" "$work/storage"
done

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
