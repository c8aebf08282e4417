#!/usr/bin/env python3
"""The real sorvanta-lote killed (SIGKILL) while it sends a long sheet to the embedded catalog,
then run again to the end: the catalog must come out as from one clean run (two, when the kill
came after the commit), and at the kill every article must be either fully written or untouched.

    Kill_test.py SORVANTA_LOTE [--postgres INFO_FILE]

With --postgres the catalog is on the private PostgreSQL server INFO_FILE describes
(scripts/pg-test-server.sh). Exits 77 (skipped) when the program or the server is missing or
the machine gives no terminal.
"""
import contextlib
import os
import pty
import random
import re
import select
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

SKIP = 77
ROWS = 20000
CATALOG = "GEN"
FIELDS = ["A=ARTICULO", "B=DESCRIPCION", "C=ANEXAR DESCRIPCION", "D=DESCRIPC_MARIA", "E=NCM", "F=KILOS_UNITARIO",
          "G=PAIS_ORIGEN", "H=OBSERVACION1", "I=UNIDAD", "J=SUFIJOS"]
COLUMNS = ("idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, IdPais, USUARIO, "
           "observacion1, observacion2, observacion3, idunidad, sufijos")
# FECHA holds the moment of the run, so it only has to be there.
FECHA = re.compile(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d")
SCHEMAS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "sql")
# host, port and user of the PostgreSQL server; None: the embedded catalog.
SERVER = None
# Kill points, as the percentage of the sending shown on the terminal; a list is one kill per run.
KILLS = [("as sending starts", [0]), ("a third in", [33]), ("two thirds in", [67]), ("at the end", [99]),
         ("twice over", [20, 50])]


def write_sheet(path):
    rnd = random.Random(12)
    origins = ["Brasil", "China", "Italia", ""]
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("Codigo,Descripcion,Anexo,Maria,NCM,Peso,Origen,Obs,Unidad,Sufijos\r\n")
        for i in range(ROWS):
            quote = "'" if i % 97 == 0 else ""
            cells = ["K-%05d" % i, "Pieza %d%s" % (i, quote), "" if i % 3 else "serie %d" % (i % 11),
                     "PIEZA %d" % (i % 50), "8481.80.99" if i % 2 else "8481.80", "%.3f" % (rnd.random() * 9),
                     origins[i % 4], "" if i % 5 else "nota%s %d" % (quote, i), "UN" if i % 2 else "",
                     "" if i % 7 else "X"]
            f.write(",".join(cells) + "\r\n")


class Home:
    """One operator's home with the embedded catalog."""

    def __init__(self, root, program):
        self.root = root
        self.program = program
        self.env = dict(os.environ, HOME=root, XDG_CONFIG_HOME=root + "/config", XDG_DATA_HOME=root + "/data",
                        LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.catalog = root + "/data/sorvanta/catalogos.sqlite"
        if SERVER:
            self.catalog = "kill_" + re.sub(r"\W", "_", os.path.basename(root))
            os.makedirs(root + "/config/sorvanta", exist_ok=True)
            with open(root + "/config/sorvanta/conexiones.ini", "w") as f:
                for entity in ("CATALOGOS", "SYSTABLAS"):
                    f.write("[%s]\nDriver=QPSQL\nServidor=%s\nPuerto=%s\nUsuario=%s\nBaseDatos=%s\nTipo=SQL\n\n"
                            % (entity, SERVER["host"], SERVER["port"], SERVER["user"], self.catalog))

    def args(self, sheet):
        args = [self.program, sheet, "--catalogo", CATALOG, "--pais", "Brasil=BRA", "--pais", "China=CHN",
                "--pais", "Italia=ITA"]
        for field in FIELDS:
            args += ["--campo", field]
        return args

    def run(self, sheet):
        done = subprocess.run(self.args(sheet), env=self.env, cwd=self.root, capture_output=True, text=True,
                              timeout=300)
        if done.returncode != 0:
            raise AssertionError("status %d: %s" % (done.returncode, done.stderr))
        return done.stdout

    def kill_at(self, sheet, percent):
        """Runs with a terminal on standard error, to read the progress, and kills the run once
        the sending has reached the percentage. Returns what it printed on standard output."""
        master, slave = pty.openpty()
        with tempfile.TemporaryFile("w+") as out:
            process = subprocess.Popen(self.args(sheet), env=self.env, cwd=self.root, stdout=out, stderr=slave)
            os.close(slave)
            seen = b""
            try:
                while True:
                    ready, _, _ = select.select([master], [], [], 120)
                    if not ready:
                        raise AssertionError("no progress from the run")
                    try:
                        chunk = os.read(master, 4096)
                    except OSError:
                        chunk = b""
                    if not chunk:
                        raise AssertionError("the run ended before the kill at %d %%: %r" % (percent, seen[-300:]))
                    seen += chunk
                    shown = [int(p) for p in re.findall(rb"Enviando (\d+) %", seen)]
                    if shown and shown[-1] >= percent:
                        break
                process.send_signal(signal.SIGKILL)
            finally:
                process.kill()
                process.wait()
                os.close(master)
            out.seek(0)
            return out.read()


def psql(database, sql, stdin=None):
    done = subprocess.run(["psql", "-X", "-q", "-A", "-t", "-F", "\x1f", "-v", "ON_ERROR_STOP=1", "-h", SERVER["host"],
                           "-p", SERVER["port"], "-U", SERVER["user"], "-d", database] + (["-c", sql] if sql else []),
                          input=stdin, capture_output=True, text=True, check=True)
    return [tuple(line.split("\x1f")) for line in done.stdout.splitlines()]


def rows(catalog):
    if SERVER:
        fecha = "to_char(FECHA, 'YYYY-MM-DD HH24:MI:SS')"
        got = [psql(catalog, "select %s, %s from catarticulos order by idcatalogo, idarticulo" % (COLUMNS, fecha)),
               psql(catalog, "select PAI, ORI, ESM from ORG order by PAI"),
               psql(catalog, "select * from catalogo order by idcatalogo")]
    else:
        got = sqlite_rows(catalog)
    articles = {}
    for row in got[0]:
        if not FECHA.fullmatch(row[-1] or ""):
            raise AssertionError("article without its date: %r" % (row,))
        articles[row[:2]] = row[:-1]
    return articles, got[1], got[2]


def sqlite_rows(catalog):
    with contextlib.closing(sqlite3.connect("file:%s?mode=ro" % catalog, uri=True)) as db:
        ok = db.execute("pragma integrity_check").fetchall()
        if ok != [("ok",)]:
            raise AssertionError("damaged catalog: %r" % ok)
        articles = db.execute("select %s, FECHA from catarticulos order by idcatalogo, idarticulo" % COLUMNS).fetchall()
        origins = db.execute("select PAI, ORI, ESM from ORG order by PAI").fetchall()
        catalogs = db.execute("select * from catalogo order by idcatalogo").fetchall()
    return articles, origins, catalogs


def seed(catalog):
    """A catalog that already holds every fifth article of the sheet, with other values."""
    insert = ("insert into catarticulos (idcatalogo, idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario,"
              " IdPais, USUARIO, FECHA, observacion1, idunidad, sufijos) values ")
    values = [(CATALOG, "K-%05d" % i, "Vieja %d" % i, "VIEJA", "7318.15.00.100", 1.5, "ARG", "otro",
               "2020-01-01 00:00:00", "antes", "KG", "Z") for i in range(0, ROWS, 5)]
    if SERVER:
        psql(catalog, None, insert + ",\n".join(repr(v) for v in values) + ";\n")
        return
    with contextlib.closing(sqlite3.connect(catalog)) as db, db:
        db.executemany(insert + "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", values)


def create(home, template=None):
    """The home's PostgreSQL catalog, empty or as a copy of another home's."""
    psql("postgres", "drop database if exists %s" % home.catalog)
    psql("postgres", "create database %s%s" % (home.catalog, " template " + template.catalog if template else ""))
    for script in ([] if template else ["postgres-catalogos.sql", "postgres-paises.sql"]):
        with open(os.path.join(SCHEMAS, script), encoding="utf-8") as f:
            psql(home.catalog, None, f.read())


def check_kill_point(before, after, killed, what):
    """Each article is as it was before the run or as the whole run leaves it, never between."""
    for key, row in killed[0].items():
        if row != after[0].get(key) and row != before[0].get(key):
            raise AssertionError("%s: article half written: %r\n whole run: %r\n before: %r"
                                 % (what, row, after[0].get(key), before[0].get(key)))
    for key in before[0]:
        if key not in killed[0]:
            raise AssertionError("%s: article lost: %r" % (what, key))


def compare(expected, got, what):
    differing = [(key, row, got[0].get(key)) for key, row in expected[0].items() if got[0].get(key) != row]
    extra = sorted(set(got[0]) - set(expected[0]))
    if differing or extra:
        lines = ["%d articles differ from the clean runs, %d extra; first ones:" % (len(differing), len(extra))]
        lines += [" clean %r\n rerun %r" % (row, other) for _, row, other in differing[:5]]
        raise AssertionError("%s: %s" % (what, "\n".join(lines)))
    if got[1:] != expected[1:]:
        raise AssertionError("%s: origins or catalogs differ: %r != %r" % (what, got[1:], expected[1:]))


def program_and_server(argv):
    """The program's absolute path from `SORVANTA_LOTE [--postgres INFO_FILE]`, setting SERVER;
    None when the program or the server is missing."""
    global SERVER
    if len(argv) == 4 and argv[2] == "--postgres":
        if not os.path.exists(argv[3]):
            print("no PostgreSQL server", file=sys.stderr)
            return None
        with open(argv[3]) as f:
            SERVER = dict(line.strip().split("=", 1) for line in f if "=" in line)
        argv = argv[:2]
    if len(argv) != 2 or not os.access(argv[1], os.X_OK):
        print("sorvanta-lote not given", file=sys.stderr)
        return None
    return os.path.abspath(argv[1])


def main(argv):
    program = program_and_server(argv)
    if not program:
        return SKIP
    try:
        os.close(os.openpty()[0])
    except OSError:
        print("no terminal to read the progress from", file=sys.stderr)
        return SKIP
    with tempfile.TemporaryDirectory(prefix="sorvanta-kill-") as tmp:
        sheet = tmp + "/lista.csv"
        write_sheet(sheet)
        pristine = Home(tmp + "/pristine", program)
        os.makedirs(pristine.root, exist_ok=True)
        if SERVER:
            create(pristine)
        # A review run creates the embedded databases and sends nothing.
        subprocess.run(pristine.args(sheet)[:4] + ["--revisar"] + pristine.args(sheet)[4:], env=pristine.env,
                       cwd=pristine.root, capture_output=True, check=False)
        if not SERVER and not os.path.exists(pristine.catalog):
            raise AssertionError("the review run made no catalog")
        seed(pristine.catalog)
        start = rows(pristine.catalog)

        def fresh(name):
            shutil.copytree(pristine.root, tmp + "/" + name)
            home = Home(tmp + "/" + name, program)
            if SERVER:
                create(home, pristine)
            return home

        # The catalog after 0, 1, 2 and 3 clean runs. A second run of the same list updates what the
        # first inserted and writes other values (no blank after the description, the weight not
        # rounded): a kill that comes after the commit leaves the operator a second run to make.
        after_runs = [start]
        clean_home = fresh("clean")
        began = time.monotonic()
        summary = clean_home.run(sheet).strip()
        print("clean run: %.1f s, %s" % (time.monotonic() - began, summary))
        after_runs.append(rows(clean_home.catalog))
        for _ in range(2):
            clean_home.run(sheet)
            after_runs.append(rows(clean_home.catalog))
        failures = []
        for what, percents in KILLS:
            home = fresh(what.replace(" ", "-"))
            try:
                done = 0  # whole runs the catalog holds
                for percent in percents:
                    said = home.kill_at(sheet, percent)
                    killed = rows(home.catalog)
                    where = "killed %s at %d %%" % (what, percent)
                    check_kill_point(after_runs[done], after_runs[done + 1], killed, where)
                    if said or killed[0] == after_runs[done + 1][0]:
                        # Reported sent only once committed.
                        compare(after_runs[done + 1], killed, where + " after reporting %r" % said)
                        done += 1
                home.run(sheet)
                compare(after_runs[done + 1], rows(home.catalog), "killed %s, then run again" % what)
                print("killed %s: ok%s" % (what, " (after the commit)" if done else ""))
            except AssertionError as e:
                failures.append(str(e))
                print("killed %s: FAILED\n%s" % (what, e))
            shutil.rmtree(home.root)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
