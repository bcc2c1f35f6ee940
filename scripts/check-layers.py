#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that every library of the program includes only what it links.

    scripts/check-layers.py build/<preset>/layers.txt

layers.txt is written by src/CMakeLists.txt: one line per library with its include name (the
folder name its headers are included by), its folder, its sources and the libraries it links.
A file may include its own library's headers, the headers of a library its library links
directly (not one it only reaches through another), Qt's headers when its library links Qt,
and aubio's, libpulse's or OLA's when it links them. Each .cpp belongs to the library that
lists it, a header to the library of the source of the same name, or else to the folder's
Qt-free library; a .cpp no library lists is not built and not read. Prints every include that breaks the rule and exits 1 if there is one.
"""
import os
import re
import sys

SYSTEM = {"aubio": "PkgConfig::AUBIO", "pulse": "PkgConfig::LIBPULSE", "ola": "PkgConfig::OLA"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def read_manifest(path):
    libraries = []
    with open(path, encoding="utf-8") as manifest:
        for line in manifest:
            if not line.strip():
                continue
            library, name, folder, sources, links = (line.rstrip("\n").split("\t") + [""] * 5)[:5]
            libraries.append({
                "library": library,
                "name": name,
                "folder": folder,
                "sources": [s for s in sources.split(",") if s],
                "links": [l for l in links.split(",") if l],
            })
    return libraries


def files_of(libraries):
    """Every file of every folder, with the library it belongs to."""
    owner = {}
    by_folder = {}
    for lib in libraries:
        by_folder.setdefault(lib["folder"], []).append(lib)
        for source in lib["sources"]:
            path = os.path.normpath(os.path.join(lib["folder"], source))
            owner[path] = lib
            stem = os.path.splitext(path)[0]
            if os.path.exists(stem + ".h"):
                owner[stem + ".h"] = lib
    for folder, libs in by_folder.items():
        base = next((l for l in libs if l["library"] == "lumiere_" + l["name"]), libs[0])
        for directory, _, names in os.walk(folder):
            for name in names:
                path = os.path.normpath(os.path.join(directory, name))
                # A source no library lists is not built in this configuration (its option's
                # library was configured without it).
                if name.endswith(".h") and path not in owner:
                    owner[path] = base
    return owner


def allowed(lib, names_of):
    names = {lib["name"]}
    qt = False
    system = set()
    for link in lib["links"]:
        if link in names_of:
            names.add(names_of[link])
        if link.startswith("Qt6::"):
            qt = True
        system.add(link)
    return names, qt, system


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    libraries = read_manifest(sys.argv[1])
    names_of = {lib["library"]: lib["name"] for lib in libraries}
    known = set(names_of.values())
    faults = []
    for path, lib in sorted(files_of(libraries).items()):
        names, qt, system = allowed(lib, names_of)
        with open(path, encoding="utf-8") as source:
            text = source.read()
        for kind, included in INCLUDE.findall(text):
            first = included.split("/")[0]
            if kind == '"' and "/" in included and first in known and first not in names:
                faults.append(f"{path}: includes \"{included}\", but {lib['library']} does not "
                              f"link the library of {first}/")
            elif kind == '"' and "/" in included and first not in known and not included.endswith(".moc"):
                faults.append(f"{path}: includes \"{included}\", which is no library's")
            elif kind == "<" and re.match(r"Q[A-Za-z]", included) and not qt:
                faults.append(f"{path}: includes <{included}>, but {lib['library']} does not "
                              f"link Qt")
            elif kind == "<" and first in SYSTEM and "/" in included and SYSTEM[first] not in system:
                faults.append(f"{path}: includes <{included}>, but {lib['library']} does not "
                              f"link {SYSTEM[first]}")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) of libraries not linked")
        return 1
    print(f"{len(libraries)} libraries include only what they link")
    return 0


if __name__ == "__main__":
    sys.exit(main())
