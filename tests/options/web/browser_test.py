#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web remote in a real browser: Debian's headless Chromium through Selenium and
chromium-driver opens the page, pairs, presses "Marche / Arrêt" and "Chennillard" and checks that
the page's lamps follow the desk; plain clients check the refusals (no code, a foreign Origin, a
1 MB message, 20 connections, six wrong codes).

  browser_test.py --host build/debug/tests/lumiere-web-host [--screenshot docs/remote.png]
  browser_test.py --url http://127.0.0.1:8080/ --code 123456 [--no-busy]

With --host the test starts that program (the server with a fake desk, on 127.0.0.1) and ends it
by its process id; with --url it drives a server already running (Lumière itself). Every address
is on this machine. Prints "N passed, N failed"; exits non-zero when a check fails.
"""
import argparse
import base64
import json
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

PASSED, FAILED = [], []


def check(name, ok, detail=""):
    (PASSED if ok else FAILED).append(name)
    print(("ok   " if ok else "FAIL ") + name + ("" if ok or not detail else ": " + str(detail)),
          flush=True)
    return ok


def wait_for(condition, limit=5.0, step=0.02):
    deadline = time.monotonic() + limit
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(step)


# --- plain clients ---------------------------------------------------------------------------

class NoRedirect(urllib.request.HTTPRedirectHandler):
    def redirect_request(self, *args, **kwargs):
        return None


def http(url, data=None, cookie=None, origin=None):
    """(status, headers, body) of one request; no redirect is followed."""
    request = urllib.request.Request(url, data=data)
    if cookie:
        request.add_header("Cookie", cookie)
    if origin:
        request.add_header("Origin", origin)
    opener = urllib.request.build_opener(NoRedirect)
    try:
        with opener.open(request, timeout=5) as answer:
            return answer.status, answer.headers, answer.read()
    except urllib.error.HTTPError as error:
        return error.code, error.headers, error.read()


def pair(base, code):
    status, headers, _ = http(base + "entrer", urllib.parse.urlencode({"code": code}).encode(),
                              origin=base.rstrip("/"))
    cookie = headers.get("Set-Cookie", "") if status == 303 else ""
    return cookie.split(";")[0]


class RawPhone:
    """A WebSocket client by hand, so that it can send what a browser never would."""

    def __init__(self, base, cookie=None, origin=None):
        parts = urllib.parse.urlsplit(base)
        self.sock = socket.create_connection((parts.hostname, parts.port or 80), timeout=5)
        key = base64.b64encode(os.urandom(16)).decode()
        lines = ["GET /ws HTTP/1.1", "Host: " + parts.netloc, "Upgrade: websocket",
                 "Connection: Upgrade", "Sec-WebSocket-Key: " + key, "Sec-WebSocket-Version: 13",
                 "Origin: " + (origin or base.rstrip("/"))]
        if cookie:
            lines.append("Cookie: " + cookie)
        self.sock.sendall(("\r\n".join(lines) + "\r\n\r\n").encode())
        self.buffer = b""
        while b"\r\n\r\n" not in self.buffer:
            chunk = self.sock.recv(4096)
            if not chunk:
                break
            self.buffer += chunk
        head, _, self.buffer = self.buffer.partition(b"\r\n\r\n")
        self.upgraded = head.startswith(b"HTTP/1.1 101")
        self.messages, self.close_code, self.closed = [], None, False
        self.send_failed = False

    def send(self, text):
        payload = text.encode() if isinstance(text, str) else text
        mask = os.urandom(4)
        n = len(payload)
        if n < 126:
            head = struct.pack("!BB", 0x81, 0x80 | n)
        elif n < 65536:
            head = struct.pack("!BBH", 0x81, 0x80 | 126, n)
        else:
            head = struct.pack("!BBQ", 0x81, 0x80 | 127, n)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        try:
            self.sock.sendall(head + mask + masked)
        except OSError:
            # The server may close while the message is still going out; what it said before
            # (its close frame) is still in the receive queue, so read() goes on reading.
            self.send_failed = True

    def read(self, limit=2.0):
        """Reads frames for up to `limit` seconds or until the server closes."""
        deadline = time.monotonic() + limit
        while not self.closed and time.monotonic() < deadline:
            frame = self._frame(deadline)
            if frame is None:
                continue
            opcode, payload = frame
            if opcode == 1:
                self.messages.append(json.loads(payload.decode()))
            elif opcode == 8:
                self.close_code = struct.unpack("!H", payload[:2])[0] if len(payload) >= 2 else 1005
                self.closed = True
        return self

    def _fill(self, n, deadline):
        while len(self.buffer) < n:
            self.sock.settimeout(max(0.01, deadline - time.monotonic()))
            try:
                chunk = self.sock.recv(65536)
            except socket.timeout:
                return False
            except OSError:
                chunk = b""
            if not chunk:
                self.closed = True
                return False
            self.buffer += chunk
        return True

    def _frame(self, deadline):
        if not self._fill(2, deadline):
            return None
        b0, b1 = self.buffer[0], self.buffer[1]
        n, at = b1 & 0x7F, 2
        if n == 126:
            if not self._fill(4, deadline):
                return None
            n, at = struct.unpack("!H", self.buffer[2:4])[0], 4
        elif n == 127:
            if not self._fill(10, deadline):
                return None
            n, at = struct.unpack("!Q", self.buffer[2:10])[0], 10
        if not self._fill(at + n, deadline):
            return None
        payload, self.buffer = self.buffer[at:at + n], self.buffer[at + n:]
        return b0 & 0x0F, payload

    def of(self, kind):
        return [m for m in self.messages if m.get("t") == kind]

    def close(self):
        self.sock.close()


# --- the browser -----------------------------------------------------------------------------

def browser(profile):
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--user-data-dir=" + profile, "--window-size=390,844",
                 "--lang=fr-FR"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # A phone held upright: 390 x 844 CSS pixels, twice as dense.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 390, "height": 844, "deviceScaleFactor": 2, "mobile": True})
    return driver


def lamps(driver):
    labels = driver.execute_script(
        "return Array.from(document.querySelectorAll('[role=img].lampe'))"
        ".map(e => e.getAttribute('aria-label'))")
    return labels


def lit(labels):
    return [i for i, label in enumerate(labels) if label.endswith("allumée")]


def button(driver, caption):
    for element in driver.find_elements(By.TAG_NAME, "button"):
        if element.text.strip() == caption:
            return element
    raise AssertionError("no button " + caption)


def moves_right(seen):
    """The fake desk's chaser: right one lamp at a time (a late sample may miss a step or two,
    never go backwards)."""
    steps = [(b - a) % 8 for a, b in zip(seen, seen[1:])]
    return len(seen) >= 6 and all(step in (1, 2, 3) for step in steps)


def page_checks(driver, base, code, host, moving=moves_right, one_lamp=True):
    driver.get(base)
    check("the page first asks for the code",
          driver.find_element(By.CSS_SELECTOR, "label[for=code]").text == "Code" and
          button(driver, "Entrer") is not None and "Chennillard" not in driver.page_source)
    field = driver.find_element(By.ID, "code")
    field.send_keys("000000")
    button(driver, "Entrer").click()
    check("a wrong code is refused", wait_for(lambda: "Code incorrect" in driver.page_source))
    driver.find_element(By.ID, "code").send_keys(code)
    button(driver, "Entrer").click()
    check("the right code opens the desk",
          wait_for(lambda: "Chennillard" in driver.page_source and
                   driver.execute_script("return document.getElementById('liaison').textContent")
                   == "Connecté"))
    check("the session cookie is out of the page's reach",
          "lumiere_session" not in driver.execute_script("return document.cookie"))
    labels = lamps(driver)
    check("eight lamps, each an image with its French label",
          len(labels) == 8 and all(re.fullmatch(r"Lampe %d : (allumée|éteinte)" % (i + 1), label)
                                   for i, label in enumerate(labels)), labels)
    captions = [e.text for e in driver.find_elements(By.CSS_SELECTOR, "button.effet")]
    check("the nine effect buttons with the desk's captions", captions == [
        "Animation 1", "Animation 2", "Animation 3", "Intérieur -> Extérieur",
        "Extérieur -> Intérieur", "Aléatoire", "Chennillard", "Double Chennillard",
        "Aller simple"], captions)
    check("the master is a slider labelled Général",
          driver.execute_script("const s = document.getElementById('general');"
                                "return s.type + ' ' + s.labels[0].textContent") == "range Général")

    on_off = button(driver, "Marche / Arrêt")
    if on_off.get_attribute("aria-pressed") == "true":
        on_off.click()
        wait_for(lambda: on_off.get_attribute("aria-pressed") == "false")
    on_off.click()
    check("Marche / Arrêt turns the desk on",
          wait_for(lambda: on_off.get_attribute("aria-pressed") == "true"))
    chaser = button(driver, "Chennillard")
    chaser.click()
    check("Chennillard is shown pressed",
          wait_for(lambda: chaser.get_attribute("aria-pressed") == "true"))

    # The chaser's single lamp moves on the page.
    seen, single = [], True
    deadline = time.monotonic() + 3
    while time.monotonic() < deadline:
        on = lit(lamps(driver))
        single &= len(on) == 1
        if on and (not seen or seen[-1] != on[0]):
            seen.append(on[0])
        time.sleep(0.02)
    check("the page's lamps follow the chaser", (single or not one_lamp) and moving(seen),
          (single, seen))

    # Master at 0 pauses the effect: the page's lamps are the desk's, lamp for lamp.
    driver.execute_script("const s = document.getElementById('general'); s.value = 0;"
                          "s.dispatchEvent(new Event('change'))")
    time.sleep(0.3)
    desk = driver.execute_async_script(
        "const done = arguments[0]; fetch('/api/etat').then(r => r.json()).then(done)")
    shown = [label.endswith("allumée") for label in lamps(driver)]
    check("with the master at 0 the page shows the desk's lamps exactly",
          desk["general"] == 0 and desk["lampes"] == shown, (desk["lampes"], shown))
    driver.execute_script("const s = document.getElementById('general'); s.value = 10;"
                          "s.dispatchEvent(new Event('change'))")
    wait_for(lambda: driver.find_element(By.ID, "general-valeur").text == "10")

    if host:
        reason = "Une fenêtre est ouverte sur le pupitre."
        host.stdin.write("occupe " + reason + "\n")
        host.stdin.flush()
        banner = driver.find_element(By.ID, "occupe")
        check("a dialog open on the desk: the page says why and disables the commands",
              wait_for(lambda: banner.is_displayed() and reason in banner.text and
                       not on_off.is_enabled() and not chaser.is_enabled()))
        host.stdin.write("libre\n")
        host.stdin.flush()
        check("the dialog closed: the commands come back",
              wait_for(lambda: not banner.is_displayed() and on_off.is_enabled()))
        check("music off: no beat lamp", not driver.find_element(By.ID, "musique").is_displayed())
        host.stdin.write("musique\n")
        host.stdin.flush()
        flashes = driver.find_element(By.ID, "battement")
        check("music on: the beat lamp flashes and the tempo shows",
              wait_for(lambda: driver.find_element(By.ID, "tempo").text == "122 BPM" and
                       "flash" in flashes.get_attribute("class")))


def state_number(driver):
    return driver.execute_async_script(
        "const done = arguments[0]; fetch('/api/etat').then(r => r.json()).then(s => done(s.n))")


def refusal_checks(driver, base, code):
    status, _, body = http(base + "api/etat")
    check("no code: the API is refused", status == 403, status)
    status, _, body = http(base)
    check("no code: the page is the pairing form", status == 200 and b'name="code"' in body)
    anonymous = RawPhone(base).read(2)
    check("no code: the WebSocket is closed with a policy code",
          anonymous.closed and anonymous.close_code == 1008 and not anonymous.of("etat"),
          anonymous.close_code)

    cookie = pair(base, code)
    check("pairing by a plain client gives a session", cookie.startswith("lumiere_session="))
    foreign = RawPhone(base, cookie, origin="http://evil.example").read(2)
    check("a foreign Origin is refused",
          foreign.closed and foreign.close_code == 1008 and not foreign.of("etat"),
          foreign.close_code)

    before = state_number(driver)
    hostile = RawPhone(base, cookie).read(0.5)
    hostile.send("x" * (1 << 20))
    hostile.read(3)
    check("a 1 MB message closes that connection", hostile.closed and hostile.close_code == 1009,
          hostile.close_code)
    check("the show goes on for the others", wait_for(lambda: state_number(driver) > before + 5))

    phones = [RawPhone(base, cookie) for _ in range(19)]  # with the browser's page: 20
    for p in phones:
        p.read(0.3)
    served = [p for p in phones if not p.closed and p.of("etat")]
    told = [p for p in phones if p.closed and p.close_code == 4429 and p.of("fin")]
    check("20 connections: 8 served, the rest told", len(served) == 7 and len(told) == 12,
          (len(served), len(told)))
    for p in phones:
        p.close()

    answers = [http(base + "entrer", b"code=000000", origin=base.rstrip("/"))[0]
               for _ in range(6)]
    check("six wrong codes: that address is paused", answers[-1] == 429, answers)
    status, _, _ = http(base + "entrer", urllib.parse.urlencode({"code": code}).encode(),
                        origin=base.rstrip("/"))
    check("while paused, even the right code is refused", status == 429, status)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--url", help="the page of a server already running")
    parser.add_argument("--code", help="its pairing code")
    parser.add_argument("--host", help="a host program to start (prints URL and CODE)")
    parser.add_argument("--screenshot", help="save the paired page at 390 x 844 here (PNG)")
    parser.add_argument("--no-busy", action="store_true", help="skip the dialog-open check")
    args = parser.parse_args()

    host = None
    if args.host:
        host = subprocess.Popen([args.host, "--code", "424242"], stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, text=True)
        url, code = host.stdout.readline().split()[1], host.stdout.readline().split()[1]
    elif args.url and args.code:
        url, code = args.url, args.code
    else:
        parser.error("give --host, or --url and --code")
    if not url.endswith("/"):
        url += "/"
    profile = tempfile.mkdtemp(prefix="lumiere-chromium-")
    driver = None
    try:
        driver = browser(profile)
        page_checks(driver, url, code, None if args.no_busy else host)
        if args.screenshot:
            driver.execute_script("window.scrollTo(0, 0)")
            time.sleep(0.2)
            driver.save_screenshot(args.screenshot)
            print("screenshot: " + args.screenshot)
        refusal_checks(driver, url, code)
    except Exception as error:  # a check that could not run is a failed check
        check("the browser test ran to its end", False, repr(error))
    finally:
        if driver:
            driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
        if host:
            os.kill(host.pid, 15)
            check("the host ended cleanly on SIGTERM", host.wait(timeout=10) == 0, host.returncode)
    print("%d passed, %d failed" % (len(PASSED), len(FAILED)))
    return 1 if FAILED else 0


if __name__ == "__main__":
    sys.exit(main())
