#!/usr/bin/env bash
# What choosing a large table costs, natively and in the real window under
# Wine: generates tables of 200,000 and 1,000,000 rows (CJK text, short memos,
# about 250 bytes a row on disk) with mdbgen, kept in the e2e work folder for
# the next run; prints grid_bench's figures for each, then runs the window's
# benchmark case, which chooses each table in quellmark.exe and prints the
# time to the first rows, the memory per row, and for the largest the cost of
# a cell edit and of another program's change.
# Usage: bench-grid-window.sh   (QM_NATIVE_BUILD, QM_WIN_BUILD, QM_WIN_WORK name other folders)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
native=${QM_NATIVE_BUILD:-$root/build/native}
work=${QM_WIN_WORK:-$root/build/win-e2e}
dir=$work/grid-bench

if [ ! -f "$native/build.ninja" ]; then
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$native.cmake.log" 2>&1 ||
    { cat "$native.cmake.log"; exit 1; }
fi
ninja -C "$native" -j2 mdbgen grid_bench >/dev/null
mkdir -p "$dir"
for rows in 200000 1000000; do
  file=$dir/grid_$rows.mdb
  if [ ! -f "$file" ]; then
    echo "== generating $rows rows"
    rm -f "$file.part"
    "$native/tools/mdbgen/mdbgen" "$file.part" --rows "$rows" --short-memos
    mv "$file.part" "$file"
  fi
  echo "== natively (grid_bench)"
  "$native/bench/grid/grid_bench" "$file" Records
done

echo "== in the window under Wine"
QM_GRID_BENCH_DIR="Z:${dir//\//\\}" QM_WIN_WORK=$work bash scripts/test-windows.sh GridWindowBench
