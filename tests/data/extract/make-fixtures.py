#!/usr/bin/env python3
"""Writes the defective archives for extraction next to this script, each named by its defect.

With --large DIR NAME it writes instead the large one of that name into DIR: those are made at
test time and never kept."""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DOS_TIME = 0x5A8C6000
UNIX_HOST, FAT_HOST = 3, 0


def local(name, data):
    return struct.pack("<IHHHIIIIHH", 0x04034B50, 20, 0, 0, DOS_TIME, zlib.crc32(data), len(data),
                       len(data), len(name), 0) + name + data


def central(name, data, offset, host=UNIX_HOST, extra=b""):
    return struct.pack("<IBBHHHIIIIHHHHHII", 0x02014B50, 30, host, 20, 0, 0, DOS_TIME,
                       zlib.crc32(data), len(data), len(data), len(name), len(extra), 0, 0, 0,
                       0o100644 << 16, offset) + name + extra


def end_record(count, size, offset, comment_length=0):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, size, offset, comment_length)


def zip64_end(count, size, offset):
    return struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, size, offset)


def zip64_locator(record_offset):
    return struct.pack("<IIQI", 0x07064B50, 0, record_offset, 1)


def archive(files, central_of=None, count=None):
    """files: (name, data, host, extra); central_of maps an index to the local header it names."""
    body, offsets = b"", []
    for name, data, _, _ in files:
        offsets.append(len(body))
        body += local(name.encode(), data)
    cd = b""
    for i, (name, data, host, extra) in enumerate(files):
        at = offsets[central_of[i]] if central_of else offsets[i]
        cd += central(name.encode(), data, at, host, extra)
    n = len(files) if count is None else count
    return body + cd + end_record(n, len(cd), len(body))


def plain(name, data=b"hello\n", host=UNIX_HOST, extra=b""):
    return (name, data, host, extra)


def unicode_path(raw, name):
    field = struct.pack("<BI", 1, zlib.crc32(raw.encode())) + name.encode()
    return struct.pack("<HH", 0x7075, len(field)) + field


README = plain("readme.txt", b"read me\n")
PAYLOAD = plain("payload.sh", b"echo owned\n")


def zip64_shadow():
    # The end record describes a directory of readme.txt alone; a zip64 end record in front of it
    # describes one that also holds payload.sh.
    body = local(b"readme.txt", README[1])
    second = len(body)
    body += local(b"payload.sh", PAYLOAD[1])
    full = central(b"readme.txt", README[1], 0) + central(b"payload.sh", PAYLOAD[1], second)
    record_at = len(body) + len(full)
    record = zip64_end(2, len(full), len(body))
    short = central(b"readme.txt", README[1], 0)
    short_at = record_at + len(record)
    tail = short + zip64_locator(record_at)
    return body + full + record + tail + end_record(1, len(tail), short_at)


def two_end_records():
    # A complete archive of both files whose comment hides a second directory of readme.txt alone
    # and a second end record, itself declaring a comment longer than the file.
    body = local(b"readme.txt", README[1]) + local(b"payload.sh", PAYLOAD[1])
    full = central(b"readme.txt", README[1], 0) + central(b"payload.sh", PAYLOAD[1],
                                                          len(local(b"readme.txt", README[1])))
    short = central(b"readme.txt", README[1], 0)
    hidden = short + end_record(1, len(short), len(body) + len(full) + 22, 100)
    return body + full + end_record(2, len(full), len(body), len(hidden)) + hidden


def many_fields_then_unicode_path():
    filler = b"".join(struct.pack("<HH", 0xCAFE, 2) + b"--" for _ in range(100))
    return archive([README, plain("notes.txt", extra=filler + unicode_path("notes.txt", ".bashrc"))])


FIXTURES = {
    "count-smaller-than-directory.zip": archive([README, PAYLOAD], count=1),
    "zip64-end-shadows-end.zip": zip64_shadow(),
    "two-end-records.zip": two_end_records(),
    "unicode-path-names-other-file.zip":
        archive([README, plain("notes.txt", extra=unicode_path("notes.txt", ".bashrc"))]),
    "unicode-path-after-many-fields.zip": many_fields_then_unicode_path(),
    "name-ends-in-colon.zip": archive([README, plain("payload.sh:")]),
    "name-ends-in-backslash.zip": archive([README, plain("payload.sh\\")]),
    "backslash-folder-from-fat.zip": archive([README, plain("pages\\", b"", FAT_HOST)]),
    "overlapping-entries.zip":
        archive([README, plain("copy1.txt", README[1]), plain("copy2.txt", README[1])],
                central_of=[0, 0, 0]),
}


def million_entries_count_wrapped(path):
    # 1 000 000 empty entries; the end record holds the count's low 16 bits and no zip64 record.
    count = 1000000
    with open(path, "wb") as f:
        offsets, at = [], 0
        for i in range(count):
            name = b"f%06d" % i
            record = local(name, b"")
            f.write(record)
            offsets.append(at)
            at += len(record)
        size = 0
        for i in range(count):
            record = central(b"f%06d" % i, b"", offsets[i])
            f.write(record)
            size += len(record)
        f.write(end_record(count & 0xFFFF, size, at))


def larger_than_readable(path):
    # An empty archive behind 2 GiB of nothing: a sparse file.
    with open(path, "wb") as f:
        f.truncate(1 << 31)
        f.seek(1 << 31)
        f.write(end_record(0, 0, 1 << 31))


LARGE = {
    "million-entries-count-wrapped.zip": million_entries_count_wrapped,
    "larger-than-readable.zip": larger_than_readable,
}

if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--large":
        LARGE[sys.argv[3]](os.path.join(sys.argv[2], sys.argv[3]))
    else:
        for name, data in FIXTURES.items():
            with open(os.path.join(HERE, name), "wb") as f:
                f.write(data)
