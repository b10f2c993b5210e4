#!/usr/bin/python3
"""matplotlib (Agg) on the points of scale_bench, 640 x 440 pixels.

Makes the same points as bench/scale_bench.cpp (X = i, Y = 50 + 30 sin(i / 2000) + uniform noise
of +-4 from splitmix64(i)) and times, on a new figure each:
  line/first/N    plot() and the first draw of a line through N points
  line/redraw/N   a later draw of the same figure (median)
  markers/first/N, markers/redraw/N   the same with a marker ('o') on every point and no line
  texts/first/N   a text (the value) at every point, drawn once
Writes {"name": wall seconds, "name:cpu": CPU seconds, ...} as JSON to the file named by the first argument (stdout without).
"""
import json
import statistics
import sys
import time

import matplotlib

matplotlib.use("Agg")
import numpy as np  # noqa: E402
from matplotlib.backends.backend_agg import FigureCanvasAgg  # noqa: E402
from matplotlib.figure import Figure  # noqa: E402


def points(n):
    i = np.arange(n, dtype=np.uint64)
    with np.errstate(over="ignore"):
        z = np.uint64(0x5EED) + i * np.uint64(0x9E3779B97F4A7C15)
        z = (z ^ (z >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
        z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
        z ^= z >> np.uint64(31)
    u = (z >> np.uint64(11)).astype(np.float64) * 2.0**-53
    x = np.arange(n, dtype=np.float64)
    y = 50.0 + 30.0 * np.sin(x * 0.0005) + 8.0 * (u - 0.5)
    return x, y


def figure():
    fig = Figure(figsize=(6.4, 4.4), dpi=100)
    return fig, FigureCanvasAgg(fig), fig.add_subplot()


def timed(draw_first, redraws):
    """(wall, cpu) seconds of the first draw (draw_first makes the artists) and of the median
    redraw (None without redraws)."""
    fig, canvas, ax = figure()
    t0, c0 = time.perf_counter(), time.process_time()
    draw_first(ax)
    canvas.draw()
    first = (time.perf_counter() - t0, time.process_time() - c0)
    walls, cpus = [], []
    for _ in range(redraws):
        t0, c0 = time.perf_counter(), time.process_time()
        canvas.draw()
        walls.append(time.perf_counter() - t0)
        cpus.append(time.process_time() - c0)
    redraw = (statistics.median(walls), statistics.median(cpus)) if walls else None
    return first, redraw


def put(out, name, value):
    """Wall seconds under name, CPU seconds under name + ":cpu"."""
    if value is not None:
        out[name], out[name + ":cpu"] = value
        print(f"{name}: {value[0]:.3f} s (CPU {value[1]:.3f} s)", file=sys.stderr)


def main():
    out = {}
    cache = {}

    def pts(n):
        if n not in cache:
            cache.clear()
            cache[n] = points(n)
        return cache[n]

    for n, redraws in ((100000, 5), (1000000, 5), (10000000, 3)):
        x, y = pts(n)
        first, redraw = timed(lambda ax: ax.plot(x, y, linewidth=1), redraws)
        put(out, f"line/first/{n}", first)
        put(out, f"line/redraw/{n}", redraw)
    for n, redraws in ((100000, 5), (1000000, 3)):
        x, y = pts(n)
        first, redraw = timed(lambda ax: ax.plot(x, y, "o", linestyle="none"), redraws)
        put(out, f"markers/first/{n}", first)
        put(out, f"markers/redraw/{n}", redraw)
    n = 10000
    x, y = pts(n)

    def texts(ax):
        ax.plot(x, y, linewidth=1)
        for xi, yi in zip(x, y):
            ax.text(xi, yi, f"{yi:.2f}", fontsize=8)

    put(out, f"texts/first/{n}", timed(texts, 0)[0])
    x, y = pts(3)
    out["check/y0-2"] = [float(v) for v in y]  # the same numbers as the benchmark's
    text = json.dumps(out, indent=1)
    if len(sys.argv) > 1:
        with open(sys.argv[1], "w") as f:
            f.write(text + "\n")
    else:
        print(text)


if __name__ == "__main__":
    main()
