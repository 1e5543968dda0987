#!/usr/bin/env python3
"""A line plot of columns of a SpringLab CSV as an SVG picture, with the
Python standard library only (no plotting package needed).

    python3 tools/plot_csv.py run.csv out.svg [COLUMN_NUMBER ...]

Column numbers count from 1 after the tick (default: 1). The x axis is the
tick; each chosen column is one polyline scaled to the picture's height.
"""
import csv
import sys

WIDTH, HEIGHT, MARGIN, TOP = 720, 320, 50, 20  # TOP: room for each curve's legend
COLOURS = ["#c0392b", "#2471a3", "#1e8449", "#7d3c98"]


def read(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = [r for r in csv.reader(line for line in f if not line.startswith("#"))]
    return rows[0], [[float(v) for v in r] for r in rows[1:]]


def main():
    source, target = sys.argv[1], sys.argv[2]
    chosen = [int(c) for c in sys.argv[3:]] or [1]
    header, rows = read(source)
    ticks = [r[0] for r in rows]
    x0, x1 = min(ticks), max(ticks)
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
           f'font-family="sans-serif" font-size="12">',
           f'<rect width="{WIDTH}" height="{HEIGHT}" fill="white"/>',
           f'<line x1="{MARGIN}" y1="{HEIGHT - MARGIN}" x2="{WIDTH - 10}" y2="{HEIGHT - MARGIN}" stroke="black"/>',
           f'<line x1="{MARGIN}" y1="{TOP * len(chosen)}" x2="{MARGIN}" y2="{HEIGHT - MARGIN}" stroke="black"/>',
           f'<text x="{WIDTH / 2}" y="{HEIGHT - 15}" text-anchor="middle">{header[0]}: {x0:g} … {x1:g}</text>']
    for n, column in enumerate(chosen):
        values = [r[column] for r in rows]
        lo, hi = min(values), max(values)
        span = (hi - lo) or 1.0
        points = " ".join(
            f"{MARGIN + (t - x0) / ((x1 - x0) or 1) * (WIDTH - MARGIN - 10):.1f},"
            f"{HEIGHT - MARGIN - (v - lo) / span * (HEIGHT - MARGIN - TOP * len(chosen) - 5):.1f}"
            for t, v in zip(ticks, values))
        colour = COLOURS[n % len(COLOURS)]
        out.append(f'<polyline fill="none" stroke="{colour}" stroke-width="1.5" points="{points}"/>')
        out.append(f'<text x="{MARGIN + 8}" y="{15 + TOP * n}" fill="{colour}">'
                   f'{header[column]}: {lo:.6g} … {hi:.6g}</text>')
    out.append("</svg>")
    with open(target, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
