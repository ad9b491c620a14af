#!/usr/bin/env bash
# Builds the release packages from the 32-bit (shipping) build into dist/: the MSI installer for administrators
# and the portable zip, both named with the project's version as CMake has it.
# Run as root on Debian 12; it installs whatever is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
bash tools/configure-win.sh i686
version=$(cat build/win-i686/AmbervaleVersion.txt)
# The README names the release; a package must not contradict it.
cmake -DREADME="$root/README.md" -DVERSION="$version" -P cmake/CheckReadmeVersion.cmake
cmake --build build/win-i686 --target ambervale_msi ambervale_portable_zip -j"$(nproc)"

mkdir -p dist
rm -f dist/Ambervale-*.msi dist/Ambervale-*-portable.zip
cp "build/win-i686/installer/Ambervale-$version.msi" "build/win-i686/installer/Ambervale-$version-portable.zip" dist/
echo "Ambervale $version:"
ls -l "dist/Ambervale-$version.msi" "dist/Ambervale-$version-portable.zip"
