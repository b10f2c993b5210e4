#!/usr/bin/python3
"""The scale targets from one run of scale_bench (JSON) and scale_matplotlib.py (JSON).

usage: scale_report.py BENCH.json MATPLOTLIB.json

Prints, in Markdown: the targets with their figures and whether each is met, the growth of every
operation (log10 of the time ratio between 100 k and 1 M points, 10 k and 100 k for marks), and
the times of every case by size.
"""
import json
import math
import sys
from collections import defaultdict

GROWTH_LIMIT = 1.2
# The targets' short names, in the order the report checks them.
COLUMNS = ["growth", "marks 100 k", "delete half of 200 k", "by value 2 x 100 k", "line 3D 1 M", "line 2D 1 M",
           "area 2D 1 M", "fast line 10 M", "date-time 1 M", "held B/pt"]


def load_bench(path):
    """{family: {points: (seconds or None, counters, error)}}"""
    with open(path) as f:
        data = json.load(f)
    cases = defaultdict(dict)
    context = data.get("context", {})
    for b in data["benchmarks"]:
        name = b["name"]
        for suffix in ("/manual_time", "/iterations:1"):  # what the library adds to the names
            if name.endswith(suffix):
                name = name[: -len(suffix)]
        family, _, n = name.rpartition("/")
        if b.get("error_occurred"):
            cases[family][int(n)] = (None, {}, b.get("error_message", "error"))
            continue
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b.get("time_unit", "ns")]
        counters = {k: v for k, v in b.items() if isinstance(v, (int, float))}
        cases[family][int(n)] = (b["real_time"] * scale, counters, None)
    return cases, context


def fmt_time(s):
    if s is None:
        return "-"
    if s >= 1:
        return f"{s:.2f} s"
    if s >= 1e-3:
        return f"{s * 1e3:.3g} ms"
    return f"{s * 1e6:.3g} µs"


def growth_sizes(family):
    return (10000, 100000) if "/Marks" in family else (100000, 1000000)


def growth(family, sizes):
    a, b = growth_sizes(family)
    ta, tb = sizes.get(a, (None,))[0], sizes.get(b, (None,))[0]
    if ta is None or tb is None or ta <= 0:
        return None, (sizes.get(b) or sizes.get(a) or (None, None, None))[2]
    return math.log10(tb / ta), None


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    cases, context = load_bench(sys.argv[1])
    with open(sys.argv[2]) as f:
        mpl = json.load(f)

    def t(family, n):
        v = cases.get(family, {}).get(n)
        return v[0] if v else None

    def counter(family, n, name):
        v = cases.get(family, {}).get(n)
        return v[1].get(name) if v and v[1] else None

    rows = []
    short = []  # one cell per target for the README's table

    def target(what, ours, ours_cpu, limit_text, ok, brief=None):
        rows.append((what, ours, ours_cpu, limit_text, "yes" if ok else "no"))
        short.append((brief or ours.replace(" x matplotlib", "x")) + ("" if ok else " ✗"))

    # Growth: every operation.
    worst = []
    for family in sorted(cases):
        g, err = growth(family, cases[family])
        worst.append((g, family, err))
    measured = [w for w in worst if w[0] is not None]
    over = [w for w in measured if w[0] > GROWTH_LIMIT]
    unmeasured = [w for w in worst if w[0] is None]
    gmax = max(measured, key=lambda w: w[0]) if measured else (None, "-", None)
    target("growth 100 k -> 1 M (10 k -> 100 k for marks), every operation",
           f"worst {gmax[0]:.2f} ({gmax[1]}); {len(over)} of {len(measured)} over, {len(unmeasured)} not measured"
           if gmax[0] is not None else "-", "",
           f"<= {GROWTH_LIMIT}", not over and not unmeasured,
           f"{gmax[0]:.2f}, {len(over)} over, {len(unmeasured)} not measured" if gmax[0] is not None else "-")

    def cpu(family, n):
        return counter(family, n, "cpu_s")

    def absolute(what, family, n, limit):
        wall, c = t(family, n), cpu(family, n)
        target(what, fmt_time(wall), fmt_time(c), f"<= {fmt_time(limit)}", wall is not None and wall <= limit)

    absolute("marks on 100 k points, automatic positions (fast line), paint", "Scale/TFastLineSeries/MarksAuto",
             100000, 3.0)
    absolute("half of 200 k deleted in one call (marks holding positions)", "Scale/TFastLineSeries/DeleteHalf",
             200000, 0.1)
    absolute("a function by value over two sources of 100 k", "Function/TZelFunction/CalcByValue", 100000, 0.3)

    def relative(what, family, n, mpl_key, factor, mpl_text):
        """ours * factor <= matplotlib's, by wall time (met) and by CPU time (shown)."""
        wall, c = t(family, n), cpu(family, n)
        mw, mc = mpl.get(mpl_key), mpl.get(mpl_key + ":cpu")
        rw = f" ({wall / mw:.2f} x matplotlib)" if wall and mw else ""
        rc = f" ({c / mc:.2f} x)" if c and mc else ""
        limit = f"<= {'1/%g of ' % factor if factor != 1 else ''}{mpl_text} {fmt_time(mw)} (CPU {fmt_time(mc)})"
        target(what, fmt_time(wall) + rw, fmt_time(c) + rc, limit,
               wall is not None and mw is not None and wall * factor <= mw)

    relative("line series as made (3D), repaint 1 M", "Scale/TCustomSeries/Repaint3D", 1000000,
             "markers/redraw/1000000", 1, "matplotlib markers redraw")
    relative("line series in 2D, repaint 1 M", "Scale/TCustomSeries/Repaint", 1000000,
             "markers/redraw/1000000", 1, "matplotlib markers redraw")
    relative("area series in 2D, repaint 1 M", "Scale/TAreaSeries/Repaint", 1000000,
             "line/first/1000000", 1, "matplotlib line first draw")
    relative("fast line as made, repaint 10 M", "Scale/TFastLineSeries/Repaint", 10000000,
             "line/redraw/10000000", 4, "matplotlib line redraw")
    absolute("date-time axis, labelled points, paint 1 M", "DateTimeAxis/Labelled/Repaint", 1000000, 0.3)
    held = [(f, counter(f, 1000000, "held_bytes_per_point")) for f in sorted(cases) if f.endswith("/AddBulk")]
    held = [(f, h) for f, h in held if h is not None]
    hmax = max(held, key=lambda x: x[1]) if held else None
    target("memory held per point after adding 1 M the bulk way (most of any kind)",
           f"{hmax[1]:.1f} B ({hmax[0].split('/')[1]})" if hmax else "-", "", "16 B",
           hmax is not None and hmax[1] <= 16.5, f"{hmax[1]:.1f}" if hmax else "-")

    print(f"Run: {context.get('date', '?')}, {context.get('num_cpus', '?')} cpus, "
          f"load average {', '.join(f'{x:.1f}' for x in context.get('load_avg', []))}\n")
    print("| target | measured (wall) | CPU time | limit (wall) | met |")
    print("|---|---|---|---|---|")
    for r in rows:
        print("| " + " | ".join(r) + " |")

    print("\nThe targets on one line (README, Scale; ✗ not met):\n")
    print("| run | " + " | ".join(COLUMNS) + " |")
    print("|---|" + "---|" * len(COLUMNS))
    print("| this run | " + " | ".join(short) + " |")

    print("\nmatplotlib (Agg, 640 x 440), same points:\n")
    print("| work | wall | CPU |")
    print("|---|---|---|")
    for k, v in mpl.items():
        if not k.startswith("check/") and not k.endswith(":cpu") and v is not None:
            print(f"| {k} | {fmt_time(v)} | {fmt_time(mpl.get(k + ':cpu'))} |")

    sizes = sorted({n for fam in cases.values() for n in fam})
    print("\nEvery case (median time; '-' not run; 'capped' skipped by the cap):\n")
    print("| case | " + " | ".join(f"{n:,}" for n in sizes) + " | growth | peak B/pt (largest run) |")
    print("|---|" + "---|" * (len(sizes) + 2))
    for family in sorted(cases):
        cells = []
        for n in sizes:
            v = cases[family].get(n)
            cells.append("-" if v is None else ("capped" if v[2] and "capped" in v[2] else
                                                 ("error" if v[2] else fmt_time(v[0]))))
        g, _ = growth(family, cases[family])
        largest = max((n for n, v in cases[family].items() if v[0] is not None), default=None)
        peak = counter(family, largest, "peak_bytes_per_point") if largest else None
        print(f"| {family} | " + " | ".join(cells) + f" | {'-' if g is None else f'{g:.2f}'} | "
              f"{'-' if peak is None else f'{peak:.1f}'} |")
    for g, family, _ in sorted(over, reverse=True):
        a, b = growth_sizes(family)
        print(f"\nOver the growth limit: {family} {g:.2f} ({fmt_time(t(family, a))} at {a:,}, "
              f"{fmt_time(t(family, b))} at {b:,})", end="")
    if over:
        print()
    if unmeasured:
        print("\nGrowth not measured (a size missing or capped): " + ", ".join(w[1] for w in unmeasured))
    errors = [(f, n, v[2]) for f, fam in cases.items() for n, v in fam.items()
              if v[2] and "capped" not in v[2]]
    for f, n, e in errors:
        print(f"error: {f}/{n}: {e}")


if __name__ == "__main__":
    main()
