#!/usr/bin/env python3
"""The real sorvanta-lote against a disk that fills, a server that never answers and a server
stopped in the middle of a send: each run must end by itself with status 1, a Spanish message
saying what happened, a summary that counts nothing sent, and nothing of the run in the catalog.

    Faults_test.py SORVANTA_LOTE [--postgres INFO_FILE]

Without --postgres only the cases that need no server run. Exits 77 (skipped) when the program
is missing.
"""
import os
import pty
import re
import resource
import select
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading

import Kill_test as k

# No case may take this long; each ends in seconds when the program keeps its limits.
PATIENCE = 120


def status_line(out):
    lines = [line for line in out.splitlines() if line.startswith("Filas leídas")]
    if not lines:
        raise AssertionError("no summary line: %r" % out)
    return lines[-1]


def expect_failure(done, words, what):
    if done.returncode != 1:
        raise AssertionError("%s: status %d, not 1\n%s" % (what, done.returncode, done.stderr[-800:]))
    for word in words:
        if word not in done.stderr:
            raise AssertionError("%s: %r not in the message:\n%s" % (what, word, done.stderr[-800:]))


def full_disk(tmp, program):
    """A file-size limit stands for the disk: the commit cannot write the run."""
    home = k.Home(tmp + "/lleno", program)
    os.makedirs(home.root)
    sheet = tmp + "/lista.csv"
    k.write_sheet(sheet)
    subprocess.run(home.args(sheet)[:4] + ["--revisar"] + home.args(sheet)[4:], env=home.env, cwd=home.root,
                   capture_output=True, check=False)
    k.seed(home.catalog)
    before = k.rows(home.catalog)
    clean = k.Home(tmp + "/limpio", program)
    shutil.copytree(home.root, clean.root)
    limit = os.path.getsize(home.catalog) + 1024 * 1024

    def small_disk():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # a write past the limit fails instead
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

    done = subprocess.run(home.args(sheet), env=home.env, cwd=home.root, capture_output=True, text=True,
                          timeout=PATIENCE, preexec_fn=small_disk)
    expect_failure(done, ["No se pudo confirmar el envío", "disco", "No se escribió nada de este envío"], "full disk")
    if "enviados: 0;" not in status_line(done.stdout):
        raise AssertionError("full disk: reported sent: %s" % status_line(done.stdout))
    if "Artículo que se estaba enviando" in done.stderr:
        raise AssertionError("full disk: an article blamed for the commit:\n%s" % done.stderr)
    k.compare(before, k.rows(home.catalog), "full disk, catalog afterwards")
    # With room again the run is whole, as one clean run.
    home.run(sheet)
    clean.run(sheet)
    k.compare(k.rows(clean.catalog), k.rows(home.catalog), "full disk, then run again")
    print("full disk: ok")


def silent_server(tmp, program):
    """A server that accepts the connection and never says a word."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    port = listener.getsockname()[1]
    held = []

    def accept():
        while True:
            try:
                held.append(listener.accept()[0])
            except OSError:
                return

    threading.Thread(target=accept, daemon=True).start()
    home = k.Home(tmp + "/mudo", program)
    os.makedirs(home.root + "/config/sorvanta")
    with open(home.root + "/config/sorvanta/conexiones.ini", "w") as f:
        for entity in ("CATALOGOS", "SYSTABLAS"):
            f.write("[%s]\nDriver=QPSQL\nServidor=127.0.0.1\nPuerto=%d\nBaseDatos=x\nUsuario=x\n\n" % (entity, port))
    sheet = tmp + "/corta.csv"
    with open(sheet, "w") as f:
        f.write("Codigo,Descripcion\r\nA-1,Uno\r\n")
    try:
        done = subprocess.run([program, sheet, "--catalogo", "GEN", "--campo", "A=ARTICULO", "--campo",
                               "B=DESCRIPCION"], env=home.env, cwd=home.root, capture_output=True, text=True,
                              timeout=PATIENCE)
    finally:
        listener.close()
        for s in held:
            s.close()
    expect_failure(done, ["No se pudo conectar", "de la entidad \"", "127.0.0.1:%d" % port], "silent server")
    print("silent server: ok")


def stopped_server(tmp, program):
    """The server's process for the run is stopped while the run sends."""
    home = k.Home(tmp + "/detenido", program)
    os.makedirs(home.root, exist_ok=True)
    k.create(home)
    ini = home.root + "/config/sorvanta/conexiones.ini"
    with open(ini) as f:
        text = f.read()
    with open(ini, "w") as f:
        f.write(text.replace("Tipo=SQL\n", "Tipo=SQL\nEsperaMaxima=3\n"))
    sheet = tmp + "/lista.csv"
    k.write_sheet(sheet)
    k.seed(home.catalog)
    before = k.rows(home.catalog)
    master, slave = pty.openpty()
    process = subprocess.Popen(home.args(sheet), env=home.env, cwd=home.root, stdout=subprocess.PIPE,
                               stderr=slave, text=True)
    os.close(slave)
    stopped = []
    seen = b""
    try:
        while not stopped:
            ready, _, _ = select.select([master], [], [], PATIENCE)
            if not ready:
                raise AssertionError("stopped server: no progress")
            chunk = os.read(master, 4096)
            if not chunk:
                raise AssertionError("stopped server: the run ended before the stop: %r" % seen[-300:])
            seen += chunk
            if re.search(rb"Enviando [1-9]\d* %", seen):
                pids = k.psql("postgres", "select pid from pg_stat_activity where datname = '%s'" % home.catalog)
                for (pid,) in pids:
                    os.kill(int(pid), signal.SIGSTOP)
                    stopped.append(int(pid))
        out, _ = process.communicate(timeout=PATIENCE)
        while True:
            ready, _, _ = select.select([master], [], [], 0)
            if not ready:
                break
            try:
                chunk = os.read(master, 4096)
            except OSError:
                break
            if not chunk:
                break
            seen += chunk
    finally:
        for pid in stopped:
            os.kill(pid, signal.SIGCONT)
        process.kill()
        os.close(master)
    err = seen.decode("utf-8", "replace")
    done = subprocess.CompletedProcess(process.args, process.returncode, out, err)
    expect_failure(done, ["no respondió", "No se escribió nada de este envío"], "stopped server")
    if "enviados: 0;" not in status_line(out):
        raise AssertionError("stopped server: reported sent: %s" % status_line(out))
    # The origins the run learned before sending stay, as the dialog's do.
    after = k.rows(home.catalog)
    k.compare((before[0],) + after[1:], after, "stopped server, catalog afterwards")
    print("stopped server: ok")


def main(argv):
    program = k.program_and_server(argv)
    if not program:
        return k.SKIP
    failures = []
    with tempfile.TemporaryDirectory(prefix="sorvanta-fallas-") as tmp:
        cases = [stopped_server] if k.SERVER else [full_disk, silent_server]
        for case in cases:
            try:
                case(tmp, program)
            except (AssertionError, subprocess.TimeoutExpired) as e:
                failures.append(str(e))
                print("%s: FAILED\n%s" % (case.__name__, e))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
