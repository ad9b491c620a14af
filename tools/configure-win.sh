#!/usr/bin/env bash
# Configures the Release cross build for one Windows architecture (i686, the shipping one, or x86_64) in
# build/win-ARCH, the build that the run, test and package scripts share.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$1
cmake -S "$root" -B "$root/build/win-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw.cmake" -DAMBERVALE_MINGW_ARCH="$arch" >/dev/null
