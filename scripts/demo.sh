#!/usr/bin/env bash
# Builds the command-line tool and runs the main job on a sample database: lists
# its tables, shows a table, and prints the duplicate report.
# Usage: demo.sh [FILE.mdb] [TABLE] [KEY FIELDS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DQM_TESTS=OFF > build-demo.log 2>&1 || {
  cat build-demo.log; exit 1; }
ql=build/release/tools/quellmark/quellmark

db=${1:-}
table=${2:-Customers}
keys=${3:-Name}
if [ -z "$db" ]; then
  sample=../shared/testdata/mdb/jet4/dups_v2000.mdb
  if [ ! -f "$sample" ]; then
    echo "demo: no sample database here; run: bash scripts/demo.sh FILE.mdb TABLE KEYFIELDS" >&2
    exit 2
  fi
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "$sample" "$work/sample.mdb"
  db="$work/sample.mdb"
fi

echo "== quellmark tables $db"
"$ql" tables "$db"
echo
echo "== quellmark query: Select * from [$table]"
"$ql" query "$db" "Select * from [$table]"
echo
echo "== duplicate report on $keys"
"$ql" query "$db" "Select $keys,Count(*) From [$table] Group By $keys Having Count(*) > 1"
