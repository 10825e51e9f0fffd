"""Drawing kit shared by the picture scripts: one palette, one light direction
(from the top left), one set of line weights, and the small parts that recur
on racks, shelves and cards (screws, LEDs, jacks, connectors)."""

import math

# Painted steel, zinc-plated metal, the dark inside of a shelf, and the
# colours of indicators and labels. Every picture takes its colours from here.
P = {
    'outline': '#262a2c',
    'steel_hi': '#f3f4f0',
    'steel_lt': '#e0e3de',
    'steel': '#cdd1cc',
    'steel_md': '#b5bab5',
    'steel_lo': '#8f9590',
    'steel_dk': '#5e6461',
    'zinc_hi': '#f6f8fa',
    'zinc': '#c3cad0',
    'zinc_lo': '#87919a',
    'zinc_dk': '#59626b',
    'cage': '#23282d',
    'cage_dk': '#16191d',
    'conn': '#3b4249',
    'pin': '#a9b2ba',
    'guide': '#7d8791',
    'hole': '#33393c',
    'copper': '#c07a3e',
    'copper_hi': '#eab383',
    'brand': '#1f4d96',
    'paper': '#f4f1e6',
    'ink': '#59606a',
    'green': '#3fdc5a',
    'red': '#f0453a',
    'amber': '#ffac1e',
    'yellow': '#f3dc3c',
    'fibre': '#2f6fd0',
    'graphite': '#2b3035',
}

HAIR = 0.5  # detail lines
LINE = 1.0  # outlines


def _rgb(c):
    return tuple(int(c[i:i + 2], 16) for i in (1, 3, 5))


def _hex(t):
    return '#%02x%02x%02x' % tuple(max(0, min(255, int(round(v)))) for v in t)


def mix(a, b, t):
    A, B = _rgb(a), _rgb(b)
    return _hex(tuple(A[i] + (B[i] - A[i]) * t for i in range(3)))


def lighten(c, t):
    return mix(c, '#ffffff', t)


def darken(c, t):
    return mix(c, '#000000', t)


def num(v):
    if isinstance(v, int):
        return str(v)
    s = ('%.2f' % v).rstrip('0').rstrip('.')
    return '0' if s in ('', '-0') else s


def _near(a, b):
    """Whether two boxes overlap or touch, so that their order shows."""
    return a[0] <= b[2] + 1 and b[0] <= a[2] + 1 and a[1] <= b[3] + 1 and b[1] <= a[3] + 1


def _span(pts):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return (min(xs), min(ys), max(xs), max(ys))


def _grow(box, kw):
    """The box of an element with its stroke."""
    if 'stroke' not in kw and 'stroke_width' not in kw:
        return box
    w = kw.get('stroke_width', 1)
    w = w if isinstance(w, (int, float)) else 1
    return (box[0] - w, box[1] - w, box[2] + w, box[3] + w)


class _Plain:
    """Rectangles of one plain colour, written as one rect or one path."""

    def __init__(self, fill, box):
        self.fill = fill
        self.boxes = [box]

    def __str__(self):
        if len(self.boxes) == 1:
            x0, y0, x1, y1 = self.boxes[0]
            return '<rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>' % (
                num(x0), num(y0), num(x1 - x0), num(y1 - y0), self.fill)
        d = ''.join('M%s %sh%sv%sh%sz' % (num(x0), num(y0), num(x1 - x0), num(y1 - y0), num(x0 - x1))
                    for x0, y0, x1, y1 in self.boxes)
        return '<path d="%s" fill="%s"/>' % (d, self.fill)


class Svg:
    """One picture: a view box of exactly the pixel size the program shows it at."""

    def __init__(self, w, h, title):
        self.w, self.h, self.title = w, h, title
        self.defs = []
        self.grads = {}
        self.body = []
        # What was drawn since the last group boundary, newest last: the
        # rectangles of one plain colour gathered into a path, or the extent
        # of any other element (None where it is not known).
        self._drawn = []

    # -- elements -----------------------------------------------------------
    @staticmethod
    def _attrs(kw):
        out = []
        for k, v in kw.items():
            if v is None:
                continue
            k = k.rstrip('_').replace('_', '-')
            out.append('%s="%s"' % (k, num(v) if isinstance(v, (int, float)) else v))
        return ' '.join(out)

    def el(self, tag, extent=None, **kw):
        self.body.append('<%s %s/>' % (tag, self._attrs(kw)))
        self._drawn.append(extent)

    def rect(self, x, y, w, h, fill, **kw):
        if w <= 0 or h <= 0:
            return
        box = (x, y, x + w, y + h)
        if kw or not fill.startswith('#'):
            # A gradient spans its element's own box; a rounded or see-through
            # rectangle is drawn alone.
            self.el('rect', box, x=x, y=y, width=w, height=h, fill=fill, **kw)
            return
        # A plain rectangle joins the path of its colour drawn last, unless
        # something drawn since lies on it or beside it: the picture stays the
        # same, and the program parses one element instead of many.
        for drawn in reversed(self._drawn):
            if isinstance(drawn, _Plain):
                if drawn.fill == fill:
                    drawn.boxes.append(box)
                    return
                if any(_near(box, b) for b in drawn.boxes):
                    break
            elif drawn is None or _near(box, drawn):
                break
        plain = _Plain(fill, box)
        self.body.append(plain)
        self._drawn.append(plain)

    def circle(self, cx, cy, r, fill, **kw):
        self.el('circle', _grow((cx - r, cy - r, cx + r, cy + r), kw), cx=cx, cy=cy, r=r, fill=fill, **kw)

    def ellipse(self, cx, cy, rx, ry, fill, **kw):
        self.el('ellipse', _grow((cx - rx, cy - ry, cx + rx, cy + ry), kw), cx=cx, cy=cy, rx=rx, ry=ry, fill=fill, **kw)

    def poly(self, pts, fill, **kw):
        self.el('polygon', _grow(_span(pts), kw), points=' '.join('%s,%s' % (num(x), num(y)) for x, y in pts),
                fill=fill, **kw)

    def polyline(self, pts, stroke, width=LINE, **kw):
        self.el('polyline', _grow(_span(pts), dict(kw, stroke_width=width)),
                points=' '.join('%s,%s' % (num(x), num(y)) for x, y in pts), fill='none',
                stroke=stroke, stroke_width=width, **kw)

    def path(self, d, fill, **kw):
        self.el('path', None, d=d, fill=fill, **kw)

    def line(self, x1, y1, x2, y2, stroke, width=LINE, **kw):
        self.el('line', _grow(_span([(x1, y1), (x2, y2)]), dict(kw, stroke_width=width)),
                x1=x1, y1=y1, x2=x2, y2=y2, stroke=stroke, stroke_width=width, **kw)

    def text(self, x, y, s, size, fill, weight='bold', anchor='start', **kw):
        self.body.append('<text %s>%s</text>' % (self._attrs(dict(
            x=x, y=y, font_family='DejaVu Sans', font_size=size, font_weight=weight,
            text_anchor=anchor, fill=fill, **kw)), s))
        self._drawn.append(None)

    def group(self, **kw):
        self.body.append('<g %s>' % self._attrs(kw))
        self._drawn = []

    def end(self):
        self.body.append('</g>')
        self._drawn = []

    # -- paints -------------------------------------------------------------
    def _grad(self, key, xml):
        if key not in self.grads:
            gid = 'g%d' % (len(self.grads) + 1)
            self.grads[key] = gid
            self.defs.append(xml.replace('@ID@', gid))
        return 'url(#%s)' % self.grads[key]

    @staticmethod
    def _stops(stops):
        return ''.join('<stop offset="%s" stop-color="%s"/>' % (num(o), c) for o, c in stops)

    def lin(self, stops, x1=0, y1=0, x2=0, y2=1):
        key = ('lin', tuple(stops), x1, y1, x2, y2)
        return self._grad(key, '<linearGradient id="@ID@" x1="%s" y1="%s" x2="%s" y2="%s">%s</linearGradient>'
                          % (num(x1), num(y1), num(x2), num(y2), self._stops(stops)))

    def rad(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
        fx = cx if fx is None else fx
        fy = cy if fy is None else fy
        key = ('rad', tuple(stops), cx, cy, r, fx, fy)
        return self._grad(key, '<radialGradient id="@ID@" cx="%s" cy="%s" r="%s" fx="%s" fy="%s">%s</radialGradient>'
                          % (num(cx), num(cy), num(r), num(fx), num(fy), self._stops(stops)))

    def face(self, c, t=0.1):
        """A painted face lit from the top left."""
        return self.lin([(0, lighten(c, t)), (1, darken(c, t))], 0, 0, 1, 1)

    def vface(self, c, t=0.1):
        return self.lin([(0, lighten(c, t)), (1, darken(c, t))], 0, 0, 0, 1)

    def hface(self, c, t=0.1):
        return self.lin([(0, lighten(c, t)), (1, darken(c, t))], 0, 0, 1, 0)

    def metal_v(self, c=None):
        """A zinc bar lying across, lit from above."""
        c = c or P['zinc']
        return self.lin([(0, lighten(c, 0.6)), (0.35, c), (1, darken(c, 0.3))], 0, 0, 0, 1)

    def metal_h(self, c=None):
        """A zinc bar standing up, lit from the left."""
        c = c or P['zinc']
        return self.lin([(0, lighten(c, 0.6)), (0.35, c), (1, darken(c, 0.3))], 0, 0, 1, 0)

    def save(self, path):
        out = ['<?xml version="1.0" encoding="UTF-8"?>',
               '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
               'width="%d" height="%d" viewBox="0 0 %d %d">' % (self.w, self.h, self.w, self.h),
               '<title>%s</title>' % self.title]
        if self.defs:
            out.append('<defs>')
            out.extend(self.defs)
            out.append('</defs>')
        out.extend(str(item) for item in self.body)
        out.append('</svg>')
        with open(path, 'w', encoding='utf-8') as f:
            f.write('\n'.join(out) + '\n')


# -- recurring parts ------------------------------------------------------------

def bevel(s, x, y, w, h, face, c, outline=None, t=1, hi=0.45, lo=0.35):
    """A raised face: light on its top and left edges, shade on the others."""
    if outline:
        s.rect(x, y, w, h, outline)
        x, y, w, h = x + t, y + t, w - 2 * t, h - 2 * t
    s.rect(x, y, w, h, face)
    s.rect(x, y, w, t, lighten(c, hi))
    s.rect(x, y, t, h, lighten(c, hi * 0.8))
    s.rect(x, y + h - t, w, t, darken(c, lo))
    s.rect(x + w - t, y + t, t, h - t, darken(c, lo))


def sunk(s, x, y, w, h, c, t=1):
    """A pressed-in groove or recess: shade on top and left, light below and right."""
    s.rect(x, y, w, t, darken(c, 0.3))
    s.rect(x, y, t, h, darken(c, 0.3))
    s.rect(x, y + h - t, w, t, lighten(c, 0.45))
    s.rect(x + w - t, y + t, t, h - t, lighten(c, 0.45))


def led(s, cx, cy, r, colour, lit=True):
    if lit:
        s.circle(cx, cy, r * 2.1, colour, opacity=0.16)
    s.circle(cx, cy, r + 0.7, '#0e1012')
    if lit:
        lens = s.rad([(0, lighten(colour, 0.7)), (0.45, colour), (1, darken(colour, 0.35))],
                     cx=0.45, cy=0.45, r=0.6, fx=0.32, fy=0.32)
    else:
        dim = darken(colour, 0.62)
        lens = s.rad([(0, lighten(dim, 0.25)), (1, darken(dim, 0.3))], cx=0.45, cy=0.45, r=0.6, fx=0.32, fy=0.32)
    s.circle(cx, cy, r, lens)
    s.circle(cx - r * 0.35, cy - r * 0.35, r * 0.3, '#ffffff', opacity=0.8 if lit else 0.35)


def screw(s, cx, cy, r, cross=True):
    s.circle(cx + r * 0.2, cy + r * 0.25, r, '#000000', opacity=0.35)
    s.circle(cx, cy, r, s.rad([(0, P['zinc_hi']), (0.6, P['zinc']), (1, P['zinc_lo'])], fx=0.3, fy=0.3))
    s.circle(cx, cy, r, 'none', stroke=P['zinc_dk'], stroke_width=min(HAIR, r * 0.3))
    w = max(0.35, r * 0.28)
    s.line(cx - r * 0.55, cy, cx + r * 0.55, cy, P['zinc_dk'], w)
    if cross:
        s.line(cx, cy - r * 0.55, cx, cy + r * 0.55, P['zinc_dk'], w)


def jack(s, cx, cy, r, colour):
    """A test point: a coloured insulating collar round a metal socket."""
    s.circle(cx + 0.3, cy + 0.4, r, '#000000', opacity=0.35)
    s.circle(cx, cy, r, s.rad([(0, lighten(colour, 0.5)), (0.7, colour), (1, darken(colour, 0.4))],
                              fx=0.3, fy=0.3))
    s.circle(cx, cy, r * 0.5, P['zinc_lo'])
    s.circle(cx, cy, r * 0.28, '#0b0c0d')


def bnc(s, cx, cy, r):
    """A coaxial socket with its bayonet studs."""
    s.circle(cx + 0.4, cy + 0.5, r, '#000000', opacity=0.4)
    s.rect(cx - r - 1.1, cy - 0.6, 1.4, 1.2, P['zinc'])
    s.rect(cx + r - 0.3, cy - 0.6, 1.4, 1.2, P['zinc_lo'])
    s.circle(cx, cy, r, s.rad([(0, P['zinc_hi']), (0.55, P['zinc']), (1, P['zinc_dk'])], fx=0.3, fy=0.3))
    s.circle(cx, cy, r * 0.66, '#121416')
    s.circle(cx, cy, r * 0.42, '#e9e4d2')
    s.circle(cx, cy, r * 0.16, '#d8b45a')


def rj(s, x, y, w, h):
    """A modular data socket in a metal shield."""
    s.rect(x, y, w, h, s.face(P['zinc'], 0.25))
    s.rect(x, y, w, 0.6, P['zinc_hi'])
    s.rect(x + w * 0.14, y + h * 0.2, w * 0.72, h * 0.62, '#101214')
    s.rect(x + w * 0.36, y + h * 0.2, w * 0.28, h * 0.16, P['zinc_lo'])
    for i in range(4):
        s.rect(x + w * 0.22 + i * w * 0.16, y + h * 0.66, w * 0.06, h * 0.12, '#d8b45a')


def dsub(s, x, y, w, h, rows=2):
    """A D-shaped multi-pin connector standing upright."""
    s.rect(x, y, w, h, s.face(P['zinc'], 0.25), rx=1)
    screw(s, x + w / 2, y + 2.2, 1.4, cross=False)
    screw(s, x + w / 2, y + h - 2.2, 1.4, cross=False)
    top, bot = y + 5, y + h - 5
    s.poly([(x + 1.6, top), (x + w - 1.6, top + 1.5), (x + w - 1.6, bot - 1.5), (x + 1.6, bot)], '#16181b')
    n = int((bot - top - 3) // 3.2)
    for col in range(rows):
        px = x + w * (0.36 if col == 0 else 0.64)
        for i in range(n - col):
            s.circle(px, top + 2.6 + i * 3.2 + col * 1.6, 0.65, '#d8b45a')
