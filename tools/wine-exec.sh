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

run "$@"
status=$?
# Wine's own Unix loader now and then dies of a segmentation fault as a program ends (seen on a busy machine, after
# every case had passed): that is Wine's, not the program's, whose own faults Wine reports as an unhandled exception
# with an exit code of its own. Such a run is made once more.
if [ $status -eq 139 ]; then
  echo "wine-exec: wine itself ended with a segmentation fault; running the program once more" >&2
  run "$@"
  status=$?
fi
exit $status
