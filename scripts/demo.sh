#!/usr/bin/env bash
# Builds the tools and runs the main job on the sample database our own writer
# makes at build time (or on a file you name): lists the tables, prints the
# duplicate report, then removes the duplicates of a copy keeping the lowest ID
# and rebuilds its keyless table.
# Usage: demo.sh [FILE.mdb TABLE KEYFIELDS]
set -eu  # no pipefail: the listings below are cut short with head on purpose
cd "$(dirname "$0")/.."
mkdir -p build
echo "== building (first run takes a few minutes)"
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF > build/demo-build.log 2>&1 || {
  cat build/demo-build.log; exit 1; }
ql=build/release/tools/quellmark/quellmark

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ $# -ge 3 ]; then
  cp "$1" "$work/demo.mdb"; table=$2; keys=$3; keyless=""
else
  cp build/release/sample/sample.mdb "$work/demo.mdb"; table=Customers; keys=Name,Phone; keyless=CustomersNoKey
fi
chmod u+w "$work/demo.mdb"
db="$work/demo.mdb"

echo "== quellmark tables"
"$ql" tables "$db"
echo
echo "== quellmark dupes --table $table --keys $keys (first 10 groups)"
"$ql" dupes "$db" --table "$table" --keys "$keys" | head -n 12
echo
echo "== quellmark dedupe --keep lowest (on a copy in $work)"
id=$("$ql" query "$db" "select * from [$table]" --format csv | head -n 1 | cut -d, -f1)
"$ql" dedupe "$db" --table "$table" --id "$id" --keys "$keys" --keep lowest --yes
"$ql" query "$db" "select count(*) as Records from [$table]"
if [ -n "$keyless" ]; then
  echo
  echo "== quellmark dedupe-rows --table $keyless"
  "$ql" dedupe-rows "$db" --table "$keyless" --yes
fi

if command -v wine > /dev/null 2>&1 && command -v Xvfb > /dev/null 2>&1; then
  echo
  echo "== the window under Wine, on a copy of the same sample"
  if [ $# -ge 3 ]; then cp "$1" "$work/window.mdb"; else cp build/release/sample/sample.mdb "$work/window.mdb"; fi
  chmod u+w "$work/window.mdb"
  bash scripts/test-windows.sh --demo "$work/window.mdb"
fi
