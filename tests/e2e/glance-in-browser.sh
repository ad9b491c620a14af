#!/usr/bin/env bash
# The history at a glance end to end: "Ambervale.exe /glance" under Wine on a record made here, in a folder whose name
# the ANSI code page cannot spell, then the page it writes opened in a real browser (headless Chromium). The DOM must
# hold the spells and no script; a screenshot of the page is kept beside the build as the artefact to look at.
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

cp "$folder/report.html" "$work/report.html"  # Chromium is given a plain path
chromium --headless --no-sandbox --disable-gpu --dump-dom "file://$work/report.html" >"$work/dom" 2>/dev/null
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

chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1100,1500 \
  --screenshot="$artefacts/glance-screenshot.png" "file://$work/report.html" >/dev/null 2>&1
[ -s "$artefacts/glance-screenshot.png" ] || fail "no screenshot"
echo "glance in browser: passed; screenshot $artefacts/glance-screenshot.png"
