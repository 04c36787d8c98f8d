#!/usr/bin/env bash
# Runs every test: the native suite under AddressSanitizer + UBSan (unit tests,
# the sample databases, the command-line programs, independent readers), the
# fuzz targets for a bounded time, and the Windows program under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
failed_stages=()

# The reference databases are read in place; a test that changed one would
# hide its own fault, so their checksums are compared after the run.
shared=../shared/testdata
fingerprint() { [ -d "$shared" ] && (cd "$shared" && find . -type f -print0 | sort -z | xargs -0 md5sum) ; }
before=$(fingerprint)

echo "== native build (ASan + UBSan)"
if bash scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON -DQM_BENCH=OFF; then
  echo "== native tests"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs" --timeout 600 || failed_stages+=(native-tests)
else
  failed_stages+=(native-build)
fi

if [ -x scripts/fuzz.sh ] || [ -f scripts/fuzz.sh ]; then
  echo "== fuzz targets"
  bash scripts/fuzz.sh "${QM_FUZZ_SECONDS:-60}" || failed_stages+=(fuzz)
fi

if [ -f scripts/test-windows.sh ]; then
  echo "== Windows program under Wine"
  bash scripts/test-windows.sh || failed_stages+=(windows)
fi

if [ "$(fingerprint)" != "$before" ]; then
  echo "the reference data in $shared was changed by a test"
  failed_stages+=(reference-data-changed)
fi

if [ ${#failed_stages[@]} -gt 0 ]; then
  echo "FAILED stages: ${failed_stages[*]}"
  exit 1
fi
echo "all test stages passed"
