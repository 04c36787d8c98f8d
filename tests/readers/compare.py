#!/usr/bin/env python3
"""Compares the rows of every user table as Quellmark reads them with an
independent reader's dump (dump.mjs), as multisets after normalising formats.

Usage: compare.py QUELLMARK FILE [PASSWORD]
Exit status 0 when every table matches, 1 otherwise (differences on stdout).
"""
import json
import math
import re
import subprocess
import sys
from collections import Counter
from pathlib import Path

HERE = Path(__file__).resolve().parent


GUID = re.compile(r"\{?[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\}?")
NON_FINITE = {"inf": "Infinity", "-inf": "-Infinity", "nan": "NaN"}


def norm(v):
    if isinstance(v, bool) or v is None:
        return v
    if isinstance(v, (int, float)):
        f = float(v)
        if math.isnan(f) or math.isinf(f):
            return NON_FINITE[str(f)]
        # Single columns read back as float32; compare at that precision.
        return float(f"{f:.6g}")
    if isinstance(v, str):
        s = v.strip()
        if s in NON_FINITE.values():
            return s
        if GUID.fullmatch(s):
            return s.strip("{}").upper()
        if s and s[0] in "-0123456789" and s.replace(".", "", 1).lstrip("-").isdigit():
            return norm(float(s))
        return v
    return json.dumps(v, sort_keys=True)


def run(cmd):
    p = subprocess.run(cmd, capture_output=True, text=True)
    if p.returncode != 0:
        raise RuntimeError(f"{' '.join(cmd)} failed ({p.returncode}): {p.stderr.strip()}")
    return p.stdout


def main():
    quellmark, file = sys.argv[1], sys.argv[2]
    password = sys.argv[3] if len(sys.argv) > 3 else None
    dump_cmd = ["node", str(HERE / "dump.mjs"), file] + ([password] if password else [])
    theirs = {t["table"]: t for t in map(json.loads, run(dump_cmd).splitlines())}
    pw = ["--password", password] if password else []
    listed = [line.split("\t", 1) for line in run([quellmark, "tables", file] + pw).splitlines()]
    ours_tables = [name for kind, name in listed if kind == "TABLE"]
    failures = []
    if sorted(ours_tables) != sorted(theirs):
        failures.append(f"tables differ: ours {sorted(ours_tables)} theirs {sorted(theirs)}")
    for name in ours_tables:
        if name not in theirs:
            continue
        out = run([quellmark, "query", file, f"select * from [{name}]", "--format", "json"] + pw)
        ours = Counter(tuple(norm(v) for v in json.loads(line).values()) for line in out.splitlines())
        ref = Counter(tuple(norm(v) for v in row) for row in theirs[name]["rows"])
        if ours != ref:
            extra = list((ours - ref).elements())[:3]
            missing = list((ref - ours).elements())[:3]
            failures.append(f"{name}: ours-only {extra} theirs-only {missing}")
        if theirs[name]["rowCount"] != len(theirs[name]["rows"]):
            failures.append(f"{name}: reader's row count {theirs[name]['rowCount']} != rows scanned")
    for f in failures:
        print(f"{file}: {f}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
