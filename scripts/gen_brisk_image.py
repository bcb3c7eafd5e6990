#!/usr/bin/env python3
"""Writes Brisk7 application images (".bin") from readable descriptions.

A description is a text file, one statement a line; lines starting with "#"
are comments:

  output PATH              where the image goes (relative to the repository)
  image brisk7|skein3|raw  the kind of image (first statement after output)

Brisk7 images (module references stored as text) start with the Brisk7
signature DD DD 77 77, then a header, then the statements in order:

  ref SLOT TEXT            a reference: the slot byte (slot + 1, 0-255), two
                           filler bytes, TEXT (the rest of the line, spaces
                           kept) and a terminating 00 byte
  text TEXT                TEXT (the rest of the line) and a 00 byte
  bytes HH HH ...          the bytes as written (hexadecimal)
  fill N [HH]              N bytes of HH (default 00)
  repeat N HH HH ...       the bytes N times

Skein-3 images carry the segment that the module-list reader decodes:

  base ADDRESS             PLC-memory address of the segment start (default 0x2000)
  module FIELD SLOT CODE [BYTE0]
                           a module record: rack field 0-15 (0 rack 1, 1 its
                           half position, 2 rack 2, 3 its half position, n
                           rack n - 1), slot 0-7, type byte 0-255 (its bits
                           0-5 are the type code); BYTE0 is the unused first
                           byte (default 00)
  ext FIELD SLOT INFO      an extension record: the subcode INFO of the
                           intelligent module at that rack field and slot
  modules KEY=VALUE ...    override the module-list descriptor: count, size
                           (record size) or address (a 16-bit word)
  extensions KEY=VALUE ... the same for the extension list
  signature none           leave out the Brisk7 signature
  marker1 none|zero        leave out the segment marker, or put it at offset 0
  marker2 none             leave out the segment start marker
  bytes/fill/repeat        appended after the lists

Raw images hold only bytes/text/fill/repeat statements.

Numbers may be decimal or 0x-hexadecimal. The output is deterministic.

Usage: gen_brisk_image.py DESCRIPTION...   write the images
       gen_brisk_image.py --check DESCRIPTION...
                                           only compare with the files present
"""

from __future__ import annotations

import struct
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

SIGNATURE = bytes([0xDD, 0xDD, 0x77, 0x77])
SEGMENT_MARKER = bytes([0xAA, 0xAA, 0x55, 0x55])
SECOND_MARKER = bytes([0xCC, 0xCC, 0x33, 0x33])

# Skein-3 layout: marker 1 at 16 with the base address 6 bytes before it,
# marker 2 at 32, so the segment starts at 58 and its two descriptors lie at
# 142 and 146; the lists follow from 160 on.
MARKER1_AT = 16
MARKER2_AT = 32
SEGMENT = MARKER2_AT + 26
LISTS_AT = 160


def number(text: str) -> int:
    return int(text, 0)


def raw_statement(words: list[str], out: bytearray) -> bool:
    """Appends a byte statement; false when the statement is not one."""
    op = words[0]
    if op == "bytes":
        out += bytes(number("0x" + w) for w in words[1:])
    elif op == "fill":
        out += bytes([number("0x" + words[2]) if len(words) > 2 else 0]) * number(words[1])
    elif op == "repeat":
        out += bytes(number("0x" + w) for w in words[2:]) * number(words[1])
    elif op == "text":
        out += words[1].encode("cp1252") + b"\0"
    else:
        return False
    return True


def brisk7(statements: list[list[str]]) -> bytes:
    out = bytearray(SIGNATURE)
    out += b"\0" * 12
    for words in statements:
        if words[0] == "ref":
            slot = number(words[1])
            assert 0 <= slot <= 255, f"slot byte {slot}"
            out += bytes([slot, 0, 0]) + words[2].encode("cp1252") + b"\0"
        elif words[0] == "signature" and words[1] == "none":
            out[0:4] = b"\0\0\0\0"
        elif not raw_statement(words, out):
            raise ValueError(f"unknown statement {words[0]}")
    return bytes(out + b"\0" * 4)


def skein3(statements: list[list[str]]) -> bytes:
    base = 0x2000
    modules, extensions, tail = [], [], bytearray()
    overrides = {"modules": {}, "extensions": {}}
    signature, marker1, marker2 = True, "at", True
    for words in statements:
        op = words[0]
        if op == "base":
            base = number(words[1])
        elif op == "module":
            field, slot, code = (number(w) for w in words[1:4])
            byte0 = number("0x" + words[4]) if len(words) > 4 else 0
            assert 0 <= field <= 15 and 0 <= slot <= 7 and 0 <= code <= 255, words
            modules.append(bytes([byte0, code, (field << 3) | slot]))
        elif op == "ext":
            field, slot, info = (number(w) for w in words[1:4])
            extensions.append(struct.pack("<hH", info, (field << 3) | slot))
        elif op in overrides:
            for item in words[1:]:
                key, value = item.split("=")
                overrides[op][key] = number(value)
        elif op == "signature" and words[1] == "none":
            signature = False
        elif op == "marker1":
            marker1 = words[1]
        elif op == "marker2" and words[1] == "none":
            marker2 = False
        elif not raw_statement(words, tail):
            raise ValueError(f"unknown statement {op}")

    def address(offset: int) -> int:
        value = offset - SEGMENT + base
        return (value + 0x8000) % 0x10000 - 0x8000

    module_list = b"".join(modules)
    ext_list = b"".join(extensions)
    out = bytearray(LISTS_AT)
    if signature:
        out[0:4] = SIGNATURE
    if marker1 == "at":
        out[MARKER1_AT - 6:MARKER1_AT - 4] = struct.pack("<h", base)
        out[MARKER1_AT:MARKER1_AT + 4] = SEGMENT_MARKER
    elif marker1 == "zero":
        out[0:4] = SEGMENT_MARKER
    if marker2:
        out[MARKER2_AT:MARKER2_AT + 4] = SECOND_MARKER
    for at, name, records, size, offset in (
            (SEGMENT + 84, "modules", modules, 3, LISTS_AT),
            (SEGMENT + 88, "extensions", extensions, 4, LISTS_AT + len(module_list))):
        o = overrides[name]
        out[at:at + 4] = struct.pack("<BBh", o.get("count", len(records)) & 0xFF,
                                     o.get("size", size) & 0xFF,
                                     o.get("address", address(offset)))
    return bytes(out + module_list + ext_list + tail + b"\0" * 16)


def build(description: Path) -> tuple[Path, bytes]:
    output, kind, statements = None, None, []
    for line in description.read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        words = line.split()
        if words[0] == "ref":
            # The text is the rest of the line, inner and trailing spaces kept.
            words = words[:2] + [line.split(None, 2)[2] if len(words) > 2 else ""]
        elif words[0] == "text":
            words = words[:1] + [line.split(None, 1)[1] if len(words) > 1 else ""]
        if words[0] == "output":
            output = ROOT / words[1]
        elif words[0] == "image":
            kind = words[1]
        else:
            statements.append(words)
    assert output is not None and kind is not None, f"{description}: output and image needed"
    if kind == "brisk7":
        data = brisk7(statements)
    elif kind == "skein3":
        data = skein3(statements)
    elif kind == "raw":
        data = bytearray()
        for words in statements:
            if not raw_statement(words, data):
                raise ValueError(f"unknown statement {words[0]}")
        data = bytes(data)
    else:
        raise ValueError(f"unknown image kind {kind}")
    return output, data


def main(argv: list[str]) -> int:
    check = "--check" in argv
    stale = []
    for arg in (a for a in argv if a != "--check"):
        output, data = build(Path(arg))
        if check:
            if not output.exists() or output.read_bytes() != data:
                stale.append(str(output.relative_to(ROOT)))
        else:
            output.parent.mkdir(parents=True, exist_ok=True)
            output.write_bytes(data)
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
