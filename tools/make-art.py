#!/usr/bin/env python3
"""Writes every picture of the program into art/ as SVG.

Run it from anywhere after changing a picture: tools/make-art.py
The SVG files it writes are committed beside it, so building the program
needs no Python. tools/make-art.py --check says whether the committed files
are what it writes (a test runs it)."""

import filecmp
import os
import re
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artkit import (P, HAIR, LINE, Svg, bevel, bnc, darken, dsub, jack, led, lighten, mix,  # noqa: E402
                    num, rj, screw, sunk)

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'art')


def read_figures(path):
    """The figures the pictures share with the program, from art/figures.h:
    `inline constexpr double Name = 1;` or `... Name[] = {1, 2};`."""
    figures = {}
    with open(path, encoding='utf-8') as f:
        for name, value in re.findall(r'inline constexpr double (\w+)(?:\[\])? = ([^;]+);', f.read()):
            numbers = [float(v) for v in re.findall(r'-?[\d.]+', value)]
            figures[name] = numbers if value.strip().startswith('{') else numbers[0]
    return figures


F = read_figures(os.path.join(ART, 'figures.h'))

# Rack front geometry in the twips of the rack view.
FRONT_W, FRONT_H = F['RackFrontWidth'], F['RackFrontHeight']
SHELF_W, SHELF_H = F['ShelfWidth'], F['ShelfHeight']
TOPS_SMT = F['ShelfTopsUeUd']
TOPS_OTHER = F['ShelfTopsOther']
DOOR_TOP = FRONT_H / F['DoorTableHeight'] * F['DoorTableTop'] / 15
DOORS_W = F['DoorsWidth'] / 15


def slot_x(n):
    """Where slot n stands on the full shelf, in its pixels."""
    return F['SlotPitch'] * (n + F['SlotOrigin']) / 15


CARD_SIZES = {0: 21, 1: 45, 2: 21, 3: 21, 4: 21, 5: 21, 6: 21, 7: 21, 8: 21, 9: 104,
              10: 21, 11: 38, 12: 89}

# Front plate and ejector lever colours of the cards, by code.
CARD_STYLE = {
    0: ('#3c4248', '#9aa2a9', '#3c4248'),
    1: ('#2d5184', '#d5d9dc', '#c0392b'),
    2: ('#4b5a6e', '#2b2f33', '#e8c33a'),
    3: ('#2e5c47', '#9aa2a9', '#2e8a55'),
    4: ('#6d2d35', '#9aa2a9', '#c0392b'),
    5: ('#202427', '#b5372f', '#e8e8e8'),
    6: ('#253a6b', '#3f74ba', '#e8e8e8'),
    7: ('#245c61', '#d8ae2e', '#202427'),
    8: ('#35393d', '#25282b', '#e07a1f'),
    9: ('#474d52', '#25282b', '#c0392b'),
    10: ('#aab3ba', '#2d3135', '#3f74ba'),
    11: ('#4f5733', '#9aa2a9', '#e8c33a'),
    12: ('#36434f', '#d5d9dc', '#3f74ba'),
    13: ('#2a2e32', '#9aa2a9', '#2f6b3a'),
}


# ==== painted steel: the room plan rack, end panels, doors ====================

def vent_slots(s, x0, y0, x1, y1, sw, sh, px, py, stagger=True):
    """Pressed vent slots: each hole dark, its lower lip catching the light.
    All the holes are one path and all the lips another: a panel of vents is
    two elements to parse, not hundreds, and the slots never overlap."""
    holes, lips = [], []
    row = 0
    y = y0
    while y + sh <= y1:
        off = (px / 2) if (stagger and row % 2) else 0
        x = x0 + off
        while x + sw <= x1:
            holes.append('M%s %sh%sv%sh%sz' % (num(x), num(y), num(sw), num(sh), num(-sw)))
            lips.append('M%s %sh%sv%sh%sz' % (num(x), num(y + sh), num(sw), num(HAIR), num(-sw)))
            x += px
        y += py
        row += 1
    if holes:
        s.path(''.join(holes), P['hole'])
        s.path(''.join(lips), P['steel_hi'], opacity=0.8)


def handle(s, cx, y, h, scale=1.0, face=None):
    """A swing handle with its key cylinder, in a dark recessed plate; face
    shades the plate (lit from the top left unless given)."""
    face = face or s.face
    w = 16 * scale
    x = cx - w / 2
    s.rect(x + 1, y + 1, w, h, '#000000', opacity=0.3, rx=3 * scale)
    s.rect(x, y, w, h, face('#3a3f43', 0.2), rx=3 * scale)
    s.rect(x + 1.5 * scale, y + 1.5 * scale, w - 3 * scale, h - 3 * scale, 'none',
           stroke='#1b1e20', stroke_width=HAIR, rx=2 * scale)
    lw = 7 * scale
    s.rect(cx - lw / 2 + 0.8, y + 6 * scale + 1, lw, h - 22 * scale, '#000000', opacity=0.35, rx=lw / 2)
    s.rect(cx - lw / 2, y + 6 * scale, lw, h - 22 * scale, s.metal_h(), rx=lw / 2)
    s.rect(cx - lw / 2 + 1.2 * scale, y + 8 * scale, 1.2 * scale, h - 27 * scale, P['zinc_hi'], opacity=0.9)
    r = 3.4 * scale
    ky = y + h - 8 * scale
    s.circle(cx, ky, r, s.rad([(0, P['zinc_hi']), (1, P['zinc_lo'])], fx=0.3, fy=0.3))
    s.rect(cx - 0.6 * scale, ky - r * 0.6, 1.2 * scale, r * 1.2, '#16181a')


def label_holder(s, x, y, w, h, lines=2, face=None):
    s.rect(x, y, w, h, (face or s.face)(P['zinc'], 0.3))
    s.rect(x + 2, y + 2, w - 4, h - 4, P['paper'])
    for i in range(lines):
        ly = y + 2 + (h - 4) * (i + 1) / (lines + 1)
        s.line(x + 5, ly, x + w * (0.85 if i == 0 else 0.6), ly, P['ink'], HAIR * 1.4)


def warning_sign(s, cx, cy, size):
    h = size * 0.87
    s.poly([(cx, cy - h / 2), (cx + size / 2, cy + h / 2), (cx - size / 2, cy + h / 2)], '#1b1d1f')
    k = size * 0.8
    hk = k * 0.87
    s.poly([(cx, cy - h / 2 + size * 0.14), (cx + k / 2, cy + h / 2 - size * 0.08),
            (cx - k / 2, cy + h / 2 - size * 0.08)], P['yellow'])
    s.rect(cx - size * 0.045, cy - hk * 0.15, size * 0.09, hk * 0.42, '#1b1d1f')
    s.rect(cx - size * 0.045, cy + hk * 0.33, size * 0.09, size * 0.09, '#1b1d1f')


def rack_plan():
    """The rack of the room plan: small, its name written across the plain top band."""
    s = Svg(140, 263, 'Rack in the room plan')
    # Drawn 144 units wide, the width it is shown at on a 1024 x 768 screen.
    s.group(transform='scale(%s,1)' % (140 / 144))
    # Shaded top to bottom: the room shows a few hundred of these, and a
    # vertical gradient is filled a whole line at a time, where a diagonal
    # one costs the first paint of the room twice as much.
    face = s.vface
    W = 144
    s.rect(0, 0, W, 263, P['outline'])
    s.rect(1, 1, W - 2, 7, s.vface(P['steel_md'], 0.15))
    s.rect(1, 1, W - 2, 1, P['steel_hi'])
    s.rect(1, 7, W - 2, 1, P['steel_dk'])
    # The name band is kept plain: the rack's name is written on it in blue.
    bevel(s, 1, 8, W - 2, 27, s.vface(P['steel_lt'], 0.06), P['steel_lt'])
    s.rect(1, 35, W - 2, 1, '#1c1f21')
    for i, (x0, x1) in enumerate(((1, 71.5), (72.5, W - 1))):
        w = x1 - x0
        bevel(s, x0, 36, w, 212, face(P['steel'], 0.08), P['steel'])
        sunk(s, x0 + 4, 40, w - 8, 204, P['steel'])
        vent_slots(s, x0 + 9, 45, x1 - 9, 64, 5, 1.5, 8, 4)
        vent_slots(s, x0 + 9, 220, x1 - 9, 240, 5, 1.5, 8, 4)
        hx = x1 - 7 if i == 0 else x0 + 7
        handle(s, hx, 122, 40, 0.5, face)
        hinge_x = x0 + 0.5 if i == 0 else x1 - 2.5
        for hy in (50, 138, 226):
            s.rect(hinge_x, hy, 2, 9, s.metal_h())
    s.rect(71.5, 36, 1, 212, '#16181a')
    label_holder(s, 18, 76, 34, 12, face=face)
    s.rect(1, 248, W - 2, 14, s.vface(P['steel_dk'], 0.2))
    s.rect(1, 248, W - 2, 1, P['steel_md'])
    vent_slots(s, 12, 252, W - 12, 260, 8, 1.5, 12, 4, stagger=False)
    s.end()
    return s


def end_panel(w, right):
    """The side panel that closes a run of racks, seen edge-on."""
    s = Svg(w, 263, 'Right end panel' if right else 'Left end panel')
    s.rect(0, 0, w, 263, P['outline'])
    body = P['steel_lo'] if right else P['steel']
    inner_x = 0 if right else 1
    inner_w = w - 1
    grad = s.lin([(0, lighten(body, 0.12)), (1, darken(body, 0.12))], 0, 0, 1, 0) if right else \
        s.lin([(0, lighten(body, 0.2)), (1, body)], 0, 0, 1, 0)
    s.rect(inner_x, 1, inner_w, 261, grad)
    s.rect(inner_x, 1, inner_w, 7, darken(body, 0.15))
    s.rect(inner_x, 1, inner_w, 1, lighten(body, 0.5))
    s.rect(inner_x, 248, inner_w, 14, darken(body, 0.4))
    s.rect(inner_x, 248, inner_w, 1, lighten(body, 0.2))
    # The folded front edge of the panel catches the light (right) or the shade.
    edge = inner_x if right else inner_x + inner_w - 1
    s.rect(edge, 8, 1, 240, lighten(body, 0.35) if right else darken(body, 0.18))
    s.rect(inner_x + inner_w / 2 - 0.25, 14, 0.5, 228, darken(body, 0.2), opacity=0.6)
    for y in (20, 134, 236):
        screw(s, inner_x + inner_w / 2, y, 1.5, cross=False)
    return s


def door_closed(handle_right):
    """A closed cabinet door: painted steel, vents, handle, hinges."""
    W, H = 146, 421
    s = Svg(W, H, 'Closed %s door' % ('left' if handle_right else 'right'))
    s.rect(0, 0, W, H, P['outline'])
    bevel(s, 1, 1, W - 2, H - 2, s.face(P['steel'], 0.09), P['steel'])
    sunk(s, 6, 6, W - 12, H - 12, P['steel'])
    vent_slots(s, 16, 18, W - 16, 94, 8, 2, 11, 5)
    vent_slots(s, 16, 330, W - 16, 406, 8, 2, 11, 5)
    hx = W - 16 if handle_right else 16
    handle(s, hx, 172, 92)
    hinge_x = 0 if handle_right else W - 3
    for hy in (36, 202, 368):
        s.rect(hinge_x, hy, 3, 18, s.metal_h())
        s.rect(hinge_x, hy + 6, 3, 0.6, P['zinc_dk'])
    if handle_right:
        label_holder(s, 40, 110, 62, 18)
        s.text(71, 146, 'KVX-410', 7, P['steel_dk'], anchor='middle')
    else:
        warning_sign(s, 73, 306, 16)
        screw(s, W - 14, 396, 2.5)
    return s


# ---- open doors: the inside of a door swung open beside the rack -------------

class DoorView:
    """Maps door coordinates (u across from the hinge, v down, in door units)
    onto the door seen swung open: the hinge edge near, the free edge further
    away and so a little shorter, with true perspective spacing."""

    def __init__(self, hinge_x, free_x, top_near, bottom_near, top_far, bottom_far, width=146, height=414):
        self.hx, self.fx = hinge_x, free_x
        self.tn, self.bn, self.tf, self.bf = top_near, bottom_near, top_far, bottom_far
        self.W, self.H = width, height
        self.wn = bottom_near - top_near
        self.wf = bottom_far - top_far

    def __call__(self, u, v):
        a = u / self.W
        t = a * self.wf / ((1 - a) * self.wn + a * self.wf)
        x = self.hx + (self.fx - self.hx) * t
        top = self.tn + (self.tf - self.tn) * t
        bot = self.bn + (self.bf - self.bn) * t
        return x, top + (bot - top) * v / self.H

    def quad(self, s, u0, v0, u1, v1, fill, **kw):
        s.poly([self(u0, v0), self(u1, v0), self(u1, v1), self(u0, v1)], fill, **kw)


def door_open_left():
    """The left door swung open, seen from the front: its inner face, hinge on the right."""
    s = Svg(146, 422, 'Open left door')
    draw_open_door(s)
    return s


def door_open_right():
    s = Svg(146, 422, 'Open right door')
    # The right door's picture hangs 120 twips higher in its frame: drawn 8 px lower.
    s.group(transform='translate(146,8) scale(-1,1)')
    draw_open_door(s)
    s.end()
    return s


def draw_open_door(s):
    d = DoorView(hinge_x=143, free_x=24, top_near=0, bottom_near=414, top_far=13, bottom_far=401)
    W, H = d.W, d.H
    inner = '#b7bcb7'
    # The door's edge, seen beyond its free side.
    s.poly([d(W, 0), (d(W, 0)[0] - 7, d(W, 0)[1] + 2), (d(W, H)[0] - 7, d(W, H)[1] - 2), d(W, H)],
           s.hface(P['steel_md'], 0.2))
    s.poly([d(W, 0), (d(W, 0)[0] - 7, d(W, 0)[1] + 2), (d(W, H)[0] - 7, d(W, H)[1] - 2), d(W, H)], 'none',
           stroke=P['outline'], stroke_width=LINE)
    # Inner face, darker towards the free edge which turns from the light.
    s.poly([d(0, 0), d(W, 0), d(W, H), d(0, H)],
           s.lin([(0, lighten(inner, 0.05)), (1, darken(inner, 0.22))], 1, 0, 0, 0))
    # Folded rim and its foam gasket.
    d.quad(s, 0, 0, W, 6, darken(inner, 0.12))
    d.quad(s, 0, H - 6, W, H, darken(inner, 0.2))
    d.quad(s, W - 6, 0, W, H, darken(inner, 0.25))
    d.quad(s, 0, 0, 5, H, lighten(inner, 0.15))
    for u0, v0, u1, v1 in ((6, 6, W - 6, 9), (6, H - 9, W - 6, H - 6), (6, 6, 9, H - 6), (W - 9, 6, W - 6, H - 6)):
        d.quad(s, u0, v0, u1, v1, '#1e2123')
    # Filter mats behind the vents.
    for v0, v1 in ((18, 94), (330, 406)):
        d.quad(s, 14, v0 - 2, W - 14, v1 + 2, P['steel_dk'])
        d.quad(s, 16, v0, W - 16, v1, s.lin([(0, '#6f7f8f'), (1, '#4d5a67')], 1, 0, 0, 0))
        v = v0 + 4
        while v < v1 - 2:
            d.quad(s, 17, v, W - 17, v + 0.8, '#86939f', opacity=0.5)
            v += 5
    # A stiffening channel between the vents.
    d.quad(s, 66, 100, 84, 324, darken(inner, 0.18))
    d.quad(s, 68, 100, 82, 324, s.lin([(0, lighten(inner, 0.2)), (1, darken(inner, 0.1))], 1, 0, 0, 0))
    d.quad(s, 74, 100, 76, 324, darken(inner, 0.25), opacity=0.6)
    # Drawing pocket with the rack's wiring chart.
    d.quad(s, 22, 108, 56, 252, P['paper'])
    for k in range(14):
        v = 118 + k * 9
        d.quad(s, 26, v, 26 + (22 if k % 3 else 28), v + 1.2, P['ink'], opacity=0.8)
    d.quad(s, 20, 160, 58, 262, '#2b3136', opacity=0.38)
    d.quad(s, 20, 160, 58, 162, '#e9eef2', opacity=0.7)
    # Latch rod along the free edge, with its guides and the cam behind the handle.
    d.quad(s, 126, 12, 131, H - 12, s.metal_h())
    for v in (40, 120, 300, 380):
        d.quad(s, 122, v, 135, v + 6, P['zinc_lo'])
    d.quad(s, 116, 176, 138, 254, '#3a3f43')
    d.quad(s, 118, 178, 136, 252, s.face('#4a5055', 0.2))
    d.quad(s, 123, 206, 133, 224, s.metal_v())
    # Earth strap from the hinge to the door.
    a, b = d(3, 370), d(26, 386)
    s.path('M%.1f,%.1f Q%.1f,%.1f %.1f,%.1f' % (a[0], a[1], (a[0] + b[0]) / 2, b[1] + 12, b[0], b[1]), 'none',
           stroke='#3d9a3f', stroke_width=2.4)
    s.path('M%.1f,%.1f Q%.1f,%.1f %.1f,%.1f' % (a[0], a[1], (a[0] + b[0]) / 2, b[1] + 12, b[0], b[1]), 'none',
           stroke=P['yellow'], stroke_width=2.4, stroke_dasharray='2,2')
    screw(s, b[0], b[1], 2.2)
    # Hinges on the near edge.
    for v in (36, 202, 368):
        x, y = d(0, v)
        s.rect(x, y, 3, 18, s.metal_h())
        s.rect(x, y + 6, 3, 0.6, P['zinc_dk'])
    # Outline of the face.
    s.poly([d(0, 0), d(W, 0), d(W, H), d(0, H)], 'none', stroke=P['outline'], stroke_width=LINE)


def door_cursor():
    """Mouse pointer over the doors: an arrow with a small open-door badge."""
    s = Svg(32, 32, 'Door pointer')
    # Badge: a cabinet with its door swung open, clear of the arrow.
    s.rect(19.5, 13.5, 12, 18, P['steel'], stroke=P['outline'], stroke_width=LINE)
    s.rect(21, 15, 9, 15, P['cage'])
    for i, c in enumerate(('#2d5184', '#2e5c47', '#6d2d35', '#245c61')):
        s.rect(21 + i * 2.25, 16, 2, 6, c)
        s.rect(21 + i * 2.25, 23, 2, 6, c)
    s.rect(21.5, 17, 1, 1, P['green'])
    s.rect(26, 24, 1, 1, P['red'])
    s.poly([(19.5, 13.5), (15, 16.5), (15, 28.5), (19.5, 31.5)], P['steel_lt'], stroke=P['outline'],
           stroke_width=LINE, stroke_linejoin='round')
    s.rect(16.2, 21, 1.2, 3.5, P['outline'])
    # The arrow, hot spot at its tip (1, 1).
    s.path('M1,1 L1,21 L5.6,16.6 L8.8,23.6 L11.6,22.4 L8.5,15.5 L14.6,15.5 Z', '#ffffff',
           stroke='#000000', stroke_width=LINE, stroke_linejoin='round')
    return s


# ==== inside the cabinet: rack fronts and shelves ==============================

def cage(s, x, y, w, h, populated):
    """A shelf (subrack): mounting ears, top and bottom rails, a dark card cage.

    Drawn in a box of 290 x 63 units, the shelf's size in the rack view."""
    sx, sy = w / 290, h / 63
    s.group(transform='translate(%s,%s) scale(%s,%s)' % (x, y, sx, sy))
    s.rect(0, 0, 290, 63, P['outline'])
    s.rect(6, 5, 278, 53, s.vface(P['cage'], 0.06))
    if populated:
        mini_cards(s)
    else:
        for i in range(46):
            cx = 9 + i * 5.9
            s.rect(cx, 15, 2.4, 12, P['conn'])
            s.rect(cx, 35, 2.4, 12, P['conn'])
            s.line(cx + 1.2, 16, cx + 1.2, 26, P['pin'], 0.6, stroke_dasharray='0.7,1.3')
            s.line(cx + 1.2, 36, cx + 1.2, 46, P['pin'], 0.6, stroke_dasharray='0.7,1.3')
            s.rect(cx, 6, 1.2, 4, P['guide'])
            s.rect(cx, 53, 1.2, 4, P['guide'])
    # Rails across the top and bottom of the cage.
    s.rect(0, 0, 290, 6, s.metal_v())
    s.rect(0, 0, 290, 0.8, P['zinc_hi'])
    s.rect(0, 5.4, 290, 0.6, P['zinc_dk'])
    s.rect(0, 57, 290, 6, s.metal_v())
    s.rect(0, 57, 290, 0.8, P['zinc_hi'])
    s.rect(0, 62.2, 290, 0.8, P['zinc_dk'])
    # Mounting ears with their screws.
    for ex in (0, 284):
        s.rect(ex, 0, 6, 63, s.metal_h())
        s.rect(ex + 5.4 if ex == 0 else ex, 0, 0.6, 63, P['zinc_dk'])
        screw(s, ex + 3, 9, 1.6)
        screw(s, ex + 3, 54, 1.6)
        s.rect(ex + 1.6, 22, 2.8, 19, 'none', stroke=P['zinc_dk'], stroke_width=0.8, rx=1.4)
    s.end()


def mini_cards(s):
    """The cards of a typical shelf at the rack view's scale."""
    kx = 290 / 874
    top, h = 5.7, 211 * 63 / 265
    layout = [(0, 9), (22, 1), (32, 0), (36, 0), (41, 2), (45, 3), (49, 3), (54, 4), (58, 5), (62, 5),
              (67, 6), (71, 7), (75, 8), (80, 0), (84, 0), (89, 10), (93, 11), (101, 12), (120, 0),
              (124, 2), (128, 3), (133, 6), (137, 8), (141, 10)]
    for slot, code in layout:
        x = slot_x(slot) * kx
        w = CARD_SIZES[code] * kx
        plate, lever, latch = CARD_STYLE[code]
        s.rect(x, top, w, h, '#0d0f11')
        s.rect(x + 0.4, top, w - 0.8, h, s.hface(plate, 0.15))
        s.rect(x + 0.4, top, 0.5, h, lighten(plate, 0.3))
        s.rect(x + 0.6, top + 0.5, w - 1.2, 3.2, lever)
        s.rect(x + 0.6, top + h - 3.7, w - 1.2, 3.2, lever)
        s.rect(x + 0.6, top + 2.9, w - 1.2, 0.6, darken(lever, 0.4))
        if code == 9:
            for k in range(9):
                s.rect(x + 9, top + 14 + k * 3.2, w - 11, 1.4, '#1c1f22')
            s.rect(x + 2, top + 6, 1.3, 1.3, P['green'])
        elif code == 12:
            s.rect(x + 9, top + 12, 5, 26, P['zinc_lo'])
            s.rect(x + 17, top + 12, 5, 26, P['zinc_lo'])
            for k in range(6):
                s.rect(x + 8 + k * 3, top + 6.5, 1.1, 1.1, P['green'] if k != 4 else P['amber'])
        elif code in (1, 11):
            s.rect(x + w - 5, top + 14, 3.5, 7, P['zinc_lo'])
            s.rect(x + w - 5, top + 24, 3.5, 4, P['zinc_lo'])
            s.rect(x + 2, top + 6.5, 1.1, 1.1, P['green'])
            s.rect(x + 4.5, top + 6.5, 1.1, 1.1, P['amber'])
        else:
            s.rect(x + w / 2 - 0.6, top + 6.5, 1.2, 1.2, P['green'] if code != 4 else P['red'])
            if code in (2, 3, 6, 8):
                s.rect(x + w / 2 - 0.6, top + 9, 1.2, 1.2, P['amber'] if code != 3 else P['green'])
        s.rect(x + w / 2 - 1.6 if w < 10 else x + 2.5, top + 18, 1.2, 20, lighten(plate, 0.45), opacity=0.55)


def finger_duct(s, x, y, w, h):
    """A horizontal cable duct: comb fingers with cable bundles seen between them."""
    s.rect(x, y, w, h, '#1b1e21')
    # Bundles of mostly grey and white cords, a few coloured ones among them.
    bundles = [('#8d9398', '#c9ccc8'), ('#e6e6df', '#a9aeb2'), ('#3a6fae', '#8d9398')]
    n = len(bundles)
    band = (h - 6) / n
    for k, (a, b) in enumerate(bundles):
        by = y + 2 + k * band
        s.rect(x, by, w, band * 0.85, a)
        s.rect(x, by + band * 0.3, w, band * 0.2, b, opacity=0.8)
        s.rect(x, by, w, 0.6, '#ffffff', opacity=0.35)
    fx = x + 2
    while fx < x + w - 2:
        s.rect(fx, y, 8.5, h - 3, s.hface(P['steel_md'], 0.15))
        s.rect(fx, y, 0.8, h - 3, P['steel_hi'])
        s.rect(fx + 7.9, y, 0.6, h - 3, P['steel_lo'])
        fx += 12
    s.rect(x, y, w, 1.2, P['steel_hi'])
    s.rect(x, y + h - 3, w, 3, s.vface(P['steel_lo'], 0.15))


def fan_tray(s, x, y, w, h):
    bevel(s, x, y, w, h, s.vface(P['steel_md'], 0.12), P['steel_md'], outline=P['outline'])
    cy = y + h / 2 - 1
    r = h / 2 - 4.5
    for cx in (x + w * 0.2, x + w * 0.5, x + w * 0.8):
        s.circle(cx, cy, r + 1.2, P['steel_lo'])
        s.circle(cx, cy, r, '#15181a')
        for k in range(3):
            a = 0.6 + k * 2.094
            from math import cos, sin
            s.poly([(cx, cy), (cx + r * 0.9 * cos(a), cy + r * 0.9 * sin(a)),
                    (cx + r * 0.9 * cos(a + 0.8), cy + r * 0.9 * sin(a + 0.8))], '#33393e')
        for rr in (r * 0.95, r * 0.7, r * 0.45):
            s.circle(cx, cy, rr, 'none', stroke=P['zinc'], stroke_width=0.9)
        s.line(cx - r, cy, cx + r, cy, P['zinc'], 0.9)
        s.line(cx, cy - r, cx, cy + r, P['zinc'], 0.9)
        s.circle(cx, cy, r * 0.22, s.rad([(0, P['zinc_hi']), (1, P['zinc_lo'])], fx=0.3, fy=0.3))
    for hx in (x + 6, x + w - 10):
        s.rect(hx, y + 8, 4, h - 16, s.metal_h(), rx=2)
    led(s, x + w * 0.35, y + 6, 1.6, P['green'])
    led(s, x + w * 0.65, y + 6, 1.6, P['amber'], lit=False)


def alarm_panel(s, x, y, w, h):
    bevel(s, x, y, w, h, s.vface(P['steel_lt'], 0.08), P['steel_lt'], outline=P['outline'])
    for k in range(12):
        fx = x + 10 + k * 9
        s.rect(fx, y + 3, 6, h - 6, '#f1efe8')
        s.rect(fx, y + 3, 6, 2.5, '#c0392b' if k % 4 == 3 else '#2d5184')
    for k, c in enumerate((P['red'], P['amber'], P['green'])):
        led(s, x + w - 40 + k * 11, y + h / 2, 2.6, c, lit=(c == P['green']))


def earth_bar(s, x, y, w, h):
    for ix in (x + 6, x + w - 14):
        s.rect(ix, y - 1, 8, h + 2, '#d9d3c3')
    s.rect(x + 2, y, w - 4, h, s.lin([(0, P['copper_hi']), (0.4, P['copper']), (1, darken(P['copper'], 0.35))]))
    for k in range(16):
        screw(s, x + 24 + k * (w - 48) / 15, y + h / 2, 1.6)


def rack_front(smt):
    s = Svg(293 if smt else 296, 490, 'Rack front, %s' % ('UE and UD racks' if smt else 'other racks'))
    # Laid out in twips / 15: the picture is always shown stretched to 4440 x 7350 twips.
    W, H = FRONT_W / 15, FRONT_H / 15
    if smt:
        s.group(transform='scale(%s,1)' % (293 / W))
    tops = [t / 15 for t in (TOPS_SMT if smt else TOPS_OTHER)]
    sh, sw = SHELF_H / 15, SHELF_W / 15
    left = (W - sw) / 2

    s.rect(0, 0, W, H, P['outline'])
    # Top cap and the header panel on which the rack's name rests.
    s.rect(1, 1, W - 2, 6, s.vface(P['steel_md'], 0.15))
    s.rect(1, 1, W - 2, 1, P['steel_hi'])
    bevel(s, 1, 7, W - 2, 46, s.vface(P['steel_lt'], 0.06), P['steel_lt'])
    s.rect(10, 13, 52, 14, P['brand'], rx=1.5)
    s.rect(10.5, 13.5, 51, 1, lighten(P['brand'], 0.35))
    s.text(36, 23.6, 'KVX-410', 8.5, '#ffffff', anchor='middle')
    vent_slots(s, 236, 13, 286, 28, 9, 1.6, 12, 4)
    s.rect(1, 53, W - 2, 1.6, '#17191b')
    # Inside of the cabinet, seen when the doors are open.
    s.rect(1, 54.6, W - 2, 421.4, '#2c3236')
    for px in (1, W - 4):
        s.rect(px, 54.6, 3, 421.4, s.metal_h(P['steel_md']))
        y = 60
        while y < 472:
            s.rect(px + 0.9, y, 1.3, 1.3, '#202427')
            y += 5.2

    if smt:
        fan_tray(s, left, 56, sw, tops[0] - 56)
    else:
        alarm_panel(s, left, 56, sw, tops[0] - 56)
    for i, t in enumerate(tops):
        cage(s, left, t, sw, sh, populated=False)
        if i + 1 < len(tops):
            gap = tops[i + 1] - (t + sh)
            if gap > 1:
                finger_duct(s, left, t + sh, sw, gap)
    bottom = tops[-1] + sh
    bevel(s, left, bottom, sw, 476 - bottom, s.vface(P['steel_md'], 0.1), P['steel_md'])
    earth_bar(s, left + 10, bottom + 2.5, sw - 20, 4.5)

    # Plinth with its air intake.
    s.rect(1, 476, W - 2, 13, s.vface(P['steel_dk'], 0.2))
    s.rect(1, 476, W - 2, 1, P['steel_md'])
    vent_slots(s, 14, 480, W - 14, 488, 10, 1.6, 14, 4, stagger=False)
    # The strip beside the doors: the frame and the right door's hinges.
    s.rect(DOORS_W, 54.6, W - DOORS_W - 1, 421.4, s.hface(P['steel_md'], 0.2))
    for hy in (36, 202, 368):
        s.rect(DOORS_W, DOOR_TOP + hy, 3, 18, s.metal_h())
    if smt:
        s.end()
    return s


def shelf_small():
    s = Svg(290, 63, 'Shelf in the rack view')
    cage(s, 0, 0, 290, 63, populated=True)
    return s


def shelf_big():
    """The full shelf: cards stand on it at SlotPitch twips a slot, CardTop twips from its top."""
    W, H = 874, 265
    s = Svg(W, H, 'Full shelf')
    s.rect(0, 0, W, H, P['outline'])
    # Top cover, dark so the station's name reads in white on it.
    s.rect(0, 0, W, 20, s.vface(P['graphite'], 0.12))
    s.rect(0, 0, W, 1, lighten(P['graphite'], 0.3))
    s.rect(0, 19, W, 1, '#101214')
    # Card cage and backplane.
    s.rect(20, 28, 834, 200, s.lin([(0, P['cage_dk']), (0.15, P['cage']), (1, darken(P['cage'], 0.2))]))
    for n in range(0, 160):
        x = slot_x(n)
        if x + 4 > 852:
            break
        s.rect(x + 1, 56, 3, 64, P['conn'])
        s.rect(x + 1, 136, 3, 64, P['conn'])
        s.rect(x + 1, 56, 3, 1, lighten(P['conn'], 0.3))
        s.rect(x + 1, 136, 3, 1, lighten(P['conn'], 0.3))
        s.line(x + 2.5, 58, x + 2.5, 118, P['pin'], 0.8, stroke_dasharray='1,3')
        s.line(x + 2.5, 138, x + 2.5, 198, P['pin'], 0.8, stroke_dasharray='1,3')
        s.rect(x + 1.5, 28, 2, 12, P['guide'])
        s.rect(x + 1.5, 216, 2, 12, P['guide'])
        s.rect(x + 1.5, 28, 0.6, 12, lighten(P['guide'], 0.4))
        s.rect(x + 1.5, 216, 0.6, 12, lighten(P['guide'], 0.4))
    s.rect(20, 28, 834, 4, '#000000', opacity=0.45)
    # Top rail with a guide hole per slot.
    s.rect(0, 20, W, 8, s.metal_v())
    s.rect(0, 20, W, 1, P['zinc_hi'])
    # Bottom rail with the slot scale printed on it.
    s.rect(0, 228, W, 18, s.metal_v())
    s.rect(0, 228, W, 1, P['zinc_hi'])
    s.rect(0, 245, W, 1, P['zinc_dk'])
    for n in range(0, 160):
        x = slot_x(n)
        if x > 850:
            break
        # The card guide, just above where a card's top stands.
        s.rect(x + 1.5, F['CardTop'] / 15 - 1, 2, 3.5, '#202427')
        s.rect(x + 1.5, 236, 0.8, 3 if n % 5 else 5, P['ink'])
        if n % 10 == 0 and n > 0:
            s.text(x + 2, 245, str(n), 6.5, '#3c434a', anchor='middle')
    # Bottom cover with the air outlet.
    s.rect(0, 246, W, 19, s.vface(P['graphite'], 0.12))
    vent_slots(s, 40, 251, 840, 262, 14, 2, 18, 5, stagger=True)
    # Mounting ears with the shelf's grab handles.
    for ex in (0, 854):
        s.rect(ex, 0, 20, H, s.metal_h())
        s.rect(ex, 0, 20, 1, P['zinc_hi'])
        s.rect(ex + (19 if ex == 0 else 0), 0, 1, H, P['zinc_dk'])
        for y in (9, 256):
            s.rect(ex + 6, y - 2.5, 8, 5, '#1d2024', rx=2.5)
            screw(s, ex + 10, y, 2.6)
        s.rect(ex + 4, 62, 12, 142, '#000000', opacity=0.25, rx=6)
        s.rect(ex + 3, 60, 12, 142, s.metal_h(P['zinc_lo']), rx=6)
        s.rect(ex + 7, 70, 4, 122, s.metal_h(P['zinc']), rx=2)
        s.rect(ex + 3, 60, 12, 142, 'none', stroke=P['zinc_dk'], stroke_width=HAIR, rx=6)
    s.rect(20, 20, 4, 226, '#000000', opacity=0.3)
    s.rect(850, 20, 4, 226, '#000000', opacity=0.3)
    return s


# ==== cards ======================================================================

CARD_H = 211


def lever(s, x, y, w, h, colour, latch, top):
    """An ejector lever: the finger grip that levers the card out of its shelf."""
    body_y = y + (2 if top else 0)
    bh = h - 2
    s.rect(x + 0.6, body_y + 0.8, w, bh, '#000000', opacity=0.4, rx=2)
    s.rect(x, body_y, w, bh, s.face(colour, 0.22), rx=2)
    s.rect(x + 0.8, body_y + 0.6, w - 1.6, 0.8, lighten(colour, 0.5), opacity=0.9)
    # The claw that grips the shelf rail.
    cy = y if top else y + h - 3
    s.rect(x + 1, cy, w * 0.45, 3, darken(colour, 0.25))
    for k in range(3):
        gy = body_y + bh * (0.3 + 0.18 * k)
        s.rect(x + 2.5, gy, w - 8, 0.8, darken(colour, 0.35))
        s.rect(x + 2.5, gy + 0.8, w - 8, 0.5, lighten(colour, 0.35), opacity=0.7)
    s.rect(x + w - 5, body_y + bh / 2 - 2.5, 3, 5, latch, rx=0.8)


def card_base(code, w=None, h=CARD_H):
    w = w or CARD_SIZES[code]
    plate, lever_c, latch = CARD_STYLE[code]
    s = Svg(w, h, 'Card, image type %d' % code)
    s.rect(0, 0, w, h, '#0d0f11')
    s.rect(1, 1, w - 2, h - 2, s.face(plate, 0.12))
    s.rect(1, 1, w - 2, 1, lighten(plate, 0.4))
    s.rect(1, 1, 1, h - 2, lighten(plate, 0.3))
    s.rect(1, h - 2, w - 2, 1, darken(plate, 0.45))
    s.rect(w - 2, 2, 1, h - 3, darken(plate, 0.4))
    lever(s, 2, 2, w - 4, 17, lever_c, latch, True)
    lever(s, 2, h - 19, w - 4, 17, lever_c, latch, False)
    screw(s, w / 2 if w < 30 else 10.5, 24, 2.2)
    screw(s, w / 2 if w < 30 else 10.5, h - 24, 2.2)
    if w >= 30:
        screw(s, w - 8, 24, 2.2)
        screw(s, w - 8, h - 24, 2.2)
    return s, plate


def groove(s, x, y, w, plate):
    s.rect(x, y, w, 0.6, darken(plate, 0.45))
    s.rect(x, y + 0.6, w, 0.5, lighten(plate, 0.3))


def card0():
    s, plate = card_base(0)
    led(s, 10.5, 35, 2.2, P['green'])
    led(s, 10.5, 45, 2.2, P['red'], lit=False)
    groove(s, 3, 55, 15, plate)
    jack(s, 4.6, 150, 1.8, '#c9a227')
    jack(s, 4.6, 160, 1.8, '#c9a227')
    return s


def card1():
    s, plate = card_base(1)
    for k, (c, lit) in enumerate(((P['green'], True), (P['green'], True), (P['amber'], True), (P['red'], False))):
        led(s, 8 + k * 9, 36, 2.0, c, lit)
    s.circle(34.5, 50, 4, darken(plate, 0.5))
    s.circle(34.5, 50, 2.8, s.rad([(0, lighten('#c0392b', 0.4)), (1, darken('#c0392b', 0.3))], fx=0.3, fy=0.3))
    groove(s, 3, 58, 39, plate)
    dsub(s, 25.5, 66, 13, 40)
    rj(s, 24.5, 112, 15, 15)
    rj(s, 24.5, 131, 15, 15)
    led(s, 41.5, 114, 1.2, P['green'])
    led(s, 41.5, 133, 1.2, P['amber'])
    jack(s, 28, 163, 2.2, '#c0392b')
    jack(s, 36, 163, 2.2, '#25282b')
    s.rect(24, 171, 16, 7, P['paper'])
    for k in range(9):
        s.rect(25 + k * 1.6, 172, 0.7 if k % 2 else 1.1, 5, '#222222')
    return s


def card2():
    s, plate = card_base(2)
    led(s, 10.5, 37, 2.7, P['amber'])
    groove(s, 3, 50, 15, plate)
    groove(s, 3, 55, 15, plate)
    for k, c in enumerate(('#c0392b', '#25282b', '#e8c33a')):
        jack(s, 4.6, 78 + k * 16, 2.0, c)
    return s


def card3():
    s, plate = card_base(3)
    led(s, 10.5, 34, 2.2, P['yellow'])
    s.rect(5, 42, 11, 15, '#17191b')
    for k in range(3):
        s.rect(6.5 + k * 3.2, 43.5, 2, 12, '#3a3f43')
        s.rect(6.5 + k * 3.2, 43.5 + (0 if k != 1 else 6), 2, 6, '#f2f2ee')
    for k in range(6):
        led(s, 4.6, 70 + k * 9, 1.5, P['green'], lit=(k not in (2, 5)))
    return s


def card4():
    s, plate = card_base(4)
    led(s, 10.5, 35, 2.9, P['red'])
    s.circle(10.5, 52, 3.6, s.rad([(0, P['zinc_hi']), (1, P['zinc_dk'])], fx=0.3, fy=0.3))
    s.circle(10.5, 52, 2.2, '#1a1c1e')
    s.poly([(9.6, 52), (11.4, 52), (12.2, 42.5), (8.8, 42.5)], s.metal_h())
    s.circle(10.5, 42.5, 1.7, P['zinc_hi'])
    for k in range(2):
        led(s, 4.6, 74 + k * 10, 1.5, P['red'], lit=False)
    return s


def card5():
    s, plate = card_base(5)
    bnc(s, 10.5, 37, 4.4)
    bnc(s, 10.5, 53, 4.4)
    led(s, 4.6, 70, 1.5, P['green'])
    led(s, 4.6, 78, 1.5, P['amber'], lit=False)
    return s


def card6():
    s, plate = card_base(6)
    rj(s, 3.5, 30, 14, 12)
    rj(s, 3.5, 45, 14, 12)
    led(s, 16.5, 31.5, 0.9, P['green'])
    led(s, 16.5, 46.5, 0.9, P['amber'])
    led(s, 4.6, 70, 1.5, P['green'])
    s.rect(2.8, 150, 3.6, 22, '#17191b', rx=1)
    s.rect(3.4, 158, 2.4, 5, '#d9dcdd', rx=0.5)
    return s


SEGMENTS = {'2': 'abged', '7': 'abc', '0': 'abcdef', '1': 'bc', '5': 'afgcd'}


def seven_seg(s, x, y, w, h, digit):
    t = 1.3
    seg = {
        'a': (x + t, y, w - 2 * t, t), 'g': (x + t, y + h / 2 - t / 2, w - 2 * t, t),
        'd': (x + t, y + h - t, w - 2 * t, t), 'f': (x, y + t, t, h / 2 - 1.5 * t),
        'b': (x + w - t, y + t, t, h / 2 - 1.5 * t), 'e': (x, y + h / 2 + t / 2, t, h / 2 - 1.5 * t),
        'c': (x + w - t, y + h / 2 + t / 2, t, h / 2 - 1.5 * t),
    }
    for name, (sx, sy, sw, sh) in seg.items():
        lit = name in SEGMENTS[digit]
        s.rect(sx, sy, sw, sh, '#ff3b2f' if lit else '#3a1412')


def card7():
    s, plate = card_base(7)
    s.rect(3.5, 29, 14, 30, '#0b0b0c', rx=1)
    s.rect(4.5, 30, 12, 28, '#1b0707')
    seven_seg(s, 6.5, 31.5, 8, 11, '2')
    seven_seg(s, 6.5, 45, 8, 11, '7')
    s.rect(4.5, 30, 12, 4, '#ffffff', opacity=0.08)
    led(s, 4.6, 70, 1.5, P['green'])
    s.circle(4.6, 170, 2.2, '#17191b')
    s.circle(4.6, 170, 1.4, '#d9dcdd')
    return s


def card8():
    s, plate = card_base(8)
    s.rect(1.5, 22, 2, 167, '#e07a1f')
    for y in (30, 45):
        s.rect(4.5, y, 12, 12, s.face(P['fibre'], 0.25), rx=1)
        s.rect(6, y + 1.5, 9, 9, '#173a73', rx=0.8)
        s.circle(10.5, y + 6, 2.2, '#efe9d6')
        s.circle(10.5, y + 6, 0.9, '#b7ad90')
    led(s, 5.5, 70, 1.5, P['green'])
    warning_sign(s, 5.5, 168, 6)
    return s


def card9():
    """Power supply: wide, vent grille, rocker switch, fuses and a pull handle."""
    s, plate = card_base(9)
    led(s, 12, 34, 2.3, P['green'])
    led(s, 12, 46, 2.3, P['red'], lit=False)
    jack(s, 28, 38, 3.0, '#c0392b')
    jack(s, 39, 38, 3.0, '#25282b')
    s.text(28, 49, '+', 6, '#d7dadc', anchor='middle')
    s.text(39, 49, '-', 7, '#d7dadc', anchor='middle')
    s.rect(52, 29, 18, 26, '#101214', rx=1.5)
    s.rect(54.5, 31.5, 13, 21, s.lin([(0, '#e0533f'), (0.5, '#b5372f'), (1, '#7c211b')]), rx=1)
    s.rect(54.5, 31.5, 13, 10, '#ffffff', opacity=0.12, rx=1)
    s.text(61, 39, 'I', 5, '#ffffff', anchor='middle')
    s.text(61, 50.5, 'O', 5, '#ffffff', anchor='middle')
    for fx in (80, 93):
        s.circle(fx + 0.5, 42.5, 5.5, '#000000', opacity=0.35)
        s.circle(fx, 42, 5.5, s.rad([(0, '#5a5f63'), (1, '#17191b')], fx=0.3, fy=0.3))
        s.rect(fx - 3, 41.3, 6, 1.4, '#0b0c0d')
    groove(s, 3, 60, 98, plate)
    # Air grille in two fields, each slot with a lit lower lip.
    for gx0, gx1 in ((26, 61), (65, 98)):
        s.rect(gx0 - 1, 64, gx1 - gx0 + 2, 108, darken(plate, 0.25))
        for k in range(17):
            y = 67 + k * 6
            s.rect(gx0 + 1, y, gx1 - gx0 - 2, 3, '#121416', rx=1.2)
            s.rect(gx0 + 1, y + 3, gx1 - gx0 - 2, 0.6, lighten(plate, 0.35))
    # Pull handle.
    s.rect(34, 176, 6, 11, s.metal_h(), rx=1)
    s.rect(84, 176, 6, 11, s.metal_h(), rx=1)
    s.rect(35, 177, 56, 7, '#000000', opacity=0.35, rx=3.5)
    s.rect(33, 175, 58, 7, s.metal_v(), rx=3.5)
    s.rect(36, 176, 52, 1, P['zinc_hi'])
    warning_sign(s, 96, 183, 7)
    return s


def card10():
    s, plate = card_base(10)
    led(s, 6.5, 36, 2.0, P['green'])
    led(s, 14.5, 36, 2.0, P['amber'], lit=False)
    s.circle(10.5, 50, 3.2, s.rad([(0, P['zinc_hi']), (1, P['zinc_dk'])], fx=0.3, fy=0.3))
    s.circle(10.5, 50, 1.6, '#17191b')
    s.circle(10.5, 50, 0.6, '#d8b45a')
    # Dark name strip let into the bright plate, where the card's name is written.
    s.rect(7.5, 60, 12, 123, '#262a2e', rx=1)
    sunk(s, 7.5, 60, 12, 123, '#6b747c', t=0.8)
    for k in range(8):
        s.rect(2.4, 70 + k * 14, 3, 0.6, darken(plate, 0.35))
    return s


def card11():
    s, plate = card_base(11)
    for k, (c, lit) in enumerate(((P['green'], True), (P['green'], True), (P['amber'], False))):
        led(s, 8 + k * 8.5, 36, 2.0, c, lit)
    s.rect(28, 44, 6, 11, '#0f1112', rx=1)
    s.rect(29, 45, 4, 4.5, P['green'], opacity=0.8)
    groove(s, 3, 58, 32, plate)
    for k in range(3):
        bnc(s, 28.5, 76 + k * 22, 5.0)
    s.circle(28.5, 148, 3.0, s.rad([(0, '#f0e6c8'), (1, '#a89a70')], fx=0.3, fy=0.3))
    s.rect(26.7, 147.5, 3.6, 1, '#4a4030')
    s.rect(22.5, 158, 12, 9, P['paper'])
    s.rect(24, 160, 9, 0.8, P['ink'])
    s.rect(24, 163, 6, 0.8, P['ink'])
    return s


def card12():
    s, plate = card_base(12)
    led(s, 10.5, 36, 2.1, P['green'])
    led(s, 10.5, 47, 2.1, P['amber'], lit=False)
    s.rect(23, 30, 60, 13, '#101214', rx=1.5)
    for k in range(10):
        lit = k not in (7, 9)
        s.rect(25.5 + k * 5.6, 32.5, 3.8, 8, (P['green'] if k < 8 else P['red']) if lit else '#223326')
        if lit:
            s.rect(25.5 + k * 5.6, 32.5, 3.8, 2, '#ffffff', opacity=0.35)
    groove(s, 3, 56, 83, plate)
    for cx in (26, 50):
        s.rect(cx, 62, 19, 118, s.face(P['zinc'], 0.25), rx=1.5)
        screw(s, cx + 9.5, 65.5, 1.6, cross=False)
        screw(s, cx + 9.5, 176.5, 1.6, cross=False)
        s.rect(cx + 3, 70, 13, 102, '#15171a', rx=1)
        for k in range(24):
            s.rect(cx + 5.5, 72.5 + k * 4.1, 2.5, 1.4, '#d8b45a')
            s.rect(cx + 11, 74.5 + k * 4.1, 2.5, 1.4, '#d8b45a')
    for k, c in enumerate(('#c0392b', '#25282b', '#e8c33a', '#3f74ba')):
        jack(s, 79.5, 74 + k * 14, 2.4, c)
    s.rect(74, 140, 11, 38, P['paper'])
    for k in range(10):
        s.rect(75.5, 142 + k * 3.5, 8, 1.1 if k % 3 else 1.8, '#222222')
    return s


def card13():
    """The small module that plugs onto another card."""
    W, H = 51, 60
    plate, lever_c, pcb = CARD_STYLE[13]
    s = Svg(W, H, 'Card, image type 13')
    s.rect(0, 0, W, 2.5, pcb)
    s.rect(0, H - 2.5, W, 2.5, pcb)
    s.rect(0, 0, W, 0.8, lighten(pcb, 0.3))
    for k in range(8):
        s.rect(3 + k * 6, 0.6, 2.5, 1.2, '#d8b45a')
    s.rect(0, 2, W, H - 4, '#0d0f11', rx=2)
    s.rect(1, 3, W - 2, H - 6, s.face(plate, 0.14), rx=1.5)
    s.rect(2, 3, W - 4, 0.8, lighten(plate, 0.4))
    s.rect(1, 4, 0.8, H - 8, lighten(plate, 0.3))
    # Pull tab.
    s.rect(3, 12, 12, 36, s.face(lever_c, 0.25), rx=2)
    for k in range(6):
        s.rect(5, 16 + k * 5, 8, 0.8, darken(lever_c, 0.4))
        s.rect(5, 16.8 + k * 5, 8, 0.5, lighten(lever_c, 0.4))
    screw(s, 9, 7.5, 1.8)
    screw(s, 9, 52.5, 1.8)
    led(s, 37, 9.5, 1.6, P['green'])
    led(s, 44.5, 9.5, 1.6, P['yellow'], lit=False)
    s.rect(34, 17, 13, 20, s.face(P['zinc'], 0.25), rx=1)
    s.rect(36, 19.5, 9, 15, '#15171a', rx=0.8)
    for k in range(5):
        s.rect(38, 21 + k * 2.8, 1.2, 1.2, '#d8b45a')
        s.rect(41.5, 22.4 + k * 2.8, 1.2, 1.2, '#d8b45a')
    screw(s, 40.5, 48, 2.0)
    return s


CARDS = [card0, card1, card2, card3, card4, card5, card6, card7, card8, card9, card10, card11, card12, card13]


# ==== the program's own pictures ===================================================

def icon():
    """The program's icon: a cabinet with its left door swung open on two shelves
    of cards. Drawn on whole pixels so it stays crisp at 32 x 32; the finer
    touches only show in the larger renderings."""
    s = Svg(32, 32, 'KVX-410')
    s.rect(9, 3, 19, 28, '#000000', opacity=0.25, rx=1)
    s.rect(8, 2, 19, 28, P['outline'], rx=1)
    s.rect(9, 3, 17, 26, s.face(P['steel'], 0.12))
    s.rect(9, 3, 17, 5, s.vface(P['brand'], 0.15))
    s.rect(9, 3, 17, 0.4, lighten(P['brand'], 0.5))
    s.rect(11, 5, 8, 1, '#ffffff', opacity=0.9)
    s.rect(22, 4.6, 2, 1.6, P['green'])
    s.rect(9, 8, 17, 1, P['outline'])
    plates = ['#2d5184', '#2e5c47', '#6d2d35', '#245c61', '#aab3ba', '#253a6b', '#4f5733']
    for row, y in enumerate((10, 18)):
        s.rect(9, y, 17, 7, P['cage'])
        for k in range(8):
            plate = plates[(k + row * 3) % len(plates)]
            s.rect(9 + k * 2, y + 1, 2, 5, plate)
            s.rect(9 + k * 2, y + 1, 0.4, 5, '#000000', opacity=0.4)
            s.rect(9.4 + k * 2, y + 1, 1.6, 0.7, lighten(plate, 0.55))
            s.rect(9.4 + k * 2, y + 5.3, 1.6, 0.7, lighten(plate, 0.55))
        s.rect(9, y, 17, 1, s.metal_v())
        s.rect(9, y + 6, 17, 1, s.metal_v(P['zinc_lo']))
        s.rect(9.5, y + 2, 1, 1, P['green'])
        s.rect(15.5, y + 2, 1, 1, P['amber'] if row else P['green'])
        s.rect(21.5, y + 2, 1, 1, P['red'] if row else P['green'])
    s.rect(9, 26, 17, 3, s.vface(P['steel_dk'], 0.2))
    for k in range(4):
        s.rect(11 + k * 3.5, 27.2, 2.4, 0.6, '#1b1e20')
    # The left door swung open, its inside facing us.
    door = [(8, 3), (2, 6), (2, 27), (8, 30)]
    s.poly(door, s.lin([(0, P['steel_md']), (1, P['steel_hi'])], 0, 0, 1, 0))
    s.poly([(7, 5.5), (3.2, 7.6), (3.2, 11), (7, 9.8)], '#5c6b79')
    s.poly([(7, 23.2), (3.2, 22), (3.2, 25.4), (7, 27.5)], '#5c6b79')
    s.poly(door, 'none', stroke=P['outline'], stroke_width=LINE, stroke_linejoin='round')
    s.rect(3.4, 15, 1.2, 4, P['outline'])
    return s


def about():
    """A neutral emblem for the author dialog: a rack in its token ring."""
    W, H = 81, 113
    s = Svg(W, H, 'KVX-410 emblem')
    s.rect(0, 0, W, H, '#0c1626', rx=4)
    s.rect(1, 1, W - 2, H - 2, s.lin([(0, '#27436d'), (1, '#0f1d33')], 0, 0, 1, 1), rx=3.5)
    s.rect(1.5, 1.5, W - 3, H - 3, 'none', stroke='#6d88ad', stroke_width=HAIR, rx=3)
    cx, cy, r = 40.5, 46, 31
    s.circle(cx, cy, r, 'none', stroke='#8fa6c4', stroke_width=1.6)
    s.circle(cx, cy, r, 'none', stroke='#0f1d33', stroke_width=0.5)
    import math
    cols = [P['green'], P['amber'], P['green'], P['red'], P['green'], P['yellow'], P['green'], P['amber']]
    for k in range(8):
        a = -math.pi / 2 + k * math.pi / 4 + math.pi / 8
        nx, ny = cx + r * math.cos(a), cy + r * math.sin(a)
        s.rect(nx - 4, ny - 3.5, 8, 7, s.face(P['steel'], 0.15), stroke=P['outline'], stroke_width=HAIR, rx=1)
        s.rect(nx - 2.5, ny - 1.5, 5, 2.2, P['cage'])
        s.circle(nx + 2, ny + 2, 0.8, cols[k])
    # The rack in the middle of the ring.
    s.rect(31, 23, 20, 46, '#000000', opacity=0.3)
    s.rect(30, 22, 20, 46, P['outline'])
    s.rect(31, 23, 18, 44, s.face(P['steel'], 0.12))
    s.rect(31, 23, 18, 5, P['steel_lt'])
    plates = ['#2d5184', '#2e5c47', '#6d2d35', '#245c61', '#aab3ba', '#253a6b', '#4f5733', '#3c4248']
    for row in range(4):
        y = 29 + row * 9
        s.rect(31.5, y, 17, 8, P['cage'])
        s.rect(31.5, y, 17, 0.8, P['zinc'])
        s.rect(31.5, y + 7.2, 17, 0.8, P['zinc_lo'])
        for k in range(7):
            s.rect(32.3 + k * 2.3, y + 1, 1.9, 6.2, plates[(k + row * 2) % len(plates)])
        s.rect(32.8, y + 2, 0.9, 0.9, P['green'])
        s.rect(37.4 + row, y + 2, 0.9, 0.9, P['amber'] if row % 2 else P['green'])
    s.rect(31, 65, 18, 2, P['steel_dk'])
    s.text(40.5, 94, 'KVX-410', 12, '#ffffff', anchor='middle')
    s.rect(14, 99, 53, 0.8, '#8fa6c4')
    s.text(40.5, 107, 'EXCHANGE', 6.5, '#c9d6e8', anchor='middle', weight='normal')
    return s


PICTURES = {
    'rack.svg': rack_plan,
    'end-right.svg': lambda: end_panel(10, right=True),
    'end-left.svg': lambda: end_panel(8, right=False),
    'rack-front-smt.svg': lambda: rack_front(True),
    'rack-front-other.svg': lambda: rack_front(False),
    'door-closed-left.svg': lambda: door_closed(handle_right=True),
    'door-closed-right.svg': lambda: door_closed(handle_right=False),
    'door-open-left.svg': door_open_left,
    'door-open-right.svg': door_open_right,
    'door-cursor.svg': door_cursor,
    'shelf.svg': shelf_small,
    'shelf-big.svg': shelf_big,
    'icon.svg': icon,
    'about.svg': about,
}
for _code, _make in enumerate(CARDS):
    PICTURES['card-%d.svg' % _code] = _make


def write(folder):
    os.makedirs(folder, exist_ok=True)
    for name, make in PICTURES.items():
        make().save(os.path.join(folder, name))


def main():
    # --check: the committed pictures must be exactly what this script writes.
    if sys.argv[1:] == ['--check']:
        with tempfile.TemporaryDirectory() as fresh:
            write(fresh)
            _, differ, missing = filecmp.cmpfiles(ART, fresh, sorted(PICTURES), shallow=False)
        for name in differ + missing:
            print('art/%s is not what tools/make-art.py writes: run tools/make-art.py and commit it' % name)
        sys.exit(1 if differ or missing else 0)
    write(ART)
    print('wrote %d pictures to %s' % (len(PICTURES), os.path.normpath(ART)))


if __name__ == '__main__':
    main()
