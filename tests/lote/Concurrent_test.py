#!/usr/bin/env python3
"""Two real sorvanta-lote runs at once on one catalog, with overlapping codes (new and existing)
in opposite orders: both must end with status 0 and report every article sent, and each article
must come out as one of the two runs left it, never as neither (nothing half of a run).

    Concurrent_test.py SORVANTA_LOTE [--postgres INFO_FILE] [--tries N]

Each try is compared with the two serial outcomes (first A then B, first B then A): per article
the row must be the one of either. Exits 77 (skipped) when the program or the server is missing.
"""
import os
import shutil
import subprocess
import sys
import tempfile

import Kill_test as k

ROWS = 30000  # per list; the lists share half their codes
FIELDS = ["A=ARTICULO", "B=DESCRIPCION", "C=NCM", "D=KILOS_UNITARIO", "E=OBSERVACION1"]


def write_list(path, codes, mark):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("Codigo,Descripcion,NCM,Peso,Obs\r\n")
        for i in codes:
            f.write("K-%05d,Pieza %d de %s,8481.80.99.%03d,%d.25,lista %s\r\n" % (i, i, mark, i % 1000, i % 9 + 1, mark))


class Operator(k.Home):
    def args(self, sheet):
        args = [self.program, sheet, "--catalogo", k.CATALOG]
        for field in FIELDS:
            args += ["--campo", field]
        return args

    def start(self, sheet):
        return subprocess.Popen(self.args(sheet), env=self.env, cwd=self.root, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True)


def sent(summary):
    for part in summary.split(";"):
        if part.strip().startswith("enviados:"):
            return int(part.split(":")[1])
    raise AssertionError("no summary: %r" % summary)


def both_at_once(home_a, home_b, list_a, list_b):
    runs = [home_a.start(list_a), home_b.start(list_b)]
    outs = [run.communicate(timeout=600) for run in runs]
    for run, (out, err), name in zip(runs, outs, "AB"):
        if run.returncode != 0:
            raise AssertionError("run %s ended with status %d: %s" % (name, run.returncode, err.strip()[-600:]))
    return [out.strip() for out, _ in outs]


def check(got, a_then_b, b_then_a, what):
    if set(got[0]) != set(a_then_b[0]):
        raise AssertionError("%s: %d articles missing, %d extra" % (
            what, len(set(a_then_b[0]) - set(got[0])), len(set(got[0]) - set(a_then_b[0]))))
    neither = [key for key, row in got[0].items() if row != a_then_b[0][key] and row != b_then_a[0][key]]
    if neither:
        key = neither[0]
        raise AssertionError("%s: %d articles as neither run left them; %r:\n got %r\n A then B %r\n B then A %r"
                             % (what, len(neither), key, got[0][key], a_then_b[0][key], b_then_a[0][key]))


def main(argv):
    tries = 3
    if "--tries" in argv:
        i = argv.index("--tries")
        tries = int(argv[i + 1])
        argv = argv[:i] + argv[i + 2:]
    program = k.program_and_server(argv)
    if not program:
        return k.SKIP
    with tempfile.TemporaryDirectory(prefix="sorvanta-juntos-") as tmp:
        list_a, list_b = tmp + "/a.csv", tmp + "/b.csv"
        # A ascending over the first codes, B descending over the last: they meet in the middle.
        write_list(list_a, range(0, ROWS), "A")
        write_list(list_b, range(ROWS * 3 // 2 - 1, ROWS // 2 - 1, -1), "B")
        pristine = Operator(tmp + "/pristine", program)
        os.makedirs(pristine.root, exist_ok=True)
        if k.SERVER:
            k.create(pristine)
        subprocess.run(pristine.args(list_a) + ["--revisar"], env=pristine.env, cwd=pristine.root,
                       capture_output=True, check=False)
        k.seed(pristine.catalog)  # every fifth of the first codes exists already

        def fresh(name):
            shutil.copytree(pristine.root, tmp + "/" + name)
            home = Operator(tmp + "/" + name, program)
            if k.SERVER:
                k.create(home, pristine)
            return home

        serial = {}
        for order in ("AB", "BA"):
            home = fresh(order.lower())
            for name in order:
                home.run(list_a if name == "A" else list_b)
            serial[order] = k.rows(home.catalog)
        failures = []
        for attempt in range(1, tries + 1):
            home = fresh("try%d" % attempt)
            try:
                summaries = both_at_once(home, home, list_a, list_b)
                counts = [sent(s) for s in summaries]
                if counts != [ROWS, ROWS]:
                    raise AssertionError("sent %r, not every article: %r" % (counts, summaries))
                check(k.rows(home.catalog), serial["AB"], serial["BA"], "try %d" % attempt)
                print("try %d: ok (%s)" % (attempt, " | ".join(summaries)))
            except AssertionError as e:
                failures.append(str(e))
                print("try %d: FAILED\n%s" % (attempt, e))
            shutil.rmtree(home.root)
            if k.SERVER:
                k.psql("postgres", "drop database if exists %s" % home.catalog)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
