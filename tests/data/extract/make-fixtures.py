#!/usr/bin/env python3
"""Writes the small archives that the extraction must handle safely, each named by its defect,
next to this script. Every archive is built byte by byte here, so the headers can say what a
well-behaved writer never would.

With --large DIR NAME it writes instead the large archive of that name into DIR: those are made
at test time and never kept."""
import bz2
import lzma
import os
import struct
import sys
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DOS_TIME, DOS_DATE = 0x6000, 0x5A8C

# The content every damaged entry decodes to, and what the tests find in place beforehand.
PAGE = b"<html>the page as the archive has it</html>\n"


def deflate(data):
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


def zip_lzma(data):
    # The zip form of LZMA: SDK version, properties size, properties, then the raw stream with an
    # end marker (flag bit 1).
    c = lzma.LZMACompressor(lzma.FORMAT_RAW, filters=[{"id": lzma.FILTER_LZMA1}])
    props = lzma._encode_filter_properties({"id": lzma.FILTER_LZMA1})
    return struct.pack("<BBH", 9, 20, len(props)) + props + c.compress(data) + c.flush()


def zstd_raw_frame(data):
    # One frame of one uncompressed block: magic, single-segment descriptor, content size, block.
    assert len(data) < 256
    return struct.pack("<IBB", 0xFD2FB528, 0x20, len(data)) + \
        (1 | len(data) << 3).to_bytes(3, "little") + data


METHODS = {
    "stored": (0, lambda d: d, 0),
    "deflate": (8, deflate, 0),
    "bzip2": (12, bz2.compress, 0),
    "lzma": (14, zip_lzma, 2),
    "xz": (95, lambda d: lzma.compress(d, format=lzma.FORMAT_XZ), 0),
    "zstd": (93, zstd_raw_frame, 0),
}


class TraditionalCipher:
    TABLE = [0] * 256

    def __init__(self, password):
        self.keys = [0x12345678, 0x23456789, 0x34567890]
        for c in password:
            self.update(c)

    @staticmethod
    def crc(value, byte):
        return TraditionalCipher.TABLE[(value ^ byte) & 0xFF] ^ (value >> 8)

    def update(self, byte):
        k = self.keys
        k[0] = self.crc(k[0], byte)
        k[1] = ((k[1] + (k[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        k[2] = self.crc(k[2], k[1] >> 24)

    def mask(self):
        t = (self.keys[2] | 2) & 0xFFFF
        return ((t * (t ^ 1)) >> 8) & 0xFF

    def encrypt(self, data):
        out = bytearray()
        for p in data:
            out.append(p ^ self.mask())
            self.update(p)
        return bytes(out)

    def decrypt(self, data):
        out = bytearray()
        for c in data:
            out.append(c ^ self.mask())
            self.update(out[-1])
        return bytes(out)


for i in range(256):
    v = i
    for _ in range(8):
        v = (v >> 1) ^ 0xEDB88320 if v & 1 else v >> 1
    TraditionalCipher.TABLE[i] = v


class Entry:
    def __init__(self, name, data=b"", method="stored", crc=None, size=None, csize=None,
                 password=None):
        self.name = name.encode()
        number, compress, self.flags = METHODS[method]
        self.method = number
        self.payload = compress(data)
        self.crc = zlib.crc32(data) if crc is None else crc
        if password is not None:
            header = bytes(range(11)) + bytes([self.crc >> 24])
            self.payload = TraditionalCipher(password.encode()).encrypt(header + self.payload)
            self.flags |= 1
        self.size = len(data) if size is None else size
        self.csize = len(self.payload) if csize is None else csize


def archive(*entries):
    """A zip with the entries as given; sizes that do not fit 32 bits go to zip64 fields."""
    body, central = b"", b""
    for e in entries:
        zip64 = e.size >= 0xFFFFFFFF or e.csize >= 0xFFFFFFFF
        extra = struct.pack("<HHQQ", 1, 16, e.size, e.csize) if zip64 else b""
        sizes = (0xFFFFFFFF, 0xFFFFFFFF) if zip64 else (e.csize, e.size)
        version = 45 if zip64 else 20
        fixed = struct.pack("<HHHHHIII", version, e.flags, e.method, DOS_TIME, DOS_DATE, e.crc, *sizes)
        central += struct.pack("<IBB", 0x02014B50, version, 3) + fixed + \
            struct.pack("<HHHHHII", len(e.name), len(extra), 0, 0, 0, 0o100644 << 16, len(body)) + \
            e.name + extra
        body += struct.pack("<I", 0x04034B50) + fixed + \
            struct.pack("<HH", len(e.name), len(extra)) + e.name + extra + e.payload
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                      len(body), 0)
    return body + central + end


def wrong_password_passing_check(right):
    """The first of wrong-0, wrong-1, ... whose decrypted header ends in the check byte."""
    sealed = Entry("secret.txt", PAGE, password=right).payload[:12]
    for n in range(100000):
        candidate = "wrong-%d" % n
        if TraditionalCipher(candidate.encode()).decrypt(sealed)[11] == zlib.crc32(PAGE) >> 24:
            return candidate
    raise SystemExit("no wrong password passes the check byte")


FIXTURES = {
    # Decodes whole, but the CRC the headers give is not the data's.
    **{"crc-mismatch-%s.zip" % m: archive(Entry("page.htm", PAGE, m, crc=zlib.crc32(PAGE) ^ 1))
       for m in METHODS},
    # Encrypted with "right-password"; the test gives WRONG_PASSWORD, which passes the check byte.
    "wrong-password-passing-check.zip": archive(Entry("secret.txt", PAGE, password="right-password")),
    # 1 GiB declared from a few hundred bytes, beside an ordinary entry.
    "entry-expands-too-much.zip": archive(Entry("index.htm", PAGE),
                                          Entry("bomb.bin", bytes(300), "deflate", size=1 << 30)),
    # Two entries that declare 40 GiB each: together more than one extraction may write.
    "entries-declare-too-much.zip": archive(Entry("index.htm", PAGE),
                                            Entry("a.bin", PAGE, "deflate", size=40 << 30),
                                            Entry("b.bin", PAGE, "deflate", size=40 << 30)),
    # A declared size of 2^64 - 1.
    "size-of-2-64-minus-1.zip": archive(Entry("huge.bin", PAGE, size=(1 << 64) - 1)),
}


# Archives whose directory the component's List and the library could read differently: both must
# see the same entries, or refuse the archive.
LISTING_TIME = 0x5A8C6000
UNIX_HOST, FAT_HOST = 3, 0


def local_header(name, data):
    return struct.pack("<IHHHIIIIHH", 0x04034B50, 20, 0, 0, LISTING_TIME, zlib.crc32(data),
                       len(data), len(data), len(name), 0) + name + data


def central_header(name, data, offset, host=UNIX_HOST, extra=b""):
    return struct.pack("<IBBHHHIIIIHHHHHII", 0x02014B50, 30, host, 20, 0, 0, LISTING_TIME,
                       zlib.crc32(data), len(data), len(data), len(name), len(extra), 0, 0, 0,
                       0o100644 << 16, offset) + name + extra


def end_record(count, size, offset, comment_length=0):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, size, offset, comment_length)


def zip64_end(count, size, offset):
    return struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, size, offset)


def zip64_locator(record_offset):
    return struct.pack("<IIQI", 0x07064B50, 0, record_offset, 1)


def listed_archive(files, central_of=None, count=None):
    """files: (name, data, host, extra); central_of maps an index to the local header it names."""
    body, offsets = b"", []
    for name, data, _, _ in files:
        offsets.append(len(body))
        body += local_header(name.encode(), data)
    cd = b""
    for i, (name, data, host, extra) in enumerate(files):
        at = offsets[central_of[i]] if central_of else offsets[i]
        cd += central_header(name.encode(), data, at, host, extra)
    n = len(files) if count is None else count
    return body + cd + end_record(n, len(cd), len(body))


def named(name, data=b"hello\n", host=UNIX_HOST, extra=b""):
    return (name, data, host, extra)


def unicode_path(raw, name):
    field = struct.pack("<BI", 1, zlib.crc32(raw.encode())) + name.encode()
    return struct.pack("<HH", 0x7075, len(field)) + field


README = named("readme.txt", b"read me\n")
PAYLOAD = named("payload.sh", b"echo owned\n")


def zip64_shadow():
    # The end record describes a directory of readme.txt alone; a zip64 end record in front of it
    # describes one that also holds payload.sh.
    body = local_header(b"readme.txt", README[1])
    second = len(body)
    body += local_header(b"payload.sh", PAYLOAD[1])
    full = central_header(b"readme.txt", README[1], 0) + \
        central_header(b"payload.sh", PAYLOAD[1], second)
    record_at = len(body) + len(full)
    record = zip64_end(2, len(full), len(body))
    short = central_header(b"readme.txt", README[1], 0)
    short_at = record_at + len(record)
    tail = short + zip64_locator(record_at)
    return body + full + record + tail + end_record(1, len(tail), short_at)


def two_end_records():
    # A complete archive of both files whose comment hides a second directory of readme.txt alone
    # and a second end record, itself declaring a comment longer than the file.
    body = local_header(b"readme.txt", README[1]) + local_header(b"payload.sh", PAYLOAD[1])
    second = len(local_header(b"readme.txt", README[1]))
    full = central_header(b"readme.txt", README[1], 0) + \
        central_header(b"payload.sh", PAYLOAD[1], second)
    short = central_header(b"readme.txt", README[1], 0)
    hidden = short + end_record(1, len(short), len(body) + len(full) + 22, 100)
    return body + full + end_record(2, len(full), len(body), len(hidden)) + hidden


def many_fields_then_unicode_path():
    filler = b"".join(struct.pack("<HH", 0xCAFE, 2) + b"--" for _ in range(100))
    notes = named("notes.txt", extra=filler + unicode_path("notes.txt", ".bashrc"))
    return listed_archive([README, notes])


LISTING_FIXTURES = {
    "count-smaller-than-directory.zip": listed_archive([README, PAYLOAD], count=1),
    "zip64-end-shadows-end.zip": zip64_shadow(),
    "two-end-records.zip": two_end_records(),
    "unicode-path-names-other-file.zip":
        listed_archive([README, named("notes.txt", extra=unicode_path("notes.txt", ".bashrc"))]),
    "unicode-path-after-many-fields.zip": many_fields_then_unicode_path(),
    "name-ends-in-colon.zip": listed_archive([README, named("payload.sh:")]),
    "name-ends-in-backslash.zip": listed_archive([README, named("payload.sh\\")]),
    "backslash-folder-from-fat.zip": listed_archive([README, named("pages\\", b"", FAT_HOST)]),
    "overlapping-entries.zip":
        listed_archive([README, named("copy1.txt", README[1]), named("copy2.txt", README[1])],
                       central_of=[0, 0, 0]),
}


def million_entries_count_wrapped(path):
    # 1 000 000 empty entries; the end record holds the count's low 16 bits and no zip64 record.
    count = 1000000
    with open(path, "wb") as f:
        offsets, at = [], 0
        for i in range(count):
            name = b"f%06d" % i
            record = local_header(name, b"")
            f.write(record)
            offsets.append(at)
            at += len(record)
        size = 0
        for i in range(count):
            record = central_header(b"f%06d" % i, b"", offsets[i])
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


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--large":
        LARGE[sys.argv[3]](os.path.join(sys.argv[2], sys.argv[3]))
        return
    for name, data in {**FIXTURES, **LISTING_FIXTURES}.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
    print("WRONG_PASSWORD =", wrong_password_passing_check("right-password"))


if __name__ == "__main__":
    main()
