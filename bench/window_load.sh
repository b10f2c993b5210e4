#!/usr/bin/env bash
# The load in the viewer's window against --load-and-exit, on the same file, in turn (A B A B ...):
#
#   window: from the start of the load (what the open dialog's Enter starts) until the window has
#           painted the loaded chart, on an X display (bench/window_load.cpp);
#   exit:   the viewer's own load_ms + paint_ms with --load-and-exit (no window).
#
# Prints both per run with the CPU time each took, then the medians and the median of the
# per-run ratios (window / exit).
#
#   bench/window_load.sh [RECORDS [SAMPLES [RUNS]]]     (default 200 x 100,000, 5 runs)
#
# BUILD_DIR (default build/release) holds the release build (cmake --preset release &&
# cmake --build --preset release). Without DISPLAY an Xvfb is started for the runs and ended after.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
records=${1:-200}
samples=${2:-100000}
runs=${3:-5}
. "$root/bench/window_common.sh"

echo "file: $file ($(du -h "$file" | cut -f1)), $records records x $samples samples"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1 /proc/loadavg)"
w=(); e=(); q=()
for run in $(seq 1 "$runs"); do
  line=$("$build/bench/window_load" "$file" 1 2>/dev/null | grep '^run 1:')
  ws=$(sed -n 's/.*to_chart_s=\([0-9.]*\).*/\1/p' <<<"$line")
  wc=$(sed -n 's/.*cpu_s=\([0-9.]*\).*/\1/p' <<<"$line")
  out=$( { QT_QPA_PLATFORM=offscreen /usr/bin/time -f "cpu=%U+%S" "$build/viewer/zelview" --load-and-exit "$file"; } 2>&1)
  lm=$(sed -n 's/.*load_ms=\([0-9.]*\).*/\1/p' <<<"$out")
  pm=$(sed -n 's/.*paint_ms=\([0-9.]*\).*/\1/p' <<<"$out")
  es=$(awk -v l="$lm" -v p="$pm" 'BEGIN { printf "%.3f", (l + p) / 1000 }')
  ec=$(sed -n 's/.*cpu=\([0-9.+]*\).*/\1/p' <<<"$out" | awk -F+ '{ printf "%.2f", $1 + $2 }')
  w+=("$ws"); e+=("$es"); q+=("$(awk -v a="$ws" -v b="$es" 'BEGIN { printf "%.3f", a / b }')")
  echo "run $run: window ${ws} s (cpu ${wc} s)   --load-and-exit ${es} s (process cpu ${ec} s)"
done
med() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
echo "median: window $(med "${w[@]}") s, --load-and-exit $(med "${e[@]}") s, window / exit $(med "${q[@]}")"
