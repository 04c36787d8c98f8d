#!/usr/bin/env bash
# Configures and builds the native tree. Usage: build.sh [DIR] [extra cmake args]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/release}
shift || true
if [ ! -f "$dir/build.ninja" ]; then
  mkdir -p "$dir"
  cmake -S . -B "$dir" -G Ninja "$@" > "$dir.cmake.log" 2>&1 || { cat "$dir.cmake.log"; exit 1; }
fi
ninja -C "$dir"
