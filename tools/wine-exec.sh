#!/usr/bin/env bash
# Runs a Windows program of the build under Wine (CTest's emulator for the cross builds).
# The output reaches us through a file, followed as it grows: Wine's server holds a program's standard handles for
# about a second after the program has ended, so a reader of a pipe would wait that long at every run (the test
# command runs a process for each test case).
export WINEDEBUG=${WINEDEBUG:--all}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# A program started by the one run here writes its debug channels to the same file (Wine gives a new process the
# Unix standard error of the process that started it): a test finds them there.
export AMBERVALE_WINE_OUTPUT=$out

run() {
  : >"$out"
  wine "$@" >"$out" 2>&1 &
  local program=$!
  tail -s 0.05 -n +1 -f --pid=$program "$out"
  wait $program
}

# Wine's own failures, seen now and then on a busy machine, are made once more, saying so:
# - its Unix loader dies of a segmentation fault as a program ends (exit 139); the program's own faults Wine reports
#   as an unhandled exception with an exit code of its own;
# - the program's process is never created, and Wine's fallback start.exe says the file could not be started
#   (ShellExecuteEx, "Internal error"): not one line of the program ran.
never_started() {
  [ $1 -ne 0 ] && grep -q '^ShellExecuteEx failed: Internal error' "$out"
}

run "$@"
status=$?
if [ $status -eq 139 ] || never_started $status; then
  echo "wine-exec: wine itself failed (exit $status) before the program could end; running it once more" >&2
  run "$@"
  status=$?
fi
exit $status
