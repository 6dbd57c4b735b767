#!/usr/bin/python3
"""Measures the coloured labels of a page in a shot of the window's client area.

    text_contrast.py FORM.ui SHOT.png PAGE light|dark

PAGE is "top" (the start page) or a page's name. Each label that the form gives a text
colour of its own is found in the shot by its geometry; its background is the commonest
colour there and its text the pixel that stands out most from it (the edges of the
letters are blends, and the smallest texts have no pixel fully inside a stroke). On a
light theme the text must be the form's colour, on a dark one the background dark and
the contrast at least 4.5:1. Exits 1 on a failure.
"""
import sys
import xml.etree.ElementTree as ET
from collections import Counter

from PIL import Image

PAGE_ORIGIN = (8, 64)


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def coloured_labels(form, page):
    parent = form.find("widget")
    if page != "top":
        parent = parent.find(f"widget[@name='{page}']")
    for widget in parent.findall("widget"):
        colour = widget.find("property[@name='palette']/palette/active/colorrole[@role='WindowText']//color")
        rect = widget.find("property[@name='geometry']/rect")
        if colour is None or rect is None:
            continue
        x, y, w, h = (int(rect.find(k).text) for k in ("x", "y", "width", "height"))
        if page != "top":
            x, y = x + PAGE_ORIGIN[0], y + PAGE_ORIGIN[1]
        yield widget.get("name"), (x, y, x + w, y + h), tuple(int(colour.find(k).text) for k in ("red", "green", "blue"))


def main():
    form_path, shot_path, page, scheme = sys.argv[1:5]
    shot = Image.open(shot_path).convert("RGB")
    failed = 0
    for name, box, design in coloured_labels(ET.parse(form_path).getroot(), page):
        pixels = list(shot.crop(box).getdata())
        background = Counter(pixels).most_common(1)[0][0]
        text = max(pixels, key=lambda p: contrast(p, background))
        ratio = contrast(text, background)
        if scheme == "light":
            good = max(abs(a - b) for a, b in zip(text, design)) <= 12
        else:
            good = luminance(background) < 0.18 and ratio >= 4.5
        failed += not good
        print(f"{'ok' if good else 'FAIL'} {name}: text #{bytes(text).hex()} on #{bytes(background).hex()}, "
              f"{ratio:.2f}:1 (form #{bytes(design).hex()})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
