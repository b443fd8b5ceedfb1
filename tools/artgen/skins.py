"""The six box skins: palettes, frame geometry and slicing.

A skin is drawn as one whole box (outline, frame band, content area, caption band and
decorations, each placed by its distance from the box's edges) and then cut into the
nine slices of the skin table. The box is laid out on screen with its corners unscaled,
its top and bottom edges stretched across, its side edges stretched down and its centre
stretched both ways; so every slice is rendered from the part of the whole box that it
will stand for on screen:

  * a corner from the matching corner of the box;
  * an edge or the centre from a stretch of the box where nothing changes along the
    direction in which it is stretched (the box is drawn with a wide plain middle);
  * the middle row with the box's middle row exactly as tall as the slice, so that a
    vertical gradient across the middle row stretches with the box and meets the top
    and bottom rows at the same colours whatever the box's height;
  * the side slices of the middle row at the width they are shown at (the widths of the
    top corners) and resampled to their stored width.

This keeps corners, edges and centre joined without seams at every size.
"""

import math

from raster import (Scene, RoundRect, Rect, Circle, Capsule, Polygon, Polyline, Func, Linear,
                    Radial, Vertical, render, rgba, mix, lighten, darken, Intersect, Union, Ellipse)

# Colour of the container around the rounded outer corners (the usual window face).
OUTSIDE = (240, 240, 240)

# --------------------------------------------------------------------------- geometry
# Skin table: resource id and (width, height) of the nine slices per style, rows
# top / middle / bottom, columns left / centre / right.

SKIN_TABLE = {
    0: [[('101', 3, 3), ('102', 3, 3), ('103', 3, 3)],
        [('104', 3, 76), ('105', 3, 76), ('106', 3, 76)],
        [('107', 3, 21), ('108', 3, 21), ('109', 3, 21)]],
    1: [[('119', 29, 21), ('120', 11, 21), ('121', 29, 21)],
        [('122', 29, 86), ('123', 14, 86), ('124', 29, 86)],
        [('125', 29, 38), ('126', 10, 38), ('127', 29, 38)]],
    2: [[('137', 23, 18), ('138', 5, 18), ('139', 30, 18)],
        [('140', 23, 8), ('141', 5, 8), ('142', 30, 8)],
        [('143', 23, 30), ('144', 8, 30), ('145', 30, 30)]],
    3: [[('128', 24, 20), ('129', 5, 20), ('130', 26, 20)],
        [('131', 24, 9), ('132', 6, 9), ('133', 26, 9)],
        [('134', 24, 30), ('135', 6, 30), ('136', 26, 30)]],
    4: [[('175', 8, 29), ('176', 7, 29), ('194', 77, 29)],
        [('178', 10, 11), ('179', 12, 11), ('180', 77, 11)],
        [('181', 11, 24), ('182', 10, 24), ('183', 9, 24)]],
    5: [[('SB_TOP_1', 6, 36), ('SB_TOP_2', 7, 36), ('SB_TOP_3', 93, 36)],
        [('SB_MID_1', 6, 8), ('SB_MID_2', 8, 8), ('SB_MID_3', 93, 8)],
        [('SB_BOTTOM_1', 6, 10), ('SB_BOTTOM_2', 8, 10), ('SB_BOTTOM_3', 93, 10)]],
}

# Style 4's right top slice comes in four versions of one size, one per box family:
# 194 for the plain and scroll boxes, 191 the zoom box, 192 the navigation box, 193 the
# information box. Each carries the same ornament with its own small emblem.
STYLE4_TOP_RIGHT_VARIANTS = {'194': 'plain', '191': 'zoom', '192': 'switch', '193': 'info'}


def _ramp3(y, H, top_h, bot_h, top, mid, bot):
    """Colour at height y of a paint given as three vertical ramps, one per skin row;
    each ramp is a list of (t, colour) over its own row (t 0 at the row's top)."""
    if y < top_h:
        stops, t = top, y / top_h
    elif y >= H - bot_h:
        stops, t = bot, (y - (H - bot_h)) / bot_h
    else:
        stops, t = mid, (y - top_h) / max(1e-6, H - top_h - bot_h)
    if t <= stops[0][0]:
        return rgba(stops[0][1])
    for k in range(1, len(stops)):
        if t <= stops[k][0]:
            t0, c0 = stops[k - 1]
            t1, c1 = stops[k]
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0.0)
    return rgba(stops[-1][1])


class Style:
    """Look of one skin. Thicknesses are (left, top, right, bottom) in pixels; ramps are
    (top row, middle row, bottom row) lists of (t, colour)."""

    def __init__(self, name, radius, outline, band, band_ramps, content_radius, content_ramps,
                 highlight=0.55, caption_row='bottom', separator=None, decorate=None):
        self.name = name
        self.radius = radius
        self.outline = outline
        self.band = band
        self.band_ramps = band_ramps
        self.content_radius = content_radius
        self.content_ramps = content_ramps
        self.highlight = highlight
        self.caption_row = caption_row
        self.separator = separator  # (dark line colour, light line colour) or None
        self.decorate = decorate


def _office_decorate(s, W, H, top_h, bot_h, variant):
    pass


def _leaf(cx, cy, length, width, angle_deg):
    """A pointed leaf shape (two circular arcs) centred at (cx, cy)."""
    a = math.radians(angle_deg)
    # Lens = intersection of two discs whose centres sit either side of the leaf's axis.
    half = length / 2.0
    r = (half * half + (width / 2.0) ** 2) / width
    off = r - width / 2.0
    nx, ny = -math.sin(a), math.cos(a)
    return Intersect(Circle(cx + nx * off, cy + ny * off, r), Circle(cx - nx * off, cy - ny * off, r))


def _green_decorate(s, W, H, top_h, bot_h, variant):
    # A sprig of two leaves in the bottom right corner, beside the caption band.
    cx, cy = W - 16, H - 15
    s.add(Capsule(cx + 1.5, cy + 8, cx + 0.5, cy - 2, 1.5), (78, 122, 40))
    grad = [(0, (160, 214, 100)), (1, (70, 136, 38))]
    for lx, ly, ang in ((cx - 4.5, cy - 4.5, 40), (cx + 5, cy - 6.5, -55)):
        leaf = _leaf(lx, ly, 12, 6, ang)
        s.add(leaf, Linear(lx - 5, ly - 5, lx + 5, ly + 5, grad))
        s.add(leaf.border(0.9), (58, 110, 30), 0.85)
        s.add(Capsule(lx - 3.2 * math.cos(math.radians(ang)), ly - 3.2 * math.sin(math.radians(ang)),
                      lx + 3.2 * math.cos(math.radians(ang)), ly + 3.2 * math.sin(math.radians(ang)), 0.7),
              (230, 250, 200), 0.7)


def _heart(cx, cy, size):
    r = size * 0.3
    lobe1 = Circle(cx - r * 0.95, cy - r * 0.35, r)
    lobe2 = Circle(cx + r * 0.95, cy - r * 0.35, r)
    tip = Polygon([(cx - size * 0.57, cy - r * 0.05), (cx + size * 0.57, cy - r * 0.05), (cx, cy + size * 0.55)])
    return Union(lobe1, lobe2, tip)


def _reddark_decorate(s, W, H, top_h, bot_h, variant):
    # Ornament at the right end of the title band: a row of little hearts and bubbles
    # fading out to the left, and a round badge whose emblem says what the box does.
    y = top_h / 2.0
    for k, (dx, size, alpha) in enumerate([(60, 4.5, 0.25), (52, 5.5, 0.35), (43, 7.0, 0.5)]):
        s.add(Circle(W - dx, y + (1 if k % 2 else -1), size / 2), (255, 214, 214), alpha)
    hx = W - 31
    s.add(_heart(hx, y + 0.5, 10), Linear(hx, y - 5, hx, y + 6, [(0, (255, 190, 190)), (1, (240, 120, 120))]))
    bx, by, br = W - 15.5, y, 9.5
    s.add(Circle(bx, by + 1, br), (60, 0, 0), 0.45)
    s.add(Circle(bx, by, br), Radial(bx - 3, by - 4, 14, [(0, (255, 246, 240)), (1, (244, 204, 196))]))
    s.add(Circle(bx, by, br).border(1.0), (120, 20, 20))
    ink = (140, 22, 22)
    if variant == 'zoom':
        s.add(Circle(bx - 1.5, by - 1.5, 4.2).stroke(1.8), ink)
        s.add(Capsule(bx + 1.6, by + 1.6, bx + 5, by + 5, 2.4), ink)
    elif variant == 'switch':
        s.add(Polygon([(bx - 6, by), (bx - 1, by - 4.5), (bx - 1, by + 4.5)]), ink)
        s.add(Polygon([(bx + 6, by), (bx + 1, by - 4.5), (bx + 1, by + 4.5)]), ink)
    elif variant == 'info':
        s.add(Circle(bx, by - 4.2, 1.5), ink)
        s.add(RoundRect(bx - 1.3, by - 1.5, bx + 1.3, by + 5.5, 0.6), ink)
    else:
        s.add(_heart(bx, by + 0.6, 10), Linear(bx, by - 5, bx, by + 6, [(0, (226, 60, 60)), (1, (150, 20, 20))]))


def round_badge(s, cx, cy, r):
    """The title band's badge: a pale disc in a dark blue rim holding a four-pointed
    star, a plain mark of the library's own."""
    s.add(Circle(cx + 0.6, cy + 1.0, r), (0, 0, 40), 0.35)
    s.add(Circle(cx, cy, r), Radial(cx - r * 0.35, cy - r * 0.4, r * 1.6,
                                    [(0, (255, 255, 255)), (0.6, (232, 240, 252)), (1, (196, 212, 238))]))
    s.add(Circle(cx, cy, r).border(1.4), (20, 50, 110))
    k = r * 0.22
    star = Polygon([(cx, cy - r * 0.72), (cx + k, cy - k), (cx + r * 0.72, cy), (cx + k, cy + k),
                    (cx, cy + r * 0.72), (cx - k, cy + k), (cx - r * 0.72, cy), (cx - k, cy - k)])
    s.add(star, Linear(cx - r, cy - r, cx + r, cy + r, [(0, (64, 120, 208)), (1, (20, 56, 132))]))
    s.add(Circle(cx, cy, r * 0.14), (255, 255, 255))


def _firefox_decorate(s, W, H, top_h, bot_h, variant):
    # Orange rule under the title band.
    inner = RoundRect(1, 1, W - 1, H - 1, 5)
    s.add(Intersect(inner, Rect(0, top_h - 3, W, top_h - 1)),
          Vertical(top_h - 3, top_h - 1, [(0, (255, 186, 72)), (1, (232, 110, 12))]))
    s.add(Intersect(inner, Rect(0, top_h - 1, W, top_h)), (150, 70, 10))
    # Title-band sheen.
    s.add(Intersect(inner, Rect(0, 1, W, top_h * 0.45)), (255, 255, 255), 0.12)
    round_badge(s, W - 22, top_h / 2.0 - 1, 11.5)


STYLES = {
    0: Style('Office2007box', radius=3, outline=(141, 178, 227),
             band=(0, 0, 0, 0), band_ramps=None, content_radius=2,
             content_ramps=([(0, (250, 252, 255)), (1, (246, 250, 255))],
                            [(0, (246, 250, 255)), (1, (226, 236, 249))],
                            [(0, (204, 223, 246)), (0.55, (188, 211, 241)), (1, (176, 202, 237))]),
             highlight=0.75, separator=((164, 193, 232), (236, 244, 253))),
    1: Style('Natural_bluebox', radius=(11, 11, 9, 9), outline=(30, 74, 136),
             band=(6, 6, 6, 38), band_ramps=(
                 [(0, (143, 188, 240)), (1, (104, 156, 222))],
                 [(0, (104, 156, 222)), (1, (64, 112, 188))],
                 [(0, (58, 104, 180)), (0.5, (48, 90, 166)), (1, (38, 76, 150))]),
             content_radius=(6, 6, 0, 0),
             content_ramps=([(0, (255, 255, 255)), (1, (246, 250, 255))],
                            [(0, (246, 250, 255)), (1, (226, 237, 251))],
                            [(0, (226, 237, 251)), (1, (226, 237, 251))]),
             highlight=0.45),
    2: Style('Natural_greenbox', radius=(9, 9, 10, 9), outline=(70, 122, 44),
             band=(4, 4, 4, 4), band_ramps=(
                 [(0, (176, 220, 132)), (1, (146, 202, 100))],
                 [(0, (146, 202, 100)), (1, (128, 188, 84))],
                 [(0, (128, 188, 84)), (1, (104, 166, 62))]),
             content_radius=(5, 5, 6, 5),
             content_ramps=([(0, (252, 255, 248)), (1, (247, 252, 240))],
                            [(0, (247, 252, 240)), (1, (232, 245, 220))],
                            [(0, (222, 240, 204)), (0.6, (208, 233, 186)), (1, (196, 226, 172))]),
             highlight=0.5, separator=((150, 196, 112), (246, 252, 240)), decorate=_green_decorate),
    3: Style('Natural_redlightbox', radius=(9, 9, 9, 9), outline=(196, 96, 92),
             band=(4, 4, 4, 4), band_ramps=(
                 [(0, (250, 186, 180)), (1, (240, 160, 152))],
                 [(0, (240, 160, 152)), (1, (232, 146, 138))],
                 [(0, (232, 146, 138)), (1, (214, 122, 114))]),
             content_radius=(5, 5, 5, 5),
             content_ramps=([(0, (255, 252, 251)), (1, (255, 248, 246))],
                            [(0, (255, 248, 246)), (1, (253, 236, 233))],
                            [(0, (251, 225, 221)), (0.6, (247, 210, 205)), (1, (243, 199, 193))]),
             highlight=0.5, separator=((232, 166, 158), (255, 246, 244))),
    4: Style('Baby_reddarkbox', radius=(7, 7, 7, 7), outline=(70, 8, 8),
             band=(4, 29, 4, 24), band_ramps=(
                 [(0, (178, 52, 52)), (0.5, (150, 30, 30)), (1, (124, 18, 18))],
                 [(0, (124, 18, 18)), (1, (118, 16, 16))],
                 [(0, (132, 24, 24)), (0.5, (116, 16, 16)), (1, (96, 10, 10))]),
             content_radius=(0, 0, 0, 0),
             content_ramps=([(0, (255, 250, 248)), (1, (255, 250, 248))],
                            [(0, (255, 250, 248)), (1, (250, 234, 230))],
                            [(0, (250, 234, 230)), (1, (250, 234, 230))]),
             highlight=0.3, decorate=_reddark_decorate),
    5: Style('Baby_FireFox', radius=(6, 6, 5, 5), outline=(20, 50, 110),
             band=(3, 36, 3, 3), band_ramps=(
                 [(0, (92, 150, 226)), (0.5, (50, 102, 192)), (1, (30, 78, 164))],
                 [(0, (48, 98, 184)), (1, (48, 98, 184))],
                 [(0, (48, 98, 184)), (1, (36, 82, 164))]),
             content_radius=(0, 0, 2, 2),
             content_ramps=([(0, (246, 249, 255)), (1, (246, 249, 255))],
                            [(0, (246, 249, 255)), (1, (238, 244, 253))],
                            [(0, (238, 244, 253)), (1, (232, 240, 252))]),
             highlight=0.35, caption_row='top', decorate=_firefox_decorate),
}


def box_scene(style, W, H, top_h, bot_h, variant='plain'):
    """The whole box of the given style, W x H pixels, with the given row heights."""
    p = STYLES[style]
    s = Scene().fill(OUTSIDE)
    outer = RoundRect(0, 0, W, H, p.radius)
    s.add(outer, p.outline)
    inside = outer.shrink(1)
    bl, bt, br, bb = p.band
    if p.band_ramps is not None:
        s.add(inside, Func(lambda x, y: _ramp3(y, H, top_h, bot_h, *p.band_ramps)))
        s.add(inside.border(1), (255, 255, 255), p.highlight)
        content = RoundRect(1 + bl, 1 + bt if bt < top_h else bt, W - 1 - br,
                            H - 1 - bb if bb < bot_h else H - bb, p.content_radius)
        s.add(content.grow(1), darken(p.outline, 0.0), 0.55)
    else:
        content = inside
    s.add(content, Func(lambda x, y: _ramp3(y, H, top_h, bot_h, *p.content_ramps)))
    if p.band_ramps is None:
        s.add(content.border(1), (255, 255, 255), p.highlight)
    if p.separator is not None:
        dark, light = p.separator
        y = H - bot_h
        s.add(Intersect(content, Rect(0, y, W, y + 1)), dark)
        s.add(Intersect(content, Rect(0, y + 1, W, y + 2)), light, 0.8)
    if p.decorate is not None:
        p.decorate(s, W, H, top_h, bot_h, variant)
    return s


MIDDLE_SPAN = 120  # width of the plain stretch drawn between the corners


def skin_slices(style, variant='plain'):
    """Renders the nine slices of a style; returns {resource id: Image}."""
    t = SKIN_TABLE[style]
    top_h, mid_h, bot_h = t[0][0][2], t[1][0][2], t[2][0][2]
    H = top_h + mid_h + bot_h
    out = {}
    for row in range(3):
        if row < 2:
            lw, rw = t[0][0][1], t[0][2][1]  # the middle row's sides take the top corners' widths
        else:
            lw, rw = t[2][0][1], t[2][2][1]
        W = lw + MIDDLE_SPAN + rw
        scene = box_scene(style, W, H, top_h, bot_h, variant)
        y0 = [0, top_h, H - bot_h][row]
        y1 = y0 + [top_h, mid_h, bot_h][row]
        for col in range(3):
            rid, bw, bh = t[row][col]
            if col == 0:
                x0, x1 = 0, lw
            elif col == 1:
                x0 = lw + MIDDLE_SPAN // 2
                x1 = x0 + bw
            else:
                x0, x1 = W - rw, W
            out[rid] = render(scene, bw, bh, (x0, y0, x1, y1))
    return out


def style4_top_right(rid):
    t = SKIN_TABLE[4]
    top_h, mid_h, bot_h = t[0][0][2], t[1][0][2], t[2][0][2]
    H = top_h + mid_h + bot_h
    lw, rw = t[0][0][1], t[0][2][1]
    W = lw + MIDDLE_SPAN + rw
    scene = box_scene(4, W, H, top_h, bot_h, STYLE4_TOP_RIGHT_VARIANTS[rid])
    return render(scene, rw, top_h, (W - rw, 0, W, top_h))


def body_colour(style, where=0.85):
    """Colour of the content area at a fraction of the middle row's height (used as the
    surroundings of buttons that sit over the box's content)."""
    p = STYLES[style]
    stops = p.content_ramps[1]
    c = rgba(stops[0][1])
    for k in range(1, len(stops)):
        if where <= stops[k][0]:
            t0, c0 = stops[k - 1]
            t1, c1 = stops[k]
            return mix(c0, c1, (where - t0) / (t1 - t0))
    return rgba(stops[-1][1])
