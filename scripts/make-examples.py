#!/usr/bin/python3
"""Writes the example article lists that operators can load, and single test sheets.

  make-examples.py [OUTDIR]          articulos.xlsx, .xls, .ods and .csv (default: examples/)
  make-examples.py SHEET.json OUT    one sheet in the format named by OUT's extension

A sheet is a JSON list of rows, each a list of cells:
  "text"  1.5  null (empty)  {"date": "2024-03-05"}  {"bool": true}
  {"formula": "=B2*2", "value": 3}  {"error": "#DIV/0!"}
Needs python3-xlsxwriter and python3-xlwt (run with /usr/bin/python3).
"""
import csv
import datetime
import json
import os
import sys
import zipfile
from xml.sax.saxutils import escape

HEADER = ["Codigo", "Descripcion", "Descripcion Maria", "NCM", "Peso Unitario", "Origen",
          "Observaciones"]

ARTICLES = [
    ["VAL-1020-A", "Válvula esférica 1/2\" bronce", "VALVULA ESFERICA DE BRONCE", "8481.80.99", 0.245, "China", ""],
    ["VAL-1020-B", "Válvula esférica 3/4\" bronce", "VALVULA ESFERICA DE BRONCE", "8481.80.99", 0.380, "China", ""],
    ["ROD-6204-2RS", "Rodamiento rígido de bolas 6204", "RODAMIENTO DE BOLAS", "8482.10.10", 0.106, "ALEMANIA", "Sellado ambos lados"],
    ["ROD-6305-ZZ", "Rodamiento rígido de bolas 6305", "RODAMIENTO DE BOLAS", "8482.10.10", 0.232, "ALEMANIA", ""],
    ["TOR-M8-30", "Tornillo hexagonal M8 x 30 zincado", "TORNILLO DE ACERO", "7318.15.00", 0.017, "Brasil", "Caja x 100"],
    ["TOR-M10-40", "Tornillo hexagonal M10 x 40 zincado", "TORNILLO DE ACERO", "7318.15.00", 0.034, "Brasil", "Caja x 50"],
    ["TUE-M8", "Tuerca hexagonal M8 zincada", "TUERCA DE ACERO", "7318.16.00", 0.005, "Brasil", ""],
    ["ARA-8-PL", "Arandela plana 8 mm", "ARANDELA DE ACERO", "7318.22.00", 0.002, "China", ""],
    ["SEN-IND-12", "Sensor inductivo M12 PNP", "DETECTOR DE PROXIMIDAD", "8536.50.90", 0.048, "ALEMANIA", "Alcance 4 mm"],
    ["REL-24V-2C", "Relé 24 V dos contactos", "RELE ELECTRICO", "8536.49.00", 0.035, "China", ""],
    ["CAB-3X1.5", "Cable tipo taller 3 x 1,5 mm² (metro)", "CONDUCTOR ELECTRICO", "8544.49.00", 0.120, "Argentina", "Venta por metro"],
    ["CON-RJ45", "Conector RJ45 categoría 6", "CONECTOR", "8536.69.90", 0.004, "China", ""],
    ["FIL-AC-200", "Filtro de aceite hidráulico 200 µm", "FILTRO PARA ACEITE", "8421.23.00", 0.650, "EEUU", ""],
    ["BOM-CEN-1HP", "Bomba centrífuga 1 HP monofásica", "BOMBA CENTRIFUGA", "8413.70.10", 11.400, "Italia", "Uso domiciliario"],
    ["MAN-HID-1/2", "Manguera hidráulica 1/2\" (metro)", "TUBO DE CAUCHO", "4009.42.90", 0.410, "EEUU", ""],
    ["COR-A42", "Correa en V perfil A 42\"", "CORREA DE TRANSMISION", "4010.32.00", 0.150, "Brasil", ""],
    ["DIS-2X16", "Disyuntor bipolar 2 x 16 A", "INTERRUPTOR AUTOMATICO", "8536.20.00", 0.210, "ALEMANIA", ""],
    ["FUS-10A", "Fusible cilíndrico 10 A 10 x 38", "FUSIBLE", "8536.10.00", 0.008, "China", "Caja x 10"],
    ["TRA-220-24", "Transformador 220/24 V 100 VA", "TRANSFORMADOR", "8504.31.19", 1.850, "Brasil", ""],
    ["LLA-COMB-13", "Llave combinada 13 mm", "HERRAMIENTA DE MANO", "8204.11.00", 0.095, "China", ""],
    ["ENG-Z40-M2", "Engranaje recto Z40 módulo 2", "ENGRANAJE", "8483.40.10", 0.540, "EEUU", ""],
    ["MOT-0.5HP", "Motor eléctrico 0,5 HP 1450 rpm", "MOTOR ELECTRICO", "8501.52.10", 7.300, "Brasil", ""],
]


def cell_kind(cell):
    if cell is None or cell == "":
        return "empty"
    if isinstance(cell, bool):
        return "bool"
    if isinstance(cell, (int, float)):
        return "number"
    if isinstance(cell, str):
        return "text"
    for key in ("date", "bool", "formula", "error"):
        if key in cell:
            return key
    raise ValueError("unknown cell %r" % (cell,))


def parse_date(text):
    return datetime.datetime.fromisoformat(text)


def write_xlsx(rows, path):
    import xlsxwriter
    book = xlsxwriter.Workbook(path, {"strings_to_numbers": False, "strings_to_formulas": False,
                                      "strings_to_urls": False})
    sheet = book.add_worksheet("Articulos")
    date_format = book.add_format({"num_format": "dd/mm/yyyy"})
    for r, row in enumerate(rows):
        for c, cell in enumerate(row):
            kind = cell_kind(cell)
            if kind == "text":
                sheet.write_string(r, c, cell)
            elif kind == "number":
                sheet.write_number(r, c, cell)
            elif kind == "date":
                sheet.write_datetime(r, c, parse_date(cell["date"]), date_format)
            elif kind == "bool":
                sheet.write_boolean(r, c, cell["bool"] if isinstance(cell, dict) else cell)
            elif kind == "formula":
                sheet.write_formula(r, c, cell["formula"], None, cell["value"])
            elif kind == "error":
                # A formula whose cached result is the error value.
                sheet.write_formula(r, c, "=1/0", None, cell["error"])
    book.close()


def write_xls(rows, path):
    import xlwt
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Articulos")
    date_style = xlwt.easyxf(num_format_str="dd/mm/yyyy")
    for r, row in enumerate(rows):
        for c, cell in enumerate(row):
            kind = cell_kind(cell)
            if kind in ("text", "number"):
                sheet.write(r, c, cell)
            elif kind == "date":
                sheet.write(r, c, parse_date(cell["date"]), date_style)
            elif kind == "bool":
                sheet.write(r, c, bool(cell["bool"] if isinstance(cell, dict) else cell))
            elif kind == "error":
                sheet.row(r).set_cell_error(c, cell["error"])
            elif kind == "formula":
                # The xls writer cannot store a formula's cached result; keep the value.
                sheet.write(r, c, cell["value"])
    book.save(path)


def ods_text(text):
    """Cell text as ODF paragraphs: TAB as <text:tab/>, runs of blanks as <text:s/>."""
    paragraphs = []
    for line in text.split("\n"):
        out = []
        blanks = 0
        for ch in line:
            if ch == " ":
                blanks += 1
                continue
            if blanks:
                out.append(" " if blanks == 1 else ' <text:s text:c="%d"/>' % (blanks - 1))
                blanks = 0
            if ch == "\t":
                out.append("<text:tab/>")
            elif ch == "\r":
                out.append("&#13;")
            else:
                out.append(escape(ch))
        if blanks:
            out.append(" " if blanks == 1 else ' <text:s text:c="%d"/>' % (blanks - 1))
        paragraphs.append("<text:p>%s</text:p>" % "".join(out))
    return "".join(paragraphs)


def ods_number(value):
    return repr(float(value)) if isinstance(value, float) else str(value)


def ods_cell(cell):
    kind = cell_kind(cell)
    if kind == "empty":
        return "<table:table-cell/>"
    if kind == "text":
        return '<table:table-cell office:value-type="string">%s</table:table-cell>' % ods_text(cell)
    if kind == "number":
        return ('<table:table-cell office:value-type="float" office:value="%s"><text:p>%s</text:p>'
                "</table:table-cell>" % (ods_number(cell), ods_number(cell)))
    if kind == "date":
        return ('<table:table-cell table:style-name="ce1" office:value-type="date" office:date-value="%s">'
                "<text:p>%s</text:p></table:table-cell>" % (cell["date"], cell["date"]))
    if kind == "bool":
        value = cell["bool"] if isinstance(cell, dict) else cell
        return ('<table:table-cell office:value-type="boolean" office:boolean-value="%s"><text:p>%s</text:p>'
                "</table:table-cell>" % ("true" if value else "false", "VERDADERO" if value else "FALSO"))
    if kind == "formula":
        formula = "of:" + cell["formula"]
        return ('<table:table-cell table:formula="%s" office:value-type="float" office:value="%s">'
                "<text:p>%s</text:p></table:table-cell>"
                % (escape(formula, {'"': "&quot;"}), ods_number(cell["value"]), ods_number(cell["value"])))
    if kind == "error":
        return ('<table:table-cell table:formula="of:=1/0" office:value-type="string" office:string-value="">'
                "<text:p>%s</text:p></table:table-cell>" % escape(cell["error"]))
    raise ValueError(kind)


ODS_CONTENT_HEAD = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" '
    'xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.2">'
    '<office:automatic-styles>'
    '<number:date-style style:name="N37"><number:day number:style="long"/><number:text>/</number:text>'
    '<number:month number:style="long"/><number:text>/</number:text><number:year number:style="long"/>'
    '</number:date-style>'
    '<style:style style:name="ce1" style:family="table-cell" style:data-style-name="N37"/>'
    '</office:automatic-styles>'
    '<office:body><office:spreadsheet><table:table table:name="Articulos">')
ODS_CONTENT_TAIL = '</table:table></office:spreadsheet></office:body></office:document-content>'
ODS_MANIFEST = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" '
    'manifest:version="1.2">'
    '<manifest:file-entry manifest:full-path="/" manifest:version="1.2" '
    'manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
    '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
    '</manifest:manifest>')


def write_ods(rows, path):
    width = max((len(row) for row in rows), default=1)
    body = ['<table:table-column table:number-columns-repeated="%d"/>' % max(width, 1)]
    for row in rows:
        body.append("<table:table-row>%s</table:table-row>" % "".join(ods_cell(c) for c in row))
    with zipfile.ZipFile(path, "w") as z:
        # The mimetype entry comes first and uncompressed, so the file announces its kind.
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                   compress_type=zipfile.ZIP_STORED)
        z.writestr("META-INF/manifest.xml", ODS_MANIFEST, compress_type=zipfile.ZIP_DEFLATED)
        z.writestr("content.xml", ODS_CONTENT_HEAD + "".join(body) + ODS_CONTENT_TAIL,
                   compress_type=zipfile.ZIP_DEFLATED)


def csv_field(cell):
    kind = cell_kind(cell)
    if kind == "empty":
        return ""
    if kind == "text":
        return cell
    if kind == "number":
        return ods_number(cell)
    if kind == "date":
        return cell["date"]
    if kind == "bool":
        return "TRUE" if (cell["bool"] if isinstance(cell, dict) else cell) else "FALSE"
    if kind == "formula":
        return ods_number(cell["value"])
    return cell["error"]


def write_csv(rows, path):
    with open(path, "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f, lineterminator="\r\n")
        for row in rows:
            writer.writerow([csv_field(c) for c in row])


WRITERS = {".xlsx": write_xlsx, ".xls": write_xls, ".ods": write_ods, ".csv": write_csv}


def write_sheet(rows, path):
    WRITERS[os.path.splitext(path)[1].lower()](rows, path)


def main(argv):
    if len(argv) == 3:
        with open(argv[1], encoding="utf-8") as f:
            write_sheet(json.load(f), argv[2])
        return 0
    if len(argv) > 3:
        print(__doc__, file=sys.stderr)
        return 2
    outdir = argv[1] if len(argv) == 2 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                          "..", "examples")
    os.makedirs(outdir, exist_ok=True)
    rows = [HEADER] + ARTICLES
    for ext in WRITERS:
        write_sheet(rows, os.path.join(outdir, "articulos" + ext))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
