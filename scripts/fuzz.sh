#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (seconds per target, default 60) on its seed corpus. Any crash, leak, hang
# or out-of-memory fails the run.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build/fuzz
if [ ! -f "$dir/build.ninja" ]; then
  mkdir -p "$dir"
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQM_FUZZ=ON -DQM_TESTS=OFF -DQM_BENCH=OFF > "$dir.cmake.log" 2>&1 || { cat "$dir.cmake.log"; exit 1; }
fi
ninja -C "$dir" || exit 1
targets=$(find "$dir/fuzz" -maxdepth 3 -type f -name '*_fuzz' -perm -u+x | sort)
if [ -z "$targets" ]; then
  echo "fuzz: no targets built"
  exit 0
fi
status=0
passed=0
failed=0
for t in $targets; do
  name=$(basename "$t")
  seeds="fuzz/corpus/${name%_fuzz}"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/ 2>/dev/null
  echo "fuzz: $name for ${seconds}s"
  if "$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$dir/$name-" "$work" > "$dir/$name.log" 2>&1; then
    passed=$((passed + 1))
    tail -n 1 "$dir/$name.log"
  else
    failed=$((failed + 1))
    status=1
    echo "fuzz: $name FAILED"; tail -n 40 "$dir/$name.log"
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
exit $status
