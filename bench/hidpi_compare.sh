#!/usr/bin/env bash
# The viewer at screen scale 2 against scale 1, side by side in one run: hidpi_bench (release
# build, BUILD_DIR or build/release) runs once at QT_SCALE_FACTOR=1 and once at 2 on the
# off-screen platform, one core, and the table gives each benchmark's time at both scales, their
# ratio and the target (load plus first paint within 1.5 x; repaint, pan, zoom and a real-time
# point within 2 x). Extra arguments go to hidpi_bench (e.g. --benchmark_filter=Viewer/Pan).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/release}
exe="$build/bench/hidpi_bench"
[ -x "$exe" ] || { echo "no $exe: build the release preset first"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/xdg" && mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
for scale in 1 2; do
  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale taskset -c 0 "$exe" --benchmark_out="$work/s$scale.json" \
    --benchmark_out_format=json "$@" >/dev/null
done
python3 - "$work/s1.json" "$work/s2.json" <<'PY'
import json, sys
def load(p):
    return {b["name"].split("/iterations")[0]: b for b in json.load(open(p))["benchmarks"]}
one, two = load(sys.argv[1]), load(sys.argv[2])
targets = {"Viewer/LoadAndFirstPaint": 1.5}
print(f"{'benchmark':28} {'scale 1':>12} {'scale 2':>12} {'ratio':>7} {'target':>7}  ok")
for name, a in one.items():
    b = two.get(name)
    if not b:
        continue
    unit = a.get("time_unit", "ns")
    ta, tb = a["real_time"], b["real_time"]
    r = tb / ta if ta else float("nan")
    t = targets.get(name, 2.0)
    print(f"{name:28} {ta:9.2f} {unit:2} {tb:9.2f} {unit:2} {r:7.2f} {t:6.1f}x  {'yes' if r <= t else 'NO'}"
          f"   (ratio reported {a.get('ratio', 0):g} / {b.get('ratio', 0):g})")
PY
