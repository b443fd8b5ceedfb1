"""Vector shapes, paints and an antialiasing rasterizer for the artwork generator.

A picture is described as a *scene*: a list of layers painted in order, each layer a
shape (given by its signed distance: negative inside, positive outside, in pixels of
the scene's own coordinate space) filled with a paint (a colour or a gradient). The
rasterizer maps every output pixel to a rectangle of scene space; a pixel whose centre
lies well inside or well outside a shape takes full or no coverage at once, and a pixel
near an edge is supersampled on a regular grid, which gives the antialiased edges.

Scene space and output pixels need not be the same size: a slice of a skin that is
shown stretched, or a slice that is displayed at another width than it is stored, is
rendered by mapping each stored pixel to the scene rectangle it will cover on screen.

Colours are (r, g, b) or (r, g, b, a) tuples of 0..255 integers, or '#rrggbb' strings.
"""

import math

SUPERSAMPLE = 5  # samples per axis for pixels that straddle an edge


# --------------------------------------------------------------------------- colours

def rgba(c, alpha=None):
    """Normalises a colour to a tuple of four floats 0..1."""
    if isinstance(c, str):
        s = c.lstrip('#')
        c = (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))
    if isinstance(c[0], float):  # already normalised
        r, g, b = c[0], c[1], c[2]
        a = c[3] if len(c) == 4 else 1.0
        return (r, g, b, a if alpha is None else alpha)
    if len(c) == 3:
        c = (c[0], c[1], c[2], 255)
    r, g, b, a = (v / 255.0 for v in c)
    if alpha is not None:
        a = alpha
    return (r, g, b, a)


def mix(c1, c2, t):
    """Linear blend of two colours (0 gives c1, 1 gives c2); returns a float tuple."""
    a, b = rgba(c1), rgba(c2)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


def to255(c):
    c = rgba(c)
    return tuple(int(round(max(0.0, min(1.0, v)) * 255)) for v in c)


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


# --------------------------------------------------------------------------- shapes

class Shape:
    def sd(self, x, y):
        raise NotImplementedError

    def coverage(self, x0, y0, x1, y1):
        """Fraction of the rectangle [x0,x1) x [y0,y1) that lies inside the shape."""
        cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
        d = self.sd(cx, cy)
        half = 0.5 * math.hypot(x1 - x0, y1 - y0)
        if d >= half:
            return 0.0
        if d <= -half:
            return 1.0
        n = SUPERSAMPLE
        dx, dy = (x1 - x0) / n, (y1 - y0) / n
        inside = 0
        for j in range(n):
            sy = y0 + (j + 0.5) * dy
            for i in range(n):
                if self.sd(x0 + (i + 0.5) * dx, sy) <= 0.0:
                    inside += 1
        return inside / (n * n)

    # Composition helpers, so that descriptions read naturally.
    def __or__(self, other):
        return Union(self, other)

    def __and__(self, other):
        return Intersect(self, other)

    def __sub__(self, other):
        return Subtract(self, other)

    def grow(self, d):
        return Offset(self, d)

    def shrink(self, d):
        return Offset(self, -d)

    def stroke(self, width):
        """A band of the given width centred on the shape's outline."""
        return Stroke(self, width)

    def border(self, width):
        """A band of the given width just inside the shape's outline."""
        return Subtract(self, Offset(self, -width))

    def moved(self, dx, dy):
        return Moved(self, dx, dy)


class Everywhere(Shape):
    def sd(self, x, y):
        return -1e9

    def coverage(self, x0, y0, x1, y1):
        return 1.0


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def sd(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ellipse(Shape):
    """Approximate distance (exact on the axes), adequate for antialiasing."""

    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry

    def sd(self, x, y):
        nx, ny = (x - self.cx) / self.rx, (y - self.cy) / self.ry
        k = math.hypot(nx, ny)
        if k == 0:
            return -min(self.rx, self.ry)
        gx, gy = nx / self.rx, ny / self.ry
        g = math.hypot(gx, gy)
        return (k - 1.0) * k / g if g > 0 else -min(self.rx, self.ry)


class RoundRect(Shape):
    """Rectangle [x0,x1] x [y0,y1] with corner radius r (one value, or four values for
    the top-left, top-right, bottom-right and bottom-left corners)."""

    def __init__(self, x0, y0, x1, y1, r=0.0):
        self.cx, self.cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
        self.hw, self.hh = (x1 - x0) * 0.5, (y1 - y0) * 0.5
        self.r = tuple(r) if isinstance(r, (tuple, list)) else (r, r, r, r)

    def sd(self, x, y):
        px, py = x - self.cx, y - self.cy
        if px < 0:
            r = self.r[0] if py < 0 else self.r[3]
        else:
            r = self.r[1] if py < 0 else self.r[2]
        r = min(r, self.hw, self.hh)
        qx, qy = abs(px) - self.hw + r, abs(py) - self.hh + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r


def Rect(x0, y0, x1, y1):
    return RoundRect(x0, y0, x1, y1, 0.0)


class Capsule(Shape):
    """A line segment from (ax, ay) to (bx, by) thickened to width w with round ends."""

    def __init__(self, ax, ay, bx, by, w):
        self.ax, self.ay, self.bx, self.by, self.r = ax, ay, bx, by, w * 0.5

    def sd(self, x, y):
        pax, pay = x - self.ax, y - self.ay
        bax, bay = self.bx - self.ax, self.by - self.ay
        den = bax * bax + bay * bay
        h = 0.0 if den == 0 else max(0.0, min(1.0, (pax * bax + pay * bay) / den))
        return math.hypot(pax - bax * h, pay - bay * h) - self.r


def Polyline(points, w):
    """Connected thick line through the points, with round joins."""
    segs = [Capsule(*points[i], *points[i + 1], w) for i in range(len(points) - 1)]
    return Union(*segs)


class Polygon(Shape):
    """Exact signed distance to a simple polygon (clockwise or not)."""

    def __init__(self, points):
        self.p = [(float(x), float(y)) for x, y in points]

    def sd(self, x, y):
        p = self.p
        n = len(p)
        d = (x - p[0][0]) ** 2 + (y - p[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            vix, viy = p[i]
            vjx, vjy = p[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = x - vix, y - viy
            den = ex * ex + ey * ey
            t = 0.0 if den == 0 else max(0.0, min(1.0, (wx * ex + wy * ey) / den))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1 = y >= viy
            c2 = y < vjy
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def sd(self, x, y):
        return min(s.sd(x, y) for s in self.shapes)


class Intersect(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def sd(self, x, y):
        return max(s.sd(x, y) for s in self.shapes)


class Subtract(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def sd(self, x, y):
        return max(self.a.sd(x, y), -self.b.sd(x, y))


class Offset(Shape):
    def __init__(self, s, d):
        self.s, self.d = s, d

    def sd(self, x, y):
        return self.s.sd(x, y) - self.d


class Stroke(Shape):
    def __init__(self, s, w):
        self.s, self.h = s, w * 0.5

    def sd(self, x, y):
        return abs(self.s.sd(x, y)) - self.h


class Moved(Shape):
    def __init__(self, s, dx, dy):
        self.s, self.dx, self.dy = s, dx, dy

    def sd(self, x, y):
        return self.s.sd(x - self.dx, y - self.dy)


class Rotated(Shape):
    """The shape turned by `deg` degrees (clockwise on screen) about (cx, cy)."""

    def __init__(self, s, deg, cx, cy):
        self.s, self.cx, self.cy = s, cx, cy
        a = math.radians(deg)
        self.c, self.sn = math.cos(a), math.sin(a)

    def sd(self, x, y):
        px, py = x - self.cx, y - self.cy
        return self.s.sd(self.cx + px * self.c + py * self.sn, self.cy - px * self.sn + py * self.c)


class PixelMask(Shape):
    """A hand-drawn pixel pattern: rows of characters, `on` characters set, placed with
    its top-left pixel at (x0, y0). Coverage is the exact area of set pixels, so at 1:1
    the glyph stays perfectly crisp."""

    def __init__(self, rows, x0, y0, on='#'):
        self.x0, self.y0 = x0, y0
        self.cells = {(i, j) for j, row in enumerate(rows) for i, ch in enumerate(row) if ch in on}
        self.w = max(len(r) for r in rows)
        self.h = len(rows)

    def sd(self, x, y):
        i, j = math.floor(x - self.x0), math.floor(y - self.y0)
        return -0.5 if (i, j) in self.cells else 0.5

    def coverage(self, x0, y0, x1, y1):
        area = 0.0
        for i in range(math.floor(x0 - self.x0), math.ceil(x1 - self.x0)):
            for j in range(math.floor(y0 - self.y0), math.ceil(y1 - self.y0)):
                if (i, j) in self.cells:
                    ox = min(x1, self.x0 + i + 1) - max(x0, self.x0 + i)
                    oy = min(y1, self.y0 + j + 1) - max(y0, self.y0 + j)
                    if ox > 0 and oy > 0:
                        area += ox * oy
        return area / ((x1 - x0) * (y1 - y0))


# --------------------------------------------------------------------------- paints

class Paint:
    def at(self, x, y):
        raise NotImplementedError


class Solid(Paint):
    def __init__(self, c):
        self.c = rgba(c)

    def at(self, x, y):
        return self.c


def _stops(stops):
    return [(float(t), rgba(c)) for t, c in stops]


def _ramp(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for k in range(1, len(stops)):
        t1, c1 = stops[k]
        if t <= t1:
            t0, c0 = stops[k - 1]
            f = 0.0 if t1 == t0 else (t - t0) / (t1 - t0)
            return tuple(c0[i] + (c1[i] - c0[i]) * f for i in range(4))
    return stops[-1][1]


class Linear(Paint):
    """Gradient along the line from (x0, y0) to (x1, y1); stops are (t, colour)."""

    def __init__(self, x0, y0, x1, y1, stops):
        self.x0, self.y0 = x0, y0
        self.dx, self.dy = x1 - x0, y1 - y0
        self.den = self.dx * self.dx + self.dy * self.dy or 1.0
        self.stops = _stops(stops)

    def at(self, x, y):
        t = ((x - self.x0) * self.dx + (y - self.y0) * self.dy) / self.den
        return _ramp(self.stops, t)


def Vertical(y0, y1, stops):
    return Linear(0, y0, 0, y1, stops)


def Horizontal(x0, x1, stops):
    return Linear(x0, 0, x1, 0, stops)


class Radial(Paint):
    def __init__(self, cx, cy, r, stops, sx=1.0, sy=1.0):
        self.cx, self.cy, self.r, self.sx, self.sy = cx, cy, r, sx, sy
        self.stops = _stops(stops)

    def at(self, x, y):
        return _ramp(self.stops, math.hypot((x - self.cx) / self.sx, (y - self.cy) / self.sy) / self.r)


class Func(Paint):
    """Any function of (x, y) returning a colour."""

    def __init__(self, f):
        self.f = f

    def at(self, x, y):
        c = self.f(x, y)
        return c if isinstance(c, tuple) and len(c) == 4 and isinstance(c[0], float) else rgba(c)


def as_paint(p):
    return p if isinstance(p, Paint) else Solid(p)


# --------------------------------------------------------------------------- scenes

class Scene:
    """Layers painted in order; `add` returns the scene so calls can be chained."""

    def __init__(self):
        self.layers = []

    def add(self, shape, paint, opacity=1.0):
        self.layers.append((shape if shape is not None else Everywhere(), as_paint(paint), opacity))
        return self

    def fill(self, paint):
        return self.add(None, paint)

    def extend(self, other):
        self.layers.extend(other.layers)
        return self


def over(dst, src, a):
    """Straight-alpha 'source over' of colour src with coverage a onto dst."""
    sa = src[3] * a
    if sa <= 0.0:
        return dst
    da = dst[3]
    oa = sa + da * (1.0 - sa)
    if oa <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    return tuple((src[i] * sa + dst[i] * da * (1.0 - sa)) / oa for i in range(3)) + (oa,)


class Image:
    """A rendered picture: width x height straight-alpha float pixels, top row first."""

    def __init__(self, w, h, px=None):
        self.w, self.h = w, h
        self.px = px if px is not None else [(0.0, 0.0, 0.0, 0.0)] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def set(self, x, y, c):
        self.px[y * self.w + x] = c

    def opaque_over(self, matte):
        m = rgba(matte)
        return Image(self.w, self.h, [over(m, p, 1.0) for p in self.px])

    def crop(self, x, y, w, h):
        return Image(w, h, [self.get(x + i, y + j) for j in range(h) for i in range(w)])


# Device pixels per picture pixel: 2 renders every picture at twice its size from the
# same scene, for screens of twice the pixel density.
SCALE = 1


def render(scene, w, h, window=None):
    """Rasterizes the scene into a w x h image (times SCALE). `window` = (x0, y0, x1, y1)
    is the scene rectangle that the image covers (default: (0, 0, w, h), one unit per
    picture pixel)."""
    x0, y0, x1, y1 = window if window is not None else (0.0, 0.0, float(w), float(h))
    w, h = w * SCALE, h * SCALE
    sx, sy = (x1 - x0) / w, (y1 - y0) / h
    px = []
    for j in range(h):
        py0 = y0 + j * sy
        py1 = py0 + sy
        cy = (py0 + py1) * 0.5
        for i in range(w):
            qx0 = x0 + i * sx
            qx1 = qx0 + sx
            cx = (qx0 + qx1) * 0.5
            c = (0.0, 0.0, 0.0, 0.0)
            for shape, paint, opacity in scene.layers:
                cov = shape.coverage(qx0, py0, qx1, py1)
                if cov > 0.0:
                    c = over(c, paint.at(cx, cy), cov * opacity)
            px.append(c)
    return Image(w, h, px)
