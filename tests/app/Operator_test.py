#!/usr/bin/env python3
"""The real program on its own X server, driven only by X key and mouse events (xdotool) as
an operator drives it, on a fresh home with the embedded catalog; the catalog files and the
report are then read back.

    Operator_test.py SORVANTA EXAMPLES_DIR

Exits 77 (skipped) when Xvfb, xdotool or xprop is missing.
"""
import contextlib
import csv
import datetime
import decimal
import os
import pwd
import shutil
import socket
import sqlite3
import subprocess
import sys
import tempfile
import time
import unittest

SKIP = 77
TOOLS = ("Xvfb", "xdotool", "xprop")
PROGRAM = EXAMPLES = None

# Designed places of the main window's controls, in twips (left, top, width, height).
TXT_ARCHIVO = (720, 390, 5415, 285)
CMD_PROCESAR = (6225, 390, 495, 285)
CBO_CATALOGOS = (720, 1050, 4725, 315)
CMD_EXPORTAR = (9585, 1470, 1860, 300)
GRID_TOP_LEFT = (60, 2085)
LIST_TOP_LEFT = (165, 2595)
TWIPS_PER_PIXEL = 15  # the X server runs at 96 dots per inch

# Field chooser entries, counted from "< ninguno >".
ARTICULO, DESCRIPCION, ANEXAR, DESCRIPC_MARIA, NCM, KILOS, PAIS = 1, 2, 3, 4, 5, 6, 7
TITLE = "Sorvanta"
# Near the most a window loads (65,533): F11 over them lasts a fraction of a second, F12 about a
# second, long enough for presses during it on a fast machine too.
LONG_ROWS = 65000
SENT = "Artículos enviados al catálogo PUR"


def run(*args, check=True):
    return subprocess.run(args, capture_output=True, text=True, check=check).stdout


class XServer:
    def __init__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            # -noreset: a server that resets as its last client leaves refuses the next one meanwhile.
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-dpi", "96", "-nolisten", "tcp",
             "-noreset", "r", "-ardelay", "200", "-arinterval", "25"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


def poll(condition, timeout, what):
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.02)


class Program:
    """One run of the program with its own home; the message boxes it shows are told by
    their title, read from their icon name and closed with Enter (or the mouse)."""

    def __init__(self, home):
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
                   XDG_RUNTIME_DIR=home, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        env.pop("QT_QPA_PLATFORM", None)
        self.errors = home + "/stderr.txt"
        with open(self.errors, "w") as errors:
            self.process = subprocess.Popen([PROGRAM], cwd=home, env=env, stdout=subprocess.DEVNULL, stderr=errors)
        try:
            self.main = poll(lambda: [w for w in self.windows() if self.name(w).startswith("Sorvanta de Catalogos")],
                             30, "the main window")[0]
        except AssertionError:
            self.stop()
            with open(self.errors) as errors:
                raise AssertionError("no main window; exit status %s, %s" % (self.process.returncode, errors.read()))
        self.seen = set()
        self.catalog = home + "/data/sorvanta/catalogos.sqlite"

    def stop(self):
        self.process.terminate()
        self.process.wait(10)

    def windows(self):
        return run("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid), check=False).split()

    @staticmethod
    def name(window):
        return run("xdotool", "getwindowname", window, check=False).strip()

    @staticmethod
    def geometry(window):
        values = dict(line.split("=") for line in run("xdotool", "getwindowgeometry", "--shell", window).split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def dialog(self, title, timeout=10):
        return poll(lambda: [w for w in self.windows() if self.name(w) == title], timeout, title)[0]

    def gone(self, window):
        poll(lambda: window not in self.windows(), 10, "a window to close")

    def boxes(self):
        """Message boxes open now and not seen before, with their texts."""
        found = [w for w in self.windows() if w not in self.seen and self.name(w) == TITLE]
        self.seen.update(found)
        return [(w, self.text(w)) for w in found]

    @staticmethod
    def text(window):
        out = run("xprop", "-id", window, "-notype", "_NET_WM_ICON_NAME")
        return out[out.find('"') + 1:out.rfind('"')]

    def answers(self, first_timeout=30, settle=0.8):
        """Closes every box that comes, the first within first_timeout, each later one within
        `settle` seconds of the last; returns their texts."""
        texts = []
        timeout = first_timeout
        while True:
            try:
                box, text = poll(self.boxes, timeout, "a message box")[0]
            except AssertionError:
                if texts or not first_timeout:
                    return texts
                raise
            texts.append(text)
            run("xdotool", "key", "Return")
            self.gone(box)
            timeout = settle

    def click_ok(self, box):
        x, y, w, h = self.geometry(box)
        run("xdotool", "mousemove", str(x + w - 50), str(y + h - 24), "click", "1")

    def click(self, twips, dx=None, dy=None):
        """Clicks a control of the main window given at its designed place, at its middle
        unless told (dx, dy in pixels from its corner)."""
        x, y, _, _ = self.geometry(self.main)
        left, top = twips[0] // TWIPS_PER_PIXEL, twips[1] // TWIPS_PER_PIXEL
        if dx is None:
            dx, dy = twips[2] // TWIPS_PER_PIXEL // 2, twips[3] // TWIPS_PER_PIXEL // 2
        run("xdotool", "mousemove", str(x + left + dx), str(y + top + dy), "click", "1")
        time.sleep(0.1)

    @staticmethod
    def keys(*names):
        run("xdotool", "key", "--delay", "30", *names)

    @staticmethod
    def type(text):
        run("xdotool", "type", "--delay", "10", text)

    def load(self, path):
        """Types the path, clicks "..." and cancels the dialog: the typed path is loaded."""
        self.click(TXT_ARCHIVO)
        self.type(path)
        self.click(CMD_PROCESAR)
        chooser = self.dialog("Seleccionar archivo de sorvanta")
        self.keys("Escape")
        self.gone(chooser)

    def choose_catalog(self, prefix):
        self.click(CBO_CATALOGOS)
        time.sleep(0.3)
        self.type(prefix)
        self.keys("Return")

    def assign(self, entries):
        """F1 on each column in turn, from the first: the chooser's entry by arrows, Enter."""
        self.click(GRID_TOP_LEFT, 60, 27)
        self.keys("Home")
        for entry in entries:
            self.keys("F1")
            chooser = self.dialog("Establecer Campo")
            self.keys(*["Down"] * entry, "Return")
            self.gone(chooser)
            self.keys("Right")

    def rows(self, sql, *args):
        # Closed at once: an open connection, even idle, keeps the program from the file.
        with contextlib.closing(sqlite3.connect("file:%s?mode=ro" % self.catalog, uri=True)) as db:
            return db.execute(sql, args).fetchall()

    def write(self, sql, rows):
        with contextlib.closing(sqlite3.connect(self.catalog)) as db, db:
            db.executemany(sql, rows)


def rounded(text):
    """The weight as the insert writes it: two decimals of the number as it is held."""
    return float(decimal.Decimal(float(text)).quantize(decimal.Decimal("0.01"), decimal.ROUND_HALF_UP))


class OperatorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.x = XServer()

    @classmethod
    def tearDownClass(cls):
        cls.x.stop()

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="sorvanta-x-")
        self.addCleanup(self.dir.cleanup)
        self.program = Program(self.dir.name)
        self.addCleanup(self.program.stop)

    def press(self, key):
        """The texts of the boxes that follow a press of the key."""
        self.program.keys(key)
        return self.program.answers()

    def test_whole_workflow_one_action_per_press(self):
        p = self.program
        with open(os.path.join(EXAMPLES, "articulos.csv"), encoding="utf-8", newline="") as f:
            articles = list(csv.reader(f))[1:]
        sheet = os.path.join(self.dir.name, "articulos.xlsx")
        shutil.copy(os.path.join(EXAMPLES, "articulos.xlsx"), sheet)
        p.load(sheet)
        # Every origin but one is known; Italia is asked in "Establecer Pais".
        p.write("insert into ORG (PAI, ORI, ESM) values (?, ?, '1')",
                [("China", "CHN"), ("ALEMANIA", "DEU"), ("Brasil", "BRA"), ("Argentina", "ARG"), ("EEUU", "USA")])
        p.assign([ARTICULO, DESCRIPCION, DESCRIPC_MARIA, NCM, KILOS, PAIS, ANEXAR])
        p.choose_catalog("[P")
        p.keys("F11")  # the focus is in the catalog list
        country = p.dialog("Establecer Pais")
        p.keys("Tab")
        p.type("Italia")
        p.keys("Tab", "ctrl+a")
        p.type("2")
        p.keys("F11")
        p.gone(country)
        self.assertEqual(p.answers(first_timeout=0), [], "processing showed a message")
        self.assertEqual(p.rows("select PAI, ORI, ESM from ORG where PAI = 'Italia'"), [("Italia", "ITA", "2")])

        # Untick the second item; hold Down (auto-repeat runs to the last item) and untick that too.
        p.click(LIST_TOP_LEFT, 60, 27)
        p.keys("Down", "space")
        run("xdotool", "keydown", "Down")
        time.sleep(1.0)
        run("xdotool", "keyup", "Down")
        p.keys("space")
        sent = articles[:1] + articles[2:-1]

        countries = {"China": "CHN", "ALEMANIA": "DEU", "Brasil": "BRA", "Argentina": "ARG", "EEUU": "USA",
                     "Italia": "ITA"}
        user = "Sorvanta - %s\\%s" % (pwd.getpwuid(os.geteuid()).pw_name, socket.gethostname())

        def catalog_after(runs, since):
            """Every row as the statements of `runs` sends give it (PUR: each update appends the
            addition again, and writes the weight unrounded)."""
            expected = []
            for code, desc, maria, ncm, kilos, origin, addition in sent:
                description = desc + " " + addition + (" " + addition) * (runs - 1) if addition else desc + " "
                weight = rounded(kilos) if runs == 1 else float(kilos)
                expected.append((code, description, maria, ncm, weight, countries[origin], user, "", "", "", "", ""))
            rows = p.rows("select idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, IdPais, USUARIO,"
                          " observacion1, observacion2, observacion3, idunidad, sufijos, FECHA from catarticulos"
                          " where idcatalogo = 'PUR' order by rowid")
            self.assertEqual([r[:-1] for r in rows], expected, "after %d runs" % runs)
            for r in rows:
                written = datetime.datetime.strptime(r[-1], "%Y-%m-%d %H:%M:%S")
                self.assertTrue(since - datetime.timedelta(seconds=1) <= written <= datetime.datetime.now(), r)
            self.assertEqual(p.rows("select count(*) from catarticulos"), [(len(sent),)])

        # F12 from the list, the text box and the catalog list: one run and one message each.
        focus = [("list", lambda: p.click(LIST_TOP_LEFT, 200, 27)), ("text box", lambda: p.click(TXT_ARCHIVO)),
                 ("catalog list", lambda: (p.click(CBO_CATALOGOS), time.sleep(0.3), p.keys("Escape")))]
        for runs, (where, put_focus) in enumerate(focus, 1):
            put_focus()
            since = datetime.datetime.now().replace(microsecond=0)
            self.assertEqual(self.press("F12"), [SENT], "F12 in the " + where)
            catalog_after(runs, since)

        # F12 held down: the box comes up, is closed with the mouse while the key still
        # repeats, and nothing more happens.
        since = datetime.datetime.now().replace(microsecond=0)
        run("xdotool", "keydown", "F12")
        try:
            box, text = poll(p.boxes, 30, "the message box of a held F12")[0]
            self.assertEqual(text, SENT)
            time.sleep(0.5)  # the key repeats by now
            p.click_ok(box)
            p.gone(box)
            time.sleep(1.0)
        finally:
            run("xdotool", "keyup", "F12")
        self.assertEqual(p.answers(first_timeout=0, settle=1.0), [], "F12 held down")
        catalog_after(4, since)

        # The report: every item, checked or not, fourteen values each followed by TAB, CR LF.
        report = os.path.join(self.dir.name, "reporte.xls")
        p.click(CMD_EXPORTAR)
        save = p.dialog("Guardar Reporte")
        p.type(report)
        p.keys("Return")
        p.gone(save)
        self.assertEqual(p.answers(), ["Reporte generado en " + report])
        with open(report, "rb") as f:
            written = f.read()
        expected = "".join(
            "\t".join([code, desc, maria, ncm, "Nuevo", "", addition, kilos, countries[origin], "", "", "", "", ""])
            + "\t\r\n" for code, desc, maria, ncm, kilos, origin, addition in articles)
        self.assertEqual(written, expected.encode("utf-8"))

    def test_presses_during_long_runs(self):
        p = self.program
        sheet = os.path.join(self.dir.name, "largo.csv")
        articles = [("L%05d" % i, "Articulo %d" % i, "anexo %d" % i) for i in range(LONG_ROWS)]
        with open(sheet, "w", encoding="utf-8", newline="") as f:
            csv.writer(f).writerows([("Codigo", "Descripcion", "Anexo")] + articles)
        p.load(sheet)
        p.assign([ARTICULO, DESCRIPCION, ANEXAR])
        texts = self.press("F11")  # in the grid, no catalog chosen yet: one refusal
        self.assertEqual([t.split("\\")[0] for t in texts], ["Falta seleccionar catalogo"], texts)
        p.choose_catalog("[P")

        # F12 while F11 still runs: the operator has not seen the list yet. Sent right behind
        # F11, since processing 65,000 rows takes only a fraction of a second.
        p.keys("F11", "F12")
        # A click is handled only once processing is over.
        p.click(CMD_PROCESAR)
        first = poll(lambda: [w for w in p.windows() if p.name(w) in (TITLE, "Seleccionar archivo de sorvanta")],
                     60, "the end of processing")[0]
        self.assertEqual(p.name(first), "Seleccionar archivo de sorvanta", p.text(first))
        p.keys("Escape")
        p.gone(first)
        self.assertEqual(p.answers(first_timeout=0), [], "F12 during F11")
        self.assertEqual(p.rows("select count(*) from catarticulos"), [(0,)])

        # F12 again while the articles are being sent.
        p.keys("F12")
        time.sleep(0.3)
        p.keys("F12")
        self.assertEqual(p.boxes(), [], "the run is too short for this test")
        self.assertEqual(p.answers(), [SENT], "F12 during F12")
        self.assertEqual(p.rows("select idarticulo, descripcion from catarticulos where idcatalogo = 'PUR'"
                                " order by rowid"), [(code, desc + " " + addition) for code, desc, addition in articles])


def main():
    global PROGRAM, EXAMPLES
    PROGRAM, EXAMPLES = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing:
        print("SKIP: not installed: " + ", ".join(missing))
        sys.exit(SKIP)
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)


if __name__ == "__main__":
    main()
