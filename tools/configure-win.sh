#!/usr/bin/env bash
# Configures the Release cross build for one Windows architecture (i686, the shipping one, or x86_64) in
# build/win-ARCH, the build that the run, test and package scripts share.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$1
# The packages are signed when the environment names a certificate (see tools/package.sh); its password stays in the
# environment and is read while they are built.
pfx=${AMBERVALE_SIGN_PFX:+$(realpath "$AMBERVALE_SIGN_PFX")}
cmake -S "$root" -B "$root/build/win-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw.cmake" -DAMBERVALE_MINGW_ARCH="$arch" \
  -DAMBERVALE_SIGN_PFX="$pfx" -DAMBERVALE_SIGN_TIMESTAMP_URL="${AMBERVALE_SIGN_TIMESTAMP_URL:-}" >/dev/null
