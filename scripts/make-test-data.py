#!/usr/bin/python3
"""Writes the workbooks the reader tests read, each with what a reader must make of it.

  make-test-data.py [OUTDIR]     (default: tests/data/workbooks)

Every NAME.EXT gets NAME.EXT.json:
  {"cells": {"A1": ["T", "text"], "B1": ["N", 1.5], "C1": ["D", 45351], "D1": ["B", 1],
             "E1": ["E", "#REF!"], "F1": ["-"]},
   "rows": 3, "limits": [rows, columns], "refused": "end of the Spanish message"}
"N" is a number, "D" a date serial, "B" a boolean, "E" an error, "-" an empty cell.
Most .xls files are built record by record, for what no writer at hand produces (split
strings, encrypted or broken files, odd containers); the rest come from python3-xlwt.
Run it again after changing it and commit what it writes: the tests need no Python.
"""
import datetime
import json
import os
import struct
import sys
import zipfile

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "tests", "data", "workbooks")

DAMAGED = "está dañado o incompleto y no se puede leer"
NOT_A_WORKBOOK = "no es un libro de cálculo que se pueda leer"
ENCRYPTED = "está cifrado (protegido con contraseña) y no se puede leer"
TOO_BIG = "es demasiado grande para leerlo"


# A duration format as another producer writes it: zero blank, under 100 hours with seconds.
CONDITIONAL_TIME = "[=0]?;[<4.16666666666667][hh]:mm:ss;[hh]:mm"
# Value, whether it is a time: 00:30:00, zero, 12:00:00, 5 days.
CONDITIONAL_TIME_VALUES = [(1 / 48, True), (0.0, False), (0.5, True), (5.0, True)]


def save(name, data, expect):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
    with open(os.path.join(OUT, name + ".json"), "w", encoding="utf-8") as f:
        json.dump(expect, f, ensure_ascii=False, sort_keys=True)
        f.write("\n")


def cell_name(row, column):
    name = ""
    while column:
        column, rest = divmod(column - 1, 26)
        name = chr(65 + rest) + name
    return "%s%d" % (name, row)


# --- BIFF records ------------------------------------------------------------------------

def u16(v):
    return struct.pack("<H", v & 0xFFFF)


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def f64(v):
    return struct.pack("<d", v)


def record(kind, payload):
    return u16(kind) + u16(len(payload)) + payload


def cell(kind, row, column, xf, rest):
    return record(kind, u16(row) + u16(column) + u16(xf) + rest)


def ustr(s):
    """A BIFF8 string with 16-bit count and flag byte; 8-bit when every character fits."""
    wide = any(ord(c) > 0xFF for c in s)
    return u16(len(s)) + bytes([1 if wide else 0]) + (s.encode("utf-16-le") if wide else s.encode("latin-1"))


def bof(version, kind):
    payload = u16(version) + u16(kind) + u16(0x0DBB) + u16(0x07CC)
    if version == 0x0600:
        payload += u32(0) + u32(6)
    return record(0x0809, payload)


EOF = record(0x000A, b"")


def workbook(globals_, sheets, version=0x0600):
    """BOF, globals, one BOUNDSHEET per (cells, type, visibility) with its offset, EOF, the sheets."""
    def bound(offset, sheet):
        name = b"\x05\x00Hoja1" if version == 0x0600 else b"\x05Hoja1"
        return record(0x0085, u32(offset) + bytes([sheet[2], sheet[1]]) + name)
    sheets = [s if isinstance(s, tuple) else (s, 0, 0) for s in sheets]
    head = bof(version, 5) + globals_
    offset = len(head) + len(EOF) + sum(len(bound(0, s)) for s in sheets)
    bodies = b""
    for s in sheets:
        head += bound(offset + len(bodies), s)
        bodies += bof(version, 0x20 if s[1] == 2 else 0x10) + s[0] + EOF
    return head + EOF + bodies


def xf(fmt):
    return record(0x00E0, u16(0) + u16(fmt) + bytes(16))


def xfs(cell_formats=()):
    """Fifteen style XFs, as Excel writes them, then the given cell XFs from 15 on."""
    return xf(0) * 15 + b"".join(xf(f) for f in cell_formats)


def fmt(ident, code):
    return record(0x041E, u16(ident) + ustr(code))


def number(row, column, value, xfi=15):
    return cell(0x0203, row, column, xfi, f64(value))


# --- compound files ----------------------------------------------------------------------

END, FREE, FATSECT, DIFSECT = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD, 0xFFFFFFFC


class Container:
    """A compound file of version 3 (512-byte sectors) or 4 (4096), streams at the top level;
    streams under 4096 bytes go into the mini stream; min_fat > 109 forces DIFAT sectors."""

    def __init__(self, streams, version=3, min_fat=0):
        ss = self.ss = 4096 if version == 4 else 512
        sectors, fat = [], []

        def chain(data):
            if not data:
                return END
            first = len(sectors)
            for off in range(0, len(data), ss):
                sectors.append(data[off:off + ss].ljust(ss, b"\0"))
                fat.append(len(sectors))
            fat[-1] = END
            return first

        mini, mini_fat, self.starts = b"", [], []
        for _, data in streams:
            if len(data) >= 4096:
                self.starts.append(chain(data))
            elif not data:
                self.starts.append(END)
            else:
                self.starts.append(len(mini) // 64)
                for off in range(0, len(data), 64):
                    mini += data[off:off + 64].ljust(64, b"\0")
                    mini_fat.append(len(mini) // 64)
                mini_fat[-1] = END
        mini_start = chain(mini)

        def entry(name, kind, right, child, start, size):
            e = bytearray(128)
            raw = name.encode("utf-16-le")
            e[0:len(raw)] = raw
            struct.pack_into("<HBB", e, 0x40, len(raw) + 2, kind, 1)
            struct.pack_into("<III", e, 0x44, FREE, right, child)
            struct.pack_into("<II", e, 0x74, start, size)
            return bytes(e)

        directory = entry("Root Entry", 5, FREE, 1 if streams else FREE, mini_start, len(mini))
        for i, (name, data) in enumerate(streams):
            directory += entry(name, 2, i + 2 if i + 1 < len(streams) else FREE, FREE, self.starts[i], len(data))
        self.dir_start = chain(directory)
        mini_fat_bytes = b"".join(u32(v) for v in mini_fat)
        mini_fat_start = chain(mini_fat_bytes)
        per = ss // 4
        fat_count, dif_count = 1, 0
        while True:
            fat_count = max(min_fat, (len(sectors) + fat_count + dif_count + per - 1) // per)
            need = (fat_count - 109 + per - 2) // (per - 1) if fat_count > 109 else 0
            if need == dif_count and fat_count * per >= len(sectors) + fat_count + dif_count:
                break
            dif_count = need
        self.fat_sectors = list(range(len(sectors), len(sectors) + fat_count))
        sectors += [b""] * fat_count
        fat += [FATSECT] * fat_count
        dif_sectors = list(range(len(sectors), len(sectors) + dif_count))
        sectors += [b""] * dif_count
        fat += [DIFSECT] * dif_count
        fat += [FREE] * (fat_count * per - len(fat))
        for i, s in enumerate(self.fat_sectors):
            sectors[s] = b"".join(u32(v) for v in fat[i * per:(i + 1) * per])
        for d, s in enumerate(dif_sectors):
            ids = [109 + d * (per - 1) + k for k in range(per - 1)]
            sectors[s] = b"".join(u32(self.fat_sectors[i] if i < fat_count else FREE) for i in ids) + \
                u32(dif_sectors[d + 1] if d + 1 < dif_count else END)
        header = bytearray(ss)
        header[0:8] = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"
        struct.pack_into("<HHHHH", header, 0x18, 0x3E, version, 0xFFFE, 12 if version == 4 else 9, 6)
        struct.pack_into("<II", header, 0x2C, fat_count, self.dir_start)
        struct.pack_into("<IIIII", header, 0x38, 4096, mini_fat_start,
                         (len(mini_fat_bytes) + ss - 1) // ss if mini_fat else 0,
                         dif_sectors[0] if dif_count else END, dif_count)
        for i in range(109):
            struct.pack_into("<I", header, 0x4C + 4 * i, self.fat_sectors[i] if i < fat_count else FREE)
        self.bytes = bytearray(bytes(header) + b"".join(sectors))

    def fat_entry(self, sector):
        per = self.ss // 4
        return (self.fat_sectors[sector // per] + 1) * self.ss + 4 * (sector % per)

    def dir_entry(self, index):
        return (self.dir_start + 1) * self.ss + 128 * index

    def patched(self, offset, value):
        b = bytearray(self.bytes)
        struct.pack_into("<I", b, offset, value)
        return bytes(b)


def xls(stream, name="Workbook"):
    return bytes(Container([(name, stream)]).bytes)


def cells_of(values):
    """Expected cells from {(row, column): expectation}, rows and columns from 1."""
    return {cell_name(r, c): v for (r, c), v in values.items()}


# --- .xls files built record by record ---------------------------------------------------

def xls_files():
    # String 0: "Hola " 8-bit, then the CONTINUE restates the width and goes on 16-bit.
    # String 1: rich text (2 runs) with a phonetic block, its runs split over a boundary.
    part1 = u32(3) + u32(3) + u16(10) + b"\0" + b"Hola "
    part2 = b"\x01" + "Ωmega".encode("utf-16-le") + u16(3) + b"\x0C" + u16(2) + u32(6) + b"abc" + b"r" * 4
    part3 = b"r" * 4 + b"p" * 6 + ustr("fin")
    sst = xfs() + record(0x00FC, part1) + record(0x003C, part2) + record(0x003C, part3)
    save("sst_continue.xls", xls(workbook(sst, [b"".join(cell(0x00FD, min(i, 3), 0, 15, u32(i)) for i in (0, 1, 2, 77))])),
         {"cells": {"A1": ["T", "Hola Ωmega"], "A2": ["T", "abc"], "A3": ["T", "fin"], "A4": ["-"]}})

    def formula(row, xfi, result):
        return cell(0x0006, row, 0, xfi, result + u16(0) + u32(0) + u16(3) + b"\x1E\x01\x00")

    def special(kind, value):
        return bytes([kind, 0, value, 0, 0, 0]) + u16(0xFFFF)
    # Text results come in the STRING record after the FORMULA (a SHRFMLA may sit between);
    # one whose STRING never comes has no value, and a stray STRING is ignored.
    cells = (formula(0, 15, f64(2.5)) + formula(1, 16, f64(45351)) + formula(2, 15, special(0, 0))
             + record(0x04BC, bytes(10)) + record(0x0207, ustr("texto calculado"))
             + formula(3, 15, special(1, 1)) + formula(4, 15, special(2, 0x07)) + formula(5, 15, special(3, 0))
             + formula(6, 15, special(0, 0)) + number(7, 0, 8) + record(0x0207, ustr("huérfano")))
    save("formulas.xls", xls(workbook(xfs([0, 14]), [cells])),
         {"cells": {"A1": ["N", 2.5], "A2": ["D", 45351], "A3": ["T", "texto calculado"], "A4": ["B", 1],
                    "A5": ["E", "#DIV/0!"], "A6": ["-"], "A7": ["-"], "A8": ["N", 8]}})

    # RK: integer 30 bits; x100 flag; high 30 bits of a double.
    def rk(v, div100=False):
        return u32((v << 2) | 2 | (1 if div100 else 0))
    mulrk = u16(1) + u16(2) + u16(15) + rk(-7) + u16(15) + rk(12345, True) + u16(15) + u32(0x3FF40000) + u16(4)
    cells = (cell(0x027E, 0, 0, 15, rk(-536870912)) + record(0x00BD, mulrk) + cell(0x00BE, 2, 0, 15, u16(15) + u16(15) + u16(2))
             + cell(0x0205, 3, 0, 15, b"\0\0") + cell(0x0205, 3, 1, 15, b"\x17\x01") + cell(0x0205, 3, 2, 15, b"\x24\x01"))
    save("rk_boolerr.xls", xls(workbook(xfs(), [cells])),
         {"cells": {"A1": ["N", -536870912], "C2": ["N", -7], "D2": ["N", 123.45], "E2": ["N", 1.25], "A3": ["-"],
                    "A4": ["B", 0], "B4": ["E", "#REF!"], "C4": ["E", "#NUM!"]}})

    # Built-in formats 14, 22, 45 and the East Asian 27-36, 50-58 are dates; 2, 37, 49, 0 are not;
    # then custom codes.
    custom = [("dd/mm/yyyy", True), ('0.00 "hs"', False), ("[Red]#,##0.00;[Blue]-#,##0.00", False), ("[h]:mm", True),
              ("[$-409]mmmm d, yyyy", True), ("#,##0\\d", False), ("0.00E+00", False), ("hh:mm AM/PM", True),
              ("General", False), ("_(* #,##0_);_(@_)", False)]
    formats = [(14, True), (22, True), (45, True), (27, True), (36, True), (50, True), (58, True), (2, False),
               (37, False), (49, False), (0, False)]
    globals_ = fmt(0, "Standard")
    for i, (code, is_date) in enumerate(custom):
        globals_ += fmt(164 + i, code)
        formats.append((164 + i, is_date))
    cells = b"".join(number(i, 0, 40000.5, 15 + i) for i in range(len(formats)))
    save("number_formats.xls", xls(workbook(globals_ + xfs([f for f, _ in formats]), [cells])),
         {"cells": {"A%d" % (i + 1): ["D" if d else "N", 40000.5] for i, (_, d) in enumerate(formats)}})

    # A format with conditions shows each number through the section whose condition it meets.
    globals_ = fmt(164, CONDITIONAL_TIME)
    cells = b"".join(number(i, 0, v, 15) for i, (v, _) in enumerate(CONDITIONAL_TIME_VALUES))
    save("conditional_time.xls", xls(workbook(globals_ + xfs([164]), [cells])),
         {"cells": {"A%d" % (i + 1): ["D" if d else "N", v] for i, (v, d) in enumerate(CONDITIONAL_TIME_VALUES)}})

    # Without a CODEPAGE record, the first font whose character set names a code page decides.
    def biff5(codepage, raw, charsets=()):
        globals_ = (record(0x0042, u16(codepage)) if codepage else b"")
        globals_ += b"".join(record(0x0031, bytes(12) + bytes([cs, 0, 5]) + b"Arial") for cs in charsets) + xfs()
        return xls(workbook(globals_, [cell(0x0204, 0, 0, 15, u16(len(raw)) + raw)], 0x0500), "Book")

    def biff8(codepage, raw):
        globals_ = (record(0x0042, u16(codepage)) if codepage else b"") + xfs()
        return xls(workbook(globals_, [cell(0x0204, 0, 0, 15, u16(len(raw)) + b"\0" + raw)]))
    for name, data, text in [("biff5_default_1252", biff5(0, b"Se\xF1or \x80"), "Señor €"),
                             ("biff5_1253", biff5(1253, b"\xC1\xE8\xDE\xED\xE1"), "Αθήνα"),
                             ("biff5_850", biff5(850, b"a\xA4o"), "año"),
                             ("biff5_fonts_1251", biff5(0, b"\xCC\xEE\xF1\xEA\xE2\xE0", [0, 204, 204]), "Москва"),
                             ("biff5_font_1254", biff5(0, b"\xFEi\xF0", [162]), "şiğ"),
                             ("biff5_fonts_western", biff5(0, b"Se\xF1or", [0, 1]), "Señor"),
                             ("biff5_codepage_over_fonts", biff5(1253, b"\xC1", [204]), "Α"),
                             ("biff8_1200", biff8(1200, b"\x80\xF1"), "\u0080ñ"),
                             ("biff8_no_codepage", biff8(0, b"\xF1"), "ñ"),
                             ("biff8_1252", biff8(1252, b"\x80\xF1"), "€ñ")]:
        save("codepage_%s.xls" % name, data, {"cells": {"A1": ["T", text]}})

    # In workbook order, past a chart sheet; a hidden worksheet still counts.
    save("sheet_order.xls", xls(workbook(xfs(), [(number(0, 0, 1), 2, 0), (number(0, 0, 2), 0, 1), (number(0, 0, 3), 0, 0)])),
         {"cells": {"A1": ["N", 2]}})
    # A chart embedded in the sheet gives none of its cells.
    cells = number(0, 0, 1) + bof(0x0600, 0x20) + number(0, 0, 99) + number(5, 5, 99) + EOF + number(1, 0, 2)
    save("embedded_chart.xls", xls(workbook(xfs(), [cells])), {"cells": {"A1": ["N", 1], "A2": ["N", 2], "F6": ["-"]}})
    # A BOUNDSHEET offset pointing nowhere: the sheet after the globals is read.
    stream = bytearray(workbook(xfs(), [number(0, 0, 7)]))
    struct.pack_into("<I", stream, stream.index(b"\x85\x00") + 4, 3)
    save("bad_sheet_offset.xls", xls(bytes(stream)), {"cells": {"A1": ["N", 7]}})

    good = workbook(xfs(), [number(0, 0, 1)])
    refused = [
        ("empty", b"", NOT_A_WORKBOOK),
        ("zip", b"PK\x03\x04" + bytes(600), NOT_A_WORKBOOK),
        ("no_workbook_stream", bytes(Container([("Other", good)]).bytes), NOT_A_WORKBOOK),
        ("header_cut", xls(good)[:300], DAMAGED),
        ("no_bof", xls(good[20:]), DAMAGED),
        ("biff4", xls(record(0x0409, bytes(6)) + good), DAMAGED),
        ("cut_in_record", xls(good[:-10]), DAMAGED),
        ("container_cut", xls(good + bytes(9000))[:3000], DAMAGED),
        ("filepass_biff8", xls(workbook(record(0x002F, u16(1) + b"\x11" * 52) + xfs(), [number(0, 0, 1)])), ENCRYPTED),
        ("filepass_biff5", xls(workbook(record(0x002F, u32(0x12345678)), [b""], 0x0500), "Book"), ENCRYPTED),
        ("encrypted_ooxml", bytes(Container([("EncryptionInfo", b"\x04" * 200),
                                             ("EncryptedPackage", b"\x55" * 9000)]).bytes), ENCRYPTED),
    ]
    for name, data, reason in refused:
        save("refused_%s.xls" % name, data, {"refused": reason})


def pattern_rows(count, seed):
    """A workbook stream of one number per row, and the cells it holds."""
    cells = b"".join(number(i, 0, i * 7 + seed) for i in range(count))
    return workbook(xfs(), [cells]), {"A%d" % (i + 1): ["N", i * 7 + seed] for i in range(0, count, 97)}


def container_files():
    """The compound file: streams come back intact, writer quirks are tolerated, damage is refused."""
    stream, cells = pattern_rows(4000, 1)  # 72 kB: spans FAT sectors of either size
    side = [("\x05SummaryInformation", bytes(range(256)) + bytes(44)), ("Small", b"s" * 4095), ("Exact", b"e" * 4096)]
    expect = {"cells": cells, "rows": 4000}
    save("container_v3.xls", bytes(Container([("Workbook", stream)] + side).bytes), expect)
    save("container_v4.xls", bytes(Container([("Workbook", stream)] + side, 4).bytes), expect)
    # More FAT sectors than the header lists: the rest are found through DIFAT sectors.
    difat = Container([("Workbook", stream)] + side, 3, 120)
    save("container_difat.xls", bytes(difat.bytes), expect)
    # The rest on a smaller workbook, still past the mini stream.
    stream, cells = pattern_rows(1000, 2)
    expect = {"cells": cells, "rows": 1000}
    # Names match without letter case.
    save("container_upper_name.xls", bytes(Container([("WORKBOOK", stream)]).bytes), expect)
    # Streams of 4096 bytes or more are in sectors of their own, smaller ones in the mini stream.
    small, small_cells = pattern_rows(50, 3)
    for size in (4095, 4096):
        save("container_workbook_of_%d.xls" % size, bytes(Container([("Workbook", small.ljust(size, b"\0"))]).bytes),
             {"cells": small_cells, "rows": 50})
    # Names match whole.
    save("container_name_cut_short.xls", bytes(Container([("Workboo", small)]).bytes), {"refused": NOT_A_WORKBOOK})
    # A small workbook in the mini stream.
    small, small_cells = pattern_rows(50, 3)
    save("container_mini.xls", bytes(Container(side + [("Workbook", small)]).bytes), {"cells": small_cells, "rows": 50})
    # The last sector of a stream chained on into the next one: cut at the stream's size.
    c = Container([("Workbook", stream), ("B", b"b" * 6000)])
    last = c.starts[0] + (len(stream) + 511) // 512 - 1
    save("container_chained_on.xls", c.patched(c.fat_entry(last), c.starts[1]), expect)
    # The last entry's left link points nowhere: the other entries are still found.
    c = Container(side + [("Workbook", stream)])
    save("container_bad_left_link.xls", c.patched(c.dir_entry(4) + 0x44, 9999), expect)

    good = Container([("Workbook", stream)] + side)
    in_stream = good.fat_entry(good.starts[0] + 5)
    sector_size = bytearray(good.bytes)
    sector_size[0x1E] = 30
    difat_at = struct.unpack_from("<I", difat.bytes, 0x44)[0]
    # The DIFAT sector, filled up and naming itself as the next one.
    cyclic_difat = bytearray(difat.patched(0x2C, 600))
    for k in range(127):
        struct.pack_into("<I", cyclic_difat, (difat_at + 1) * 512 + 4 * k, difat.fat_sectors[0])
    struct.pack_into("<I", cyclic_difat, (difat_at + 1) * 512 + 508, difat_at)
    cyclic_difat = bytes(cyclic_difat)
    damaged = [
        ("text", b"Attachment: not a workbook\r\n" * 40, NOT_A_WORKBOOK),
        ("header_only", bytes(good.bytes[:512]), DAMAGED),
        ("cut", bytes(good.bytes[:len(good.bytes) // 3]), DAMAGED),
        ("cyclic_chain", good.patched(in_stream, good.starts[0] + 2), DAMAGED),
        ("chain_out_of_range", good.patched(in_stream, 0x00FFFFFF), DAMAGED),
        ("chain_ends_early", good.patched(in_stream, END), DAMAGED),
        ("absurd_stream_size", good.patched(good.dir_entry(1) + 0x78, 0xFFFFFF00), DAMAGED),
        ("absurd_fat_size", good.patched(0x2C, 0x10000000), DAMAGED),
        ("directory_out_of_range", good.patched(0x30, 0x00FFFFFF), DAMAGED),
        ("absurd_sector_size", bytes(sector_size), DAMAGED),
        ("cyclic_difat", cyclic_difat, DAMAGED),
    ]
    for name, data, reason in damaged:
        save("container_%s.xls" % name, data, {"refused": reason})
    # A cycle in the padding after the workbook's last record: refused though nothing read lies there.
    c = Container([("Workbook", small.ljust(8000, b"\0"))])
    save("container_cyclic_chain_in_padding.xls", c.patched(c.fat_entry(c.starts[0] + 10), c.starts[0] + 5),
         {"refused": DAMAGED})
    mini = Container([("Workbook", small)])
    save("container_absurd_mini_size.xls", mini.patched(mini.dir_entry(0) + 0x78, 0x7FFFFFFF), {"refused": DAMAGED})


# --- .xls files from xlwt -----------------------------------------------------------------

def xlwt_files():
    import xlwt
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Datos")
    ws.write(0, 0, "Código")
    ws.write(0, 1, "Descripción")
    ws.write(1, 0, 42)                   # small integer: RK
    ws.write(1, 1, 1234.5)               # RK with the x100 flag
    ws.write(2, 0, 3.14159265358979)     # needs IEEE: NUMBER
    ws.write(2, 1, -123456789)
    ws.write(3, 0, "Año ñandú €uro")
    ws.write(3, 1, "uno\tdos\rtres\r\ncuatro")
    ws.write(4, 0, True)
    ws.write(4, 1, False)
    ws.row(5).set_cell_error(0, "#DIV/0!")
    ws.row(5).set_cell_error(1, 0x2A)   # #N/A by code: xlwt knows no name for it
    ws.write(6, 0, xlwt.Formula("A2*2"))  # xlwt caches no result
    ws.write(7, 0, datetime.date(2024, 2, 29), xlwt.easyxf(num_format_str="DD/MM/YYYY"))
    ws.write(7, 1, datetime.datetime(1900, 1, 1, 12, 0), xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm"))
    ws.write(8, 0, 45000.25, xlwt.easyxf(num_format_str='0.00 "días"'))
    ws.write(8, 1, 0.75, xlwt.easyxf(num_format_str="[h]:mm"))
    ws.write(9, 2, "")
    ws.write(10, 3, 1e300)
    wb.add_sheet("Oculta").write(0, 0, "no se lee")
    path = os.path.join(OUT, "xlwt.tmp")
    wb.save(path)
    cells = {"A1": ["T", "Código"], "A2": ["N", 42], "B2": ["N", 1234.5], "A3": ["N", 3.14159265358979],
             "B3": ["N", -123456789], "A4": ["T", "Año ñandú €uro"], "B4": ["T", "uno\tdos\rtres\r\ncuatro"],
             "A5": ["B", 1], "B5": ["B", 0], "A6": ["E", "#DIV/0!"], "B6": ["E", "#N/A"], "A7": ["-"],
             "A8": ["D", 45351], "B8": ["D", 1.5], "A9": ["N", 45000.25], "B9": ["D", 0.75], "D11": ["N", 1e300]}
    with open(path, "rb") as f:
        data = f.read()
    save("xlwt_values.xls", data, {"cells": cells, "rows": 11})
    save("xlwt_values_cut.xls", data, {"cells": {"A1": ["T", "Código"], "B1": ["-"], "A2": ["N", 42], "B2": ["-"]},
                                       "rows": 2, "limits": [2, 1]})

    wb = xlwt.Workbook()
    wb.dates_1904 = True
    ws = wb.add_sheet("Hoja1")
    ws.write(0, 0, datetime.date(2021, 1, 1), xlwt.easyxf(num_format_str="YYYY-MM-DD"))
    ws.write(0, 1, 15)
    wb.save(path)
    with open(path, "rb") as f:
        save("xlwt_dates1904.xls", f.read(), {"cells": {"A1": ["D", 44197], "B1": ["N", 15]}})

    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Largo")
    for i in range(3000):
        ws.write(i, 0, "Artículo número %d con descripción" % i)
    letters = "".join(chr(0x41 + i % 26) for i in range(20000))
    ws.write(0, 1, letters)
    ws.write(1, 1, "ñ" * 9000 + "Ω" * 100)
    wb.save(path)
    cells = {"A%d" % (i + 1): ["T", "Artículo número %d con descripción" % i] for i in list(range(0, 3000, 7)) + [2999]}
    cells.update({"B1": ["T", letters], "B2": ["T", "ñ" * 9000 + "Ω" * 100]})
    with open(path, "rb") as f:
        save("xlwt_long_sst.xls", f.read(), {"cells": cells, "rows": 3000})
    os.remove(path)


# --- .xlsx packages written part by part ---------------------------------------------------

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"


def package(name, parts, expect):
    path = os.path.join(OUT, name)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for part, content in parts:
            z.writestr(zipfile.ZipInfo(part, (2024, 1, 1, 0, 0, 0)), content.encode("utf-8"), zipfile.ZIP_DEFLATED)
    with open(path, "rb") as f:
        save(name, f.read(), expect)


def relationships(*pairs):
    items = "".join('<Relationship Id="rId%d" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/%s"'
                    ' Target="%s"/>' % (i, kind, target) for i, (kind, target) in enumerate(pairs))
    return '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">%s</Relationships>' % items


def styles(*custom):
    """xf 0 General, 1 built-in 14 (a date), 2 built-in 2 (0.00), then one xf per custom code from 164."""
    fmts = "".join('<numFmt numFmtId="%d" formatCode="%s"/>' % (164 + i, c) for i, c in enumerate(custom))
    xfs_ = "".join('<xf numFmtId="%d"/>' % (164 + i) for i in range(len(custom)))
    return ('<styleSheet xmlns="%s"><numFmts count="%d">%s</numFmts><cellXfs><xf numFmtId="0"/><xf numFmtId="14"/>'
            '<xf numFmtId="2"/>%s</cellXfs></styleSheet>' % (MAIN, len(custom), fmts, xfs_))


def xlsx(name, sheet, expect, shared="", style=None, workbook_pr=""):
    package(name, [
        ("[Content_Types].xml", '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>'),
        ("_rels/.rels", relationships(("officeDocument", "xl/workbook.xml"))),
        ("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/'
                            'relationships">%s<sheets><sheet name="Hoja1" sheetId="1" r:id="rId0"/></sheets></workbook>'
                            % (MAIN, workbook_pr)),
        ("xl/_rels/workbook.xml.rels", relationships(("worksheet", "worksheets/sheet1.xml"), ("styles", "styles.xml"),
                                                     ("sharedStrings", "sharedStrings.xml"))),
        ("xl/worksheets/sheet1.xml", '<worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>' % (MAIN, sheet)),
        ("xl/styles.xml", style or styles()),
        ("xl/sharedStrings.xml", '<sst xmlns="%s">%s</sst>' % (MAIN, shared)),
    ], expect)


def xlsx_files():
    # Built-in formats: 14 and the East Asian 27-36, 50-58 are dates; 37 and 49 are not.
    builtin = [(14, True), (27, True), (36, True), (50, True), (58, True), (37, False), (49, False)]
    xlsx("xlsx_builtin_formats.xlsx",
         "".join('<row r="%d"><c r="A%d" s="%d"><v>40000</v></c></row>' % (i + 1, i + 1, i) for i in range(len(builtin))),
         {"cells": {"A%d" % (i + 1): ["D" if d else "N", 40000] for i, (_, d) in enumerate(builtin)}},
         style='<styleSheet xmlns="%s"><cellXfs>%s</cellXfs></styleSheet>'
               % (MAIN, "".join('<xf numFmtId="%d"/>' % f for f, _ in builtin)))
    xlsx("xlsx_values.xlsx",
         '<row r="1"><c r="A1"><v>1234567.891</v></c><c r="B1" s="1"><v>45292.5</v></c>'
         '<c r="C1" t="b"><v>1</v></c><c r="D1" t="b"><v>0</v></c><c r="E1" t="e"><f>1/0</f><v>#DIV/0!</v></c></row>'
         '<row r="2"><c r="A2"><f>A1*2</f><v>2469135.782</v></c><c r="B2" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>'
         '<c r="C2"><f>A1</f></c><c r="D2" s="2"><v>-0.5</v></c><c r="E2" t="d"><v>2024-01-01T06:00:00</v></c></row>'
         # Numbers no cell can hold are left out; past year 9999 a date stays a number.
         '<row r="3"><c r="A3" s="1"><v>nan</v></c><c r="B3"><v>inf</v></c><c r="C3" s="1"><v>-inf</v></c>'
         '<c r="D3" s="1"><v>1e300</v></c><c r="E3" s="1"><v>2958465</v></c></row>',
         {"cells": {"A1": ["N", 1234567.891], "B1": ["D", 45292.5], "C1": ["B", 1], "D1": ["B", 0], "E1": ["E", "#DIV/0!"],
                    "A2": ["N", 2469135.782], "B2": ["T", "ab"], "C2": ["-"], "D2": ["N", -0.5], "E2": ["D", 45292.25],
                    "A3": ["-"], "B3": ["-"], "C3": ["-"], "D3": ["N", 1e300], "E3": ["D", 2958465]}})
    xlsx("xlsx_strings.xlsx",
         '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c>'
         '<c r="D1" t="s"><v>99</v></c></row>'
         '<row r="3"><c r="B3" t="inlineStr"><is><t>Arandela</t></is></c>'
         '<c r="C3" t="inlineStr"><is><r><t>Rich </t></r><r><t>run</t></r><rPh><t>x</t></rPh></is></c>'
         '<c r="D3" t="inlineStr"><is><t>uno_x000D_dos_x0009_tres_x005F_</t></is></c>'
         '<c r="E3" t="inlineStr"><is><t>uno\r\ndos</t></is></c></row>',
         # Phonetic runs are left out; XML itself turns a raw CR LF into a line feed.
         {"cells": {"A1": ["T", "Tornillo\tM6\nlargo"], "B1": ["T", "Caño ñandú"], "C1": ["T", "東京"], "D1": ["-"],
                    "B3": ["T", "Arandela"], "C3": ["T", "Rich run"], "D3": ["T", "uno\rdos\ttres_"],
                    "E3": ["T", "uno\ndos"]}, "rows": 3},
         '<si><t xml:space="preserve">Tornillo\tM6\nlargo</t></si><si><r><rPr><b/></rPr><t>Caño </t></r>'
         '<r><t>ñandú</t></r></si><si><t>東京</t><rPh sb="0" eb="2"><t>トウキョウ</t></rPh></si>')
    codes = [("dd/mm/yyyy", True), ("h:mm AM/PM", True), ("[h]:mm", True),
             ("[$-F800]dddd\\,\\ mmmm\\ dd\\,\\ yyyy", True), ("0.00 &quot;days&quot;", False), ("[Red]0.00", False),
             ("0\\d", False), ("General", False), ("[$$-409]#,##0.00", False)]
    xlsx("xlsx_formats.xlsx", "<row r=\"1\">%s</row>" % "".join('<c r="%s" s="%d"><v>40000</v></c>' % (cell_name(1, i + 1), 3 + i)
                                                                for i in range(len(codes))),
         {"cells": {cell_name(1, i + 1): ["D" if d else "N", 40000] for i, (_, d) in enumerate(codes)}},
         style=styles(*[c for c, _ in codes]))
    # Sections with conditions are picked per number; without conditions the first decides.
    codes = [CONDITIONAL_TIME.replace("<", "&lt;"), "[&lt;1]0.00;[h]:mm", "0.00;[h]:mm"]
    values = [(v, [d, v >= 1, False]) for v, d in CONDITIONAL_TIME_VALUES]
    xlsx("xlsx_conditional_time.xlsx",
         "".join('<row r="%d">%s</row>' % (r + 1, "".join('<c r="%s" s="%d"><v>%r</v></c>' % (cell_name(r + 1, i + 1), 3 + i, v)
                                                          for i in range(len(codes))))
                 for r, (v, _) in enumerate(values)),
         {"cells": {cell_name(r + 1, i + 1): ["D" if d[i] else "N", v] for r, (v, d) in enumerate(values)
                    for i in range(len(codes))}},
         style=styles(*codes))
    # Day 0 of 1904 is 1904-01-01, serial 1462 of the 1900 system; plain numbers stay.
    xlsx("xlsx_1904.xlsx", '<row r="1"><c r="A1" s="1"><v>0</v></c><c r="B1"><v>0</v></c></row>',
         {"cells": {"A1": ["D", 1462], "B1": ["N", 0]}}, workbook_pr='<workbookPr date1904="1"/>')
    rows = ('<row><c><v>1</v></c><c><v>2</v></c></row><row><c r="C2"><v>3</v></c><c><v>4</v></c></row>'
            '<row r="70000"><c r="A70000"><v>5</v></c></row><row r="70001"><c r="XFE70001"><v>6</v></c></row>')
    # Rows past 65,536 are left out; column XFE is past the last one.
    xlsx("xlsx_positions.xlsx", rows, {"cells": {"B1": ["N", 2], "C2": ["N", 3], "D2": ["N", 4]}, "rows": 2})
    xlsx("xlsx_positions_unlimited.xlsx", rows, {"cells": {"A70000": ["N", 5]}, "rows": 70000, "limits": [1048576, 16384]})
    # Millions of tiny strings fit in a small package; each costs far more in memory.
    xlsx("xlsx_many_strings.xlsx", '<row r="1"><c r="A1" t="s"><v>999</v></c></row>', {"cells": {"A1": ["T", "ab"]}},
         "<si><t>ab</t></si>" * 1000)
    xlsx("refused_xlsx_bad_sheet.xlsx", '<row r="1"><c r="A1"><v>1</v></row>', {"refused": DAMAGED})
    package("refused_xlsx_no_workbook.xlsx", [("docProps/app.xml", "<Properties/>")], {"refused": NOT_A_WORKBOOK})
    package("refused_xlsx_entities.xlsx", [("xl/workbook.xml", '<!DOCTYPE w [<!ENTITY a "aaaa"><!ENTITY b "&a;&a;">]>'
                                                               '<workbook xmlns="%s">&b;</workbook>' % MAIN)],
            {"refused": "contiene declaraciones de entidades XML y no se lee por seguridad"})


# --- .ods documents -----------------------------------------------------------------------

def ods(name, tables, expect, manifest=""):
    parts = [("mimetype", "application/vnd.oasis.opendocument.spreadsheet"),
             ("content.xml", '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
                             'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
                             'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
                             'xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0">'
                             '<office:body><office:spreadsheet>%s</office:spreadsheet></office:body>'
                             '</office:document-content>' % tables)]
    if manifest:
        parts.append(("META-INF/manifest.xml", '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:'
                                               'xmlns:manifest:1.0">%s</manifest:manifest>' % manifest))
    package(name, parts, expect)


def tc(attributes, body=""):
    return "<table:table-cell %s>%s</table:table-cell>" % (attributes, body)


def tt(t):
    return tc('office:value-type="string"', "<text:p>%s</text:p>" % t)


def ods_rows(first, count):
    out = ""
    for i in range(first, first + count):
        out += "<table:table-row>%s%s</table:table-row>" % (tt("r%d" % i), tc('office:value-type="float" office:value="%d.5"' % i))
        if i % 7 == 0:
            out += ('<table:table-row table:number-rows-repeated="3">%s</table:table-row>'
                    '<table:table-row table:number-rows-repeated="4"><table:table-cell/></table:table-row>' % tt("rep"))
    return out


def ods_files():
    ods("ods_text.ods", '<table:table table:name="A"><table:table-row>'
        + tc('office:value-type="string"', '<text:p>Tornillo<text:s text:c="3"/>M6<text:tab/>x<text:line-break/>'
             '<text:span>largo</text:span><text:s/></text:p><text:p/><text:p>fin</text:p>'
             '<office:annotation><text:p>nota</text:p></office:annotation>')
        + tc('office:value-type="string" office:string-value="guardado"', "<text:p>mostrado</text:p>")
        + tc("", "<text:h>título</text:h>")
        + '<table:covered-table-cell office:value-type="string"><text:p><text:span>cubierta</text:span></text:p>'
          '</table:covered-table-cell></table:table-row></table:table>',
        {"cells": {"A1": ["T", "Tornillo   M6\tx\nlargo \n\nfin"], "B1": ["T", "guardado"], "C1": ["T", "título"],
                   "D1": ["T", "cubierta"]}})
    ods("ods_values.ods", '<table:table table:name="A"><table:table-row>'
        + tc('office:value-type="float" office:value="1234567.891"', "<text:p>1.234.567,89</text:p>")
        + tc('office:value-type="percentage" office:value="0.25"', "<text:p>25%</text:p>")
        + tc('office:value-type="currency" office:currency="ARS" office:value="-3.5"', "<text:p>$-3,50</text:p>")
        + tc('office:value-type="date" office:date-value="2024-02-29T13:30:00"')
        + tc('office:value-type="time" office:time-value="PT36H30M10S"')
        + tc('office:value-type="boolean" office:boolean-value="false"', "<text:p>FALSO</text:p>")
        + tc('table:formula="of:=1/0" office:value-type="float" office:value="0" calcext:value-type="error"',
             "<text:p>#DIV/0!</text:p>")
        # Values no date or number can hold fall back on the text the cell shows.
        + tc('office:value-type="time" office:time-value="PT99999999999999H"', "<text:p>mucho</text:p>")
        + tc('office:value-type="float" office:value="inf"', "<text:p>inf</text:p>")
        + "</table:table-row></table:table>",
        {"cells": {"A1": ["N", 1234567.891], "B1": ["N", 0.25], "C1": ["N", -3.5], "D1": ["D", 45351.5625],
                   "E1": ["D", 1.5 + 0.5 / 24 + 10 / 86400.0], "F1": ["B", 0], "G1": ["E", "#DIV/0!"],
                   "H1": ["T", "mucho"], "I1": ["T", "inf"]}})
    ods("ods_first_table.ods", '<table:table table:name="Primera"><table:table-row>' + tt("antes")
        + tc("", "<table:table><table:table-row>%s</table:table-row></table:table>" % tt("anidada"))
        + tt("misma fila") + "</table:table-row><table:table-row>" + tt("después")
        + '</table:table-row></table:table><table:table table:name="Segunda"><table:table-row>'
        + tt("otra hoja") + "</table:table-row><table:table-row>" + tt("x") + tt("y") + tt("z")
        + "</table:table-row></table:table>",
        {"cells": {"A1": ["T", "antes"], "B1": ["-"], "C1": ["T", "misma fila"], "A2": ["T", "después"]}, "rows": 2})
    # The empty repeated rows store nothing and the row after them lies past 65,536.
    ods("ods_repeated.ods", '<table:table table:name="A"><table:table-header-rows><table:table-row>'
        + tc('table:number-columns-spanned="2" office:value-type="string"', "<text:p>unida</text:p>")
        + "<table:covered-table-cell/>" + tc('office:value-type="float" office:value="7" table:number-columns-repeated="3"')
        + '</table:table-row></table:table-header-rows><table:table-row table:number-rows-repeated="2">'
        + tc('table:number-columns-repeated="2" office:value-type="string"', "<text:p>x</text:p>")
        + '<table:table-cell table:number-columns-repeated="16000"/>' + tt("fin")
        + '</table:table-row><table:table-row table:number-rows-repeated="1048000"><table:table-cell '
          'table:number-columns-repeated="1024"/></table:table-row><table:table-row>' + tt("nunca")
        + "</table:table-row></table:table>",
        {"cells": {"A1": ["T", "unida"], "B1": ["-"], "C1": ["N", 7], "E1": ["N", 7], "F1": ["-"], "B3": ["T", "x"],
                   cell_name(3, 16003): ["T", "fin"]}, "rows": 3})
    ods("refused_ods_huge.ods", '<table:table><table:table-row table:number-rows-repeated="999999999">'
        '<table:table-cell table:number-columns-repeated="999999999"><text:p>X</text:p>'
        "</table:table-cell></table:table-row></table:table>", {"refused": TOO_BIG})
    ods("refused_ods_encrypted.ods", "<table:table/>", {"refused": ENCRYPTED},
        '<manifest:file-entry manifest:full-path="content.xml"><manifest:encryption-data/></manifest:file-entry>')
    # A zip entry that inflates past what any reader needs: refused before it is unpacked.
    ods("refused_ods_inflates.ods", "<table:table/>", {"refused": TOO_BIG}, " " * (17 << 20))

    # A big sheet is read in two halves; wherever the middle of the part falls, the cells
    # are those one parse gives. Files named "split" must be read in two halves.
    many = "<table:table-row><table:table-cell/></table:table-row>" * 400
    middles = [
        ("split_between_rows", ods_rows(100, 400), ""),
        ("in_comment", "<!-- %s -->" % many, ""),
        ("in_cdata", "<table:table-row>%s</table:table-row>" % tc('office:value-type="string"',
                                                                "<text:p><![CDATA[%s]]></text:p>" % many), ""),
        ("in_nested_table", "<table:table-row><table:table-cell><table:table>%s</table:table></table:table-cell>"
                            "</table:table-row>" % ods_rows(100, 300), ""),
        ("in_row_group", "<table:table-row-group>%s</table:table-row-group>" % ods_rows(100, 400), ""),
        ("in_second_table", "", '<table:table table:name="B">%s</table:table>' % ods_rows(100, 400)),
    ]
    # The second half closes its table as table:table: one opened with another prefix is read
    # in one parse, and a mismatched end tag is refused either way.
    rows = ods_rows(1, 40) + ods_rows(100, 400) + ods_rows(1000, 40)
    ods("ods_halves_other_prefix.ods", '<t:table table:name="A">%s</t:table>' % rows,
        {"cells": {"A1": ["T", "r1"], "B1": ["N", 1.5]}})
    ods("ods_halves_mismatched_end.ods", '<t:table table:name="A">%s</table:table>' % rows, {"refused": DAMAGED})
    for name, middle, after in middles:
        ods("ods_halves_%s.ods" % name, '<table:table table:name="A">%s%s%s</table:table>%s'
            % (ods_rows(1, 40), middle, ods_rows(1000, 40), after), {"cells": {"A1": ["T", "r1"], "B1": ["N", 1.5]}})


# --- .csv text ----------------------------------------------------------------------------

def csv_files():
    for name, data in [("semicolon", b"a;b,c;d\n1;2,5;3\n"), ("comma", b'a,"b;c",d\n1,2,3\n'), ("tab", b"a\tb\td\n1\t2\t3\n")]:
        save("csv_delimiter_%s.csv" % name, data,
             {"cells": {"A1": ["T", "a"], "C1": ["T", "d"], "C2": ["T", "3"]}, "rows": 2})
    save("csv_quotes.csv", b'x;"he said ""hi""";"two\r\nlines";"a;b"\r\n"";"""";"bare\rcr"\r\nlast;row',
         {"cells": {"B1": ["T", 'he said "hi"'], "C1": ["T", "two\nlines"], "D1": ["T", "a;b"], "A2": ["-"],
                    "B2": ["T", '"'], "C2": ["T", "bare\rcr"], "B3": ["T", "row"]}, "rows": 3})
    save("csv_line_ends.csv", b"a\rb\n\nc\r\n",
         {"cells": {"A1": ["T", "a"], "A2": ["T", "b"], "A3": ["-"], "A4": ["T", "c"]}, "rows": 4})
    # BOM dropped; valid UTF-8 kept; lone Windows-1252 bytes mapped.
    save("csv_utf8.csv", b"\xEF\xBB\xBFpi\xC3\xB1a,x\n\xF0\x9F\x98\x80\n",
         {"cells": {"A1": ["T", "piña"], "A2": ["T", "\U0001F600"]}})
    save("csv_1252.csv", b"\x80 10,caf\xE9\n\x93q\x94\n", {"cells": {"A1": ["T", "€ 10"], "B1": ["T", "café"], "A2": ["T", "“q”"]}})
    save("csv_limit.csv", b"1\n2\n3\n4\n", {"cells": {"A2": ["T", "2"]}, "rows": 2, "limits": [2, 10]})
    # Told by content, whatever the name.
    # Excel's "Unicode Text" is UTF-16 LE with TAB; any UTF-16 with a byte-order mark reads as its UTF-8 form.
    for name, codec, bom, sep in [("le_tab", "utf-16-le", b"\xFF\xFE", "\t"), ("le_semicolon", "utf-16-le", b"\xFF\xFE", ";"),
                                  ("be_comma", "utf-16-be", b"\xFE\xFF", ",")]:
        text = 'Código|Descripción\r\nA-1|"Ñandú | 1,5 €"\r\n東京|\U0001F600\r\n'.replace("|", sep)
        save("csv_utf16_%s.txt" % name, bom + text.encode(codec),
             {"cells": {"A1": ["T", "Código"], "B1": ["T", "Descripción"], "A2": ["T", "A-1"],
                        "B2": ["T", "Ñandú %s 1,5 €" % sep], "A3": ["T", "東京"], "B3": ["T", "\U0001F600"]}, "rows": 3})
    save("csv_named.txt", 'Código;Peso\r\nA-1;"1,5"\r\n'.encode("utf-8"), {"cells": {"A1": ["T", "Código"], "B2": ["T", "1,5"]}})


def xlsxwriter_files():
    """What xlsxwriter writes its own way: the first sheet hidden and another active, shared
    strings with escapes and runs, a formula's cached text."""
    import xlsxwriter
    path = os.path.join(OUT, "xlsxwriter.tmp")
    wb = xlsxwriter.Workbook(path)
    ws = wb.add_worksheet("Oculta")
    other = wb.add_worksheet("Otra")
    other.write("A1", "not this one")
    other.activate()
    ws.hide()
    ws.write("A1", "Código")
    ws.write("B1", 1234567.891)
    ws.write_datetime("C1", datetime.datetime(2023, 3, 15), wb.add_format({"num_format": "dd/mm/yyyy"}))
    ws.write_formula("A2", '="a"&"b"', None, "ab")
    ws.write_boolean("B2", True)
    ws.write("A3", "tab\there")
    ws.write("B3", "cr\rhere")
    ws.write_rich_string("C3", "rich ", wb.add_format({"bold": True}), "text")
    ws.write("D3", "_x0041_ literal")
    ws.write("A5", "after a gap")
    wb.set_properties({"created": datetime.datetime(2024, 1, 1)})
    wb.close()
    with open(path, "rb") as f:
        save("xlsxwriter_hidden_first.xlsx", f.read(),
             {"cells": {"A1": ["T", "Código"], "B1": ["N", 1234567.891], "C1": ["D", 45000], "A2": ["T", "ab"],
                        "B2": ["B", 1], "A3": ["T", "tab\there"], "B3": ["T", "cr\rhere"], "C3": ["T", "rich text"],
                        "D3": ["T", "_x0041_ literal"], "A4": ["-"], "A5": ["T", "after a gap"]}, "rows": 5})
    os.remove(path)


def main():
    os.makedirs(OUT, exist_ok=True)
    xls_files()
    container_files()
    xlwt_files()
    xlsx_files()
    ods_files()
    csv_files()
    xlsxwriter_files()


if __name__ == "__main__":
    main()
