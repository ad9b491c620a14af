#!/usr/bin/env bash
# Installs every package the build, the tests and the demo run need on Debian 12 (run as root).
# Safe to run again: it does nothing when everything is already there.
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

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
