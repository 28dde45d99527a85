#!/usr/bin/env python3
"""Writes the small archives that the extraction must handle safely, each named by its defect,
next to this script. Every archive is built byte by byte here, so the headers can say what a
well-behaved writer never would."""
import bz2
import lzma
import os
import struct
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


def main():
    for name, data in FIXTURES.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
    print("WRONG_PASSWORD =", wrong_password_passing_check("right-password"))


if __name__ == "__main__":
    main()
