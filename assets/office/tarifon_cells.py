# Worksheet operations the Excel export runs inside the office, so that a whole union of
# addresses ("A1:B2;C5:D9", up to 255 characters) costs the program one call instead of
# several calls per range. The program puts this file into the private profile of each export
# run; when the office cannot run Python, the program does the same range by range itself.
import re

from com.sun.star.table import CellRangeAddress

_CELL = re.compile(r"([A-Z]+)([0-9]+)")


def _column(letters):
    number = 0
    for letter in letters:
        number = number * 26 + ord(letter) - ord("A") + 1
    return number - 1


def _addresses(union, separator):
    """The ranges of the union as (left, top, right, bottom), columns and rows from 0."""
    ranges = []
    for text in union.split(separator):
        if not text:
            continue
        first, _, last = text.partition(":")
        start, end = _CELL.fullmatch(first), _CELL.fullmatch(last or first)
        if not start or not end:
            raise ValueError("not a cell address: " + text)
        ranges.append((_column(start[1]), int(start[2]) - 1, _column(end[1]), int(end[2]) - 1))
    return ranges


def merge_union(sheet, union, separator):
    """Merges every range of the union on its own (the office merges one range at a time)."""
    by_position = sheet.getCellRangeByPosition
    for left, top, right, bottom in _addresses(union, separator):
        by_position(left, top, right, bottom).merge(True)
    return True


def row_height_union(sheet, union, separator, height):
    """Gives the rows of every range of the union the height, in hundredths of a millimetre."""
    by_position = sheet.getCellRangeByPosition
    for _, top, _, bottom in _addresses(union, separator):
        by_position(0, top, 0, bottom).getRows().setPropertyValue("Height", height)
    return True


def property_union(book, union, separator, name, value):
    """Gives every cell of the union the cell property (a style, a frame, a number format)."""
    ranges = book.createInstance("com.sun.star.sheet.SheetCellRanges")
    ranges.addRangeAddresses(
        tuple(CellRangeAddress(0, *cells) for cells in _addresses(union, separator)), False)
    ranges.setPropertyValue(name, value)
    return True


g_exportedScripts = (merge_union, row_height_union, property_union)
