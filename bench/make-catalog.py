#!/usr/bin/python3
"""Writes the benchmark article list: catalog_<ROWS>.xlsx (or .csv) in OUTDIR.

  make-catalog.py OUTDIR [ROWS] [--csv]    ROWS data rows under one header row (default 65534);
                                           --csv: a UTF-8 CSV file instead, for lists past a
                                           workbook's 1,048,576 rows or quick to write

14 columns: codes, descriptions with accents, NCM texts, weights, origins, units, brands,
models, prices, quantities, EAN codes, makers and remarks, some cells left empty. The
default sheet has 65,535 rows, one more than a load reads. The same ROWS always give the
same bytes. Needs python3-xlsxwriter (run with /usr/bin/python3).
"""
import csv
import datetime
import os
import random
import sys

import xlsxwriter

HEADER = ["Codigo", "Descripcion", "NCM", "Peso Neto", "Peso Bruto", "Origen", "Unidad",
          "Marca", "Modelo", "Precio", "Cantidad", "EAN", "Fabricante", "Observaciones"]

ITEMS = ["Válvula", "Tornillo", "Tuerca", "Arandela", "Rodamiento", "Engranaje", "Motor",
         "Sensor", "Cable", "Conector", "Placa", "Filtro", "Bomba", "Manguera", "Correa",
         "Llave", "Fusible", "Relé", "Disyuntor", "Transformador", "Teclado", "Monitor",
         "Impresora", "Enrutador"]
KINDS = ["hexagonal", "inoxidable", "galvanizado", "blindado", "industrial", "eléctrico",
         "hidráulico", "neumático", "digital", "analógico", "reforzado", "compacto",
         "modular", "automotriz", "de precisión", "térmico"]
MATERIALS = ["acero al carbono", "aluminio", "latón", "polipropileno", "nailon",
             "caucho nitrílico", "fundición gris", "cobre", "PVC", "bronce"]
SIZES = ["M8 x 40", "3/8\"", "220 V", "12 V", "24 V", "10 A", "1/2\"", "DN25", "IP67",
         "USB-C", "RJ45", "6 mm", "1500 W", "2 vías", "4 polos", "Ø 50 mm"]
ORIGINS = ["China", "Alemania", "Brasil", "Estados Unidos", "Japón", "México", "Italia",
           "Corea del Sur", "Taiwán", "India", "España", "Francia", "Perú", "Vietnam",
           "Turquía"]
UNITS = ["UN", "KG", "PZA", "CJ", "MT", "LT", "PAR"]
BRANDS = ["Acindar", "Tramontina", "Bosch", "Siemens", "WEG", "Schneider", "Makita",
          "Bahco", "Stanley", "SKF", "Festo", "Parker", "Philips", "Ñandú"]
MODELS = ["MX", "PRO", "S", "XT", "HD", "ECO"]
MAKERS = ["Metalúrgica del Plata S.A.", "Bosch GmbH", "Siemens AG", "WEG S.A.",
          "Schneider Electric", "Makita Corporation", "SKF AB", "Festo SE",
          "Parker Hannifin", "Shenzhen Xinda Co.", "Ningbo Tools Co.", "Talleres Ñuñoa SRL"]
REMARKS = ["verificar embalaje", "lote importado 2024", "frágil: manipular con cuidado",
           "reemplaza código anterior", "espera licencia de importación",
           "ver certificado de seguridad", "producto controlado", "stock bajo",
           "proveedor sin EAN", "revisar posición NCM", "bajo régimen de excepción",
           "muestra sin cargo"]

SEED = 1913
# Codes stay unique: the number part walks 0..99999 with a step prime to 100000.
CODE_STEP = 37813


def ean13(rnd):
    digits = "779" + "%09d" % rnd.randrange(10 ** 9)
    total = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(digits))
    return digits + str((10 - total % 10) % 10)


def maybe(rnd, share, value):
    """value in `share` of the rows, an empty cell in the rest."""
    return value if rnd.random() < share else None


def article(rnd, i):
    item = rnd.choice(ITEMS)
    description = "%s %s %s %s serie %d" % (item, rnd.choice(KINDS), rnd.choice(MATERIALS), rnd.choice(SIZES),
                                           rnd.randrange(100, 10000))
    net = round(rnd.uniform(0.005, 240.0), 3)
    gross = round(net * rnd.uniform(1.0, 1.25), 3)
    return [
        "%s%s-%05d" % (item[:2].upper(), chr(65 + rnd.randrange(26)), (i * CODE_STEP) % 100000),
        description[:50],
        "%04d.%02d.%02d" % (rnd.randrange(2501, 9706), rnd.randrange(100), rnd.randrange(100)),
        net,
        maybe(rnd, 0.9, gross),
        maybe(rnd, 0.95, rnd.choice(ORIGINS)),
        rnd.choice(UNITS),
        maybe(rnd, 0.92, rnd.choice(BRANDS)),
        maybe(rnd, 0.8, "%s-%d" % (rnd.choice(MODELS), rnd.randrange(10, 10000))),
        round(rnd.uniform(0.25, 9999.99), 2),
        rnd.randrange(1, 5000),
        maybe(rnd, 0.85, ean13(rnd)),
        maybe(rnd, 0.9, rnd.choice(MAKERS)),
        maybe(rnd, 0.4, rnd.choice(REMARKS)),
    ]


def write_catalog(path, rows):
    book = xlsxwriter.Workbook(path)  # shared strings, as Excel writes them
    book.set_properties({"created": datetime.datetime(2025, 1, 1)})  # same bytes every time
    sheet = book.add_worksheet("Articulos")
    sheet.write_row(0, 0, HEADER, book.add_format({"bold": True}))
    rnd = random.Random(SEED)
    for r in range(1, rows + 1):
        for c, value in enumerate(article(rnd, r)):
            if value is None:
                continue
            if isinstance(value, str):
                sheet.write_string(r, c, value)  # codes, NCM and EAN stay text
            else:
                sheet.write_number(r, c, value)
    book.close()


def write_csv(path, rows):
    with open(path, "w", encoding="utf-8", newline="") as f:
        out = csv.writer(f, lineterminator="\r\n")
        out.writerow(HEADER)
        rnd = random.Random(SEED)
        for r in range(1, rows + 1):
            out.writerow(["" if v is None else v for v in article(rnd, r)])


def main():
    args = [a for a in sys.argv[1:] if a != "--csv"]
    if len(args) not in (1, 2):
        sys.exit(__doc__)
    rows = int(args[1]) if len(args) == 2 else 65534
    os.makedirs(args[0], exist_ok=True)
    as_csv = "--csv" in sys.argv[1:]
    path = os.path.join(args[0], "catalog_%d.%s" % (rows, "csv" if as_csv else "xlsx"))
    (write_csv if as_csv else write_catalog)(path, rows)
    print(path)


if __name__ == "__main__":
    main()
