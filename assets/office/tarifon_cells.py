# Worksheet operations the Excel export runs inside the office, so that a whole union of
# addresses ("A1:B2;C5:D9") costs the program one call instead of several calls per range.
# The program puts this file into the private profile of each export run; when the office
# cannot run Python, the program does the same range by range itself.


def _ranges(sheet, union, separator):
    by_name = sheet.getCellRangeByName
    return [by_name(address) for address in union.split(separator) if address]


def merge_union(sheet, union, separator):
    """Merges every range of the union on its own (the office merges one range at a time)."""
    for cells in _ranges(sheet, union, separator):
        cells.merge(True)
    return True


def row_height_union(sheet, union, separator, height):
    """Gives the rows of every range of the union the height, in hundredths of a millimetre."""
    for cells in _ranges(sheet, union, separator):
        cells.getRows().setPropertyValue("Height", height)
    return True


g_exportedScripts = (merge_union, row_height_union)
