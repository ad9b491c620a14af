#!/usr/bin/env bash
# Builds the shipping (32-bit) Ambervale.exe and runs it under Wine against a private demo printer.
# The window opens on your display when there is one, otherwise on a virtual display; a screenshot is saved
# to build/ambervale-screenshot.png and the history file is followed here until Ctrl-C.
# Run as root on Debian 12; it installs whatever is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
bash tools/configure-win.sh i686
cmake --build build/win-i686 --target Ambervale -j"$(nproc)"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export AMBERVALE_KEEP_DISPLAY=1
  echo "Using your display $DISPLAY"
else
  unset DISPLAY
  echo "No display: using a virtual one (see the screenshot)"
fi
export AMBERVALE_TEST_QUEUE=Ambervale_Demo
# shellcheck source=testenv.sh
source tools/testenv.sh demo
trap testenv_stop EXIT

temp_windows=$(wine cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r')
history=$(winepath -u "$temp_windows\\Ambervale.txt" 2>/dev/null)
wine build/win-i686/app/Ambervale.exe &
app=$!
sleep 8
import -display "$DISPLAY" -window root build/ambervale-screenshot.png 2>/dev/null &&
  echo "Screenshot: $root/build/ambervale-screenshot.png"
echo "Demo printer: CUPS queue $AMBERVALE_TEST_QUEUE. History file: $history"
echo "Following the history file; Ctrl-C to stop."
touch "$history"
tail -n 5 -F "$history" &
tailer=$!
trap 'kill $tailer 2>/dev/null; kill $app 2>/dev/null; testenv_stop' EXIT
wait $app || true
