#!/usr/bin/env python3
# Makes the picture fixtures with encoders independent of ours: netpbm's pnmtopng (libpng), which
# can be told each row filter, and ImageMagick. The pixels follow pattern() below, which
# tests/picture/Fixtures.h repeats; run from this folder.
import os, subprocess, tempfile, zlib, struct

W, H = 37, 23
CONVERT = "/usr/bin/convert"

def pattern(x, y):
    r = (x * 7 + y * 13) & 255
    g = (x * x + y * 3) & 255
    b = ((x ^ y) * 29 + 5) & 255
    a = (x * 11 + y * 17) % 251
    return r, g, b, a

def raw(alpha):
    out = bytearray()
    for y in range(H):
        for x in range(W):
            r, g, b, a = pattern(x, y)
            out += bytes((r, g, b, a) if alpha else (r, g, b))
    return bytes(out)

def convert(alpha, args, name):
    kind = "rgba" if alpha else "rgb"
    subprocess.run([CONVERT, "-size", f"{W}x{H}", "-depth", "8", f"{kind}:-", *args, name],
                   input=raw(alpha), check=True)

def filters_of(name):
    data = open(name, "rb").read()
    pos, idat, ihdr = 8, b"", None
    while pos < len(data):
        n, t = struct.unpack(">I4s", data[pos:pos + 8])
        if t == b"IHDR": ihdr = data[pos + 8:pos + 8 + n]
        if t == b"IDAT": idat += data[pos + 8:pos + 8 + n]
        pos += 12 + n
    w, h, depth, ct = struct.unpack(">IIBB", ihdr[:10])
    stride = 1 + w * (4 if ct == 6 else 3)
    rows = zlib.decompress(idat)
    return {rows[i * stride] for i in range(h)}

def pnmtopng(alpha, f, name, extra=()):
    rgb = raw(False)
    with tempfile.TemporaryDirectory() as d:
        ppm, pgm = os.path.join(d, "p.ppm"), os.path.join(d, "a.pgm")
        open(ppm, "wb").write(b"P6 %d %d 255\n" % (W, H) + rgb)
        args = ["pnmtopng", "-compression=9", f"-filter={f}", *extra]
        if alpha:
            open(pgm, "wb").write(b"P5 %d %d 255\n" % (W, H) + raw(True)[3::4])
            args.append(f"-alpha={pgm}")
        with open(name, "wb") as out:
            subprocess.run(args + [ppm], stdout=out, stderr=subprocess.DEVNULL, check=True)

for alpha in (False, True):
    kind = "rgba" if alpha else "rgb"
    for f in range(5):
        name = f"{kind}-filter{f}.png"
        pnmtopng(alpha, f, name)
        assert filters_of(name) == {f}, (name, filters_of(name))
# An RGB picture whose colour key (a tRNS chunk) makes its one pixel (0, 0) transparent.
pnmtopng(False, 0, "rgb-key.png", ["-transparent==rgb:00/00/05"])
# ImageMagick's own choice of filters, with its ancillary chunks (gAMA, cHRM, bKGD, text).
convert(False, [], "PNG24:rgb-imagemagick.png")
convert(True, [], "PNG32:rgba-imagemagick.png")

# The kinds the reader refuses, each well-formed.
convert(False, ["-interlace", "PNG"], "PNG24:unsupported-interlaced.png")
convert(False, ["-colors", "16"], "PNG8:unsupported-palette.png")
convert(False, ["-depth", "16"], "PNG48:unsupported-16bit.png")
convert(False, ["-colorspace", "Gray"], "PNG:unsupported-grey.png")
# Bitmaps: the plain BITMAPINFOHEADER and ImageMagick's default, a longer header.
convert(False, [], "BMP3:rgb.bmp")
convert(False, [], "BMP:rgb-v5.bmp")
