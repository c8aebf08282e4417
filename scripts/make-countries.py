#!/usr/bin/env python3
"""Writes the country table shipped with the program (id = ISO 3166-1 alpha-3 code,
Descripcion = the Spanish name) from Debian's iso-codes package.

Run once when iso-codes changes; the outputs are committed:
  src/database/paises.tsv  compiled in, seeds the embedded SYSTABLAS database
  sql/postgres-paises.sql           the same rows for a PostgreSQL SYSTABLAS database
"""
import gettext
import json
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
CODES = "/usr/share/iso-codes/json/iso_3166-1.json"
SPANISH = "/usr/share/locale/es/LC_MESSAGES/iso_3166-1.mo"


def countries():
    with open(CODES, encoding="utf-8") as f:
        entries = json.load(f)["3166-1"]
    with open(SPANISH, "rb") as f:
        spanish = gettext.GNUTranslations(f)
    rows = [(e["alpha_3"], spanish.gettext(e["name"])) for e in entries]
    for code, name in rows:
        if "\t" in name or "\n" in name:
            raise SystemExit(f"unexpected character in the name of {code}")
    return sorted(rows)


def main():
    rows = countries()
    tsv = ROOT / "src/database/paises.tsv"
    tsv.write_text("".join(f"{code}\t{name}\n" for code, name in rows), encoding="utf-8")
    values = ",\n".join("('{}', '{}')".format(code, name.replace("'", "''")) for code, name in rows)
    sql = ROOT / "sql/postgres-paises.sql"
    sql.write_text("-- ISO 3166-1 countries with their Spanish names (scripts/make-countries.py).\n"
                   "insert into PAIS (id, Descripcion) values\n" + values + ";\n", encoding="utf-8")
    print(f"{len(rows)} countries written")


if __name__ == "__main__":
    main()
