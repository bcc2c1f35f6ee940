#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web remote of Lumière itself, in a real browser: Lumière runs offscreen in a program
folder of its own, with a pseudo-terminal as its serial device and the option on (127.0.0.1
only); Debian's headless Chromium pairs, presses "Marche / Arrêt" and "Chennillard", and the
frames on the pseudo-terminal must be the chaser's while the page's lamps follow the line. The
refusals of browser_test.py follow. Lumière is stopped by its process id.

  lumiere_browser_test.py --lumiere build/debug/bin/lumiere [--screenshot docs/remote.png]
"""
import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import tty

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser_test as bt  # noqa: E402

CODE = "246810"


class Line:
    """The far side of the pseudo-terminal: every frame Lumière sends, decoded as the lamp
    controller reads them (the letter "n", then the lamp byte)."""

    def __init__(self):
        self.master, slave = os.openpty()
        tty.setraw(self.master)
        self.path = os.ttyname(slave)
        os.close(slave)
        self.frames, self.strays, self.lock = [], 0, threading.Lock()
        self.stop = False
        self.reader = threading.Thread(target=self.read, daemon=True)
        self.reader.start()

    def read(self):
        waiting = False
        while not self.stop:
            try:
                data = os.read(self.master, 4096)
            except OSError:  # no process holds the other side right now
                time.sleep(0.005)
                continue
            with self.lock:
                for byte in data:
                    if waiting:
                        self.frames.append(byte)
                        waiting = False
                    elif byte == 0x6E:
                        waiting = True
                    else:
                        self.strays += 1

    def since(self, start):
        with self.lock:
            return list(self.frames[start:])

    def count(self):
        with self.lock:
            return len(self.frames)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--lumiere", required=True)
    parser.add_argument("--screenshot")
    args = parser.parse_args()

    line = Line()
    folder = tempfile.mkdtemp(prefix="lumiere-web-")
    port = free_port()
    with open(os.path.join(folder, "param.ini"), "wb") as f:
        f.write(("[Port]\r\nCOM=1\r\nPeripherique=%s\r\n[Table]\r\nvaleur=pupitre.bmp\r\n"
                 "[Web]\r\nActif=1\r\nPort=%d\r\nReseau=0\r\nCode=%s\r\n"
                 % (line.path, port, CODE)).encode())
    # The sample sequence shipped beside the program: the page lists it.
    shipped = os.path.join(os.path.dirname(os.path.abspath(args.lumiere)), "exemple.txt")
    if os.path.exists(shipped):
        shutil.copy(shipped, folder)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    lumiere = subprocess.Popen([args.lumiere, "--dossier", folder], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    url = "http://127.0.0.1:%d/" % port
    profile = tempfile.mkdtemp(prefix="lumiere-chromium-")
    driver = None
    try:
        listening = bt.wait_for(lambda: bt.http(url)[0] == 200 if _up(port) else False, 15)
        bt.check("Lumière listens on 127.0.0.1 with the option on", listening)
        driver = bt.browser(profile)
        start = line.count()
        # The desk's chaser goes back and forth, a step per master interval (10 ms until a fader
        # moves), and where it turns its lamp may halve to none: the page, sampled every 20 ms,
        # shows a lamp that moves; the line's frames are checked one by one below.
        bt.page_checks(driver, url, CODE, None, moving=lambda seen: len(seen) >= 6,
                       one_lamp=False)
        # page_checks pressed "Marche / Arrêt" then "Chennillard"; then master 0, then 10.
        frames = line.since(start)
        runs = _longest_chaser_run(frames)
        bt.check("the frames on the line are the chaser's", runs >= 12, (runs, frames[-30:]))
        bt.check("every byte on the line is in a frame", line.strays == 0, line.strays)

        # Master at 0 pauses the chaser: the page's lamps are the last frame's, lamp for lamp
        # (the desk shows bit 7 on its first lamp).
        driver.execute_script("const s = document.getElementById('general'); s.value = 0;"
                              "s.dispatchEvent(new Event('change'))")
        time.sleep(0.5)
        last = line.since(0)[-1]
        wanted = [bool(last & (0x80 >> i)) for i in range(8)]
        shown = bt.wait_for(lambda: [l.endswith("allumée") for l in bt.lamps(driver)] == wanted, 3)
        bt.check("the page's lamps are the line's", shown,
                 (last, [l.endswith("allumée") for l in bt.lamps(driver)]))
        driver.execute_script("const s = document.getElementById('general'); s.value = 10;"
                              "s.dispatchEvent(new Event('change'))")
        if args.screenshot:
            driver.execute_script("window.scrollTo(0, 0)")
            time.sleep(0.3)
            driver.save_screenshot(args.screenshot)
            print("screenshot: " + args.screenshot)
        bt.refusal_checks(driver, url, CODE)
        bt.check("Lumière is still running after the refusals", lumiere.poll() is None)
    except Exception as error:  # a check that could not run is a failed check
        bt.check("the browser test ran to its end", False, repr(error))
    finally:
        if driver:
            driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
        os.kill(lumiere.pid, 15)
        try:
            code = lumiere.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.kill(lumiere.pid, 9)
            code = lumiere.wait()
        bt.check("Lumière ended cleanly on SIGTERM", code == 0, (code, lumiere.stderr.read()[-500:]))
        time.sleep(0.1)
        bt.check("its last frame is all off", line.since(0)[-1:] == [0], line.since(0)[-3:])
        line.stop = True
        shutil.rmtree(folder, ignore_errors=True)
    print("%d passed, %d failed" % (len(bt.PASSED), len(bt.FAILED)))
    return 1 if bt.FAILED else 0


def _up(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.2):
            return True
    except OSError:
        return False


def _longest_chaser_run(frames):
    """The longest run of frames that go as the back-and-forth chaser goes: one lamp at a time,
    each frame the lamp beside the last (or the same one where it turns back)."""
    best = run = 0
    for a, b in zip(frames, frames[1:]):
        good = a and b and not (a & (a - 1)) and not (b & (b - 1)) and b in (a * 2, a // 2, a)
        run = run + 1 if good else 0
        best = max(best, run)
    return best


if __name__ == "__main__":
    sys.exit(main())
