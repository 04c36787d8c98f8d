#!/usr/bin/env bash
# The quellmark tool end to end on copies of the sample databases: output
# formats, exit statuses, passwords, and the batch duplicate tools.
# Usage: quellmark.sh BUILD_DIR TESTDATA_DIR
set -u
build=$1
data=$2
ql="$build/tools/quellmark/quellmark"
[ -x "$ql" ] || { echo "SKIP: $ql not built"; exit 77; }
[ -f "$data/mdb/jet4/dups_v2000.mdb" ] || { echo "SKIP: no reference databases at $data/mdb"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/dups.mdb"
cp "$data/mdb/jet4/dups_v2000_pw.mdb" "$work/dups_pw.mdb"
cp "$data/mdb/jet3/V1997.mdb" "$work/v97.mdb"
db="$work/dups.mdb"

passed=0
failed=0
check() {  # check NAME EXPECTED_STATUS COMMAND... ; output in $out, stderr in $err
  local name=$1 want=$2
  shift 2
  out=$("$@" 2> "$work/stderr")
  local got=$?
  err=$(cat "$work/stderr")
  if [ "$got" -ne "$want" ]; then
    echo "FAIL $name: exit $got, wanted $want; stderr: $err"
    failed=$((failed + 1))
    return 1
  fi
  return 0
}
expect() {  # expect NAME CONDITION_RESULT
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else echo "FAIL $1"; echo "$out" | head -20; failed=$((failed + 1)); fi
}
has() { grep -qF -- "$1" <<< "$out"; }
line() { sed -n "$1p" <<< "$out"; }

check tables 0 "$ql" tables "$db" && { has $'TABLE\tCustomers' && has $'TABLE\tTags'; expect "tables lists user tables" $?; }
check tables-order 0 "$ql" tables "$db" && {
  sorted=$(printf '%s\n' "$out" | LC_ALL=C sort -t $'\t' -k1,1 -s)
  [ "$(cut -f1 <<< "$out")" = "$(cut -f1 <<< "$sorted")" ]; expect "tables are ordered by type" $?; }
check tables-system 0 "$ql" tables "$db" && { has $'SYSTEM TABLE\tMSysObjects'; expect "system tables listed" $?; }

check json 0 "$ql" query "$db" "select ID, Name, Active, Joined from [Customers] where ID = 1" --format json && {
  [ "$out" = '{"ID":1,"Name":"Alice","Active":true,"Joined":"2001-02-03 04:05:06"}' ]; expect "json line" $?; }
check json-null 0 "$ql" query "$db" "select Notes, Amount from Customers where ID = 4" --format json && {
  [ "$out" = '{"Notes":null,"Amount":null}' ]; expect "json null" $?; }
check csv 0 "$ql" query "$db" "select ID, Name from [Customers] where ID <= 2 order by ID" --format csv && {
  [ "$(line 1)" = "ID,Name" ] && [ "$(line 3)" = "2,Alice" ]; expect "csv" $?; }
check table 0 "$ql" query "$db" "select count(*) from [Customers]" && { has "Expr1000" && has "11"; expect "table format" $?; }

check report 0 "$ql" dupes "$db" --table Customers --keys Name --format csv && {
  has "Name,Expr1001" && has "Alice,4"; expect "duplicate report (case-insensitive grouping)" $?; }

check schema 0 "$ql" schema "$db" Customers && { has "COLUMN ID Long AUTOINCREMENT" && has "COLUMN Name Text(50)" && has "INDEX PrimaryKey (ID ASC) PRIMARY KEY"; expect "schema" $?; }

check pw-ok 0 "$ql" tables "$work/dups_pw.mdb" --password 'Dup$Pw-2024' && { has $'TABLE\tCustomers'; expect "password opens" $?; }
check pw-bad 1 "$ql" tables "$work/dups_pw.mdb" --password wrong && { grep -q "不是有效的密码" <<< "$err"; expect "wrong password refused" $?; }
check jet3 0 "$ql" tables "$work/v97.mdb" && { has $'TABLE\tTable1'; expect "jet 3 file" $?; }

check missing-file 1 "$ql" tables "$work/none.mdb" && { grep -q "none.mdb" <<< "$err"; expect "missing file named" $?; }
printf 'not a database at all' > "$work/junk.mdb"
check junk 1 "$ql" tables "$work/junk.mdb" && { grep -q "junk.mdb" <<< "$err"; expect "junk refused" $?; }
cmp -s "$work/junk.mdb" <(printf 'not a database at all'); expect "junk file left unchanged" $?
check bad-table 1 "$ql" query "$db" "select * from [Nope]" && { grep -q "Nope" <<< "$err"; expect "unknown table named" $?; }
check bad-field 1 "$ql" query "$db" "select Nope from [Customers]" && { grep -q "Nope" <<< "$err"; expect "unknown field named" $?; }
check usage 2 "$ql" frobnicate; expect "unknown command is a usage error" $?
check usage-format 2 "$ql" query "$db" "select 1" --format xml; expect "unknown format is a usage error" $?
check usage-args 2 "$ql" tables; expect "missing file argument is a usage error" $?
check help 0 "$ql" query --help && { has "usage: quellmark query"; expect "help" $?; }
check no-tty 2 "$ql" dedupe "$db" --table Customers --id ID --keys Name --keep lowest < /dev/null; expect "dedupe without --yes and no terminal" $?

cp "$data/mdb/jet4/dups_v2000.mdb" "$work/dedupe.mdb" && chmod u+w "$work/dedupe.mdb"
check dedupe 0 "$ql" dedupe "$work/dedupe.mdb" --table Customers --id ID --keys Name --keep highest --yes && {
  has "6 records deleted"; expect "dedupe keep-highest deletes the duplicates" $?; }
check dedupe-after 0 "$ql" query "$work/dedupe.mdb" "select ID from Customers order by ID" --format csv && {
  [ "$(echo "$out" | tr '\n' ' ')" = "ID 5 6 8 10 11 " ]; expect "the highest ID of each group is kept" $?; }
check dedupe-mdbtools 0 mdb-export "$work/dedupe.mdb" Customers && {
  [ "$(echo "$out" | wc -l)" -eq 6 ]; expect "mdbtools reads the deduplicated table" $?; }
ls "$work"/bak_*dedupe.mdb > /dev/null 2>&1; expect "dedupe leaves a backup copy" $?

# Batch removal on writable copies: the backup copy first, then the window's statements.
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/low.mdb"; chmod 644 "$work/low.mdb"
check dedupe-low 0 "$ql" dedupe "$work/low.mdb" --table Customers --id ID --keys Name --keep lowest --yes && {
  has "6 records deleted"; expect "keep lowest reports the deletions" $?; }
check dedupe-low-ids 0 "$ql" query "$work/low.mdb" "select ID from Customers order by ID" --format csv && {
  [ "$(tr '\n' ' ' <<< "$out")" = "ID 1 4 7 9 11 " ]; expect "keep lowest leaves the lowest ID of each group" $?; }
ls "$work"/bak_备份_[0-9]*low.mdb > /dev/null 2>&1; expect "backup copy made beside the file" $?
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/high.mdb"; chmod 644 "$work/high.mdb"
check dedupe-high 0 "$ql" dedupe "$work/high.mdb" --table Customers --id ID --keys Name --keep highest --yes
check dedupe-high-ids 0 "$ql" query "$work/high.mdb" "select ID from Customers order by ID" --format csv && {
  [ "$(tr '\n' ' ' <<< "$out")" = "ID 5 6 8 10 11 " ]; expect "keep highest leaves the highest ID of each group" $?; }
check dedupe-repeated-id 1 "$ql" dedupe "$work/high.mdb" --table Tags --id Weight --keys Tag --keep lowest --yes && {
  grep -q "Weight" <<< "$err"; expect "an ID field that is not distinct is refused" $?; }
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/ro.mdb"; chmod 444 "$work/ro.mdb"
before=$(md5sum < "$work/ro.mdb")
check dedupe-readonly 1 "$ql" dedupe "$work/ro.mdb" --table Customers --id ID --keys Name --keep lowest --yes
[ "$(md5sum < "$work/ro.mdb")" = "$before" ] && ! ls "$work"/bak_备份_*ro.mdb > /dev/null 2>&1; expect "read-only file refused before any copy or change" $?

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
