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

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The independent JavaScript reader used to check the files we write.
if [ -f tests/readers/package.json ] && [ ! -d tests/readers/node_modules ]; then
  (cd tests/readers && npm ci --no-audit --no-fund --loglevel=error || npm install --no-audit --no-fund --loglevel=error)
fi
echo "setup: done"
