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
import signal
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
CMD_DESHACER = (9195, 720, 2250, 300)
GRID_TOP_LEFT = (60, 2085)
LIST_TOP_LEFT = (165, 2595)
TWIPS_PER_PIXEL = 15  # the X server runs at 96 dots per inch

# Field chooser entries, counted from "< ninguno >".
ARTICULO, DESCRIPCION, ANEXAR, DESCRIPC_MARIA, NCM, KILOS, PAIS = 1, 2, 3, 4, 5, 6, 7
TITLE = "Sorvanta"
LONG_ROWS = 40000
SENT = "Artículos enviados al catálogo PUR"
AGAIN = "Estos artículos ya se enviaron. ¿Enviarlos otra vez?"


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

    def __init__(self, home, embedded=True):
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
        self.presses = 0  # keys pressed and characters typed since the last count()
        if embedded:
            # The window shows itself before it opens (and on first start makes) its databases.
            poll(self.ready, 30, "the embedded catalog")

    def ready(self):
        try:
            return self.rows("select count(*) from sqlite_master where name = 'ORG'") == [(1,)]
        except sqlite3.Error:
            return False

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
            self.presses += 1
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

    def keys(self, *names):
        self.presses += len(names)
        run("xdotool", "key", "--delay", "30", *names)

    def type(self, text):
        self.presses += len(text)
        run("xdotool", "type", "--delay", "10", text)

    def count(self):
        """The presses since the last count."""
        presses, self.presses = self.presses, 0
        return presses

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

    @contextlib.contextmanager
    def held(self):
        """The program stopped: whatever is pressed meanwhile waits for it."""
        os.kill(self.process.pid, signal.SIGSTOP)
        try:
            yield
            time.sleep(0.2)  # the X server has passed on every event
        finally:
            os.kill(self.process.pid, signal.SIGCONT)

    @contextlib.contextmanager
    def catalog_held(self):
        """Another program's write transaction on the catalog, for as long as the block lasts."""
        with contextlib.closing(sqlite3.connect(self.catalog, isolation_level=None)) as db:
            db.execute("begin immediate")
            try:
                yield
            finally:
                db.execute("rollback")

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


class OnXServer(unittest.TestCase):
    """Tests on an X server of their own."""

    @classmethod
    def setUpClass(cls):
        cls.x = XServer()

    @classmethod
    def tearDownClass(cls):
        cls.x.stop()


class OperatorTest(OnXServer):

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="sorvanta-x-")
        self.addCleanup(self.dir.cleanup)
        self.program = Program(self.dir.name)
        self.addCleanup(self.program.stop)

    def press(self, key):
        """The texts of the boxes that follow a press of the key."""
        self.program.keys(key)
        return self.program.answers()

    def send(self):
        """F12 once processing is over, with the texts of the boxes that follow. The window drops
        a press that comes while F11 still runs, and F12 before the review does nothing, so it is
        pressed again until a box comes; the count keeps one press, the one the operator makes
        on seeing the list."""
        p = self.program
        for _ in range(30):
            p.keys("F12")
            try:
                return p.answers(first_timeout=2)
            except AssertionError:
                p.presses -= 1
        raise AssertionError("F12 never sent the catalog")

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
        # Once the list went whole, F12 asks first; Alt+S answers Sí.
        focus = [("list", lambda: p.click(LIST_TOP_LEFT, 200, 27)), ("text box", lambda: p.click(TXT_ARCHIVO)),
                 ("catalog list", lambda: (p.click(CBO_CATALOGOS), time.sleep(0.3), p.keys("Escape")))]
        for runs, (where, put_focus) in enumerate(focus, 1):
            put_focus()
            since = datetime.datetime.now().replace(microsecond=0)
            if runs > 1:
                p.keys("F12")
                box, text = poll(p.boxes, 30, "the question of F12 in the " + where)[0]
                self.assertEqual(text, AGAIN)
                p.keys("alt+s")
                p.gone(box)
                self.assertEqual(p.answers(), [SENT], "F12 in the " + where)
            else:
                self.assertEqual(self.press("F12"), [SENT], "F12 in the " + where)
            catalog_after(runs, since)

        # F12 held down: the question comes up, is answered with the mouse (its rightmost
        # button, No) while the key still repeats, and nothing more happens.
        run("xdotool", "keydown", "F12")
        try:
            box, text = poll(p.boxes, 30, "the question of a held F12")[0]
            self.assertEqual(text, AGAIN)
            time.sleep(0.5)  # the key repeats by now
            p.click_ok(box)
            p.gone(box)
            time.sleep(1.0)
        finally:
            run("xdotool", "keyup", "F12")
        self.assertEqual(p.answers(first_timeout=0, settle=1.0), [], "F12 held down")
        catalog_after(3, since)

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

        # F12 while F11 still runs: the operator has not seen the list yet. The program is held
        # still while the presses and a click are made, so they are all waiting when F11 starts,
        # however quick processing is.
        with p.held():
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

        # F12 again while the articles are being sent: another writer holds the catalog, so the
        # run waits for it as long as the test likes.
        with p.catalog_held():
            p.keys("F12")
            time.sleep(0.3)
            p.keys("F12")
            time.sleep(1.5)  # the run says it waits; the presses wait behind it
            self.assertEqual(p.boxes(), [], "a message while another writer held the catalog")
        self.assertEqual(p.answers(), [SENT], "F12 during F12")
        self.assertEqual(p.rows("select idarticulo, descripcion from catarticulos where idcatalogo = 'PUR'"
                                " order by rowid"), [(code, desc + " " + addition) for code, desc, addition in articles])

    def test_second_load_of_a_sheet_needs_no_f1(self):
        """The columns labelled in the first load come labelled in the next one, in a new run of
        the program: from the file loaded to the catalog sent, F11 and F12 alone."""
        p = self.program
        sheet = os.path.join(self.dir.name, "articulos.xlsx")
        shutil.copy(os.path.join(EXAMPLES, "articulos.xlsx"), sheet)
        p.write("insert into ORG (PAI, ORI, ESM) values (?, ?, '1')",
                [("China", "CHN"), ("ALEMANIA", "DEU"), ("Brasil", "BRA"), ("Argentina", "ARG"), ("EEUU", "USA"),
                 ("Italia", "ITA")])
        p.load(sheet)
        p.choose_catalog("[G")
        p.count()
        p.assign([ARTICULO, DESCRIPCION, DESCRIPC_MARIA, NCM, KILOS, PAIS, ANEXAR])
        p.keys("F11")
        self.assertEqual(self.send(), ["Artículos enviados al catálogo GEN"])
        first = p.count()
        p.stop()

        p = self.program = Program(self.dir.name)
        self.addCleanup(p.stop)
        p.load(sheet)
        p.choose_catalog("[G")
        p.count()
        p.keys("F11")
        self.assertEqual(self.send(), ["Artículos enviados al catálogo GEN"])
        second = p.count()
        print("\nkey presses from the sheet loaded to the catalog sent: first load %d, second load %d"
              % (first, second), file=sys.stderr)
        self.assertEqual(second, 3)  # F11, F12 and the Enter of the box
        with open(os.path.join(EXAMPLES, "articulos.csv"), encoding="utf-8", newline="") as f:
            articles = list(csv.reader(f))[1:]
        countries = {"China": "CHN", "ALEMANIA": "DEU", "Brasil": "BRA", "Argentina": "ARG", "EEUU": "USA",
                     "Italia": "ITA"}
        self.assertEqual(p.rows("select idarticulo, descripcion_maria, ncm, IdPais from catarticulos"
                                " where idcatalogo = 'GEN' order by rowid"),
                         [(code, maria, ncm, countries[origin]) for code, _, maria, ncm, _, origin, _ in articles])

    def test_portuguese_origins_answered_with_f11_alone(self):
        """Each origin written in Portuguese opens "Establecer Pais" with its country chosen:
        F11 alone stores it."""
        p = self.program
        origins = {"China": "CHN", "Alemanha": "DEU", "Brasil": "BRA", "Estados Unidos": "USA", "Japão": "JPN",
                   "Canadá": "CAN", "Itália": "ITA", "Coreia do Sul": "KOR", "Taiwan": "TWN", "Índia": "IND",
                   "Espanha": "ESP", "França": "FRA", "Peru": "PER", "Vietnã": "VNM", "Turquia": "TUR"}
        articles = [("PT-%02d" % i, "Artigo %d" % i, origin) for i, origin in enumerate(list(origins) * 2)]
        sheet = os.path.join(self.dir.name, "fornecedor.csv")
        with open(sheet, "w", encoding="utf-8", newline="") as f:
            csv.writer(f).writerows([("Codigo", "Descricao", "Origem")] + articles)
        p.load(sheet)
        p.assign([ARTICULO, DESCRIPCION, PAIS])
        p.choose_catalog("[G")
        p.count()
        p.keys("F11")
        for stored in range(1, len(origins) + 1):
            p.dialog("Establecer Pais")
            p.keys("F11")
            poll(lambda: p.rows("select count(*) from ORG")[0][0] >= stored, 10, "origin %d stored" % stored)
        self.assertEqual(p.count(), 1 + len(origins))  # the F11 that processes, then one in each dialog
        self.assertEqual(self.send(), ["Artículos enviados al catálogo GEN"])
        self.assertEqual(sorted(p.rows("select PAI, ORI, ESM from ORG")),
                         sorted((origin, code, "1") for origin, code in origins.items()))
        self.assertEqual(p.rows("select idarticulo, IdPais from catarticulos where idcatalogo = 'GEN' order by rowid"),
                         [(code, origins[origin]) for code, _, origin in articles])

    def test_undo_of_a_send_with_a_wrong_column(self):
        """A column of remarks sent as the description: the undo, taken from the start-up offer
        of another window, puts every column back, but for the article another program changed
        meanwhile; the first window's button then meets the undone send and refuses."""
        p = self.program
        p.write("insert into catarticulos values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                [("GEN", code, "Tornillo " + code, "TORNILLO " + code, "7318.15.00.100", 0.25, "ARG",
                  "Sorvanta - otro\\PC", "2020-01-02 03:04:05", "obs1", "obs2", "obs3", "UN", "-X")
                 for code in ("A-1", "A-2", "A-3")]
                + [("PUR", "A-1", "De compras", None, None, 1.5, "CHN", "x", "2019-05-06 07:08:09", None, None,
                    None, None, None)])
        everything = "select * from catarticulos order by idcatalogo, idarticulo"
        before = p.rows(everything)
        sheet = os.path.join(self.dir.name, "observaciones.csv")
        with open(sheet, "w", encoding="utf-8", newline="") as f:
            csv.writer(f).writerows([("Codigo", "Observaciones"), ("A-1", "revisar embalaje"), ("A-2", "sin stock"),
                                     ("N-1", "nuevo proveedor "), ("N-2", "muestra ")])
        p.load(sheet)
        p.assign([ARTICULO, DESCRIPCION])  # the remarks, labelled as the description
        p.choose_catalog("[G")
        p.keys("F11")
        self.assertEqual(self.send(), ["Artículos enviados al catálogo GEN"])
        self.assertEqual(p.rows("select idarticulo, descripcion from catarticulos where idcatalogo = 'GEN'"
                                " order by idarticulo"),
                         [("A-1", "revisar embalaje"), ("A-2", "sin stock"), ("A-3", "Tornillo A-3"),
                          ("N-1", "nuevo proveedor "), ("N-2", "muestra ")])
        # Another program corrects an article the send wrote: the undo leaves it be.
        p.write("update catarticulos set ncm = ? where idcatalogo = 'GEN' and idarticulo = ?", [("8482.10.10", "A-2")])
        changed = p.rows("select * from catarticulos where idcatalogo = 'GEN' and idarticulo = 'A-2'")

        # A window started now offers the send; no catalog chosen, its button takes that one.
        other = Program(self.dir.name)
        self.addCleanup(other.stop)
        other.click(CMD_DESHACER)
        box, question = poll(other.boxes, 30, "the question of the undo")[0]
        user = pwd.getpwuid(os.geteuid()).pw_name
        for part in ("¿Deshacer el último envío al catálogo GEN?", user, ": 4 artículos"):
            self.assertIn(part, question)
        with p.catalog_held():  # another program writing: the undo waits for it
            other.keys("alt+s")
            other.gone(box)
            time.sleep(1.5)
            self.assertEqual(other.boxes(), [], "a message while another writer held the catalog")
            self.assertEqual(p.rows("select count(*) from catarticulos"), [(6,)])
        [done] = other.answers()
        self.assertIn("al catálogo GEN: 2 artículos borrados, 1 devuelto a como estaba.", done)
        self.assertIn("1 artículo cambió después del envío y se dejó como está: A-2", done)
        self.assertEqual(p.rows(everything), before[:1] + changed + before[2:])
        # Nothing left to undo there: the button is off.
        other.click(CMD_DESHACER)
        time.sleep(1.0)
        self.assertEqual(other.boxes(), [], "the button after the undo")
        other.stop()

        # The first window still has the send of its F12 in mind: a second undo is refused.
        p.click(CMD_DESHACER)
        [refused] = p.answers()
        self.assertIn("El último envío al catálogo GEN", refused)
        self.assertIn("ya se deshizo; solo el último envío puede deshacerse, y una vez. No se cambió nada.", refused)
        self.assertEqual(p.rows(everything), before[:1] + changed + before[2:])


class SilentServerTest(OnXServer):
    """A server that accepts the connection and never answers."""

    def test_window_shows_before_connecting_and_names_the_server(self):
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(8)
        self.addCleanup(listener.close)
        port = listener.getsockname()[1]
        home = tempfile.TemporaryDirectory(prefix="sorvanta-x-")
        self.addCleanup(home.cleanup)
        os.makedirs(home.name + "/config/sorvanta")
        with open(home.name + "/config/sorvanta/conexiones.ini", "w") as f:
            for entity in ("CATALOGOS", "SYSTABLAS"):
                f.write("[%s]\nDriver=QPSQL\nServidor=127.0.0.1\nPuerto=%d\nBaseDatos=x\nUsuario=x\n\n"
                        % (entity, port))
        p = Program(home.name, embedded=False)  # finds the main window while the connection waits
        self.addCleanup(p.stop)
        texts = p.answers(first_timeout=60)
        self.assertEqual(len(texts), 1, texts)
        for part in ("No se pudo conectar", "de la entidad", "127.0.0.1:%d" % port):
            self.assertIn(part, texts[0])


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
