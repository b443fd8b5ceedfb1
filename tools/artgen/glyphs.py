"""Glyphs shared by several pictures: navigation triangles, magnifiers, arrows, check
marks, a hand-made pixel font for the choice letters, and button faces."""

import math

from raster import (RoundRect, Rect, Circle, Capsule, Polygon, Polyline, Linear, Radial, Vertical,
                    Intersect, Union, PixelMask, rgba, mix, lighten, darken)

# --------------------------------------------------------------------------- pixel font
# Choice letters for the answer bubbles: 6 x 8 pixels, two-pixel stems, drawn by hand
# so that they stay crisp at 16 x 16 without any font engine.
LETTERS = {
    'A': ["..##..",
          ".####.",
          "##..##",
          "##..##",
          "######",
          "##..##",
          "##..##",
          "##..##"],
    'B': ["#####.",
          "##..##",
          "##..##",
          "#####.",
          "##..##",
          "##..##",
          "##..##",
          "#####."],
    'C': [".####.",
          "##..##",
          "##....",
          "##....",
          "##....",
          "##....",
          "##..##",
          ".####."],
    'D': ["####..",
          "##.##.",
          "##..##",
          "##..##",
          "##..##",
          "##..##",
          "##.##.",
          "####.."],
}


def letter(ch, x0, y0):
    return PixelMask(LETTERS[ch], x0, y0)


# --------------------------------------------------------------------------- shapes

def triangle(cx, cy, w, h, direction):
    """Solid triangle of width w (along its pointing direction) and height h, centred."""
    if direction == 'left':
        return Polygon([(cx - w / 2, cy), (cx + w / 2, cy - h / 2), (cx + w / 2, cy + h / 2)])
    if direction == 'right':
        return Polygon([(cx + w / 2, cy), (cx - w / 2, cy - h / 2), (cx - w / 2, cy + h / 2)])
    if direction == 'up':
        return Polygon([(cx, cy - w / 2), (cx + h / 2, cy + w / 2), (cx - h / 2, cy + w / 2)])
    return Polygon([(cx, cy + w / 2), (cx + h / 2, cy - w / 2), (cx - h / 2, cy - w / 2)])


def nav_glyph(kind, cx, cy, size):
    """first / previous / next / last: a triangle, with a bar at the far end for first
    and last. `size` is the glyph's height."""
    h = size
    w = size * 0.78
    bar = size * 0.2
    if kind == 'first':
        return Union(RoundRect(cx - w / 2 - bar * 0.6, cy - h / 2, cx - w / 2 + bar * 0.4, cy + h / 2, 0.6),
                     triangle(cx + bar * 0.5, cy, w, h, 'left'))
    if kind == 'last':
        return Union(RoundRect(cx + w / 2 - bar * 0.4, cy - h / 2, cx + w / 2 + bar * 0.6, cy + h / 2, 0.6),
                     triangle(cx - bar * 0.5, cy, w, h, 'right'))
    return triangle(cx, cy, w, h, 'left' if kind == 'previous' else 'right')


def arrow(direction, cx, cy, length, head_w, shaft_w, head_len):
    """A block arrow pointing in the given direction, centred on (cx, cy)."""
    L, hw, sw, hl = length / 2, head_w / 2, shaft_w / 2, head_len
    # Pointing up, then turned.
    pts = [(0, -L), (hw, -L + hl), (sw, -L + hl), (sw, L), (-sw, L), (-sw, -L + hl), (-hw, -L + hl)]
    turn = {'up': lambda x, y: (x, y), 'down': lambda x, y: (-x, -y),
            'left': lambda x, y: (y, -x), 'right': lambda x, y: (-y, x)}[direction]
    return Polygon([(cx + turn(x, y)[0], cy + turn(x, y)[1]) for x, y in pts])


def check_mark(cx, cy, size, width):
    """A tick: short stroke down to the right, long stroke up to the right."""
    s = size
    pts = [(cx - 0.42 * s, cy + 0.02 * s), (cx - 0.12 * s, cy + 0.32 * s), (cx + 0.44 * s, cy - 0.34 * s)]
    return Polyline(pts, width)


def magnifier(scene, kind, cx, cy, size, glass_ink, handle_colour, rim_colour):
    """A magnifying glass of overall size `size` centred on (cx, cy); kind 'shrink'
    shows a minus in the lens, 'enlarge' a plus, 'fit' a frame with corner marks."""
    r = size * 0.30
    lx, ly = cx - size * 0.12, cy - size * 0.12
    rim_w = max(2.2, size * 0.085)
    d = 1 / math.sqrt(2)
    hx0, hy0 = lx + (r + rim_w * 0.3) * d, ly + (r + rim_w * 0.3) * d
    hx1, hy1 = cx + size * 0.42, cy + size * 0.42
    scene.add(Capsule(hx0 + 0.8, hy0 + 1.0, hx1 + 0.8, hy1 + 1.0, size * 0.16), (0, 0, 0), 0.18)
    scene.add(Capsule(hx0, hy0, hx1, hy1, size * 0.16),
              Linear(hx0 - 3, hy0 + 3, hx0 + 3, hy0 - 3, [(0, darken(handle_colour, 0.35)), (0.5, handle_colour),
                                                          (1, darken(handle_colour, 0.3))]))
    scene.add(Capsule(hx0, hy0, hx0 + size * 0.07, hy0 + size * 0.07, size * 0.2), darken(rim_colour, 0.2))
    scene.add(Circle(lx, ly, r), Radial(lx - r * 0.35, ly - r * 0.4, r * 1.4,
                                        [(0, (255, 255, 255)), (0.6, (232, 244, 255)), (1, (196, 222, 246))]))
    scene.add(Circle(lx, ly, r + rim_w / 2).stroke(rim_w),
              Linear(lx - r, ly - r, lx + r, ly + r, [(0, lighten(rim_colour, 0.35)), (1, darken(rim_colour, 0.25))]))
    # Glint on the glass.
    scene.add(Intersect(Circle(lx, ly, r * 0.8), Circle(lx - r * 0.25, ly - r * 0.3, r * 0.55)) -
              Circle(lx - r * 0.05, ly - r * 0.05, r * 0.62), (255, 255, 255), 0.8)
    k = r * 0.58
    t = max(2.0, size * 0.085)
    if kind in ('shrink', 'enlarge'):
        scene.add(RoundRect(lx - k, ly - t / 2, lx + k, ly + t / 2, t * 0.3), glass_ink)
        if kind == 'enlarge':
            scene.add(RoundRect(lx - t / 2, ly - k, lx + t / 2, ly + k, t * 0.3), glass_ink)
    else:
        f = r * 0.55
        a = f * 0.55
        w = max(1.4, size * 0.055)
        for sx in (-1, 1):
            for sy in (-1, 1):
                x, y = lx + sx * f, ly + sy * f
                scene.add(Polyline([(x - sx * a, y), (x, y), (x, y - sy * a)], w), glass_ink)
        scene.add(RoundRect(lx - f * 0.42, ly - f * 0.42, lx + f * 0.42, ly + f * 0.42, 0.8), glass_ink, 0.85)


def glossy_face(scene, shape, top, bottom, outline, y0, y1, gloss=0.35, outline_w=1.0):
    """A button face: vertical gradient with a brighter upper half and an outline."""
    mid = (y0 + y1) / 2
    scene.add(shape, Vertical(y0, y1, [(0, lighten(top, 0.25)), (0.48, top), (0.52, mix(top, bottom, 0.6)),
                                       (1, bottom)]))
    scene.add(Intersect(shape, Rect(-1000, y0, 1000, mid)), (255, 255, 255), gloss * 0.5)
    scene.add(shape.shrink(outline_w).border(1.0), (255, 255, 255), 0.45)
    scene.add(shape.border(outline_w), outline)
