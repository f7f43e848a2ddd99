#!/usr/bin/env python3
"""Packs PNG pictures into one Windows icon (.ico), each stored as PNG.

    make-ico.py OUT.ico 16.png 32.png 48.png 256.png
"""
import struct
import sys


def png_size(data):
    # The IHDR chunk follows the 8-byte signature: width and height, big-endian.
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG")
    return struct.unpack(">II", data[16:24])


def main(out, pictures):
    images = [open(path, "rb").read() for path in pictures]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for data in images:
        width, height = png_size(data)
        # 256 is written as 0, as the format has one byte for each.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data),
                               offset)
        blobs += data
        offset += len(data)
    with open(out, "wb") as ico:
        ico.write(header + entries + blobs)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2:])
