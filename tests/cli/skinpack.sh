#!/usr/bin/env bash
# End-to-end test of the skinpack tool: pack, list, unpack in the plain and the
# stored form, usage errors (exit 2) and failures (exit 1).
# Usage: skinpack.sh BUILD_DIR TESTDATA_DIR   (exit 77 = skipped)
set -uo pipefail
build=${1:?build dir}
tool="$build/tools/skinpack/skinpack"
if [ ! -x "$tool" ]; then
  echo "skip: $tool is not built"
  exit 77
fi
if ! command -v python3 > /dev/null; then
  echo "skip: python3 is needed to write test bitmaps"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect STATUS CMD...: runs the tool, keeps stdout/stderr in $work/out, $work/err.
expect() {
  local want=$1
  shift
  "$tool" "$@" > "$work/out" 2> "$work/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    fail "skinpack $* exited $got, expected $want"
    sed 's/^/  stderr: /' "$work/err"
  fi
}

expect_err() {
  grep -q -- "$1" "$work/err" || fail "stderr lacks \"$1\": $(cat "$work/err")"
}

# bmp PATH WIDTH HEIGHT BITS: an uncompressed BMP with a pixel pattern.
bmp() {
  python3 - "$@" << 'PY'
import struct, sys
path, w, h, bpp = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
stride = (w * bpp // 8 + 3) & ~3
pixels = bytearray()
for y in range(h):
    row = bytearray((x * 7 + y * 13 + i) & 0xFF for x in range(w) for i in range(bpp // 8))
    pixels += row + bytes(stride - len(row))
header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, len(pixels), 2835, 2835, 0, 0)
open(path, 'wb').write(header + info + pixels)
PY
}

skin="$work/skin"
mkdir -p "$skin"
bmp "$skin/Button.bmp" 5 3 24
bmp "$skin/arrow.bmp" 16 16 24
bmp "$skin/Title.BMP" 1 1 24
printf '[Personality]\r\nName=Test skin\r\n[Button]\r\nImage=button.bmp\r\nFrames=1\r\n' > "$skin/skin.ini"

# --- help and usage errors ------------------------------------------------------
expect 0 --help
grep -q "Usage: skinpack" "$work/out" || fail "--help prints no usage"
grep -q -- "--stored" "$work/out" || fail "--help does not document --stored"
expect 2
expect_err "no command"
expect 2 frobnicate
expect_err "unknown command"
expect 2 pack "$skin"
expect_err "pack takes 2 arguments"
expect 2 list a b
expect 2 --bogus list x
expect_err "unknown option --bogus"

# --- plain archive ------------------------------------------------------------------------
expect 0 pack "$skin" "$work/skin.skn"
[ -s "$work/skin.skn" ] || fail "pack wrote no archive"
expect 0 list "$work/skin.skn"
head -n 1 "$work/out" | grep -q "^version 70000, 4 members$" || fail "list header: $(head -n 1 "$work/out")"
names=$(tail -n +2 "$work/out" | awk '{print $2}' | tr '\n' ' ')
[ "$names" = "Button.bmp Title.BMP arrow.bmp skin.ini " ] || fail "member order: $names"
size=$(grep " skin.ini$" "$work/out" | awk '{print $1}')
[ "$size" = "$(stat -c %s "$skin/skin.ini")" ] || fail "ini size listed as $size"

expect 0 unpack "$work/skin.skn" "$work/out-plain"
for f in Button.bmp arrow.bmp Title.BMP skin.ini; do
  cmp -s "$skin/$f" "$work/out-plain/$f" || fail "unpacked $f differs"
done

# Packing the unpacked folder gives the same archive again.
expect 0 pack "$work/out-plain" "$work/again.skn"
cmp -s "$work/skin.skn" "$work/again.skn" || fail "repacking changed the archive"

# --- stored form ---------------------------------------------------------------------------
expect 0 --stored pack "$skin" "$work/stored.bin"
python3 - "$work/stored.bin" "$work/skin.skn" << 'PY' || fail "stored form is not count + archive"
import struct, sys
stored, plain = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read()
(count,) = struct.unpack('<I', stored[:4])
sys.exit(0 if count == len(stored) - 4 and stored[4:] == plain else 1)
PY
expect 0 list --stored "$work/stored.bin"
grep -q "^version 70000, 4 members$" "$work/out" || fail "list --stored"
expect 0 unpack "$work/stored.bin" "$work/out-stored" --stored
cmp -s "$skin/arrow.bmp" "$work/out-stored/arrow.bmp" || fail "stored unpack differs"
expect 1 list "$work/stored.bin"
expect 1 list --stored "$work/skin.skn"

# --- bad inputs ------------------------------------------------------------------------------
bad="$work/bad32"
mkdir -p "$bad"
cp "$skin/skin.ini" "$bad/"
bmp "$bad/deep.bmp" 4 4 32
expect 1 pack "$bad" "$work/x.skn"
expect_err "deep.bmp.*32-bit bitmap; skins take 24-bit bitmaps only"
[ -e "$work/x.skn" ] && fail "a failed pack left an output file"

fake="$work/fake"
mkdir -p "$fake"
cp "$skin/skin.ini" "$fake/"
printf 'GIF89a not a bitmap' > "$fake/pic.bmp"
expect 1 pack "$fake" "$work/x.skn"
expect_err "not a BMP file"

cut="$work/cut"
mkdir -p "$cut"
cp "$skin/skin.ini" "$cut/"
head -c 60 "$skin/arrow.bmp" > "$cut/arrow.bmp"
expect 1 pack "$cut" "$work/x.skn"
expect_err "pixel data is cut off"

noini="$work/noini"
mkdir -p "$noini"
cp "$skin/arrow.bmp" "$noini/"
expect 1 pack "$noini" "$work/x.skn"
expect_err "exactly one definition"
cp "$skin/skin.ini" "$noini/a.ini"
cp "$skin/skin.ini" "$noini/b.ini"
expect 1 pack "$noini" "$work/x.skn"
expect_err "2 .ini files"

stray="$work/stray"
mkdir -p "$stray"
cp "$skin/skin.ini" "$stray/"
echo hello > "$stray/readme.txt"
expect 1 pack "$stray" "$work/x.skn"
expect_err "readme.txt"

expect 1 pack "$work/missing-folder" "$work/x.skn"
expect_err "is not a folder"
expect 1 pack "$skin" "$work/no/such/dir/out.skn"
expect 1 list "$work/missing.skn"
expect_err "missing.skn"

head -c 100 "$work/skin.skn" > "$work/truncated.skn"
expect 1 list "$work/truncated.skn"
expect_err "not a skin archive"
head -c 3 "$work/skin.skn" > "$work/tiny.skn"
expect 1 unpack "$work/tiny.skn" "$work/out-tiny"
python3 -c "import os,sys; open(sys.argv[1],'wb').write(os.urandom(4096))" "$work/noise.skn"
expect 1 list "$work/noise.skn"
: > "$work/empty.skn"
expect 1 list "$work/empty.skn"
touch "$work/afile"
expect 1 unpack "$work/skin.skn" "$work/afile/sub"

# A name that is a plain file here but a path on Windows is refused on unpack.
odd="$work/odd"
mkdir -p "$odd"
cp "$skin/skin.ini" "$odd/"
cp "$skin/arrow.bmp" "$odd/..\\evil.bmp"
expect 0 pack "$odd" "$work/odd.skn"
expect 1 unpack "$work/odd.skn" "$work/out-odd"
expect_err "not a plain file name"
[ -e "$work/out-odd/skin.ini" ] && fail "unpack wrote files before refusing a bad name"

if [ "$failures" -ne 0 ]; then
  echo "skinpack.sh: $failures failure(s)"
  exit 1
fi
echo "skinpack.sh: all checks passed"
