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

# The texts compared below are what the tool says in a Chinese locale; the
# English ones are checked with an English locale given per command.
unset LC_ALL LC_MESSAGES
export LANG=zh_CN.UTF-8
en() { env LC_ALL=en_US.UTF-8 "$@"; }

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
check crosstab 0 "$ql" query "$db" "TRANSFORM Count(*) SELECT Active FROM Customers GROUP BY Active PIVOT Year(Joined)" --format csv && {
  [ "$out" = $'Active,<>,1899,1999,2001\nTrue,,,2,4\nFalse,2,1,2,' ]; expect "crosstab" $?; }

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
check help 0 en "$ql" query --help && { has "usage: quellmark query"; expect "help" $?; }
check help-zh 0 "$ql" query --help && { has "用法：quellmark query"; expect "help in Chinese" $?; }
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/notty.mdb"; chmod 644 "$work/notty.mdb"
check no-tty 2 "$ql" dedupe "$work/notty.mdb" --table Customers --id ID --keys Name --keep lowest < /dev/null; expect "dedupe without --yes and no terminal" $?

cp "$data/mdb/jet4/dups_v2000.mdb" "$work/dedupe.mdb" && chmod u+w "$work/dedupe.mdb"
check dedupe 0 "$ql" dedupe "$work/dedupe.mdb" --table Customers --id ID --keys Name --keep highest --yes && {
  has "已删除 6 条记录"; expect "dedupe keep-highest deletes the duplicates" $?; }
check dedupe-after 0 "$ql" query "$work/dedupe.mdb" "select ID from Customers order by ID" --format csv && {
  [ "$(echo "$out" | tr '\n' ' ')" = "ID 5 6 8 10 11 " ]; expect "the highest ID of each group is kept" $?; }
check dedupe-mdbtools 0 mdb-export "$work/dedupe.mdb" Customers && {
  [ "$(echo "$out" | wc -l)" -eq 6 ]; expect "mdbtools reads the deduplicated table" $?; }
ls "$work"/bak_*dedupe.mdb > /dev/null 2>&1; expect "dedupe leaves a backup copy" $?

# Batch removal on writable copies: the backup copy first, then the window's statements.
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/low.mdb"; chmod 644 "$work/low.mdb"
check dedupe-low 0 "$ql" dedupe "$work/low.mdb" --table Customers --id ID --keys Name --keep lowest --yes && {
  has "已删除 6 条记录"; expect "keep lowest reports the deletions" $?; }
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

# Names, not SQL: each is checked against the table before anything happens.
unchanged() {  # unchanged FILE MD5_BEFORE: same bytes and no backup copy beside it
  [ "$(md5sum < "$1")" = "$2" ] && ! ls "$(dirname "$1")"/bak_备份_*"$(basename "$1")" > /dev/null 2>&1
}
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/names.mdb"; chmod 644 "$work/names.mdb"
before=$(md5sum < "$work/names.mdb")
for keys in 1 Null "Name,,Notes" "Name," ",Name" "Nope" "Name+0"; do
  check "keys-$keys" 1 "$ql" dedupe "$work/names.mdb" --table Customers --id ID --keys "$keys" --keep lowest --yes
  unchanged "$work/names.mdb" "$before"; expect "--keys '$keys' is refused before any copy or change" $?
done
check id-unknown 1 "$ql" dedupe "$work/names.mdb" --table Customers --id 1 --keys Name --keep lowest --yes && {
  grep -q "'1'" <<< "$err"; expect "an --id that names no field is refused, naming it" $?; }
check keys-bracket 1 "$ql" dupes "$work/names.mdb" --table Customers --keys "a]b" && {
  grep -q "a]b" <<< "$err"; expect "a name holding ] is refused" $?; }
check names-unknown 1 "$ql" dedupe "$work/names.mdb" --table Nope --id ID --keys Name --keep lowest --yes
unchanged "$work/names.mdb" "$before"; expect "an unknown table is refused" $?
check names-query 1 "$ql" dedupe "$work/names.mdb" --table qryactivecustomers --id ID --keys Name --keep lowest --yes && {
  grep -q "qryActiveCustomers" <<< "$err" && unchanged "$work/names.mdb" "$before"; expect "a saved query named as a table is refused before any copy" $?; }
check names-system 1 "$ql" dedupe "$work/names.mdb" --table msysobjects --id Id --keys Name --keep lowest --yes && {
  grep -q "MSysObjects" <<< "$err"; expect "a system table is refused, named" $?; }
check rows-system 1 "$ql" dedupe-rows "$work/names.mdb" --table MSysObjects --yes
unchanged "$work/names.mdb" "$before"; expect "dedupe-rows refuses a system table before any copy" $?
check names-case 0 "$ql" dedupe "$work/names.mdb" --table customers --id id --keys name --keep lowest --yes && {
  has "已删除 6 条记录"; expect "names match ignoring case, as in Jet" $?; }
# Odd but valid field names are bracketed, never read as SQL.
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/odd.mdb"; chmod 644 "$work/odd.mdb"
check odd-create 0 "$ql" exec "$work/odd.mdb" "CREATE TABLE [Odd] (ID COUNTER PRIMARY KEY, [a-b] LONG, [my key] TEXT(10), [it's] TEXT(10))"
for v in "1, 'x', 'q'" "1, 'x', 'q'" "3, 'x', 'q'" "3, 'y', 'q'"; do
  "$ql" exec "$work/odd.mdb" "INSERT INTO [Odd] ([a-b], [my key], [it's]) VALUES ($v)" > /dev/null
done
check odd-dedupe 0 "$ql" dedupe "$work/odd.mdb" --table Odd --id ID --keys "a-b, my key,it's" --keep lowest --yes && {
  has "已删除 1 条记录"; expect "fields named a-b, 'my key' and it's group as fields" $?; }

# An Access 97 file is cleaned like any other: its rows doubled, then the copies go.
cp "$data/mdb/jet3/V1997.mdb" "$work/old97.mdb"; chmod 644 "$work/old97.mdb"
# Table1 has a primary key, so the doubled rows go into a keyless copy of it.
"$ql" exec "$work/old97.mdb" "SELECT * INTO [Copy1] FROM [Table1]" > /dev/null
"$ql" exec "$work/old97.mdb" "INSERT INTO [Copy1] SELECT * FROM [Table1]" > /dev/null
check jet3-rows 0 "$ql" dedupe-rows "$work/old97.mdb" --table Copy1 --yes && {
  has "已删除 2 条重复的相同记录"; expect "identical rows of an Access 97 table removed" $?; }
check jet3-after 0 "$ql" query "$work/old97.mdb" "select A, E from Copy1 order by A" --format csv && {
  [ "$(tr '\n' ' ' <<< "$out")" = "A,E a,0 abcdefg,333333333 " ]; expect "each Access 97 row once" $?; }
if command -v mdb-count > /dev/null; then
  [ "$(mdb-count "$work/old97.mdb" Copy1)" = 2 ]; expect "mdbtools counts the rows left" $?
fi
# Refusals come before the backup copy.
check ro-rows 1 "$ql" dedupe-rows "$work/ro.mdb" --table Customers --yes
! ls "$work"/bak_备份_*ro.mdb > /dev/null 2>&1; expect "dedupe-rows refuses a read-only file before any copy" $?

# Two backups within one second never overwrite each other, nor any file already there.
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/twice.mdb"; chmod 644 "$work/twice.mdb"
now=$(date +%s)
for i in 0 1 2 3 4 5 6 7 8 9; do
  echo "not ours" > "$work/bak_备份_$(date -d "@$((now + i))" +%Y%m%d%H%M%S)twice.mdb"
done
check backup-numbered 0 "$ql" dedupe "$work/twice.mdb" --table Customers --id ID --keys Name --keep lowest --yes && {
  grep -q "_2_twice.mdb" <<< "$err"; expect "a taken backup name gets a number" $?; }
[ "$(cat "$work"/bak_备份_*[0-9]twice.mdb | sort -u)" = "not ours" ]; expect "existing files keep their contents" $?
cmp -s "$data/mdb/jet4/dups_v2000.mdb" "$work"/bak_备份_*_2_twice.mdb; expect "the numbered copy holds the rows before the change" $?

# dedupe-rows: a table without identical rows is left as it is; otherwise it keeps its definition.
cp "$data/mdb/jet4/dups_v2000.mdb" "$work/rows.mdb"; chmod 644 "$work/rows.mdb"
before=$(md5sum < "$work/rows.mdb")
check rows-none 0 "$ql" dedupe-rows "$work/rows.mdb" --table customers --yes && {
  unchanged "$work/rows.mdb" "$before"; expect "no identical rows: nothing changed, no copy" $?; }
"$ql" exec "$work/rows.mdb" "CREATE TABLE [KeepMe] (n LONG NOT NULL, t TEXT(10))" > /dev/null
"$ql" exec "$work/rows.mdb" "CREATE INDEX ByT ON [KeepMe] (t)" > /dev/null
for v in "1, 'a'" "1, 'A'" "2, 'b'" "2, 'b'"; do
  "$ql" exec "$work/rows.mdb" "INSERT INTO [KeepMe] (n, t) VALUES ($v)" > /dev/null
done
"$ql" schema "$work/rows.mdb" KeepMe | grep -v "rows)" > "$work/schema.before"
check rows-rebuild 0 "$ql" dedupe-rows "$work/rows.mdb" --table keepme --yes && {
  has "已删除 2 条重复的相同记录"; expect "identical rows removed (text ignoring case)" $?; }
check rows-after 0 "$ql" query "$work/rows.mdb" "select n, t from KeepMe order by n" --format csv && {
  [ "$(tr '\n' ' ' <<< "$out")" = "n,t 1,a 2,b " ]; expect "the first row of each group stays" $?; }
"$ql" schema "$work/rows.mdb" KeepMe | grep -v "rows)" | diff - "$work/schema.before" > /dev/null
expect "the table keeps its name, columns and indexes" $?
check rows-help 0 en "$ql" dedupe-rows --help && { has "ignoring case"; expect "help says how rows compare" $?; }
check rows-help-zh 0 "$ql" dedupe-rows --help && { has "文本不区分大小写"; expect "Chinese help says how rows compare" $?; }

# Output: unique JSON keys, escaped control characters, whole characters in messages.
check json-keys 0 "$ql" query "$db" "select Name as a, ID as a, ID as a_2 from Customers where ID = 1" --format json && {
  [ "$out" = '{"a":"Alice","a_3":1,"a_2":1}' ]; expect "json keys are unique" $?; }
check table-escape 0 "$ql" query "$db" "select 'x' & Chr(27) & '[2J' & Chr(10) & 'y' as v from Customers where ID = 1" && {
  ! grep -q $'\e' <<< "$out" && has 'x\x1b[2J\ny'; expect "table output escapes control characters" $?; }
check snippet 1 "$ql" query "$db" "select Name from Customers where Name = = 中文中文中文中文中文中文中文中文中文中文"
iconv -f UTF-8 -t UTF-8 <<< "$err" > /dev/null 2>&1; expect "an error's quoted statement keeps whole characters" $?

# Language: English outside a Chinese locale, the same catalogue.
check lang-en 1 en "$ql" tables "$work/dups_pw.mdb" --password wrong && {
  grep -q "Not a valid password" <<< "$err"; expect "English messages outside a Chinese locale" $?; }
check lang-c 1 env LC_ALL=C LANG=zh_CN.UTF-8 "$ql" query "$db" "select * from [Nope]" && {
  grep -q "cannot find the input table or query 'Nope'" <<< "$err"; expect "LC_ALL decides before LANG" $?; }
check lang-zh-msg 1 env LC_MESSAGES=zh_CN.UTF-8 LANG=en_US.UTF-8 "$ql" query "$db" "select * from [Nope]" && {
  grep -q "找不到输入表或查询 'Nope'" <<< "$err"; expect "LC_MESSAGES decides before LANG" $?; }
check lang-en-tool 0 en "$ql" dupes "$db" --table Customers --keys Name --format csv
check lang-en-dedupe 0 en "$ql" dedupe "$work/names.mdb" --table Customers --id ID --keys Name --keep lowest --yes && {
  has "0 duplicate groups, 0 records to delete"; expect "the tool's own texts in English" $?; }

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
