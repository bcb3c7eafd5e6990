#!/usr/bin/env python3
"""Writes Quern controller images (".cfg") from a readable description.

    gen_quern.py DESCRIPTION OUTPUT     write one image
    gen_quern.py --all [--check]        every description of tests/data/quern
                                        to the image its "output" line names;
                                        --check only compares

A description is a list of lines; "#" starts a comment. Numbers are decimal
or 0x-hexadecimal.

    output PATH            where --all writes the image (from the repo root)
    version N              format version (4 bytes at 0; default 101)
    word I V               configuration word I (0-127) = V
    model CODE             the controller model code (word 0)
    table [POS]            the I/O map table at byte (POS + 98) x 2: word 41 =
                           POS (default 176, right after the words), word 42
                           = 6 unless set by a "word 42" line
    drops N                drop count of the table (default: the drops given)
    length N               the table's length word (default: its real length)
    drop BUS DROP FAMILY   drop header (FAMILY: the byte, top bit included);
                           records follow until the next drop
    records N              record count of the current drop (default: as given)
    module RACK SLOT ID [EXT]   record of a drop of family code above 0, with
                           EXT extension words
    garnet G0 [G1]         record of a Garnet drop (family code 0); G1 with
                           both bytes above 0 adds the extra word
    raw W...               table words as they stand
    truncate N             cut the image to N bytes

All numbers in the image are little-endian; the table's words are stored low
byte first (the reader turns them round for the Warden parser).
"""
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DESCRIPTIONS = ROOT / "tests" / "data" / "quern"
CONFIG_OFFSET = 292
DEFAULT_TABLE_POS = 176  # (176 + 98) x 2 = 548, the first byte after the words


def number(text):
    return int(text, 0)


def word16(value):
    return struct.pack("<H", value & 0xFFFF)


class Drop:
    def __init__(self, bus, drop, family):
        self.bus, self.drop, self.family = bus, drop, family
        self.records = []       # lists of words
        self.count = None

    def words(self):
        count = len(self.records) if self.count is None else self.count
        out = [0, (self.family << 8) | self.drop, 0, self.bus << 8, count]
        if self.family & 127:
            out.append(0)
        for record in self.records:
            out.extend(record)
        return out


def build(lines, where="description"):
    version, config = 101, [0] * 128
    table_pos, drops, items = None, None, []   # items: Drop objects or raw word lists
    length, truncate, output, word42_set = None, None, None, False
    current = None
    for n, raw in enumerate(lines, 1):
        line = raw.split("#", 1)[0].split()
        if not line:
            continue
        key, args = line[0], line[1:]
        try:
            if key == "output":
                output = args[0]
            elif key == "version":
                version = number(args[0])
            elif key == "word":
                index = number(args[0])
                if not 0 <= index < 128:
                    raise ValueError("word index outside 0-127")
                config[index] = number(args[1])
                word42_set |= index == 42
            elif key == "model":
                config[0] = number(args[0])
            elif key == "table":
                table_pos = number(args[0]) if args else DEFAULT_TABLE_POS
            elif key == "drops":
                drops = number(args[0])
            elif key == "length":
                length = number(args[0])
            elif key == "drop":
                current = Drop(*map(number, args[:3]))
                items.append(current)
            elif key == "records":
                current.count = number(args[0])
            elif key == "module":
                rack, slot, ident = map(number, args[:3])
                ext = number(args[3]) if len(args) > 3 else 0
                current.records.append([(rack << 8) | slot, ident, 0, 0, 0, 0, ext] + [0] * ext)
            elif key == "garnet":
                g0 = number(args[0])
                g1 = number(args[1]) if len(args) > 1 else 0
                extra = [0] if (g1 >> 8) & 0xFF and g1 & 0xFF else []
                current.records.append([g0, g1, 0] + extra)
            elif key == "raw":
                (current.records if current else items).append([number(a) for a in args])
            elif key == "truncate":
                truncate = number(args[0])
            else:
                raise ValueError(f"unknown key {key!r}")
        except (IndexError, ValueError, AttributeError) as e:
            sys.exit(f"{where}:{n}: {e}")

    if table_pos is not None:
        config[41] = table_pos
        if not word42_set:
            config[42] = 6
    image = bytearray(struct.pack("<i", version))
    image += bytes(CONFIG_OFFSET - len(image))
    for w in config:
        image += word16(w)
    if table_pos is not None:
        body = []
        for item in items:
            body.extend(item.words() if isinstance(item, Drop) else item)
        drop_count = sum(isinstance(i, Drop) for i in items) if drops is None else drops
        words = [0, 0, drop_count] + body
        words[0] = len(words) if length is None else length
        start = (table_pos + 98) * 2
        if len(image) < start:
            image += bytes(start - len(image))
        image[start:start + 2 * len(words)] = b"".join(word16(w) for w in words)
    if truncate is not None:
        del image[truncate:]
    return bytes(image), output


def main(argv):
    if argv and argv[0] == "--all":
        check = "--check" in argv[1:]
        stale = []
        for desc in sorted(DESCRIPTIONS.glob("*.txt")):
            image, output = build(desc.read_text(encoding="utf-8").splitlines(), desc.name)
            if not output:
                sys.exit(f"{desc.name}: no output line")
            target = ROOT / output
            if check:
                if not target.exists() or target.read_bytes() != image:
                    stale.append(output)
            else:
                target.parent.mkdir(parents=True, exist_ok=True)
                target.write_bytes(image)
        if stale:
            sys.exit("out of date (run scripts/gen_quern.py --all): " + ", ".join(stale))
        return
    if len(argv) != 2:
        sys.exit(__doc__)
    source = pathlib.Path(argv[0])
    image, _ = build(source.read_text(encoding="utf-8").splitlines(), source.name)
    pathlib.Path(argv[1]).write_bytes(image)


if __name__ == "__main__":
    main(sys.argv[1:])
