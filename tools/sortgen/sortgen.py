#!/usr/bin/env python3
"""Turns Jet's text sort-code data files into jet/format/SortCodesData.inc.

Usage: python3 tools/sortgen/sortgen.py DATA_DIR OUTPUT
  DATA_DIR holds the sort-code files (index_codes_*.txt and
  index_mappings_ext_gen_97.txt) that the Jackcess project (Apache-2.0)
  determined against real Access; OUTPUT is normally
  jet/format/SortCodesData.inc.

Each line of a codes file describes one UTF-16 code unit (the extended files
leave out the surrogates D800-DFFF): a kind letter, then comma-separated hex
groups. The output is one byte stream per sort order covering all 65536 code
units, run-length packed because neighbouring characters mostly have
consecutive codes. SortCodes.cpp unpacks a stream on first use; the opcodes
are described there and below.
"""

import os
import sys

KINDS = {"S": 0, "I": 1, "U": 2, "P": 3, "Z": 4, "G": 5, "X": 6}
UNKNOWN = 7  # surrogates: Access's codes for them are not in the data

OP_FULL_MAX = 0x3F  # 00kkkccc: full record (kind k, crazy flag c), then lengths + bytes
OP_INCREMENT = 0x80  # 10nnnnnn: n+1 more chars, inline code = previous + 1, rest same
OP_REPEAT = 0xC0  # 11nnnnnn: n+1 more chars identical to the previous one


def hex_bytes(text):
    if text == "":
        return b""
    if len(text) % 2:
        text = "0" + text
    return bytes.fromhex(text)


def parse_line(line):
    kind = line[0]
    if kind not in KINDS:
        raise ValueError("unknown kind in line %r" % line)
    parts = line[1:].split(",") if len(line) > 1 else [""]
    inline, second, crazy = b"", b"", 0
    if kind in "SG":
        inline = hex_bytes(parts[0])
    elif kind == "I":
        inline, second = hex_bytes(parts[0]), hex_bytes(parts[1])
    elif kind == "U":
        second = hex_bytes(parts[0])
    elif kind == "P":
        second = hex_bytes(parts[0])
        if len(second) != 1:
            raise ValueError("modifier must be one byte: %r" % line)
    elif kind == "Z":
        inline, second = hex_bytes(parts[0]), hex_bytes(parts[1])
        crazy = 1 if parts[2] == "1" else 2
    return (KINDS[kind], crazy, inline, second)


def read_lines(path):
    with open(path, "r", encoding="ascii") as f:
        return [l.rstrip("\r\n") for l in f if l.strip() != ""]


def load_order(data_dir, base_file, ext_file):
    base = [parse_line(l) for l in read_lines(os.path.join(data_dir, base_file))]
    if len(base) != 256:
        raise ValueError("%s: expected 256 lines, got %d" % (base_file, len(base)))
    ext = [parse_line(l) for l in read_lines(os.path.join(data_dir, ext_file))]
    if len(ext) != 0x10000 - 0x100 - 0x800:
        raise ValueError("%s: unexpected line count %d" % (ext_file, len(ext)))
    codes = list(base)
    it = iter(ext)
    for c in range(0x100, 0x10000):
        codes.append((UNKNOWN, 0, b"", b"") if 0xD800 <= c <= 0xDFFF else next(it))
    return codes


def load_order_97(data_dir):
    base = [parse_line(l) for l in read_lines(os.path.join(data_dir, "index_codes_gen_97.txt"))]
    if len(base) != 256:
        raise ValueError("index_codes_gen_97.txt: expected 256 lines")
    ignored = (KINDS["X"], 0, b"", b"")
    codes = list(base) + [ignored] * (0x10000 - 0x100)
    # Access 97 stores single-byte text: the few characters above 0xFF that
    # the code page has map onto their single-byte equivalent.
    for line in read_lines(os.path.join(data_dir, "index_mappings_ext_gen_97.txt")):
        src, dst = (int(x) for x in line.split(","))
        codes[src] = base[dst]
    return codes


def pack(codes):
    out = bytearray()
    prev = None
    i = 0
    while i < len(codes):
        cur = codes[i]
        if prev is not None:
            run = 0
            if cur == prev:
                while i + run < len(codes) and run < 64 and codes[i + run] == prev:
                    run += 1
                out.append(OP_REPEAT | (run - 1))
                i += run
                continue
            p = prev
            while i + run < len(codes) and run < 64:
                c = codes[i + run]
                if not (c[0] == p[0] and c[1] == p[1] and c[3] == p[3] and len(c[2]) == len(p[2]) and c[2]
                        and int.from_bytes(c[2], "big") == int.from_bytes(p[2], "big") + 1):
                    break
                p = c
                run += 1
            if run:
                out.append(OP_INCREMENT | (run - 1))
                i += run
                prev = p
                continue
        kind, crazy, inline, second = cur
        out.append((kind << 3) | crazy)
        out.append(len(inline))
        out += inline
        out.append(len(second))
        out += second
        prev = cur
        i += 1
    return bytes(out)


def emit(name, data):
    lines = ["static constexpr uint8_t %s[] = {" % name]
    for start in range(0, len(data), 20):
        lines.append("    " + ", ".join("0x%02X" % b for b in data[start:start + 20]) + ",")
    lines.append("};")
    return "\n".join(lines)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: sortgen.py DATA_DIR OUTPUT")
    data_dir, output = sys.argv[1], sys.argv[2]
    orders = [
        ("kGeneralLegacyCodes", load_order(data_dir, "index_codes_genleg.txt", "index_codes_ext_genleg.txt"),
         "index_codes_genleg.txt, index_codes_ext_genleg.txt"),
        ("kGeneralCodes", load_order(data_dir, "index_codes_gen.txt", "index_codes_ext_gen.txt"),
         "index_codes_gen.txt, index_codes_ext_gen.txt"),
        ("kGeneral97Codes", load_order_97(data_dir), "index_codes_gen_97.txt, index_mappings_ext_gen_97.txt"),
    ]
    parts = [
        "// GENERATED FILE - do not edit. Regenerate with:",
        "//   python3 tools/sortgen/sortgen.py <dir of the sort-code files> jet/format/SortCodesData.inc",
        "//",
        "// Jet's text sort codes for the General (legacy, Access 2000-2007), General",
        "// (Access 2010+) and Access 97 sort orders. The facts come from the data files",
        "// of the Jackcess project (jahlborn/jackcess, Apache License 2.0,",
        "// src/main/resources/com/healthmarketscience/jackcess/), which determined them",
        "// against real Access; this file packs them into our own representation:",
    ]
    for name, _, files in orders:
        parts.append("//   %s: %s" % (name, files))
    parts.append("// The packing (run-length opcodes) is unpacked by SortCodes.cpp.")
    parts.append("")
    for name, codes, _ in orders:
        parts.append(emit(name, pack(codes)))
        parts.append("")
    with open(output, "w", encoding="ascii") as f:
        f.write("\n".join(parts))


if __name__ == "__main__":
    main()
