"""PNG previews of the rendered pictures, for looking at them while drawing: the boxes
assembled from their slices at a few sizes with their buttons and a caption, the button
sets, the template pictures and the toolbox bitmaps, enlarged where they are small.
Captions are lettered with ImageMagick's `convert` when it is installed."""

import os
import shutil
import subprocess

import art
import bmpio
from raster import Image, over, rgba
from skins import SKIN_TABLE

HIGHLIGHT = (0, 120, 215)
TW = 15.0  # twips per pixel


def scale(img, w, h):
    return Image(w, h, [img.get(min(img.w - 1, int((x + 0.5) * img.w / w)),
                                min(img.h - 1, int((y + 0.5) * img.h / h)))
                        for y in range(h) for x in range(w)])


def blit(dst, src, x0, y0):
    x0, y0 = int(round(x0)), int(round(y0))
    for y in range(src.h):
        for x in range(src.w):
            X, Y = x0 + x, y0 + y
            if 0 <= X < dst.w and 0 <= Y < dst.h:
                dst.set(X, Y, over(dst.get(X, Y), src.get(x, y), 1.0))


def blank(w, h, c=(255, 255, 255)):
    return Image(w, h, [rgba(c)] * (w * h))


def zoom(img, k):
    return Image(img.w * k, img.h * k, [img.get(x // k, y // k) for y in range(img.h * k) for x in range(img.w * k)])


def checker(w, h):
    return Image(w, h, [rgba((204, 204, 204) if ((x // 4 + y // 4) % 2) else (255, 255, 255))
                        for y in range(h) for x in range(w)])


def row(imgs, pad=8, bg=(240, 240, 240)):
    out = blank(sum(i.w for i in imgs) + pad * (len(imgs) + 1), max(i.h for i in imgs) + 2 * pad, bg)
    x = pad
    for i in imgs:
        blit(out, i, x, pad)
        x += i.w + pad
    return out


def column(imgs, pad=8, bg=(240, 240, 240)):
    out = blank(max(i.w for i in imgs) + 2 * pad, sum(i.h for i in imgs) + pad * (len(imgs) + 1), bg)
    y = pad
    for i in imgs:
        blit(out, i, pad, y)
        y += i.h + pad
    return out


class Captions:
    """Texts to letter onto a sheet after it is written."""

    def __init__(self):
        self.items = []

    def add(self, x, y, text, colour):
        self.items.append((x, y, text, colour))

    def moved(self, dx, dy):
        c = Captions()
        c.items = [(x + dx, y + dy, t, col) for x, y, t, col in self.items]
        return c

    def apply(self, path):
        if not self.items or not shutil.which('convert'):
            return
        cmd = ['convert', path, '-font', 'DejaVu-Sans-Bold', '-pointsize', '11']
        for x, y, text, (r, g, b) in self.items:
            cmd += ['-fill', '#%02x%02x%02x' % (r, g, b), '-annotate', '+%d+%d' % (x, y + 11), text]
        subprocess.run(cmd + [path], check=False)


def box(pics, style, W, H, buttons=None, caption='vltBox', colour=HIGHLIGHT, top_right=None):
    t = SKIN_TABLE[style]
    g = lambda r, c: pics[t[r][c][0]]
    img = blank(W, H, (142, 176, 218))
    tl, tm, tr = g(0, 0), g(0, 1), g(0, 2)
    if top_right:
        tr = pics[top_right]
    blit(img, tl, 0, 0)
    blit(img, tr, W - tr.w, 0)
    blit(img, scale(tm, W - tr.w - tl.w, tl.h), tl.w, 0)
    bl, bm, br = g(2, 0), g(2, 1), g(2, 2)
    by = H - bl.h
    blit(img, bl, 0, by)
    blit(img, br, W - br.w, by)
    blit(img, scale(bm, W - br.w - bl.w, bl.h), bl.w, by)
    mh = by - tl.h
    if mh > 0:
        blit(img, scale(g(1, 0), tl.w, mh), 0, tl.h)
        blit(img, scale(g(1, 1), W - tl.w - tr.w, mh), tl.w, tl.h)
        blit(img, scale(g(1, 2), tr.w, mh), W - tr.w, tl.h)
    if buttons:
        for b, x, y in buttons(by):
            blit(img, pics[b], x, y)
    caps = Captions()
    tw = 7 * len(caption)
    if style == 5:
        caps.add(W / 2 - tw / 2, tl.h - 3 - 13, caption, colour)
    else:
        caps.add(W / 2 - tw / 2, by + 3, caption, colour)
    return img, caps


def scroll_buttons(W):
    def place(by):
        x2 = W / 2 + 10 / TW
        x3 = x2 + 40 + 20 / TW
        x1 = x2 - (40 + 20 / TW)
        x0 = x1 - (40 + 20 / TW)
        y = by - (48 + 50 / TW)
        return [('SCROLL_NORMAL_1', x0, y), ('SCROLL_2', x1, y), ('SCROLL_NORMAL_3', x2, y),
                ('SCROLL_NORMAL_4', x3, y)]
    return place


def switch_buttons(style, W):
    if style == 5:
        names = ['SB_FIRST_NORMAL', 'SB_PRE_NORMAL', 'SB_NEXT_HOVER', 'SB_LAST_NORMAL']
    else:
        names = art.SWITCH_NORMAL[style][:2] + [art.SWITCH_HOVER[2], art.SWITCH_NORMAL[style][3]]
    widths = [46, 45, 45, 46] if style == 5 else [43] * 4
    h = 46 if style == 5 else 33

    def place(by):
        c = W / 2
        x2 = c + 10 / TW
        x1 = c - 10 / TW - widths[1]
        x0 = x1 - 20 / TW - widths[1]
        x3 = x2 + widths[2] + 10 / TW
        y = by - (h + 50 / TW)
        return list(zip(names, [x0, x1, x2, x3], [y] * 4))
    return place


def zoom_buttons(style, W):
    if style == 5:
        names, w, h = ['THU_NHO_NORMAL', 'PHONG_TO_HOVER', 'FIT_NORMAL'], 57, 64
    else:
        n = art.ZOOM_NORMAL[style]
        names, w, h = [n[0], art.ZOOM_HOVER[1], n[2]], 54, 61

    def place(by):
        x1 = W / 2 - w / 2
        y = by - (h + 50 / TW)
        return [(names[0], x1 - 40 / TW - w, y), (names[1], x1, y), (names[2], x1 + w + 40 / TW, y)]
    return place


def sheet_with_captions(parts, pad=8, bg=(240, 240, 240), vertical=False):
    imgs = [p[0] for p in parts]
    out = column(imgs, pad, bg) if vertical else row(imgs, pad, bg)
    caps = Captions()
    x = y = pad
    for img, c in parts:
        caps.items += c.moved(x, y).items
        if vertical:
            y += img.h + pad
        else:
            x += img.w + pad
    return out, caps


def write(path, img, caps=None):
    with open(path, 'wb') as f:
        f.write(bmpio.png(img))
    if caps:
        caps.apply(path)


def write_all(outdir, pics):
    have = lambda *ids: all(i in pics for i in ids)
    # Boxes.
    rows = []
    for style in range(6):
        ids = [c[0] for r in SKIN_TABLE[style] for c in r]
        if not have(*ids):
            continue
        white = style in (4, 5)
        colour = (255, 255, 255) if white else HIGHLIGHT
        H = 99 if style == 0 else 106
        parts = [box(pics, style, 193, 99, caption='vltBox', colour=colour)]
        if have('SCROLL_NORMAL_1'):
            parts.append(box(pics, style, 240, 130, scroll_buttons(240), 'ScrollBox', colour))
        sw = art.SWITCH_NORMAL.get(style, ['SB_FIRST_NORMAL'])
        if have(*sw):
            parts.append(box(pics, style, 200, 110, switch_buttons(style, 200), 'vltSwitch',
                             (255, 255, 255) if style in (1, 4, 5) else HIGHLIGHT,
                             top_right='192' if style == 4 else None))
        zn = art.ZOOM_NORMAL.get(style, ['THU_NHO_NORMAL'])
        if have(*zn):
            parts.append(box(pics, style, 220, H, zoom_buttons(style, 220), 'vltZoomBox', colour,
                             top_right='191' if style == 4 else None))
        rows.append(sheet_with_captions(parts))
    if rows:
        img, caps = sheet_with_captions(rows, pad=0, vertical=True)
        write(os.path.join(outdir, 'boxes.png'), img, caps)
        img2, caps2 = sheet_with_captions(rows[:3], pad=0, vertical=True)
        write(os.path.join(outdir, 'boxes_a.png'), img2, caps2)
        img3, caps3 = sheet_with_captions(rows[3:], pad=0, vertical=True)
        write(os.path.join(outdir, 'boxes_b.png'), img3, caps3)

    # Buttons, enlarged.
    groups = [art.SWITCH_HOVER] + list(art.SWITCH_NORMAL.values()) + [art.ZOOM_HOVER] + \
        list(art.ZOOM_NORMAL.values())
    groups += [['SB_FIRST_NORMAL', 'SB_PRE_NORMAL', 'SB_NEXT_NORMAL', 'SB_LAST_NORMAL', 'SB_FIRST_HOVER',
                'SB_PRE_HOVER', 'SB_NEXT_HOVER', 'SB_LAST_HOVER'],
               ['THU_NHO_NORMAL', 'PHONG_TO_NORMAL', 'FIT_NORMAL', 'THU_NHO_HOVER', 'PHONG_TO_HOVER', 'FIT_HOVER'],
               ['SCROLL_NORMAL_%d' % k for k in range(1, 5)] + ['SCROLL_%d' % k for k in range(1, 5)],
               ['191', '192', '193', '194']]
    brows = [row([pics[i] for i in g]) for g in groups if have(*g)]
    if brows:
        write(os.path.join(outdir, 'buttons.png'), zoom(column(brows, 0), 2))

    # Templates and the clock.
    tpl = []
    matrix = ['Matrix/Picture%d(%d)' % (k, m) for m in (0, 1) for k in range(1, 5)] + ['Matrix/imgArrow']
    if have(*matrix):
        tpl.append(row([zoom(_on(checker(16, 16), pics[i]), 4) for i in matrix] +
                       [zoom(_on(blank(16, 16), pics[i]), 4) for i in matrix]))
    vel = ['VelOptionToolBar/Picture%s' % s for s in ('1(0)', '1(1)', '2(0)', '2(1)', '4(0)', '4(1)', '4(2)', '4(3)')]
    if have(*vel) and have('VelOptionToolBar/Picture3(0)'):
        strip = scale(pics['VelOptionToolBar/Picture3(0)'], 410, 72)
        for k, name in enumerate(['1(0)', '1(1)', '2(0)', '2(1)']):
            blit(strip, pics['VelOptionToolBar/Picture' + name], 20 + 42 * k, 4 - 2)
        blit(strip, pics['VelOptionToolBar/Picture4(0)'], 200, 2)
        blit(strip, pics['VelOptionToolBar/Picture4(1)'], 242, 2)
        blit(strip, pics['VelOptionToolBar/Picture4(2)'], 300, 2)
        blit(strip, pics['VelOptionToolBar/Picture4(3)'], 342, 2)
        tpl.append(row([strip, zoom(row([_on(checker(40, 40), pics[i]) for i in vel]), 2)]))
    if have('Banner/Image1(0)', 'Banner/Image1(1)', 'Banner/Image1(2)'):
        W = 491
        b = blank(W, 122)
        blit(b, pics['Banner/Image1(0)'], 0, 0)
        blit(b, scale(pics['Banner/Image1(1)'], W - 5 - 183, 122), 5, 0)
        blit(b, pics['Banner/Image1(2)'], W - 183, 0)
        tpl.append(b)
    gb = ['vltGraphButton/Image%d(%d)' % (k, m) for m in (0, 1) for k in (1, 2, 3)]
    if have(*gb):
        btns = []
        for m in (0, 1):
            W, H = 77, 31
            b = blank(W, H)
            blit(b, scale(pics['vltGraphButton/Image1(%d)' % m], 3, H), 0, 0)
            blit(b, scale(pics['vltGraphButton/Image2(%d)' % m], W - 6, H), 3, 0)
            blit(b, scale(pics['vltGraphButton/Image3(%d)' % m], 3, H), W - 3, 0)
            btns.append(b)
        tpl.append(zoom(row(btns), 2))
    extras = []
    if have('CLOCK_FIREFOX'):
        extras.append(zoom(pics['CLOCK_FIREFOX'], 2))
    if have('URLLink/lblURL'):
        cur = _on(checker(32, 32), pics['URLLink/lblURL'])
        cur.set(13, 5, rgba((255, 0, 255)))
        extras.append(zoom(cur, 4))
    if extras:
        tpl.append(row(extras))
    if tpl:
        write(os.path.join(outdir, 'templates.png'), column(tpl))

    tb = [k for k in sorted(art.TOOLBOX) if k in pics]
    if tb:
        imgs = []
        for k in tb:
            rows_ = pics[k]
            imgs.append(zoom(Image(16, 15, [rgba(art.VGA[c]) for r in rows_ for c in r]), 4))
        write(os.path.join(outdir, 'toolbox.png'), row(imgs))


def _on(bg, img):
    out = Image(bg.w, bg.h, list(bg.px))
    blit(out, img, 0, 0)
    return out
