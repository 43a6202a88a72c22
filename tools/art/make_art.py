#!/usr/bin/python3
"""Draws the built-in artwork of Tovik2 as PNG sources under res/art/.

A developer's tool (Debian's python3-pil and python3-numpy), not a build step:
the PNGs it writes are committed, and the build packs them into resources.
Every picture is drawn at a multiple of its size and averaged down, so edges
are anti-aliased. Run from anywhere: /usr/bin/python3 tools/art/make_art.py
"""
import math
import pathlib
import re

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont
from PIL.PngImagePlugin import PngInfo

ROOT = pathlib.Path(__file__).resolve().parents[2]
OUT = ROOT / "res" / "art"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
BOOK = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
JAPANESE = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(Tovik2 VERSION ([0-9.]+)", text).group(1)


# --- straight-alpha float layers (H x W x 4, values 0..1) -------------------

def layer(w, h):
    return np.zeros((h, w, 4), dtype=np.float64)


def over(dst, src):
    """Porter-Duff 'over' of two straight-alpha layers."""
    sa, da = src[..., 3:4], dst[..., 3:4]
    out_a = sa + da * (1 - sa)
    safe = np.where(out_a > 0, out_a, 1)
    rgb = (src[..., :3] * sa + dst[..., :3] * da * (1 - sa)) / safe
    return np.concatenate([np.where(out_a > 0, rgb, 0), out_a], axis=2)


def coverage(w, h, draw_fn, blur=0.0):
    """A coverage mask (0..1) drawn by draw_fn(ImageDraw) on an 'L' canvas."""
    img = Image.new("L", (w, h), 0)
    draw_fn(ImageDraw.Draw(img))
    if blur:
        img = img.filter(ImageFilter.GaussianBlur(blur))
    return np.asarray(img, dtype=np.float64) / 255.0


def paint(cov, rgb, alpha=1.0):
    """A layer of one colour (or an H x W x 3 colour field) through a coverage mask."""
    out = layer(cov.shape[1], cov.shape[0])
    out[..., :3] = np.asarray(rgb, dtype=np.float64) / 255.0
    out[..., 3] = cov * alpha
    return out


def downsample(big, factor):
    """Averages factor x factor blocks in premultiplied space (correct edges)."""
    h, w = big.shape[0] // factor, big.shape[1] // factor
    pre = big.copy()
    pre[..., :3] *= pre[..., 3:4]
    pre = pre.reshape(h, factor, w, factor, 4).mean(axis=(1, 3))
    a = pre[..., 3:4]
    rgb = np.where(a > 0, pre[..., :3] / np.where(a > 0, a, 1), 0)
    return np.concatenate([rgb, a], axis=2)


def to_image(lay):
    data = np.clip(np.rint(lay * 255), 0, 255).astype(np.uint8)
    data[data[..., 3] == 0] = 0  # fully transparent pixels carry no colour
    return Image.fromarray(data, "RGBA")


def star_points(cx, cy, outer, inner, turn=-90.0):
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + 36 * i)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def radial(w, h, cx, cy, radius, inner_rgb, outer_rgb):
    y, x = np.mgrid[0:h, 0:w]
    t = np.clip(np.hypot(x - cx, y - cy) / radius, 0, 1)[..., None]
    return np.asarray(inner_rgb) * (1 - t) + np.asarray(outer_rgb) * t


# --- the pictures ------------------------------------------------------------

def draw_star(size, factor=8, outer_frac=0.45, glow=True):
    """A five-pointed star, white at heart and pale yellow at its points, with a
    dark edge on its lower right and soft, half-transparent borders."""
    s = size * factor
    cx, cy = s / 2 - 0.02 * s, s / 2 - 0.01 * s
    outer, inner = outer_frac * s, outer_frac * s * 0.45
    body = star_points(cx, cy, outer, inner)
    shadow = star_points(cx + 0.035 * s, cy + 0.035 * s, outer, inner)

    pic = layer(s, s)
    if glow:
        halo = coverage(s, s, lambda d: d.polygon(star_points(cx, cy, outer * 1.06, inner * 1.1), fill=255),
                        blur=0.035 * s)
        pic = over(pic, paint(halo, (255, 246, 190), 0.45))
    edge = coverage(s, s, lambda d: d.polygon(shadow, fill=255), blur=0.008 * s)
    pic = over(pic, paint(edge, (112, 84, 24), 0.95))
    core = coverage(s, s, lambda d: d.polygon(body, fill=255), blur=0.006 * s)
    colours = radial(s, s, cx - 0.04 * s, cy - 0.05 * s, outer, (255, 255, 255), (255, 236, 130))
    pic = over(pic, paint(core, colours))
    shine = coverage(s, s, lambda d: d.ellipse((cx - 0.16 * s, cy - 0.2 * s, cx + 0.02 * s, cy - 0.04 * s), fill=255),
                     blur=0.03 * s)
    pic = over(pic, paint(shine * core, (255, 255, 255), 0.7))
    return downsample(pic, factor)


def draw_digits():
    """Ten cells of 24 x 32: black digits in a white outline on a transparent
    ground, and the mask strip: 255 outside each outline, 0 on digit and outline."""
    factor, cw, ch = 4, 24, 32
    font = ImageFont.truetype(BOLD, 27 * factor)
    outline_w = 2 * factor
    fill = Image.new("L", (cw * 10 * factor, ch * factor), 0)
    ring = Image.new("L", fill.size, 0)
    for k in range(10):
        centre = ((k * cw + cw / 2) * factor, (ch / 2 + 0.5) * factor)
        ImageDraw.Draw(ring).text(centre, str(k), font=font, fill=255, anchor="mm",
                                  stroke_width=outline_w, stroke_fill=255)
        ImageDraw.Draw(fill).text(centre, str(k), font=font, fill=255, anchor="mm")
    big = layer(*fill.size)
    ring_cov = np.asarray(ring, dtype=np.float64) / 255
    fill_cov = np.asarray(fill, dtype=np.float64) / 255
    big = over(big, paint(ring_cov, (255, 255, 255)))
    big = over(big, paint(fill_cov, (0, 0, 0)))
    colour = to_image(downsample(big, factor))
    alpha = np.asarray(colour)[..., 3]
    mask = np.where(alpha[..., None] == 0, 255, 0).repeat(4, axis=2).astype(np.uint8)
    return colour, Image.fromarray(mask, "RGBA")


def draw_poof():
    """Five frames of 128 x 128 stacked top to bottom: a full white cloud that
    breaks into puffs, drifts apart and fades to the last wisps."""
    factor, f = 4, 128
    s = f * factor
    frames = []
    puffs = [(a, 0.8 + 0.25 * math.sin(3 * a)) for a in np.linspace(0, 2 * math.pi, 9, endpoint=False)]
    for k in range(5):
        t = k / 4.0
        pic = layer(s, s)
        c = s / 2
        spread = (0.12 + 0.26 * t) * s
        radius = (0.2 - 0.13 * t) * s
        alpha = 1.0 - 0.78 * t
        shade = coverage(s, s, lambda d: [d.ellipse((c + spread * w * math.cos(a) - radius + 0.03 * s,
                                                     c + spread * w * math.sin(a) - radius + 0.04 * s,
                                                     c + spread * w * math.cos(a) + radius + 0.03 * s,
                                                     c + spread * w * math.sin(a) + radius + 0.04 * s), fill=255)
                                          for a, w in puffs], blur=0.02 * s)
        pic = over(pic, paint(shade, (176, 182, 196), alpha * 0.8))
        cloud = coverage(s, s, lambda d: [d.ellipse((c + spread * w * math.cos(a) - radius,
                                                     c + spread * w * math.sin(a) - radius,
                                                     c + spread * w * math.cos(a) + radius,
                                                     c + spread * w * math.sin(a) + radius), fill=255)
                                          for a, w in puffs], blur=0.012 * s)
        if k <= 2:  # the cloud's heart thins out over the first frames
            hr = (0.3 - 0.1 * k) * s
            heart = coverage(s, s, lambda d: d.ellipse((c - hr, c - hr, c + hr, c + hr), fill=255),
                             blur=0.012 * s)
            cloud = np.maximum(cloud, heart * (1.0 - 0.35 * k))
        pic = over(pic, paint(cloud, (255, 255, 255), alpha))
        frames.append(downsample(pic, factor))
    return np.concatenate(frames, axis=0)


def draw_version(version, closing=("クリックで閉じます", JAPANESE)):
    """310 x 230, in black, greys and white: the product name and version, and
    the line that says how to close it, in the interface's language."""
    factor, w, h = 4, 310, 230
    W, H = w * factor, h * factor
    pic = layer(W, H)
    r = 18 * factor
    panel = coverage(W, H, lambda d: d.rounded_rectangle((2 * factor, 2 * factor, W - 2 * factor, H - 2 * factor),
                                                        radius=r, fill=255))
    grey_field = radial(W, H, W * 0.3, H * 0.25, W * 0.9, (58, 58, 58), (8, 8, 8))
    pic = over(pic, paint(panel, grey_field, 0.94))
    border = coverage(W, H, lambda d: d.rounded_rectangle((6 * factor, 6 * factor, W - 6 * factor, H - 6 * factor),
                                                         radius=r - 4 * factor, outline=255, width=2 * factor))
    pic = over(pic, paint(border, (200, 200, 200), 0.9))

    cx, cy, outer = 70 * factor, 96 * factor, 44 * factor
    starc = coverage(W, H, lambda d: d.polygon(star_points(cx + 3 * factor, cy + 3 * factor, outer, outer * 0.45),
                                               fill=255), blur=factor)
    pic = over(pic, paint(starc, (0, 0, 0), 0.8))
    starc = coverage(W, H, lambda d: d.polygon(star_points(cx, cy, outer, outer * 0.45), fill=255))
    pic = over(pic, paint(starc, radial(W, H, cx - 10 * factor, cy - 12 * factor, outer, (255, 255, 255),
                                        (150, 150, 150))))
    for (x, y, o) in ((226, 34, 10), (262, 58, 6), (140, 40, 5), (246, 196, 7)):
        small = coverage(W, H, lambda d: d.polygon(star_points(x * factor, y * factor, o * factor, o * factor * 0.45),
                                                   fill=255))
        pic = over(pic, paint(small, (170, 170, 170), 0.9))

    def text(xy, words, size, font, rgb, anchor="lm"):
        nonlocal pic
        fnt = ImageFont.truetype(font, size * factor)
        cov = coverage(W, H, lambda d: d.text((xy[0] * factor, xy[1] * factor), words, font=fnt, fill=255,
                                              anchor=anchor))
        pic = over(pic, paint(cov, rgb))

    text((126, 88), "Pipwink2", 29, BOLD, (255, 255, 255))
    text((128, 120), f"Version {version}", 15, BOOK, (190, 190, 190))
    line = coverage(W, H, lambda d: d.line((24 * factor, 160 * factor, W - 24 * factor, 160 * factor),
                                          fill=255, width=factor))
    pic = over(pic, paint(line, (110, 110, 110)))
    text((w / 2, 188), closing[0], 12, closing[1], (150, 150, 150), anchor="mm")
    return downsample(pic, factor)


def draw_cursor():
    """32 x 32 star cursor: a white arrow with a dark rim whose tip is the hot
    spot (4, 1), and a small yellow star at its tail."""
    factor = 8
    s = 32 * factor
    tip = (4.0 * factor, 0.4 * factor)  # the hot spot (4, 1) lies just inside the tip
    arrow = [tip, (4.0 * factor, 19 * factor), (8.0 * factor, 15 * factor), (11.0 * factor, 21.5 * factor),
             (13.5 * factor, 20.3 * factor), (10.5 * factor, 14 * factor), (16.0 * factor, 14 * factor)]
    pic = layer(s, s)
    rim = coverage(s, s, lambda d: d.polygon(arrow, fill=255, outline=255, width=int(1.6 * factor)))
    pic = over(pic, paint(rim, (20, 20, 20)))
    body = coverage(s, s, lambda d: d.polygon(arrow, fill=255))
    inner = Image.fromarray((body * 255).astype(np.uint8)).filter(ImageFilter.MinFilter(int(1.6 * factor) | 1))
    pic = over(pic, paint(np.asarray(inner, dtype=np.float64) / 255, (255, 255, 255)))
    star = downsample(draw_star(18, factor=8, outer_frac=0.46, glow=False), 1)
    big_star = np.kron(star, np.ones((factor, factor, 1)))
    placed = layer(s, s)
    placed[13 * factor:31 * factor, 13 * factor:31 * factor] = big_star
    pic = over(pic, placed)
    return downsample(pic, factor)


def save(name, img, info=None):
    OUT.mkdir(parents=True, exist_ok=True)
    img.save(OUT / name, pnginfo=info, optimize=True)
    print(f"{name}: {img.size[0]} x {img.size[1]}")


def main():
    version = project_version()
    save("star.png", to_image(draw_star(72)))
    # Twice the size, so that a scaled display reduces the star rather than
    # enlarging it, up to 200 %.
    save("star_large.png", to_image(draw_star(144)))
    colour, mask = draw_digits()
    save("digits.png", colour)
    save("digits_mask.png", mask)
    save("poof.png", to_image(draw_poof()))
    info = PngInfo()
    info.add_text("Version", version)
    save("version.png", to_image(draw_version(version)), info)
    save("version_en.png", to_image(draw_version(version, ("Click to close", BOOK))), info)
    save("cursor.png", to_image(draw_cursor()))
    save("tray.png", to_image(draw_star(16, factor=16, outer_frac=0.49, glow=False)))
    # The program file's icon group: the star at the sizes the shell asks for.
    big = to_image(draw_star(48, factor=8, outer_frac=0.49, glow=False))
    big.save(OUT / "tovik2.ico", sizes=[(16, 16), (32, 32), (48, 48)])
    print("tovik2.ico: 16, 32, 48")


if __name__ == "__main__":
    main()
