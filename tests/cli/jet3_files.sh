#!/usr/bin/env bash
# Access 97 files end to end: mdbgen --jet3 writes a Chinese (GBK) file,
# quellmark reads it and removes its duplicates, and mdbtools, told the
# code page, reads exactly what quellmark reads after every step.
# Usage: jet3_files.sh BUILD_DIR TESTDATA_DIR
set -u
build=$1
ql="$build/tools/quellmark/quellmark"
gen="$build/tools/mdbgen/mdbgen"
[ -x "$ql" ] && [ -x "$gen" ] || { echo "SKIP: quellmark or mdbgen not built"; exit 77; }
unset LC_ALL LC_MESSAGES
export LANG=zh_CN.UTF-8
export MDB_JET3_CHARSET=CP936
# mdbtools converts its arguments from the locale's character set: UTF-8 for the Chinese table name.
mdb() { LC_ALL=C.UTF-8 "$@"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
expect() {  # expect NAME CONDITION_RESULT
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else echo "FAIL $1"; failed=$((failed + 1)); fi
}
count() { "$ql" query "$1" "select count(*) from [$2]" --format csv | tail -1; }
# Both readers' rows of a table as sorted CSV of the named columns.
ours() { "$ql" query "$1" "select $3 from [$2]" --format csv | tail -n +2 | sort; }
theirs() {
  mdb mdb-export "$1" "$2" | python3 -c '
import csv, sys
cols = sys.argv[1].split(",")
r = csv.DictReader(sys.stdin)
for row in r: print(",".join(row[c] for c in cols))' "$3" | sort
}
have_mdbtools=0
command -v mdb-export > /dev/null && have_mdbtools=1

f="$work/old.mdb"
"$gen" "$f" --rows 3000 --dup-share 0.3 --seed 7 --table 客户 --keyless-table Copies --jet3
expect "mdbgen --jet3 writes a file" $?
[ "$(od -An -tu1 -j20 -N1 "$f" | tr -d ' ')" = 0 ]; expect "the file is an Access 97 one (version byte 0)" $?
[ "$(count "$f" 客户)" = 3000 ]; expect "3000 rows" $?
"$ql" query "$f" "select Name from [客户] where Name like '张伟*'" --format csv | grep -q "张伟"
expect "Chinese text reads back" $?
if [ $have_mdbtools = 1 ]; then
  [ "$(mdb mdb-count "$f" 客户)" = 3000 ]; expect "mdbtools counts 3000" $?
  diff <(ours "$f" 客户 ID,Name,Phone,City) <(theirs "$f" 客户 ID,Name,Phone,City) > /dev/null
  expect "mdbtools reads the same Chinese rows" $?
fi

"$ql" dedupe "$f" --table 客户 --id ID --keys Name,Phone --keep lowest --yes > "$work/out" 2>&1
expect "dedupe on an Access 97 file" $?
left=$(count "$f" 客户)
[ "$left" -lt 3000 ] && [ "$left" -gt 1500 ]; expect "duplicates removed ($left left)" $?
"$ql" dupes "$f" --table 客户 --keys Name,Phone --format csv | tail -n +2 | grep -q . && dupes=1 || dupes=0
[ $dupes = 0 ]; expect "no duplicate groups remain" $?
"$ql" dedupe-rows "$f" --table Copies --yes > "$work/out" 2>&1; expect "dedupe-rows on an Access 97 file" $?
if [ $have_mdbtools = 1 ]; then
  [ "$(mdb mdb-count "$f" 客户)" = "$left" ]; expect "mdbtools counts what is left" $?
  diff <(ours "$f" 客户 ID,Name,City) <(theirs "$f" 客户 ID,Name,City) > /dev/null
  expect "mdbtools reads the same rows after the deletes" $?
  [ "$(mdb mdb-count "$f" Copies)" = "$(count "$f" Copies)" ]; expect "mdbtools counts the keyless table" $?
fi

# A character GBK lacks is refused and changes nothing.
before=$(md5sum < "$f")
"$ql" exec "$f" "INSERT INTO [客户] (Name, Phone) VALUES ('ก', '1')" > /dev/null 2>&1
[ $? = 1 ] && [ "$(md5sum < "$f")" = "$before" ]; expect "text outside GBK refused, file unchanged" $?

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
