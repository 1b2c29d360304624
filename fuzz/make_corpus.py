#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the small seed files of fuzz/corpus (run from anywhere)."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
CREDIT = b" KALMODERIVESTA & MAXIS 1"


def header(version=b"2.5", credit=CREDIT, map_offset=0):
    text = b"IFF FILE " + version + b":TYPE FOLLOWED BY SIZE"
    return text + b"\0" + credit[:25].ljust(25, b"\0") + struct.pack(">I", map_offset)


def chunk(kind, cid, body=b"", name=b"", unknown=b"\0\0", size=None):
    size = 76 + len(body) if size is None else size
    return kind + struct.pack(">IH", size, cid) + unknown + name[:64].ljust(64, b"\0") + body


def old_map():
    body = b"\0" * 8 + b"pmsr" + struct.pack("<II", 96, 0)
    return chunk(b"rsmp", 0, body, unknown=b"\0\x10")


def objd(strings_id):
    body = bytearray(216)
    struct.pack_into("<H", body, 82, strings_id)
    return bytes(body)


# Catalog text in each string-list format, with CR LF, a lone CR and 0xA0 in it.
CTSS_BODIES = [
    b"\xfd\xff\x02\x00\x01Chair\0c\0\x01Line\r\none\rtwo\xa0\0\0\xa3\xa3",
    b"\xfd\xff\x01\x00\x01Name only\0\0\xa3",
    b"\xfc\xff\x01\x02\x00\x00\x04Sofa\x00\x00\x09Soft\r\n\xa0ok\x00",
    b"\x00\x00\x02\x00\x03abc\x04d\re\xa0",
    b"\xff\xff\x02\x00Lamp\0Bright\r\n\0",
    b"\xfe\xff\x02\x00Desk\0c\0Wide\xa0\0\0",
]

SEEDS = {
    "empty_25": header(),
    "empty_20": header(b"2.0"),
    "objects": header() + chunk(b"OBJD", 128, bytes(range(216)), b"Chair")
    + chunk(b"CTSS", 2000, b"\x02\x00\x01Chair\0Sit\0", b"Catalog")
    + chunk(b"BMP_", 2000, b"BM" + b"\0" * 60, b"icon") + old_map(),
    "awkward": header(b"2.0", b"another credit")
    + chunk(b"XXXX", 0, b"x" * 9) + old_map()
    + chunk(b"OBJD", 0x8001, b"a", b"abcd", b"\x12\x34")
    + chunk(b"OBJD", 0x8001, b"b", b"x" * 64)
    + chunk(b"STR#", 0xFFFF, b"", b"abcde"),
    "damaged_sizes": header() + chunk(b"OBJD", 1, b"", b"short", size=10)
    + chunk(b"STR#", 2, b"tail", size=0xFFFFFFFF),
    "catalog_formats": header()
    + b"".join(chunk(b"OBJD", 128 + i, objd(300 + i)) for i in range(len(CTSS_BODIES)))
    + b"".join(chunk(b"CTSS", 300 + i, body) for i, body in enumerate(CTSS_BODIES)),
    "cut_header": header() + chunk(b"OBJD", 1, b"z") + chunk(b"BMP_", 3)[:40],
}



def far(entries, name_width=4):
    """A FAR version 1 archive; name_width 4 or 2 bytes for each name's length."""
    data = b""
    manifest = struct.pack("<I", len(entries))
    for name, body in entries:
        manifest += struct.pack("<III", len(body), len(body), 16 + len(data))
        manifest += struct.pack("<I" if name_width == 4 else "<H", len(name)) + name
        data += body
    return b"FAR!byAZ" + struct.pack("<II", 1, 16 + len(data)) + data + manifest


FAR_SEEDS = {
    "wide": far([(b"chair.iff", SEEDS["objects"]), (b"readme.txt", b"hello")]),
    "narrow": far([(b"chair.iff", SEEDS["objects"]), (b"", b"")], 2),
    "empty": far([]),
    "entry_past_end": far([(b"a.iff", SEEDS["cut_header"])])[:-20] + b"\xff" * 20,
}

os.makedirs(HERE, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(HERE, name + ".iff"), "wb") as f:
        f.write(data)

FAR_HERE = os.path.join(os.path.dirname(HERE), "corpus_far")
os.makedirs(FAR_HERE, exist_ok=True)
for name, data in FAR_SEEDS.items():
    with open(os.path.join(FAR_HERE, name + ".far"), "wb") as f:
        f.write(data)
