#!/usr/bin/env python3
"""Draws the program's command icons and its application icon as SVG.

One style for all: a 24 x 24 grid, round 2-px strokes (1.5 px for details) that stay
legible at 16 and 24 px, dark ink for frames and objects, blue for waves, red for
marks and defects, green for confirmations; badges (+, x, pencil, gear, lightning)
in the lower right corner. Run it after changing a drawing; it rewrites
actions/*.svg, sondara.svg and icons.qrc beside itself.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
INK, WAVE, MARK, OK, LIGHT, PAPER, FILLW = "#34495e", "#1c6dd0", "#d0342c", "#2e9e4f", "#cfe3fa", "#ffffff", "#9cc4f2"


def svg(body, size=24):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 24 24" '
            f'fill="none" stroke-linecap="round" stroke-linejoin="round">\n{body}</svg>\n')


def path(d, color=INK, w=2, fill="none", extra=""):
    return f'  <path d="{d}" stroke="{color}" stroke-width="{w}" fill="{fill}"{extra}/>\n'


def rect(x, y, w, h, color=INK, sw=2, fill="none", r=1):
    return f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" stroke="{color}" stroke-width="{sw}" fill="{fill}"/>\n'


def circle(cx, cy, r, color=INK, sw=2, fill="none"):
    return f'  <circle cx="{cx}" cy="{cy}" r="{r}" stroke="{color}" stroke-width="{sw}" fill="{fill}"/>\n'


def line(x1, y1, x2, y2, color=INK, w=2, dash=False):
    extra = ' stroke-dasharray="2 2"' if dash else ""
    return path(f"M{x1} {y1}L{x2} {y2}", color, w, extra=extra)


# ---- motifs ---------------------------------------------------------------------
WAVE_D = "M2 12C4 12 4.5 5 6.5 5S9 19 11 19S13.5 8 15 8S17 15 18.5 15S20.5 12 22 12"
SMALLWAVE_D = "M2 12C3.5 12 4 7 5.5 7S7.5 17 9 17S10.5 10 12 10S13.5 14 14.5 14S15.5 12 16.5 12"


def wave(color=WAVE, w=2, d=WAVE_D):
    return path(d, color, w)


def small_wave(color=WAVE):
    return path(SMALLWAVE_D, color, 2)


def arrow(x1, y1, x2, y2, color=INK, w=2):
    import math
    a = math.atan2(y2 - y1, x2 - x1)
    l = 3.2
    p1 = (x2 - l * math.cos(a - 0.6), y2 - l * math.sin(a - 0.6))
    p2 = (x2 - l * math.cos(a + 0.6), y2 - l * math.sin(a + 0.6))
    return path(f"M{x1} {y1}L{x2} {y2}M{p1[0]:.2f} {p1[1]:.2f}L{x2} {y2}L{p2[0]:.2f} {p2[1]:.2f}", color, w)


def badge_plus(color=OK):
    return circle(18, 18, 5, color, 0, PAPER) + path("M18 15V21M15 18H21", color, 2)


def badge_x(color=MARK):
    return circle(18, 18, 5, color, 0, PAPER) + path("M15.5 15.5L20.5 20.5M20.5 15.5L15.5 20.5", color, 2)


def badge_pencil(color=INK):
    return circle(18, 18, 5.5, color, 0, PAPER) + path("M14.5 21.5L15 19L20 14L22 16L17 21Z", color, 1.5, fill="#f5c542")


def badge_gear(color=INK):
    return (circle(18, 18, 5.5, color, 0, PAPER) + circle(18, 18, 2.2, color, 1.5) +
            path("M18 13.5V15M18 21V22.5M13.5 18H15M21 18H22.5M14.8 14.8L15.9 15.9M20.1 20.1L21.2 21.2"
                 "M14.8 21.2L15.9 20.1M20.1 15.9L21.2 14.8", color, 1.5))


def badge_bolt():
    return circle(18, 18, 5.5, "#b8860b", 0, PAPER) + path("M19 13L15.5 18.5H18.5L17 23L21.5 16.5H18.5Z", "#b8860b", 1.2, fill="#f5c542")


def badge_check(color=OK):
    return circle(18, 18, 5, color, 0, PAPER) + path("M15.3 18.2L17.3 20.2L20.8 16", color, 2)


def badge_broom():
    return circle(18, 18, 5.5, INK, 0, PAPER) + path("M21.5 13.5L18 17M15 17.5L18.5 21L20 18.5L17.5 16Z", INK, 1.5, fill="#f5c542")


def page(x=4, y=2, w=14, h=19, fold=4):
    return path(f"M{x} {y}H{x + w - fold}L{x + w} {y + fold}V{y + h}H{x}Z", INK, 2, fill=PAPER) + \
        path(f"M{x + w - fold} {y}V{y + fold}H{x + w}", INK, 1.5)


def text_lines(x, y, n, w=8, step=3, color=INK):
    return "".join(line(x, y + i * step, x + w, y + i * step, color, 1.5) for i in range(n))


def window(x=2, y=3, w=20, h=18, bar=True):
    s = rect(x, y, w, h, INK, 2, PAPER)
    if bar:
        s += line(x, y + 4, x + w, y + 4, INK, 1.5)
    return s


def pile(x=8, top=3, bottom=21, w=8, fill=LIGHT):
    return rect(x, top, w, bottom - top, INK, 2, fill, 0.5)


def floppy():
    return (path("M3 3H17L21 7V21H3Z", INK, 2, fill=PAPER) + rect(7, 3, 9, 6, INK, 1.5, LIGHT, 0.5) +
            rect(7, 14, 10, 7, INK, 1.5, "none", 0.5))


def printer():
    return (rect(6, 2, 12, 6, INK, 1.5, PAPER, 0.5) + rect(2, 8, 20, 9, INK, 2, LIGHT, 1.5) +
            rect(6, 14, 12, 8, INK, 1.5, PAPER, 0.5) + line(8.5, 17, 15.5, 17, INK, 1.2) + line(8.5, 19.5, 15.5, 19.5, INK, 1.2))


def folder():
    return path("M2 6V19H20L22 10H6L4 19M2 6H9L11 8H18V10", INK, 2, fill=PAPER)


def axes():
    return path("M3 3V21H21", INK, 1.5)


def history():  # the processing history list
    return (rect(3, 3, 14, 17, INK, 2, PAPER) + line(6, 8, 14, 8, WAVE, 1.5) + line(6, 12, 14, 12, WAVE, 1.5) +
            line(6, 16, 11, 16, WAVE, 1.5))


def flag(x=7):
    return line(x, 3, x, 21, MARK, 2) + path(f"M{x} 3.5H{x + 8}L{x + 6} 6.5L{x + 8} 9.5H{x}", MARK, 1.5, fill="#f7c6c3")


def cursor_line(x, dash=True):
    return line(x, 2, x, 22, MARK, 1.5, dash)


def stacked_waves(n=3):
    s = ""
    for i in range(n):
        y = 5 + i * 7
        s += path(f"M2 {y}C4 {y} 5 {y - 3} 6.5 {y - 3}S9 {y + 3} 11 {y + 3}S14 {y} 22 {y}", WAVE, 1.8)
    return s


def list_rows(active=None):
    s = rect(3, 3, 14, 18, INK, 2, PAPER)
    for i, y in enumerate((7.5, 12, 16.5)):
        s += line(6, y, 14, y, WAVE if i != active else MARK, 2)
    return s


ICONS = {}


def icon(name):
    def deco(f):
        ICONS[name] = f()
        return f
    return deco


def define(name, body):
    ICONS[name] = body


# ---- 文件 -------------------------------------------------------------------------
define("FileNew", page() + badge_plus())
define("FileOpen", folder())
define("FileClose", page() + badge_x())
define("FileSave", floppy())
define("FileSaveAs", floppy() + badge_pencil())
define("FileSaveChecked", floppy() + badge_check())
define("FileMerge", page(2, 2, 11, 14, 3) + page(10, 7, 11, 15, 3) + arrow(5, 19, 9, 19, OK))
define("FileSaveResult", page() + path("M7 8H15M7 12H15M7 16H15M11 6V18", INK, 1.5))
define("FileSaveImage", rect(2, 4, 20, 16, INK, 2, PAPER) + circle(8, 9, 2, "#e0a800", 1.5, "#f5c542") +
       path("M3 19L9 13L13 17L16 14L21 19", OK, 2))
define("FileWordReport", page() + rect(6.5, 6, 9, 3, WAVE, 0, WAVE, 0.3) + text_lines(7, 12, 3, 8))
define("FileExcelReport", page() + path("M7 8H15V18H7ZM7 11.5H15M7 15H15M11 8V18", OK, 1.5))
define("FileExportText", page(2, 2, 13, 19) + text_lines(5, 8, 4, 6) + arrow(14, 15, 22, 15, OK))
define("FileImportTraces", page(9, 2, 13, 19) + text_lines(12, 8, 4, 6) + arrow(1, 15, 9, 15, OK))
define("FilePrint", printer())
define("FilePrintPreview", printer() + circle(17, 16, 4, INK, 2, PAPER) + line(20, 19, 22.5, 21.5, INK, 2.5))
define("FilePrintSetup", printer() + badge_gear())
define("FilePrintSetupNoDoc", ICONS["FilePrintSetup"])
define("FileRecent", page() + circle(16, 16, 5.5, INK, 0, PAPER) + circle(16, 16, 4.5, INK, 1.5) + path("M16 13.5V16L17.8 17.2", INK, 1.5))
define("AppExit", path("M14 3H4V21H14", INK, 2) + path("M9 12H21M17 8L21 12L17 16", MARK, 2))

# ---- 编辑 -------------------------------------------------------------------------
define("EditUndo", path("M9 5L4 10L9 15", INK, 2) + path("M4 10H15A5 5 0 0 1 15 20H10", INK, 2))
define("EditRedo", path("M15 5L20 10L15 15", INK, 2) + path("M20 10H9A5 5 0 0 0 9 20H14", INK, 2))
define("EditRevert", page() + path("M15 14A4 4 0 1 1 13 10.5M13 8V11H16", MARK, 1.8))
define("EditCut", circle(6, 18, 3) + circle(18, 18, 3) + path("M8 16L17 3M16 16L7 3", INK, 2))
define("EditCopy", page(3, 2, 12, 15, 3) + page(9, 7, 12, 15, 3))
define("EditPaste", rect(4, 4, 16, 18, INK, 2, "#f0d9a8", 1.5) + rect(8, 2, 8, 4, INK, 1.5, PAPER, 1) + rect(8, 9, 10, 11, INK, 1.5, PAPER, 0.5))
define("EditCopyResult", page(3, 2, 12, 15, 3) + page(9, 7, 12, 15, 3) + path("M12 16L14 18L18 13", OK, 2))
define("EditInsert", list_rows(1) + arrow(23, 12, 17, 12, OK))
define("EditAppend", list_rows() + badge_plus())
define("EditDelete", list_rows() + badge_x())
define("EditMoveUp", list_rows(0) + arrow(20, 20, 20, 4, OK))
define("EditMoveDown", list_rows(2) + arrow(20, 4, 20, 20, OK))
define("EditSortAscending", path("M4 20V16M9 20V12M14 20V8M19 20V4", WAVE, 3) + line(2, 21, 22, 21, INK, 1.5))
define("EditSortDescending", path("M4 20V4M9 20V8M14 20V12M19 20V16", WAVE, 3) + line(2, 21, 22, 21, INK, 1.5))
define("EditCheckAll", rect(3, 3, 18, 18, INK, 2, PAPER, 2) + path("M7 12L10.5 15.5L17 8", OK, 2.5))
define("EditCheckNone", rect(3, 3, 18, 18, INK, 2, PAPER, 2))
define("EditCheckInvert", rect(3, 3, 18, 18, INK, 2, PAPER, 2) + path("M3 21L21 3V19A2 2 0 0 1 19 21Z", INK, 0, fill=LIGHT) +
       path("M6 10L8 12L11 8", OK, 2) + path("M14 14L18 18M18 14L14 18", MARK, 2))
define("EditSettings", list_rows() + badge_gear())

# ---- 查看 -------------------------------------------------------------------------
define("ViewStatusBar", window() + rect(2, 17, 20, 4, INK, 0, INK, 0))
define("ViewMainToolbar", window(bar=False) + rect(2, 3, 20, 5, INK, 0, INK, 0) + path("M5 5.5H7M10 5.5H12M15 5.5H17", PAPER, 1.5))
define("ViewDisplayToolbar", window(bar=False) + rect(2, 3, 20, 5, INK, 0, LIGHT, 0) + path("M4 5.5H7M9 5.5H12", INK, 1.5) + arrow(8, 14, 16, 14, WAVE, 1.8))
define("ViewProcessingToolbar", window(bar=False) + rect(2, 3, 20, 5, INK, 0, LIGHT, 0) + path("M4 5.5H7M9 5.5H12", INK, 1.5) +
       path("M5 15C7 15 7 11 9 11S11 18 13 18S15 14 19 14", WAVE, 1.8))
define("ViewAnalysisToolbar", window(bar=False) + rect(17, 3, 5, 18, INK, 0, LIGHT, 0) + path("M19.5 6V8M19.5 11V13", INK, 1.5) +
       line(8, 9, 8, 19, MARK, 1.8))
define("ViewPointListPanel", window() + rect(2, 7, 7, 14, INK, 0, LIGHT, 0) + path("M4 10H7M4 13H7M4 16H7", INK, 1.5))
define("ViewHistoryPanel", window() + rect(15, 7, 7, 14, INK, 0, LIGHT, 0) + path("M17 10H20M17 13H20M17 16H20", WAVE, 1.5))
define("ViewInfoPanel", window() + rect(2, 15, 20, 6, INK, 0, LIGHT, 0) + path("M5 18H9M12 18H19", INK, 1.5))
define("ViewInterpretationPanel", window() + rect(2, 12, 20, 9, INK, 0, LIGHT, 0) + path("M4 15H8M11 15H20M4 18.5H8M11 18.5H20", INK, 1.3) +
       path("M5 9.5L7 11L11 7", MARK, 1.8))
define("ViewCrossCursor", wave(LIGHT, 2) + line(12, 2, 12, 22, MARK, 1.8) + line(2, 12, 22, 12, MARK, 1.8) + circle(12, 12, 3, MARK, 1.5))
define("ViewLineCursor", wave(WAVE, 2) + line(12, 2, 12, 22, MARK, 2))
define("ViewCursorInfo", wave(LIGHT, 2) + line(8, 2, 8, 22, MARK, 1.5) + rect(11, 3, 11, 9, INK, 1.5, PAPER) + path("M13 6H20M13 9H18", INK, 1.2))
define("ViewEditCurrent", rect(2, 3, 20, 8, MARK, 1.8, "#fdecea") + path("M3 7C5 7 5 4.5 7 4.5S9 9.5 11 9.5S13 7 21 7", WAVE, 1.8) +
       path("M3 17C5 17 5 14.5 7 14.5S9 19.5 11 19.5S13 17 21 17", LIGHT, 1.8))
define("ViewEditAll", rect(2, 2, 20, 20, MARK, 1.8, "#fdecea") + path("M3 8C5 8 5 5.5 7 5.5S9 10.5 11 10.5S13 8 21 8", WAVE, 1.8) +
       path("M3 16C5 16 5 13.5 7 13.5S9 18.5 11 18.5S13 16 21 16", WAVE, 1.8))

# ---- 波形处理: the operations drawn over the blue trace ---------------------------
OPS = {
    "Filter": wave(LIGHT, 2.2) + path("M2 12C4 12 4.5 7 6.5 7S9 17 11 17S13.5 10 15 10S17 14 18.5 14S20.5 12 22 12", WAVE, 2) +
              path("M15 16H22L19.5 19V22L17.5 21V19Z", INK, 1.3, fill=PAPER),
    "Amplify": path("M2 12C4 12 4.5 10 6.5 10S9 14 11 14S13 12 14 12", LIGHT, 1.8) + path("M10 12C12 12 12.5 3 14.5 3S17 21 19 21S21 12 22 12", WAVE, 2) +
               arrow(5, 20, 5, 14, OK, 1.8),
    "RemoveDc": line(2, 12, 22, 12, INK, 1, True) + path("M2 7C4 7 4.5 3 6.5 3S9 11 11 11S13.5 5 15 5S17 9 18.5 9S20.5 7 22 7", LIGHT, 1.8) +
                path("M2 14C4 14 4.5 10 6.5 10S9 18 11 18S13.5 12 15 12S17 16 18.5 16S20.5 14 22 14", WAVE, 2) + arrow(20, 3, 20, 10, OK, 1.6),
    "Smooth": path("M2 14L3.5 8L5 15L6.5 6L8 16L9.5 9L11 17L12.5 11", LIGHT, 1.6) + path("M2 12C6 4 9 20 13 12S19 6 22 12", WAVE, 2.2),
    "Integrate": path("M15 3.5C13 2 11.5 3 11 6L9.5 18C9 21 7.5 22 5.5 20.5", INK, 2.2) + path("M15 13C16.5 13 17 9 18.5 9S20.5 15 22 15", WAVE, 1.8),
    "SimpleIntegrate": path("M13 3.5C11 2 9.5 3 9 6L7.5 18C7 21 5.5 22 3.5 20.5", INK, 2.2) + path("M13 18H15V15H17V12H19V9H21", WAVE, 1.8),
    "Differentiate": path("M4 20L11 4L18 20Z", INK, 2) + path("M13 15C15 15 15.5 10 17 10S20 17 22 17", WAVE, 1.8),
    "Rotate": line(2, 12, 22, 12, INK, 1, True) + path("M2 16C4 16 4.5 10 6.5 10S9 17 11 17S13.5 9 15 9S18 11 22 8", WAVE, 2) +
              path("M18 20A7 7 0 0 0 21 14", OK, 1.8) + path("M19 13.5L21 14L22 12", OK, 1.5),
    "LinearZero": line(2, 12, 22, 12, INK, 1.2) + line(2, 18, 22, 6, MARK, 1.5, True) + path("M2 12C4 12 4.5 6 6.5 6S9 17 11 17S13.5 9 15 9S17 14 18.5 14S20.5 12 22 12", WAVE, 2),
    "NonlinearZero": line(2, 12, 22, 12, INK, 1.2) + path("M2 18C8 18 14 15 22 6", MARK, 1.5, extra=' stroke-dasharray="2 2"') +
                     path("M2 12C4 12 4.5 6 6.5 6S9 17 11 17S13.5 9 15 9S17 14 18.5 14S20.5 12 22 12", WAVE, 2),
    "ZeroFront": rect(2, 3, 8, 18, INK, 0, LIGHT, 0) + line(2, 12, 10, 12, WAVE, 2.2) + path("M10 12C12 12 12.5 5 14 5S16.5 19 18 19S20 12 22 12", WAVE, 2) + line(10, 3, 10, 21, INK, 1.2, True),
    "ZeroBack": rect(14, 3, 8, 18, INK, 0, LIGHT, 0) + line(14, 12, 22, 12, WAVE, 2.2) + path("M2 12C4 12 4.5 5 6 5S8.5 19 10 19S12 12 14 12", WAVE, 2) + line(14, 3, 14, 21, INK, 1.2, True),
    "LocalScale": path("M7 4H5V20H7M17 4H19V20H17", INK, 1.5) + path("M2 12C3 12 3.5 10 4.5 10M19.5 14C20.5 14 21 12 22 12", WAVE, 1.6) +
                  path("M5.5 12C7.5 12 8 3 10 3S12.5 21 14.5 21S16.5 12 18.5 12", WAVE, 2),
    "Shift": path("M2 9C4 9 4.5 4 6.5 4S9 14 11 14S13.5 7 15 7S17 11 22 9", LIGHT, 1.8) + path("M2 15C4 15 4.5 10 6.5 10S9 20 11 20S13.5 13 15 13S17 17 22 15", WAVE, 2) +
             arrow(19, 4, 19, 11, OK, 1.6),
    "Reverse": line(2, 12, 22, 12, INK, 1, True) + path("M2 12C4 12 4.5 4 6.5 4S9 20 11 20S13.5 8 15 8S17 14 22 12", LIGHT, 1.8) +
               path("M2 12C4 12 4.5 20 6.5 20S9 4 11 4S13.5 16 15 16S17 10 22 12", WAVE, 2),
}
PROC = [("ProcFilter", "Filter"), ("ProcAmplify", "Amplify"), ("ProcRemoveDc", "RemoveDc"), ("ProcSmooth", "Smooth"),
        ("ProcIntegrate", "Integrate"), ("ProcSimpleIntegrate", "SimpleIntegrate"), ("ProcDifferentiate", "Differentiate"),
        ("ProcRotate", "Rotate"), ("ProcLinearZero", "LinearZero"), ("ProcNonlinearZero", "NonlinearZero"),
        ("ProcZeroFront", "ZeroFront"), ("ProcZeroBack", "ZeroBack"), ("ProcLocalScale", "LocalScale"),
        ("ProcShift", "Shift"), ("ProcInvert", "Reverse")]
for cmd, op in PROC:
    define(cmd, OPS[op])
    if cmd != "ProcSimpleIntegrate":
        # the insert submenu: the same drawing with the green plus of "insert"
        define(cmd.replace("Proc", "ProcInsert"), OPS[op] + badge_plus())
define("ProcUndo", history() + path("M23 16L20 13L17 16", MARK, 0) + circle(18, 18, 5.5, INK, 0, PAPER) + path("M16 15.5L14 17.5L16 19.5M14 17.5H19.5A2 2 0 0 1 19.5 21.5H18", INK, 1.5))
define("ProcEdit", history() + badge_pencil())
define("ProcDelete", history() + badge_x())
define("ProcClear", history() + badge_broom())

# ---- 波形分析: the pile with its marks ---------------------------------------------
def pile_with(mark):
    return mark


HEAD = pile(9, 7, 22) + path("M4 7H20", MARK, 2.5) + path("M12 2L14 5H10Z", MARK, 1.5, fill=MARK)
TOE = pile(9, 2, 17) + path("M4 17H20", MARK, 2.5) + path("M12 22L14 19H10Z", MARK, 1.5, fill=MARK)
define("MarkHead", HEAD)
define("MarkToe", TOE)
define("MarkAutoHead", HEAD + badge_bolt())
define("MarkAutoToe", TOE + badge_bolt())
define("MarkInterpret", path("M2 12H5L7 5L10 19L13 9L15 14L17 12H22", WAVE, 2) + path("M2 13H5L7 7.5L10 16.5L13 10L15 13L22 12", MARK, 1.5) + badge_bolt())
define("DefectEnlargedBase", path("M9 2V15C9 17 5 18 5 20.5C5 22 8 22 12 22S19 22 19 20.5C19 18 15 17 15 15V2", INK, 2, fill=LIGHT) + path("M6 19C8 17.5 16 17.5 18 19", MARK, 1.8))
define("DefectBulge", path("M9 2V8C9 9.5 5 10.5 5 12S9 14.5 9 16V22H15V16C15 14.5 19 13.5 19 12S15 9.5 15 8V2", INK, 2, fill=LIGHT) + path("M6 12H18", MARK, 1.8))
define("DefectNecking", path("M7 2V8C7 9.5 10 10.5 10 12S7 14.5 7 16V22H17V16C17 14.5 14 13.5 14 12S17 9.5 17 8V2", INK, 2, fill=LIGHT) + path("M3 12H8M16 12H21", MARK, 1.8))
define("DefectMudInclusion", pile(7, 2, 22, 10) + path("M9.5 10C10.5 8.5 14 8.5 14.5 10.5S13.5 14.5 11.5 14S8.5 11.5 9.5 10Z", "#8a5a2b", 1.5, fill="#b07a45"))
define("DefectSegregation", pile(7, 2, 22, 10) + "".join(circle(x, y, 0.9, MARK, 0, MARK) for x, y in
       ((9.5, 9), (12, 8.5), (14.5, 9.5), (10.5, 11.5), (13.5, 12), (9.5, 14), (12, 14.5), (14.5, 14))))
define("DefectCrack", pile(7, 2, 22, 10) + path("M5 10L10 12L13 10L15 13L19 12", MARK, 1.8))
define("DefectBreak", path("M7 2H17V10L14 11.5L10 10L7 11Z", INK, 2, fill=LIGHT) + path("M7 14L10 13L14 14.5L17 13V22H7Z", INK, 2, fill=LIGHT) +
       path("M3 12H5M19 12H21", MARK, 2))
define("DefectCustom", pile(6, 2, 22, 9) + path("M10.5 8.5L11.5 11H14L12 12.6L12.8 15L10.5 13.6L8.2 15L9 12.6L7 11H9.5Z", MARK, 1, fill="#f7c6c3") + badge_pencil())
define("MarkLine", axes() + path("M4 18C6 18 6 8 8 8S10 16 12 16S14 12 20 12", WAVE, 1.6) + flag(14))
define("MarkEdit", flag(6) + badge_pencil())
define("MarkDelete", flag(6) + badge_x())
define("MarkClear", flag(6) + badge_broom())

# ---- 显示调整 -----------------------------------------------------------------------
FILL_POS = path("M2 12C4 12 4.5 5 6.5 5S9 12 9.5 12ZM13 12C13.5 10 14 8 15 8S16.5 12 16.5 12Z", WAVE, 0, fill=FILLW)
FILL_NEG = path("M9.5 12C10 14 10 19 11 19S12.5 14 13 12ZM16.5 12C17 13 17.5 15 18.5 15S20.5 12 20.5 12Z", WAVE, 0, fill=FILLW)
define("DispFillNone", line(2, 12, 22, 12, INK, 1, True) + wave())
define("DispFillPositive", line(2, 12, 22, 12, INK, 1) + FILL_POS + wave())
define("DispFillNegative", line(2, 12, 22, 12, INK, 1) + FILL_NEG + wave())
define("DispSpectrumLines", axes() + path("M6 20V12M9 20V6M12 20V9M15 20V14M18 20V17", WAVE, 2))
define("DispSpectrumEnvelope", axes() + path("M4 20C6 20 7 5 9 5S12 12 13 13S16 18 21 19", WAVE, 2, fill=FILLW))
define("DispAutoAdjust", rect(2, 4, 20, 16, INK, 1.5) + wave(WAVE, 2, "M3 12C5 12 5.5 7 7.5 7S10 17 12 17S14.5 9 16 9S18 14 21 12") + badge_bolt())
define("DispShowAll", rect(5, 7, 14, 10, INK, 1.2) + wave(WAVE, 1.8, "M6 12C7.5 12 8 9 9.5 9S11 15 12.5 15S14 11 15 11S16.5 13 18 12") +
       path("M2 6V2H6M18 2H22V6M22 18V22H18M6 22H2V18", INK, 2))
define("DispAlignHead", line(6, 2, 6, 22, MARK, 2) + path("M6 12C8 12 8.5 5 10.5 5S13 19 15 19S17.5 8 19 8S21 13 22 12", WAVE, 2) + arrow(2, 12, 5, 12, OK, 1.5))
define("DispRestorePosition", wave(LIGHT, 2) + path("M16 14A5 5 0 1 1 14.5 8.5M14.5 5.5V8.8H17.8", INK, 2))
define("DispMoveLeft", wave(LIGHT, 2) + arrow(20, 12, 4, 12, INK, 2.2))
define("DispMoveRight", wave(LIGHT, 2) + arrow(4, 12, 20, 12, INK, 2.2))
define("DispFitToe", line(3, 2, 3, 22, MARK, 1.8) + line(21, 2, 21, 22, MARK, 1.8) +
       path("M3 12C5 12 5.5 6 7.5 6S10 18 12 18S14.5 9 16 9S18 13 21 12", WAVE, 2))
define("DispRestoreScale", path("M3 8V3H8M21 16V21H16", INK, 1.8) + path("M16 14A5 5 0 1 1 14.5 8.5M14.5 5.5V8.8H17.8", INK, 2))
define("DispStretchX", arrow(10, 12, 2, 12, INK, 2) + arrow(14, 12, 22, 12, INK, 2) + line(12, 5, 12, 19, WAVE, 1.5, True))
define("DispCompressX", arrow(2, 12, 10, 12, INK, 2) + arrow(22, 12, 14, 12, INK, 2) + line(12, 5, 12, 19, WAVE, 1.5, True))
define("DispAutoY", rect(4, 2, 16, 20, INK, 1.5) + path("M12 3V21", INK, 0) + arrow(12, 10, 12, 4, INK, 1.8) + arrow(12, 14, 12, 20, INK, 1.8) + badge_bolt())
define("DispStretchY", arrow(12, 10, 12, 2, INK, 2) + arrow(12, 14, 12, 22, INK, 2) + line(5, 12, 19, 12, WAVE, 1.5, True))
define("DispCompressY", arrow(12, 2, 12, 10, INK, 2) + arrow(12, 22, 12, 14, INK, 2) + line(5, 12, 19, 12, WAVE, 1.5, True))

# ---- 窗口, 工具, 帮助 ----------------------------------------------------------------
define("WindowNew", window() + badge_plus())
define("WindowCascade", rect(2, 2, 13, 10, INK, 1.5, PAPER) + rect(5, 6, 13, 10, INK, 1.5, PAPER) + rect(8, 10, 13, 11, INK, 2, PAPER) + line(8, 13, 21, 13, INK, 1.5))
define("WindowTileHorizontal", rect(2, 3, 20, 8, INK, 2, PAPER) + rect(2, 13, 20, 8, INK, 2, PAPER))
define("WindowTileVertical", rect(2, 3, 9, 18, INK, 2, PAPER) + rect(13, 3, 9, 18, INK, 2, PAPER))
define("WindowArrangeIcons", rect(2, 2, 20, 20, INK, 1.5, PAPER) + rect(4, 16, 5, 4, INK, 1.5, LIGHT, 0.5) + rect(10, 16, 5, 4, INK, 1.5, LIGHT, 0.5) + rect(16, 16, 4, 4, INK, 1.5, LIGHT, 0.5))
define("WindowCompare", rect(2, 3, 20, 8, INK, 2, PAPER) + rect(2, 13, 20, 8, INK, 2, PAPER) +
       path("M4 7C6 7 6 5 8 5S10 9 12 9S14 7 20 7", WAVE, 1.5) + path("M4 17C6 17 6 15 8 15S10 19 12 19S14 17 20 17", MARK, 1.5))
define("ToolTransfer", rect(2, 5, 8, 14, INK, 2, LIGHT, 1.5) + rect(4, 7, 4, 4, INK, 1.2, PAPER, 0.3) + rect(14, 4, 8, 11, INK, 2, PAPER, 1) +
       path("M16 19H20M18 15V19", INK, 1.5) + arrow(9, 15, 16, 10, OK, 1.8))
define("ToolViewLog", page() + text_lines(7, 7, 4, 7) + circle(17, 17, 5.5, INK, 0, PAPER) + circle(17, 17, 4.5, INK, 1.5) + path("M17 14.5V17L18.8 18.2", INK, 1.5))
define("ToolCalculator", rect(4, 2, 16, 20, INK, 2, PAPER, 2) + rect(7, 5, 10, 4, INK, 1.2, LIGHT, 0.5) +
       "".join(rect(x, y, 2, 2, INK, 0, INK, 0.3) for x in (7, 11, 15) for y in (12, 16)))
define("ToolPaint", path("M3 21C3 17 5 16 7 16S10 18 9 20S5 21.5 3 21Z", WAVE, 1.5, fill=WAVE) + path("M8.5 15.5L20 4L21.5 5.5L10 17Z", INK, 1.8, fill="#f5c542"))
define("ToolNotepad", rect(4, 3, 16, 19, INK, 2, "#fff7d6", 1) + path("M8 2V5M12 2V5M16 2V5", INK, 1.8) + text_lines(7, 10, 4, 10))
define("HelpTopics", circle(12, 12, 10, WAVE, 2, PAPER) + path("M9 9.5A3 3 0 1 1 13 12.3C12.3 12.7 12 13.2 12 14V15", WAVE, 2.2) + circle(12, 18.2, 1.2, WAVE, 0, WAVE))
define("HelpAbout", circle(12, 12, 10, WAVE, 2, PAPER) + line(12, 11, 12, 17.5, WAVE, 2.4) + circle(12, 7, 1.3, WAVE, 0, WAVE))

# ---- analysis types of the analysis bar -------------------------------------------
define("AnalysisIntegrity", pile(3, 4, 20, 5) + path("M11 12C13 12 13.5 6 15 6S17 17 19 17S21 12 22 12", WAVE, 2))
define("AnalysisTime", ICONS["DispFillNone"])
define("AnalysisFrequency", ICONS["DispSpectrumEnvelope"])
define("AnalysisWavelet", path("M2 7C4 7 4.5 4 6 4S8 10 10 10S12 7 22 7", WAVE, 1.6) + path("M2 13C6 13 7 10 8 10S9 16 10 16S11 13 22 13", WAVE, 1.6) +
       path("M2 19C9 19 9.5 17 10 17S10.5 21 11 21S11.5 19 22 19", WAVE, 1.6))
define("AnalysisCorrelation", path("M2 18C6 18 8 4 12 4S18 18 22 18", WAVE, 2) + line(12, 2, 12, 22, MARK, 1.2, True))

# ---- the application icon: a pile in the ground with the echo of its toe ----------
APP = ('  <rect x="1" y="1" width="22" height="22" rx="4" fill="#1c4f8f"/>\n'
       '  <rect x="1" y="9" width="22" height="14" rx="0" fill="#8a6a45"/>\n'
       '  <rect x="1" y="19" width="22" height="4" rx="4" fill="#8a6a45"/>\n'
       '  <rect x="5" y="5" width="5" height="15" fill="#e8edf2" stroke="#ffffff" stroke-width="0.8"/>\n'
       '  <path d="M7.5 2.5V4.5" stroke="#f5c542" stroke-width="1.6" stroke-linecap="round"/>\n'
       '  <path d="M12 8C13.5 8 14 3.5 15.5 3.5S17.5 12.5 19 12.5S20.5 8 22 8" stroke="#f5c542" stroke-width="1.6" fill="none" '
       'stroke-linecap="round"/>\n'
       '  <path d="M12 15C13.5 15 14 13 15 13S16.5 17 17.5 17S19 15 22 15" stroke="#ffffff" stroke-width="1.2" fill="none" '
       'stroke-linecap="round"/>\n')


def main():
    out = os.path.join(HERE, "actions")
    os.makedirs(out, exist_ok=True)
    for f in os.listdir(out):
        if f.endswith(".svg"):
            os.remove(os.path.join(out, f))
    for name, body in sorted(ICONS.items()):
        with open(os.path.join(out, name + ".svg"), "w") as f:
            f.write(svg(body))
    with open(os.path.join(HERE, "sondara.svg"), "w") as f:
        f.write(svg(APP, 256))
    with open(os.path.join(HERE, "icons.qrc"), "w") as f:
        f.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n  <qresource prefix="/icons">\n')
        f.write('    <file>sondara.svg</file>\n')
        for name in sorted(ICONS):
            f.write(f'    <file>actions/{name}.svg</file>\n')
        f.write('  </qresource>\n</RCC>\n')
    print(f"{len(ICONS)} icons")


if __name__ == "__main__":
    main()
