#!/usr/bin/python3
"""Writes the .xls workbooks the xls reader tests read, with python3-xlwt.
Usage: /usr/bin/python3 make_xls_samples.py OUTDIR
  values.xls     numbers (RK and IEEE), accented text, TAB/CR in text, booleans, an error,
                 a formula, dates and times with date formats, a hidden second sheet
  dates1904.xls  the same date in the 1904 date system
  long_sst.xls   a shared-string table far larger than one record, and a 20,000-char string
"""
import datetime
import os
import sys

import xlwt


def values(path):
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Datos")
    ws.write(0, 0, "Código")
    ws.write(0, 1, "Descripción")
    ws.write(1, 0, 42)                   # small integer: RK
    ws.write(1, 1, 1234.5)               # RK with the x100 flag
    ws.write(2, 0, 3.14159265358979)     # needs IEEE: NUMBER
    ws.write(2, 1, -123456789)           # negative integer
    ws.write(3, 0, "Año ñandú €uro")
    ws.write(3, 1, "uno\tdos\rtres\r\ncuatro")
    ws.write(4, 0, True)
    ws.write(4, 1, False)
    ws.row(5).set_cell_error(0, "#DIV/0!")
    ws.row(5).set_cell_error(1, 0x2A)  # #N/A by code: xlwt knows no name for it
    ws.row(5).set_cell_error(2, 0x0F)
    ws.write(6, 0, xlwt.Formula("A2*2"))
    ws.write(7, 0, datetime.date(2024, 2, 29), xlwt.easyxf(num_format_str="DD/MM/YYYY"))
    ws.write(7, 1, datetime.datetime(1900, 1, 1, 12, 0), xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm"))
    ws.write(8, 0, 45000.25, xlwt.easyxf(num_format_str='0.00 "días"'))
    ws.write(8, 1, 0.75, xlwt.easyxf(num_format_str="[h]:mm"))
    ws.write(9, 2, "")
    ws.write(10, 3, 1e300)
    hidden = wb.add_sheet("Oculta")
    hidden.write(0, 0, "no se lee")
    wb.save(path)


def dates1904(path):
    wb = xlwt.Workbook()
    wb.dates_1904 = True
    ws = wb.add_sheet("Hoja1")
    ws.write(0, 0, datetime.date(2021, 1, 1), xlwt.easyxf(num_format_str="YYYY-MM-DD"))
    ws.write(0, 1, 15)
    wb.save(path)


def long_sst(path):
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Largo")
    for i in range(3000):
        ws.write(i, 0, "Artículo número %d con descripción" % i)
    ws.write(0, 1, "".join(chr(0x41 + i % 26) for i in range(20000)))
    ws.write(1, 1, "ñ" * 9000 + "Ω" * 100)
    wb.save(path)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    values(os.path.join(out, "values.xls"))
    dates1904(os.path.join(out, "dates1904.xls"))
    long_sst(os.path.join(out, "long_sst.xls"))


if __name__ == "__main__":
    main()
