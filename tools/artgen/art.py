"""TalvikSkills artwork: what every bitmap resource and template picture looks like.

Each entry of PICTURES names one picture of the library:

    kind     'res'      a numbered or named bitmap resource (stored name, upper case)
             'toolbox'  a designer toolbox bitmap, 16 x 15, 16 colours
             'tpl'      a picture that a control's design template carries
    id       the resource's stored name, or "<Control>/<Element>" for a template picture
    size     width and height in pixels, fixed by the layouts that use the picture
    depth    bits per pixel of the picture as the control expects it
    storage  'plain' - the file is written with exactly `depth` bits per pixel;
             'mask'  - an icon or cursor with a transparency mask: the file is a 32-bit
                       BMP whose alpha channel is the mask (fully transparent background,
                       antialiased edges)
    hotspot  (x, y) for a cursor, else None
    draw     function returning the rendered picture

The generator (artgen.py) renders every entry, writes the files under resources/ and
writes resources/manifest.txt from this table.

Toolbox bitmaps, one per public control, in the order of the library's type description:

    30000 Banner            30004 TimerPicture   30008 vltInfoBox
    30001 Matrix            30005 ScrollBox      30009 vltHeaderExam
    30002 VelOptionToolBar  30006 vltZoomBox     30010 vltBox
    30003 URLLink           30007 vltSwitch

They use the standard 16-colour palette with silver (palette index 7) as background,
the colour a designer's toolbox treats as transparent.
"""

import math

from raster import (Scene, RoundRect, Rect, Circle, Capsule, Polygon, Polyline, Linear, Radial,
                    Vertical, Horizontal, Intersect, Union, Func, render, rgba, mix, lighten, darken)
import glyphs
import raster
from glyphs import nav_glyph, arrow, check_mark, magnifier, glossy_face, letter
import skins
from skins import OUTSIDE, SKIN_TABLE, body_colour

PICTURES = []


def picture(kind, pid, w, h, depth=24, storage='plain', hotspot=None):
    def register(fn):
        PICTURES.append(dict(kind=kind, id=pid, w=w, h=h, depth=depth, storage=storage, hotspot=hotspot,
                             draw=fn))
        return fn
    return register


def add(kind, pid, w, h, fn, depth=24, storage='plain', hotspot=None):
    PICTURES.append(dict(kind=kind, id=pid, w=w, h=h, depth=depth, storage=storage, hotspot=hotspot, draw=fn))


# =========================================================================== box skins
# Slices of styles 0-5 (resources 101-109, 119-145, 175-183, 194, SB_*), rendered per
# style in one pass and cached.

_skin_cache = {}


def _skin(style):
    key = (style, raster.SCALE)
    if key not in _skin_cache:
        _skin_cache[key] = skins.skin_slices(style)
    return _skin_cache[key]


for _style, _rows in SKIN_TABLE.items():
    for _row in _rows:
        for _rid, _w, _h in _row:
            add('res', _rid, _w, _h, (lambda st, r: lambda: _skin(st)[r])(_style, _rid))

for _rid in ('191', '192', '193'):
    add('res', _rid, 77, 29, (lambda r: lambda: skins.style4_top_right(r))(_rid))


# =========================================================================== buttons
# Button faces per box style (normal state) and one shared highlighted state. A normal
# button sits on the box's content just above the bottom row, so its surroundings take
# the content colour there.

FACES = {
    0: dict(top=(255, 255, 255), bottom=(214, 228, 246), outline=(157, 187, 227), ink=(43, 87, 151)),
    1: dict(top=(236, 245, 255), bottom=(176, 206, 243), outline=(77, 127, 196), ink=(28, 72, 138)),
    2: dict(top=(246, 252, 238), bottom=(196, 228, 164), outline=(113, 168, 74), ink=(52, 112, 26)),
    3: dict(top=(255, 246, 244), bottom=(244, 200, 194), outline=(210, 130, 122), ink=(160, 52, 44)),
    4: dict(top=(255, 244, 242), bottom=(234, 186, 180), outline=(150, 40, 40), ink=(128, 18, 18)),
}
HOVER = dict(top=(255, 246, 204), bottom=(255, 204, 82), outline=(96, 70, 16), ink=(30, 52, 104))


def _face_button(w, h, face, surround, radius, draw_glyph):
    s = Scene().fill(surround)
    shape = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, radius)
    glossy_face(s, shape, face['top'], face['bottom'], face['outline'], 0.5, h - 0.5)
    draw_glyph(s, face['ink'])
    return render(s, w, h).opaque_over(surround)


def _nav_drawer(kind, w, h):
    def draw(s, ink):
        g = nav_glyph(kind, w / 2, h / 2, h * 0.5)
        s.add(g.moved(0, 1), (255, 255, 255), 0.7)
        s.add(g, Vertical(h * 0.3, h * 0.7, [(0, lighten(ink, 0.25)), (1, ink)]))
    return draw


NAV_KINDS = ['first', 'previous', 'next', 'last']

# vltSwitch, styles 0-4: normal 111/113/115/117, 146-149, 150-153, 154-157, 184-187;
# hover 110/112/114/116 shared by the five styles. 43 x 33.
SWITCH_NORMAL = {0: ['111', '113', '115', '117'], 1: ['146', '147', '148', '149'],
                 2: ['150', '151', '152', '153'], 3: ['154', '155', '156', '157'],
                 4: ['184', '185', '186', '187']}
SWITCH_HOVER = ['110', '112', '114', '116']


def _add_face_buttons(normal, hover, w, h, normal_radius, hover_radius, drawer):
    """Normal buttons in each style's face and body colours, and hover buttons that all
    styles share; drawer(k, w, h) draws the glyph of button k."""
    for style, ids in normal.items():
        for k, rid in enumerate(ids):
            add('res', rid, w, h, (lambda st, k: lambda: _face_button(
                w, h, FACES[st], body_colour(st), normal_radius, drawer(k, w, h)))(style, k))
    for k, rid in enumerate(hover):
        add('res', rid, w, h, (lambda k: lambda: _face_button(
            w, h, HOVER, (236, 236, 236), hover_radius, drawer(k, w, h)))(k))


_add_face_buttons(SWITCH_NORMAL, SWITCH_HOVER, 43, 33, 5, 3, lambda k, w, h: _nav_drawer(NAV_KINDS[k], w, h))

# vltZoomBox, styles 0-4: normal 158-169 and 188-190, hover 170-172 shared. 54 x 61.
ZOOM_KINDS = ['shrink', 'enlarge', 'fit']
ZOOM_NORMAL = {0: ['158', '159', '160'], 1: ['161', '162', '163'], 2: ['164', '165', '166'],
               3: ['167', '168', '169'], 4: ['188', '189', '190']}
ZOOM_HOVER = ['170', '171', '172']


def _zoom_drawer(kind, w, h):
    def draw(s, ink):
        magnifier(s, kind, w / 2, h / 2, min(w, h) * 0.66, ink, (96, 74, 56), (120, 134, 156))
    return draw


_add_face_buttons(ZOOM_NORMAL, ZOOM_HOVER, 54, 61, 7, 4, lambda k, w, h: _zoom_drawer(ZOOM_KINDS[k], w, h))


# Baby_FireFox (style 5): round glossy buttons, blue when normal, orange when hovered.

def _round_button(w, h, hover, draw_glyph):
    surround = body_colour(5)
    s = Scene().fill(surround)
    cx, cy = w / 2, h / 2
    r = min(w, h) / 2 - 2.5
    if hover:
        top, bottom, rim = (255, 214, 120), (236, 106, 8), (120, 48, 0)
    else:
        top, bottom, rim = (112, 170, 240), (26, 74, 160), (14, 40, 100)
    s.add(Circle(cx, cy + 1.2, r + 0.8), (0, 0, 40), 0.22)
    s.add(Circle(cx, cy, r + 1.2), rim)
    s.add(Circle(cx, cy, r), Linear(0, cy - r, 0, cy + r, [(0, top), (1, bottom)]))
    s.add(Circle(cx, cy, r), Radial(cx, cy + r * 0.9, r * 1.1, [(0, lighten(top, 0.3)), (1, (0, 0, 0, 0))]), 0.6)
    s.add(Intersect(Circle(cx, cy, r - 1.2), Circle(cx, cy - r * 0.95, r * 1.05)), (255, 255, 255), 0.38)
    draw_glyph(s, cx, cy, r)
    return render(s, w, h).opaque_over(surround)


def _white_nav(kind):
    def draw(s, cx, cy, r):
        g = nav_glyph(kind, cx, cy, r * 0.95)
        s.add(g.moved(0.6, 1.0), (0, 0, 40), 0.35)
        s.add(g, (255, 255, 255))
    return draw


def _white_zoom(kind):
    def draw(s, cx, cy, r):
        magnifier(s, kind, cx, cy, r * 1.35, (30, 70, 150), (255, 255, 255), (235, 240, 250))
    return draw


for _k, _name in enumerate(['SB_FIRST', 'SB_PRE', 'SB_NEXT', 'SB_LAST']):
    _w = 46 if _name in ('SB_FIRST', 'SB_LAST') else 45
    for _hover in (False, True):
        add('res', _name + ('_HOVER' if _hover else '_NORMAL'), _w, 46,
            (lambda w, hv, k: lambda: _round_button(w, 46, hv, _white_nav(NAV_KINDS[k])))(_w, _hover, _k))

for _k, _name in enumerate(['THU_NHO', 'PHONG_TO', 'FIT']):
    for _hover in (False, True):
        add('res', _name + ('_HOVER' if _hover else '_NORMAL'), 57, 64,
            (lambda hv, k: lambda: _round_button(57, 64, hv, _white_zoom(ZOOM_KINDS[k])))(_hover, _k))


# ScrollBox: a green arrow on a page (normal) or on a highlighted background with a dark
# border (hover). 40 x 48, shared by every style.

SCROLL_DIRS = ['up', 'down', 'left', 'right']


def _scroll_arrow(s, direction, w, h):
    cx, cy = w / 2, h / 2 + 2
    g = arrow(direction, cx, cy, 24, 21, 9, 11)
    s.add(g.moved(0.8, 1.2), (0, 40, 0), 0.25)
    s.add(g, Linear(cx - 10, cy - 12, cx + 10, cy + 12, [(0, (120, 214, 96)), (0.5, (56, 170, 54)),
                                                       (1, (26, 120, 34))]))
    s.add(g.shrink(1.0).border(1.0), (200, 255, 180), 0.45)
    s.add(g.border(1.1), (18, 92, 24))


def _scroll_button(direction, hover):
    w, h = 40, 48
    bg = (236, 236, 236)
    s = Scene().fill(bg)
    if hover:
        face = RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 3)
        s.add(face, Vertical(0, h, [(0, (255, 250, 222)), (0.5, (255, 232, 150)), (0.52, (255, 218, 110)),
                                    (1, (255, 236, 160))]))
        s.add(face.border(1.2), (52, 52, 64))
        s.add(face.shrink(1.2).border(1.0), (255, 255, 255), 0.6)
    else:
        page = Polygon([(0.5, 0.5), (29, 0.5), (39.5, 11), (39.5, 47.5), (0.5, 47.5)])
        s.add(page, Linear(0, 0, w, h, [(0, (255, 255, 255)), (1, (236, 240, 246))]))
        for k in range(6):
            y = 10 + k * 6
            s.add(Rect(5, y, 25 if k == 0 else 35, y + 1.2), (205, 212, 222))
        fold = Polygon([(29, 0.5), (29, 11), (39.5, 11)])
        s.add(fold, Linear(29, 11, 35, 5, [(0, (214, 220, 230)), (1, (246, 248, 252))]))
        s.add(page.border(1.0), (128, 140, 156))
        s.add(Polyline([(29, 0.5), (29, 11), (39.5, 11)], 1.0), (150, 160, 176))
    _scroll_arrow(s, direction, w, h)
    return render(s, w, h).opaque_over(bg)


for _k, _d in enumerate(SCROLL_DIRS):
    add('res', 'SCROLL_NORMAL_%d' % (_k + 1), 40, 48, (lambda d: lambda: _scroll_button(d, False))(_d))
    add('res', 'SCROLL_%d' % (_k + 1), 40, 48, (lambda d: lambda: _scroll_button(d, True))(_d))


# =========================================================================== clock face

@picture('res', 'CLOCK_FIREFOX', 122, 122)
def clock_face():
    # A plain wall clock: a brushed grey rim, a white dial, twelve hour marks (the four
    # quarters longer) and a dot for every minute. The hands turn about the middle of
    # the 121 x 120 pixel control the face is shown in (60.5, 60 in pixel coordinates),
    # so the face is centred there and not on the bitmap; the hub takes the hands' navy.
    w, h = 122, 122
    cx, cy = 60.5, 60.0
    R = 59.0
    s = Scene().fill(OUTSIDE)
    s.add(Circle(cx + 0.6, cy + 1.0, R), (0, 0, 0), 0.2)
    # Rim: light at the top left, darker at the bottom right, with a bright inner edge.
    s.add(Circle(cx, cy, R), Linear(cx - 40, cy - R, cx + 40, cy + R,
                                    [(0, (236, 238, 242)), (0.5, (178, 182, 190)), (1, (112, 116, 126))]))
    s.add(Circle(cx, cy, R).border(1.0), (70, 74, 84), 0.8)
    s.add(Circle(cx, cy, R - 1.6).border(1.0), (255, 255, 255), 0.45)
    # Dial, sunk into the rim: a dark seam, then white shading to a faint grey edge.
    F = R - 6.0
    s.add(Circle(cx, cy, F + 1.0), (88, 92, 104), 0.9)
    s.add(Circle(cx, cy, F), Radial(cx - 12, cy - 16, 84, [(0, (255, 255, 255)), (0.7, (250, 250, 250)),
                                                           (1, (226, 228, 232))]))
    # Minute dots and hour marks (12 at the top, clockwise).
    for m in range(60):
        a = math.radians(m * 6)
        dx, dy = math.sin(a), -math.cos(a)
        if m % 5:
            s.add(Circle(cx + dx * (F - 4.5), cy + dy * (F - 4.5), 0.7), (128, 132, 142))
        else:
            quarter = m % 15 == 0
            r0, r1 = (F - 14 if quarter else F - 10), F - 3
            s.add(Capsule(cx + dx * r0, cy + dy * r0, cx + dx * r1, cy + dy * r1, 3.6 if quarter else 2.4),
                  (34, 36, 44) if quarter else (70, 74, 86))
    # Hub under the hands.
    s.add(Circle(cx, cy, 3.4), (0, 0, 64))
    s.add(Circle(cx, cy, 1.3), (200, 204, 214))
    return render(s, w, h).opaque_over(OUTSIDE)


# =========================================================================== Matrix

CRIMSON = (220, 20, 60)


def _bubble(ch, marked):
    s = Scene()
    c = 8.0
    if marked:
        s.add(Circle(c, c, 7.6), Radial(c - 2, c - 3, 11, [(0, (150, 150, 150)), (1, (104, 104, 104))]))
        s.add(Circle(c, c, 7.6).border(0.9), (74, 74, 74))
        s.add(letter(ch, 5, 4), (110, 0, 0))
    else:
        s.add(Circle(c, c, 7.6), (255, 255, 255))
        s.add(Circle(c, c, 7.6).border(1.45), CRIMSON)
        s.add(letter(ch, 5, 4), CRIMSON)
    return render(s, 16, 16)


for _k, _ch in enumerate('ABCD'):
    for _m in (0, 1):
        add('tpl', 'Matrix/Picture%d(%d)' % (_k + 1, _m), 16, 16,
            (lambda ch, m: lambda: _bubble(ch, bool(m)))(_ch, _m), depth=24, storage='mask')


@picture('tpl', 'Matrix/imgArrow', 16, 16, depth=4, storage='mask')
def marker():
    s = Scene()
    plus = Union(Rect(6, 1.5, 10, 14.5), Rect(1.5, 6, 14.5, 10))
    shade = Union(Rect(6, 1.5, 10, 14.5), Rect(1.5, 6, 14.5, 10)).moved(1.5, 1.5)
    s.add(shade, (150, 190, 245))
    s.add(plus, (0, 32, 128))
    s.add(Intersect(plus, Rect(0, 0, 16, 8)).moved(0, 0).shrink(0), (40, 80, 170), 0.35)
    return render(s, 16, 16)


# =========================================================================== VelOptionToolBar

XP_BORDER = (28, 81, 128)
XP_GREEN = (33, 161, 33)


def _xp_check(marked):
    s = Scene()
    box = RoundRect(4.5, 4.5, 27.5, 27.5, 2.5)
    s.add(box.moved(0.6, 0.9), (0, 0, 0), 0.15)
    s.add(box, Linear(4, 4, 28, 28, [(0, (220, 220, 215)), (0.7, (248, 248, 246)), (1, (255, 255, 255))]))
    s.add(box.border(1.3), XP_BORDER)
    if marked:
        s.add(check_mark(16, 16, 15, 3.4), Vertical(8, 24, [(0, (70, 200, 70)), (1, XP_GREEN)]))
    return render(s, 32, 32)


def _xp_option(marked):
    s = Scene()
    ring = Circle(16, 16, 11.8)
    s.add(ring.moved(0.6, 0.9), (0, 0, 0), 0.15)
    s.add(ring, Linear(6, 6, 26, 26, [(0, (220, 220, 215)), (0.7, (248, 248, 246)), (1, (255, 255, 255))]))
    s.add(ring.border(1.3), XP_BORDER)
    if marked:
        s.add(Circle(16, 16, 5.6), Radial(14.5, 14, 7.5, [(0, (150, 240, 150)), (0.6, (60, 190, 60)),
                                                          (1, (24, 130, 24))]))
    return render(s, 32, 32)


add('tpl', 'VelOptionToolBar/Picture1(0)', 32, 32, lambda: _xp_check(False), storage='mask')
add('tpl', 'VelOptionToolBar/Picture1(1)', 32, 32, lambda: _xp_check(True), storage='mask')
add('tpl', 'VelOptionToolBar/Picture2(0)', 32, 32, lambda: _xp_option(False), storage='mask')
add('tpl', 'VelOptionToolBar/Picture2(1)', 32, 32, lambda: _xp_option(True), storage='mask')


@picture('tpl', 'VelOptionToolBar/Picture3(0)', 256, 28)
def windowxp_background():
    # Blue toolbar gradient; it is stretched over the whole strip, so it only varies
    # from top to bottom.
    s = Scene().fill(Vertical(0, 28, [(0, (227, 239, 255)), (0.45, (196, 218, 250)), (0.55, (176, 204, 246)),
                                      (1, (129, 169, 226))]))
    s.add(Rect(0, 0, 256, 1), (255, 255, 255), 0.9)
    s.add(Rect(0, 27, 256, 28), (59, 97, 156))
    return render(s, 256, 28)


VELTRANE = dict(top=(82, 140, 222), bottom=(24, 64, 140), rim=(18, 44, 98))


def _veltrane(marked):
    s = Scene()
    box = RoundRect(4.5, 4.5, 35.5, 35.5, 7)
    s.add(box.moved(0.8, 1.4).grow(0.5), (0, 0, 0), 0.2)
    if marked:
        s.add(box, Vertical(4, 36, [(0, VELTRANE['top']), (1, VELTRANE['bottom'])]))
        s.add(Intersect(box.shrink(1.5), Rect(0, 0, 40, 19)), (255, 255, 255), 0.18)
        s.add(box.border(1.4), VELTRANE['rim'])
        tick = check_mark(20, 20.5, 19, 4.2)
        s.add(tick.moved(0, 1), (0, 20, 60), 0.4)
        s.add(tick, (255, 255, 255))
    else:
        s.add(box, Vertical(4, 36, [(0, (255, 255, 255)), (1, (226, 234, 246))]))
        s.add(box.border(1.6), (58, 96, 160))
        s.add(box.shrink(1.6).border(1.0), (255, 255, 255), 0.8)
    return render(s, 40, 40)


add('tpl', 'VelOptionToolBar/Picture4(0)', 40, 40, lambda: _veltrane(False), storage='mask')
add('tpl', 'VelOptionToolBar/Picture4(1)', 40, 40, lambda: _veltrane(True), storage='mask')


def _firefox_box(marked):
    bg = OUTSIDE
    s = Scene().fill(bg)
    box = RoundRect(5.5, 5.5, 34.5, 34.5, 5)
    s.add(box.moved(0.6, 1.0), (0, 0, 0), 0.15)
    if marked:
        s.add(box, Vertical(5, 35, [(0, (255, 206, 120)), (0.5, (248, 148, 40)), (1, (226, 96, 10))]))
        s.add(Intersect(box.shrink(1.3), Rect(0, 0, 40, 19)), (255, 255, 255), 0.25)
        s.add(box.border(1.3), (150, 62, 0))
        tick = check_mark(20, 20.5, 18, 4.0)
        s.add(tick.moved(0, 1), (110, 40, 0), 0.5)
        s.add(tick, (255, 255, 255))
    else:
        s.add(box, Vertical(5, 35, [(0, (255, 255, 255)), (1, (230, 238, 250))]))
        s.add(box.border(1.3), (84, 122, 186))
        s.add(box.shrink(1.3).border(1.0), (255, 255, 255), 0.8)
    return render(s, 40, 40).opaque_over(bg)


# Index 2 is the marked and index 3 the unmarked FireFox2007 box.
add('tpl', 'VelOptionToolBar/Picture4(2)', 40, 40, lambda: _firefox_box(True))
add('tpl', 'VelOptionToolBar/Picture4(3)', 40, 40, lambda: _firefox_box(False))


# =========================================================================== Banner
# One banner drawn whole and cut into its left end (5 px), stretched middle (5 px) and
# right piece (183 px); every feature is placed from the banner's ends.

BANNER_H = 122
BANNER_SPAN = 100


def _banner_scene(W):
    H = BANNER_H
    s = Scene().fill(OUTSIDE)
    body = RoundRect(0, 0, W, H, (5, 10, 10, 5))
    s.add(body, Vertical(0, H, [(0, (58, 122, 206)), (0.5, (26, 78, 160)), (0.52, (18, 64, 142)),
                               (1, (14, 44, 104))]))
    s.add(Intersect(body, Rect(0, 0, W, H * 0.5)), Vertical(0, H * 0.5, [(0, (255, 255, 255, 70)),
                                                                          (1, (255, 255, 255, 12))]))
    s.add(Intersect(body, Rect(0, H - 6, W, H - 3)), (246, 148, 30))
    s.add(Intersect(body, Rect(0, H - 3, W, H)), (12, 32, 80))
    s.add(body.border(1.0), (10, 30, 76))
    # Right piece: sweeping arcs and an answer-sheet badge with one filled bubble.
    R = W
    for k, (r, a) in enumerate([(150, 0.10), (128, 0.08), (106, 0.12)]):
        s.add(Intersect(body, Circle(R + 40, H + 70, r).stroke(10 - k * 2)), (255, 255, 255), a)
    bx0, by0, bx1, by1 = R - 160, 26, R - 22, 86
    card = RoundRect(bx0, by0, bx1, by1, 8)
    s.add(card.moved(2, 3), (0, 0, 30), 0.35)
    s.add(card, Vertical(by0, by1, [(0, (255, 255, 255)), (1, (226, 234, 246))]))
    s.add(card.border(1.2), (10, 30, 76), 0.8)
    for k, ch in enumerate('ABCD'):
        cx = bx0 + 24 + k * 30
        cy = (by0 + by1) / 2
        ring = Circle(cx, cy, 11)
        if k == 2:
            s.add(ring, Radial(cx - 3, cy - 4, 16, [(0, (120, 120, 120)), (1, (64, 64, 64))]))
        else:
            s.add(ring.border(2.0), CRIMSON)
    # A pencil whose point rests on the filled bubble.
    _pencil(s, bx0 + 24 + 2 * 30 + 6, (by0 + by1) / 2 + 5, 215)
    return s


def _pencil(s, tx, ty, angle):
    """A pencil lying at `angle` degrees (clockwise from pointing right), its point at
    (tx, ty). Drawn pointing right with the point at the origin, then turned and moved."""
    from raster import Rotated, Moved
    c, sn = math.cos(math.radians(angle)), math.sin(math.radians(angle))

    def place(shape):
        return Moved(Rotated(shape, angle, 0, 0), tx, ty)

    def across(c0, c1):
        # Gradient across the pencil's width, turned with it.
        return Linear(tx + sn * 4.5, ty - c * 4.5, tx - sn * 4.5, ty + c * 4.5, [(0, c0), (1, c1)])

    hw = 4.5
    body = Rect(-64, -hw, -13, hw)
    s.add(place(Union(body, Rect(-72, -hw, -60, hw))).moved(2, 3), (0, 0, 30), 0.35)
    s.add(place(Rect(-72, -hw, -65, hw)), across((255, 170, 180), (214, 96, 110)))
    s.add(place(Rect(-65, -hw, -60, hw)), across((236, 240, 246), (140, 148, 160)))
    s.add(place(body), across((255, 226, 96), (226, 150, 10)))
    s.add(place(Rect(-64, -0.6, -13, 0.6)), (200, 120, 0), 0.5)
    s.add(place(Polygon([(-13, -hw), (0, 0), (-13, hw)])), across((250, 222, 184), (206, 160, 112)))
    s.add(place(Polygon([(-4.5, -1.55), (0, 0), (-4.5, 1.55)])), (48, 48, 56))


def _banner_piece(which):
    W = 5 + BANNER_SPAN + 183
    s = _banner_scene(W)
    if which == 0:
        win, w = (0, 0, 5, BANNER_H), 5
    elif which == 1:
        win, w = (5 + BANNER_SPAN // 2, 0, 5 + BANNER_SPAN // 2 + 5, BANNER_H), 5
    else:
        win, w = (W - 183, 0, W, BANNER_H), 183
    return render(s, w, BANNER_H, win).opaque_over(OUTSIDE)


add('tpl', 'Banner/Image1(0)', 5, 122, lambda: _banner_piece(0))
add('tpl', 'Banner/Image1(1)', 5, 122, lambda: _banner_piece(1))
add('tpl', 'Banner/Image1(2)', 183, 122, lambda: _banner_piece(2))


# =========================================================================== vltGraphButton
# Left edge, stretched middle and right edge of a push button, normal and highlighted.
# The pieces are stretched to the button's height, so everything varies only vertically
# apart from the rounded ends.

def _graph_piece(which, hover, width):
    H = 31
    W = 3 + 40 + 3
    bg = OUTSIDE
    s = Scene().fill(bg)
    face = RoundRect(0, 0, W, H, 3)
    if hover:
        stops = [(0, (255, 251, 232)), (0.48, (255, 232, 166)), (0.52, (255, 214, 102)), (1, (255, 230, 150))]
        outline = (194, 150, 56)
    else:
        stops = [(0, (253, 254, 255)), (0.48, (232, 239, 249)), (0.52, (214, 226, 243)), (1, (228, 236, 247))]
        outline = (130, 154, 190)
    s.add(face, Vertical(0, H, stops))
    s.add(face.shrink(1).border(1), (255, 255, 255), 0.6)
    s.add(face.border(1), outline)
    if which == 0:
        win = (0, 0, 3, H)
    elif which == 1:
        win = (20, 0, 20 + width, H)
    else:
        win = (W - 3, 0, W, H)
    return render(s, width, H, win).opaque_over(bg)


add('tpl', 'vltGraphButton/Image1(0)', 3, 31, lambda: _graph_piece(0, False, 3))
add('tpl', 'vltGraphButton/Image2(0)', 3, 31, lambda: _graph_piece(1, False, 3))
add('tpl', 'vltGraphButton/Image3(0)', 3, 31, lambda: _graph_piece(2, False, 3))
add('tpl', 'vltGraphButton/Image1(1)', 3, 31, lambda: _graph_piece(0, True, 3))
add('tpl', 'vltGraphButton/Image2(1)', 4, 31, lambda: _graph_piece(1, True, 4))
add('tpl', 'vltGraphButton/Image3(1)', 3, 31, lambda: _graph_piece(2, True, 3))


# =========================================================================== URLLink cursor

@picture('tpl', 'URLLink/lblURL', 32, 32, depth=24, storage='mask', hotspot=(13, 5))
def hand_cursor():
    # A pointing hand whose index fingertip is the hot spot (13, 5).
    s = Scene()
    index = Capsule(13.5, 7.0, 13.5, 18, 5.0)
    f2 = Capsule(18.3, 14.5, 18.3, 19, 4.6)
    f3 = Capsule(22.6, 15.5, 22.6, 20, 4.4)
    f4 = Capsule(26.6, 17.0, 26.6, 21, 4.0)
    palm = RoundRect(11, 16, 28.8, 29.5, (2, 3, 6, 5))
    thumb = Capsule(11.2, 23.5, 7.0, 18.0, 4.6)
    hand = Union(index, f2, f3, f4, palm, thumb)
    s.add(hand.grow(1.1), (0, 0, 0))
    s.add(hand, Linear(8, 6, 28, 30, [(0, (255, 255, 255)), (1, (232, 232, 232))]))
    for x, y0, y1 in ((16.0, 17.5, 21.5), (20.5, 18.0, 22.0), (24.7, 19.0, 22.5)):
        s.add(Capsule(x, y0, x, y1, 0.9), (0, 0, 0), 0.8)
    return render(s, 32, 32)


# =========================================================================== toolbox
# Hand-drawn 16 x 15 pixel art in the standard 16-colour palette.

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# One character per palette entry: '.' is the silver background.
VGA_KEYS = {'k': 0, 'm': 1, 'g': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6, '.': 7, 'd': 8, 'r': 9, 'l': 10,
            'y': 11, 'b': 12, 'M': 13, 'c': 14, 'w': 15}

TOOLBOX = {
    '30000': ("Banner", [
        "................",
        "................",
        "................",
        "nnnnnnnnnnnnnnnn",
        "nbbbbbbbbbbbbbbn",
        "nbccbbbbbwwwwwbn",
        "nbbbbbbbbwrwkwbn",
        "nbbbbbbbbwwwwwbn",
        "nbbbbbbbbbbbbbbn",
        "nyyyyyyyyyyyyyyn",
        "nnnnnnnnnnnnnnnn",
        "................",
        "................",
        "................",
        "................"]),
    '30001': ("Matrix", [
        "dddddddddddddddd",
        "dwwwwwwwwwwwwwwd",
        "dwnwrrwrrwrrwrrd",
        "dwnwrrwrrwrrwrrd",
        "dwwwwwwwwwwwwwwd",
        "dwnwrrwkkwrrwrrd",
        "dwnwrrwkkwrrwrrd",
        "dwwwwwwwwwwwwwwd",
        "dwnwrrwrrwrrwkkd",
        "dwnwrrwrrwrrwkkd",
        "dwwwwwwwwwwwwwwd",
        "dwnwkkwrrwrrwrrd",
        "dwnwkkwrrwrrwrrd",
        "dwwwwwwwwwwwwwwd",
        "dddddddddddddddd"]),
    '30002': ("VelOptionToolBar", [
        "................",
        "................",
        ".kkkkkk..kkkkkk.",
        ".kwwwwk..kwwwgk.",
        ".kwwwwk..kwwggk.",
        ".kwwwwk..kgwgwk.",
        ".kwwwwk..kwgwwk.",
        ".kkkkkk..kkkkkk.",
        "................",
        "...n.......nn...",
        "..n.n......n.n..",
        "..nnn......nn...",
        "..n.n......n.n..",
        "..n.n......nn...",
        "................"]),
    '30003': ("URLLink", [
        "................",
        "................",
        ".bbb.bbbbb.bbb..",
        ".bbb.bbbbb.bbb..",
        "................",
        ".bbbbbbbbbbbbb..",
        "................",
        ".........k......",
        "........kwk.....",
        "........kwk.....",
        "........kwkkk...",
        ".......kkwwwwk..",
        "......kwkwwwwk..",
        ".......kwwwwk...",
        "........kkkk...."]),
    '30004': ("TimerPicture", [
        "................",
        ".....nnnnn......",
        "...nnwwwwwnn....",
        "..nwwwwkwwwwn...",
        "..nwwwwkwwwwn...",
        ".nwwwwwkwwwwwn..",
        ".nkwwwwkwwwwkn..",
        ".nwwwwwkkkkwwn..",
        ".nwwwwwwwwwwwn..",
        ".nwwwwwwwwwwwn..",
        "..nwwwwwwwwwn...",
        "..nwwwwkwwwwn...",
        "...nnwwwwwnn....",
        ".....nnnnn......",
        "................"]),
    '30005': ("ScrollBox", [
        "................",
        ".nnnnnnnnnnnnnn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwgwwwgggwwn.",
        ".nwwgggwwgggwwn.",
        ".nwgggggwgggwwn.",
        ".nwwgggwgggggwn.",
        ".nwwgggwwgggwwn.",
        ".nwwgggwwwgwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nnnnnnnnnnnnnn.",
        ".nbbbbbbbbbbbbn.",
        ".nbbbwwwwwwbbbn.",
        ".nnnnnnnnnnnnnn.",
        "................"]),
    '30006': ("vltZoomBox", [
        "................",
        ".nnnnnnnnnnnnnn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwkkkwwwwwwn.",
        ".nwwkcwckwwwwwn.",
        ".nwwkwwwkwwwwwn.",
        ".nwwkcwckwwwwwn.",
        ".nwwwkkkmwwwwwn.",
        ".nwwwwwwwmwwwwn.",
        ".nwwwwwwwwmwwwn.",
        ".nnnnnnnnnnnnnn.",
        ".nbbbbbbbbbbbbn.",
        ".nbbbwwwwwwbbbn.",
        ".nnnnnnnnnnnnnn.",
        "................"]),
    '30007': ("vltSwitch", [
        "................",
        ".nnnnnnnnnnnnnn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwnwwnwwnwwnwn.",
        ".nwnwnnwwnnwnwn.",
        ".nwnnnnwwnnnnwn.",
        ".nwnwnnwwnnwnwn.",
        ".nwnwwnwwnwwnwn.",
        ".nwwwwwwwwwwwwn.",
        ".nnnnnnnnnnnnnn.",
        ".nbbbbbbbbbbbbn.",
        ".nbbbwwwwwwbbbn.",
        ".nnnnnnnnnnnnnn.",
        "................"]),
    '30008': ("vltInfoBox", [
        "................",
        ".nnnnnnnnnnnnnn.",
        ".nwwwwwwwwwwwwn.",
        ".nwbbwwwwwwwwwn.",
        ".nwwwwddddddwwn.",
        ".nwbbwwwwwwwwwn.",
        ".nwbbwddddddwwn.",
        ".nwbbwwwwwwwwwn.",
        ".nwbbwddddwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nnnnnnnnnnnnnn.",
        ".nbbbbbbbbbbbbn.",
        ".nbbbwwwwwwbbbn.",
        ".nnnnnnnnnnnnnn.",
        "................"]),
    '30009': ("vltHeaderExam", [
        "................",
        ".dddddddddddddd.",
        ".dnnnnnnnnnnnnd.",
        ".dnwwwnnnnnnnnd.",
        ".dnnnnnnnnnnnnd.",
        ".dwwwwwwwwwwwwd.",
        ".dwkwwwdddddwwd.",
        ".dwkwwwwwwwwwwd.",
        ".dwkkwwdddwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwdddddddddwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwddddddwwwwwd.",
        ".dddddddddddddd.",
        "................"]),
    '30010': ("vltBox", [
        "................",
        ".nnnnnnnnnnnnnn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nnnnnnnnnnnnnn.",
        ".nbbbbbbbbbbbbn.",
        ".nbbbwwwwwwbbbn.",
        ".nnnnnnnnnnnnnn.",
        "................"]),
}


def _toolbox(rows):
    assert len(rows) == 15 and all(len(r) == 16 for r in rows), rows
    return [[VGA_KEYS[ch] for ch in row] for row in rows]


for _tid, (_control, _rows) in TOOLBOX.items():
    add('toolbox', _tid, 16, 15, (lambda r: lambda: _toolbox(r))(_rows), depth=4)
