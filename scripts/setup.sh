#!/usr/bin/env bash
# Installs everything Quellmark needs to build and test on a fresh Debian 12
# machine (as root, or with sudo), then the npm packages of the reader checks.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
  build-essential cmake ninja-build git pkg-config python3 dpkg-dev
  googletest libgtest-dev libgmock-dev
  nlohmann-json3-dev libcli11-dev
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev
  clang libclang-rt-14-dev clang-format
  mdbtools
  g++-mingw-w64-x86-64 wine64 wine xvfb xauth fonts-wqy-microhei imagemagick
)

# Node.js may come from elsewhere with its own npm; Debian's npm would conflict with it.
if ! command -v node > /dev/null 2>&1; then packages+=(nodejs); fi
if ! command -v npm > /dev/null 2>&1; then packages+=(npm); fi

# Runs a step with its output kept aside: shown only when the step fails.
quietly() {
  local log status=0
  log=$(mktemp)
  "$@" > "$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then cat "$log" >&2; fi
  rm -f "$log"
  return "$status"
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  quietly $SUDO apt-get update -qq
  quietly $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The independent JavaScript reader used to check the files we write, at the
# versions the committed lock file names; installed again when the lock changed.
readers=tests/readers
if [ -f "$readers/package-lock.json" ] &&
  { [ ! -f "$readers/node_modules/.package-lock.json" ] ||
    [ "$readers/package-lock.json" -nt "$readers/node_modules/.package-lock.json" ]; }; then
  (cd "$readers" && quietly npm ci --no-audit --no-fund --loglevel=error)
fi
echo "setup: done"
