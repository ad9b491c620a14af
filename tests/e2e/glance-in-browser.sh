#!/usr/bin/env bash
# The history at a glance end to end: "Ambervale.exe /glance" under Wine on records made here, in a folder whose name
# the ANSI code page cannot spell, then the pages it writes opened in a real browser (headless Chromium). The DOM must
# hold the spells and no script; a screenshot of the page is kept beside the build as the artefact to look at. Then:
# a REPORT that is the HISTORY is refused and the history kept byte for byte; a week of a printer that changes every
# 2 seconds makes a page within its bound that Chromium opens, and a CSV file with every spell in which a printer
# named like a formula is text; no REPORT named and no browser to open it is still a success; and a night the clock
# is put forward (TZ=Europe/Berlin) is no gap.
#   glance-in-browser.sh <Ambervale.exe> <folder for the screenshot>
set -euo pipefail
exe=$1
artefacts=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/Ιστορικό"
mkdir -p "$folder" "$artefacts"
fail() { echo "FAILED: $*" >&2; exit 1; }

# English (United States) pictures, the test world's locale: an entry every 10 seconds across midnight (written
# without its time), a spell of Off Line, a torn line, a gap, a printer whose name is markup, and a line still being
# written at the end.
report='; Printer Name = Front Desk; Printer Driver Name = Generic; Printer Port Name = LPT1:; '
hostile='; Printer Name = <script>alert(1)</script>; Printer Driver Name = <b>; Printer Port Name = x; '
{
  printf '%s\r\n' \
    "12/6/2026 11:59:40 PM Printer Status = $report" \
    "12/6/2026 11:59:50 PM Printer Status = $report" \
    "12/7/2026 Printer Status = $report" \
    "12/7/2026 12:00:10 AM Printer Status = Off Line  $report" \
    "12/7/2026 12:00:20 AM Printer Status = Off Line  $report" \
    "12/7/2026 12:00:30 AM Printer Status = Off Line  $report" \
    "12/7/2026 12:00:40 AM Printer Status = $report" \
    "12/7/2026 12:00:45 AM Printer Status = Pa" \
    "12/7/2026 12:00:50 AM Printer Status = $report" \
    "12/7/2026 12:10:00 AM Printer Status = $report" \
    "12/7/2026 12:10:10 AM Printer Status = $hostile" \
    "12/7/2026 12:10:20 AM Printer Status = $hostile"
  printf '12/7/2026 12:10:30 AM Printer Sta'
} >"$folder/history.txt"

windows_path() { echo "Z:${1//\//\\}"; }
wine "$exe" /glance "$(windows_path "$folder/history.txt")" "$(windows_path "$folder/report.html")" \
  >"$work/out" 2>"$work/err" || fail "/glance exited $? ($(cat "$work/err"))"
[ -s "$folder/report.html" ] || fail "no report written"
[ ! -s "$work/err" ] || fail "standard error on success: $(cat "$work/err")"

# A history that is not there: a failure, told in one line.
status=0
wine "$exe" /glance "$(windows_path "$work/missing.txt")" "$(windows_path "$work/r.html")" 2>"$work/err" || status=$?
[ "$status" -ne 0 ] || fail "/glance of a missing history exited 0"
[ "$(tr -d '\r' <"$work/err" | grep -c .)" -eq 1 ] || fail "not one line on standard error: $(cat "$work/err")"

# Chromium with a profile of its own that it may not use to reach anywhere.
browse() {
  local profile
  profile=$(mktemp -d "$work/chromium.XXXXXX")
  timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" "$@" 2>/dev/null
}
cp "$folder/report.html" "$work/report.html"  # Chromium is given a plain path
browse --dump-dom "file://$work/report.html" >"$work/dom"
expect_row() {
  grep -qF "data-printer=\"$1\" data-status=\"$2\" data-start=\"$3\" data-end=\"$4\"" "$work/dom" ||
    fail "no spell $*"
}
expect_row "Front Desk" "Ready" 2026-12-06T23:59:40 2026-12-07T00:00:10
expect_row "Front Desk" "Off Line" 2026-12-07T00:00:10 2026-12-07T00:00:40
expect_row "Front Desk" "Ready" 2026-12-07T00:00:40 2026-12-07T00:00:50
expect_row "Front Desk" "not recorded" 2026-12-07T00:00:50 2026-12-07T00:10:00
expect_row "Front Desk" "Ready" 2026-12-07T00:10:00 2026-12-07T00:10:10
rows=$(grep -o '<tr data-printer=' "$work/dom" | wc -l)
[ "$rows" -eq 6 ] || fail "$rows spell rows, not 6"
grep -qF '<h2>&lt;script&gt;alert(1)&lt;/script&gt;</h2>' "$work/dom" || fail "the printer's name is not shown as text"
grep -qF 'line 8.' "$work/dom" || fail "the torn line is not named"
# Chromium writes attribute values without escaping '<': only markup outside them counts.
if sed -E 's/"[^"]*"//g' "$work/dom" | grep -qi '<script'; then fail "the page holds a script"; fi
grep -qF '<title>Ambervale history at a glance</title>' "$work/dom" || fail "no title"

browse --hide-scrollbars --window-size=1100,1500 --screenshot="$artefacts/glance-screenshot.png" \
  "file://$work/report.html" >/dev/null
[ -s "$artefacts/glance-screenshot.png" ] || fail "no screenshot"
grep -qF 'report.csv' "$work/dom" || fail "the page does not name its CSV file"

# The same file twice, however spelled: refused in one line, exit 2, the history as it was.
cp "$folder/history.txt" "$work/history-before.txt"
for named in "$(windows_path "$folder/history.txt")" "$(windows_path "$folder/HISTORY.TXT")" \
             "$(windows_path "$folder/./history.txt")"; do
  status=0
  wine "$exe" /glance "$(windows_path "$folder/history.txt")" "$named" 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] || fail "/glance H $named exited $status, not 2"
  [ "$(tr -d '\r' <"$work/err" | grep -c .)" -eq 1 ] || fail "not one line on standard error: $(cat "$work/err")"
  cmp -s "$folder/history.txt" "$work/history-before.txt" || fail "the history changed under /glance H $named"
done

# A week of a printer that changes every 2 seconds, an entry a second, then a printer named like a formula.
awk 'BEGIN {
  tail = "; Printer Name = Front Desk; Printer Driver Name = Generic; Printer Port Name = LPT1:; \r";
  for (s = 0; s < 7 * 86400; s++) {
    t = s % 86400; h = int(t / 3600);
    date = "11/" (1 + int(s / 86400)) "/2026 ";
    time = t == 0 ? "" : sprintf("%d:%02d:%02d %s ", h % 12 == 0 ? 12 : h % 12, int(t / 60) % 60, t % 60, h < 12 ? "AM" : "PM");
    print date time "Printer Status = " (int(s / 2) % 2 ? "Off Line  " : "") tail;
  }
  for (s = 0; s < 3; s++) {
    printf "11/8/2026 12:00:%02d AM Printer Status = ; Printer Name = =HYPERLINK(\"x\"); Printer Driver Name = d; Printer Port Name = p; \r\n", s + 1;
  }
}' >"$folder/flapping.txt"
wine "$exe" /glance "$(windows_path "$folder/flapping.txt")" "$(windows_path "$folder/flapping.html")" \
  2>"$work/err" || fail "/glance of the flapping week exited $? ($(cat "$work/err"))"
size=$(stat -c %s "$folder/flapping.html")
[ "$size" -le $((8 << 20)) ] || fail "the flapping week's page is $size bytes"
rows=$(($(wc -l <"$folder/flapping.csv") - 1))
[ "$rows" -eq $((7 * 86400 / 2 + 1)) ] || fail "the CSV file has $rows spells, not $((7 * 86400 / 2 + 1))"
grep -qF '"'"'"'=HYPERLINK(""x"")",' "$folder/flapping.csv" || fail "the formula-like name is not text in the CSV file"
head -c 3 "$folder/flapping.csv" | cmp -s - <(printf '\xEF\xBB\xBF') || fail "the CSV file has no byte-order mark"
cp "$folder/flapping.html" "$work/flapping.html"
browse --dump-dom "file://$work/flapping.html" >"$work/flapping-dom" || fail "Chromium did not open the flapping week"
grep -qF 'more spells' "$work/flapping-dom" || fail "the flapping week's page does not say what it leaves to the CSV file"
grep -qF 'changing' "$work/flapping-dom" || fail "the flapping week's page has no band of changes"
grep -qF '</html>' "$work/flapping-dom" || fail "the flapping week's page was not read to its end"

# No REPORT named and no program for web pages in this prefix: the page is written, so the command succeeded.
status=0
wine "$exe" /glance "$(windows_path "$folder/flapping.txt")" 2>"$work/err" || status=$?
[ "$status" -eq 0 ] || fail "/glance with no browser exited $status ($(cat "$work/err"))"
[ -s "$folder/flapping at a glance.html" ] || fail "no page beside the history"

# The night the clock is put forward in central Europe, an entry a second: no gap, 20 seconds of Ready.
{
  for s in 50 51 52 53 54 55 56 57 58 59; do printf '3/29/2026 1:59:%s AM Printer Status = %s\r\n' "$s" "$report"; done
  for s in 00 01 02 03 04 05 06 07 08 09 10; do printf '3/29/2026 3:00:%s AM Printer Status = %s\r\n' "$s" "$report"; done
} >"$folder/spring.txt"
TZ=Europe/Berlin wine "$exe" /glance "$(windows_path "$folder/spring.txt")" "$(windows_path "$folder/spring.html")" \
  2>"$work/err" || fail "/glance of the spring night exited $? ($(cat "$work/err"))"
grep -qF 'data-status="Ready" data-start="2026-03-29T01:59:50" data-end="2026-03-29T03:00:10"><td>Ready</td>' \
  "$folder/spring.html" || fail "the spring night is not one spell"
grep -qF '>20 s</td>' "$folder/spring.html" || fail "the spring night's spell does not last 20 seconds"
! grep -qF 'data-status="not recorded"' "$folder/spring.html" || fail "the spring night has a gap"
echo "glance in browser: passed; screenshot $artefacts/glance-screenshot.png"
