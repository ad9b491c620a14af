#!/usr/bin/env bash
# How tools/install-deps.sh reads apt's answers, with the very texts apt printed on a day its mirror was mid-sync
# (tests/tools/apt/), and which install it then makes, with an apt-get of the test's own that answers with them.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
apt=$here/apt
# shellcheck source=../../tools/install-deps.sh
source "$here/../../tools/install-deps.sh"
set +e
failures=0
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

# What each of apt's answers to a simulated install means.
while read -r fixture expected; do
  check "judge $fixture" "$expected" "$(apt_judge_install < "$apt/$fixture")"
done <<'TABLE'
install-arches-disagree.txt disagree
install-from-release-ok.txt ok
install-unknown-package.txt missing nosuchpackage-xyz
install-no-candidate.txt missing python2
TABLE
check "failed lists" "bookworm-security/main i386" "$(apt_failed_lists < "$apt/update-mid-sync.txt")"
check "unmet" "libwine:i386 (Depends: libgstreamer-plugins-base1.0-0:i386 (>= 1.0.0) but it is not installable)" \
  "$(apt_unmet_packages < "$apt/install-arches-disagree.txt")"

# An apt-get of the test's own: it logs each call and answers as the scenario says.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat > "$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "$*" >> "$FAKE_APT_LOG"
case " $* " in
  *" update "*) cat "$FAKE_APT_DIR/update-mid-sync.txt"; exit 100 ;;
  *" -s "*" -t "*) cat "$FAKE_APT_DIR/$FAKE_APT_RELEASE_ANSWER"; [ "$FAKE_APT_RELEASE_ANSWER" = install-from-release-ok.txt ] || exit 100 ;;
  *" -s "*) cat "$FAKE_APT_DIR/$FAKE_APT_PLAIN_ANSWER"; exit 100 ;;
  *) exit 0 ;;
esac
FAKE
chmod +x "$work/bin/apt-get"
printf 'NAME="Debian GNU/Linux"\nVERSION_CODENAME=trixie\n' > "$work/os-release"
export PATH=$work/bin:$PATH FAKE_APT_LOG=$work/log FAKE_APT_DIR=$apt AMBERVALE_OS_RELEASE=$work/os-release
apt_pause=0

# The mid-sync day: the lists are tried three times, the install goes on, both halves come from the release.
: > "$work/log"
apt_update_with_tries 2> "$work/err"
check "update tried three times" 3 "$(grep -c '^update' "$work/log")"
check "update goes on" 1 "$(grep -c 'going on with the lists' "$work/err")"
export FAKE_APT_PLAIN_ANSWER=install-arches-disagree.txt FAKE_APT_RELEASE_ANSWER=install-from-release-ok.txt
install_missing wine libwine:i386 > "$work/out" 2> "$work/err"
check "installs from the release" 0 $?
check "the install made" "install -y -qq --no-install-recommends -t trixie wine libwine:i386" "$(tail -n1 "$work/log")"
check "says so in one line" 1 "$(grep -c -- '-t trixie' "$work/out")"

# A package that no list has: nothing is installed and the package is named.
for answer in install-unknown-package.txt install-no-candidate.txt; do
  export FAKE_APT_PLAIN_ANSWER=$answer
  : > "$work/log"
  install_missing cmake nosuchpackage-xyz python2 > /dev/null 2> "$work/err"
  check "$answer fails" 1 $?
  check "$answer installs nothing" 0 "$(grep -vc -- ' -s ' "$work/log")"
  check "$answer names the package" 1 "$(grep -c -e 'nosuchpackage-xyz' -e 'python2' "$work/err")"
done

# Pockets that disagree even from the release's own: fails, naming what cannot be had.
export FAKE_APT_PLAIN_ANSWER=install-arches-disagree.txt FAKE_APT_RELEASE_ANSWER=install-arches-disagree.txt
: > "$work/log"
install_missing wine libwine:i386 > /dev/null 2> "$work/err"
check "still disagreeing fails" 1 $?
check "still disagreeing names the package" 1 "$(grep -c 'libwine:i386 (Depends' "$work/err")"
check "still disagreeing installs nothing" 0 "$(grep -vc -- ' -s ' "$work/log")"

[ $failures -eq 0 ] && echo "install-deps: all checks passed"
exit $((failures > 0))
