#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

The seeds are small files made here: typical inputs, the edge cases the formats
have, and broken files (truncated pictures, headers that lie). The JPEG seeds need
ImageMagick (/usr/bin/convert). Run it again after changing it; the files it writes
are kept in the repository.
"""
import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- collection files -------------------------------------------------------
crlf = "\r\n"
write("collection", "typical", crlf.join(["/home/jan/obrázky/a.jpg", "/home/jan/obrázky/B.png",
                                          "relativní/c.gif"]) + crlf)
write("collection", "line_ends", b"a\rb\nc\r\nd\r\r\ne\n\rf")
write("collection", "empty_lines", b"\r\n\r\n  \r\n\r\nx\r\n")
write("collection", "no_final_end", b"/a.png\r\n/b.png")
write("collection", "nul_bytes", b"/a\x00b.png\r\n\x00\r\n/c.png\x00")
write("collection", "invalid_utf8", b"/\xff\xfe\xc3(\xa0\xa1.png\r\n/\xed\xa0\x80.png\r\n/\xf4\x90\x80\x80\r\n")
write("collection", "latin2", "/obr\u00e1zky/\u017elu\u0165ou\u010dk\u00fd.jpg\r\n".encode("iso8859-2"))
write("collection", "utf8_bom", b"\xef\xbb\xbf/a.png\r\n")
write("collection", "long_line", b"/" + b"x" * 600 + b".png\r\n")

# --- settings texts ---------------------------------------------------------
for name, text in [("sixty", "60"), ("fraction", "1.5"), ("words", "15 minut"),
                   ("blanks", " 1 2 . 5 "), ("exponent", "1e3"), ("exponent_blank", "1e 3"),
                   ("huge", "1e400"), ("negative", "-0.5"), ("sign_only", "+"),
                   ("point_only", "."), ("true", "True"), ("false", "fAlSe"), ("one", "1"),
                   ("zero", "0"), ("letters", "abc"), ("comma", "1,5"),
                   ("arabic_digit", "\u0663"), ("exponent_arabic", "1e\u0663"),
                   ("fullwidth", "\uff11\uff15"), ("tab_newline", "\t7\n"), ("empty", "")]:
    write("settings_text", name, text)

# --- program paths for the Exec= line ---------------------------------------
for name, text in [("plain", "/usr/bin/tapetor"), ("blank", "/home/jan/moje programy/tapetor"),
                   ("quotes", "/opt/\"a\"/'b'/tapetor"), ("shell", "/opt/$HOME/`id`/tapetor"),
                   ("percent", "/opt/100%/%f%%/tapetor"), ("backslash", "/opt/a\\b\\\\c\\s/tapetor"),
                   ("controls", "/opt/a\nb\tc\rd/tapetor"), ("czech", "/opt/příliš žluťoučký/tapetor"),
                   ("exec_text", "\"/a b/t\" /startos"), ("unbalanced", "\"/a\\\" b")]:
    write("exec_quoting", name, text)

# --- picture names for the Plasma script ------------------------------------
for name, text in [("plain", "home/jan/.local/share/tapetor/tapetor-1.png"),
                   ("quote", "a'b\\c"), ("line_break", "a\nb\rc"),
                   ("line_separator", "a\u2028b\u2029c"), ("percent", "100%/#?&=.png"),
                   ("czech", "obrázky/žluť.png"), ("script", "'); desktops()[0].remove(); ('")]:
    write("kde_script", name, text)


# --- pictures ---------------------------------------------------------------
def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(width, height, rows=None, colour_type=2, depth=8):
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    if rows is None:
        channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
        rows = b"".join(b"\x00" + bytes((x * 40 + y * 7) % 256 for x in range(width * channels * depth // 8))
                        for y in range(height))
    data = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
    if colour_type == 3:
        data += png_chunk(b"PLTE", bytes(range(48)))
    return data + png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b"")


def bmp(width, height, bits=24, pixels=None, claimed_size=None, offset=54):
    row = (width * bits // 8 + 3) & ~3
    if pixels is None:
        pixels = bytes((i * 13) % 256 for i in range(row * abs(height)))
    size = claimed_size if claimed_size is not None else offset + len(pixels)
    head = b"BM" + struct.pack("<IHHI", size, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    palette = bytes(4 * (1 << bits)) if bits <= 8 else b""
    return head + info + palette + pixels


def gif(width, height):
    # One frame, 2-colour table, LZW data for an all-zero picture of up to 4 pixels.
    return (b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80, 0, 0) + b"\x00\x00\x00\xff\x00\x00"
            + b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0) + b"\x02\x02\x44\x01\x00\x3b")


write("picture", "png_rgb", png(4, 3))
write("picture", "png_grey", png(3, 2, colour_type=0))
write("picture", "png_palette", png(2, 2, colour_type=3))
write("picture", "png_alpha", png(2, 2, colour_type=6))
write("picture", "png_truncated", png(16, 16)[:60])
write("picture", "png_huge_claim", png(100000, 100000, rows=b"\x00" * 16))
write("picture", "png_at_cap_claim", png(16385, 16384, rows=b"\x00" * 16))
write("picture", "png_zero_size", png(0, 0, rows=b""))
# 16 bits a channel: read by libpng rather than Qt.
write("picture", "png_deep_rgb", png(4, 3, depth=16))
write("picture", "png_deep_alpha", png(3, 2, colour_type=6, depth=16))
write("picture", "png_deep_grey_alpha", png(3, 2, colour_type=4, depth=16))
write("picture", "png_deep_truncated", png(16, 16, depth=16)[:70])
write("picture", "bmp_24", bmp(3, 2))
write("picture", "bmp_8", bmp(4, 2, bits=8))
write("picture", "bmp_top_down", bmp(3, -2))
write("picture", "bmp_lying_size", bmp(3, 2, claimed_size=0x7FFFFFFF))
write("picture", "bmp_lying_offset", bmp(3, 2, offset=0x10000000))
write("picture", "bmp_huge_claim", bmp(200000, 200000, pixels=b"\x00" * 12))
write("picture", "bmp_truncated", bmp(30, 20)[:80])
write("picture", "gif_small", gif(2, 2))
write("picture", "gif_huge_claim", gif(65535, 65535))
write("picture", "gif_truncated", gif(2, 2)[:20])

def many_scans(jpeg, scans):
    """The JPEG with its last scan repeated until it has `scans` scans in all."""
    last = jpeg.rfind(b"\xff\xda")
    end = len(jpeg) - 2  # the end-of-picture marker
    have = jpeg.count(b"\xff\xda")
    return jpeg[:end] + jpeg[last:end] * (scans - have) + jpeg[end:]


with tempfile.TemporaryDirectory() as temp:
    jpeg = os.path.join(temp, "small.jpg")
    subprocess.run(["/usr/bin/convert", "-size", "8x8", "gradient:red-blue", "-quality", "50", jpeg], check=True)
    with open(jpeg, "rb") as f:
        small = f.read()
    write("picture", "jpeg_small", small)
    write("picture", "jpeg_truncated", small[: len(small) // 2])
    # The frame header (SOF0) claims 65535 x 65535 pixels.
    sof = small.find(b"\xff\xc0")
    huge = bytearray(small)
    huge[sof + 5:sof + 9] = b"\xff\xff\xff\xff"
    write("picture", "jpeg_huge_claim", bytes(huge))
    progressive = os.path.join(temp, "progressive.jpg")
    subprocess.run(["/usr/bin/convert", "-size", "8x8", "plasma:", "-interlace", "JPEG", progressive],
                   check=True)
    with open(progressive, "rb") as f:
        whole = f.read()
    write("picture", "jpeg_progressive_truncated", whole[:300])
    write("picture", "jpeg_many_scans", many_scans(whole, 600))

write("picture", "svg_huge_claim", '<svg xmlns="http://www.w3.org/2000/svg" width="100000" height="100000"/>')
write("picture", "xpm_small", '/* XPM */\nstatic char *x[] = {"2 1 1 1", "a c #ff0000", "aa"};\n')
write("picture", "ppm_huge_claim", "P6\n65535 65535\n255\n\x00\x00\x00")
write("picture", "text", "not a picture at all\n")
