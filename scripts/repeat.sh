#!/usr/bin/env bash
# Runs the end-to-end suite again and again, each run in a new Wine prefix, a new virtual
# display, a new desktop of three monitors for the monitor tests and a never-used HOME,
# and prints per test how many runs it failed: the way to find a flaky test before anyone
# else does.
# Usage: scripts/repeat.sh [runs] [--busy]   (runs: default 10; --busy keeps one core
# spinning for the whole time, so that timing assumptions show)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
busy=${2:-}
scripts/install-deps.sh test
cmake --preset windows >/dev/null
cmake --build --preset windows --parallel "$(nproc)" >/dev/null

results=$(mktemp -d /tmp/tintelo-repeat.XXXXXX)
burner=
stop_burner() { if [ -n "$burner" ]; then kill "$burner" 2>/dev/null || true; fi; }
trap stop_burner EXIT
if [ "$busy" = --busy ]; then
  while :; do :; done &
  burner=$!
fi

for run in $(seq 1 "$runs"); do
  (
    unset DISPLAY XVFB_PID
    export HOME="$results/home" TINTELO_WINEPREFIX="$results/home/prefix"
    mkdir -p "$HOME"
    source scripts/wine-env.sh
    trap tintelo_stop_wine EXIT
    tintelo_start_display
    started=$(date +%s)
    tintelo_init_prefix
    tintelo_warm_up || echo "run $run: the warm-up failed"
    status=passed
    ctest --preset windows -E "$tintelo_monitor_tests" --output-junit "$results/run-$run.xml" \
      >"$results/run-$run.log" 2>&1 || status=FAILED
    if tintelo_start_monitors >>"$results/run-$run.log" 2>&1; then
      ctest --preset windows -R "$tintelo_monitor_tests" --output-junit "$results/run-$run-monitors.xml" \
        >>"$results/run-$run.log" 2>&1 || status=FAILED
    else
      status=FAILED
      echo "run $run: the monitors' desktop did not start"
    fi
    echo "run $run of $runs: $status in $(($(date +%s) - started)) s (display $DISPLAY, log $results/run-$run.log)"
  )
  rm -rf "$results/home"
done

# Every test case of every run's JUnit report, with how many of the runs it failed.
echo
echo "failed runs  test"
sed -n 's/.*<testcase name="\([^"]*\)".*status="\([a-z]*\)".*/\1 \2/p' "$results"/run-*.xml |
  awk -v runs="$runs" '
    { seen[$1] = 1; if ($2 == "fail") failed[$1]++ }
    END {
      for (t in seen) if (failed[t] > 0) { printf "%5d/%-6d %s\n", failed[t], runs, t | "sort -rn"; bad++ }
      close("sort -rn")
      printf "%d tests, %d runs, %d tests failed at least once\n", length(seen), runs, bad
      exit bad > 0
    }'
