#!/usr/bin/env python3
"""Archives that attack an extractor, built field by field so that each one
holds exactly the fault it is named after.

make_fixtures.py writes them for the tests; run alone, this script writes small
versions of them as fuzzing seeds:

usage: hostile_archives.py SEED_DIR
"""
import os
import struct
import sys
import zlib

LOCAL, CENTRAL, END = 0x04034B50, 0x02014B50, 0x06054B50
DOS_TIME = (0x5A21 << 16) | 0x6000  # 2025-01-01 12:00


def deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return packer.compress(data) + packer.flush()


class Entry:
    """One entry. `size` and `offset` override what the central directory
    records, `local_size` what the local header records, `packed_size` what
    both record as the compressed size."""

    def __init__(self, name, data=b"", method=8, size=None, local_size=None, offset=None, attributes=None,
                 packed_size=None):
        self.name = name.encode() if isinstance(name, str) else name
        self.data = data
        self.method = 0 if self.name.endswith(b"/") else method
        self.packed = deflate(data) if self.method == 8 else data
        self.crc = zlib.crc32(data)
        self.size = len(data) if size is None else size
        self.local_size = self.size if local_size is None else local_size
        self.packed_size = len(self.packed) if packed_size is None else packed_size
        self.offset = offset
        self.attributes = attributes if attributes is not None else (0x30 if self.name.endswith(b"/") else 0x20)

    def local(self):
        return struct.pack("<IHHHIIIIHH", LOCAL, 20, 2, self.method, DOS_TIME, self.crc, self.packed_size,
                           self.local_size, len(self.name), 0) + self.name + self.packed

    def central(self, offset):
        return struct.pack("<IHHHHIIIIHHHHHII", CENTRAL, 20, 20, 2, self.method, DOS_TIME, self.crc,
                           self.packed_size, self.size, len(self.name), 0, 0, 0, 0, self.attributes,
                           offset) + self.name


def build(entries, prefix=b"", locals_=None):
    """The archive of `entries`; `locals_` is the list of entries whose local
    header and data are written (all by default)."""
    body = bytearray(prefix)
    offsets = {}
    for entry in entries if locals_ is None else locals_:
        offsets[id(entry)] = len(body) - len(prefix)
        body += entry.local()
    directory = bytearray()
    for entry in entries:
        directory += entry.central(entry.offset if entry.offset is not None else offsets[id(entry)])
    start = len(body) - len(prefix)
    return bytes(body + directory +
                 struct.pack("<IHHHHIIH", END, 0, 0, len(entries), len(entries), len(directory), start, 0))


def deep_names(parts):
    """A file and a folder nested `parts` folders deep, then a harmless file."""
    return build([Entry("a/" * parts + "deep.txt", b"deep"), Entry("b/" * parts),
                  Entry("after.txt", b"after")])


def device_names():
    """Windows device names in several spellings and places (one behind a NUL
    that ends the name for the file system), between names that only look alike."""
    names = [b"first.txt", b"CON", b"con.txt", b"Aux", b"a/nul/b.txt", b"LPT1.log", b"com9", b"prn .txt", b"x/AUX/",
             b"cut/COM1\0/x.txt", b"CONSOLE.txt", b"com10.txt", b"nullify.txt", b"last.txt"]
    return build([Entry(name, b"" if name.endswith(b"/") else b"text of " + name) for name in names])


def deflate_bomb(size):
    """Entries that inflate to `size` bytes of zeros but record 1,000 bytes: in
    both headers, and in the central directory only; then a harmless file."""
    zeros = bytes(size)
    return build([Entry("bomb.bin", zeros, size=1000), Entry("bomb-central.bin", zeros, size=1000, local_size=size),
                  Entry("after.txt", b"after")])


def overlapping_entries():
    """An outer stored entry whose data holds an inner entry's local header and
    data; a third entry that is the outer one again; then a harmless file."""
    inner = Entry("inner.txt", b"inner text " * 20)
    outer = Entry("outer.bin", inner.local(), method=0, offset=0)
    inner.offset = 30 + len(outer.name)
    copy = Entry("copy.bin", outer.data, method=0, offset=0)
    last = Entry("last.txt", b"last")
    return build([outer, inner, copy, last], locals_=[outer, last])


def understated_size():
    """An entry whose deflate stream runs on past the compressed size it records,
    into bytes that belong to no entry of it; then a harmless file."""
    text = b"".join(b"line %04d of an entry longer than it says\r\n" % i for i in range(200))
    return build([Entry("longer.txt", text, packed_size=16), Entry("after.txt", b"after")])


def offset_overflow():
    """Data in front of the archive, and an entry whose header offset plus that
    shift no longer fits in 31 bits."""
    far = Entry("far.txt", b"far away", offset=0x7FFFFFFA)
    first = Entry("first.txt", b"first")
    return build([first, far], prefix=b"PREFIX-DATA!", locals_=[first, far])


def write_all(folder, small):
    os.makedirs(folder, exist_ok=True)
    archives = {
        "deep-names.zip": deep_names(200 if small else 30000),
        "device-names.zip": device_names(),
        "deflate-bomb.zip": deflate_bomb(1 << 16 if small else 1 << 24),
        "overlapping-entries.zip": overlapping_entries(),
        "offset-overflow.zip": offset_overflow(),
        "understated-size.zip": understated_size(),
    }
    for name, data in archives.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write_all(sys.argv[1], small=True)
