#!/usr/bin/env bash
# Builds the receive path's fuzz target (clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for as long as asked, from the
# corpus kept in fuzz/corpus and every input that once found a fault. Prints
# executions, executions per second, lines and the slowest line; exits
# non-zero when the fuzzer found something (crash, hang, sanitizer report)
# and leaves the input in the folder it names. Lines that took longer than
# 50 ms are counted and kept, each as an input of its own, for fuzz-replay.
#   bench/fuzz/fuzz-receive.sh [SECONDS] [BUILD_DIR] [JOBS]
# SECONDS defaults to 60, BUILD_DIR to build-fuzz, JOBS (fuzzing processes,
# each on a core) to 1. New inputs worth keeping are left in
# BUILD_DIR/fuzz-corpus; copy them to fuzz/corpus by hand if you like.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
build="${2:-$root/build-fuzz}"
jobs="${3:-1}"

"$root/scripts/install-deps.sh" --fuzz
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMARLOMAX_FUZZ=ON -DMARLOMAX_BUILD_TESTS=OFF -DMARLOMAX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_receive

findings="$build/fuzz-findings"
corpus="$build/fuzz-corpus"
logs="$build/fuzz-logs"
slow="$build/fuzz-slow-lines"
rm -rf "$findings" "$logs" "$slow"
mkdir -p "$findings" "$corpus" "$logs" "$slow"
export MARLOMAX_FUZZ_SLOW_LINES="$slow"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The programs the panel runs by name (the trend dump, the cabinet maker) are
# not built here; the system's echo and rm are all a transfer's end needs.
status=0
# Inputs that once found a fault, when there are any (git keeps no empty folder).
inputs=("$corpus" "$root/fuzz/corpus")
if [ -d "$root/fuzz/regressions" ]; then
  inputs+=("$root/fuzz/regressions")
fi
(cd "$logs" && "$build/bin/fuzz_receive" "${inputs[@]}" \
  -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536 \
  -print_final_stats=1 -detect_leaks=0 -artifact_prefix="$findings/" \
  $([ "$jobs" -gt 1 ] && echo "-jobs=$jobs -workers=$jobs") >"$logs/fuzz.log" 2>&1) || status=$?

# One log per process: the parent's, or fuzz-N.log per job.
executed=0
lines=0
slowest=0
over=0
for log in "$logs"/fuzz.log "$logs"/fuzz-*.log; do
  [ -f "$log" ] || continue
  n="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  executed=$((executed + ${n:-0}))
  # The last report: the one at exit, or the latest along the way.
  read -r l s o < <(sed -n 's/^fuzz_receive: \([0-9]*\) lines, slowest \([0-9.]*\) ms, \([0-9]*\) over.*/\1 \2 \3/p' "$log" | tail -1) || true
  lines=$((lines + ${l:-0}))
  over=$((over + ${o:-0}))
  slowest="$(printf '%s\n%s\n' "$slowest" "${s:-0}" | sort -g | tail -1)"
done
echo "fuzz_receive: $seconds s, $jobs process(es): $executed executions ($((executed / seconds)) per second), $lines lines ($((lines / seconds)) per second), slowest line $slowest ms, $over over 50 ms"
grep -h '^fuzz_receive: slowest line' "$logs"/*.log | head -3 | cut -c1-300 || true

if [ "$status" != 0 ] || [ -n "$(ls -A "$findings")" ]; then
  grep -h -A30 -E 'ERROR: (AddressSanitizer|libFuzzer)|runtime error|ASSERT|FATAL|Fatal' "$logs"/*.log | head -80 || true
  echo "fuzz_receive found a fault; its input is in $findings" >&2
  exit 1
fi
if [ "$over" != 0 ]; then
  # Timed under both sanitizers and the fuzzer's coverage; build/bin/fuzz-replay
  # times them again as the panel runs.
  echo "fuzz_receive: $over line(s) took longer than 50 ms under the sanitizers; they are in $slow" >&2
fi
