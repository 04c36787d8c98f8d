#!/usr/bin/env bash
# What other processes and the system can do to a write in progress: a stop
# by Ctrl-C, SIGTERM or SIGHUP rolls it back; readers in other processes see
# the table before or after it, never half done; a full disk leaves the file
# as it was. Works on databases mdbgen makes.
# Usage: file_safety.sh BUILD_DIR [TESTDATA_DIR]
set -u
# The messages compared below are the tool's Chinese ones.
unset LC_ALL LC_MESSAGES
export LANG=zh_CN.UTF-8
build=$1
ql="$build/tools/quellmark/quellmark"
gen="$build/tools/mdbgen/mdbgen"
[ -x "$ql" ] && [ -x "$gen" ] || { echo "SKIP: quellmark or mdbgen not built"; exit 77; }

work=$(mktemp -d)
mounted=""
cleanup() {
  [ -n "$mounted" ] && umount "$mounted" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
expect() {  # expect NAME CONDITION_RESULT
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else echo "FAIL $1"; failed=$((failed + 1)); fi
}
count() {  # count FILE: the rows of Records, or nothing when the read failed
  "$ql" query "$1" "SELECT COUNT(*) AS n FROM Records" --format csv 2> /dev/null | sed -n 2p
}
dedupe() {  # dedupe FILE: removes the duplicates, keeping the lowest ID (in place of the shell)
  exec "$ql" dedupe "$1" --table Records --id ID --keys Name,Phone --keep lowest --yes
}
no_leftovers() {  # no_leftovers FILE: neither journal nor lock file beside it
  [ ! -e "$1.qmj" ] && [ ! -e "${1%.mdb}.ldb" ]
}

rows=${QM_SAFETY_ROWS:-60000}
"$gen" "$work/big.mdb" --rows "$rows" --dup-share 0.5 --no-memos > /dev/null || { echo "FAIL mdbgen"; exit 1; }
before_count=$(count "$work/big.mdb")

# Stops: the signal comes while the delete is under way (its journal exists).
# It is sent as soon as the journal is seen: a fast build can finish the
# whole delete within a fixed pause, and a stop after the commit rightly
# leaves the file changed.
# Job control gives each background job its own process group, with Ctrl-C
# not ignored.
set -m
for sig in INT TERM HUP; do
  db="$work/stop-$sig.mdb"
  cp "$work/big.mdb" "$db"
  dedupe "$db" > "$work/out" 2> "$work/err" &
  pid=$!
  for _ in $(seq 1 2000); do [ -e "$db.qmj" ] && break; sleep 0.002; done
  kill -"$sig" "$pid" 2> /dev/null
  wait "$pid"
  status=$?
  want=$((128 + $(kill -l "$sig")))
  [ "$status" -eq "$want" ]; expect "SIG$sig: exit status $status, wanted $want ($(tail -1 "$work/err"))" $?
  cmp -s "$db" "$work/big.mdb"; expect "SIG$sig: the file is byte for byte as before" $?
  no_leftovers "$db"; expect "SIG$sig: no journal or lock file left" $?
done
set +m

# Readers during a delete: every count is the one before or the one after.
db="$work/shared.mdb"
cp "$work/big.mdb" "$db"
dedupe "$db" > "$work/dedupe.out" 2> "$work/dedupe.err" &
writer=$!
readers=()
for r in 1 2 3; do
  (
    while kill -0 "$writer" 2> /dev/null; do
      c=$(count "$db")
      echo "${c:-busy}"
    done
  ) > "$work/counts.$r" &
  readers+=($!)
done
wait "$writer"
writer_status=$?
wait "${readers[@]}"
after_count=$(count "$db")
[ "$writer_status" -eq 0 ] && [ "$after_count" -lt "$before_count" ]
expect "the delete went through under readers ($before_count -> $after_count, status $writer_status)" $?
cat "$work"/counts.* > "$work/counts"
reads=$(grep -c . "$work/counts")
odd=$(grep -v -x -e "$before_count" -e "$after_count" -e busy "$work/counts" | sort | uniq -c | head -5)
[ "$reads" -gt 3 ] && [ -z "$odd" ]
expect "$reads concurrent counts, each before or after (others: ${odd:-none})" $?
no_leftovers "$db"; expect "readers leave no journal or lock file" $?

# A full disk: a small file system holding the database.
disk="$work/disk"
mkdir -p "$disk"
size_kb=$(( $(stat -c %s "$work/big.mdb") / 1024 ))
if mount -t tmpfs -o size=$((size_kb * 2 + 200))k tmpfs "$disk" 2> /dev/null; then
  mounted="$disk"
  # Room for the backup copy, not for the journal of the delete.
  db="$disk/full.mdb"
  cp "$work/big.mdb" "$db"
  (dedupe "$db") > "$work/out" 2> "$work/err"
  status=$?
  [ "$status" -eq 1 ] && grep -q "磁盘已满" "$work/err"
  expect "full disk during the delete: exit $status, says so ($(tail -1 "$work/err"))" $?
  cmp -s "$db" "$work/big.mdb"; expect "full disk during the delete: the file is as before" $?
  no_leftovers "$db"; expect "full disk during the delete: no journal or lock file left" $?
  # No room for the backup copy: no half copy is left as if it were one.
  rm -f "$disk"/bak_*
  dd if=/dev/zero of="$disk/filler" bs=1k count=$((size_kb / 2)) status=none 2> /dev/null
  (dedupe "$db") > "$work/out" 2> "$work/err"
  status=$?
  [ "$status" -ne 0 ] && ! ls "$disk"/bak_* > /dev/null 2>&1
  expect "full disk during the backup copy: exit $status, no partial copy ($(tail -1 "$work/err"))" $?
  cmp -s "$db" "$work/big.mdb"; expect "full disk during the backup copy: the file is as before" $?
else
  echo "note: no small file system could be mounted here; the full-disk cases are left to the engine's tests"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
