#!/usr/bin/env python3
"""Writes the smallest PE file with a version resource that the version
reader accepts (file version 3.1.2.7): the seed of fuzz_pe_version.

Usage: make_pe_seed.py OUTPUT"""

import struct
import sys


def version_info(major, minor, third, fourth):
    key = "VS_VERSION_INFO\0".encode("utf-16-le")
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x00010000,
                        major << 16 | minor, third << 16 | fourth,
                        major << 16 | minor, third << 16 | fourth,
                        0x3F, 0, 0x40004, 1, 0, 0, 0)
    body = struct.pack("<HHH", 0, len(fixed), 0) + key
    body += b"\0" * (-len(body) % 4) + fixed
    return struct.pack("<H", len(body)) + body[2:]


def resources(section_rva):
    # Root (type 16) -> name 1 -> language 0x409 -> data entry -> record.
    def directory(entry_id, value):
        return struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", entry_id, value)

    root, names, languages, entry = 0, 24, 48, 72
    record = version_info(3, 1, 2, 7)
    data = directory(16, 0x80000000 | names)
    data += directory(1, 0x80000000 | languages)
    data += directory(0x409, entry)
    data += struct.pack("<IIII", section_rva + entry + 16, len(record), 0, 0)
    return data + record


def pe_file():
    pe_offset, raw_offset, rva = 0x40, 0x200, 0x1000
    rsrc = resources(rva)
    dos = b"MZ" + b"\0" * 58 + struct.pack("<I", pe_offset)
    coff = b"PE\0\0" + struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 224, 0x102)
    optional = bytearray(224)
    struct.pack_into("<H", optional, 0, 0x10B)
    struct.pack_into("<I", optional, 92, 16)  # number of data directories
    struct.pack_into("<II", optional, 96 + 2 * 8, rva, len(rsrc))
    section = struct.pack("<8sIIIIIIHHI", b".rsrc", len(rsrc), rva, len(rsrc),
                          raw_offset, 0, 0, 0, 0, 0x40000040)
    head = dos + coff + bytes(optional) + section
    return head + b"\0" * (raw_offset - len(head)) + rsrc


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(pe_file())
