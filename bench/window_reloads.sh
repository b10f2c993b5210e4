#!/usr/bin/env bash
# Memory over reloads: one window loads the same session file again and again (as "Load file"
# does), and prints the process' resident memory after each load, its peak so far, and the heap
# memory in use. The resident memory after the second load and after the last should be within 5 %.
#
#   bench/window_reloads.sh [RECORDS [SAMPLES [LOADS]]]     (default 100 x 10,000, 60 loads)
#
# BUILD_DIR (default build/release) holds the release build. Without DISPLAY an Xvfb is started.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
records=${1:-100}
samples=${2:-10000}
loads=${3:-60}
. "$root/bench/window_common.sh"

"$build/bench/window_load" "$file" "$loads" 2>/dev/null | awk -v last="$loads" '
  /^run/ {
    for (i = 3; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
    n = $2 + 0
    if (n == 1 || n == 2 || n == last) printf "load %d: rss %.1f MiB, peak %.1f MiB, heap in use %.1f MiB\n", n, v["rss_mib"], v["peak_mib"], v["heap_mib"]
    if (n == 2) second = v["rss_mib"]
    if (n == last && second > 0) printf "growth from the second load to load %d: %.3f\n", n, v["rss_mib"] / second
  }'
