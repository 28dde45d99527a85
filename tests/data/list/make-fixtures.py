#!/usr/bin/env python3
"""Writes the small defective archives next to this script, each named by its defect."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def archive(entries=(("index.htm", b"<html></html>"), ("a.gif", b"GIF89a")), comment=b"",
            central_patch=None, end_patch=None):
    body, central = b"", []
    for name, data in entries:
        name = name.encode()
        crc = zlib.crc32(data)
        offset = len(body)
        body += struct.pack("<IHHHIIIIHH", 0x04034B50, 20, 0, 0, 0x5A8C6000, crc, len(data),
                            len(data), len(name), 0) + name + data
        central.append(bytearray(struct.pack("<IBBHHHIIIIHHHHHII", 0x02014B50, 30, 3, 20, 0, 0,
                                             0x5A8C6000, crc, len(data), len(data), len(name),
                                             0, 0, 0, 0, 0, offset) + name))
    if central_patch:
        central_patch(central)
    cd = b"".join(central)
    end = bytearray(struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries),
                                len(cd), len(body), len(comment)))
    if end_patch:
        end_patch(end)
    return body + cd + bytes(end) + comment


def put16(buf, off, value):
    buf[off:off + 2] = struct.pack("<H", value)


def put32(buf, off, value):
    buf[off:off + 4] = struct.pack("<I", value)


FIXTURES = {
    "empty-archive.zip": struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 0, 0, 0, 0, 0),
    "no-end-record.zip": archive()[:-22],
    "short-file.zip": b"PK\x03\x04\x14\x00\x00\x00\x00\x00",
    "truncated-end-record.zip": archive()[:-10],
    "cut-central-header.zip": archive(end_patch=lambda e: put16(e, 10, 3)),
    "bad-central-signature.zip": archive(central_patch=lambda c: put32(c[0], 0, 0x02034B50)),
    "cut-central-name.zip": archive(central_patch=lambda c: put16(c[-1], 28, 0xFFFF)),
    "cut-extra-field.zip": archive(central_patch=lambda c: put16(c[-1], 30, 0xFFFF)),
    "cut-file-comment.zip": archive(central_patch=lambda c: put16(c[-1], 32, 0xFFFF)),
    "garbage-after-end.zip": archive() + b"garbage",
    "comment-past-end.zip": archive(comment=b"short", end_patch=lambda e: put16(e, 20, 500)),
    "unadjusted-stub.zip": b"MZ" + b"\x90" * 62 + archive(),
    "central-size-too-large.zip": archive(end_patch=lambda e: put32(e, 12, 0x7FFFFFF0)),
    "zip64-sizes-in-end-record.zip": archive(end_patch=lambda e: (put32(e, 12, 0xFFFFFFFF),
                                                                   put32(e, 16, 0xFFFFFFFF))),
    "first-file-of-set.zip": struct.pack("<I", 0x08074B50) + archive()[:-22],
    "central-on-missing-volume.zip": archive(end_patch=lambda e: put16(e, 4, 1)),
    "entry-count-too-large.zip": archive(end_patch=lambda e: put16(e, 10, 0xFFFF)),
}

for name, data in FIXTURES.items():
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
