#!/usr/bin/env python3
"""Writes the calculator's pictures as SVG files beside this script.

One style for all of them: a rounded tile in the page's colour with a white symbol for the
32 x 32 page header pictures, and plain symbols for the 16 x 16 glyphs. Run it again after
changing a drawing; the SVG files are what the program loads.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def tile(colour, body):
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#ffffff" stop-opacity="0.35"/><stop offset="1" stop-color="#000000" stop-opacity="0.15"/>
</linearGradient></defs>
<rect x="1" y="1" width="30" height="30" rx="6" fill="{colour}"/>
<rect x="1" y="1" width="30" height="30" rx="6" fill="url(#g)"/>
<rect x="1.5" y="1.5" width="29" height="29" rx="5.5" fill="none" stroke="#000" stroke-opacity="0.25"/>
<g fill="none" stroke="#fff" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">
{body}
</g></svg>
'''


def glyph(body, size=16):
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 16 16">
{body}
</svg>
'''


PAGES = {
    # index: (name, colour, symbol drawn in white on a 32 x 32 tile)
    0: ("welcome", "#3a7bd5", '<circle cx="16" cy="16" r="9"/><path d="M12 14h.01M20 14h.01"/><path d="M11.5 18.5q4.5 4 9 0"/>'),
    1: ("type", "#2e8b57", '<path d="M6 20v-4l3-5h12l3 5v4z"/><circle cx="10.5" cy="21" r="2" fill="#fff"/><circle cx="21.5" cy="21" r="2" fill="#fff"/><path d="M10 15h12"/>'),
    2: ("home", "#c0392b", '<path d="M7 16l9-8 9 8"/><path d="M10 14v10h12V14"/><path d="M14.5 24v-5h3v5"/>'),
    3: ("class", "#d4a017", '<path d="M16 6l2.9 6 6.6.9-4.8 4.6 1.2 6.5L16 20.9 10.1 24l1.2-6.5-4.8-4.6 6.6-.9z"/>'),
    4: ("people", "#8e44ad", '<circle cx="12" cy="12" r="3"/><circle cx="21" cy="12" r="3"/><path d="M6.5 24q0-7 5.5-7t5.5 7"/><path d="M17 20q1-3 4-3 5.5 0 5.5 7"/>'),
    5: ("age", "#16a085", '<circle cx="13" cy="11" r="4"/><path d="M6 25q0-8 7-8 3 0 5 1.5"/><circle cx="22" cy="21" r="4.5"/><path d="M22 18.5V21l1.8 1.2"/>'),
    6: ("power", "#e67e22", '<path d="M18 5l-8 12h6l-2 10 8-12h-6z"/>'),
    7: ("period", "#2980b9", '<rect x="7" y="9" width="18" height="16" rx="2"/><path d="M7 14h18M12 6v5M20 6v5"/><path d="M11 18h2M15 18h2M19 18h2M11 21.5h2M15 21.5h2"/>'),
    8: ("time", "#7f8c8d", '<path d="M10 6h12M10 26h12"/><path d="M11 6q0 6 5 10-5 4-5 10M21 6q0 6-5 10 5 4 5 10"/>'),
    9: ("dop", "#b03a2e", '<path d="M16 6l11 19H5z"/><path d="M16 13v6"/><path d="M16 22.5h.01"/>'),
    10: ("result", "#34495e", '<rect x="9" y="5" width="14" height="22" rx="2"/><rect x="12" y="8" width="8" height="4"/><path d="M12.5 16h.01M16 16h.01M19.5 16h.01M12.5 19.5h.01M16 19.5h.01M19.5 19.5h.01M12.5 23h.01M16 23h.01M19.5 23h.01"/>'),
    11: ("holder", "#1f618d", '<circle cx="16" cy="11" r="4"/><path d="M8 25q0-8 8-8t8 8"/>'),
}

GLYPHS = {
    "info": '<circle cx="8" cy="8" r="7" fill="#2f6fd0" stroke="#1b4c99"/><rect x="7" y="7" width="2" height="5" fill="#fff"/><rect x="7" y="4" width="2" height="2" fill="#fff"/>',
    "note": '<path d="M3 1.5h7l3 3v10H3z" fill="#fffbe6" stroke="#8a6d1d"/><path d="M10 1.5v3h3" fill="none" stroke="#8a6d1d"/><path d="M5 7h6M5 9.5h6M5 12h4" stroke="#8a6d1d"/>',
    "table": '<rect x="1.5" y="2.5" width="13" height="11" fill="#fff" stroke="#2f5f8f"/><path d="M1.5 5.5h13M1.5 8.5h13M1.5 11h13M6 2.5v11M10 2.5v11" stroke="#2f5f8f"/><rect x="2" y="3" width="12" height="2.5" fill="#8fb3d9"/>',
    "print": '<rect x="4" y="1.5" width="8" height="4" fill="#fff" stroke="#444"/><rect x="1.5" y="5.5" width="13" height="6" rx="1" fill="#9aa5b1" stroke="#444"/><rect x="4" y="9.5" width="8" height="5" fill="#fff" stroke="#444"/><path d="M5.5 11.5h5M5.5 13h4" stroke="#888"/><circle cx="12.5" cy="7.5" r=".8" fill="#3c3"/>',
    "export": '<path d="M2.5 1.5h8l3 3v10h-11z" fill="#fff" stroke="#555"/><path d="M8 6v6M5.5 9.5L8 12l2.5-2.5" fill="none" stroke="#2e8b57" stroke-width="1.6"/>',
    "start": '<path d="M3 3v10" stroke="#2e6fb8" stroke-width="2"/><path d="M13 3L5 8l8 5z" fill="#2e6fb8"/>',
    "back": '<path d="M10.5 3L5 8l5.5 5" fill="none" stroke="#2e6fb8" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>',
    "back-disabled": '<path d="M10.5 3L5 8l5.5 5" fill="none" stroke="#a0a0a0" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>',
    "next": '<path d="M5.5 3L11 8l-5.5 5" fill="none" stroke="#2e6fb8" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>',
    "next-disabled": '<path d="M5.5 3L11 8l-5.5 5" fill="none" stroke="#a0a0a0" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>',
    "close": '<circle cx="8" cy="8" r="6.5" fill="#d9534f" stroke="#a94442"/><path d="M5.5 5.5l5 5M10.5 5.5l-5 5" stroke="#fff" stroke-width="1.8" stroke-linecap="round"/>',
}


def main():
    for index, (name, colour, body) in PAGES.items():
        with open(os.path.join(HERE, f"page{index:02d}-{name}.svg"), "w") as f:
            f.write(tile(colour, body))
    for name, body in GLYPHS.items():
        with open(os.path.join(HERE, f"{name}.svg"), "w") as f:
            f.write(glyph(body))


if __name__ == "__main__":
    main()
