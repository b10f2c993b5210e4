#!/bin/bash
# Runs scale_bench and matplotlib on the same points, one after the other, and prints the scale
# targets with their figures (bench/scale_report.py), in Markdown.
#
#   bench/scale_compare.sh [OUT_DIR] [scale_bench arguments ...]
#
# Needs the release build (cmake --preset release && cmake --build --preset release) and
# python3-matplotlib (Debian). OUT_DIR (default /tmp/zel-scale) keeps bench.json, matplotlib.json
# and report.md. ZEL_SCALE_CAP (seconds, default 10) caps the cases that would be very slow; a
# filter (--benchmark_filter=...) runs a part.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-/tmp/zel-scale}
shift || true
BENCH=${BENCH:-build/release/bench/scale_bench}
PYTHON=${PYTHON:-/usr/bin/python3}
[ -x "$BENCH" ] || { echo "no $BENCH: build the release preset first" >&2; exit 1; }
"$PYTHON" -c 'import matplotlib' 2>/dev/null || { echo "matplotlib missing: apt-get install -y python3-matplotlib" >&2; exit 1; }
mkdir -p "$OUT"
START=$(date +%s)
QT_QPA_PLATFORM=offscreen "$BENCH" --benchmark_out="$OUT/bench.json" --benchmark_out_format=json "$@"
"$PYTHON" bench/scale_matplotlib.py "$OUT/matplotlib.json"
"$PYTHON" bench/scale_report.py "$OUT/bench.json" "$OUT/matplotlib.json" | tee "$OUT/report.md"
echo "whole run: $(( $(date +%s) - START )) s" | tee -a "$OUT/report.md"
