#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Opens N pages of the web remote in one headless Chromium (Debian's, through Selenium) for the
benchmark: pairs once, then loads "/?mesure" in every tab, so each page reports back the number
of each state it has put in its DOM. Prints "pret" once every page is connected, then keeps them
open until its standard input ends.

  pages.py URL CODE N
"""
import sys
import tempfile
import time
import shutil

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By


def main():
    url, code, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    profile = tempfile.mkdtemp(prefix="lumiere-bench-chromium-")
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--disable-background-timer-throttling",
                 "--disable-renderer-backgrounding", "--disable-backgrounding-occluded-windows",
                 "--window-size=390,844", "--user-data-dir=" + profile):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get(url)
        driver.find_element(By.ID, "code").send_keys(code)
        driver.find_element(By.CSS_SELECTOR, "button[type=submit]").click()
        time.sleep(0.5)
        for i in range(count):
            if i:
                driver.switch_to.new_window("tab")
            driver.get(url + "?mesure")
        for handle in driver.window_handles:
            driver.switch_to.window(handle)
            deadline = time.monotonic() + 10
            while driver.find_element(By.ID, "liaison").text != "Connecté":
                if time.monotonic() > deadline:
                    print("echec", flush=True)
                    return 1
                time.sleep(0.05)
        print("pret", flush=True)
        sys.stdin.read()
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
