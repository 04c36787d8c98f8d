#!/usr/bin/env bash
# Builds the Windows program and its end-to-end driver with mingw-w64, makes a
# fresh Wine prefix (Chinese font replacements, no window manager delays, no
# crash dialog), starts Xvfb, and runs the driver, which starts quellmark.exe
# and works its window as a user would. Ends with "N passed, N failed".
# Usage: test-windows.sh [test-name-filter]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
filter=${1:-}
# "--demo FILE": open FILE in the real window instead of running the tests. On
# a machine with a display the window stays open for you; without one it runs
# on a virtual display and leaves a screenshot.
demo=""
if [ "$filter" = "--demo" ]; then
  demo=$(realpath "$2")
  filter=""
fi

if ! command -v wine >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
  echo "test-windows: wine or Xvfb is not installed; skipping the Windows tests"
  exit 0
fi

# QM_WIN_BUILD / QM_WIN_WORK let several builds of the program run side by side.
build=${QM_WIN_BUILD:-$root/build/win}
work=${QM_WIN_WORK:-$root/build/win-e2e}
echo "== building quellmark.exe and the e2e driver (mingw-w64)"
bash scripts/build-libjpeg-mingw.sh "$root/build/libjpeg-mingw" || exit 1
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQM_TESTS=OFF -DQM_BENCH=OFF -DQM_E2E=ON >"$build.cmake.log" 2>&1 || { cat "$build.cmake.log"; exit 1; }
fi
# The Windows unit tests (drawing on device contexts, the skin components) are built alongside.
cmake -DQM_WIN_TESTS=ON "$build" >"$build.cmake.log" 2>&1 || { cat "$build.cmake.log"; exit 1; }
ninja -C "$build" -j2 quellmark_gui e2e_driver quellmark skin_win_tests || exit 1  # the batch tool is built for Windows too

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
display=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

echo "== fresh Wine prefix"
rm -rf "$work/prefix"
mkdir -p "$work"
wineboot --init >"$work/wineboot.log" 2>&1
wineserver -w
reg=$work/settings.reg
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  # 宋体 has half-width Latin letters and spaces; the Mono face of the same file keeps those widths,
  # so captions that use spaces to leave room for an edit line up as on Windows.
  for f in SimSun 宋体 NSimSun 新宋体; do printf '"%s"="WenQuanYi Micro Hei Mono"\r\n' "$f"; done
  for f in SimHei 黑体 "Microsoft YaHei" 微软雅黑; do printf '"%s"="WenQuanYi Micro Hei"\r\n' "$f"; done
  printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
  # REG_MULTI_SZ "wqy-microhei.ttc,WenQuanYi Micro Hei" written as hex(7) UTF-16LE.
  hex=$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
  printf '"Tahoma"=hex(7):%s\r\n' "$hex"
  # Web addresses go to a catcher that records them instead of starting a browser.
  for proto in http https; do
    printf '\r\n[HKEY_CLASSES_ROOT\\%s\\shell\\open\\command]\r\n@="\\"C:\\\\e2e\\\\e2e_driver.exe\\" --record-url \\"%%1\\""\r\n' "$proto"
  done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
wine regedit /S "$reg" >/dev/null 2>&1
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
ln -sf /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc" 2>/dev/null || true
mkdir -p "$WINEPREFIX/drive_c/e2e"
cp "$build/tests/e2e/e2e_driver.exe" "$WINEPREFIX/drive_c/e2e/"

keep_open=""
if [ -n "$demo" ] && [ -n "${DISPLAY:-}" ]; then
  keep_open="--keep-open"
fi
if [ -n "$keep_open" ]; then
  echo "== using the display $DISPLAY"
else
echo "== Xvfb"
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
sleep 1
fi

wineserver -p
wine cmd /c exit >/dev/null 2>&1
winpath() { echo "Z:${1//\//\\}"; }

unit_passed=0
unit_failed=0
if [ -z "$demo" ]; then
  echo "== Windows unit tests"
  unit_log=$work/unit.log
  wine "$build/tests/win/skin_win_tests.exe" ${filter:+--gtest_filter="*$filter*"} 2>&1 | tr -d '\r' >"$unit_log"
  unit_status=${PIPESTATUS[0]}
  grep -E '^\[  (FAILED|PASSED) ' "$unit_log"
  unit_passed=$(grep -c '^\[       OK \]' "$unit_log")
  unit_failed=$(grep '^\[  FAILED  \] [A-Za-z]' "$unit_log" | sort -u | wc -l)
  [ "$unit_status" -eq 0 ] || [ "$unit_failed" -gt 0 ] || unit_failed=1
  echo "Windows unit tests: $unit_passed passed, $unit_failed failed"
  # Not a timed test: the figure is printed for the record.
  [ -f "$build/skins/quellmark.skin" ] && wine "$build/tests/win/skin_win_tests.exe" --bench-skin "$(winpath "$build/skins/quellmark.skin")" 2>&1 | tr -d '\r'
  [ -f "$build/skins/quellmark.skin" ] && wine "$build/tests/win/skin_win_tests.exe" --bench-frame "$(winpath "$build/skins/quellmark.skin")" 2>&1 | tr -d '\r'
  [ -f "$build/skins/quellmark.skin" ] && wine "$build/tests/win/skin_win_tests.exe" --bench-button "$(winpath "$build/skins/quellmark.skin")" 2>&1 | tr -d '\r'
  [ -f "$build/skins/quellmark.skin" ] && wine "$build/tests/win/skin_win_tests.exe" --bench-menu "$(winpath "$build/skins/quellmark.skin")" 2>&1 | tr -d '\r'
fi

echo "== end-to-end tests"
rm -rf "$work/run" && mkdir -p "$work/run"
testdata=${QM_TESTDATA_DIR:-$(cd "$root/.." && pwd)/shared/testdata}
args=(--app "$(winpath "$build/app/quellmark.exe")" --data "$(winpath "$testdata")" --work "$(winpath "$work/run")")
[ -n "$demo" ] && args=(--app "$(winpath "$build/app/quellmark.exe")" --work "$(winpath "$work/run")" --demo "$(winpath "$demo")" $keep_open)
[ -n "$filter" ] && args+=(--filter "$filter")
# The driver asks for the screenshot (a file) once a table is loaded; this side takes it.
(
  while [ ! -f "$work/run/driver.done" ]; do
    if [ -f "$work/run/shot.request" ]; then
      sleep 0.3
      name=$(tr -cd 'A-Za-z0-9_-' <"$work/run/shot.request")
      rm -f "$work/run/shot.request"
      import -window root "$work/run/${name:-screen}.png" 2>/dev/null
      touch "$work/run/shot.done"
    fi
    sleep 0.2
  done
) &
watcher=$!
wine "$WINEPREFIX/drive_c/e2e/e2e_driver.exe" "${args[@]}" 2>&1 | tr -d '\r' | grep --line-buffered -v 'FS volume label and serial are not available' | tee "$work/run/driver.log"
status=${PIPESTATUS[0]}
touch "$work/run/driver.done"
wait "$watcher" 2>/dev/null
for shot in "$work"/run/*.png; do [ -f "$shot" ] && echo "screenshot: $shot"; done
if [ -n "$demo" ]; then
  [ "$status" -eq 0 ] && exit 0
  exit 1
fi
summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$work/run/driver.log" | tail -1)
if [ -z "$summary" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "$summary (end to end); Windows unit tests: $unit_passed passed, $unit_failed failed"
[ "$status" -eq 0 ] || exit 1
[ "$unit_failed" -eq 0 ] || exit 1
exit 0
