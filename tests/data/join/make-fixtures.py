#!/usr/bin/env python3
"""Writes the small damaged and hostile spanned sets next to this script, each named by its
defect: <defect>001.zip, <defect>002.zip, ... as numbered parts on a fixed drive."""
import glob
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
MARKER = struct.pack("<I", 0x08074B50)


def data(size, seed):
    return bytes((seed + i * 7 + i // 13) & 0xFF for i in range(size))


class Parts:
    """Bytes laid on parts of at most `size` bytes; a whole record never straddles two parts."""

    def __init__(self, size):
        self.size, self.parts = size, [bytearray()]

    def add(self, chunk, whole):
        if whole and len(self.parts[-1]) + len(chunk) > self.size:
            self.parts.append(bytearray())
        for b in chunk:
            if len(self.parts[-1]) >= self.size:
                self.parts.append(bytearray())
            self.parts[-1].append(b)

    def where(self):
        return len(self.parts) - 1, len(self.parts[-1])


def spanned_set(entries, part_size=500, local_order=None, comment=b""):
    """Stored entries (name, data) written as a spanned set; returns the parts' bytes."""
    parts = Parts(part_size)
    parts.add(MARKER, True)
    disk, offset = {}, {}
    for i in local_order or range(len(entries)):
        name, body = entries[i]
        name = name.encode()
        crc = zlib.crc32(body)
        header = struct.pack("<IHHHIIIIHH", 0x04034B50, 20, 0, 0, 0x5A8C6000, crc, len(body),
                             len(body), len(name), 0)
        parts.add(header + name, True)
        disk[i], end = parts.where()
        offset[i] = end - len(header) - len(name)
        parts.add(body, False)
    central_disk = central_offset = central_size = 0
    for i, (name, body) in enumerate(entries):
        name = name.encode()
        header = struct.pack("<IBBHHHIIIIHHHHHII", 0x02014B50, 30, 3, 20, 0, 0, 0x5A8C6000,
                             zlib.crc32(body), len(body), len(body), len(name), 0, 0, disk[i], 0,
                             0o100644 << 16, offset[i])
        parts.add(header + name, True)
        if i == 0:
            central_disk, end = parts.where()
            central_offset = end - len(header) - len(name)
        central_size += len(header) + len(name)
    last = len(parts.parts) - 1
    if len(parts.parts[-1]) + 22 + len(comment) > part_size:
        last += 1
    end = struct.pack("<IHHHHIIH", 0x06054B50, last, central_disk, 0, len(entries),
                      central_size, central_offset, len(comment))
    parts.add(end + comment, True)
    return [bytearray(p) for p in parts.parts]


def two_entries():
    return spanned_set([("a.txt", data(600, 97)), ("b.txt", data(600, 98))])


def patched(parts, index, find, replace):
    at = parts[index].find(find)
    parts[index][at:at + len(find)] = replace
    return parts


def put(parts, index, offset, fmt, value):
    parts[index][offset:offset + struct.calcsize(fmt)] = struct.pack(fmt, value)
    return parts


def last_end_record(parts):
    return parts[-1].rfind(b"PK\x05\x06")


def without_marker():
    parts = two_entries()
    parts[0][0:1] = b"X"
    return parts


def central_volume_past_last():
    parts = two_entries()
    return put(parts, -1, last_end_record(parts) + 6, "<H", 9)


def entry_count_past_directory():
    parts = two_entries()
    return put(parts, -1, last_end_record(parts) + 10, "<H", 3)


def bad_central_signature():
    parts = two_entries()
    at = parts[-1].find(b"PK\x01\x02")
    parts[-1][at + 2:at + 4] = b"\x03\x02"
    return parts


def missing_middle_part():
    parts = spanned_set([("a.txt", data(1200, 97))])
    parts[1] = None
    return parts


def only_first_part():
    return two_entries()[:1]


FIXTURES = {
    # A local header names no entry of the central directory.
    "local-name-not-in-directory": patched(two_entries(), 0, b"a.txt", b"c.txt"),
    # Two local headers carry one name: the second finds no record left to pair with.
    "two-local-headers-one-name": patched(two_entries(), 0, b"a.txt", b"b.txt"),
    "first-volume-without-marker": without_marker(),
    # The local header's compressed size runs far past the end of the last part.
    "size-past-last-volume": put(two_entries(), 0, 4 + 18, "<I", 0xFFFFFFFF),
    "bad-local-signature": patched(two_entries(), 0, b"PK\x03\x04", b"PK\x03\x05"),
    "bad-central-signature": bad_central_signature(),
    "central-volume-past-last": central_volume_past_last(),
    "entry-count-past-directory": entry_count_past_directory(),
    "missing-middle-volume": missing_middle_part(),
    "only-first-volume": only_first_part(),
}

for old in glob.glob(os.path.join(HERE, "*.zip")):
    os.remove(old)
for defect, parts in FIXTURES.items():
    for k, part in enumerate(parts, 1):
        if part is not None:
            with open(os.path.join(HERE, "%s%03d.zip" % (defect, k)), "wb") as f:
                f.write(part)
