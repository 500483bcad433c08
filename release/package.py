#!/usr/bin/env python3
"""Packs Morvi's release: OUT/Morvi-<version>-win-x64.zip and OUT/SHA256SUMS.

The zip holds, in this order, Morvi.exe, README.txt, LICENSE.txt and a sample Morvi-Note.txt.
The texts are kept in the repository as UTF-8 with LF line ends; here they get CR LF, and the two
Japanese ones a UTF-8 byte-order mark, so that Windows' Notepad and Morvi read them right.
Every entry has the same fixed time and permissions and the entries stand in a fixed order, so
the same inputs always give the same bytes and a user can check a download against SHA256SUMS.

Usage: package.py --version VERSION --exe MORVI.EXE --out DIR
       package.py --sample-note FILE   (writes only the sample word list, as the zip holds it)
"""
import argparse
import hashlib
import os
import re
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# 1 January 2026, 00:00: the time of every entry, whenever and wherever the zip is made.
ENTRY_TIME = (2026, 1, 1, 0, 0, 0)
UTF8_BOM = b"\xef\xbb\xbf"


def windows_text(path, bom):
    """The file's text with CR LF line ends (and a final one), with or without a UTF-8 mark."""
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(UTF8_BOM):
        data = data[len(UTF8_BOM):]
    text = data.decode("utf-8")  # strict: a broken source fails the release
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    body = "".join(line + "\r\n" for line in lines).encode("utf-8")
    return (UTF8_BOM if bom else b"") + body


def zip_name(version):
    return "Morvi-%s-win-x64.zip" % version


def sample_note():
    return windows_text(os.path.join(HERE, "Morvi-Note.txt"), bom=True)


def entries(exe):
    """(name in the zip, bytes, Unix permissions), in the zip's order."""
    with open(exe, "rb") as f:
        exe_bytes = f.read()
    return [
        ("Morvi.exe", exe_bytes, 0o755),
        ("README.txt", windows_text(os.path.join(HERE, "README.txt"), bom=True), 0o644),
        ("LICENSE.txt", windows_text(os.path.join(ROOT, "LICENSE"), bom=False), 0o644),
        ("Morvi-Note.txt", sample_note(), 0o644),
    ]


def write_zip(path, items):
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for name, data, mode in items:
            info = zipfile.ZipInfo(name, date_time=ENTRY_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the permissions below are the ones recorded
            info.external_attr = (0o100000 | mode) << 16
            z.writestr(info, data, compresslevel=9)
    os.replace(partial, path)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version")
    parser.add_argument("--exe")
    parser.add_argument("--out")
    parser.add_argument("--sample-note", metavar="FILE")
    args = parser.parse_args(argv)
    if args.sample_note:
        with open(args.sample_note, "wb") as f:
            f.write(sample_note())
        return 0
    if not (args.version and args.exe and args.out):
        parser.error("--version, --exe and --out are needed")
    if not re.fullmatch(r"[0-9]+\.[0-9]+\.[0-9]+", args.version):
        parser.error("the version must be MAJOR.MINOR.PATCH, not %r" % args.version)

    os.makedirs(args.out, exist_ok=True)
    name = zip_name(args.version)
    path = os.path.join(args.out, name)
    write_zip(path, entries(args.exe))
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    # The format of sha256sum, so that `sha256sum -c SHA256SUMS` checks it.
    with open(os.path.join(args.out, "SHA256SUMS"), "w", newline="\n") as f:
        f.write("%s  %s\n" % (digest, name))
    print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
