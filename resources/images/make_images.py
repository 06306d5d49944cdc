#!/usr/bin/env python3
"""Draws Kolvar's icons and small bitmaps and writes them as .ico and .bmp.

Standard library only. Icons are drawn as shapes on a 32-unit grid, rendered
with 4 x 4 supersampling at each size (32-bit with alpha); below 24 pixels
some shapes switch to a simpler form that stays legible. Each icon carries
the sizes its places ask for from 100 % to 300 % display scaling: 16 to 48
where it is a small icon (caption, tray), 32 to 96 where it is a large one
(buttons, page pictures). The 16 and 32 pixel images are
stored as plain bitmaps, as every Windows reads them; the others as PNG,
which keeps the program small and which Windows reads since Vista. The 8 x 8
bitmaps are pixel art on the dialogs' white background.

Run from anywhere: python3 make_images.py  (writes next to this script)
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUBSAMPLES = 4


# --------------------------------------------------------------------------
# Shapes: predicates over points of the 32-unit grid.

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_inner, r_outer):
    def inside(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return r_inner * r_inner <= d <= r_outer * r_outer
    return inside


def arc(cx, cy, r_inner, r_outer, start_deg, end_deg):
    """Ring sector, angles clockwise from three o'clock (y grows downwards)."""
    band = ring(cx, cy, r_inner, r_outer)

    def inside(x, y):
        if not band(x, y):
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return (a - start_deg) % 360 <= (end_deg - start_deg) % 360
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def segment(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    half2 = (width / 2) ** 2

    def inside(x, y):
        t = 0 if length2 == 0 else max(0, min(1, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half2
    return inside


def outline(points, width):
    edges = [segment(*points[i - 1], *points[i], width) for i in range(len(points))]
    return lambda x, y: any(e(x, y) for e in edges)


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


def star_points(cx, cy, r_outer, r_inner, tips=5):
    points = []
    for i in range(tips * 2):
        r = r_outer if i % 2 == 0 else r_inner
        a = math.radians(-90 + i * 180 / tips)
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


# --------------------------------------------------------------------------
# Colours: hex strings, and vertical gradients between two of them.

def rgb(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def vertical(top, bottom, y0, y1):
    a, b = rgb(top), rgb(bottom)

    def paint(_x, y):
        t = min(1, max(0, (y - y0) / (y1 - y0)))
        return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(4))
    return paint


# --------------------------------------------------------------------------
# Canvas: straight RGBA, composited "over" with supersampled coverage.

class Canvas:
    def __init__(self, size):
        self.size = size
        self.unit = 32 / size  # grid units per pixel
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(self, shape, paint):
        step = self.unit / SUBSAMPLES
        for py in range(self.size):
            for px in range(self.size):
                x0, y0 = px * self.unit, py * self.unit
                hits = sum(1 for sy in range(SUBSAMPLES) for sx in range(SUBSAMPLES)
                           if shape(x0 + (sx + 0.5) * step, y0 + (sy + 0.5) * step))
                if hits:
                    colour = paint(x0 + self.unit / 2, y0 + self.unit / 2) if callable(paint) else paint
                    self._blend(px, py, colour, hits / SUBSAMPLES ** 2)

    def _blend(self, px, py, colour, coverage):
        r, g, b, a = colour
        src_a = a / 255 * coverage
        dr, dg, db, da = self.pixels[py][px]
        dst_a = da / 255
        out_a = src_a + dst_a * (1 - src_a)
        if out_a == 0:
            return
        mix = lambda s, d: round((s * src_a + d * dst_a * (1 - src_a)) / out_a)
        self.pixels[py][px] = (mix(r, dr), mix(g, dg), mix(b, db), round(out_a * 255))


# --------------------------------------------------------------------------
# The pictures. Each takes a canvas and draws on its 32-unit grid; `small`
# is true below 24 pixels, where one pixel is more than 1.5 units.

def draw_ram_module(c, small):
    """A memory module: green board, black chips, gold contacts."""
    if small:
        c.fill(rect(0, 8, 32, 24), rgb('#0E4A22'))
        c.fill(rect(2, 10, 30, 22), vertical('#3FB462', '#1E7A3C', 10, 22))
        for x in (4, 12, 20):
            c.fill(rect(x, 10, x + 6, 16), rgb('#1C1C1C'))
        for x in range(2, 30, 4):
            c.fill(rect(x, 18, x + 2, 22), rgb('#F2C230'))
        return
    c.fill(rounded_rect(1, 8, 31, 25, 1.5), rgb('#0E4A22'))
    c.fill(rect(2, 9, 30, 24), vertical('#4CC46E', '#1C7438', 9, 24))
    for x in (4, 13, 22):
        c.fill(rect(x, 11, x + 7, 18), rgb('#111111'))
        c.fill(rect(x, 11, x + 7, 12), rgb('#4A4A4A'))
        c.fill(rect(x + 1, 16, x + 2, 17), rgb('#5A5A5A'))
    for x in range(3, 29, 2):
        if x != 17:  # key notch
            c.fill(rect(x, 20, x + 1, 24), vertical('#FFE27A', '#C99512', 20, 24))


def draw_ram_module_keyed(c, small):
    draw_ram_module(c, small)
    if not small:
        # Cut the key notch through board and outline.
        notch = rect(17, 21, 19, 25)
        for py in range(c.size):
            for px in range(c.size):
                if notch(px * c.unit + c.unit / 2, py * c.unit + c.unit / 2):
                    c.pixels[py][px] = (0, 0, 0, 0)


def draw_ic_chip(c, small):
    """A chip seen from above: dark body, silver legs on two sides."""
    legs = range(6, 26, 4) if small else range(7, 26, 3)
    leg_w = 2 if small else 1.6
    for y in legs:
        c.fill(rect(1, y, 31, y + leg_w), vertical('#F4F4F4', '#8C8C8C', y, y + leg_w))
    if small:
        for y in legs:
            c.fill(rect(2, y, 30, y + leg_w), rgb('#B8B8B8'))
        c.fill(rect(6, 2, 26, 30), rgb('#0A0A0A'))
        c.fill(rect(8, 4, 24, 28), vertical('#4A4A52', '#26262C', 4, 28))
        c.fill(circle(12, 8, 2), rgb('#8A8A94'))
        return
    c.fill(rounded_rect(6, 2, 26, 30, 2), rgb('#0A0A0A'))
    c.fill(rounded_rect(7, 3, 25, 29, 1.5), vertical('#55555E', '#202026', 3, 29))
    c.fill(arc(16, 3, 0, 3, 0, 180), rgb('#0A0A0A'))
    c.fill(circle(11, 8, 1.5), rgb('#8C8C96'))
    c.fill(rect(7, 3, 25, 4), rgb('#7A7A84', 160))


def draw_red_cross(c, small):
    w = 5 if small else 4.5
    for a, b in (((5, 5), (27, 27)), ((27, 5), (5, 27))):
        c.fill(segment(*a, *b, w + (2.5 if small else 2)), rgb('#6E0000'))
    for a, b in (((5, 5), (27, 27)), ((27, 5), (5, 27))):
        c.fill(segment(*a, *b, w), vertical('#FF5A4A', '#D01010', 5, 27))


def draw_chip_low(c, small):
    draw_ram_module_keyed(c, small)
    draw_red_cross(c, small)


def draw_screen(c, small):
    """A computer screen on its stand."""
    c.fill(rect(12, 23, 20, 27), vertical('#9A9A9A', '#6A6A6A', 23, 27))
    c.fill(rounded_rect(7, 26, 25, 30, 1.5), rgb('#3C3C3C'))
    c.fill(rounded_rect(8, 27, 24, 29, 1), vertical('#D8D8D8', '#9C9C9C', 27, 29))
    c.fill(rounded_rect(1, 2, 31, 24, 2), rgb('#3A3A3A'))
    c.fill(rounded_rect(2, 3, 30, 23, 1.5), vertical('#EEEEEE', '#B4B4B4', 3, 23))
    inset = 4 if small else 4
    c.fill(rect(inset, 5, 32 - inset, 20), rgb('#1C3260'))
    c.fill(rect(inset + 1, 6, 31 - inset, 19), vertical('#7AB8FF', '#1F5FC8', 6, 19))
    c.fill(polygon([(inset + 1, 6), (20, 6), (inset + 1, 15)]), (255, 255, 255, 70))
    if not small:
        c.fill(circle(26.5, 21.5, 0.8), rgb('#3AD24A'))


def draw_star(c, small):
    points = star_points(16, 17, 15.5, 6.3)
    c.fill(polygon(points), vertical('#FFF08A', '#F29A00', 2, 30))
    c.fill(outline(points, 2 if small else 1.3), rgb('#B35F00'))
    if not small:
        c.fill(polygon(star_points(14.5, 14.5, 5, 2)), (255, 255, 255, 110))


BOLT = [(14, 1), (7, 18), (15, 18), (11, 31), (26, 12), (18, 12), (24, 1)]


def draw_bolt(c, small, fill_top='#FFF59A', fill_bottom='#FFB800', edge='#B86A00'):
    c.fill(polygon(BOLT), vertical(fill_top, fill_bottom, 1, 31))
    c.fill(outline(BOLT, 2 if small else 1.4), rgb(edge))
    if not small:
        c.fill(polygon([(15, 3), (10, 16), (12, 16), (17, 3)]), (255, 255, 255, 120))


def draw_bolt_grey(c, small):
    draw_bolt(c, small, '#F0F0F0', '#A8A8A8', '#6A6A6A')


def draw_clock_face(c, small, cx, cy, r, rim_top, rim_bottom, rim_edge):
    c.fill(circle(cx, cy, r), rgb(rim_edge))
    c.fill(circle(cx, cy, r - (2 if small else 1)), vertical(rim_top, rim_bottom, cy - r, cy + r))
    face = r - (4 if small else 3.5)
    c.fill(circle(cx, cy, face), vertical('#FFFFFF', '#E2E6EE', cy - face, cy + face))
    if not small:
        for hour in range(12):
            a = math.radians(hour * 30)
            inner = face - (2.2 if hour % 3 == 0 else 1.3)
            c.fill(segment(cx + inner * math.sin(a), cy - inner * math.cos(a),
                           cx + (face - 0.5) * math.sin(a), cy - (face - 0.5) * math.cos(a),
                           1.0 if hour % 3 == 0 else 0.6), rgb('#505050'))
    hand = 2 if small else 1.4
    c.fill(segment(cx, cy, cx, cy - face * 0.75, hand), rgb('#1A1A1A'))
    c.fill(segment(cx, cy, cx + face * 0.55, cy + face * 0.1, hand), rgb('#1A1A1A'))
    if not small:
        c.fill(segment(cx, cy, cx - face * 0.45, cy + face * 0.6, 0.6), rgb('#D02020'))
        c.fill(circle(cx, cy, 1.1), rgb('#1A1A1A'))


def draw_alarm_clock(c, small):
    """A red alarm clock with two bells and little feet."""
    for side in (-1, 1):
        c.fill(segment(16 + side * 7, 25, 16 + side * 10, 30, 2.6 if small else 2.2), rgb('#3A3A3A'))
        bell_x = 16 + side * 9.5
        c.fill(circle(bell_x, 7.5, 5.5), rgb('#7A5000'))
        c.fill(circle(bell_x, 7.5, 4.5 if small else 4.6), vertical('#FFE680', '#D89A10', 3, 12))
    c.fill(segment(16, 3, 16, 7, 2), rgb('#5A5A5A'))
    c.fill(segment(12, 3, 20, 3, 2.2), rgb('#5A5A5A'))
    draw_clock_face(c, small, 16, 18, 11.5, '#FF5A4A', '#B80E0E', '#5E0000')


def draw_regular_free(c, small):
    """A clock with a lightning bolt: freeing at regular intervals."""
    draw_clock_face(c, small, 14, 14, 13, '#5E9BFF', '#1E4FB0', '#0E2A66')
    bolt = [(x * 0.5 + 17, y * 0.5 + 15.5) for x, y in BOLT]
    c.fill(polygon(bolt), vertical('#FFF59A', '#FFB800', 16, 31))
    c.fill(outline(bolt, 2 if small else 1.2), rgb('#8A4E00'))


def draw_refresh(c, small):
    """A green arrow turning clockwise round a circle, its head at the top."""
    cx, cy = 16, 17
    r_in, r_out = (6.5, 12.5) if small else (7.5, 12.5)
    r_mid = (r_in + r_out) / 2
    edge = 1.6 if small else 1.0

    def shape(grow):
        body = arc(cx, cy, r_in - grow, r_out + grow, 338, 272)
        head = polygon([(14 - grow, cy - r_mid - 6 - grow * 1.8),
                        (23 + grow * 2, cy - r_mid),
                        (14 - grow, cy - r_mid + 6 + grow * 1.8)])
        return union(body, head)
    c.fill(shape(edge), rgb('#0C5A1E'))
    c.fill(shape(0), vertical('#86E892', '#189632', 2, 30))


# What 100 % to 300 % display scaling asks for, each drawn at its own size:
# a small icon is 16 pixels at 100 %, a large one 32.
SMALL = (16, 20, 24, 28, 32, 36, 40, 48)
LARGE = (16, 32, 40, 48, 56, 64, 72, 80, 96)  # 16 too: lists and shortcuts may ask for it
BOTH = tuple(sorted(set(SMALL) | set(LARGE)))

ICONS = {
    'app_chip.ico': (draw_ram_module_keyed, BOTH),       # program file, About box
    'tray_chip.ico': (draw_ram_module_keyed, BOTH),      # caption and tray
    'chip.ico': (draw_ic_chip, LARGE),
    'chip_low.ico': (draw_chip_low, SMALL),              # tray
    'screen.ico': (draw_screen, LARGE),
    'star.ico': (draw_star, LARGE),
    'bolt.ico': (draw_bolt, LARGE),
    'bolt_grey.ico': (draw_bolt_grey, LARGE),
    'alarm_clock.ico': (draw_alarm_clock, LARGE),
    'regular_free.ico': (draw_regular_free, LARGE),
    'refresh.ico': (draw_refresh, LARGE),
}
PLAIN_SIZES = (16, 32)


# --------------------------------------------------------------------------
# 8 x 8 bitmaps: one letter per pixel, '.' is the white background.

PALETTES = {
    'blue': {'o': '#173E8C', 'B': '#2F6FE0', 'L': '#A8CCFF'},
    'orange': {'o': '#9A4A00', 'B': '#F58A10', 'L': '#FFD28A'},
    'green': {'o': '#0E6A24', 'B': '#2DB84A', 'L': '#A8F0B4'},
    'teal': {'o': '#0A5A60', 'B': '#1FA6B0', 'L': '#9CE8EE'},
    'gold': {'o': '#A85E00', 'B': '#FFC21A', 'L': '#FFF0A0'},
}

BALL = ['........',
        '..oooo..',
        '.oLBBBo.',
        '.oLBBBo.',
        '.oBBBBo.',
        '.oBBBBo.',
        '..oooo..',
        '........']

DIAMOND = ['...o....',
           '..oLo...',
           '.oLBBo..',
           'oLBBBBo.',
           '.oBBBo..',
           '..oBo...',
           '...o....',
           '........']

ARROW = ['.oo.....',
         '.oLo....',
         '.oBBo...',
         '.oBBBo..',
         '.oBBo...',
         '.oBo....',
         '.oo.....',
         '........']

CHECK = ['........',
         '......oo',
         '.....oBo',
         'oo..oBo.',
         'oBooBo..',
         '.oBBo...',
         '..oo....',
         '........']

SMALL_STAR = ['...o....',
              '..oLo...',
              'ooLBBoo.',
              'oLBBBBo.',
              '.oBBBo..',
              '.oBoBo..',
              '.o...o..',
              '........']

BITMAPS = {
    'arrow_mark.bmp': (ARROW, 'blue'),
    'bullet_blue.bmp': (BALL, 'blue'),
    'bullet_heading.bmp': (BALL, 'orange'),
    'bullet_time.bmp': (BALL, 'green'),
    'bullet_slider.bmp': (DIAMOND, 'teal'),
    'bullet_apply.bmp': (CHECK, 'green'),
    'star_mark.bmp': (SMALL_STAR, 'gold'),
}


# --------------------------------------------------------------------------
# File formats

def icon_image(pixels):
    """One icon image: BITMAPINFOHEADER, BGRA rows and AND mask, bottom-up."""
    size = len(pixels)
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        row_mask = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def png_filtered(line, previous, kind):
    """One row under PNG filter kind (0 none, 1 sub, 2 up, 3 average, 4 Paeth)."""
    out = bytearray(len(line))
    for i, value in enumerate(line):
        a = line[i - 4] if i >= 4 else 0
        b = previous[i]
        c = previous[i - 4] if i >= 4 else 0
        if kind == 0:
            guess = 0
        elif kind == 1:
            guess = a
        elif kind == 2:
            guess = b
        elif kind == 3:
            guess = (a + b) // 2
        else:
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            guess = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
        out[i] = (value - guess) & 0xFF
    return bytes(out)


def png_image(pixels):
    """One icon image as PNG, 8-bit RGBA (the only kind Windows reads in an
    icon): of a few ways to filter the rows, the one that packs smallest."""
    size = len(pixels)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    lines = [bytes(v for p in row for v in p) for row in pixels]

    def filtered(choose):
        raw = bytearray()
        previous = bytes(size * 4)
        for line in lines:
            kind, data = choose(line, previous)
            raw += bytes((kind,)) + data
            previous = line
        return bytes(raw)

    def smallest_sum(line, previous):
        candidates = [(kind, png_filtered(line, previous, kind)) for kind in range(5)]
        return min(candidates, key=lambda c: sum(b if b < 128 else 256 - b for b in c[1]))

    ways = [smallest_sum] + [lambda line, previous, k=k: (k, png_filtered(line, previous, k)) for k in range(5)]
    packed = []
    for raw in (filtered(way) for way in ways):
        for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED):
            packer = zlib.compressobj(9, zlib.DEFLATED, 15, 9, strategy)
            packed.append(packer.compress(raw) + packer.flush())
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', min(packed, key=len)) + chunk(b'IEND', b''))


def write_icon(path, images):
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, data in images:
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    with open(path, 'wb') as f:
        f.write(directory + body)


def write_bitmap(path, rows):
    """A 24-bit bottom-up .bmp."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(header + info + bytes(data))


def render_icon(draw, size):
    canvas = Canvas(size)
    draw(canvas, size < 24)
    return canvas.pixels


def render_pixel_art(art, palette_name):
    palette = {key: rgb(value)[:3] for key, value in PALETTES[palette_name].items()}
    palette['.'] = (255, 255, 255)
    return [[palette[ch] for ch in line] for line in art]


def main():
    for name, (draw, sizes) in ICONS.items():
        images = []
        for size in sizes:
            pixels = render_icon(draw, size)
            images.append((size, icon_image(pixels) if size in PLAIN_SIZES else png_image(pixels)))
        write_icon(os.path.join(HERE, name), images)
    for name, (art, palette) in BITMAPS.items():
        write_bitmap(os.path.join(HERE, name), render_pixel_art(art, palette))


if __name__ == '__main__':
    main()
