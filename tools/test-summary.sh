#!/usr/bin/env bash
# The test command's closing summary (sourced by tools/test.sh): the cases of each build, passed, failed and skipped,
# and how long each part took. A case is a GoogleTest case or a test of another kind; a CTest test that runs a whole
# GoogleTest binary in one process (the Windows unit tests) counts as its cases, from the results it wrote to
# test-results/<test>.xml, and as one failed case when it wrote none (it crashed).

summary_lines=()
summary_times=()
summary_started=$SECONDS

summary_time() {  # summary_time WHAT SECONDS
  summary_times+=("$1 $(summary_duration "$2")")
}

summary_duration() {
  printf '%d min %02d s' $(($1 / 60)) $(($1 % 60))
}

# The CTest results of a log, one "NAME STATUS" a line (STATUS: Passed, Failed, Skipped, or CTest's other words).
summary_results() {
  sed -n -E 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: ([^ ]+) \.*[ *]*([A-Za-z]+)[^.]*[0-9.]+ sec$/\1 \2/p' "$1"
}

# The cases of a GoogleTest XML report, one "STATUS Suite.Case" a line.
summary_xml_cases() {
  awk '
    function flush() { if (name != "") print (failed ? "Failed" : skipped ? "Skipped" : "Passed"), suite "." name; name = "" }
    /<testcase / {
      flush()
      match($0, / name="[^"]*"/); name = substr($0, RSTART + 7, RLENGTH - 8)
      match($0, / classname="[^"]*"/); suite = substr($0, RSTART + 12, RLENGTH - 13)
      failed = 0; skipped = ($0 ~ /result="skipped"/)
      if ($0 ~ /\/>[[:space:]]*$/) flush()
      next
    }
    /<failure/ { failed = 1 }
    /<\/testcase>/ { flush() }
    END { flush() }' "$1"
}

summary_report_of() {  # summary_report_of DIR TEST: the XML a whole-binary test wrote, if any
  find "$1" -path "*/test-results/$2.xml" -print -quit
}

summary_count() {  # summary_count NAME DIR LOG
  local name=$1 dir=$2 log=$3 test state report passed=0 failed=0 skipped=0 kind
  while read -r test state; do
    report=$(summary_report_of "$dir" "$test")
    if [ -n "$report" ]; then
      while read -r kind _; do
        case $kind in
          Passed) passed=$((passed + 1)) ;;
          Skipped) skipped=$((skipped + 1)) ;;
          *) failed=$((failed + 1)) ;;
        esac
      done < <(summary_xml_cases "$report")
      [ "$state" = Passed ] || [ "$(summary_xml_cases "$report" | grep -c '^Failed')" -gt 0 ] || failed=$((failed + 1))
    else
      case $state in
        Passed) passed=$((passed + 1)) ;;
        Skipped) skipped=$((skipped + 1)) ;;
        *) failed=$((failed + 1)) ;;
      esac
    fi
  done < <(summary_results "$log")
  summary_lines+=("$name: $passed passed, $failed failed, $skipped skipped")
}

summary_skipped() {  # summary_skipped DIR LOG: the skipped cases, one a line
  local report
  sed -n 's/^[[:space:]]*[0-9][0-9]* - \(.*\) (Skipped)$/\1/p' "$2"
  while read -r report; do
    summary_xml_cases "$report" | sed -n 's/^Skipped //p'
  done < <(find "$1" -path '*/test-results/*.xml')
}

summary_print() {
  local line
  echo "== summary"
  for line in "${summary_lines[@]}"; do echo "$line"; done
  for line in "${summary_times[@]}"; do echo "  $line"; done
  echo "total: $(summary_duration $((SECONDS - summary_started)))"
}
