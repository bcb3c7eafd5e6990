#!/usr/bin/env python3
"""Writes the known-bad inputs of tests/bad/<reader>/ (the golden harness
checks each against its expected files beside it).

    gen_bad.py           write them all
    gen_bad.py --check   only compare with what is committed

Each is made from an example, or from nothing, in a way that shows what it
guards: empty, garbage, truncated, huge counts, a size claimed far beyond the
bytes present, path traversal and decompression bombs in archives and
containers, deep nesting. Inputs that fuzzing found are not made here: they
are committed as found, named after what they guard (any file not made here
is left alone).
"""
import io
import pathlib
import random
import struct
import sys
import zipfile
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
BAD = ROOT / "tests" / "bad"
EX = ROOT / "examples"


def garbage(n, seed):
    rnd = random.Random(seed)
    return bytes(rnd.randrange(256) for _ in range(n))


def example(rel):
    return (EX / rel).read_bytes()


def cut(data, fraction=0.5):
    return data[: int(len(data) * fraction)]


def zip_of(entries, method=zipfile.ZIP_DEFLATED):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", method) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
            info.compress_type = method
            z.writestr(info, data)
    return buf.getvalue()


def zip_claiming(name, data, claimed):
    """A stored entry whose headers claim 'claimed' bytes of content."""
    raw = zip_of([(name, data)], zipfile.ZIP_STORED)
    size = struct.pack("<I", len(data))
    fake = struct.pack("<I", claimed)
    # Local header: uncompressed size at 22; central header: at 24.
    local = raw.find(b"PK\x03\x04")
    central = raw.find(b"PK\x01\x02")
    out = bytearray(raw)
    assert out[local + 22 : local + 26] == size and out[central + 24 : central + 28] == size
    out[local + 22 : local + 26] = fake
    out[central + 24 : central + 28] = fake
    return bytes(out)


def pwx_record(name, packed, claimed=None):
    n = name.encode()
    return (struct.pack("<i", len(n)) + n +
            struct.pack("<I", len(packed) if claimed is None else claimed) + packed)


def cases():
    c = {}
    # Every reader: an empty file and garbage.
    one_file = {
        "slc500": ("slc", "slc500/line3.slc"),
        "controllogix": ("L5K", "controllogix/mixing_plant.L5K"),
        "skeinpro": ("fef", "skeinpro/press_line.fef"),
        "halyard": ("asc", "halyard/packing_line.asc"),
        "brisk7": ("bin", "brisk7/filler_line.bin"),
        "cobalt": ("xef", "cobalt/water_works.xef"),
        "quern": ("cfg", "quern/quern_press.cfg"),
    }
    for key, (ext, ex) in one_file.items():
        c[f"{key}/empty.{ext}"] = b""
        c[f"{key}/garbage.{ext}"] = garbage(3000, key)
        c[f"{key}/truncated.{ext}"] = cut(example(ex))
    c["controllogix_xml/empty.L5X"] = b""
    c["controllogix_xml/garbage.L5X"] = garbage(3000, "l5x")
    c["controllogix_xml/truncated.L5X"] = cut(
        (ROOT / "tests" / "data" / "e2e" / "controllogix_xml" / "mixing_plant_xml.L5X").read_bytes())
    c["controllogix_xml/other_root.L5X"] = b"<Project><Module Name=\"Local\"/></Project>"
    c["cobalt/zef_empty.zef"] = b""
    c["cobalt/zef_garbage.zef"] = garbage(3000, "zef")
    c["cobalt/zef_truncated.zef"] = cut(example("cobalt/bottling_hall.zef"))

    # Huge numbers in text exports.
    c["slc500/huge_numbers.slc"] = (b"start 1747-L532 BIG\r\nrack 99999999999 1746-A10\r\n"
                                    b"rack 1 1746-A10\r\nslot 4294967296 1746-IB16\r\n"
                                    b"slot -2147483649 1746-IB16\r\nslot 2147483647 1746-IB16\r\n")
    c["halyard/huge_numbers.asc"] = (
        b"BEGIN PLCConfig\r\n modelName = \"318P2411\"\r\n BEGIN DropHead\r\n"
        b"  headIndex = 4294967297\r\n  headType = 0\r\n  BEGIN IODrop\r\n"
        b"   dropNumber = 99999999999\r\n   DropType = 1\r\n   BEGIN IOModule\r\n"
        b"    rack = 2147483648\r\n    slot = -2147483649\r\n    moduleName = \"318DIN1624\"\r\n"
        b"   END\r\n  END\r\n END\r\nEND\r\n")
    c["skeinpro/huge_numbers.fef"] = (
        b"HARD_CONFIGURATION\r\n  CU\r\n    REFERENCE = 'Brisk57-231'\r\n  END_CU\r\n"
        b"  BUS X\r\n    RACK 4294967296\r\n      REFERENCE = 'HRN RKX 08E'\r\n"
        b"      MODULE\r\n        ADDRESS 99999999999\r\n        REFERENCE = 'HRN DIN 1624'\r\n"
        b"      END_MODULE\r\n    END_RACK\r\n  END_BUS\r\nEND_CONFIGURATION\r\n")
    c["controllogix/huge_numbers.L5K"] = (
        b"IE_VER := 2.28;\r\nCONTROLLER P (ProcessorType := \"1756-L61\")\r\n"
        b"MODULE Local (Parent := \"Local\", ParentModPortId := 1, CatalogNumber := \"1756-L61\","
        b" ChassisSize := 4294967296, Slot := 0)\r\nEND_MODULE\r\n"
        b"MODULE In (Parent := \"Local\", ParentModPortId := 99999999999,"
        b" CatalogNumber := \"1756-IB16\", Slot := 2147483648)\r\nEND_MODULE\r\nEND_CONTROLLER\r\n")

    # Deep nesting, as deep as a few hundred kilobytes allow.
    deep = 50000
    c["cobalt/deep_nesting.xef"] = (b"<?xml version=\"1.0\"?><FEFExchangeFile><IOConf><PLC>"
                                     + b"<a>" * deep + b"</a>" * deep
                                     + b"</PLC></IOConf></FEFExchangeFile>")
    c["controllogix_xml/deep_nesting.L5X"] = (
        b"<?xml version=\"1.0\"?><RSLogix5000Content><Controller><Modules>"
        + b"<Module>" * 20000 + b"</Module>" * 20000
        + b"</Modules></Controller></RSLogix5000Content>")
    c["halyard/deep_nesting.asc"] = (b"BEGIN PLCConfig\r\n" + b"BEGIN a\n" * 20000
                                     + b"END\n" * 20001)
    c["skeinpro/deep_nesting.fef"] = (b"HARD_CONFIGURATION\r\n" + b"SUB_MODULE\n" * 10000
                                      + b"END_SUB_MODULE\n" * 10000 + b"END_CONFIGURATION\r\n")
    c["controllogix/deep_nesting.L5K"] = (
        b"IE_VER := 2.28;\r\nCONTROLLER P (ProcessorType := \"1756-L61\""
        + b"(" * deep + b")" * deep + b")\r\nEND_CONTROLLER\r\n")
    # An entity that expands to a billion characters if expanded.
    lol = b"<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">" + b"".join(
        b"<!ENTITY %c \"%s\">" % (ord("b") + i, (b"&%c;" % (ord("a") + i)) * 10) for i in range(8))
    c["cobalt/entity_expansion.xef"] = (b"<?xml version=\"1.0\"?>" + lol
                                         + b"]><FEFExchangeFile>&i;</FEFExchangeFile>")
    c["controllogix_xml/entity_expansion.L5X"] = (
        b"<?xml version=\"1.0\"?>" + lol + b"]><RSLogix5000Content><Controller><Modules>"
        b"<Module Name=\"Local\" CatalogNumber=\"&i;\"/></Modules></Controller></RSLogix5000Content>")

    # Archives: traversal, bombs, sizes claimed beyond the bytes present.
    xef = example("cobalt/water_works.xef")
    c["cobalt/traversal_dotdot.zef"] = zip_of([("../../cobaltpro.xef", xef)])
    c["cobalt/traversal_absolute.zef"] = zip_of([("/tmp/cobaltpro.xef", xef)])
    c["cobalt/traversal_backslash.zef"] = zip_of([("..\\..\\cobaltpro.xef", xef)])
    c["cobalt/bomb_entry.zef"] = zip_of([("cobaltpro.xef", b"<" + b" " * (50 << 20))])
    # The end record claims 65,535 entries; one is there.
    counted = bytearray(zip_of([("cobaltpro.xef", xef)]))
    end = counted.rfind(b"PK\x05\x06")
    struct.pack_into("<HH", counted, end + 8, 0xFFFF, 0xFFFF)
    c["cobalt/entry_count_claimed.zef"] = bytes(counted)
    c["cobalt/claims_4gb.zef"] = zip_claiming("cobaltpro.xef", b"<FEFExchangeFile/>" * 2, 0xFFFFFFF0)
    c["cobalt/no_exchange_entry.zef"] = zip_of([("other.xef", xef)])

    # Brisk7 and Skein-3 images: cut after their markers, counts beyond the bytes.
    brisk = example("brisk7/filler_line.bin")
    c["brisk7/signature_only.bin"] = b"\xdd\xdd\x77\x77"
    c["brisk7/skein3_markers_only.bin"] = (b"\xdd\xdd\x77\x77" + b"\0" * 60
                                           + b"\xaa\xaa\x55\x55\xcc\xcc\x33\x33")
    c["brisk7/all_ff.bin"] = b"\xdd\xdd\x77\x77" + b"\xff" * 4000

    # Quern: a table length and offset far beyond a 600-byte image.
    quern = bytearray(example("quern/quern_press.cfg"))
    big = bytearray(quern[:600])
    struct.pack_into("<h", big, 292 + 41 * 2, 0x7FFF)
    struct.pack_into("<h", big, 292 + 42 * 2, 0x7FFF)
    c["quern/table_beyond_file.cfg"] = bytes(big)
    neg = bytearray(quern)
    struct.pack_into("<h", neg, 292 + 41 * 2, -1)
    c["quern/table_offset_negative.cfg"] = bytes(neg)

    # Tessel Qor: the main file cut, empty, with directory counts at their maximum.
    qor = {e: example(f"tesselqor/qor_filling.{e}") for e in ("dcf", "mdf", "ddf", "dpf", "ndf", "tdf")}

    def qor_case(name, **files):
        for e, data in qor.items():
            c[f"tesselqor/{name}.{e}"] = files.get(e, data)

    qor_case("qor_mdf_empty", mdf=b"")
    qor_case("qor_mdf_truncated", mdf=cut(qor["mdf"], 0.3))
    qor_case("qor_mdf_garbage", mdf=b"TSMD\x5b\x00" + garbage(2000, "mdf"))
    counts = bytearray(qor["mdf"])
    for s in range(2, 10):
        struct.pack_into("<HH", counts, (s - 1) * 32 + 2, 0xFFFF, 0xFFFF)
    qor_case("qor_directory_ffff", mdf=bytes(counts))
    qor_case("qor_ddf_empty", ddf=b"")
    qor_case("qor_dpf_garbage", dpf=garbage(3 * 6400, "dpf"))
    qor_case("qor_dcf_truncated", dcf=cut(qor["dcf"], 0.5))
    # Tessel 32 containers: names that lead out, lengths far beyond the bytes.
    pwx = example("tessel32/bottling_line3.pwx")
    c["tessel32/empty.pwx"] = b""
    c["tessel32/garbage.pwx"] = garbage(3000, "pwx")
    c["tessel32/truncated.pwx"] = cut(pwx)
    name_len = struct.unpack_from("<i", pwx)[0]
    packed_len = struct.unpack_from("<i", pwx, 4 + name_len)[0]
    packed = pwx[8 + name_len : 8 + name_len + packed_len]
    c["tessel32/traversal_dotdot.pwx"] = pwx_record("../project.mdb", packed)
    c["tessel32/traversal_absolute.pwx"] = pwx_record("/tmp/project.mdb", packed)
    c["tessel32/traversal_backslash.pwx"] = pwx_record("..\\project.mdb", packed)
    # The first entry is expanded before the second is refused: it must not stay.
    c["tessel32/traversal_second_entry.pwx"] = (pwx_record("Project.mdb", packed)
                                                + pwx_record("../notes.txt", packed))
    c["tessel32/claims_4gb.pwx"] = pwx_record("project.mdb", packed[:80], 0xFFFFFFF0)
    c["tessel32/claims_2gb.pwx"] = pwx_record("project.mdb", packed[:80], 0x7FFFFFF0)
    c["tessel32/name_length_huge.pwx"] = struct.pack("<i", 0x7FFFFFFF) + b"project.mdb" + packed[:80]
    c["tessel32/garbage_entry.pwx"] = pwx_record("project.mdb", garbage(2000, "dcl"))
    return c


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for rel, data in sorted(cases().items()):
        path = BAD / rel
        if check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(rel)
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    if stale:
        print("not as gen_bad.py makes them: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
