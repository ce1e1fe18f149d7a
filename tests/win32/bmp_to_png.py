#!/usr/bin/env python3
"""Turns a 24-bit bottom-up BMP (as capture_windows.exe writes it) into a PNG,
with the standard library only. Usage: bmp_to_png.py IN.bmp OUT.png"""

import struct
import sys
import zlib


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        sys.exit("%s is not a BMP file" % source)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        sys.exit("only 24-bit BMP files are handled")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        row_index = abs(height) - 1 - y if height > 0 else y
        row = data[offset + row_index * stride:offset + row_index * stride + width * 3]
        rgb = bytearray(len(row))
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::3], row[1::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
    with open(target, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
