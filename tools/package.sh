#!/usr/bin/env bash
# Builds the release packages from the 32-bit (shipping) build into dist/: the MSI installer for administrators
# and the portable zip, both named with the project's version as CMake has it.
# Signing (Authenticode, with osslsigncode): with AMBERVALE_SIGN_PFX (a PKCS#12 file with the code-signing
# certificate and its key) and AMBERVALE_SIGN_PASSWORD (its password, empty for none), Ambervale.exe is signed before
# the MSI and the zip take it, and so are the setup DLL and the MSI; AMBERVALE_SIGN_TIMESTAMP_URL (an RFC 3161
# time-stamping server) keeps the signatures valid after the certificate expires. Without them the packages are
# unsigned.
# Run as root on Debian 12; it installs whatever is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ -n "${AMBERVALE_SIGN_PFX:-}" ]; then
  if [ ! -f "$AMBERVALE_SIGN_PFX" ]; then
    echo "package.sh: AMBERVALE_SIGN_PFX names no file: $AMBERVALE_SIGN_PFX" >&2
    exit 1
  fi
  if [ -z "${AMBERVALE_SIGN_PASSWORD+set}" ]; then
    echo "package.sh: AMBERVALE_SIGN_PASSWORD is not set (the password of $AMBERVALE_SIGN_PFX; empty for none)" >&2
    exit 1
  fi
  signing="signed with $AMBERVALE_SIGN_PFX"
  signing+=${AMBERVALE_SIGN_TIMESTAMP_URL:+, time-stamped by $AMBERVALE_SIGN_TIMESTAMP_URL}
else
  signing="unsigned: AMBERVALE_SIGN_PFX is not set"
fi

bash tools/install-deps.sh
bash tools/configure-win.sh i686
version=$(cat build/win-i686/AmbervaleVersion.txt)
# The README names the release; a package must not contradict it.
cmake -DREADME="$root/README.md" -DVERSION="$version" -P cmake/CheckReadmeVersion.cmake
cmake --build build/win-i686 --target ambervale_msi ambervale_portable_zip -j"$(nproc)"

mkdir -p dist
rm -f dist/Ambervale-*.msi dist/Ambervale-*-portable.zip
cp "build/win-i686/installer/Ambervale-$version.msi" "build/win-i686/installer/Ambervale-$version-portable.zip" dist/
echo "Ambervale $version ($signing):"
ls -l "dist/Ambervale-$version.msi" "dist/Ambervale-$version-portable.zip"
