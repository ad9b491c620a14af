#!/usr/bin/env bash
# Installs every package the build, the tests and the demo run need on Debian 12 (run as root).
# Safe to run again: it does nothing when everything is already there.
#
# A mirror in the middle of a sync is an everyday event: one index may fail its size or hash ("Mirror sync in
# progress?"), and then the amd64 half of a multiarch pair may come from the security pocket while its i386 twin is
# only in the release's own. So the lists are fetched up to three times; when one still fails the install goes on
# with the lists apt has, and where the two architectures then disagree it takes both from the release's own pocket
# (-t <codename>). It fails only for a package that truly cannot be had, and names it.
set -euo pipefail

packages=(
  cmake make g++ ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64  # windres, and windmc for the events' message table
  wine wine32:i386 wine64 libwine:i386 libcups2:i386
  cups-daemon cups-client
  xvfb xauth x11-utils imagemagick fonts-liberation2
  locales  # the sources of the locale that the tests make for Wine's user (tools/testenv.sh --user-locale)
  snmpsim  # the SNMP agent that stands in for a network printer in the end-to-end tests
  cups-ipp-utils dbus avahi-daemon  # ippeveprinter, an IPP printer for the end-to-end tests, with its own D-Bus and Avahi
  wixl msitools  # build the MSI installer (tools/package.sh); the tests open it
  osslsigncode openssl  # sign the packages; a throwaway certificate for the signing test
  chromium  # a real browser, headless, opens the page the history at a glance writes
)

# Seconds between two tries of the lists or of the downloads (the tests make it 0).
apt_pause=${AMBERVALE_APT_PAUSE:-20}

# Reads what `apt-get install -s` printed (standard input) and says what it means, on one line:
#   ok                 the install can go ahead
#   disagree           dependencies cannot be met with the lists as they are (the two halves of a multiarch pair
#                      from different pockets, say): another choice of pocket may meet them
#   missing PKG...     no list has these packages at all: nothing else will help
apt_judge_install() {
  local text missing
  text=$(cat)
  missing=$(printf '%s\n' "$text" | sed -n \
    -e 's/^E: Unable to locate package \(.*\)$/\1/p' \
    -e "s/^E: Package '\\(.*\\)' has no installation candidate\$/\\1/p" \
    -e 's/^E: Couldn'"'"'t find any package by \(glob\|regex\) '"'"'\(.*\)'"'"'$/\2/p' | sort -u | tr '\n' ' ')
  if [ -n "$missing" ]; then
    echo "missing ${missing% }"
  elif printf '%s\n' "$text" | grep -q -e '^E: ' -e 'has unmet dependencies'; then
    echo disagree
  else
    echo ok
  fi
}

# The packages of an unmet-dependencies answer that cannot be had, with apt's own reason: "libwine:i386 (Depends:
# libgstreamer-plugins-base1.0-0:i386 but it is not installable)".
apt_unmet_packages() {
  sed -n 's/^ \([^ ]*\) : \(Depends: .* but it is not installable\)$/\1 (\2)/p' | sort -u | paste -sd ';' - |
    sed 's/;/; /g'
}

# Reads what `apt-get update` printed and says which lists failed ("bookworm-security/main i386"), one a line.
apt_failed_lists() {
  sed -n 's/^E: Failed to fetch [a-z]*:\/\/[^ ]*\/dists\/\([^/ ]*\)\/\([^/ ]*\)\/binary-\([^/ ]*\)\/.*$/\1\/\2 \3/p' |
    sort -u
}

# The release the machine runs, as apt's -t takes it ("bookworm").
release_codename() {
  local os_release=${AMBERVALE_OS_RELEASE:-/etc/os-release}
  sed -n 's/^VERSION_CODENAME=//p' "$os_release" | tr -d '"'
}

apt_update_with_tries() {
  local try out failed
  for try in 1 2 3; do
    if out=$(apt-get update 2>&1) && ! printf '%s\n' "$out" | grep -q '^[EW]: Failed to fetch'; then
      return 0
    fi
    failed=$(printf '%s\n' "$out" | apt_failed_lists | paste -sd ',' - | sed 's/,/, /g')
    echo "install-deps: the package lists${failed:+ ($failed)} could not be fetched (try $try of 3)" >&2
    [ $try -lt 3 ] && sleep "$apt_pause"
  done
  echo "install-deps: going on with the lists apt has" >&2
  return 0
}

# Installs, trying again when a download fails (a file that changed under a mirror's sync).
apt_install() {
  local try
  for try in 1 2 3; do
    apt-get install -y -qq --no-install-recommends "$@" >/dev/null && return 0
    [ $try -lt 3 ] && { echo "install-deps: the install failed (try $try of 3); trying again" >&2; sleep "$apt_pause"; }
  done
  return 1
}

install_missing() {
  local verdict release unmet
  verdict=$({ apt-get install -s -y --no-install-recommends "$@" 2>&1 || true; } | apt_judge_install)
  case $verdict in
    ok) apt_install "$@" && return 0 ;;
    missing*)
      echo "install-deps: no package list has ${verdict#missing }" >&2
      return 1 ;;
  esac
  release=$(release_codename)
  local answer
  answer=$(apt-get install -s -y --no-install-recommends -t "$release" "$@" 2>&1 || true)
  verdict=$(printf '%s\n' "$answer" | apt_judge_install)
  if [ "$verdict" = ok ]; then
    echo "install-deps: the lists' pockets disagree (a mirror mid-sync); installing both architectures from $release's own pocket (-t $release)"
    apt_install -t "$release" "$@" && return 0
    echo "install-deps: the install from $release's own pocket failed" >&2
    return 1
  fi
  unmet=$(printf '%s\n' "$answer" | apt_unmet_packages)
  if [ "${verdict%% *}" = missing ]; then
    echo "install-deps: no package list has ${verdict#missing }" >&2
  else
    echo "install-deps: cannot be installed, even from $release's own pocket: ${unmet:-see apt-get install -t $release $*}" >&2
  fi
  return 1
}

main() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}; run as root to install them" >&2
    return 1
  fi

  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt_update_with_tries
  install_missing "${missing[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  main "$@"
fi
