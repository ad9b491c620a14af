#!/usr/bin/env bash
# Builds and runs every test: the portable logic natively (AddressSanitizer and UBSan), then the 32-bit (shipping)
# and the 64-bit Windows builds under Wine, against a private CUPS spooler, on a virtual display.
# Run as root on Debian 12; it installs whatever is missing first. It ends with one line a build, its cases passed,
# failed and skipped, and the time each part and the whole took.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
# Each checkout gets test worlds of its own (CUPS, display, Wine prefix), so two checkouts can test side by side.
AMBERVALE_ENV_TAG=${AMBERVALE_ENV_TAG:-$(printf '%s' "$root" | md5sum | cut -c1-8)}
export AMBERVALE_ENV_TAG
# shellcheck source=test-summary.sh
source tools/test-summary.sh

timed() {  # timed WHAT COMMAND...: runs it, and keeps how long it took for the summary
  local from=$SECONDS
  "${@:2}"
  summary_time "$1" $((SECONDS - from))
}

timed install bash tools/install-deps.sh

echo "== native build (AddressSanitizer, UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DAMBERVALE_SANITIZE=ON >/dev/null
timed "native build" cmake --build build/native -j"$jobs"

for arch in i686 x86_64; do
  echo "== Windows build ($arch)"
  bash tools/configure-win.sh "$arch"
  timed "$arch build" cmake --build "build/win-$arch" -j"$jobs"
done

status=0
# Runs the tests of one build; a test that skipped fails the run unless tools/allowed-skips.txt names it.
run_tests() {
  local name=$1 dir=$2 parallel=$3 log=$2/ctest-output.log skipped
  find "$dir" -type d -name test-results -prune -exec rm -rf {} +
  (cd "$dir" && ctest --output-on-failure -j"$parallel") 2>&1 | tee "$log" || status=1
  summary_count "$name" "$dir" "$log"
  while read -r skipped; do
    if ! awk -v name="$skipped" '$1 == name { found = 1 } END { exit !found }' tools/allowed-skips.txt; then
      echo "test.sh: $skipped skipped in $dir, and tools/allowed-skips.txt does not let it" >&2
      status=1
    fi
  done < <(summary_skipped "$dir" "$log")
}

echo "== native tests"
timed "native tests" run_tests native build/native "$jobs"

# shellcheck source=testenv.sh
source tools/testenv.sh test
trap testenv_stop EXIT
for arch in i686 x86_64; do
  echo "== Windows tests ($arch, under Wine)"
  # The cases of one world run one at a time (they share its prefix, its display and its one running copy of the
  # program: CTest's RESOURCE_LOCK); several worlds run side by side, as most of a case's time is the program's own.
  timed "$arch tests" run_tests "$arch" "build/win-$arch" "$jobs"
done
summary_print
exit $status
