#!/usr/bin/env python3
"""Writes Tessel Qor projects (.mdf, .dcf, .ddf, .dpf, .ndf, .tdf) from a
readable description; docs/tessel-qor.md describes the files.

    gen_qor.py DESCRIPTION OUTPUT_BASE   write one project (OUTPUT_BASE has
                                         no extension)
    gen_qor.py --all [--check]           every description of tests/data/qor
                                         to the base its "output" line names;
                                         --check only compares

Description lines ("#" starts a comment; numbers decimal or 0x-hex):

    output BASE            where --all writes (from the repo root, no extension)
    signature TEXT         .mdf signature (default TSMD)
    version N              .mdf format version (default 94)
    model CODE             configuration word 0
    memory N               memory-size code
    word I V               configuration word I (0-127) = V
    bus Keel|Marl          how hardware addresses number buses (default Keel)
    drop BUS DROP FAMILY   Warden drop header; records follow
    module RACK SLOT ID [EXT]   record of a drop of family code above 0
    garnet G0 [G1]         record of a Garnet drop
    length N               configuration word 44 (default: the table's length / 4,
                           rounded up)
    width W                descriptor width (default 16)
    desc KEY TEXT...       description of the address whose key is KEY
    addr A TEXT...         description of address A
    pointer A P            raw .dpf pointer of address A
    dcfversion V           .dcf version word (default 0x2673)
    ddfsig TEXT            .ddf signature (default TSDD)
    section4 FIRST COUNT   directory words of section 4 (default: as written)
    config B               configuration record B (default: as written)
    omit EXT               leave the file out
    truncate EXT N         cut the file to N bytes
"""
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DESCRIPTIONS = ROOT / "tests" / "data" / "qor"
HW_BASE, BLOCK, LAST = 76, 197, 6379
EXTENSIONS = ["mdf", "dcf", "ddf", "dpf", "ndf", "tdf"]


def number(text):
    return int(text, 0)


def le16(v):
    return struct.pack("<H", v & 0xFFFF)


def be16(v):
    return struct.pack(">H", v & 0xFFFF)


def key_address(key, bus_kind):
    """The reference address of a hardware or system key."""
    fixed = {"N": 2, "S": 3, "P1": 4}
    if key in fixed:
        return fixed[key]
    if key[0] == "C":
        return 4 + int(key[1:])
    if key[0] == "L":
        return 8 + int(key[1:])
    if key[0] in "0134":
        return 28 + "0134".index(key[0]) * 12 + int(key[1:]) - 1
    bus, drop = int(key[1:3]), int(key[3:5])
    per_bus = 8 if bus_kind == "Marl" else 16
    block = (bus - 1) * per_bus + drop - 1
    base = HW_BASE + block * BLOCK
    if key[0] == "D":
        return base
    rack = int(key[5])
    if key[0] == "R":
        return base + rack
    slot = int(key[6:8])
    offset = 5 + (rack - 1) * 16 + slot - 1
    if key.endswith("I"):
        offset += 64
    elif key.endswith("O"):
        offset += 128
    return base + offset


class Project:
    def __init__(self):
        self.signature, self.version = b"TSMD", 94
        self.words = [0] * 128
        self.memory = 0
        self.bus = "Keel"
        self.drops = []
        self.length = None
        self.width = 16
        self.descs = {}       # address -> text
        self.pointers = {}    # address -> raw pointer
        self.dcfversion = 0x2673
        self.ddfsig = b"TSDD"
        self.section4 = None
        self.config = None
        self.omit = set()
        self.truncate = {}
        self.output = None

    def table(self):
        words = [0, 0, len(self.drops)]
        for bus, drop, family, records in self.drops:
            words += [0, (family << 8) | (drop & 0xFF), 0, bus << 8, len(records)]
            if family & 127:
                words.append(0)
            for r in records:
                words += r
        return b"".join(be16(w) for w in words)

    def files(self):
        table = self.table()
        words = list(self.words)
        words[44] = self.length if self.length is not None else (len(table) + 3) // 4
        config = self.config or 10
        data4 = 18
        table_records = max(1, (len(table) + 31) // 32)
        records = [bytearray(32) for _ in range(data4 - 1 + table_records)]
        records[0][0:4] = self.signature
        records[0][4:6] = le16(self.version)
        first4, count4 = self.section4 or (data4, table_records)
        records[2][2:4] = le16(config)
        records[2][4:6] = le16(8)
        records[2][14:16] = le16(self.memory)
        records[4][2:4] = le16(first4)
        records[4][4:6] = le16(count4)
        blocks = b"".join(be16(w) for w in words)
        for i in range(8):
            if config - 1 + i < len(records):
                records[config - 1 + i][:] = blocks[32 * i:32 * i + 32]
        padded = table + bytes(table_records * 32 - len(table))
        for i in range(table_records):
            records[data4 - 1 + i][:] = padded[32 * i:32 * i + 32]
        mdf = b"".join(bytes(r) for r in records)

        dcf = bytearray(64 * 7)
        dcf[0:4] = b"TSDC"
        dcf[4:6] = le16(self.dcfversion)
        dcf[6 * 64:6 * 64 + 2] = le16(self.width)
        dcf[6 * 64 + 2:6 * 64 + 4] = le16(1)

        reclen = max(self.width, 8)
        ddf = bytearray(reclen)
        ddf[0:4] = self.ddfsig
        ddf[4:6] = le16(reclen)
        pointers = dict(self.pointers)
        for address, text in sorted(self.descs.items()):
            record = len(ddf) // reclen + 1
            line = text.encode("latin-1")[:reclen]
            ddf += line + b" " * (reclen - len(line))
            pointers.setdefault(address, record)
        top = max([LAST] + list(pointers))
        dpf = bytearray(3 * top)
        for address, p in pointers.items():
            dpf[3 * (address - 1)] = (p >> 16) & 0xFF
            dpf[3 * (address - 1) + 1:3 * (address - 1) + 3] = le16(p)
        # Notes and further texts run parallel to the description records.
        records = len(ddf) // reclen
        out = {"mdf": mdf, "dcf": bytes(dcf), "ddf": bytes(ddf), "dpf": bytes(dpf),
               "ndf": bytes(195 * records), "tdf": bytes(67 * records)}
        for ext, n in self.truncate.items():
            out[ext] = out[ext][:n]
        return {e: b for e, b in out.items() if e not in self.omit}


def parse(text):
    p = Project()
    current = None
    for raw in text.splitlines():
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        op, *args = line.split()
        if op == "output":
            p.output = args[0]
        elif op == "signature":
            p.signature = args[0].encode("ascii")
        elif op == "version":
            p.version = number(args[0])
        elif op == "model":
            p.words[0] = number(args[0])
        elif op == "memory":
            p.memory = number(args[0])
        elif op == "word":
            p.words[number(args[0])] = number(args[1])
        elif op == "bus":
            p.bus = args[0]
        elif op == "drop":
            current = []
            p.drops.append((number(args[0]), number(args[1]), number(args[2]), current))
        elif op == "module":
            rack, slot, ident = (number(a) for a in args[:3])
            ext = number(args[3]) if len(args) > 3 else 0
            current.append([(rack << 8) | slot, ident, 0, 0, 0, 0, ext] + [0] * ext)
        elif op == "garnet":
            g1 = number(args[1]) if len(args) > 1 else 0
            extra = [0] if (g1 >> 8) and (g1 & 0xFF) else []
            current.append([number(args[0]), g1, 0] + extra)
        elif op == "length":
            p.length = number(args[0])
        elif op == "width":
            p.width = number(args[0])
        elif op == "desc":
            p.descs[key_address(args[0], p.bus)] = raw.split(None, 2)[2].split("#")[0].rstrip() if len(args) > 1 else ""
        elif op == "addr":
            p.descs[number(args[0])] = " ".join(args[1:])
        elif op == "pointer":
            p.pointers[number(args[0])] = number(args[1])
        elif op == "dcfversion":
            p.dcfversion = number(args[0])
        elif op == "ddfsig":
            p.ddfsig = args[0].encode("ascii")
        elif op == "section4":
            p.section4 = (number(args[0]), number(args[1]))
        elif op == "config":
            p.config = number(args[0])
        elif op == "omit":
            p.omit.add(args[0])
        elif op == "truncate":
            p.truncate[args[0]] = number(args[1])
        else:
            raise SystemExit(f"unknown line: {raw}")
    return p


def write(project, base, check):
    base = pathlib.Path(base)
    stale = False
    files = project.files()
    for ext in EXTENSIONS:
        path = base.with_name(base.name + "." + ext)
        if ext not in files:
            if path.exists():
                stale = True
                if not check:
                    path.unlink()
            continue
        if check:
            stale |= not path.exists() or path.read_bytes() != files[ext]
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(files[ext])
    return stale


def main(argv):
    if argv[:1] == ["--all"]:
        check = "--check" in argv
        stale = False
        for desc in sorted(DESCRIPTIONS.glob("*.txt")):
            project = parse(desc.read_text())
            if write(project, ROOT / project.output, check):
                stale = True
                print(f"stale: {project.output}", file=sys.stderr)
        return 1 if stale else 0
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    write(parse(pathlib.Path(argv[0]).read_text()), argv[1], False)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
