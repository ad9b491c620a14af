#!/usr/bin/env bash
# Builds and runs every test: the portable logic natively (AddressSanitizer and UBSan), then the 32-bit (shipping)
# and the 64-bit Windows builds under Wine, against a private CUPS spooler, on a virtual display.
# Run as root on Debian 12; it installs whatever is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
# Each checkout gets test worlds of its own (CUPS, display, Wine prefix), so two checkouts can test side by side.
AMBERVALE_ENV_TAG=${AMBERVALE_ENV_TAG:-$(printf '%s' "$root" | md5sum | cut -c1-8)}
export AMBERVALE_ENV_TAG

bash tools/install-deps.sh

echo "== native build (AddressSanitizer, UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DAMBERVALE_SANITIZE=ON >/dev/null
cmake --build build/native -j"$jobs"

for arch in i686 x86_64; do
  echo "== Windows build ($arch)"
  bash tools/configure-win.sh "$arch"
  cmake --build "build/win-$arch" -j"$jobs"
done

status=0
# Runs the tests of one build (further arguments go to ctest); a test that skipped fails the run unless
# tools/allowed-skips.txt names it.
run_tests() {
  local dir=$1 log=$1/ctest-output.log name
  shift
  (cd "$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log" || status=1
  while read -r name; do
    if ! awk -v name="$name" '$1 == name { found = 1 } END { exit !found }' tools/allowed-skips.txt; then
      echo "test.sh: $name skipped in $dir, and tools/allowed-skips.txt does not let it" >&2
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*[0-9][0-9]* - \(.*\) (Skipped)$/\1/p' "$log")
}

echo "== native tests"
run_tests build/native

# shellcheck source=testenv.sh
source tools/testenv.sh test
trap testenv_stop EXIT
echo "== Windows tests (i686, under Wine)"
run_tests build/win-i686
# The cases that run for minutes (suites named ...LongRun) prove what they prove on the shipping build alone.
echo "== Windows tests (x86_64, under Wine; the long runs on i686 only)"
run_tests build/win-x86_64 -E 'LongRun\.'

exit $status
