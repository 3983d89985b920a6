#!/usr/bin/env bash
# Sets up and runs the demo: builds everything, starts the log server and the
# analyzer simulator on loopback, and opens the operator panel connected to it.
# Closing the panel stops the simulator and the log server again.
#   scripts/run-demo.sh [STORAGE_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
storage="${1:-$HOME/marlomax-storage}"
state="${MARLOMAX_DEMO_STATE:-$HOME/.local/share/vireo-sim}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
bin="$build/bin"
export PATH="$bin:$PATH"
mkdir -p "$storage" "$state"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# The log server keeps the panel's log lines (and the simulator's) in one file.
"$bin/vireo-logd" --socket /tmp/log_request --file "$state/panel.log" &
pids+=($!)

# Port 49999 is the launcher's "(None)" channel; fall back to a free port when taken.
port=49999
if (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null; then
  port=0
fi
out="$state/sim.out"
: >"$out"
"$bin/vireo-sim" --port "$port" --state "$state" --backfill-days 7 >"$out" &
pids+=($!)
for _ in $(seq 1 600); do
  grep -q '^LISTENING port=' "$out" && break
  kill -0 "${pids[-1]}" 2>/dev/null || { echo "The simulator did not start:"; cat "$out"; exit 1; }
  sleep 0.1
done
port="$(sed -n 's/^LISTENING port=\([0-9]*\).*/\1/p' "$out" | head -1)"
[ -n "$port" ] || { echo "The simulator did not report its port."; exit 1; }
echo "Simulator listening on 127.0.0.1:$port (state in $state)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running the panel under Xvfb (xvfb-run)."
  xvfb-run -a "$bin/marlomax" 127.0.0.1 "$port" "$storage"
else
  "$bin/marlomax" 127.0.0.1 "$port" "$storage"
fi
