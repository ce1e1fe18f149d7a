#!/usr/bin/env python3
"""Checks Velkaro.dll's export and import tables.

Exports: exactly the ten plain names and the ten names that the host's
compiler (clang in MSVC mode, from host_signatures.cc) gives the entry points'
signatures; each decorated name shares its body with its plain name
(host_signatures.cc says which), and GetExchgCount0 shares GetNumberOfSets's.
Imports: only Windows' own libraries, no compiler runtime DLL. The PE file is
read by this script itself; objdump's reading is checked against it.
"""

import argparse
import os
import re
import struct
import subprocess
import sys

ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll",
                   "oleaut32.dll", "version.dll", "msvcrt.dll"}


class Pe:
    """The few parts of a PE32 file this check needs."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, sections, _, _, _, optional_size, self.characteristics = \
            struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        if self.magic != 0x10B:
            raise ValueError("not PE32")
        directories = optional + 96
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            (vsize, va, rsize, raw) = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((va, max(vsize, rsize), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError("RVA %#x outside the sections" % rva)

    def string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("latin-1")

    def exports(self):
        """{name: function RVA}."""
        rva, _ = self.directories[0]
        (_, _, _, _, _, _, _, names, functions_rva, names_rva,
         ordinals_rva) = struct.unpack_from("<IIHHIIIIIII", self.data, self.offset(rva))
        table = {}
        for i in range(names):
            name_rva = struct.unpack_from("<I", self.data, self.offset(names_rva) + 4 * i)[0]
            index = struct.unpack_from("<H", self.data, self.offset(ordinals_rva) + 2 * i)[0]
            target = struct.unpack_from("<I", self.data,
                                        self.offset(functions_rva) + 4 * index)[0]
            table[self.string(name_rva)] = target
        return table

    def imports(self):
        rva, _ = self.directories[1]
        at = self.offset(rva)
        names = []
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if entry == (0, 0, 0, 0, 0):
                return names
            names.append(self.string(entry[3]))
            at += 20


def decorated_names(signatures, scratch):
    obj = os.path.join(scratch, "host_signatures.obj")
    subprocess.run(["clang++", "--target=i686-pc-windows-msvc", "-c", signatures,
                    "-o", obj], check=True)
    listing = subprocess.run(["llvm-nm", obj], check=True, capture_output=True,
                             text=True).stdout
    names = {}
    for line in listing.splitlines():
        parts = line.split()
        if len(parts) == 2 and parts[0] == "U" and parts[1].startswith("?"):
            function = parts[1][1:parts[1].index("@")]
            names[function] = parts[1]
    return names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dll", required=True)
    parser.add_argument("--signatures", required=True)
    parser.add_argument("--objdump")
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()

    failures = []
    with open(args.dll, "rb") as f:
        pe = Pe(f.read())
    if pe.machine != 0x14C:
        failures.append("machine %#x is not i386" % pe.machine)
    if not pe.characteristics & 0x2000:
        failures.append("not a DLL")

    decorated = decorated_names(args.signatures, args.scratch)
    with open(args.signatures) as f:
        rows = re.findall(r"^// PLAIN (\w+) = (\w+)$", f.read(), re.M)
    if len(rows) != 10 or len(decorated) != 10:
        failures.append("expected 10 signatures, found %d rows and %d names"
                        % (len(rows), len(decorated)))

    exports = pe.exports()
    expected = {plain for plain, _ in rows} | set(decorated.values())
    if set(exports) != expected:
        failures.append("unexpected exports: %s" % sorted(set(exports) - expected))
        failures.append("missing exports: %s" % sorted(expected - set(exports)))
    for plain, function in rows:
        name = decorated.get(function)
        if name in exports and plain in exports and exports[name] != exports[plain]:
            failures.append("%s and %s have different bodies" % (name, plain))
    if exports.get("GetExchgCount0") != exports.get("GetNumberOfSets"):
        failures.append("GetExchgCount0 and GetNumberOfSets have different bodies")

    imports = [name.lower() for name in pe.imports()]
    for name in imports:
        if name not in ALLOWED_IMPORTS:
            failures.append("imports %s" % name)

    if args.objdump:
        listing = subprocess.run([args.objdump, "-p", args.dll], check=True,
                                 capture_output=True, text=True).stdout
        dumped = set(re.findall(r"^\s*DLL Name: (\S+)", listing, re.M))
        if {n.lower() for n in dumped} != set(imports):
            failures.append("objdump reads imports %s" % sorted(dumped))
        table = listing.split("[Ordinal/Name Pointer] Table", 1)[-1]
        names = set(re.findall(r"^\s*\[\s*\d+\] (\S+)$", table, re.M))
        if names != set(exports):
            failures.append("objdump reads exports %s" % sorted(names))

    for failure in failures:
        print("FAIL:", failure)
    print("%d exports, imports %s" % (len(exports), ", ".join(imports)))
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
