#!/usr/bin/env python3
"""Draws Valdoren's icon (install/valdoren.xpm, also the window icon) and its
hand cursor (src/resources/handcursor.xpm) as XPM files.

Both images are generated from simple shapes so that they can be changed by
editing numbers here instead of pixels; the output is deterministic, so
re-running the script leaves the files unchanged.
"""

import math
import os

SIZE = 32
HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCE_DIR = os.path.join(HERE, os.pardir, "src", "resources")
INSTALL_DIR = os.path.join(HERE, os.pardir, "install")

# Characters for the colour table; quotes and backslashes are left out because
# they would need escaping inside the C string literals.
CHARS = " .#+@$%&*=-;:>,<1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"


def write_xpm(path, name, pixels, colours, hotspot=None):
    """pixels: rows of palette indices (None = transparent); colours: RGB tuples."""
    used = sorted({c for row in pixels for c in row if c is not None})
    if len(used) >= len(CHARS):
        raise ValueError("too many colours for one character per pixel")
    code = {None: CHARS[0]}
    table = ['"%s c None",' % CHARS[0]]
    for i, c in enumerate(used, 1):
        code[c] = CHARS[i]
        table.append('"%s c #%02X%02X%02X",' % ((CHARS[i],) + colours[c]))
    header = "%d %d %d 1" % (SIZE, SIZE, len(table))
    if hotspot:
        header += " %d %d" % hotspot
    rows = ['"%s"' % "".join(code[c] for c in row) for row in pixels]
    lines = ["/* XPM */", "static const char *%s[] = {" % name, '"%s",' % header]
    lines += table + [r + "," for r in rows[:-1]] + [rows[-1], "};"]
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------- shapes
# Shapes are predicates on continuous coordinates, so the icon can be
# supersampled for smoother edges.

def in_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def in_rect(x, y, x0, y0, x1, y1):
    return x0 <= x <= x1 and y0 <= y <= y1


def in_polygon(x, y, pts):
    """Even-odd rule, so concave outlines such as an arrow work."""
    inside = False
    for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return inside


def edge_distance(x, y, pts):
    best = 1e9
    for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
    return best


def ramp(dark, mid, light, steps):
    """A shading ramp: `steps` colours from dark through mid to light."""
    def mix(a, b, t):
        return tuple(round(p + (q - p) * t) for p, q in zip(a, b))
    half = (steps - 1) / 2
    return [mix(dark, mid, i / half) if i <= half else mix(mid, light, i / half - 1)
            for i in range(steps)]


def shade(ramp_colours, level):
    """Picks a ramp colour for a brightness in 0..1; quantising here keeps the palette small."""
    level = max(0.0, min(1.0, level))
    return ramp_colours[round(level * (len(ramp_colours) - 1))]


# ------------------------------------------------------------------ icon

BLUE = ramp((16, 36, 72), (66, 120, 178), (214, 232, 250), 16)
GREEN = ramp((8, 60, 8), (60, 170, 40), (180, 248, 120), 12)
PAPER = ramp((100, 106, 116), (190, 194, 200), (255, 255, 255), 8)
LINES = [(80, 112, 160), (150, 170, 200)]
RAMPS = (BLUE, GREEN, PAPER, LINES)

# Database cylinder: a stack of three discs.
CX, RX, RY = 20.5, 10.6, 3.6
TOP, BOTTOM = 12.0, 27.2          # centres of the top face and of the bottom rim
GROOVES = (17.1, 22.2)            # centres of the rims between discs

# Arrow from the upper left into the top face, built along its own axis.
ARROW_TAIL, ARROW_TIP = (3.2, 3.4), (18.8, 14.0)
SHAFT_HALF, HEAD_HALF, HEAD_LEN = 2.8, 7.0, 8.5


def arrow_polygon():
    (tx, ty), (px, py) = ARROW_TAIL, ARROW_TIP
    length = math.hypot(px - tx, py - ty)
    ux, uy = (px - tx) / length, (py - ty) / length
    vx, vy = -uy, ux

    def at(u, v):
        return (tx + u * ux + v * vx, ty + u * uy + v * vy)

    neck = length - HEAD_LEN
    return [at(0, -SHAFT_HALF), at(neck, -SHAFT_HALF), at(neck, -HEAD_HALF),
            at(length, 0), at(neck, HEAD_HALF), at(neck, SHAFT_HALF),
            at(0, SHAFT_HALF)], (vx, vy)


ARROW, ARROW_ACROSS = arrow_polygon()

# Sheet (a code list) behind the arrow, with a folded corner.
SHEET = [(0.5, 0.5), (10.5, 0.5), (14.5, 4.5), (14.5, 18.5), (0.5, 18.5)]


def sheet_colour(x, y):
    if not in_polygon(x, y, SHEET):
        return None
    if edge_distance(x, y, SHEET) < 1.0:
        return PAPER[0]
    if x > 10.5 and y < 4.5:
        return PAPER[4]               # the folded-over corner, a little darker
    if 2.5 <= x <= 12.5 and int(y) % 3 == 0 and y > 5:
        return LINES[0] if x < 5 else LINES[1]   # list entries: code, then text
    return shade(PAPER, 1.0 - 0.15 * y / 18)


def cylinder_colour(x, y):
    in_body = in_rect(x, y, CX - RX, TOP, CX + RX, BOTTOM)
    in_top = in_ellipse(x, y, CX, TOP, RX, RY)
    in_bottom = in_ellipse(x, y, CX, BOTTOM, RX, RY)
    if not (in_body or in_top or in_bottom):
        return None
    # A dark outline keeps the silhouette readable when scaled down to 16 x 16.
    inner = (in_rect(x, y, CX - RX + 1, TOP, CX + RX - 1, BOTTOM)
             or in_ellipse(x, y, CX, BOTTOM, RX - 1, RY - 1)
             or in_ellipse(x, y, CX, TOP, RX - 1, RY - 1))
    if not inner:
        return BLUE[0]
    if in_ellipse(x, y, CX, TOP, RX - 1, RY - 1):
        # Top face lit from the upper left, lighter than the sides so it reads as a lid.
        return shade(BLUE, 1.0 - 0.2 * (x - CX + RX) / (2 * RX))
    if in_ellipse(x, y, CX, TOP, RX, RY):
        return BLUE[4]                # front rim of the top face
    nx = (x - CX) / RX
    lambert = -0.55 * nx + 0.8 * math.sqrt(max(0.0, 1 - nx * nx))
    level = 0.15 + 0.6 * max(0.0, lambert)
    for g in GROOVES:
        # A dark groove just below each disc edge makes the stack of discs visible.
        if y > g and in_ellipse(x, y, CX, g, RX, RY):
            if not in_ellipse(x, y, CX, g, RX, RY - 1.0):
                return shade(BLUE, level - 0.35)
    return shade(BLUE, level)


def arrow_colour(x, y):
    if not in_polygon(x, y, ARROW):
        return None
    if edge_distance(x, y, ARROW) < 1.0:
        return GREEN[0]
    # Shading across the arrow, brighter on its upper side, like a rounded bar.
    tx, ty = ARROW_TAIL
    v = ((x - tx) * ARROW_ACROSS[0] + (y - ty) * ARROW_ACROSS[1]) / HEAD_HALF
    return shade(GREEN, 1.0 - 0.55 * (v + 1) / 2)


def icon_colour(x, y):
    for layer in (arrow_colour, cylinder_colour, sheet_colour):
        c = layer(x, y)
        if c is not None:
            return c
    return None


def render_icon():
    palette = [c for r in RAMPS for c in r]
    sub = 4                           # 4 x 4 samples per pixel
    pixels = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            samples = [icon_colour(px + (i + 0.5) / sub, py + (j + 0.5) / sub)
                       for j in range(sub) for i in range(sub)]
            hits = [s for s in samples if s is not None]
            if len(hits) * 2 < len(samples):
                row.append(None)      # XPM has no partial transparency
                continue
            mean = [sum(c[k] for c in hits) / len(hits) for k in range(3)]
            # Map the blended colour back onto the ramps that were sampled, so
            # the palette stays small and edges do not pick up a foreign hue.
            near = [i for i, c in enumerate(palette) if any(c in r and h in r
                                                            for r in RAMPS for h in hits)]
            row.append(min(near, key=lambda i: sum((palette[i][k] - mean[k]) ** 2
                                                   for k in range(3))))
        pixels.append(row)
    return pixels, palette


# ---------------------------------------------------------------- cursor
# Drawn on the pixel grid: a white filled hand, then a one-pixel black outline
# around it, then a few black lines for the folded fingers.

HAND = [
    # (x0, y0, x1, y1, corner radius), inclusive pixel coordinates
    (4, 1, 6, 15, 0),                 # index finger; tip centred on column 5
    (8, 8, 10, 15, 0),                # folded middle finger
    (12, 9, 14, 15, 0),               # folded ring finger
    (16, 11, 18, 15, 0),              # folded little finger
    (4, 13, 18, 21, 2),               # palm
    (6, 20, 16, 26, 0),               # wrist
]
THUMB = [(1, 14), (3, 14), (3, 15), (5, 15), (6, 22), (4.5, 22), (1, 16)]
# Black pixels inside the fill: the crease where the thumb meets the palm.
CREASES = [(3, 15), (4, 16), (4, 17)]


def in_rounded(px, py, x0, y0, x1, y1, r):
    if not (x0 <= px <= x1 and y0 <= py <= y1):
        return False
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r + r * 0.5


def render_cursor():
    fill = [[any(in_rounded(x, y, *s) for s in HAND)
             or in_polygon(x + 0.5, y + 0.5, THUMB)
             for x in range(SIZE)] for y in range(SIZE)]

    def filled(x, y):
        return 0 <= x < SIZE and 0 <= y < SIZE and fill[y][x]

    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if fill[y][x]:
                row.append(0 if (x, y) in CREASES else 1)
            elif any(filled(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row.append(0)
            else:
                row.append(None)
        pixels.append(row)
    return pixels, [(0, 0, 0), (255, 255, 255)]


def main():
    pixels, palette = render_icon()
    write_xpm(os.path.join(INSTALL_DIR, "valdoren.xpm"), "valdoren_xpm", pixels, palette)
    pixels, palette = render_cursor()
    write_xpm(os.path.join(RESOURCE_DIR, "handcursor.xpm"), "handcursor_xpm", pixels, palette,
              hotspot=(5, 0))


if __name__ == "__main__":
    main()
