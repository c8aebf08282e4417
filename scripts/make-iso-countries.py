#!/usr/bin/env python3
"""Writes every name Debian's iso-codes package knows for each ISO 3166-1 country, in
every language it translates them into, for the country suggestions of "Establecer Pais".

    make-iso-countries.py OUTPUT [ISO_CODES_JSON] [LOCALE_DIR]

Run by the build (src/core/CMakeLists.txt); the output is compiled into the program, so
nothing of iso-codes is needed at run time. One line per country and name, sorted, so the
same iso-codes gives the same bytes on any machine:

    ALPHA3 TAB ALPHA2 TAB NAME

NAME is the name, common name or official name of the entry, in English or translated.
"""
import gettext
import json
import pathlib
import sys

CODES = "/usr/share/iso-codes/json/iso_3166-1.json"
LOCALES = "/usr/share/locale"
DOMAIN = "iso_3166-1"
KINDS = ("name", "common_name", "official_name")


def translations(locales):
    """The translation of every language that has the domain."""
    found = []
    for mo in sorted(pathlib.Path(locales).glob("*/LC_MESSAGES/" + DOMAIN + ".mo")):
        with open(mo, "rb") as f:
            found.append(gettext.GNUTranslations(f))
    if not found:
        raise SystemExit(f"no {DOMAIN}.mo under {locales}: is iso-codes installed?")
    return found


def rows(entries, languages):
    for e in entries:
        for kind in KINDS:
            english = e.get(kind)
            if not english:
                continue
            for name in [english] + [t.gettext(english) for t in languages]:
                name = " ".join(name.split())
                if name:
                    yield e["alpha_3"], e["alpha_2"], name


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    out = pathlib.Path(sys.argv[1])
    codes = sys.argv[2] if len(sys.argv) > 2 else CODES
    locales = sys.argv[3] if len(sys.argv) > 3 else LOCALES
    with open(codes, encoding="utf-8") as f:
        entries = json.load(f)["3166-1"]
    lines = sorted(set("\t".join(r) for r in rows(entries, translations(locales))))
    out.parent.mkdir(parents=True, exist_ok=True)
    text = "".join(line + "\n" for line in lines)
    # Left alone when unchanged, so the program is not rebuilt for nothing.
    if not out.exists() or out.read_text(encoding="utf-8") != text:
        out.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
