#!/usr/bin/env python3
"""Draws the start-up picture verbarium.bmp (400 x 250, 24-bit): a night-blue to teal
gradient, the name in a blocky 5 x 7 letter face with a soft shadow, a gold rule and a
subtitle. Run once; the picture is kept in the repository beside this script.

    python3 make_splash.py [output path]
"""
import struct
import sys

WIDTH, HEIGHT = 400, 250

# A 5 x 7 letter face: one string per row, '#' is ink.
GLYPHS = {
    'A': [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    'B': ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    'C': [" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"],
    'D': ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    'E': ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    'F': ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "],
    'H': ["#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    'I': ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "#####"],
    'M': ["#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"],
    'N': ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    'O': [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    'R': ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    'S': [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    'T': ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    'U': ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    'V': ["#   #", "#   #", "#   #", "#   #", " # # ", " # # ", "  #  "],
    'W': ["#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"],
    '1': ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    '4': ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    '.': ["     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "],
    '&': [" ##  ", "#  # ", " ##  ", " ## #", "#  # ", "#   #", " ## #"],
    ' ': ["     "] * 7,
}


def text_mask(text, scale, spacing=1):
    """Ink mask of `text` as rows of 0/1, each glyph cell scaled up `scale` times."""
    columns = len(text) * (5 + spacing) - spacing
    mask = [[0] * (columns * scale) for _ in range(7 * scale)]
    for index, letter in enumerate(text):
        glyph = GLYPHS[letter]
        left = index * (5 + spacing)
        for y, row in enumerate(glyph):
            for x, cell in enumerate(row):
                if cell != '#':
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        mask[y * scale + dy][(left + x) * scale + dx] = 1
    return mask


def blur(mask, radius):
    """Box blur of a 0/1 mask into 0..1 coverage."""
    height, width = len(mask), len(mask[0])
    out = [[0.0] * width for _ in range(height)]
    area = (2 * radius + 1) ** 2
    for y in range(height):
        for x in range(width):
            total = 0
            for dy in range(-radius, radius + 1):
                yy = y + dy
                if 0 <= yy < height:
                    row = mask[yy]
                    for dx in range(-radius, radius + 1):
                        xx = x + dx
                        if 0 <= xx < width:
                            total += row[xx]
            out[y][x] = total / area
    return out


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "verbarium.bmp"
    top, bottom = (18, 30, 78), (24, 110, 128)
    pixels = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            colour = mix(top, bottom, y / (HEIGHT - 1))
            # A faint diagonal sheen across the upper left.
            sheen = max(0.0, 1.0 - abs((x + y * 1.6) - 260) / 140) * 0.10
            colour = mix(colour, (255, 255, 255), sheen)
            row.append(colour)
        pixels.append(row)

    def stamp(mask, left, top_y, colour, strength=1.0):
        for y, row in enumerate(mask):
            for x, cover in enumerate(row):
                if cover:
                    px, py = left + x, top_y + y
                    if 0 <= px < WIDTH and 0 <= py < HEIGHT:
                        pixels[py][px] = mix(pixels[py][px], colour, cover * strength)

    title = text_mask("VERBARIUM", 6)
    title_left = (WIDTH - len(title[0])) // 2
    title_top = 72
    padded = [[0] * (len(title[0]) + 12) for _ in range(6)]
    padded += [[0] * 6 + row + [0] * 6 for row in title]
    padded += [[0] * (len(title[0]) + 12) for _ in range(6)]
    stamp(blur(padded, 3), title_left - 6 + 4, title_top - 6 + 5, (5, 10, 30), 0.8)
    stamp(title, title_left, title_top, (250, 246, 232))

    rule_top = title_top + len(title) + 14
    for y in range(rule_top, rule_top + 3):
        for x in range(title_left, title_left + len(title[0])):
            fade = 1.0 - abs((x - WIDTH / 2) / (len(title[0]) / 2)) ** 3
            pixels[y][x] = mix(pixels[y][x], (232, 184, 72), max(0.0, fade))

    subtitle = text_mask("THESAURUS & WORD FINDER", 2)
    stamp(subtitle, (WIDTH - len(subtitle[0])) // 2, rule_top + 18, (214, 232, 236))
    version = text_mask("1.4", 2)
    stamp(version, WIDTH - len(version[0]) - 14, HEIGHT - 14 - len(version), (160, 200, 210))

    row_bytes = (WIDTH * 3 + 3) // 4 * 4
    image = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up rows, blue-green-red
        row = bytearray()
        for r, g, b in pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        image += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + image)


if __name__ == "__main__":
    main()
