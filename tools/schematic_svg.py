#!/usr/bin/env python3
"""Writes assets/schematic.svg, the 699 x 485 schematic under the main window.

All strokes are 2 px wide on integer coordinates, so horizontal and vertical
lines cover exactly two pixel rows/columns (the coordinate and the one before
it) and render without grey edges. Positions here are the ones the controls,
level bars and flow arrows of the main window are laid out against; move
nothing without checking the overlay (tools/assetview).

Usage: python3 tools/schematic_svg.py [output]   (default assets/schematic.svg)
"""
import math
import os
import sys

W, H = 699, 485
BG = "#98fffd"          # (152, 255, 253)
RED = "#ff0000"
BLUE = "#0000ff"

out = []


def emit(s):
    out.append("  " + s)


def comment(s):
    out.append("  <!-- %s -->" % s)


def poly(*pts):
    emit('<polyline points="%s"/>' % " ".join("%g,%g" % p for p in pts))


def line(x1, y1, x2, y2):
    poly((x1, y1), (x2, y2))


def circle(cx, cy, r):
    emit('<circle cx="%g" cy="%g" r="%g"/>' % (cx, cy, r))


def rect(x, y, w, h, fill=None, rx=None, stroke=True):
    a = 'x="%g" y="%g" width="%g" height="%g"' % (x, y, w, h)
    if rx:
        a += ' rx="%g"' % rx
    if fill:
        a += ' fill="%s"' % fill
    if not stroke:
        a += ' stroke="none"'
    emit("<rect %s/>" % a)


def diagonal_arrow(cx, cy, r):
    """The 'adjustable' stroke of an instrument: a diagonal from lower left
    to upper right through the circle, poking out on both sides, with a
    filled head at the upper right end."""
    d = r + 5                       # reach beyond the circle along the diagonal
    k = d / math.sqrt(2)
    x0, y0 = round(cx - k), round(cy + k)
    x1, y1 = round(cx + k), round(cy - k)
    # Head: tip at (x1, y1), 7 px long, 6 px wide.
    ux, uy = (x1 - x0), (y1 - y0)
    n = math.hypot(ux, uy)
    ux, uy = ux / n, uy / n
    bx, by = x1 - 7 * ux, y1 - 7 * uy
    px, py = -uy, ux
    line(x0, y0, bx, by)
    emit('<polygon fill="#000" stroke="none" points="%g,%g %.2f,%.2f %.2f,%.2f"/>'
         % (x1, y1, bx + 3.5 * px, by + 3.5 * py, bx - 3.5 * px, by - 3.5 * py))


def instrument(cx, cy, r):
    circle(cx, cy, r)
    diagonal_arrow(cx, cy, r)


def junction(x, y):
    emit('<circle cx="%g" cy="%g" r="3" fill="#000" stroke="none"/>' % (x, y))


def thermometer_v(x0, x1, y0, y1, fill, fill_from):
    """Vertical tube x0..x1, y0..y1 (outer edges, 1 px outline), liquid from
    fill_from down to the bottom, white above."""
    rect(x0, y0, x1 - x0, y1 - y0, fill="#000", stroke=False)
    rect(x0 + 1, y0 + 1, x1 - x0 - 2, y1 - y0 - 2, fill="#fff", stroke=False)
    rect(x0 + 1, fill_from, x1 - x0 - 2, y1 - 1 - fill_from, fill=fill, stroke=False)


def thermometer_h(x0, x1, y0, y1, fill, fill_to):
    """Horizontal tube, liquid from the left end to fill_to."""
    rect(x0, y0, x1 - x0, y1 - y0, fill="#000", stroke=False)
    rect(x0 + 1, y0 + 1, x1 - x0 - 2, y1 - y0 - 2, fill="#fff", stroke=False)
    rect(x0 + 1, y0 + 1, fill_to - x0 - 1, y1 - y0 - 2, fill=fill, stroke=False)


def cap(y0, y1, top):
    """Flanged end cap, x 356..409: a rounded dome on the outer side and a
    flange bar where it meets the shell."""
    if top:
        emit('<path d="M 358,%d V %d Q 358,%d 366,%d H 399 Q 407,%d 407,%d V %d"/>'
             % (y1 - 3, y0 + 8, y0, y0, y0, y0 + 8, y1 - 3))
        rect(356, y1 - 3, 53, 3)
    else:
        emit('<path d="M 358,%d V %d Q 358,%d 366,%d H 399 Q 407,%d 407,%d V %d"/>'
             % (y0 + 3, y1 - 8, y1, y1, y1, y1 - 8, y0 + 3))
        rect(356, y0, 53, 3)


def nozzle(x, y0, y1):
    """Short pipe stub x-4..x+4 between y0 and y1."""
    rect(x - 4, y0, 8, y1 - y0)


# ---------------------------------------------------------------------------
comment("background")
rect(0, 0, W, H, fill=BG, stroke=False)

out.append('  <g fill="none" stroke="#000" stroke-width="2" stroke-linecap="butt" stroke-linejoin="miter">')

comment("heat exchanger: shell, end caps, nozzles")
line(358, 171, 358, 334)
line(407, 171, 407, 334)
cap(161, 174, top=True)
cap(331, 345, top=False)
nozzle(370, 151, 161)     # upper jacket nozzle (jacket water out)
nozzle(393, 151, 161)     # upper coil nozzle (coil water in)
nozzle(370, 345, 355)     # lower jacket nozzle (jacket water in)
nozzle(393, 345, 355)     # lower coil nozzle (coil water out)

comment("coil: zig-zag between x 371 and x 392 inside the shell")
out.append('  <g stroke-linejoin="round">')
coil = [(393, 161), (393, 188)]
for i, y in enumerate([200, 213, 227, 239, 253, 266, 279, 292, 305]):
    coil.append((371 if i % 2 == 0 else 392, y))
coil += [(393, 318), (393, 345)]
poly(*coil)
out.append('  </g>')

comment("upper jacket-side pipe: nozzle up to y 122, left to x 68")
poly((370, 151), (370, 122), (68, 122))
comment("thermometer on it (covered by level bar 1)")
thermometer_v(151, 157, 59, 112, RED, 80)
line(154, 112, 154, 121)

comment("lower jacket-side pipe: x 68 to 370 on y 383, up into the nozzle")
line(68, 383, 102, 383)
comment("pump")
circle(117, 383, 15)
emit('<polygon points="110,373 110,393 130,383"/>')
line(132, 383, 192, 383)
comment("thermometer on it (covered by level bar 3)")
thermometer_v(148, 155, 321, 373, BLUE, 325)
line(151, 373, 151, 382)
comment("instrument")
instrument(209, 383, 17)
poly((226, 383), (370, 383), (370, 355))

comment("jacket-side cross connection with instrument")
line(303, 123, 303, 237)
instrument(303, 252, 15)
line(303, 267, 303, 382)
junction(303, 122)
junction(303, 383)

comment("upper coil-side pipe: nozzle up to y 122, right to x 618")
poly((393, 151), (393, 122), (513, 122))
instrument(528, 122, 15)
line(543, 122, 618, 122)
comment("thermometer on it (covered by level bar 2)")
thermometer_v(590, 596, 60, 112, BLUE, 84)
line(593, 112, 593, 121)

comment("coil outlet: down to y 435, branch right on y 383 to x 488")
line(393, 355, 393, 435)
poly((394, 383), (488, 383), (488, 267))
junction(393, 383)
comment("horizontal thermometer on the outlet (covered by level bar 4)")
thermometer_h(404, 456, 407, 413, RED, 430)
line(394, 410, 404, 410)

comment("coil-side cross connection with instrument")
line(488, 123, 488, 237)
instrument(488, 252, 15)
junction(488, 122)

out.append("  </g>")

svg = ['<?xml version="1.0" encoding="UTF-8"?>',
       '<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="%d" height="%d" viewBox="0 0 %d %d">'
       % (W, H, W, H)] + out + ["</svg>", ""]

dest = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "assets", "schematic.svg")
with open(dest, "w", encoding="utf-8") as f:
    f.write("\n".join(svg))
