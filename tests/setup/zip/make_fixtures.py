#!/usr/bin/env python3
"""Builds the archives the reader's tests open, with real tools: Info-ZIP zip,
Python's zipfile and our own payload writer, and hostile ones field by field
(hostile_archives.py). Beside each real archive, Info-ZIP unzip's extraction of
it is kept as the expected result.

usage: make_fixtures.py OUTPUT_DIR ZIPWRITE LEGACY_DIR
"""
import io
import os
import shutil
import struct
import subprocess
import sys
import zipfile

import hostile_archives

out, zipwrite, legacy = sys.argv[1], sys.argv[2], sys.argv[3]
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)
source = os.path.join(out, "source")


def write(path, data):
    full = os.path.join(source, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


text = b"".join(b"Line %05d of the Lumorix fixture, with some text to compress.\r\n" % i for i in range(3000))
noise = bytes((i * 7919 + (i >> 3) * 104729) & 0xFF for i in range(200000))
write("Languages/English.ini", b"[Main]\r\nBtSCC=Color Control\r\n")
write("Languages/German.INI", b"[Main]\r\n")
write("Skins/Radorur.skn/Skin.ini", b"[Info]\r\nName=Radorur\r\n")
write("Lumorix.Lumorixpl", b"")
write("Big/text.txt", text)
write("Big/noise.bin", noise)


def run(*args, cwd=None):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def expect(name):
    """unzip's own extraction, the reference for byte-by-byte comparison."""
    target = os.path.join(out, "expected", name)
    os.makedirs(target)
    subprocess.run(["unzip", "-qq", "-o", os.path.join(out, name), "-d", target], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


members = ["Languages/", "Languages/English.ini", "Languages/German.INI", "Skins/", "Skins/Radorur.skn/",
           "Skins/Radorur.skn/Skin.ini", "Lumorix.Lumorixpl", "Big/", "Big/text.txt", "Big/noise.bin"]

# Info-ZIP, deflated with folder entries, and stored.
run("zip", "-q", "-X", os.path.join(out, "infozip-deflated.zip"), *members, cwd=source)
expect("infozip-deflated.zip")
run("zip", "-q", "-X", "-0", os.path.join(out, "infozip-stored.zip"), *members, cwd=source)
expect("infozip-stored.zip")

# An archive comment pushes the end record away from the file's end.
shutil.copy(os.path.join(out, "infozip-deflated.zip"), os.path.join(out, "infozip-comment.zip"))
subprocess.run(["zip", "-q", "-z", os.path.join(out, "infozip-comment.zip")], input=b"A comment " * 500,
               check=True, stdout=subprocess.DEVNULL)
expect("infozip-comment.zip")

# Our payload writer.
run(zipwrite, os.path.join(out, "payload.zip"), *members, cwd=source)
expect("payload.zip")


class Unseekable(io.RawIOBase):
    """A stream zipfile cannot seek back in, so it writes data descriptors."""

    def __init__(self, sink):
        self.sink = sink

    def writable(self):
        return True

    def write(self, data):
        self.sink.write(data)
        return len(data)


with open(os.path.join(out, "python-streamed.zip"), "wb") as sink:
    with zipfile.ZipFile(Unseekable(sink), "w", zipfile.ZIP_DEFLATED) as archive:
        for name in ["Languages/English.ini", "Big/text.txt", "Big/noise.bin"]:
            with open(os.path.join(source, name), "rb") as f:
                archive.writestr(name, f.read())
expect("python-streamed.zip")

with zipfile.ZipFile(os.path.join(out, "python-mixed.zip"), "w") as archive:
    archive.writestr(zipfile.ZipInfo("stored.txt"), text[:5000], compress_type=zipfile.ZIP_STORED)
    archive.writestr(zipfile.ZipInfo("empty.txt"), b"", compress_type=zipfile.ZIP_DEFLATED)
    archive.writestr(zipfile.ZipInfo("deflated.txt"), text, compress_type=zipfile.ZIP_DEFLATED)
expect("python-mixed.zip")

# A few bytes of other data in front; the recorded offsets are not adjusted.
with open(os.path.join(out, "python-mixed.zip"), "rb") as f:
    plain = f.read()
with open(os.path.join(out, "prefixed.zip"), "wb") as f:
    f.write(b"PREFIX-DATA!" + plain)
expect("prefixed.zip")

# A bad CRC: the first entry's stored bytes changed after the fact.
with zipfile.ZipFile(os.path.join(out, "badcrc.zip"), "w") as archive:
    archive.writestr(zipfile.ZipInfo("a-broken.txt"), b"original contents", compress_type=zipfile.ZIP_STORED)
    archive.writestr(zipfile.ZipInfo("b-fine.txt"), b"fine contents", compress_type=zipfile.ZIP_STORED)
with open(os.path.join(out, "badcrc.zip"), "r+b") as f:
    data = f.read()
    at = data.index(b"original contents")
    f.seek(at)
    f.write(b"ORIGINAL")

# Names that try to leave the target folder, between two harmless ones.
with zipfile.ZipFile(os.path.join(out, "traversal.zip"), "w") as archive:
    for name in ["first.txt", "../escaped.txt", "/absolute.txt", "C:drive.txt", "sub/../../up.txt", "last.txt"]:
        info = zipfile.ZipInfo("placeholder")
        info.filename = name  # bypass zipfile's own clean-up of the name
        archive.writestr(info, b"x " + name.encode())

# An end record whose directory offset points past the end record itself.
with open(os.path.join(out, "python-mixed.zip"), "rb") as f:
    data = bytearray(f.read())
end = data.rindex(b"PK\x05\x06")
struct.pack_into("<I", data, end + 16, len(data) + 1000)
with open(os.path.join(out, "bad-directory-offset.zip"), "wb") as f:
    f.write(data)

# The end record before offset 46: a local header and then straight the end record.
with open(os.path.join(out, "early-end.zip"), "wb") as f:
    f.write(b"PK\x03\x04" + b"\0" * 26 + b"PK\x05\x06" + b"\0" * 18)

# Deep names, device names, a deflate bomb, overlapping entries, an offset past 31 bits.
hostile_archives.write_all(out, small=False)

for name in ["shrink.zip", "reduce.zip", "implode.zip"]:
    shutil.copy(os.path.join(legacy, name), os.path.join(out, name))
shutil.copy(os.path.join(legacy, "first.txt"), os.path.join(out, "first.txt"))

with open(os.path.join(out, "stamp"), "w") as f:
    f.write("ok\n")
