#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Two Lumières started at the same moment on the same program folder, again and again: each
starts, ends on SIGTERM (sent by its process id once it holds the signal, at a moment that
varies from round to round, during or after its start-up) and exits 0 — never with a signal such as SIGABRT — and the line
they share ends on the all-off frame. (Both send theirs at the same moment: the one that finds
the port held by the other drops its frame, as any frame to a busy port is dropped.)

  two_instances_test.py --lumiere build/debug/bin/lumiere [--rounds 50]
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import tty


def holds_sigterm(pid):
    """Whether the program has reached its own code and blocks or catches SIGTERM (before that, the
    dynamic loader is still at work and the signal's default action would end it)."""
    try:
        with open("/proc/%d/status" % pid) as status:
            fields = dict(line.split(":", 1) for line in status if ":" in line)
    except OSError:
        return True  # already gone: its exit status tells
    bit = 1 << (15 - 1)
    return any(int(fields.get(k, "0").strip(), 16) & bit for k in ("SigBlk", "SigCgt"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--lumiere", required=True)
    parser.add_argument("--rounds", type=int, default=50)
    args = parser.parse_args()

    master, slave = os.openpty()
    tty.setraw(master)
    line = os.ttyname(slave)
    received = bytearray()
    lock = threading.Lock()

    def read():
        while True:
            try:
                data = os.read(master, 4096)
            except OSError:
                return
            with lock:
                received.extend(data)

    threading.Thread(target=read, daemon=True).start()
    folder = tempfile.mkdtemp(prefix="lumiere-deux-")
    with open(os.path.join(folder, "param.ini"), "wb") as f:
        f.write(("[Port]\r\nCOM=1\r\nPeripherique=%s\r\n" % line).encode())
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    failures = []
    random.seed(7)
    for round_ in range(1, args.rounds + 1):
        with lock:
            received.clear()
        programs = [subprocess.Popen([args.lumiere, "--dossier", folder], env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                    for _ in range(2)]
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and not all(holds_sigterm(p.pid) for p in programs):
            time.sleep(0.002)
        time.sleep(random.uniform(0.0, 0.8))
        for program in programs:
            os.kill(program.pid, 15)
        codes = []
        for program in programs:
            try:
                codes.append(program.wait(timeout=15))
            except subprocess.TimeoutExpired:
                os.kill(program.pid, 9)
                codes.append("no end within 15 s")
        time.sleep(0.05)
        with lock:
            frames = received.count(b"n\x00")
            last_off = received.endswith(b"n\x00")
        if codes != [0, 0] or frames < 1 or not last_off:
            errors = [p.stderr.read().decode(errors="replace")[-300:] for p in programs]
            failures.append((round_, codes, frames, errors))
            print("round %d: exit %s, all-off frames %d %s" % (round_, codes, frames, errors),
                  flush=True)
        for program in programs:
            program.stderr.close()
    os.close(slave)
    shutil.rmtree(folder, ignore_errors=True)
    print("%d rounds, %d failed" % (args.rounds, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
