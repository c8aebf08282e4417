#!/usr/bin/env python3
"""The real sorvanta-lote killed (SIGKILL) while it sends, and while it undoes a send: the journal
and the catalog must stay consistent. A send killed before its commit leaves nothing to undo
(the undo says so and changes nothing); one killed after it is undone whole. An undo killed
before its commit leaves the catalog as the send left it and the send undoable; one killed after
it leaves the catalog as before the send, and a second undo is refused.

    KillUndo_test.py SORVANTA_LOTE [--postgres INFO_FILE]

Exits 77 (skipped) when the program or the server is missing or the machine gives no terminal.
"""
import os
import pty
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import Kill_test as base  # noqa: E402  the sheet, homes and catalog readers of the send's kill test

base.ROWS = 8000
SEND_KILLS = [0, 50, 99]
UNDO_KILLS = [0, 50, 100]


def undo_args(home):
    return [home.program, "--deshacer", "--catalogo", base.CATALOG.lower()]


def run_undo(home):
    return subprocess.run(undo_args(home), env=home.env, cwd=home.root, capture_output=True, text=True, timeout=300)


def kill_when(home, args, word, percent):
    """Runs `args` with a terminal on standard error and kills it once its progress `word`
    reaches the percentage; False when it ended first."""
    master, slave = pty.openpty()
    process = subprocess.Popen(args, env=home.env, cwd=home.root, stdout=subprocess.DEVNULL, stderr=slave)
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
                return False
            seen += chunk
            shown = [int(p) for p in re.findall(word.encode() + rb" (\d+) %", seen)]
            if shown and shown[-1] >= percent:
                process.send_signal(signal.SIGKILL)
                return True
    finally:
        process.kill()
        process.wait()
        os.close(master)


def check_undo_after_send_kill(home, start, sent, percent):
    killed = base.rows(home.catalog)
    undo = run_undo(home)
    if killed[0] == start[0]:
        if undo.returncode != 1 or base.rows(home.catalog)[0] != start[0]:
            raise AssertionError("send killed at %d %% before its commit: the undo changed the catalog or did not "
                                 "refuse (%d): %s" % (percent, undo.returncode, undo.stderr))
        return "before the commit: %s" % undo.stderr.strip().splitlines()[-1]
    base.compare(sent, killed, "send killed at %d %% after its commit" % percent)
    if undo.returncode != 0:
        raise AssertionError("send killed at %d %% after its commit, undo failed: %s" % (percent, undo.stderr))
    base.compare(start, base.rows(home.catalog), "send killed at %d %%, then undone" % percent)
    return "after the commit, undone"


def check_undo_kill(home, start, sent, percent):
    ended = not kill_when(home, undo_args(home), "Deshaciendo", percent)
    killed = base.rows(home.catalog)
    if killed[0] == sent[0] and not ended:
        undo = run_undo(home)
        if undo.returncode != 0:
            raise AssertionError("undo killed at %d %% before its commit, the next failed: %s" % (percent, undo.stderr))
        base.compare(start, base.rows(home.catalog), "undo killed at %d %%, then undone again" % percent)
        return "before the commit, undone again"
    base.compare(start, killed, "undo killed at %d %%" % percent)
    again = run_undo(home)
    if again.returncode != 1 or "ya se deshizo" not in again.stderr:
        raise AssertionError("undo killed at %d %% after its commit, a second undo was not refused (%d): %s"
                             % (percent, again.returncode, again.stderr))
    base.compare(start, base.rows(home.catalog), "undo killed at %d %%, second undo refused" % percent)
    return "after the commit, second undo refused"


def main(argv):
    program = base.program_and_server(argv)
    if not program:
        return base.SKIP
    try:
        os.close(os.openpty()[0])
    except OSError:
        print("no terminal to read the progress from", file=sys.stderr)
        return base.SKIP
    with tempfile.TemporaryDirectory(prefix="sorvanta-killundo-") as tmp:
        sheet = tmp + "/lista.csv"
        base.write_sheet(sheet)
        pristine = base.Home(tmp + "/pristine", program)
        os.makedirs(pristine.root, exist_ok=True)
        if base.SERVER:
            base.create(pristine)
        subprocess.run(pristine.args(sheet)[:4] + ["--revisar"] + pristine.args(sheet)[4:], env=pristine.env,
                       cwd=pristine.root, capture_output=True, check=False)
        base.seed(pristine.catalog)
        start = base.rows(pristine.catalog)

        def fresh(name):
            shutil.copytree(pristine.root, tmp + "/" + name)
            home = base.Home(tmp + "/" + name, program)
            if base.SERVER:
                base.create(home, pristine)
            return home

        clean = fresh("clean")
        clean.run(sheet)
        sent = base.rows(clean.catalog)
        undo = run_undo(clean)
        if undo.returncode != 0:
            raise AssertionError("clean undo failed: %s" % undo.stderr)
        base.compare(start, base.rows(clean.catalog), "clean undo")
        print("clean send and undo: ok; %s" % undo.stdout.strip())
        failures = []
        cases = [("send", p) for p in SEND_KILLS] + [("undo", p) for p in UNDO_KILLS]
        for what, percent in cases:
            home = fresh("%s-%d" % (what, percent))
            try:
                if what == "send":
                    home.kill_at(sheet, percent)
                    said = check_undo_after_send_kill(home, start, sent, percent)
                else:
                    home.run(sheet)
                    said = check_undo_kill(home, start, sent, percent)
                print("%s killed at %d %%: ok, %s" % (what, percent, said))
            except AssertionError as e:
                failures.append(str(e))
                print("%s killed at %d %%: FAILED\n%s" % (what, percent, e))
            shutil.rmtree(home.root)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
