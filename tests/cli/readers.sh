#!/usr/bin/env bash
# Every sample database read by quellmark equals the independent JavaScript
# reader's view of it. Usage: readers.sh BUILD_DIR TESTDATA_DIR
set -u
build=$1
data=$2
here=$(cd "$(dirname "$0")/.." && pwd)
ql="$build/tools/quellmark/quellmark"
[ -d "$data/mdb" ] || { echo "SKIP: no reference databases at $data/mdb"; exit 77; }
[ -d "$here/readers/node_modules/mdb-reader" ] || { echo "SKIP: mdb-reader not installed (run scripts/setup.sh)"; exit 77; }
command -v node > /dev/null || { echo "SKIP: node not installed"; exit 77; }
status=0
for f in "$data"/mdb/jet3/*.mdb "$data"/mdb/jet4/*.mdb; do
  pw=""
  case "$(basename "$f")" in
    V2000_with-password.mdb | V2003_with-password.mdb) pw=password ;;
    dups_v2000_pw.mdb) pw='Dup$Pw-2024' ;;
  esac
  if python3 "$here/readers/compare.py" "$ql" "$f" $pw; then
    echo "ok   $(basename "$f")"
  else
    echo "FAIL $(basename "$f")"
    status=1
  fi
done
exit $status
