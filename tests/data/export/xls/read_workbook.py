"""Reads a binary .xls workbook back with xlrd and prints what the tests check, as JSON:
cell texts with their font and borders, merged ranges, column widths, row heights, page
breaks, and the first sheet's page setup (xlrd does not read it; taken from the SETUP and
margin records of the sheet's stream)."""
import json
import struct
import sys

import xlrd
from xlrd import compdoc


def page_setup(path):
    data = open(path, "rb").read()
    doc = compdoc.CompDoc(data)
    stream = doc.get_named_stream("Workbook") or doc.get_named_stream("Book")
    setup = {}
    pos, sheets = 0, 0
    while pos + 4 <= len(stream):
        rtype, size = struct.unpack("<HH", stream[pos:pos + 4])
        body = stream[pos + 4:pos + 4 + size]
        pos += 4 + size
        if rtype == 0x0809:  # BOF: the globals, then one per sheet
            sheets += 1
        if sheets != 2:
            continue
        if rtype == 0x00A1:
            paper, scale, start, fitw, fith, flags = struct.unpack("<HHHHHH", body[:12])
            setup["paper"] = paper
            setup["portrait"] = bool(flags & 2)
            setup["no_printer_settings"] = bool(flags & 4)
        names = {0x26: "left", 0x27: "right", 0x28: "top", 0x29: "bottom"}
        if rtype in names:
            setup[names[rtype] + "_inches"] = struct.unpack("<d", body[:8])[0]
    return setup


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    cells = []
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            b = xf.border
            cells.append({
                "row": r, "col": c, "type": cell.ctype, "value": cell.value,
                "bold": font.weight >= 700, "italic": bool(font.italic), "font": font.name,
                "borders": [b.left_line_style, b.right_line_style, b.top_line_style, b.bottom_line_style],
                "format": book.format_map[xf.format_key].format_str,
            })
    out = {
        "cells": cells,
        "merged": [list(m) for m in sheet.merged_cells],
        "widths": {str(c): info.width for c, info in sheet.colinfo_map.items()},
        "heights": {str(r): info.height for r, info in sheet.rowinfo_map.items()},
        "default_row_height": sheet.default_row_height,
        "biff": book.biff_version,
        "breaks": [b[0] for b in sheet.horizontal_page_breaks],
        "setup": page_setup(path),
    }
    json.dump(out, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
