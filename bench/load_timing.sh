#!/usr/bin/env bash
# End-to-end timing of the viewer: generates a session file (200 records x 100,000 samples by
# default, the parse benchmark's generator), then loads it into the viewer's chart and paints the
# chart once, off the screen, a few times. Prints the viewer's own times, the whole process' wall
# and CPU time and its peak memory for each run. Many short records: load_timing.sh 100000 2.
#
#   bench/load_timing.sh [RECORDS [SAMPLES [RUNS]]]
#
# BUILD_DIR (default build-timing) is the release build directory used.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-timing}
records=${1:-200}
samples=${2:-100000}
runs=${3:-3}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEL_TESTS=OFF -DZEL_BENCH=OFF -DZEL_SANITIZE=OFF >/dev/null
cmake --build "$build" --target zelview >/dev/null
c++ -O2 -std=c++20 -o "$build/session_gen" "$root/bench/session_gen.cpp"

file="${TMPDIR:-/tmp}/zel_timing_${records}x${samples}.csv"
if [ ! -s "$file" ]; then
  "$build/session_gen" "$records" "$samples" "$file"
fi
echo "file: $file ($(du -h "$file" | cut -f1)), $records records x $samples samples"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), load average $(cut -d' ' -f1 /proc/loadavg)"

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for run in $(seq 1 "$runs"); do
  out=$( { /usr/bin/time -f "process_s=%e cpu_s=%U+%S peak_rss_mb=%M" "$build/viewer/zelview" --load-and-exit "$file"; } 2>&1 | grep -E '^(series=|process_s=)' | tr '\n' ' ')
  # %M is in kilobytes; show megabytes.
  kb=$(sed -n 's/.*peak_rss_mb=\([0-9]*\).*/\1/p' <<<"$out")
  echo "run $run: ${out%%peak_rss_mb=*}peak_rss_mb=$((kb / 1024))"
done
