#!/usr/bin/env bash
# Times silent installs and uninstalls of an MSI package under Wine, as a deployment runs them: N cycles (9 unless
# given), then the median and the slowest of each, in milliseconds. Run it inside a private environment:
#   tools/testenv.sh bench-install -- bench/install/bench-install.sh dist/Ambervale-<version>.msi [N]
set -euo pipefail
msi=$(winepath -w "$1")
cycles=${2:-9}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Times one msiexec call; a failed one ends the run, since its time would mean nothing.
timed() {
  local start code=0
  start=$(now_ms)
  wine msiexec "$@" /qn || code=$?
  [ "$code" -eq 0 ] || { echo "msiexec $* failed with $code" >&2; exit 1; }
  echo $(( $(now_ms) - start ))
}
summary() { sort -n | awk '{ t[NR] = $1 } END { printf "median %d ms, slowest %d ms\n", t[int((NR + 1) / 2)], t[NR] }'; }

wine msiexec /x "$msi" /qn || true  # a product left by an earlier run would turn the first install into a repair
installs=() uninstalls=()
for _ in $(seq "$cycles"); do
  installs+=("$(timed /i "$msi")")
  uninstalls+=("$(timed /x "$msi")")
done
echo "$(basename "$1"), $cycles cycles"
echo "install:   $(printf '%s\n' "${installs[@]}" | summary)"
echo "uninstall: $(printf '%s\n' "${uninstalls[@]}" | summary)"
