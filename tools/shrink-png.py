#!/usr/bin/env python3
"""Compresses a PNG that snap wrote (its pixel data is stored uncompressed) with zlib at the
highest level, in place. The pixels stay exactly as they were: only their encoding changes."""
import os
import struct
import sys
import zlib


def chunks(data):
    pos = 8
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def shrink(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("shrink-png: %s is not a PNG file" % path)
    pixels = zlib.decompress(b"".join(body for kind, body in chunks(data) if kind == b"IDAT"))
    out = data[:8]
    for kind, body in chunks(data):
        if kind == b"IDAT":
            if pixels is not None:
                out += chunk(b"IDAT", zlib.compress(pixels, 9))
                pixels = None
        else:
            out += chunk(kind, body)
    with open(path + ".partial", "wb") as f:
        f.write(out)
    os.replace(path + ".partial", path)


if __name__ == "__main__":
    for p in sys.argv[1:]:
        shrink(p)
