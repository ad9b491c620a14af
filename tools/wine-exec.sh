#!/usr/bin/env bash
# Runs a Windows program of the build under Wine (CTest's emulator for the cross builds).
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
