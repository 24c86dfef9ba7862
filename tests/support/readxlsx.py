#!/usr/bin/python3
"""Reads a workbook the way an independent program would and prints, as JSON,
what the tests compare: every cell of the first sheet with its value, type and
look, the merged ranges, the order of the sheet's elements, and a digest of
every part of the package.

    readxlsx.py FILE.xlsx
"""
import hashlib
import json
import sys
import xml.etree.ElementTree as ET
import zipfile

import openpyxl

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
ORDER = ["sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData", "sheetCalcPr",
         "sheetProtection", "protectedRanges", "scenarios", "autoFilter", "sortState", "dataConsolidate",
         "customSheetViews", "mergeCells", "phoneticPr", "conditionalFormatting", "dataValidations",
         "hyperlinks", "printOptions", "pageMargins", "pageSetup", "headerFooter", "rowBreaks", "colBreaks",
         "customProperties", "cellWatches", "ignoredErrors", "smartTags", "drawing", "legacyDrawing",
         "legacyDrawingHF", "drawingHF", "picture", "oleObjects", "controls", "webPublishItems", "tableParts",
         "extLst"]

path = sys.argv[1]
wb = openpyxl.load_workbook(path)
ws = wb.worksheets[0]


def side(s):
    return s.style if s is not None else None


cells = {}
for row in ws.iter_rows():
    for c in row:
        b = c.border
        sides = {side(b.left), side(b.right), side(b.top), side(b.bottom)}
        cells[c.coordinate] = {
            "value": c.value,
            "type": c.data_type,
            "bold": bool(c.font.b),
            "italic": bool(c.font.i),
            "size": c.font.sz,
            "font": c.font.name,
            "border": sides.pop() if len(sides) == 1 else "mixed",
            "horizontal": c.alignment.horizontal,
            "vertical": c.alignment.vertical,
        }

with zipfile.ZipFile(path) as z:
    parts = {i.filename: {"sha256": hashlib.sha256(z.read(i.filename)).hexdigest(),
                          "method": i.compress_type} for i in z.infolist()}
    sheet_name = "xl/worksheets/sheet1.xml"
    root = ET.fromstring(z.read(sheet_name))
    children = [e.tag.replace(MAIN, "") for e in root]
    raw_types = {}
    for c in root.iter(MAIN + "c"):
        raw_types[str(c.get("r"))] = {"t": c.get("t"), "s": c.get("s"), "formula": c.find(MAIN + "f") is not None}

ranks = [ORDER.index(n) for n in children if n in ORDER]
print(json.dumps({
    "cells": cells,
    "raw": raw_types,
    "merged": sorted(str(r) for r in ws.merged_cells.ranges),
    "children": children,
    "order_ok": ranks == sorted(ranks) and len(ranks) == len(children),
    "parts": parts,
    "dimension": ws.dimensions,
}, ensure_ascii=False, sort_keys=True))
